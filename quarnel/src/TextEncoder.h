#pragma once
// Turns parameter texts into message data bytes (MOST byte order).

#include "Catalog.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarnel {

struct EncodeResult {
    int status = 0; // QRN_TEXT_...
    int index = -1;
};

// One token per leaf parameter in order (records flattened, array elements repeated while
// tokens last, one token per stream). On a refusal `out` holds the bytes encoded before it.
EncodeResult encodeTexts(const Catalog& catalog, Range params, const std::vector<std::string>& tokens,
                         std::vector<std::uint8_t>& out);

} // namespace quarnel
