// The host program from the outside: exit codes and messages of its command line, and the JSON
// of whole edits, lint runs, signal checks and selections, with texts beyond ASCII.
#include "HostRun.h"
#include "host/Text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A catalog whose names hold characters beyond ASCII (UTF-8 in the file, as catalogs are).
const char* kUmlautCatalog = R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Fahrwerk äöü">
  <FBlock ID="0x50" Name="Räder">
    <Function ID="0x100" Name="Größe" Kind="Property" Class="Number">
      <OPType ID="0x0"><Parameter Name="Wert"><TNumber Type="UByte"/></Parameter></OPType>
      <OPType ID="0xC"><Parameter Name="Maß€"><TNumber Type="UByte"/></Parameter></OPType>
    </Function>
    <Function ID="0x101" Name="Café" Kind="Method"><OPType ID="0x0"/></Function>
  </FBlock>
</FunctionCatalog>
)";

} // namespace

TEST(HostCommandLine, UnusableCommandLinesExitWithTwoAndOneLine) {
    EXPECT_EQ(host({}).code, 2);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"bogus"},
             {"--bogus", "assist"},
             {"assist"},
             {"assist", "--line", "x", "--caret", "-3"},
             {"assist", "--line", "abc", "--caret", "4"},
             {"assist", "--line", "abc", "--selection", "1,9"},
             {"assist", "--line", "x", "--answers", "maybe"},
             {"assist", "--line", "x", "--keys", "{NOPE}"},
             {"assist", "--line", "x", "--frobnicate"},
             {"assist", "--line"},
             {"--catalog", "/nowhere/c.xml", "assist", "--line", "x"},
             {"--catalog"},
             {"lint"},
             {"lint", "--frobnicate"},
             {"lint", "/nowhere/c.xml"},
             {"check-signal"},
             {"check-signal", "--frobnicate"},
             {"tui", "--frobnicate"},
             {"tui", "--line", "x", "extra"},
             {"select"},
             {"select", "--flags", "0x1G"},
             {"select", "--flags", "4294967296"},
             {"select", "--flags", "0x10", "--instance", "3"},
             {"select", "--flags", "0x10", "--frobnicate"},
             {"select", "--flags", "0x10", "--predefined", "/nowhere/p.json"},
             {"pick"},
             {"pick", "--line", "abc", "--caret", "0x4"},
             {"pick", "--line", "x", "--preselect", "yes"},
             {"batch"},
             {"batch", "/nowhere/b.txt"},
             {"batch", "a", "b"}}) {
        EXPECT_TRUE(oneLineError(host(args))) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    }
}

TEST(HostCommandLine, EveryCommandPrintsItsUsageForHelp) {
    HostRun help = host({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("usage: pelorin-host", 0), 0u) << help.out;
    for (const char* command : {"assist", "lint", "check-signal", "tui", "select", "pick", "batch"}) {
        // before anything is loaded: no catalog is read, no file named "--help" is tried
        HostRun r = host({"--catalog", "/nowhere/c.xml", command, "--help"});
        EXPECT_EQ(r.code, 0) << command << ": " << r.err;
        EXPECT_EQ(r.out.rfind("usage: pelorin-host", 0), 0u) << r.out;
        EXPECT_NE(r.out.find(std::string(" ") + command + " "), std::string::npos) << r.out;
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
}

TEST(HostCommandLine, DoubleDashEndsTheOptions) {
    TempFolder folder;
    folder.write("-dash.xml", kUmlautCatalog);
    HostRun r = host({"lint", "--", "-dash.xml"}, folder.path.string());
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(json(r)[0]["loaded"], true);
    EXPECT_TRUE(oneLineError(host({"lint", "-dash.xml"}, folder.path.string())));
    r = host({"check-signal", "--", "-A.B"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(json(r)[0]["selectable"], false);
}

TEST(HostCommandLine, TextThatIsNotUtf8OrNotInTheCodePageIsRefused) {
    const std::string bad = "ab\xFF", cyrillic = "\xD0\xA4", emoji = "\xF0\x9F\x98\x80";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"assist", "--line", bad},
             {"assist", "--line", "x", "--keys", bad},
             {"assist", "--line", "x", "--answers", bad},
             {"assist", "--line", "x", "--caret", bad},
             {"assist", "--line", "a" + emoji},
             {"assist", "--line", "x", "--keys", "a" + cyrillic},
             {"check-signal", "A.B.C", "A.B" + bad},
             {"check-signal", cyrillic + ".B"},
             {"tui", "--line", bad},
             {"tui", "--line", cyrillic},
             {"lint", "--" + bad},
             {bad}}) {
        HostRun r = host(args);
        EXPECT_TRUE(oneLineError(r)) << args[0] << " " << args[1];
    }
    // the message tells what is wrong and where
    HostRun r = host({"check-signal", "A.B.C", "A.B" + bad});
    EXPECT_NE(r.err.find("signal 2 is not valid UTF-8 (at byte 6)"), std::string::npos) << r.err;
    r = host({"assist", "--line", "a" + emoji});
    EXPECT_NE(r.err.find("U+1F600"), std::string::npos) << r.err;
}

TEST(HostCommandLine, MessagesQuoteLongInputInPart) {
    const std::string big(100000, 'q');
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"assist", "--line", "x", big},
             {"assist", "--line", big + "\xFF"},
             {"assist", "--line", "x", "--keys", "{" + big + "}"},
             {"check-signal", "--" + big},
             {big}}) {
        HostRun r = host(args);
        EXPECT_TRUE(oneLineError(r));
        EXPECT_LT(r.err.size(), 300u) << r.err.substr(0, 300);
        EXPECT_NE(r.err.find(" bytes)"), std::string::npos) << r.err.substr(0, 300);
    }
}

TEST(HostAssist, AWholeEditTypedIntoAnEmptyQuotedStringAndALongLineComesBackWhole) {
    HostRun r = host({"assist", "--line", "x = \"\";", "--caret", "5", "--keys", "Audio.Vol.S(10)"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    EXPECT_EQ(j["result"], IDOK);
    EXPECT_EQ(j["line"], "x = \"AudioAmplifier.Volume.Set(10)\";");
    EXPECT_EQ(j["displacement"], 29);
    EXPECT_TRUE(j["messageBoxes"].empty());
    EXPECT_EQ(j["beeps"], 0);
    EXPECT_EQ(j["inputExhausted"], false);
    const std::string tail(10000, 'y');
    j = json(host({"assist", "--line", "\"\"" + tail, "--caret", "1", "--keys", "Audio.Vol.S(10){ENTER}"}));
    EXPECT_EQ(j["result"], IDOK);
    EXPECT_EQ(j["line"], "\"AudioAmplifier.Volume.Set(10)\"" + tail);
    EXPECT_EQ(j["displacement"], 29);
}

TEST(HostAssist, QuestionsTakeTheAnswersInOrder) {
    HostRun r = host({"assist", "--line", "\"\"", "--caret", "1", "--keys", "Nonsense{ENTER}{ENTER}", "--answers", "no,yes"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    EXPECT_EQ(j["result"], IDOK);
    ASSERT_EQ(j["messageBoxes"].size(), 2u);
    EXPECT_EQ(j["messageBoxes"][0]["answer"], IDNO);
    EXPECT_EQ(j["messageBoxes"][1]["answer"], IDYES);
    EXPECT_EQ(j["messageBoxes"][0]["caption"], "MOST Input Assistance");
    EXPECT_EQ(j["messageBoxes"][0]["style"], 0x34);
    EXPECT_EQ(j["line"], "\"Nonsense\"");
}

TEST(HostAssist, EscapeCancelsAndRunningOutOfKeysIsReported) {
    auto j = json(host({"assist", "--line", "mostmessage ", "--keys", "AudioAmp{ESC}{ESC}"}));
    EXPECT_EQ(j["result"], IDCANCEL);
    EXPECT_EQ(j["inputExhausted"], false);
    EXPECT_EQ(j["line"], "mostmessage AudioAmp"); // the dialog's last contents, without quotes
    j = json(host({"assist", "--line", "\"\"", "--caret", "1", "--keys", "Tel"}));
    EXPECT_EQ(j["result"], IDCANCEL);
    EXPECT_EQ(j["inputExhausted"], true);
    j = json(host({"assist", "--line", "\"\"", "--caret", "1", "--keys", "AudioAmplifier.Mute.Set({CLICKITEM 0})"}));
    EXPECT_EQ(j["result"], IDOK);
    EXPECT_EQ(j["line"].get<std::string>().rfind("\"AudioAmplifier.Mute.Set(", 0), 0u);
}

TEST(HostLint, GoodAndBadCatalogs) {
    TempFolder folder;
    std::string bad = folder.write("bad.xml", "<FunctionCatalog Name=\"Broken\">\n  <FBlock ID=\"0x01\">\n</FunctionCatalog>\n");
    std::string single = binFolder() + "/samples/single.xml";
    HostRun r = host({"lint", single, bad});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["loaded"], true);
    EXPECT_EQ(j[0]["catalog"], "Diagnosis");
    EXPECT_EQ(j[0]["fblocks"], 1);
    EXPECT_EQ(j[0]["contents"][0]["fblock"], "Diagnosis");
    EXPECT_EQ(j[0]["contents"][0]["functions"][1]["function"], "ClearFaults");
    EXPECT_EQ(j[0]["contents"][0]["functions"][1]["id"], 0x101);
    EXPECT_GT(j[0]["opTypes"].get<int>(), 0);
    EXPECT_EQ(j[1]["loaded"], false);
    std::string log;
    for (auto& line : j[1]["log"]) log += line.get<std::string>() + "\n";
    EXPECT_NE(log.find("line"), std::string::npos) << log; // where the problem is
}

TEST(HostCheckSignal, EachSignalIsCheckedAgainstTheCatalogs) {
    HostRun r = host({"check-signal", "AudioDiskPlayer.TrackList.Status.Data[3].Pos", "22.400.C.Volume", "A.B.C"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    ASSERT_EQ(j.size(), 3u);
    EXPECT_EQ(j[0]["signal"], "AudioDiskPlayer.TrackList.Status.Data[3].Pos");
    EXPECT_EQ(j[0]["selectable"], true);
    EXPECT_EQ(j[1]["selectable"], true);
    EXPECT_EQ(j[2]["selectable"], false);
}

// Names beyond ASCII from the catalog file to the JSON: the catalog library hands them out in
// Windows-1252 and the host writes each once in UTF-8.
TEST(HostNamesBeyondAscii, LintShowsTheCatalogsNamesOnceAndRepairsAFileNameThatIsNotUtf8) {
    TempFolder folder;
    HostRun r = host({"lint", folder.write("cat-\xFF.xml", kUmlautCatalog)});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    ASSERT_TRUE(j.is_array()) << r.out;
    EXPECT_NE(j[0]["file"].get<std::string>().find("cat-\xEF\xBF\xBD.xml"), std::string::npos);
    EXPECT_EQ(j[0]["catalog"], "Fahrwerk äöü");
    EXPECT_EQ(j[0]["contents"][0]["fblock"], "Räder");
    EXPECT_EQ(j[0]["contents"][0]["functions"][0]["function"], "Größe");
    EXPECT_EQ(j[0]["contents"][0]["functions"][1]["function"], "Café");
}

TEST(HostNamesBeyondAscii, TypedCharactersAndSignalsMatchTheCatalogsNames) {
    TempFolder folder;
    std::string catalog = folder.write("fahrwerk.xml", kUmlautCatalog);
    HostRun r = host({"--catalog", catalog, "assist", "--line", "x = \"\";", "--caret", "5", "--keys", "Rä.Gr.S(7){ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    EXPECT_EQ(j["result"], IDOK);
    EXPECT_TRUE(j["messageBoxes"].empty()) << j["messageBoxes"];
    EXPECT_EQ(j["line"], "x = \"Räder.Größe.Set(7)\";");
    EXPECT_EQ(j["displacement"], 18); // characters, not bytes
    r = host({"--catalog", catalog, "check-signal", "Räder.Größe.Status.Maß€", "Räder.Größe.Status.Mass"});
    ASSERT_EQ(r.code, 0) << r.err;
    j = json(r);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["signal"], "Räder.Größe.Status.Maß€");
    EXPECT_EQ(j[0]["selectable"], true);
    EXPECT_EQ(j[1]["selectable"], false);
}

TEST(HostNamesBeyondAscii, RowPathsAndChosenObjectsBeyondAscii) {
    TempFolder folder;
    std::string catalog = folder.write("fahrwerk.xml", kUmlautCatalog);
    HostRun r = host({"--catalog", catalog, "pick", "--line", "", "--preselect", "--keys",
                      "{CLICKROW Fahrwerk äöü.Räder.Größe.Status.Maß€}{ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(json(r)["texts"], nlohmann::json({"Maß€"}));
    r = host({"--catalog", catalog, "select", "--flags", "0xC1", "--preselect", "Räder.Größe.Status.Maß€", "--keys", "{ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    EXPECT_EQ(j["preselected"], true);
    ASSERT_EQ(j["reports"].size(), 1u) << r.out;
    EXPECT_EQ(j["reports"][0]["objects"][0]["fcat"], "Fahrwerk äöü");
    EXPECT_EQ(j["reports"][0]["objects"][0]["function"], "Größe");
    EXPECT_EQ(j["reports"][0]["objects"][0]["signalText"], "Maß€");
}
