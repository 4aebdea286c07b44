#pragma once
// Builds node trees from a message's parameter definitions: the catalog view (one element
// per array, every stream case, no values) or a decode of data bytes.

#include "Catalog.h"
#include "KQRNNode.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quarnel {

using NodeList = std::vector<std::unique_ptr<KQRNNode>>;

// Catalog view of the parameters in `params`.
NodeList buildCatalogNodes(const Catalog& catalog, Range params);

struct DecodeOptions {
    bool allowSurplus = false;          // bytes after the last parameter are ignored
    bool choices = false;               // value texts list the choices
    std::uint32_t maxElements = 0xFFFF; // per array or repeated case; 0xFFFF: no limit
};

// Decodes data into nodes; false when the bytes do not fit.
bool decodeNodes(const Catalog& catalog, Range params, const std::uint8_t* data, std::size_t size,
                 const DecodeOptions& options, NodeList& out);

} // namespace quarnel
