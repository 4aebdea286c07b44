#include "base/LanguageResources.h"

#include "base/ProcessState.h"

#include <afxwin.h>

#include <cstdio>
#include <cstring>

namespace {

// Language numbers: the country calling codes of the languages there are modules for.
const unsigned kEnglish = 1;
const unsigned kGerman = 49;

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

// Both separators count, so Windows-style paths work everywhere.
size_t lastSeparator(const std::string& path, size_t before = std::string::npos) {
    return path.find_last_of("\\/", before);
}

std::string modulePath() {
    char path[MAX_PATH + 1] = "";
    DWORD n = GetModuleFileNameA(ThisModule(), path, sizeof path);
    if (n == 0 || n >= sizeof path) return "";
    return std::string(path, n);
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

bool GetSettingsFolder(std::string& folder) { return SettingsFolderFor(modulePath(), folder); }

bool SettingsFolderFor(const std::string& path, std::string& folder) {
    size_t last = lastSeparator(path);
    if (last == std::string::npos) return false;
    std::string moduleFolder = path.substr(0, last);
    size_t earlier = last == 0 ? std::string::npos : lastSeparator(path, last - 1);
    folder = moduleFolder;
    if (earlier == std::string::npos) return true;
    std::string ini = path.substr(0, earlier + 1) + "kcustom.ini";
    char value[MAX_PATH] = "";
    GetPrivateProfileStringA("UserSelection", "SettingsFolder", "", value, sizeof value, ini.c_str());
    if (value[0] && exists(value)) folder = value;
    return true;
}

unsigned GetLanguageNumber() {
    unsigned& languageNumber = ProcessState().languageNumber;
    if (languageNumber) return languageNumber;
    languageNumber = kEnglish;
    std::string folder;
    if (GetSettingsFolder(folder)) {
        std::string ini = folder + kSeparator + "tolmar.ini";
        if (exists(ini) && GetPrivateProfileIntA("Language", "Country", kEnglish, ini.c_str()) == kGerman)
            languageNumber = kGerman;
    }
    return languageNumber;
}

int LoadLanguageResources() {
    KProcessState& s = ProcessState();
    if (s.languageModule) return 0;
    if (s.languageLoadFailed) return -1;
    std::string name = LanguageModuleFor(modulePath(), GetLanguageNumber());
    if (name.empty()) return 0; // a later call tries again
    s.languageModule = LoadLibraryA(name.c_str());
    if (!s.languageModule) {
        s.languageLoadFailed = true;
        return -1;
    }
    // from now on every template, string and icon of this module comes from the language module
    AfxSetResourceHandle(s.languageModule);
    return 0;
}

std::string LanguageModuleFor(const std::string& path, unsigned number) {
    size_t last = lastSeparator(path);
    if (last == std::string::npos) return "";
    char name[32];
    std::snprintf(name, sizeof name, "Pelorin%02u.dll", number);
    return path.substr(0, last + 1) + name;
}

HMODULE GetLanguageModule() { return ProcessState().languageModule; }

std::string LoadResourceText(UINT number) {
    HMODULE languageModule = ProcessState().languageModule;
    if (!languageModule) return "";
    char buf[256] = "";
    int n = LoadStringA(languageModule, number, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

void FreeLanguageResources() {
    HMODULE& languageModule = ProcessState().languageModule;
    if (!languageModule) return;
    if (AfxGetResourceHandle() == languageModule) AfxSetResourceHandle(AfxGetInstanceHandle());
    FreeLibrary(languageModule);
    languageModule = nullptr;
}
