#pragma once
// Process-wide cache of parsed catalogs, keyed by path, size and modification time, so that
// reloading an unchanged file (every dialog opening does) costs a stat, not a parse.

#include "Catalog.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quarnel {

struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t mtime = 0;
};

// Absolute, normalised form of a path: the key of loaded catalogs and of the cache.
std::string fileKey(const std::string& path);
// False when the file cannot be examined.
bool stampOf(const std::string& path, FileStamp& stamp);

std::shared_ptr<const Catalog> cacheFind(const std::string& key, const FileStamp& stamp);
void cacheStore(const std::string& key, const FileStamp& stamp, std::shared_ptr<const Catalog> catalog);

} // namespace quarnel
