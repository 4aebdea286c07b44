#pragma once
// File names as the caller gives them and as std::filesystem takes them. A name is the bytes the
// file system takes, never converted as text: on Windows the bytes of the ANSI code page, as the
// system's "A" functions read them (std::filesystem would read them as the C locale's or as
// UTF-8), elsewhere the bytes themselves.

#include <filesystem>
#include <string>

namespace quarnel {

std::filesystem::path filePath(const std::string& name);
std::string fileName(const std::filesystem::path& path);

} // namespace quarnel
