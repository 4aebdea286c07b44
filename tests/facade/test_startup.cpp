// Module start-up with real files: the settings folder from kcustom.ini, the language number
// from tolmar.ini, and the language module loaded next to the system's module. Each case runs a
// small host in a folder tree of its own, because the answers are fixed once per process.
#include "base/LanguageResources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
const std::string kModule = ".dll";
const std::string kProbe = "startup_probe.exe";
#else
const std::string kModule = ".so";
const std::string kProbe = "startup_probe";
#endif

// A program path or argument for the command interpreter.
std::string quoted(const std::string& text) {
#ifdef _WIN32
    return "\"" + text + "\"";
#else
    return "'" + text + "'";
#endif
}

fs::path binFolder() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    return fs::path(exe).parent_path();
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("pelorin-startup-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        moduleFolder = root / "A" / "B";
        fs::create_directories(moduleFolder);
        // the modules with the runtime's beside them, as a host installs them
        for (const auto& entry : fs::directory_iterator(binFolder()))
            if (entry.path().extension() == kModule || entry.path().filename() == kProbe)
                fs::copy_file(entry.path(), moduleFolder / entry.path().filename());
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    // Runs the probe and returns its answers by key.
    std::map<std::string, std::string> probe(const std::string& args = "") {
        fs::path out = root / "out.txt";
        std::string cmd = quoted((moduleFolder / kProbe).string()) + " " + args + " > " + quoted(out.string()) + " 2>&1";
#ifdef _WIN32
        cmd = "\"" + cmd + "\""; // the interpreter takes off the outer pair
#endif
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        std::map<std::string, std::string> answers;
        std::ifstream in(out);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t eq = line.find('=');
            if (eq != std::string::npos) answers[line.substr(0, eq)] = line.substr(eq + 1);
        }
        return answers;
    }
    fs::path root, moduleFolder;
};

} // namespace

TEST_F(StartupTest, Country49InTheSettingsFolderLoadsTheGermanModule) {
    fs::path settings = root / "F";
    write(root / "A" / "kcustom.ini", "[UserSelection]\nSettingsFolder=" + settings.string() + "\n");
    write(settings / "tolmar.ini", "[Language]\nCountry=49\n");
    auto a = probe();
    EXPECT_EQ(a["settings"], settings.string());
    EXPECT_EQ(a["language"], "49");
    EXPECT_EQ(a["load"], "0");
    EXPECT_EQ(a["module"], (moduleFolder / ("Pelorin49" + kModule)).string());
    EXPECT_EQ(a["text"], "MOST-Eingabehilfe");
}

TEST_F(StartupTest, AnyOtherCountryLoadsTheEnglishModule) {
    fs::path settings = root / "F";
    write(root / "A" / "kcustom.ini", "[UserSelection]\nSettingsFolder=" + settings.string() + "\n");
    write(settings / "tolmar.ini", "[Language]\nCountry=44\n");
    auto a = probe();
    EXPECT_EQ(a["language"], "1");
    EXPECT_EQ(a["module"], (moduleFolder / ("Pelorin01" + kModule)).string());
    EXPECT_EQ(a["text"], "MOST Input Assistance");
}

TEST_F(StartupTest, WithoutUsableSettingsTheModuleFolderServes) {
    // the named folder does not exist: the module's folder is the settings folder
    write(root / "A" / "kcustom.ini", "[UserSelection]\nSettingsFolder=" + (root / "nowhere").string() + "\n");
    write(moduleFolder / "tolmar.ini", "[Language]\nCountry=49\n");
    auto a = probe();
    EXPECT_EQ(a["settings"], moduleFolder.string());
    EXPECT_EQ(a["language"], "49");
}

TEST_F(StartupTest, AMissingLanguageModuleGivesEmptyTextsAndIsNotTriedAgain) {
    const std::string english = "Pelorin01" + kModule;
    fs::remove(moduleFolder / english);
    auto a = probe("retry " + quoted((binFolder() / english).string()) + " " + quoted((moduleFolder / english).string()));
    EXPECT_EQ(a["load"], "-1");
    EXPECT_EQ(a["module"], "");
    EXPECT_EQ(a["text"], "");
    EXPECT_EQ(a["load2"], "-1"); // the file is there now, but a failed load is final
    EXPECT_EQ(a["text2"], "");
}

TEST_F(StartupTest, TheModulesOwnResourcesServeItsDialogs) {
    const fs::path catalog = root / "standard.xml"; // its load log goes beside it
    fs::copy_file(fs::path(SAMPLES) / "standard.xml", catalog);
    auto a = probe("selection " + quoted(catalog.string()));
    EXPECT_EQ(a["dialog"], "MOST Catalog");
    EXPECT_EQ(a["tree"], (moduleFolder / ("Pelorin" + kModule)).string());
    a = probe("assist " + quoted(catalog.string()));
    EXPECT_EQ(a["assist"], "2"); // IDCANCEL: it opened and was cancelled (-1: no template)
}

TEST(StartupRules, TheSettingsFolderComesFromTheFolderAboveTheModule) {
    std::string folder;
    EXPECT_FALSE(SettingsFolderFor("Pelorin.dll", folder));
    ASSERT_TRUE(SettingsFolderFor("C:\\Pelorin.dll", folder));
    EXPECT_EQ(folder, "C:"); // one separator only: kcustom.ini is not read
    ASSERT_TRUE(SettingsFolderFor("C:\\A\\B\\Pelorin.dll", folder));
    EXPECT_EQ(folder, "C:\\A\\B");
    ASSERT_TRUE(SettingsFolderFor("/opt/tool/bin/Pelorin.so", folder));
    EXPECT_EQ(folder, "/opt/tool/bin");
    EXPECT_EQ(LanguageModuleFor("C:\\A\\B\\Pelorin.dll", 49), "C:\\A\\B\\Pelorin49.dll");
    EXPECT_EQ(LanguageModuleFor("/x/Pelorin.so", 1), "/x/Pelorin01.dll");
    EXPECT_EQ(LanguageModuleFor("Pelorin.dll", 1), "");
}
