#pragma once
// XML 1.0 well-formedness beyond what pugixml checks, and the decoding it is told to leave to
// us. pugixml parses with kXmlParseOptions: without reference and line-end decoding, so that
// references are decoded strictly here and every error keeps its place in the file; with
// comments, the declaration and the DOCTYPE, so that their place and content can be checked;
// as a fragment, so that text and elements beside the root show up instead of vanishing.
//
// The catalog reader applies these rules to what it reads as it reads it, decoding texts in
// place; checkAll applies them to a whole document.

#include "SeenSet.h"

#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

struct LoadError;

extern const unsigned kXmlParseOptions;

// Characters of the file that code page 1252 lacks; each reads as '?'.
struct Replacements {
    std::size_t count = 0;
    std::size_t offset = 0; // of the first, in the file
    char32_t first = 0;
};

// Refuses anything but UTF-8 (with or without a byte-order mark) and characters XML forbids.
bool checkCharacters(const char* data, std::size_t size, LoadError& err);

// The rules for a document pugixml parsed in place from `base`, after checkCharacters. Texts
// are decoded in that buffer: references, line ends, blanks in attribute values, and UTF-8 to
// code page 1252. Every refusal is an XML error with its place.
class XmlRules {
public:
    // base[0, size] is the buffer parsed, its last byte the terminator.
    XmlRules(const char* base, std::size_t size, std::size_t bom, LoadError& err, Replacements& replaced)
        : base_(base), end_(base + size + 1), bom_(bom), err_(err), replaced_(replaced) {}

    // Everything outside the root element: the declaration, the DOCTYPE, comments, no text and
    // exactly one root element, which `root` receives.
    bool checkDocument(const pugi::xml_document& doc, pugi::xml_node& root);
    // Every rule for every node, in document order: the first error of the file.
    bool checkAll(const pugi::xml_document& doc);

    bool value(pugi::xml_attribute a) { return decodeInPlace(a.value(), kAttribute); }
    bool text(pugi::xml_node n) { return decodeInPlace(n.value(), textKind(n)); }
    // Decodes the text of n to `to`, which has room for its undecoded length; the end of the
    // decoded text, or null after an error.
    char* text(pugi::xml_node n, char* to) { return decode(n.value(), textKind(n), to); }
    bool comment(pugi::xml_node n);
    bool repeated(pugi::xml_node element, pugi::xml_attribute a);

private:
    enum Kind { kAttribute, kText, kCData, kKinds };
    struct StopTable {
        bool stop[kKinds][256] = {};
        StopTable();
    };
    static const StopTable kStops;

    const char* base_;
    const char* end_;
    std::size_t bom_;
    LoadError& err_;
    Replacements& replaced_;
    std::vector<std::string_view> declared_; // entities the DOCTYPE declares
    SeenSet<std::string_view> attributeNames_;

    bool fail(const char* at, std::string what);
    bool fail(pugi::xml_node at, std::string what);
    static Kind textKind(pugi::xml_node n) { return n.type() == pugi::node_cdata ? kCData : kText; }
    char* decode(const char* text, Kind kind, char* to);
    bool decodeInPlace(const char* text, Kind kind);
    const char* skipPlain(const char* r, Kind kind) const;
    bool reference(const char*& r, char32_t& code);
    bool element(pugi::xml_node n);
    bool subtree(pugi::xml_node root);
    bool declaration(pugi::xml_node n, bool first);
    bool doctype(pugi::xml_node n);
    bool outside(pugi::xml_node n, bool& seenRoot, bool& seenDoctype, pugi::xml_node first);
};

// File text for a message: converted to code page 1252 as the reader converts it, and
// bounded (Excerpt.h).
std::string excerpt(std::string_view utf8, char open = '"', char close = '"');

} // namespace quarnel
