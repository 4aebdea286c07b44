#include "CodePage.h"

namespace quarnel {

namespace {

// 0x80 to 0x9F of code page 1252; 0 where the code page leaves the byte undefined.
constexpr char16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::array<std::uint8_t, 0x2200> makeTable() {
    std::array<std::uint8_t, 0x2200> t{};
    for (unsigned c = 1; c < 0x80; ++c)
        t[c] = static_cast<std::uint8_t>(c);
    for (unsigned c = 0xA0; c < 0x100; ++c) // the Latin-1 half is shared
        t[c] = static_cast<std::uint8_t>(c);
    for (unsigned b = 0; b < 32; ++b)
        if (kHighControls[b]) t[kHighControls[b]] = static_cast<std::uint8_t>(0x80 + b);
    return t;
}

} // namespace

const std::array<std::uint8_t, 0x2200> kCp1252Table = makeTable();

std::size_t decodeUtf8(const unsigned char* p, std::size_t n, char32_t& c, std::size_t& examined) {
    const unsigned b0 = p[0];
    examined = 1;
    std::size_t len;
    unsigned lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if (b0 < 0xC2) {
        return 0; // continuation byte, or the lead of an overlong two-byte form
    } else if (b0 < 0xE0) {
        len = 2;
        c = b0 & 0x1F;
    } else if (b0 < 0xF0) {
        len = 3;
        c = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0; // overlong
        if (b0 == 0xED) hi = 0x9F; // surrogates
    } else if (b0 < 0xF5) {
        len = 4;
        c = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90; // overlong
        if (b0 == 0xF4) hi = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        if (i >= n) return 0;
        const unsigned b = p[i];
        examined = i + 1;
        if (b < (i == 1 ? lo : 0x80u) || b > (i == 1 ? hi : 0xBFu)) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    return len;
}

std::string cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        std::size_t examined = 0;
        const std::size_t len = decodeUtf8(p + i, utf8.size() - i, c, examined);
        if (len == 0) {
            out += '?';
            i += examined;
            continue;
        }
        const unsigned char b = cp1252Of(c);
        out += b ? static_cast<char>(b) : '?';
        i += len;
    }
    return out;
}

std::string codePointText(char32_t c) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (int shift = c > 0xFFFFF ? 20 : c > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4)
        s += digits[(c >> shift) & 0xF];
    return "U+" + s;
}

} // namespace quarnel
