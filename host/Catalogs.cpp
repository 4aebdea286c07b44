#include "host/Host.h"

#include <windows.h>

#include <filesystem>

std::vector<std::string> CatalogFiles(const std::vector<std::string>& given, UsageError& error) {
    std::vector<std::string> files = given;
    if (files.empty()) {
        char exe[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, exe, sizeof exe);
        std::filesystem::path samples = std::filesystem::path(exe).parent_path() / "samples";
        for (const char* name : {"standard.xml", "rearseat.xml", "single.xml"}) files.push_back((samples / name).string());
    }
    for (const auto& f : files) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(f, ec)) {
            error.message = "cannot read catalog " + f;
            return {};
        }
    }
    return files;
}
