// The input assistance where taking the rules word for word gave users wrong results: fast
// typing, a closing quote after an unclosed list, refused values, names differing in case, enum
// codes, one FBlock id in two catalogs, hidden entries, and hint lines that must fit.
#include "support/AssistSession.h"

#include "base/LanguageResources.h"
#include "resources/resource.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

const char* const kCars = R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Cars">
  <FBlock ID="0x10" Name="CLOCK">
    <Function ID="0x001" Name="Time" Kind="Property">
      <OPType ID="0x0"><Parameter Name="Hours"><TNumber Type="UByte"/></Parameter></OPType>
    </Function>
  </FBlock>
  <FBlock ID="0x11" Name="Clock">
    <Function ID="0x002" Name="Alarm" Kind="Property">
      <OPType ID="0x0"><Parameter Name="Minutes"><TNumber Type="UByte"/></Parameter></OPType>
    </Function>
  </FBlock>
  <FBlock ID="0x22" Name="Amp">
    <Function ID="0x400" Name="Volume" Kind="Property">
      <OPType ID="0x0"><Parameter Name="Volume"><TNumber Type="UByte"/></Parameter></OPType>
    </Function>
    <Function ID="0x401" Name="Mute" Kind="Property">
      <OPType ID="0x0"><Parameter Name="Mute"><TEnum>
        <TEnumValue Code="0" Name="Off"/><TEnumValue Code="1" Name="On"/>
      </TEnum></Parameter></OPType>
    </Function>
    <Function ID="0x402" Name="Mode" Kind="Property">
      <OPType ID="0x0"><Parameter Name="Mode"><TEnum Size="2">
        <TEnumValue Code="0x100" Name="Wide"/><TEnumValue Code="0x200" Name="Narrow"/>
      </TEnum></Parameter></OPType>
    </Function>
    <Function ID="0x403" Name="Service" Kind="Property" Hidden="true">
      <OPType ID="0x0"><Parameter Name="Code"><TNumber Type="UByte"/></Parameter></OPType>
    </Function>
  </FBlock>
  <FBlock ID="0x40" Name="Spare"/>
  <FBlock ID="0x30" Name="Nav" Hidden="true">
    <Function ID="0x001" Name="Route" Kind="Property"><OPType ID="0x0"/></Function>
  </FBlock>
</FunctionCatalog>
)";

// Another catalog that uses FBlock id 0x22 for something else.
const char* const kRear = R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Rear">
  <FBlock ID="0x22" Name="Rear">
    <Function ID="0x400" Name="Volume" Kind="Property">
      <OPType ID="0x0"><Parameter Name="Level"><TNumber Type="UByte"/></Parameter></OPType>
    </Function>
  </FBlock>
</FunctionCatalog>
)";

std::string writeCatalog(const std::string& name, const char* text) {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(SampleCatalog("standard.xml")).parent_path();
    fs::path file = dir / name;
    std::ofstream(file) << text;
    return file.string();
}

const DWORD kLook = 500; // the first tick places the caret and shows the FBlock list
const DWORD kTick = 220;

class AssistanceMends : public AssistSession {
protected:
    void SetUp() override {
        AssistSession::SetUp();
        selector = std::make_unique<KPelorin>(host);
        selector->AddFCat(writeCatalog("cars.xml", kCars).c_str());
        selector->AddFCat(writeCatalog("rear.xml", kRear).c_str());
    }
    // Keys as a fast typist presses them, 40 ms apart.
    static void typeFast(const std::string& text) {
        for (char c : text) {
            w32drv::Type(std::string(1, c));
            w32drv::Wait(40);
        }
    }
    // Types the keys slowly and snapshots the dialog a tick after the last one.
    // The dialog a tick after the last of the keys, typed slowly; the snapshot is taken in turn
    // with the input, so it comes after the keys whatever the clock.
    DialogSnapshot after(const std::string& line, const std::string& keys) {
        DialogSnapshot s;
        w32drv::Wait(kLook);
        for (size_t i = 0; i < keys.size(); ++i) {
            w32drv::Type(keys.substr(i, 1));
            w32drv::Wait(i + 1 < keys.size() ? 250 : kTick);
        }
        w32drv::Call([&s] { s = snapshot(); });
        open(line, static_cast<int>(line.find('"') + 1)); // ends with Cancel when the keys run out
        return s;
    }
    static bool has(const DialogSnapshot& s, const std::string& item) {
        return std::find(s.items.begin(), s.items.end(), item) != s.items.end();
    }
};

} // namespace

TEST_F(AssistanceMends, ASeparatorTypedBeforeTheNextTickAppliesWhatWasTyped) {
    w32drv::Wait(kLook);
    typeSlowly("C"); // a tick passes: the list stands at CLOCK
    w32drv::Key(VK_BACK);
    w32drv::Type("A."); // no tick between: "A" now means Amp
    w32drv::Wait(40);
    typeFast("Vo(");
    w32drv::Wait(kTick);
    open("x = \"\";", 5);
    std::string line = result();
    EXPECT_EQ(line.find("CLOCK"), std::string::npos) << line;
    EXPECT_NE(line.find("Amp.Vo"), std::string::npos) << line;
}

TEST_F(AssistanceMends, TheClosingQuoteEndsAnUnclosedParameterList) {
    int displacement = 0;
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(open("x = \"Amp.Volume.Set(3\";", 8), IDOK);
    EXPECT_EQ(result(&displacement), "x = \"Amp.Volume.Set(3)\";");
    w32drv::Wait(kLook);
    typeSlowly("On");
    w32drv::Key(VK_RETURN); // takes the value from the list
    w32drv::Wait(kTick);
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(open("send(\"Amp.Mute.Set(\", 1);", 19), IDOK);
    EXPECT_EQ(result(), "send(\"Amp.Mute.Set(On)\", 1);");
    // a value taken from the list replaces the word at the caret, not the space after it
    w32drv::Wait(kLook + kTick);
    w32drv::Key(VK_RETURN);
    w32drv::Wait(kTick);
    w32drv::Type("\""); // the closing quote is OK
    EXPECT_EQ(open("x = \"Amp.Mute.Set(Of )\";", 20), IDOK);
    EXPECT_EQ(result(), "x = \"Amp.Mute.Set(Off )\";");
}

TEST_F(AssistanceMends, AValueTheCatalogRefusesIsAskedAboutOnOk) {
    w32drv::AnswerMessageBox(IDNO);
    w32drv::Key(VK_RETURN);
    w32drv::Wait(kLook);
    EXPECT_EQ(open("x = \"Amp.Mute.Set(Maybe)\";", 10), IDCANCEL); // No keeps it open until the keys run out
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadResourceText(IDS_ASK_PARAMETER_TEXT));
    // accepted values pass without a question
    w32drv::ClearRecords();
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(open("x = \"Amp.Mute.Set(On)\";", 10), IDOK);
    EXPECT_TRUE(w32drv::MessageBoxes().empty());
}

TEST_F(AssistanceMends, AnEntrySpeltAsTypedWinsOverOneDifferingInCase) {
    DialogSnapshot upper = after("x = \"\";", "CLOCK.");
    EXPECT_TRUE(has(upper, "Time (0x001)")) << upper.picture;
    EXPECT_FALSE(has(upper, "Alarm (0x002)"));
    DialogSnapshot mixed = after("x = \"\";", "Clock.");
    EXPECT_TRUE(has(mixed, "Alarm (0x002)")) << mixed.picture;
    EXPECT_FALSE(has(mixed, "Time (0x001)"));
    // the list marks the entry spelt as typed, whatever the sort put first
    DialogSnapshot typing = after("x = \"\";", "Cl");
    ASSERT_GE(typing.selection, 0);
    EXPECT_EQ(typing.items[static_cast<size_t>(typing.selection)], "Clock (0x11)");
}

TEST_F(AssistanceMends, EnumValuesShowTheirCodesWithTheDigitsOfTheirSize) {
    DialogSnapshot wide = after("x = \"\";", "Amp.Mode.Set(");
    EXPECT_TRUE(has(wide, "Wide (0x0100)")) << wide.picture;
    EXPECT_TRUE(has(wide, "Narrow (0x0200)"));
    DialogSnapshot narrow = after("x = \"\";", "Amp.Mute.Set(");
    EXPECT_TRUE(has(narrow, "On (0x01)")) << narrow.picture;
}

TEST_F(AssistanceMends, EachFBlockShowsTheParametersOfItsOwnCatalog) {
    DialogSnapshot rear = after("x = \"\";", "Rear.Volume.Set(");
    EXPECT_EQ(rear.format, " Level") << rear.picture;
    DialogSnapshot amp = after("x = \"\";", "Amp.Volume.Set(");
    EXPECT_EQ(amp.format, " Volume") << amp.picture;
}

TEST_F(AssistanceMends, AnFBlockWithoutFunctionsSaysSoAndShowsNoList) {
    DialogSnapshot s = after("x = \"\";", "Spare.");
    EXPECT_FALSE(s.listVisible) << s.picture;
    EXPECT_TRUE(s.hintVisible);
    EXPECT_EQ(s.hint, LoadResourceText(IDS_NO_FUNCTION));
    // also when the caret moves there from the FBlock with its list open
    DialogSnapshot inFBlock, atFunction;
    snapshotAfter(kLook - 50, &inFBlock);
    w32drv::Wait(kLook);
    press(VK_END);
    snapshotAfter(kLook + kTick, &atFunction);
    press(VK_ESCAPE);
    press(VK_ESCAPE);
    open("x = \"Spare.\";", 6);
    EXPECT_TRUE(inFBlock.listVisible) << inFBlock.picture;
    EXPECT_FALSE(atFunction.listVisible) << atFunction.picture;
    EXPECT_EQ(atFunction.hint, LoadResourceText(IDS_NO_FUNCTION));
}

TEST_F(AssistanceMends, HiddenEntriesAreNeitherOfferedNorAccepted) {
    DialogSnapshot fblocks = after("x = \"\";", "N");
    EXPECT_FALSE(has(fblocks, "Nav (0x30)")) << fblocks.picture;
    DialogSnapshot functions = after("x = \"\";", "Amp.");
    EXPECT_TRUE(has(functions, "Volume (0x400)")) << functions.picture;
    EXPECT_FALSE(has(functions, "Service (0x403)"));
    w32drv::AnswerMessageBox(IDYES);
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(open("x = \"Amp.Service\";", 10), IDOK);
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadResourceText(IDS_ASK_FUNCTION));
}

TEST_F(AssistanceMends, TheFormatLineShowsItsExplanationWhole) {
    DialogSnapshot plain = after("x = \"\";", "A");
    std::string explanation = LoadResourceText(IDS_FORMAT_HELP);
    ASSERT_FALSE(explanation.empty());
    EXPECT_NE(plain.picture.find(explanation), std::string::npos) << plain.picture;
    // F2 switches to the form with the instance and its own explanation
    DialogSnapshot instance;
    w32drv::Wait(kLook);
    w32drv::Key(VK_F2);
    snapshotAfter(kLook + 10, &instance);
    w32drv::Wait(kTick);
    open("x = \"\";", 5);
    std::string withInstance = LoadResourceText(IDS_FORMAT_HELP_INSTANCE);
    EXPECT_NE(instance.picture.find(withInstance), std::string::npos) << instance.picture;
}
