#include "NumberText.h"

#include <cstdio>

namespace quarnel {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool parseInteger(std::string_view s, bool allowSign, std::int64_t& out) {
    s = trimBlanks(s);
    bool negative = false;
    if (allowSign && !s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return false;
    const std::uint64_t limit = negative ? (std::uint64_t(1) << 63) : std::uint64_t(INT64_MAX);
    std::uint64_t value = 0;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        for (char c : s) {
            int d = hexDigit(c);
            if (d < 0 || value > (limit - d) / 16) return false;
            value = value * 16 + d;
        }
    } else {
        for (char c : s) {
            if (c < '0' || c > '9' || value > (limit - (c - '0')) / 10) return false;
            value = value * 10 + (c - '0');
        }
    }
    out = negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
    return true;
}

bool parseHexBytes(std::string_view s, std::vector<std::uint8_t>& out) {
    out.clear();
    s = trimBlanks(s);
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
    std::string digits;
    digits.reserve(s.size());
    for (char c : s) {
        if (isBlank(c)) continue;
        if (hexDigit(c) < 0) return false;
        digits += c;
    }
    if (digits.size() % 2) digits.insert(digits.begin(), '0');
    out.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(hexDigit(digits[i]) * 16 + hexDigit(digits[i + 1])));
    return true;
}

std::string formatHexBytes(const std::uint8_t* data, std::size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(size * 3);
    for (std::size_t i = 0; i < size; ++i) {
        if (i) s += ' ';
        s += kDigits[data[i] >> 4];
        s += kDigits[data[i] & 15];
    }
    return s;
}

std::string formatHex(std::uint64_t value, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return buf;
}

} // namespace quarnel
