// The host program's selection commands from the outside: select over a selection model of its
// own (modeless and modal, pre-selection, predefined objects, row clicks), pick through the
// selector's bridge, and batch, whose lines share what the system keeps between dialogs.
#include "HostRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kVolume = "Infotainment.AudioAmplifier.Volume.Set.Volume";

// The names of an object's members, in the JSON's order.
std::vector<std::string> keys(const nlohmann::json& object) {
    std::vector<std::string> names;
    for (const auto& [name, value] : object.items()) names.push_back(name);
    return names;
}

// "FBlock.Function.OpType" of every object of a report.
std::vector<std::string> addresses(const nlohmann::json& report) {
    std::vector<std::string> out;
    for (const auto& o : report["objects"])
        out.push_back(o["fblock"].get<std::string>() + "." + o["function"].get<std::string>() + "." +
                      o["opType"].get<std::string>());
    return out;
}

HostRun select(std::vector<std::string> args) {
    args.insert(args.begin(), "select");
    return host(args);
}

} // namespace

TEST(HostSelect, AddressModeReportsTheOpTypesOfTheClickedRowsWithEveryMember) {
    // modeless: the host's loop plays the keys; a Ctrl-click adds a row, a Shift-click a range
    HostRun r = select({"--flags", "0x18", "--keys",
                        "{CLICKROW Infotainment.AudioAmplifier.Mute}^{CLICKROW Infotainment.NetBlock.NodeAddress}{ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    ASSERT_EQ(j["reports"].size(), 1u) << r.out;
    EXPECT_EQ(j["reports"][0]["final"], true);
    EXPECT_EQ(addresses(j["reports"][0]),
              (std::vector<std::string>{"NetBlock.NodeAddress.Get", "NetBlock.NodeAddress.Status", "AudioAmplifier.Mute.Set",
                                        "AudioAmplifier.Mute.Get", "AudioAmplifier.Mute.Status"}));
    EXPECT_EQ(keys(j["reports"][0]["objects"][0]),
              (std::vector<std::string>{"channel", "extraText", "fblock", "fcat", "function", "instance",
                                        "instanceChecked", "opType", "parameterName", "parameterPath", "predefined",
                                        "predefinedId", "signalText", "typeCode"}));
    EXPECT_EQ(j["reports"][0]["objects"][0]["fcat"], "Infotainment");
    EXPECT_EQ(keys(j["lastState"]).size(), 20u);
    EXPECT_TRUE(j["lastState"]["visibleRowPaths"].is_array());
    EXPECT_EQ(j["preselected"], nullptr);
    EXPECT_EQ(j["help"], 0);
    EXPECT_EQ(j["inputExhausted"], false);

    r = select({"--flags", "0x18", "--keys",
                "{CLICKROW Infotainment.NetBlock.DeviceInfo}+{CLICKROW Infotainment.NetBlock.ShutDown}{ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(addresses(json(r)["reports"][0]),
              (std::vector<std::string>{"NetBlock.DeviceInfo.Get", "NetBlock.DeviceInfo.Status", "NetBlock.ShutDown.Start",
                                        "NetBlock.ShutDown.Result", "NetBlock.ShutDown.Error"}));
    // keys that run out leave the dialog open: the host closes it without a report
    j = json(select({"--flags", "0x10", "--keys", "{CLICKROW Infotainment.NetBlock}"}));
    EXPECT_TRUE(j["reports"].empty());
    EXPECT_EQ(j["inputExhausted"], true);
}

TEST(HostSelect, SignalModeOpensOnThePreselectedSignal) {
    // modal: the dialog's own loop takes the keys
    HostRun r = select({"--flags", "0xC1", "--channels", "2", "--preselect", "AudioAmplifier.Volume.Set.Volume",
                        "--instance", "3", "--channel", "0x2", "--value-text", "12", "--keys", "{ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    EXPECT_EQ(j["preselected"], true);
    ASSERT_EQ(j["reports"].size(), 1u) << r.out;
    const auto& o = j["reports"][0]["objects"][0];
    EXPECT_EQ(addresses(j["reports"][0]), (std::vector<std::string>{"AudioAmplifier.Volume.Set"}));
    EXPECT_EQ(o["parameterPath"], "Volume");
    EXPECT_EQ(o["instance"], 3);
    EXPECT_EQ(o["channel"], 2);
    EXPECT_EQ(j["lastState"]["topRowPath"], kVolume);
    EXPECT_EQ(j["lastState"]["valueText"], "12");
    EXPECT_EQ(j["inputExhausted"], false);

    // a signal the catalogs lack selects nothing; a modal loop that runs out of keys cancels
    j = json(select({"--flags", "0xC1", "--preselect", "AudioAmplifier.Volume.Set.Nothing", "--keys", "{ENTER}"}));
    EXPECT_EQ(j["preselected"], false);
    EXPECT_TRUE(j["reports"].empty());
    j = json(select({"--flags", "0xC1", "--keys", "{CLICKROW " + kVolume + "}"}));
    EXPECT_TRUE(j["reports"].empty());
    EXPECT_EQ(j["inputExhausted"], true);

    // a double click on a parameter reports it, not final, and the dialog stays until Escape
    j = json(select({"--flags", "0xC0", "--keys", "{CLICKROW " + kVolume + "}{DBLCLICK}{ESC}"}));
    ASSERT_EQ(j["reports"].size(), 1u);
    EXPECT_EQ(j["reports"][0]["final"], false);
    EXPECT_EQ(j["reports"][0]["objects"][0]["parameterName"], "Volume");
    EXPECT_EQ(j["inputExhausted"], false);
}

TEST(HostSelect, PredefinedObjectsComeFromAJsonFile) {
    TempFolder folder;
    std::string file = folder.write("objects.json", R"([
        {"id": 1, "name": "Favourites", "isGroup": true, "isSelectable": false},
        {"id": "0x10", "name": "Lautstärke vorn", "description": "front"},
        {"id": 17, "name": "Mute all", "isSelectable": false}])");
    auto chosen = [&](const std::string& row) {
        HostRun r = select({"--flags", "0x4C1", "--predefined", file, "--keys", "{CLICKROW " + row + "}{ENTER}"});
        EXPECT_EQ(r.code, 0) << r.err;
        return json(r)["reports"];
    };
    auto reports = chosen("Predefined_Object_16");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0]["objects"][0]["predefined"], true);
    EXPECT_EQ(reports[0]["objects"][0]["predefinedId"], 16);
    EXPECT_EQ(reports[0]["objects"][0]["signalText"], "Lautstärke vorn");
    EXPECT_TRUE(chosen("Predefined_Object_17").empty()); // listed, not selectable

    for (const std::string& bad : {std::string("{\"id\": 1}"), std::string("[{\"id\": 1}]"),
                                   std::string("[{\"id\": -1, \"name\": \"x\"}]"),
                                   std::string("[{\"id\": 1, \"name\": \"\xD0\xA4\"}]"),
                                   std::string("[{\"id\": 1, \"name\": \"x\", \"colour\": 2}]")}) {
        HostRun r = select({"--flags", "0x4C1", "--predefined", folder.write("bad.json", bad)});
        EXPECT_TRUE(oneLineError(r)) << bad;
        EXPECT_NE(r.err.find("--predefined"), std::string::npos) << r.err;
    }
}

TEST(HostSelect, AClickOnARowThatIsNotThereEndsTheCommand) {
    for (const char* flags : {"0x10", "0x11"}) {
        HostRun r = select({"--flags", flags, "--keys", "{CLICKROW Infotainment.AudioAmplifier.Nope}{ENTER}"});
        EXPECT_TRUE(oneLineError(r)) << flags;
        EXPECT_NE(r.err.find("Infotainment.AudioAmplifier.Nope"), std::string::npos) << r.err;
    }
    // a row path needs the dialog's tree; a double click needs its caret row
    EXPECT_TRUE(oneLineError(host({"assist", "--line", "x", "--keys", "{CLICKROW Infotainment}"})));
    HostRun r = select({"--flags", "0x10", "--keys", "{DBLCLICK}"});
    EXPECT_TRUE(oneLineError(r));
    EXPECT_NE(r.err.find("caret row"), std::string::npos) << r.err;
}

TEST(HostPick, TheDialogHandsOverTheTextsOfItsMode) {
    // address mode: Apply hands over a text and the dialog stays; Help is counted
    HostRun r = host({"pick", "--line", "x", "--keys",
                      "{CLICKROW Infotainment.AudioAmplifier.Volume}{CLICK 3}{CLICK 19167}"
                      "{CLICKROW RearSeat.DVDVideoPlayer.DeckStatus}{ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    EXPECT_EQ(j["texts"], nlohmann::json({"AudioAmplifier.Volume", "DVDVideoPlayer.DeckStatus"}));
    EXPECT_EQ(j["help"], 1);
    // signal mode hands over the parameter; an address row is no signal
    r = host({"pick", "--line", "x = \"\";", "--caret", "5", "--preselect", "--keys",
              "{CLICKROW Infotainment.AudioAmplifier.Volume}{CLICK 3}{CLICKROW " + kVolume + "}{ENTER}"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(json(r)["texts"], nlohmann::json({"Volume"}));
    // keys that run out: the host closes the dialog and nothing is handed over
    j = json(host({"pick", "--line", "x", "--keys", "{CLICKROW Infotainment.AudioAmplifier.Volume}"}));
    EXPECT_TRUE(j["texts"].empty());
}

TEST(HostBatch, TheLinesShareTheStateTheSystemKeeps) {
    TempFolder folder;
    std::string file = folder.write("lines.txt", "# the first dialog reports and leaves its state behind\n"
                                                 "select --flags 0xC1 --channels 2 --preselect "
                                                 "'AudioAmplifier.Volume.Set.Volume' --instance 3 --keys \"{ENTER}\"\n"
                                                 "\n"
                                                 "   # indented comment\r\n"
                                                 "select --flags 0xC1 --use-last-state --keys '{ESC}'\n"
                                                 "select --flags 0xC1 --keys {ESC}\n"
                                                 "check-signal Audio\\ Amplifier.Volume.Set.Volume\n");
    HostRun r = host({"batch", file});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    ASSERT_EQ(j.size(), 4u) << r.out;
    EXPECT_EQ(j[0]["reports"].size(), 1u);
    // the second dialog started from the last dialog's state, the third from a fresh one
    EXPECT_EQ(j[1]["lastState"]["topRowPath"], kVolume);
    EXPECT_EQ(j[1]["lastState"]["instance"], 3);
    EXPECT_EQ(j[2]["lastState"]["instance"], 255);
    EXPECT_NE(j[2]["lastState"]["topRowPath"], kVolume);
    EXPECT_EQ(j[3][0]["signal"], "Audio Amplifier.Volume.Set.Volume");
}

TEST(HostBatch, TheFirstLineThatFailsEndsTheBatchAndNamesTheLine) {
    TempFolder folder;
    for (const auto& [text, where] : std::vector<std::pair<std::string, std::string>>{
             {"check-signal A.B\nselect --flags 0x10 --frobnicate\n", "batch line 2: select: unknown option"},
             {"select --flags 0x10 --keys '{ENTER}\n", "batch line 1: unclosed '"},
             {"\ncheck-signal \"A.B\\\"\n", "batch line 2: unclosed \""},
             {"tui\n", "batch line 1: \"tui\" cannot run"},
             {"select --help\n", "batch line 1: --help"},
             {"select --flags 0x10 --keys '{CLICKROW Nope}'\n", "batch line 1: \"{CLICKROW Nope}\": no row"}}) {
        HostRun r = host({"batch", folder.write("lines.txt", text)});
        EXPECT_TRUE(oneLineError(r)) << text;
        EXPECT_NE(r.err.find(where), std::string::npos) << r.err;
    }
}
