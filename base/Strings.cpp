#include "base/Strings.h"

#include <algorithm>

namespace {

// Upper case of every byte of code page 1252: ASCII, the accented letters of 0xE0-0xFE (but
// not the division sign), and the four lower-case letters of the 0x80 row (š, œ, ž, ÿ).
struct UpperTable {
    unsigned char map[256];
    UpperTable() {
        for (int c = 0; c < 256; ++c) map[c] = static_cast<unsigned char>(c);
        for (int c = 'a'; c <= 'z'; ++c) map[c] = static_cast<unsigned char>(c - 0x20);
        for (int c = 0xE0; c <= 0xFE; ++c)
            if (c != 0xF7) map[c] = static_cast<unsigned char>(c - 0x20);
        map[0x9A] = 0x8A;
        map[0x9C] = 0x8C;
        map[0x9E] = 0x8E;
        map[0xFF] = 0x9F;
    }
};

const UpperTable kUpper;

} // namespace

char UpperChar(char c) { return static_cast<char>(kUpper.map[static_cast<unsigned char>(c)]); }

std::string ToUpper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), UpperChar);
    return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperChar(x) == UpperChar(y); });
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return prefix.size() <= text.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string Trim(const std::string& text, const char* blanks) {
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
