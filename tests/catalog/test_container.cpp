// The catalog container: registration, loading through the catalog library, the FBlock,
// function, OpType and parameter lists, and the parameter retry loop against a scripted manager.
#include "catalog/MostFCatContainer.h"
#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"

#include <w32drv.h>
#include "support/FakeCatalogManager.h"
#include "support/SampleCatalogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <tuple>
#include <unistd.h>

namespace {

const std::string kStandard = SampleCatalog("standard.xml");
const std::string kRearSeat = SampleCatalog("rearseat.xml");

std::string readAll(const std::string& path) { // closed again at once: Windows keeps open files
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One damage of the kinds files suffer: bytes changed or lost, a cut, a piece doubled, markup
// characters and bytes that are no UTF-8 where text was.
std::string damage(std::string text, std::mt19937& rnd) {
    auto at = [&](size_t size) { return size ? std::uniform_int_distribution<size_t>(0, size - 1)(rnd) : 0; };
    static const std::string inserts[] = {"<", ">", "&", "\"", "'", "]]>", "<!--", "\xC3", "\xFF\xFE", "&#0;",
                                          "&#x110000;", "<!ENTITY x \"y\">", "\0", "</FBlock>", "<FBlock>"};
    const int edits = 1 + static_cast<int>(at(3));
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const size_t p = at(text.size());
        switch (at(6)) {
        case 0: text[p] = static_cast<char>(at(256)); break;
        case 1: text.erase(p, 1 + at(40)); break;
        case 2: text.resize(p); break;
        case 3: text.insert(p, text.substr(at(text.size()), 1 + at(200))); break;
        case 4: {
            const std::string& piece = inserts[at(std::size(inserts))];
            text.insert(p, piece.empty() ? std::string(1, '\0') : piece);
            break;
        }
        default: std::swap(text[p], text[at(text.size())]); break;
        }
    }
    return text;
}

class ContainerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        w32drv::Reset();
        ASSERT_EQ(LoadLanguageResources(), 0); // the English module next to the test program
    }
    // The parameter list of an OpType, reached through the lists as the input assistance does.
    std::vector<ListEntry>& parametersOf(KMostFCatContainer& c, const std::string& fb, const std::string& fn,
                                         const std::string& op) {
        ListEntry fblockEntry = entry(c.fblocks, fb);
        c.BuildFunctionList(fblockEntry, kNameFirst);
        ListEntry function = entry(c.functions, fn);
        c.BuildOpTypeList(fblockEntry, function, kNameFirst);
        return c.BuildParameterList("", fblockEntry, function, entry(c.opTypes, op));
    }
    static ListEntry entry(const std::vector<ListEntry>& list, const std::string& head) {
        for (const auto& e : list)
            if (GetEntryHead(e.text) == head) return e;
        ADD_FAILURE() << head << " is not listed";
        return ListEntry{};
    }
    static std::vector<std::string> texts(const std::vector<ListEntry>& list) {
        std::vector<std::string> out;
        for (auto& e : list) out.push_back(e.text);
        return out;
    }
};

// What the scripted messages answer and what they were given.
struct Script {
    std::deque<std::pair<int, int>> answers; // status, index per attempt
    std::vector<std::vector<std::string>> attempts;
    std::vector<std::uint8_t> data;
    std::uint16_t word = 0;
    std::uint32_t flags = 0;
};

class ScriptedMessage : public FakeMessage {
public:
    explicit ScriptedMessage(Script& script) : s_(script) {}
    bool Decode() override { return decoded_ = true; }
    bool IsDecoded() const override { return decoded_; }
    void GetData(std::vector<std::uint8_t>& bytes) const override { bytes = {1, 2}; }
    void SetData(const std::vector<std::uint8_t>& bytes) override { s_.data = bytes; }
    void SetWord(std::uint16_t w) override { s_.word = w; }
    void SetFlags(std::uint32_t f) override { s_.flags = f; }
    void SetParameterTexts(const std::vector<std::string>& tokens, int& status, int& index) override {
        s_.attempts.push_back(tokens);
        std::tie(status, index) = s_.answers.empty() ? std::make_pair(0, -1) : s_.answers.front();
        if (!s_.answers.empty()) s_.answers.pop_front();
    }

private:
    Script& s_;
    bool decoded_ = false;
};

class ScriptedManager : public FakeCatalogManager {
public:
    mutable Script script;
    bool noMessage = false;
    std::vector<IdName> listed; // functions and OpTypes of any FBlock and function
    void ListFunctions(std::vector<IdName>& out, int, const std::string&, std::int32_t, std::uint32_t) const override {
        out = listed;
    }
    void ListOpTypes(std::vector<IdName>& out, int, const std::string&, std::int32_t, std::uint32_t, std::int32_t) const override {
        out = listed;
    }
    KQRNMessage* CreateCatalogMessage(int, const std::string&, std::int32_t, std::uint32_t, std::int32_t,
                                      std::int32_t) const override {
        return noMessage ? nullptr : new ScriptedMessage(script);
    }
};

class ScriptedContainer : public KMostFCatContainer {
public:
    ScriptedContainer() { fcats.push_back(ListEntry{"Scripted", 0}); }
    ScriptedManager manager;
    Script& script = manager.script;
    const ListEntry amp{"Amp (0x22)", 0};
    std::vector<ListEntry>& build(const std::string& text) {
        return BuildParameterList(text, amp, ListEntry{"Volume (0x400)", 0x22}, ListEntry{"Set (0x0)", 0x400});
    }

protected:
    KQRNFCatManager* Manager() const override { return const_cast<ScriptedManager*>(&manager); }
};

} // namespace

TEST_F(ContainerTest, RegistrationIgnoresLetterCase) {
    KMostFCatContainer c;
    EXPECT_FALSE(c.IsDataAvailable());
    c.LoadFCats(); // nothing registered: no manager is made, so no selection dialog can open
    EXPECT_EQ(c.GetManagerHandle(), 0u);
    EXPECT_TRUE(w32drv::CursorChanges().empty());
    c.AddFCat("A.xml");
    c.AddFCat("a.XML");
    c.AddFCat("b.xml");
    EXPECT_EQ(c.files, (std::vector<std::string>{"A.xml", "b.xml"}));
    EXPECT_TRUE(c.IsDataAvailable()); // nothing loaded yet: registered files count
}

// The log sits beside its catalog, named after the catalog's name part, and never replaces it.
TEST_F(ContainerTest, LogFilesSitBesideTheirCatalogAndNeverReplaceIt) {
    for (const auto& [file, log] : std::vector<std::pair<std::string, std::string>>{
             {"/x/catalog.v2.xml", "/x/catalog.v2.log"},
             {"C:\\cat.old\\fcat", "C:\\cat.old\\fcat.log"},
             {"my.dir/catalog", "my.dir/catalog.log"},
             {"sub\\.hidden", "sub\\.hidden.log"},
             {"single.log", "single.log.log"},
             {"D:\\x\\SINGLE.LOG", "D:\\x\\SINGLE.LOG.log"},
             {"single.LOGX", "single.log"}})
        EXPECT_EQ(KMostFCatContainer::LogFileName(file), log);

    // a catalog file named like a log loads again and again, untouched by its log
    const std::string dir = ::testing::TempDir() + "log.dir", file = dir + "/single.log";
    std::filesystem::create_directories(dir);
    std::filesystem::remove(file); // MinGW's copy_file does not overwrite
    std::filesystem::copy_file(SampleCatalog("single.xml"), file);
    const std::string bytes = readAll(file);
    for (int load = 0; load < 2; ++load) {
        KMostFCatContainer c;
        c.AddFCat(file);
        c.LoadFCats();
        EXPECT_EQ(c.fcats.size(), 1u) << "load " << load;
    }
    EXPECT_EQ(readAll(file), bytes);
    EXPECT_TRUE(std::filesystem::exists(file + ".log"));
    EXPECT_FALSE(std::filesystem::exists(::testing::TempDir() + "log.log"));
    std::filesystem::remove_all(dir);
}

TEST_F(ContainerTest, ParameterTextsSplitIntoTrimmedTokensWithTwentyZerosAfter) {
    auto t = KMostFCatContainer::SplitParameterText("1, ,3");
    ASSERT_EQ(t.size(), 23u);
    EXPECT_EQ(std::vector<std::string>(t.begin(), t.begin() + 3), (std::vector<std::string>{"1", "0", "3"}));
    EXPECT_EQ(t.back(), "0");
    EXPECT_EQ(KMostFCatContainer::SplitParameterText(",,5").front(), "5");
    EXPECT_EQ(KMostFCatContainer::SplitParameterText("").size(), 20u);
    t = KMostFCatContainer::SplitParameterText(" 'a b' ,,, x ,");
    ASSERT_EQ(t.size(), 22u);
    EXPECT_EQ(std::vector<std::string>(t.begin(), t.begin() + 2), (std::vector<std::string>{"'a b'", "x"}));
}

TEST_F(ContainerTest, LoadingListsFBlocksOfEveryCatalogWithTheFirstFileWinning) {
    KMostFCatContainer c;
    c.AddFCat(kStandard);
    c.AddFCat(kRearSeat);
    c.LoadFCats();
    ASSERT_EQ(c.fcats.size(), 2u);
    EXPECT_EQ(c.fcats[0].text, "Infotainment");
    EXPECT_EQ(entry(c.fblocks, "AudioAmplifier").text, "AudioAmplifier (0x22)"); // not the rear-seat 0x23
    EXPECT_EQ(std::count_if(c.fblocks.begin(), c.fblocks.end(),
                            [](const ListEntry& e) { return GetEntryHead(e.text) == "AudioAmplifier"; }),
              1);
    EXPECT_EQ(entry(c.fblocks, "DVDVideoPlayer").key, 1);
    EXPECT_TRUE(c.IsDataAvailable());
    // the wait cursor shows while loading and the previous cursor comes back (cursor changes are
    // recorded only headless)
    if (w32drv::kHeadless) {
        auto cursors = w32drv::CursorChanges();
        ASSERT_GE(cursors.size(), 1u);
        EXPECT_EQ(w32drv::CursorName(cursors.front()), "IDC_WAIT");
        EXPECT_EQ(GetCursor(), nullptr);
    }
    // every load reads every file again and hands out new indices
    c.LoadFCats();
    ASSERT_EQ(c.fcats.size(), 2u);
    EXPECT_EQ(c.fcats[0].key, 2);
    EXPECT_EQ(c.fcats[1].key, 3);
    EXPECT_EQ(entry(c.fblocks, "AudioAmplifier").key, 2);
}

TEST_F(ContainerTest, AFileThatFailsIsReportedAndTheOthersStillLoad) {
    KMostFCatContainer c;
    c.AddFCat("/nowhere/missing.xml");
    c.AddFCat(kStandard);
    c.LoadFCats();
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    std::string message = LoadResourceText(19201);
    message.replace(message.find("%s"), 2, "/nowhere/missing.xml");
    EXPECT_EQ(boxes[0].text, message);
    EXPECT_EQ(boxes[0].style & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    ASSERT_EQ(c.fcats.size(), 1u);
    EXPECT_EQ(c.fcats[0].key, 0); // the failed file got no index
    EXPECT_TRUE(c.IsDataAvailable());

    KMostFCatContainer none;
    none.AddFCat("/nowhere/a.xml");
    none.AddFCat("/nowhere/b.xml");
    w32drv::ClearRecords();
    none.LoadFCats();
    EXPECT_EQ(w32drv::MessageBoxes().size(), 2u);
    EXPECT_FALSE(none.IsDataAvailable()); // a manager exists and found no FBlocks
}

TEST_F(ContainerTest, FunctionAndOpTypeListsFollowTheAskedFormatAndCarryTheParentIds) {
    KMostFCatContainer c;
    c.AddFCat(kStandard);
    c.LoadFCats();
    ListEntry amp = entry(c.fblocks, "AudioAmplifier");
    auto names = texts(c.BuildFunctionList(amp, kNameFirst));
    EXPECT_NE(std::find(names.begin(), names.end(), "Volume (0x400)"), names.end());
    names = texts(c.BuildFunctionList(amp, kHexFirst));
    EXPECT_NE(std::find(names.begin(), names.end(), "0x401 (Mute)"), names.end());
    EXPECT_TRUE(std::all_of(c.functions.begin(), c.functions.end(), [](const ListEntry& e) { return e.key == 0x22; }));
    ListEntry mute = entry(c.functions, "0x401");
    auto& ops = c.BuildOpTypeList(amp, mute, kDecimalFirst);
    EXPECT_EQ(texts(ops), (std::vector<std::string>{"0 (Set)", "1 (Get)", "12 (Status)"}));
    EXPECT_TRUE(std::all_of(ops.begin(), ops.end(), [](const ListEntry& e) { return e.key == 0x401; }));
    // an entry of that list is read in its format: Get has no parameter, Set would have one
    auto& params = c.BuildParameterList("", amp, mute, ops[1]);
    EXPECT_TRUE(std::none_of(params.begin(), params.end(), [](const ListEntry& e) { return e.text == "Mute"; }));
    // the FBlock list switches format in place, keys kept
    c.SetFBlockFormat(kDecimalFirst);
    EXPECT_EQ(entry(c.fblocks, "34").text, "34 (AudioAmplifier)");
    c.SetFBlockFormat(kHexFirst);
    EXPECT_EQ(entry(c.fblocks, "0x22").text, "0x22 (AudioAmplifier)");
    EXPECT_EQ(entry(c.fblocks, "0x22").key, 0);
    // after a reload the old entry's catalog index names no catalog any more
    c.LoadFCats();
    EXPECT_TRUE(c.BuildFunctionList(amp, kNameFirst).empty());
}

TEST_F(ContainerTest, ParameterListsDecodeNamesTypesAndValuesWithTheirCodes) {
    KMostFCatContainer c;
    c.AddFCat(kStandard);
    c.LoadFCats();
    auto& params = parametersOf(c, "AudioAmplifier", "Mute", "Set");
    ASSERT_EQ(params.size(), 1u);
    EXPECT_EQ(params[0].text, "Mute");
    EXPECT_EQ(params[0].key, QRN_TYPE_BOOLEAN);
    EXPECT_EQ(c.GetParameterValues(1), nullptr);
    EXPECT_EQ(c.GetParameterCodeDigits(0), 2);
    // a one-byte enum lists every code up to its highest, named or not: the key is the position
    ASSERT_EQ(parametersOf(c, "AudioDiskPlayer", "DeckStatus", "Set").size(), 1u);
    const auto* values = c.GetParameterValues(0);
    ASSERT_NE(values, nullptr);
    ASSERT_EQ(values->size(), 7u);
    for (size_t i = 0; i < values->size(); ++i) EXPECT_EQ((*values)[i].key, static_cast<std::int32_t>(i));
    EXPECT_EQ(values->back().text, "Eject");
    // a two-byte enum lists its named values only, each with its own code, shown with four digits
    ASSERT_EQ(parametersOf(c, "Navigation", "MapScale", "Set").size(), 1u);
    values = c.GetParameterValues(0);
    ASSERT_NE(values, nullptr);
    ASSERT_EQ(values->size(), 3u);
    EXPECT_EQ((*values)[1].text, "City");
    EXPECT_EQ((*values)[1].key, 0x100);
    EXPECT_EQ((*values)[2].key, 0x400);
    EXPECT_EQ(c.GetParameterCodeDigits(0), 4);
    EXPECT_EQ(c.GetParameterCodeDigits(1), 2);
}

TEST_F(ContainerTest, RefusedTokensBecomeZeroAndSurplusTokensAreDroppedUntilAccepted) {
    ScriptedContainer c;
    c.script.answers = {{QRN_TEXT_NOT_ENUM, 1}, {QRN_TEXT_NOT_ENUM, 1}}; // the same refusal twice ends the loop
    EXPECT_TRUE(c.build("1,abc").empty()); // the scripted message has no parameters
    ASSERT_EQ(c.script.attempts.size(), 2u);
    EXPECT_EQ(c.script.attempts[0][1], "abc");
    EXPECT_EQ(c.script.attempts[1][0], "1");
    EXPECT_EQ(c.script.attempts[1][1], "0");
    EXPECT_EQ(c.refusedToken, 1);
    // the final message was prepared for decoding: its bytes padded with 20 zero bytes
    std::vector<std::uint8_t> padded{1, 2};
    padded.insert(padded.end(), 20, 0);
    EXPECT_EQ(c.script.data, padded);
    EXPECT_EQ(c.script.word, QRN_NO_ELEMENT_LIMIT);
    EXPECT_EQ(c.script.flags, static_cast<std::uint32_t>(QRN_MSG_VALUE_CHOICES | QRN_MSG_ALLOW_SURPLUS));

    // the first token refused: it becomes zero too
    c.script.attempts.clear();
    c.script.answers = {{QRN_TEXT_NOT_ENUM, 0}};
    c.build("abc,2");
    ASSERT_EQ(c.script.attempts.size(), 2u);
    EXPECT_EQ(c.script.attempts[1][0], "0");
    EXPECT_EQ(c.script.attempts[1][1], "2");
    EXPECT_EQ(c.refusedToken, 0);

    // too many tokens: dropped from the end until accepted, and no refused value
    c.script.attempts.clear();
    c.script.answers = {{QRN_TEXT_TOO_MANY, 0}, {QRN_TEXT_TOO_MANY, 0}, {QRN_TEXT_OK, 0}};
    c.build("7");
    ASSERT_EQ(c.script.attempts.size(), 3u);
    EXPECT_EQ(c.script.attempts[0].size(), 21u);
    EXPECT_EQ(c.script.attempts[2].size(), 19u);
    EXPECT_EQ(c.refusedToken, -1);
}

TEST_F(ContainerTest, NoFBlockFunctionOrMessageListsNothing) {
    ScriptedContainer c;
    c.manager.listed = {IdName{"Volume", 0x400}};
    EXPECT_EQ(texts(c.BuildFunctionList(c.amp, kNameFirst)), std::vector<std::string>{"Volume (0x400)"});
    EXPECT_EQ(c.functions[0].key, 0x22);
    EXPECT_TRUE(c.BuildFunctionList(ListEntry{"", 0}, kNameFirst).empty()); // the library would list FBlock 0's
    EXPECT_EQ(texts(c.BuildOpTypeList(c.amp, ListEntry{"Volume (0x400)", 0x22}, kHexFirst)),
              std::vector<std::string>{"0x400 (Volume)"});
    EXPECT_TRUE(c.BuildOpTypeList(c.amp, ListEntry{"", 0x22}, kNameFirst).empty());
    // no message from the library: the single error entry
    c.manager.noMessage = true;
    auto& params = c.build("1");
    ASSERT_EQ(params.size(), 1u);
    EXPECT_EQ(params[0].key, -1);
    EXPECT_EQ(params[0].text, LoadResourceText(19200));
    EXPECT_TRUE(c.parameterValues.empty());
}

// Damaged catalog files: whatever a file holds, loading either takes it or says so for that file
// alone, and the other catalogs still load. Crashes and leaks are the sanitizers' to find.
TEST_F(ContainerTest, EachDamagedFileLoadsOrIsReportedAloneAndTheOthersStillLoad) {
    const auto dir = std::filesystem::temp_directory_path() / ("pelorin-corrupted-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string good[] = {kStandard, kRearSeat};
    const std::string texts[] = {readAll(good[0]), readAll(good[1])};
    std::mt19937 rnd(20261207);
    const int variants = 500;
    int refused = 0;
    for (int v = 0; v < variants; ++v) {
        // the damaged copy of one sample, listed before or after the other sample as it is
        const int which = v % 2;
        const std::string damaged = (dir / ("variant" + std::to_string(v) + ".xml")).string();
        std::ofstream(damaged, std::ios::binary) << damage(texts[which], rnd);
        KMostFCatContainer c;
        c.AddFCat(which ? good[0] : damaged);
        c.AddFCat(which ? damaged : good[1]);
        w32drv::ClearRecords();
        c.LoadFCats();
        const auto boxes = w32drv::MessageBoxes();
        const std::string other = which ? "Infotainment" : "RearSeat";
        bool otherLoaded = false;
        for (const auto& f : c.fcats) otherLoaded = otherLoaded || f.text == other;
        EXPECT_TRUE(otherLoaded) << damaged;
        if (boxes.empty()) {
            EXPECT_EQ(c.fcats.size(), 2u) << damaged; // taken as it is
        } else {
            ++refused;
            ASSERT_EQ(boxes.size(), 1u) << damaged;
            const std::string expected = LoadResourceText(IDS_LOAD_FAILED);
            EXPECT_EQ(boxes[0].text, expected.substr(0, expected.find("%s")) + damaged +
                                         expected.substr(expected.find("%s") + 2));
            EXPECT_EQ(c.fcats.size(), 1u) << damaged;
        }
        if (HasFailure()) break; // one variant's story is enough
        std::filesystem::remove(damaged);
    }
    // the damage must mostly be refused, or the test is not damaging much
    EXPECT_GT(refused, variants / 2);
    RecordProperty("refused", refused);
    std::filesystem::remove_all(dir);
}
