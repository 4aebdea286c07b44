#include "XmlTokenizer.h"

#include "SameBytes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__) && defined(__GNUC__)
#include <emmintrin.h>
#endif

namespace quarnel {

namespace {

enum : std::uint8_t {
    kBlank = 1,      // space, tab, LF, CR
    kNameStart = 2,  // ASCII that may begin a name: letters, '_', ':'
    kNameChar = 4,   // ASCII inside a name: the above, digits, '-', '.'
    kCharStop = 8,   // zero, controls XML does not allow, bytes of multi-byte characters
    kTextStop = 16,  // kCharStop and '<', '&', ']', CR: ends a run of plain text
    kValueStop = 32, // kCharStop and the quotes, '<', '&', tab, LF, CR: ends a plain attribute value
};

struct CharClasses {
    std::uint8_t of[256] = {};
    CharClasses() {
        for (int c = 0; c < 256; ++c) {
            const bool allowedAscii = c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
            if (c >= 0x80 || !allowedAscii) of[c] |= kCharStop | kTextStop | kValueStop;
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':')
                of[c] |= kNameStart | kNameChar;
            if ((c >= '0' && c <= '9') || c == '-' || c == '.') of[c] |= kNameChar;
        }
        for (int c : {' ', '\t', '\n', '\r'})
            of[c] |= kBlank;
        for (int c : {'<', '&', ']', '\r'})
            of[c] |= kTextStop;
        for (int c : {'"', '\'', '<', '&', '\t', '\n', '\r'})
            of[c] |= kValueStop;
    }
};
const CharClasses kClasses;

inline std::uint8_t classOf(char c) {
    return kClasses.of[static_cast<unsigned char>(c)];
}
inline bool isBlank(char c) {
    return (classOf(c) & kBlank) != 0;
}

#if defined(__SSE2__) && defined(__GNUC__)
// The bytes of sixteen of a text that need a look (kTextStop), as a bit mask. Bytes of
// multi-byte characters are negative as signed bytes, so they count as below the space.
inline unsigned textStops(__m128i v) {
    const __m128i tabOrLf =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
    const __m128i other = _mm_andnot_si128(tabOrLf, _mm_cmplt_epi8(v, _mm_set1_epi8(0x20)));
    const __m128i markup =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('&')));
    const __m128i stop = _mm_or_si128(_mm_or_si128(markup, _mm_cmpeq_epi8(v, _mm_set1_epi8(']'))),
                                      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), other));
    return static_cast<unsigned>(_mm_movemask_epi8(stop));
}
#endif

inline const char* skipBlanks(const char* p) {
    if (!isBlank(*p)) return p;
#if defined(__SSE2__) && defined(__GNUC__)
    const __m128i space = _mm_set1_epi8(' '), tab = _mm_set1_epi8('\t');
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (;;) {
        // Stops at the zero padding at the latest.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i blank = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, space), _mm_cmpeq_epi8(v, tab)),
                                           _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
        const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(blank)) & 0xFFFFu;
        if (other) return p + __builtin_ctz(other);
        p += 16;
    }
#else
    while (isBlank(*p))
        ++p;
    return p;
#endif
}

inline bool isXmlChar(std::uint32_t v) {
    return v == 0x9 || v == 0xA || v == 0xD || (v >= 0x20 && v <= 0xD7FF) || (v >= 0xE000 && v <= 0xFFFD) ||
           (v >= 0x10000 && v <= 0x10FFFF);
}

// Length of the UTF-8 sequence at s if it is a character XML allows (then cp is its code),
// else 0. Reads at most four bytes; the padding after the text stops it at the end.
std::size_t charAt(const char* s, std::uint32_t& cp) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    const std::uint32_t c = p[0];
    auto tail = [p](int i) { return (p[i] & 0xC0) == 0x80; };
    if (c < 0x80) {
        cp = c;
        return isXmlChar(c) ? 1 : 0;
    }
    if (c < 0xC2) return 0;
    if (c < 0xE0) {
        if (!tail(1)) return 0;
        cp = ((c & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (c < 0xF0) {
        if (!tail(1) || !tail(2)) return 0;
        cp = ((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return cp >= 0x800 && isXmlChar(cp) ? 3 : 0;
    }
    if (c < 0xF5) {
        if (!tail(1) || !tail(2) || !tail(3)) return 0;
        cp = ((c & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return cp >= 0x10000 && cp <= 0x10FFFF ? 4 : 0;
    }
    return 0;
}

std::size_t charLength(const char* s) {
    std::uint32_t cp = 0;
    return charAt(s, cp);
}

std::string charProblem(const char* at) {
    const unsigned char c = static_cast<unsigned char>(*at);
    if (c >= 0x80) return "bytes that are not UTF-8 or a character XML does not allow";
    char buf[48];
    std::snprintf(buf, sizeof buf, "character 0x%02X is not allowed in XML", c);
    return buf;
}

bool isNameStart(std::uint32_t cp) {
    return (cp >= 0xC0 && cp <= 0xD6) || (cp >= 0xD8 && cp <= 0xF6) || (cp >= 0xF8 && cp <= 0x2FF) ||
           (cp >= 0x370 && cp <= 0x37D) || (cp >= 0x37F && cp <= 0x1FFF) || (cp >= 0x200C && cp <= 0x200D) ||
           (cp >= 0x2070 && cp <= 0x218F) || (cp >= 0x2C00 && cp <= 0x2FEF) ||
           (cp >= 0x3001 && cp <= 0xD7FF) || (cp >= 0xF900 && cp <= 0xFDCF) ||
           (cp >= 0xFDF0 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0xEFFFF);
}

bool isNameChar(std::uint32_t cp) {
    return isNameStart(cp) || cp == 0xB7 || (cp >= 0x300 && cp <= 0x36F) || (cp >= 0x203F && cp <= 0x2040);
}

// End of the XML name at p; p itself when none begins there.
const char* scanName(const char* p) {
    std::uint32_t cp = 0;
    if (classOf(*p) & kNameStart) {
        ++p;
    } else if (static_cast<unsigned char>(*p) >= 0x80) {
        const std::size_t n = charAt(p, cp);
        if (n == 0 || !isNameStart(cp)) return p;
        p += n;
    } else {
        return p;
    }
    for (;;) {
        while (classOf(*p) & kNameChar)
            ++p;
        if (static_cast<unsigned char>(*p) < 0x80) return p;
        const std::size_t n = charAt(p, cp);
        if (n == 0 || !isNameChar(cp)) return p;
        p += n;
    }
}

bool startsWith(const char* p, const char* word) {
    return std::strncmp(p, word, std::strlen(word)) == 0;
}

bool equalsIgnoringCase(std::string_view a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return true;
}

// Shown names are cut: a log line need not repeat a megabyte of garbage.
std::string shown(const char* name, std::size_t length) {
    return length <= 64 ? std::string(name, length) : std::string(name, 64) + "...";
}

// The XML declaration at p ("<?xml" and a blank): the end of it, or null with the place of
// the fault in bad. The encoding is empty when not declared.
const char* readDeclaration(const char* p, std::string_view& encoding, const char*& bad) {
    const char* q = skipBlanks(p + 5);
    auto pseudoAttribute = [&q](const char* name, std::string_view& value) {
        if (!startsWith(q, name)) return false;
        const char* r = skipBlanks(q + std::strlen(name));
        if (*r != '=') return false;
        r = skipBlanks(r + 1);
        const char quote = *r;
        if (quote != '"' && quote != '\'') return false;
        const char* v = ++r;
        while (*r != quote && *r >= 0x20 && *r < 0x7F && *r != '<')
            ++r;
        if (*r != quote) return false;
        value = std::string_view(v, static_cast<std::size_t>(r - v));
        q = r + 1;
        return true;
    };
    bad = q;
    std::string_view version, standalone;
    if (!pseudoAttribute("version", version) || version.size() < 3 || version.substr(0, 2) != "1." ||
        version.find_first_not_of("0123456789", 2) != std::string_view::npos)
        return nullptr;
    bool blank = isBlank(*q);
    q = skipBlanks(q);
    bad = q;
    encoding = std::string_view();
    if (blank && pseudoAttribute("encoding", encoding)) {
        const char first = encoding.empty() ? 0 : encoding[0];
        if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) ||
            encoding.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-") !=
                std::string_view::npos)
            return nullptr;
        blank = isBlank(*q);
        q = skipBlanks(q);
        bad = q;
    }
    if (blank && pseudoAttribute("standalone", standalone)) {
        if (standalone != "yes" && standalone != "no") return nullptr;
        q = skipBlanks(q);
        bad = q;
    }
    return q[0] == '?' && q[1] == '>' ? q + 2 : nullptr;
}

char* writeUtf8(char* o, std::uint32_t cp) {
    if (cp < 0x80) {
        *o++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *o++ = static_cast<char>(0xC0 | (cp >> 6));
        *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *o++ = static_cast<char>(0xE0 | (cp >> 12));
        *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *o++ = static_cast<char>(0xF0 | (cp >> 18));
        *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return o;
}

// The character of one of the five predefined entities.
char entityChar(std::string_view name) {
    return name == "lt" ? '<' : name == "gt" ? '>' : name == "amp" ? '&' : name == "apos" ? '\'' : '"';
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    char buf[4];
    out.append(buf, static_cast<std::size_t>(writeUtf8(buf, cp) - buf));
}

} // namespace

XmlTokenizer::XmlTokenizer(const char* data, std::size_t size, TextPool& pool)
    : data_(data), end_(data + size), p_(data), pool_(pool), start_(data) {
    attributes_.reserve(16);
    open_.reserve(64);
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) p_ += 3;
    if (startsWith(p_, "<?xml") && isBlank(p_[5])) {
        std::string_view encoding;
        const char* bad = nullptr;
        const char* after = readDeclaration(p_, encoding, bad);
        if (!after) {
            fail(bad, "malformed XML declaration");
            return;
        }
        p_ = after;
    }
}

XmlTokenizer::Token XmlTokenizer::fail(const char* at, std::string what) {
    state_ = Failed;
    errorOffset_ = static_cast<std::size_t>((at < end_ ? at : end_) - data_);
    error_ = std::move(what);
    return Error;
}

bool XmlTokenizer::failed(const char* at, std::string what) {
    fail(at, std::move(what));
    return false;
}

XmlTokenizer::Token XmlTokenizer::next() {
    switch (state_) {
    case Content:
        return content();
    case Prolog:
        return prolog();
    case Epilog:
        return epilog();
    case Done:
        return End;
    default:
        return Error;
    }
}

XmlTokenizer::Token XmlTokenizer::prolog() {
    for (;;) {
        const char* p = skipBlanks(p_);
        p_ = p;
        if (*p != '<') return fail(p, p >= end_ ? "no root element" : "text before the root element");
        if (p[1] == '?') {
            if (!processingInstruction(p)) return Error;
        } else if (p[1] == '!') {
            if (startsWith(p, "<!--")) {
                if (!comment(p)) return Error;
            } else if (startsWith(p, "<!DOCTYPE")) {
                if (!doctype(p)) return Error;
            } else {
                return fail(p, "markup not allowed before the root element");
            }
        } else {
            state_ = Content;
            return startTag(p);
        }
    }
}

XmlTokenizer::Token XmlTokenizer::epilog() {
    for (;;) {
        const char* p = skipBlanks(p_);
        p_ = p;
        if (*p != '<') {
            if (p < end_) return fail(p, "text after the root element");
            state_ = Done;
            return End;
        }
        if (p[1] == '?') {
            if (!processingInstruction(p)) return Error;
        } else if (startsWith(p, "<!--")) {
            if (!comment(p)) return Error;
        } else {
            return fail(p,
                        scanName(p + 1) != p + 1 ? "a second root element" : "markup after the root element");
        }
    }
}

XmlTokenizer::Token XmlTokenizer::content() {
    const char* p = p_;
    for (;;) {
        if (*p == '<') {
            const char c = p[1];
            if (c == '/') return endTag(p);
            if (c == '?') {
                if (!processingInstruction(p)) return Error;
                p = p_;
                continue;
            }
            if (c == '!') {
                if (p[2] == '-' && p[3] == '-') {
                    if (!comment(p)) return Error;
                    p = p_;
                    continue;
                }
                if (startsWith(p + 2, "[CDATA[")) return cdata(p);
                return fail(p, "markup declaration inside an element");
            }
            return startTag(p);
        }
        if (p >= end_) {
            const Open& o = open_.back();
            return fail(o.name, "<" + shown(o.name, o.length) + "> is not closed");
        }
        // A run of text; whitespace alone is no text.
        const char* start = p;
        p = skipBlanks(p);
        if (*p == '<' || p >= end_) continue;
        return readText(start);
    }
}

// Checks a text and writes its value to the pool in the same pass: descriptions are most of a
// catalog's bytes, so they are read once, sixteen bytes at a time where the processor can.
XmlTokenizer::Token XmlTokenizer::readText(const char* start) {
    const char* p = start;
    std::size_t room = 0;
    char* value = pool_.writing(0, 32, room);
    std::size_t o = 0; // bytes of the value written
    for (;;) {
        if (room - o < 32) value = pool_.writing(o, 32, room); // room for sixteen bytes and a character
        char* out = value + o;
#if defined(__SSE2__) && defined(__GNUC__)
        // Stored whole, kept up to the first byte that needs a look. Reads at most 15 bytes
        // past a zero byte, which the padding holds.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
        const unsigned stops = textStops(v);
        if (stops == 0) {
            p += 16;
            o += 16;
            continue;
        }
        const unsigned plain = static_cast<unsigned>(__builtin_ctz(stops));
        p += plain;
        o += plain;
        out += plain;
#else
        if (!(classOf(*p) & kTextStop)) {
            *out = *p++;
            ++o;
            continue;
        }
#endif
        const char c = *p;
        if (c == '<') break;
        if (c == '&') {
            std::uint32_t cp = 0;
            p = reference(p, cp);
            if (!p) return Error;
            o += static_cast<std::size_t>(writeUtf8(out, cp) - out);
        } else if (c == '\r') {
            *out = '\n';
            ++o;
            ++p;
            if (*p == '\n') ++p;
        } else if (c == ']') {
            if (p[1] == ']' && p[2] == '>') return fail(p, "]]> in text");
            *out = ']';
            ++o;
            ++p;
        } else if (p >= end_) {
            break;
        } else {
            const std::size_t n = charLength(p);
            if (n == 0) return fail(p, charProblem(p));
            std::memcpy(out, p, n);
            o += n;
            p += n;
        }
    }
    p_ = p;
    start_ = start;
    text_ = pool_.keep(o);
    return Text;
}

XmlTokenizer::Token XmlTokenizer::startTag(const char* p) {
    const char* name = p + 1;
    const char* q = scanName(name);
    if (q == name) return fail(name, "expected an element name after <");
    const std::uint32_t nameLength = static_cast<std::uint32_t>(q - name);
    tagAttributes_ = attributes_.size();
    selfClosing_ = false;
    for (;;) {
        const char* before = q;
        q = skipBlanks(q);
        if (*q == '>') {
            ++q;
            break;
        }
        if (*q == '/') {
            if (q[1] != '>') return fail(q, "expected > after / in a start tag");
            q += 2;
            selfClosing_ = true;
            break;
        }
        if (q >= end_) return fail(name, "start tag <" + shown(name, nameLength) + "> is not closed");
        if (q == before) return fail(q, "expected a blank, > or /> in a start tag");
        // Filled in place: a copy of a just-written struct stalls on its loads.
        XmlAttribute& a = attributes_.emplace_back();
        a.name = q;
        q = scanName(q);
        if (q == a.name) return fail(q, "expected an attribute name");
        a.nameLength = static_cast<std::uint32_t>(q - a.name);
        q = skipBlanks(q);
        if (*q != '=') return fail(q, "expected = after the attribute name " + shown(a.name, a.nameLength));
        q = skipBlanks(q + 1);
        const char quote = *q;
        if (quote != '"' && quote != '\'') return fail(q, "attribute value not in quotes");
        a.value = ++q;
        bool plain = true;
        for (;;) {
            const char c = *q;
            if (!(classOf(c) & kValueStop)) {
                ++q;
                continue;
            }
            if (c == quote) break;
            if (c == '"' || c == '\'') {
                ++q;
            } else if (c == '&') {
                std::uint32_t cp = 0;
                q = reference(q, cp);
                if (!q) return Error;
                plain = false;
            } else if (c == '\t' || c == '\n' || c == '\r') {
                plain = false;
                ++q;
            } else if (c == '<') {
                return fail(q, "< in an attribute value");
            } else if (q >= end_) {
                return fail(a.value - 1, "attribute value not closed");
            } else {
                const std::size_t n = charLength(q);
                if (n == 0) return fail(q, charProblem(q));
                q += n;
            }
        }
        a.valueLength = static_cast<std::uint32_t>(q - a.value);
        ++q;
        if (!plain) readValue(a);
        if (attributes_.size() > tagAttributes_ + 1 && !uniqueAttribute())
            return fail(a.name, "attribute " + shown(a.name, a.nameLength) + " appears twice in a start tag");
    }
    p_ = q;
    start_ = name_ = name;
    nameLength_ = nameLength;
    if (selfClosing_) {
        if (open_.empty()) state_ = Epilog;
    } else {
        Open& open = open_.emplace_back();
        open.name = name;
        open.length = nameLength;
    }
    return StartTag;
}

bool XmlTokenizer::uniqueAttribute() {
    const XmlAttribute& a = attributes_.back();
    const std::size_t before = attributes_.size() - 1 - tagAttributes_;
    const XmlAttribute* tag = attributes_.data() + tagAttributes_;
    // Few attributes: compare with each; many: a hashed set, so no input takes quadratic time.
    const std::size_t kFew = 8;
    if (before < kFew) {
        for (std::size_t i = 0; i < before; ++i) {
            if (tag[i].nameLength == a.nameLength && sameBytes(tag[i].name, a.name, a.nameLength))
                return false;
        }
        return true;
    }
    if (before == kFew) {
        manyNames_.clear();
        for (std::size_t i = 0; i < before; ++i)
            manyNames_.insert(std::string_view(tag[i].name, tag[i].nameLength));
    }
    return manyNames_.insert(std::string_view(a.name, a.nameLength)).second;
}

// The value of an attribute that holds references, tabs or line ends: references resolved;
// tab, LF, CR LF and CR read as a space (the value is well-formed, as checked).
void XmlTokenizer::readValue(XmlAttribute& a) {
    std::string& out = readValues_.emplace_back();
    const char* p = a.value;
    const char* const end = p + a.valueLength;
    while (p < end) {
        const char c = *p++;
        if (c == '\r') {
            out += ' ';
            if (p < end && *p == '\n') ++p;
        } else if (c == '\t' || c == '\n') {
            out += ' ';
        } else if (c != '&') {
            out += c;
        } else {
            std::uint32_t cp = 0;
            p = reference(p - 1, cp);
            appendUtf8(out, cp);
        }
    }
    a.value = out.data();
    a.valueLength = static_cast<std::uint32_t>(out.size());
}

XmlTokenizer::Token XmlTokenizer::endTag(const char* p) {
    const char* name = p + 2;
    const Open& open = open_.back();
    // Nearly always the name of the open element, directly followed by '>'.
    if (static_cast<std::size_t>(end_ - name) > open.length && sameBytes(open.name, name, open.length) &&
        name[open.length] == '>') {
        p_ = name + open.length + 1;
        return closeElement();
    }
    const char* q = scanName(name);
    if (q == name) return fail(name, "expected an element name after </");
    const std::uint32_t length = static_cast<std::uint32_t>(q - name);
    q = skipBlanks(q);
    if (*q != '>')
        return q >= end_ ? fail(name, "end tag not closed") : fail(q, "expected > to close the end tag");
    const Open& o = open_.back();
    if (o.length != length || !sameBytes(o.name, name, length))
        return fail(name, "end tag </" + shown(name, length) + "> does not match <" +
                              shown(o.name, o.length) + ">");
    p_ = q + 1;
    return closeElement();
}

XmlTokenizer::Token XmlTokenizer::closeElement() {
    const Open o = open_.back();
    open_.pop_back();
    start_ = name_ = o.name;
    nameLength_ = o.length;
    if (open_.empty()) state_ = Epilog;
    return EndTag;
}

XmlTokenizer::Token XmlTokenizer::cdata(const char* p) {
    const char* q = p + 9;
    std::size_t room = 0;
    char* value = pool_.writing(0, 8, room);
    std::size_t o = 0;
    for (;;) {
        if (room - o < 8) value = pool_.writing(o, 8, room);
        const char c = *q;
        if (c == ']' && q[1] == ']' && q[2] == '>') break;
        if (c == '\r') { // CR LF and CR read as LF
            value[o++] = '\n';
            q += q[1] == '\n' ? 2 : 1;
        } else if (!(classOf(c) & kCharStop)) {
            value[o++] = c;
            ++q;
        } else {
            if (q >= end_) return fail(p, "CDATA section not closed");
            const std::size_t n = charLength(q);
            if (n == 0) return fail(q, charProblem(q));
            std::memcpy(value + o, q, n);
            o += n;
            q += n;
        }
    }
    start_ = p + 9;
    text_ = pool_.keep(o);
    p_ = q + 3;
    return CData;
}

// Moves q to the first of the two bytes `first second`, checking the characters before it; on
// failure `start` is where the unclosed construct began.
bool XmlTokenizer::skipUntil(const char*& q, char first, char second, const char* start,
                             const char* unclosed) {
    for (;;) {
        const char c = *q;
        if (c == first && q[1] == second) return true;
        if (!(classOf(c) & kCharStop)) {
            ++q;
            continue;
        }
        if (q >= end_) return failed(start, unclosed);
        const std::size_t n = charLength(q);
        if (n == 0) return failed(q, charProblem(q));
        q += n;
    }
}

bool XmlTokenizer::comment(const char* p) {
    const char* q = p + 4;
    if (!skipUntil(q, '-', '-', p, "comment not closed")) return false;
    if (q[2] != '>') return failed(q, "-- inside a comment");
    p_ = q + 3;
    return true;
}

bool XmlTokenizer::processingInstruction(const char* p) {
    const char* target = p + 2;
    const char* q = scanName(target);
    if (q == target) return failed(target, "expected a name after <?");
    if (q - target == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
        (target[2] | 0x20) == 'l')
        return failed(p, "the XML declaration may only begin the file and needs a version");
    if (!isBlank(*q) && !(q[0] == '?' && q[1] == '>'))
        return failed(q, q >= end_ ? "processing instruction not closed"
                                   : "expected a blank after <?" +
                                         shown(target, static_cast<std::size_t>(q - target)));
    if (!skipUntil(q, '?', '>', p, "processing instruction not closed")) return false;
    p_ = q + 2;
    return true;
}

bool XmlTokenizer::literal(const char*& q, const char* what, bool pubid) {
    const char quote = *q;
    if (quote != '"' && quote != '\'') return failed(q, std::string("expected a quoted ") + what);
    const char* start = q;
    ++q;
    while (*q != quote) {
        const char c = *q;
        if (q >= end_) return failed(start, std::string(what) + " not closed");
        if (pubid) {
            const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                            (c != 0 && std::strchr(" \r\n-'()+,./:=?;!*#@$_%", c) != nullptr);
            if (!ok) return failed(q, std::string("character not allowed in a ") + what);
            ++q;
        } else {
            const std::size_t n = charLength(q);
            if (n == 0) return failed(q, charProblem(q));
            q += n;
        }
    }
    ++q;
    return true;
}

bool XmlTokenizer::doctype(const char* p) {
    if (seenDoctype_) return failed(p, "a second document type declaration");
    seenDoctype_ = true;
    const char* q = p + 9;
    if (!isBlank(*q)) return failed(q, "malformed document type declaration");
    q = skipBlanks(q);
    const char* name = q;
    q = scanName(q);
    if (q == name) return failed(q, "expected the root element's name in the document type declaration");
    bool blank = isBlank(*q);
    q = skipBlanks(q);
    const bool system = blank && startsWith(q, "SYSTEM");
    const bool pub = blank && startsWith(q, "PUBLIC");
    if (system || pub) {
        q += 6;
        if (!isBlank(*q)) return failed(q, "malformed document type declaration");
        q = skipBlanks(q);
        if (pub) {
            if (!literal(q, "public identifier", true)) return false;
            if (!isBlank(*q)) return failed(q, "expected a blank and the system identifier");
            q = skipBlanks(q);
        }
        if (!literal(q, "system identifier", false)) return false;
        q = skipBlanks(q);
    }
    if (*q == '[') {
        unsupported_ = true;
        return failed(q, "a document type declaration with an internal subset (declarations that would "
                         "change the content); the library reads no DTD");
    }
    if (*q != '>') return failed(q, "malformed document type declaration");
    p_ = q + 1;
    return true;
}

const char* XmlTokenizer::reference(const char* p, std::uint32_t& cp) {
    const char* q = p + 1;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (*q == '#' && digit(q[1]) && digit(q[2]) && q[3] == ';') {
        cp = static_cast<std::uint32_t>((q[1] - '0') * 10 + (q[2] - '0')); // &#10; &#13; and the like
        if (isXmlChar(cp)) return q + 4;
    }
    if (*q == '#') {
        ++q;
        const bool hex = *q == 'x';
        if (hex) ++q;
        const char* digits = q;
        std::uint32_t v = 0;
        for (;; ++q) {
            const char c = *q;
            std::uint32_t d;
            if (c >= '0' && c <= '9')
                d = static_cast<std::uint32_t>(c - '0');
            else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                d = static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
            else
                break;
            if (v <= 0x10FFFF) v = v * (hex ? 16 : 10) + d; // beyond that it only has to stay too large
        }
        if (q == digits || *q != ';') {
            fail(p, "malformed character reference");
            return nullptr;
        }
        if (!isXmlChar(v)) {
            fail(p, "character reference to a character XML does not allow");
            return nullptr;
        }
        cp = v;
        return q + 1;
    }
    const char* e = scanName(q);
    if (e == q || *e != ';') {
        fail(p, "& that begins no reference (write &amp; for &)");
        return nullptr;
    }
    const std::string_view name(q, static_cast<std::size_t>(e - q));
    if (name != "lt" && name != "gt" && name != "amp" && name != "apos" && name != "quot") {
        fail(p, "undefined entity &" + shown(q, name.size()) + ";");
        return nullptr;
    }
    cp = static_cast<std::uint32_t>(entityChar(name));
    return e + 1;
}

bool xmlToUtf8(const char* data, std::size_t size, std::string& out, std::string& what, std::size_t& where) {
    const auto* d = reinterpret_cast<const unsigned char*>(data);
    auto startsWithBytes = [&](std::initializer_list<unsigned char> bytes) {
        if (size < bytes.size()) return false;
        std::size_t i = 0;
        for (unsigned char b : bytes) {
            if (d[i++] != b) return false;
        }
        return true;
    };
    int unit = 0; // bytes per code unit of UTF-16/32; 0 for ISO-8859-1
    bool bigEndian = false;
    if (startsWithBytes({0x00, 0x00, 0xFE, 0xFF}) || startsWithBytes({0x00, 0x00, 0x00, 0x3C})) {
        unit = 4;
        bigEndian = true;
    } else if (startsWithBytes({0xFF, 0xFE, 0x00, 0x00}) || startsWithBytes({0x3C, 0x00, 0x00, 0x00})) {
        unit = 4;
    } else if (startsWithBytes({0xFE, 0xFF}) || startsWithBytes({0x00, 0x3C})) {
        unit = 2;
        bigEndian = true;
    } else if (startsWithBytes({0xFF, 0xFE}) || startsWithBytes({0x3C, 0x00})) {
        unit = 2;
    } else {
        std::string_view encoding;
        const char* bad = nullptr;
        if (!(size > 5 && startsWith(data, "<?xml") && isBlank(data[5]) &&
              readDeclaration(data, encoding, bad) &&
              (equalsIgnoringCase(encoding, "iso-8859-1") || equalsIgnoringCase(encoding, "latin1"))))
            return true; // UTF-8
        out.reserve(size + size / 8);
        for (std::size_t i = 0; i < size; ++i)
            appendUtf8(out, d[i]);
        return true;
    }
    out.reserve(size);
    auto codeUnit = [&](std::size_t i) {
        std::uint32_t v = 0;
        for (int k = 0; k < unit; ++k)
            v |= static_cast<std::uint32_t>(d[i + static_cast<std::size_t>(k)])
                 << (8 * (bigEndian ? unit - 1 - k : k));
        return v;
    };
    const std::size_t u = static_cast<std::size_t>(unit);
    for (std::size_t i = 0; i < size; i += u) {
        where = out.size();
        if (size - i < u) {
            what = "the file ends inside a character";
            return false;
        }
        std::uint32_t cp = codeUnit(i);
        if (unit == 2 && cp >= 0xD800 && cp <= 0xDBFF && size - i >= 4) {
            const std::uint32_t low = codeUnit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            what = unit == 2 ? "a UTF-16 surrogate without its pair" : "not a UTF-32 character";
            return false;
        }
        appendUtf8(out, cp);
    }
    return true;
}

} // namespace quarnel
