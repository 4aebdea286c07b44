#include "FileName.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace quarnel {

#ifdef _WIN32
std::filesystem::path filePath(const std::string& name) {
    if (name.empty()) return {};
    const int size = static_cast<int>(name.size());
    std::wstring wide;
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, name.data(), size, nullptr, 0)));
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, name.data(), size, wide.data(), static_cast<int>(wide.size()));
    return std::filesystem::path(wide);
}

std::string fileName(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    std::string name;
    name.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, name.data(), static_cast<int>(name.size()), nullptr,
                        nullptr);
    return name;
}
#else
std::filesystem::path filePath(const std::string& name) {
    return std::filesystem::path(name);
}

std::string fileName(const std::filesystem::path& path) {
    return path.native();
}
#endif

} // namespace quarnel
