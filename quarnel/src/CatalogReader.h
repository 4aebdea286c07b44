#pragma once
// Reads a catalog file into a Catalog, checking everything FORMAT.md requires.

#include "Catalog.h"

#include <cstddef>
#include <memory>
#include <string>

namespace quarnel {

struct LoadError {
    int code = 0; // QRN_ERR_...
    std::string what;
    std::size_t offset = static_cast<std::size_t>(-1); // byte offset in the file, if known
    unsigned line = 0;                                 // 1-based; 0 when unknown
    unsigned column = 0;
};

// Largest catalog file accepted.
const std::uintmax_t kMaxFileBytes = 512u * 1024u * 1024u;
// Deepest parameter nesting accepted (records, arrays, stream cases).
const int kMaxParamDepth = 16;

// Reads and parses a file; on failure err tells what and where.
std::shared_ptr<const Catalog> readCatalogFile(const std::string& path, LoadError& err);

} // namespace quarnel
