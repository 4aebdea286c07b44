#pragma once
// Reading and writing of numbers as catalog files and parameter texts spell them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

// Trims blanks (space, tab, CR, LF) from both ends.
std::string_view trimBlanks(std::string_view s);

// Decimal (with an optional sign when allowSign) or 0x/0X hexadecimal; blanks around are
// ignored. Fails on anything else or on values beyond 64 bits.
bool parseInteger(std::string_view s, bool allowSign, std::int64_t& out);

// Hexadecimal bytes: digits with optional blanks between bytes and an optional leading
// 0x; an odd digit count gets a leading 0. The empty text is zero bytes.
bool parseHexBytes(std::string_view s, std::vector<std::uint8_t>& out);

// "0A 1B FF"
std::string formatHexBytes(const std::uint8_t* data, std::size_t size);

// "0x%0*X" with the given digit count.
std::string formatHex(std::uint64_t value, int digits);

} // namespace quarnel
