// Kernel services: profile files with Windows' rules, file attributes, modules and their
// resources, global memory with the clipboard, and MulDiv.
#include "fixture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class KernelTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        namespace fs = std::filesystem;
        for (unsigned i = GetTickCount();; ++i) {
            fs::path dir = fs::temp_directory_path() / ("w32kernel" + std::to_string(i));
            if (fs::create_directory(dir)) {
                dir_ = dir.generic_string();
                break;
            }
        }
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
        EXPECT_FALSE(error) << error.message();
        Win32Test::TearDown();
    }
    std::string write(const std::string& name, const std::string& content) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string dir_;
};

// The last part of a path, after either separator.
std::string fileName(const std::string& path) { return path.substr(path.find_last_of("/\\") + 1); }
std::string folder(const std::string& path) { return path.substr(0, path.find_last_of("/\\")); }

#ifdef _WIN32
const char* const kProgram = "win32_tests.exe";
const char* const kModuleFile = "w32testmodule.dll";
#else
const char* const kProgram = "win32_tests";
const char* const kModuleFile = "w32testmodule.so";
#endif

std::string profileString(const char* section, const char* key, const char* def, const std::string& file, DWORD size = 256) {
    std::string buf(size, '\x7f');
    DWORD n = GetPrivateProfileStringA(section, key, def, buf.data(), size, file.c_str());
    return buf.substr(0, n);
}

} // namespace

TEST_F(KernelTest, ProfileStringsAndIntegersFollowWindowsRulesAndWritingReplacesKeys) {
    std::string ini = write("a.ini", "; comment\r\n[Language]\r\n  Country = 49  \r\nName=\"quoted value\"\r\n"
                                     "[language]\r\nCountry=1\r\n[Other]\r\nKey=x\r\n");
    EXPECT_EQ(profileString("LANGUAGE", "country", "", ini), "49"); // case-insensitive, first wins, trimmed
    EXPECT_EQ(profileString("Language", "Name", "", ini), "quoted value");
    EXPECT_EQ(profileString("Language", "Missing", "dflt   ", ini), "dflt"); // trailing blanks of the default go
    EXPECT_EQ(profileString("Nope", "Key", nullptr, ini), "");
    EXPECT_EQ(profileString("Language", "Name", "", ini, 7), "quoted"); // cut to the buffer, terminated
    EXPECT_EQ(profileString("Language", "Country", "fallback", dir_ + "/missing.ini"), "fallback");
    // a null key lists the keys, a null section the sections, each NUL-terminated with a final NUL
    std::string buf(64, '\x7f');
    DWORD n = GetPrivateProfileStringA("Language", nullptr, "", buf.data(), 64, ini.c_str());
    EXPECT_EQ(std::string(buf.data(), n), std::string("Country\0Name\0", 13));
    EXPECT_EQ(buf[n], 0);
    n = GetPrivateProfileStringA(nullptr, nullptr, "", buf.data(), 64, ini.c_str());
    EXPECT_EQ(std::string(buf.data(), n), std::string("Language\0language\0Other\0", 24));
    // backslashes work as separators
    std::string windowsStyle = ini;
    std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
    EXPECT_EQ(profileString("Other", "Key", "", windowsStyle), "x");

    std::string numbers = write("b.numbers", "[N]\nDec=49\nHex=0x1F\nNeg=-3\nText=12abc\nEmpty=\nBad=abc\n");
    EXPECT_EQ(GetPrivateProfileIntA("N", "Dec", 1, numbers.c_str()), 49u);
    EXPECT_EQ(GetPrivateProfileIntA("N", "Hex", 1, numbers.c_str()), 31u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("N", "Neg", 1, numbers.c_str())), -3);
    EXPECT_EQ(GetPrivateProfileIntA("N", "Text", 1, numbers.c_str()), 12u);
    EXPECT_EQ(GetPrivateProfileIntA("N", "Empty", 5, numbers.c_str()), 5u);
    EXPECT_EQ(GetPrivateProfileIntA("N", "Bad", 5, numbers.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileIntA("N", "Missing", 44, numbers.c_str()), 44u);
    EXPECT_EQ(GetPrivateProfileIntA("N", "Dec", 7, (dir_ + "/none.numbers").c_str()), 7u);

    std::string fresh = dir_ + "/c.ini";
    ASSERT_TRUE(WritePrivateProfileStringA("Language", "Country", "49", fresh.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("Language", "Country", 1, fresh.c_str()), 49u);
    ASSERT_TRUE(WritePrivateProfileStringA("language", "COUNTRY", "44", fresh.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("Language", "Country", 1, fresh.c_str()), 44u);
    ASSERT_TRUE(WritePrivateProfileStringA("Language", "Country", nullptr, fresh.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("Language", "Country", 1, fresh.c_str()), 1u);
}

TEST_F(KernelTest, FileAttributesTellFilesFromFoldersAndMissingPaths) {
    std::string file = write("f.txt", "x");
    DWORD a = GetFileAttributesA(file.c_str());
    ASSERT_NE(a, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(a & FILE_ATTRIBUTE_DIRECTORY);
    a = GetFileAttributesA(dir_.c_str());
    ASSERT_NE(a, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(a & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA((dir_ + "/nothing").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA(""), INVALID_FILE_ATTRIBUTES);
}

TEST_F(KernelTest, ModulesLoadForRealKnowTheirPathsAndServeTheirStringsAndResources) {
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(fileName(exe), kProgram);
    // a .dll name finds the platform's shared object of that name next to the program
    HMODULE m = LoadLibraryA("w32testmodule.dll");
    ASSERT_NE(m, nullptr);
    auto answer = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(m, "testModuleAnswer")));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    HMODULE same = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(answer), &same));
    EXPECT_EQ(same, m);
    EXPECT_EQ(GetModuleHandleA("w32testmodule.dll"), m);
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(m, path, MAX_PATH), 0u);
    std::string p = path;
    EXPECT_EQ(fileName(p), kModuleFile);
    EXPECT_EQ(folder(p), folder(exe));
    char tiny[5];
    EXPECT_EQ(GetModuleFileNameA(m, tiny, sizeof tiny), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    // "truncated to nSize characters including the terminating null character"; Wine leaves the
    // name unterminated, as Windows XP did
    if (!underWine()) {
        EXPECT_EQ(tiny[4], 0);
    }
    EXPECT_EQ(GetProcAddress(m, "noSuchFunction"), nullptr);
    // strings and resources come from the module's table
    char buf[16];
    EXPECT_EQ(LoadStringA(m, 1, buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "One");
    EXPECT_EQ(LoadStringA(m, 18, buf, 5), 4); // cut to the buffer
    EXPECT_STREQ(buf, "Eigh");
    EXPECT_EQ(LoadStringA(m, 2, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(LoadStringA(m, 40, buf, sizeof buf), 0);
    HRSRC r = FindResourceA(m, "sample", RT_RCDATA); // names compare without regard to case
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(SizeofResource(m, r), 5u);
    auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(m, r)));
    EXPECT_EQ(bytes[4], 5);
    EXPECT_EQ(SizeofResource(m, FindResourceExA(m, RT_RCDATA, MAKEINTRESOURCEA(7), 1031)), 3u);
    EXPECT_EQ(SizeofResource(m, FindResourceA(m, MAKEINTRESOURCEA(7), RT_RCDATA)), 4u); // neutral, then English
    EXPECT_EQ(FindResourceA(m, MAKEINTRESOURCEA(8), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceA(m, MAKEINTRESOURCEA(1), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(m));
    EXPECT_EQ(LoadLibraryA("/nowhere/none.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(KernelTest, ClipboardHoldsTextInGlobalMemory) {
    HWND w = topLevel();
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr); // not open
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    ASSERT_TRUE(OpenClipboard(w));
    EXPECT_TRUE(EmptyClipboard());
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(mem), "hello", 6);
    GlobalUnlock(mem);
    EXPECT_EQ(SetClipboardData(CF_TEXT, mem), mem);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE got = GetClipboardData(CF_TEXT);
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(got)), "hello");
    EXPECT_EQ(GlobalSize(got), 6u);
    GlobalUnlock(got);
    CloseClipboard();
}

TEST(KernelArithmetic, MulDivRoundsHalfAwayFromZeroAndFailsOnZero) {
    EXPECT_EQ(MulDiv(275, 6, 4), 413);
    EXPECT_EQ(MulDiv(54, 13, 8), 88);
    EXPECT_EQ(MulDiv(-275, 6, 4), -413);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 1), -1);
}
