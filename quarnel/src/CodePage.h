#pragma once
// The system's narrow strings are in the Windows code page 1252; catalog files are UTF-8.
// Texts from a file are converted once, while the file is read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quarnel {

// The code page 1252 byte of a Unicode character; 0 when the code page has none. U+0000
// never comes from a file (XML forbids it), so 0 is free to mean "none".
extern const std::array<std::uint8_t, 0x2200> kCp1252Table;
inline unsigned char cp1252Of(char32_t c) {
    return c < kCp1252Table.size() ? kCp1252Table[c] : 0;
}

// Decodes the UTF-8 sequence at p (n bytes available) into c and returns its length; 0 when
// the bytes are not well-formed UTF-8 (overlong forms, surrogates, beyond U+10FFFF, cut short).
// `examined` tells how many bytes were looked at, for messages.
std::size_t decodeUtf8(const unsigned char* p, std::size_t n, char32_t& c, std::size_t& examined);

// Well-formed UTF-8 text to code page 1252, '?' for characters the code page lacks.
std::string cp1252FromUtf8(std::string_view utf8);

// "U+00E4"
std::string codePointText(char32_t c);

} // namespace quarnel
