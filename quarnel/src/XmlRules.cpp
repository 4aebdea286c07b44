#include "XmlRules.h"

#include "CatalogReader.h"
#include "CodePage.h"
#include "Excerpt.h"
#include "NumberText.h"
#include "QuarnelDefs.h"
#include "SeenSet.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUARNEL_SSE2 1
#endif
#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace quarnel {

const unsigned kXmlParseOptions = pugi::parse_fragment | pugi::parse_cdata | pugi::parse_comments |
                                  pugi::parse_declaration | pugi::parse_doctype;

namespace {

bool xmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool failAt(LoadError& err, std::size_t offset, std::string what) {
    err.code = QRN_ERR_XML;
    err.what = std::move(what);
    err.offset = offset;
    return false;
}

// ASCII bytes that need no look: all but the controls XML forbids.
struct PlainTable {
    bool plain[256] = {};
    PlainTable() {
        for (int c = 0x20; c < 0x80; ++c)
            plain[c] = true;
        for (unsigned char c : {'\t', '\n', '\r'})
            plain[c] = true;
    }
};
const PlainTable kPlain;

#ifdef QUARNEL_SSE2
// only the vector scans need it (a 32-bit x86 target without SSE2 has none)
unsigned lowestBit(unsigned m) {
#if defined(_MSC_VER)
    unsigned long i;
    _BitScanForward(&i, m);
    return static_cast<unsigned>(i);
#else
    return static_cast<unsigned>(__builtin_ctz(m));
#endif
}
#endif

// Position of the first byte from i on that is not plain ASCII.
std::size_t skipPlain(const unsigned char* p, std::size_t i, std::size_t n) {
#ifdef QUARNEL_SSE2
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i tab = _mm_set1_epi8('\t'), lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    // Signed compare: controls and every byte from 0x80 on are below the space.
    auto odd = [&](__m128i v) {
        const __m128i allowed =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, cr));
        return _mm_andnot_si128(allowed, _mm_cmplt_epi8(v, space));
    };
    // Whole blocks first, without a branch per 16 bytes: nearly every block holds a line end.
    while (i + 64 <= n) {
        const __m128i* q = reinterpret_cast<const __m128i*>(p + i);
        const __m128i any =
            _mm_or_si128(_mm_or_si128(odd(_mm_loadu_si128(q)), odd(_mm_loadu_si128(q + 1))),
                         _mm_or_si128(odd(_mm_loadu_si128(q + 2)), odd(_mm_loadu_si128(q + 3))));
        if (_mm_movemask_epi8(any)) break;
        i += 64;
    }
    while (i + 16 <= n) {
        const unsigned m = static_cast<unsigned>(
            _mm_movemask_epi8(odd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)))));
        if (m) return i + lowestBit(m);
        i += 16;
    }
#endif
    while (i < n && kPlain.plain[p[i]])
        ++i;
    return i;
}

bool nameChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == ':' || c == '-' || c == '.' || c >= 0x80;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

bool checkCharacters(const char* data, std::size_t size, LoadError& err) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    if (size >= 2 && ((p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0xFF && p[1] == 0xFE)))
        return failAt(err, 0,
                      "the file begins with a UTF-16 or UTF-32 byte-order mark; catalog files are UTF-8");
    if (size >= 2 && (p[0] == 0 || p[1] == 0))
        return failAt(err, 0, "the file looks like UTF-16 or UTF-32; catalog files are UTF-8");
    std::size_t i = 0;
    while ((i = skipPlain(p, i, size)) < size) {
        char32_t c = 0;
        std::size_t examined = 0;
        const std::size_t length = decodeUtf8(p + i, size - i, c, examined);
        if (length == 0)
            return failAt(err, i,
                          "invalid UTF-8 (bytes " + formatHexBytes(p + i, examined) +
                              "); catalog files are UTF-8");
        if (!xmlChar(c)) return failAt(err, i, "character " + codePointText(c) + " is not allowed in XML");
        i += length;
    }
    return true;
}

std::string excerpt(std::string_view utf8, char open, char close) {
    return quoted(cp1252FromUtf8(utf8), open, close);
}

XmlRules::StopTable::StopTable() {
    for (auto& s : stop) {
        s[0] = true;
        for (int c = 0x80; c < 0x100; ++c)
            s[c] = true;
    }
    for (unsigned char c : {'&', '<', '\t', '\n', '\r'})
        stop[kAttribute][c] = true;
    for (unsigned char c : {'&', ']', '\r'})
        stop[kText][c] = true;
    stop[kCData][static_cast<unsigned char>('\r')] = true;
}

const XmlRules::StopTable XmlRules::kStops;

bool XmlRules::fail(const char* at, std::string what) {
    return failAt(err_, at ? static_cast<std::size_t>(at - base_) : static_cast<std::size_t>(-1),
                  std::move(what));
}

bool XmlRules::fail(pugi::xml_node at, std::string what) {
    return fail(base_ + at.offset_debug(), std::move(what));
}

// The first byte from r on that decoding has to look at. Every text ends in a terminator
// inside the buffer, so the scan stops there at the latest.
const char* XmlRules::skipPlain(const char* r, Kind kind) const {
#ifdef QUARNEL_SSE2
    const __m128i zero = _mm_setzero_si128(), space = _mm_set1_epi8(0x20);
    const __m128i amp = _mm_set1_epi8('&'), lt = _mm_set1_epi8('<'), bracket = _mm_set1_epi8(']'),
                  cr = _mm_set1_epi8('\r');
    while (r + 16 <= end_) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r));
        __m128i hit;
        if (kind == kAttribute) // the terminator, blanks, and from 0x80 on (signed: below the space)
            hit = _mm_or_si128(_mm_cmplt_epi8(v, space),
                               _mm_or_si128(_mm_cmpeq_epi8(v, amp), _mm_cmpeq_epi8(v, lt)));
        else if (kind == kText)
            hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, zero), _mm_cmpeq_epi8(v, cr)),
                               _mm_or_si128(_mm_cmpeq_epi8(v, amp), _mm_cmpeq_epi8(v, bracket)));
        else
            hit = _mm_or_si128(_mm_cmpeq_epi8(v, zero), _mm_cmpeq_epi8(v, cr));
        // Bytes from 0x80 on have their top bit set.
        const unsigned m = static_cast<unsigned>(_mm_movemask_epi8(hit) | _mm_movemask_epi8(v));
        if (m) return r + lowestBit(m);
        r += 16;
    }
#endif
    const bool* stop = kStops.stop[kind];
    while (!stop[static_cast<unsigned char>(*r)])
        ++r;
    return r;
}

// The document was parsed in place, so its names and values live in our own writable buffer;
// decoding only ever shrinks a text, so it may write behind the place it reads, and every
// place read is still where it was in the file.
bool XmlRules::decodeInPlace(const char* text, Kind kind) {
    char* end = decode(text, kind, const_cast<char*>(text));
    if (!end) return false;
    if (*end) *end = 0;
    return true;
}

char* XmlRules::decode(const char* text, Kind kind, char* to) {
    const char* r = text;
    char* w = to;
    for (;;) {
        const char* run = r;
        r = skipPlain(r, kind);
        if (w != run) std::memmove(w, run, static_cast<std::size_t>(r - run));
        w += r - run;
        const unsigned char c = static_cast<unsigned char>(*r);
        if (c == 0) break;
        const char* at = r;
        char32_t code = 0;
        if (c >= 0x80) {
            // checkCharacters passed every sequence; a text decoded twice would still move on.
            std::size_t examined = 0;
            const std::size_t length =
                decodeUtf8(reinterpret_cast<const unsigned char*>(r), 4, code, examined);
            r += length ? length : 1;
        } else if (c == '&') {
            if (!reference(r, code)) return nullptr;
        } else if (c == '<') {
            fail(r, "a < inside an attribute value; write &lt;");
            return nullptr;
        } else if (c == ']') {
            if (r[1] == ']' && r[2] == '>') {
                fail(r, "]]> in text; write ]]&gt;");
                return nullptr;
            }
            *w++ = *r++;
            continue;
        } else { // tab, line feed or carriage return: XML line ends, blanks of attribute values
            ++r;
            if (c == '\r' && *r == '\n') ++r;
            *w++ = kind == kAttribute ? ' ' : '\n';
            continue;
        }
        unsigned char b = cp1252Of(code);
        if (!b) {
            b = '?';
            if (replaced_.count++ == 0) {
                replaced_.offset = static_cast<std::size_t>(at - base_);
                replaced_.first = code;
            }
        }
        *w++ = static_cast<char>(b);
    }
    return w;
}

bool XmlRules::reference(const char*& r, char32_t& code) {
    const char* at = r;
    const char* q = r + 1;
    if (*q == '#') {
        const bool hex = *++q == 'x';
        if (hex) ++q;
        const char* digits = q;
        std::uint32_t v = 0;
        for (;; ++q) {
            const unsigned char ch = static_cast<unsigned char>(*q);
            unsigned d;
            if (ch >= '0' && ch <= '9')
                d = ch - '0';
            else if (hex && (ch | 0x20) >= 'a' && (ch | 0x20) <= 'f')
                d = (ch | 0x20) - 'a' + 10;
            else
                break;
            if (v <= 0x10FFFF) v = v * (hex ? 16 : 10) + d; // beyond stays beyond
        }
        const std::string_view written(at, static_cast<std::size_t>(q - at) + (*q == ';'));
        if (q == digits || *q != ';') return fail(at, "malformed character reference " + excerpt(written));
        if (!xmlChar(v))
            return fail(at, "character reference " + excerpt(written) + " to " +
                                (v > 0x10FFFF ? std::string("a number beyond Unicode")
                                              : codePointText(v) + ", a character XML does not allow"));
        code = v;
        r = q + 1;
        return true;
    }
    while (nameChar(static_cast<unsigned char>(*q)))
        ++q;
    const std::string_view name(r + 1, static_cast<std::size_t>(q - r - 1));
    if (name.empty() || *q != ';') return fail(at, "a & that does not begin a reference; write &amp;");
    if (name == "lt")
        code = '<';
    else if (name == "gt")
        code = '>';
    else if (name == "amp")
        code = '&';
    else if (name == "apos")
        code = '\'';
    else if (name == "quot")
        code = '"';
    else {
        const std::string entity = excerpt(std::string_view(at, name.size() + 2));
        for (std::string_view d : declared_)
            if (d == name)
                return fail(at, "entity " + entity +
                                    " is declared in the DOCTYPE; entity declarations are not supported");
        return fail(at, "undefined entity " + entity);
    }
    r = q + 1;
    return true;
}

bool XmlRules::comment(pugi::xml_node n) {
    const std::string_view v = n.value();
    const std::size_t dashes = v.find("--");
    if (dashes != std::string_view::npos) return fail(v.data() + dashes, "-- inside a comment");
    if (!v.empty() && v.back() == '-') return fail(v.data() + v.size() - 1, "a comment ends in --->");
    return true;
}

bool XmlRules::repeated(pugi::xml_node element, pugi::xml_attribute a) {
    return fail(a.name(),
                "attribute " + excerpt(a.name()) + " appears twice on " + excerpt(element.name(), '<', '>'));
}

bool XmlRules::element(pugi::xml_node n) {
    // Repeated attribute names are compared as written, before any conversion.
    std::size_t count = 0;
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        ++count;
    const bool hashed = count > 16;
    if (hashed) attributeNames_.reset(count);
    for (pugi::xml_attribute a = n.first_attribute(); a && count > 1; a = a.next_attribute()) {
        bool seen = false;
        if (hashed) {
            seen = !attributeNames_.insert(a.name());
        } else {
            for (pugi::xml_attribute b = n.first_attribute(); b != a && !seen; b = b.next_attribute())
                seen = std::strcmp(a.name(), b.name()) == 0;
        }
        if (seen) return repeated(n, a);
    }
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (!value(a)) return false;
    return true;
}

// Depth first, in document order, without recursion: nesting is only bounded by the file.
bool XmlRules::subtree(pugi::xml_node root) {
    for (pugi::xml_node n = root;;) {
        switch (n.type()) {
        case pugi::node_element:
            if (!element(n)) return false;
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            if (!text(n)) return false;
            break;
        case pugi::node_comment:
            if (!comment(n)) return false;
            break;
        default:
            break;
        }
        if (pugi::xml_node child = n.first_child()) {
            n = child;
            continue;
        }
        while (n != root && !n.next_sibling())
            n = n.parent();
        if (n == root) return true;
        n = n.next_sibling();
    }
}

bool XmlRules::declaration(pugi::xml_node n, bool first) {
    const char* name = n.name();
    if (std::strcmp(name, "xml") != 0) return fail(name, "the XML declaration is written <?xml");
    if (!first || static_cast<std::size_t>(name - base_) != bom_ + 2)
        return fail(name, "the XML declaration must come first in the file");
    pugi::xml_attribute a = n.first_attribute();
    auto is = [&](const char* attr) { return a && std::strcmp(a.name(), attr) == 0; };
    if (!is("version")) return fail(name, "the XML declaration has no version");
    const std::string_view version = a.value();
    if (version.size() < 3 || !startsWith(version, "1.") ||
        version.find_first_not_of("0123456789", 2) != std::string_view::npos)
        return fail(a.value(), "XML version " + excerpt(version) + " is not 1.x");
    a = a.next_attribute();
    if (is("encoding")) {
        const std::string_view encoding = a.value();
        if (!equalNames(encoding, "UTF-8", true))
            return fail(a.value(),
                        "encoding " + excerpt(encoding) + " is not supported: catalog files are UTF-8");
        a = a.next_attribute();
    }
    if (is("standalone")) {
        if (std::strcmp(a.value(), "yes") != 0 && std::strcmp(a.value(), "no") != 0)
            return fail(a.value(), "standalone must be yes or no");
        a = a.next_attribute();
    }
    if (a) return fail(a.name(), excerpt(a.name()) + " does not belong in the XML declaration there");
    return true;
}

// The DTD is never read: an external one is not fetched, and declarations of the internal
// subset are not applied. Entity declarations are noted so that their use is refused with a
// clear reason; attribute-list declarations are refused, as their defaults would silently
// change the catalog.
bool XmlRules::doctype(pugi::xml_node n) {
    const std::string_view v = n.value();
    for (std::size_t at = v.find("<!"); at != std::string_view::npos; at = v.find("<!", at + 2)) {
        std::string_view rest = v.substr(at + 2);
        if (startsWith(rest, "--")) {
            const std::size_t end = rest.find("-->", 2);
            if (end == std::string_view::npos) break;
            at += 2 + end;
        } else if (startsWith(rest, "ATTLIST")) {
            return fail(v.data() + at, "attribute-list declarations in the DOCTYPE are not supported");
        } else if (startsWith(rest, "ENTITY")) {
            rest = trimBlanks(rest.substr(6));
            if (startsWith(rest, "%")) continue; // a parameter entity, usable only inside the DTD
            std::size_t end = 0;
            while (end < rest.size() && nameChar(static_cast<unsigned char>(rest[end])))
                ++end;
            declared_.push_back(rest.substr(0, end));
        }
    }
    return true;
}

// One node beside the root element.
bool XmlRules::outside(pugi::xml_node n, bool& seenRoot, bool& seenDoctype, pugi::xml_node first) {
    switch (n.type()) {
    case pugi::node_declaration:
        return declaration(n, n == first);
    case pugi::node_doctype:
        if (seenRoot) return fail(n, "a DOCTYPE after the root element");
        if (seenDoctype) return fail(n, "a second DOCTYPE");
        seenDoctype = true;
        return doctype(n);
    case pugi::node_element:
        if (seenRoot)
            return fail(n, "a second root element " + excerpt(n.name(), '<', '>') + "; a file holds one");
        seenRoot = true;
        return true;
    case pugi::node_comment:
        return comment(n);
    default: { // text or CDATA; blank text never reaches the document
        const std::string_view v = n.value();
        const std::size_t first = v.find_first_not_of(" \t\r\n");
        return fail(v.data() + (first == std::string_view::npos ? 0 : first),
                    seenRoot ? "text after the root element" : "text before the root element");
    }
    }
}

bool XmlRules::checkDocument(const pugi::xml_document& doc, pugi::xml_node& root) {
    bool seenRoot = false, seenDoctype = false;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling()) {
        if (!outside(n, seenRoot, seenDoctype, doc.first_child())) return false;
        if (n.type() == pugi::node_element) root = n;
    }
    if (!seenRoot) return fail(end_ - 1, "no root element");
    return true;
}

bool XmlRules::checkAll(const pugi::xml_document& doc) {
    bool seenRoot = false, seenDoctype = false;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling()) {
        if (!outside(n, seenRoot, seenDoctype, doc.first_child())) return false;
        if (n.type() == pugi::node_element && !subtree(n)) return false;
    }
    if (!seenRoot) return fail(end_ - 1, "no root element");
    return true;
}

} // namespace quarnel
