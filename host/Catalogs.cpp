#include "host/Host.h"
#include "host/Text.h"

#include <windows.h>

#include <filesystem>
#include <vector>

std::string ProgramFolder() {
    // GetModuleFileNameA fills the whole buffer when the path does not fit
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::vector<char> exe(size);
        DWORD n = GetModuleFileNameA(nullptr, exe.data(), size);
        if (n < size || size > (1u << 20)) return std::filesystem::path(std::string(exe.data())).parent_path().string();
    }
}

std::vector<std::string> CatalogFiles(const std::vector<std::string>& given, UsageError& error) {
    std::vector<std::string> files = given;
    if (files.empty()) {
        std::filesystem::path samples = std::filesystem::path(ProgramFolder()) / "samples";
        for (const char* name : {"standard.xml", "rearseat.xml", "single.xml"}) files.push_back((samples / name).string());
    }
    for (const auto& f : files) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(f, ec)) {
            error.message = "cannot read catalog " + Excerpt(f);
            return {};
        }
    }
    return files;
}
