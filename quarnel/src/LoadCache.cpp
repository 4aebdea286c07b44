#include "LoadCache.h"

#include "FileName.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace quarnel {

namespace {

const std::size_t kMaxEntries = 64;

struct Entry {
    FileStamp stamp;
    std::shared_ptr<const Catalog> catalog;
    std::uint64_t used = 0;
};

struct Cache {
    std::mutex mutex;
    std::map<std::string, Entry> entries;
    std::uint64_t clock = 0;
};

Cache& cache() {
    static Cache* c = new Cache; // never destroyed: catalogs may be released during exit
    return *c;
}

} // namespace

std::string fileKey(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(filePath(path), ec);
    if (ec) return path;
    return fileName(p.lexically_normal());
}

bool stampOf(const std::string& path, FileStamp& stamp) {
    std::error_code ec;
    const std::filesystem::path p = filePath(path);
    stamp.size = std::filesystem::file_size(p, ec);
    if (ec) return false;
    stamp.mtime =
        static_cast<std::int64_t>(std::filesystem::last_write_time(p, ec).time_since_epoch().count());
    return !ec;
}

std::shared_ptr<const Catalog> cacheFind(const std::string& key, const FileStamp& stamp) {
    Cache& c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    auto it = c.entries.find(key);
    if (it == c.entries.end()) return nullptr;
    if (it->second.stamp.size != stamp.size || it->second.stamp.mtime != stamp.mtime) {
        c.entries.erase(it);
        return nullptr;
    }
    it->second.used = ++c.clock;
    return it->second.catalog;
}

void cacheStore(const std::string& key, const FileStamp& stamp, std::shared_ptr<const Catalog> catalog) {
    Cache& c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    Entry& e = c.entries[key];
    e.stamp = stamp;
    e.catalog = std::move(catalog);
    e.used = ++c.clock;
    if (c.entries.size() <= kMaxEntries) return;
    // Drop the least recently used entry, preferring catalogs no manager holds any more.
    auto victim = c.entries.end();
    for (auto it = c.entries.begin(); it != c.entries.end(); ++it) {
        const bool unused = it->second.catalog.use_count() == 1;
        if (victim == c.entries.end()) {
            victim = it;
            continue;
        }
        const bool victimUnused = victim->second.catalog.use_count() == 1;
        if ((unused && !victimUnused) || (unused == victimUnused && it->second.used < victim->second.used))
            victim = it;
    }
    c.entries.erase(victim);
}

} // namespace quarnel
