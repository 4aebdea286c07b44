#include "host/Text.h"

#include <cstdio>

namespace {
// Unicode for the bytes 0x80-0x9F; the five bytes Windows-1252 leaves undefined stand for the
// C1 controls of the same value, as the Windows conversion functions treat them.
const unsigned kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

const size_t kExcerptBytes = 64;

void append(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// The Windows-1252 byte of a code point; false where the code page has none.
bool cp1252Byte(unsigned cp, char& byte) {
    if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) {
        byte = static_cast<char>(cp);
        return true;
    }
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == cp) {
            byte = static_cast<char>(0x80 + k);
            return true;
        }
    return false;
}

std::string hexByte(unsigned char c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", c);
    return buf;
}

std::string codePointName(unsigned cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", cp);
    return buf;
}

} // namespace

size_t Utf8Sequence(const std::string& text, size_t i, unsigned& cp) {
    const size_t n = text.size();
    auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char c = at(i);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    size_t length;
    unsigned min;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        min = 0x80;
        cp = c & 0x1Fu;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
        cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        min = 0x10000;
        cp = c & 0x07u;
    } else {
        return 0; // a continuation byte, or a lead byte no valid sequence starts with
    }
    if (n - i < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (at(i + k) & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

std::string Utf8FromCp1252(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) append(out, c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c);
    return out;
}

TextProblem Cp1252FromUtf8(const std::string& utf8, std::string& out, size_t* at) {
    out.clear();
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned cp = 0;
        size_t length = Utf8Sequence(utf8, i, cp);
        char byte = 0;
        TextProblem problem = !length ? TextProblem::InvalidUtf8 : !cp1252Byte(cp, byte) ? TextProblem::NotInCp1252
                                                                                          : TextProblem::None;
        if (problem != TextProblem::None) {
            if (at) *at = i;
            return problem;
        }
        out.push_back(byte);
        i += length;
    }
    return TextProblem::None;
}

bool IsUtf8(const std::string& bytes) {
    unsigned cp;
    for (size_t i = 0; i < bytes.size();) {
        size_t length = Utf8Sequence(bytes, i, cp);
        if (!length) return false;
        i += length;
    }
    return true;
}

std::string Utf8Repaired(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    unsigned cp;
    for (size_t i = 0; i < bytes.size();) {
        size_t length = Utf8Sequence(bytes, i, cp);
        if (length) {
            out.append(bytes, i, length);
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string Excerpt(const std::string& bytes) {
    std::string out = "\"";
    size_t i = 0;
    unsigned cp;
    while (i < bytes.size()) {
        size_t length = Utf8Sequence(bytes, i, cp);
        if (i + (length ? length : 1) > kExcerptBytes) break;
        if (!length || cp < 0x20 || cp == 0x7F) {
            out += hexByte(static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            out.append(bytes, i, length);
            i += length;
        }
    }
    out += '"';
    if (i < bytes.size()) out.insert(out.size() - 1, "...") += " (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

std::string Cp1252Argument(const std::string& what, const std::string& utf8, std::string& cp1252) {
    size_t at = 0;
    switch (Cp1252FromUtf8(utf8, cp1252, &at)) {
    case TextProblem::None: return "";
    case TextProblem::InvalidUtf8:
        return what + " is not valid UTF-8 (at byte " + std::to_string(at + 1) + "): " + Excerpt(utf8);
    case TextProblem::NotInCp1252: {
        unsigned cp = 0;
        size_t length = Utf8Sequence(utf8, at, cp);
        // a C1 control is named, not written, into the message
        std::string shown = cp >= 0xA0 ? utf8.substr(at, length) + " (" + codePointName(cp) : "(" + codePointName(cp);
        return what + " holds " + shown + ", at byte " + std::to_string(at + 1) +
               "), which Windows-1252 lacks: " + Excerpt(utf8);
    }
    }
    return "";
}
