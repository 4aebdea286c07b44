// The host program from the outside: exit codes and messages of its command line, and the JSON
// of whole edits, lint runs and signal checks.
#include <windows.h>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct HostRun {
    int code = -1;
    std::string out, err;
};

std::string hostPath() {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    return (std::filesystem::path(exe).parent_path() / "pelorin-host").string();
}

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

HostRun host(const std::vector<std::string>& args) {
    std::string errFile = std::filesystem::temp_directory_path() / ("pelorin-host-err-" + std::to_string(::getpid()));
    std::string cmd = quote(hostPath());
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " 2>" + quote(errFile);
    HostRun r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream e(errFile);
    r.err.assign(std::istreambuf_iterator<char>(e), {});
    std::filesystem::remove(errFile);
    return r;
}

nlohmann::json json(const HostRun& r) { return nlohmann::json::parse(r.out, nullptr, false); }

} // namespace

TEST(HostCommandLine, UnusableCommandLinesExitWithTwoAndOneLine) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"bogus"},
             {"assist"},
             {"assist", "--line", "x", "--caret", "-3"},
             {"assist", "--line", "x", "--answers", "maybe"},
             {"assist", "--line", "x", "--keys", "{NOPE}"},
             {"assist", "--line", "x", "--frobnicate"},
             {"--catalog", "/nowhere/c.xml", "assist", "--line", "x"},
             {"--catalog"},
             {"lint"},
             {"lint", "/nowhere/c.xml"},
             {"check-signal"}}) {
        HostRun r = host(args);
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        if (!args.empty()) {
            EXPECT_EQ(r.err.rfind("pelorin-host: ", 0), 0u) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    HostRun help = host({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: pelorin-host"), std::string::npos);
}

TEST(HostAssist, AWholeEditTypedIntoAnEmptyQuotedString) {
    HostRun r = host({"assist", "--line", "x = \"\";", "--caret", "5", "--keys", "Audio.Vol.S(10)"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    EXPECT_EQ(j["result"], IDOK);
    EXPECT_EQ(j["line"], "x = \"AudioAmplifier.Volume.Set(10)\";");
    EXPECT_EQ(j["displacement"], 29);
    EXPECT_TRUE(j["messageBoxes"].empty());
    EXPECT_EQ(j["beeps"], 0);
    EXPECT_EQ(j["inputExhausted"], false);
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
    std::filesystem::path bad = std::filesystem::temp_directory_path() / ("pelorin-bad-" + std::to_string(::getpid()) + ".xml");
    std::ofstream(bad) << "<FunctionCatalog Name=\"Broken\">\n  <FBlock ID=\"0x01\">\n</FunctionCatalog>\n";
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string single = (std::filesystem::path(exe).parent_path() / "samples" / "single.xml").string();
    HostRun r = host({"lint", single, bad.string()});
    std::filesystem::remove(bad);
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = json(r);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["loaded"], true);
    EXPECT_EQ(j[0]["catalog"], "Diagnosis");
    EXPECT_EQ(j[0]["fblocks"], 1);
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
