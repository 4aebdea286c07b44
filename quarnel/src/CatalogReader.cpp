#include "CatalogReader.h"

#include "NumberText.h"
#include "SameBytes.h"
#include "SeenSet.h"
#include "QuarnelDefs.h"
#include "XmlTokenizer.h"
#include "XmlTree.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quarnel {

namespace {

const std::size_t kMaxNameBytes = 256;
const std::size_t kMaxTextBytes = 1u << 20;
const std::int64_t kMaxCount = 0xFFFF;

struct TypeName {
    std::string_view element;
    int type;
};

const TypeName kTypeElements[] = {
    {"TNumber", QRN_TYPE_NUMBER},          {"TEnum", QRN_TYPE_ENUM},
    {"TBool", QRN_TYPE_BOOLEAN},           {"TBoolField", QRN_TYPE_BOOLFIELD},
    {"TBitField", QRN_TYPE_BITFIELD},      {"TString", QRN_TYPE_STRING},
    {"TStream", QRN_TYPE_STREAM},          {"TShortStream", QRN_TYPE_RAWSTREAM},
    {"TRawStream", QRN_TYPE_RAWSTREAM},    {"TArray", QRN_TYPE_ARRAY},
    {"TRecord", QRN_TYPE_RECORD},          {"TVoid", QRN_TYPE_VOID},
    {"TFunctionIDs", QRN_TYPE_FUNCTIONID}, {"TErrorCode", QRN_TYPE_ERROR},
    {"TUndefined", QRN_TYPE_UNDEFINED},
};

const char* const kClassNames[30] = {"Unclassified Method",
                                     "Trigger",
                                     "Sequence Method",
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     "Unclassified Property",
                                     "Switch",
                                     "Number",
                                     "Text",
                                     "Enumeration",
                                     "Array",
                                     "Record",
                                     "Dynamic Array",
                                     "Long Array",
                                     "BoolField",
                                     "BitSet",
                                     "Container",
                                     "Sequence Property",
                                     "Map"};

struct OpTypeName {
    int id;
    const char* name;
};
const OpTypeName kPropertyOpTypes[] = {{0x0, "Set"},       {0x1, "Get"},       {0x2, "SetGet"},
                                       {0x3, "Increment"}, {0x4, "Decrement"}, {0x5, "GetInterface"},
                                       {0xC, "Status"},    {0xE, "Interface"}, {0xF, "Error"}};
const OpTypeName kMethodOpTypes[] = {{0x0, "Start"},          {0x1, "Abort"},         {0x2, "StartResult"},
                                     {0x6, "StartResultAck"}, {0x7, "AbortAck"},      {0x8, "StartAck"},
                                     {0x9, "ErrorAck"},       {0xA, "ProcessingAck"}, {0xB, "Processing"},
                                     {0xC, "Result"},         {0xD, "ResultAck"},     {0xF, "Error"}};

// A node of the tree the reader walks: an element or a text, and its siblings up to the end of
// its parent. False when there is none.
class Attr;
class Node {
public:
    Node() = default;
    Node(const XmlTree* tree, std::uint32_t index, std::uint32_t limit)
        : t_(tree), i_(index), limit_(limit) {}
    explicit operator bool() const { return t_ != nullptr; }
    bool isElement() const { return n().kind == XmlTokenizer::StartTag; }
    std::string_view name() const {
        return isElement() ? t_->text(n().offset, n().length) : std::string_view();
    }
    std::size_t offset() const { return n().offset; }
    Node firstChild() const { return i_ + 1 < n().end ? Node(t_, i_ + 1, n().end) : Node(); }
    Node nextSibling() const { return n().end < limit_ ? Node(t_, n().end, limit_) : Node(); }
    std::uint32_t attributeCount() const { return n().attributeCount; }
    Attr attribute(std::uint32_t k) const;
    Text value() const { return t_->value(n()); } // of a text, in the catalog's pool

private:
    const XmlTree* t_ = nullptr;
    std::uint32_t i_ = 0;
    std::uint32_t limit_ = 0;
    const XmlTree::Node& n() const { return t_->node(i_); }
};

// An attribute of an element; false when absent, and then its value is empty.
class Attr {
public:
    Attr() = default;
    Attr(const XmlTree* tree, std::uint32_t index) : t_(tree), i_(index) {}
    explicit operator bool() const { return t_ != nullptr; }
    std::string_view name() const {
        const XmlAttribute& a = t_->attribute(i_);
        return std::string_view(a.name, a.nameLength);
    }
    std::string_view value() const {
        if (!t_) return std::string_view();
        const XmlAttribute& a = t_->attribute(i_);
        return std::string_view(a.value, a.valueLength);
    }

private:
    const XmlTree* t_ = nullptr;
    std::uint32_t i_ = 0;
};

Attr Node::attribute(std::uint32_t k) const { return Attr(t_, n().first + k); }

std::string str(std::string_view s) { return std::string(s); }

// Inline comparison: element and attribute names are compared hundreds of thousands of
// times per large catalog, so no library call per comparison.
QUARNEL_ALWAYS_INLINE bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sameBytes(a.data(), b.data(), a.size());
}

// Most numbers in a catalog are short digits or 0x and hex digits; those are read here without a
// call. Anything else (blanks, signs, long numbers, junk) is left to parseInteger.
inline bool plainNumber(std::string_view s, std::int64_t& out) {
    std::uint64_t v = 0;
    if (s.size() > 2 && s.size() <= 17 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        for (std::size_t i = 2; i < s.size(); ++i) {
            const char c = s[i];
            const char lower = static_cast<char>(c | 0x20);
            if (c >= '0' && c <= '9')
                v = v * 16 + static_cast<std::uint64_t>(c - '0');
            else if (lower >= 'a' && lower <= 'f')
                v = v * 16 + static_cast<std::uint64_t>(lower - 'a' + 10);
            else
                return false;
        }
    } else {
        if (s.empty() || s.size() > 18) return false;
        for (char c : s) {
            if (c < '0' || c > '9') return false;
            v = v * 10 + static_cast<std::uint64_t>(c - '0');
        }
    }
    if (v > static_cast<std::uint64_t>(INT64_MAX)) return false;
    out = static_cast<std::int64_t>(v);
    return true;
}

// Characters a name may not hold: controls and the separators of paths, lists and texts.
struct NameCharTable {
    bool bad[256] = {};
    NameCharTable() {
        for (int c = 0; c < 0x20; ++c)
            bad[c] = true;
        for (const char* p = ".[](),\""; *p; ++p)
            bad[static_cast<unsigned char>(*p)] = true;
    }
};
const NameCharTable kNameChars;

// Types whose data runs to the end of their sequence, so they must come last in it.
bool takesRest(const ParamDef& p) {
    switch (p.type) {
    case QRN_TYPE_STREAM:
    case QRN_TYPE_ARRAY:
    case QRN_TYPE_FUNCTIONID:
    case QRN_TYPE_UNDEFINED:
        return true;
    case QRN_TYPE_RAWSTREAM:
        return !p.prefixed;
    default:
        return false;
    }
}

class Reader {
public:
    Reader(Catalog& catalog, LoadError& err, const char* data, XmlTokenizer& tok)
        : c_(catalog), err_(err), root_(data, tok), tree_(data, tok) {}

    // Reads the whole file; false with err set when it is refused.
    bool read(XmlTokenizer& tok);

private:
    Catalog& c_;
    LoadError& err_;
    XmlTree root_; // the root's start tag
    XmlTree tree_; // one child of the root at a time
    std::vector<std::size_t> valueOffsets_;
    SeenSet<std::int64_t> seenIds_;
    Text pendingSelector_; // selector name of the stream just read, for its sequence to resolve
    SeenSet<std::string_view> seenNames_;
    std::vector<std::uint64_t> codeBits_ = std::vector<std::uint64_t>(0x10000 / 64); // see valueRepeats
    SeenSet<std::int64_t> functionIds_; // of one FBlock
    SeenSet<std::string_view> functionNames_;
    // Names in the parameter sequences and streams being read, a set per nesting level, and the
    // attribute ids of the parameter being read: for runs longer than kShortRun they find
    // repeats in linear time, and the loops that report them run only then.
    SeenSet<std::string_view> sequenceNames_[kMaxParamDepth + 2];
    SeenSet<std::string_view> caseNames_[kMaxParamDepth + 2];
    SeenSet<std::int64_t> attributeIds_;
    static constexpr std::uint32_t kShortRun = 16; // compared pairwise, which is cheaper

    bool fail(std::size_t offset, int code, std::string what) {
        err_.code = code;
        err_.what = std::move(what);
        err_.offset = offset;
        return false;
    }
    bool fail(Node at, int code, std::string what) { return fail(at.offset(), code, std::move(what)); }
    bool bad(Node at, const std::string& what) { return fail(at, QRN_ERR_CONTENT, what); }
    bool bad(std::size_t offset, const std::string& what) { return fail(offset, QRN_ERR_CONTENT, what); }
    bool xmlError(const XmlTokenizer& tok) {
        return fail(tok.errorOffset(), QRN_ERR_XML,
                    (tok.unsupported() ? "unsupported XML: " : "not well-formed XML: ") + tok.error());
    }

    Text addText(std::string_view s) { return c_.pool.add(s); }

    // Collects the attributes of n in one pass into found[i] for names[i]; any other
    // attribute is an error.
    template <std::size_t N>
    bool collect(Node n, const std::string_view (&names)[N], Attr (&found)[N]) {
        for (std::uint32_t k = 0; k < n.attributeCount(); ++k) {
            const Attr a = n.attribute(k);
            const std::string_view an = a.name();
            std::size_t i = 0;
            while (i < N && !same(an, names[i]))
                ++i;
            if (i == N) return bad(n, "unknown attribute " + str(an) + " on <" + str(n.name()) + ">");
            found[i] = a;
        }
        return true;
    }
    bool noAttributes(Node n) {
        if (n.attributeCount() > 0)
            return bad(n, "unknown attribute " + str(n.attribute(0).name()) + " on <" + str(n.name()) + ">");
        return true;
    }

    bool name(Node n, Attr a, const char* attr, bool required, Text& out) {
        if (!a) {
            if (required) return bad(n, "<" + str(n.name()) + "> has no " + attr);
            return true;
        }
        std::string_view s = a.value();
        if (s.empty()) return bad(n, "<" + str(n.name()) + "> has an empty " + attr);
        if (s.size() > kMaxNameBytes)
            return fail(n, QRN_ERR_LIMIT, std::string(attr) + " longer than 256 bytes");
        if (s.front() == ' ' || s.back() == ' ')
            return bad(n, std::string(attr) + " \"" + std::string(s) + "\" begins or ends with a space");
        for (char ch : s) {
            if (kNameChars.bad[static_cast<unsigned char>(ch)])
                return bad(n, std::string(attr) + " \"" + std::string(s) +
                                  "\" contains a character of .[](),\" or a control character");
        }
        out = addText(s);
        return true;
    }

    bool integer(Node n, Attr a, const char* attr, std::int64_t lo, std::int64_t hi,
                 bool required, std::int64_t& out) {
        if (!a) {
            if (required) return bad(n, "<" + str(n.name()) + "> has no " + attr);
            return true;
        }
        std::int64_t v = 0;
        if (!plainNumber(a.value(), v) && !parseInteger(a.value(), true, v))
            return bad(n, std::string(attr) + " \"" + str(a.value()) + "\" is not a number");
        if (v < lo || v > hi) {
            bool absurd = v > hi && hi >= kMaxCount;
            return fail(n, absurd ? QRN_ERR_LIMIT : QRN_ERR_CONTENT,
                        std::string(attr) + " " + str(a.value()) + " is outside " + std::to_string(lo) +
                            " to " + std::to_string(hi));
        }
        out = v;
        return true;
    }

    bool flag(Node n, Attr a, const char* attr, bool& out) {
        if (!a) return true;
        const std::string_view v = a.value();
        if (same(v, "true") || same(v, "1"))
            out = true;
        else if (same(v, "false") || same(v, "0"))
            out = false;
        else
            return bad(n, std::string(attr) + " must be true or false");
        return true;
    }

    bool description(Node n, Text& out) {
        if (!noAttributes(n)) return false;
        Node text; // only the first text counts, as it always has
        for (Node ch = n.firstChild(); ch; ch = ch.nextSibling()) {
            if (ch.isElement()) return bad(ch, "<Description> holds text only");
            if (!text) text = ch;
        }
        if (!text) {
            out = addText(std::string_view());
            return true;
        }
        // The tokenizer has put the value in the catalog's pool already.
        if (text.value().length > kMaxTextBytes)
            return fail(n, QRN_ERR_LIMIT, "description longer than 1 MiB");
        out = text.value();
        return true;
    }

    bool onlyOnce(Node n, bool& seen) {
        if (seen) return bad(n, "second <" + str(n.name()) + ">");
        seen = true;
        return true;
    }

    // Trees hold elements and texts only: comments and processing instructions are skipped.
    bool unexpected(Node n, std::string_view parent) {
        if (n.isElement()) return bad(n, "unexpected <" + str(n.name()) + "> in <" + str(parent) + ">");
        return bad(n, "unexpected text in <" + str(parent) + ">");
    }

    // Position of the first record whose id (first) or name (second) repeats an earlier
    // one; -1 when none does. Ids win over names at the same position.
    template <class IdOf, class NameOf>
    std::pair<long, long> firstRepeats(std::uint32_t count, IdOf idOf, NameOf nameOf) {
        seenIds_.reset(count);
        seenNames_.reset(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!seenIds_.insert(idOf(i))) return {static_cast<long>(i), -1};
            if (!seenNames_.insert(nameOf(i))) return {-1, static_cast<long>(i)};
        }
        return {-1, -1};
    }

    // firstRepeats for a value table. Its codes are 0 to 0xFFFF (checked before), so a bit
    // each tells a repeated code without hashing; value tables are many and mostly small.
    std::pair<long, long> valueRepeats(std::uint32_t first, std::uint32_t count) {
        seenNames_.reset(count);
        std::pair<long, long> repeat{-1, -1};
        std::uint32_t i = 0;
        for (; i < count; ++i) {
            const NamedValue& v = c_.values[first + i];
            std::uint64_t& bits = codeBits_[static_cast<std::size_t>(v.code) >> 6];
            const std::uint64_t bit = std::uint64_t(1) << (v.code & 63);
            if (bits & bit) {
                repeat.first = static_cast<long>(i);
                break;
            }
            bits |= bit;
            if (!seenNames_.insert(c_.view(v.name))) {
                repeat.second = static_cast<long>(i);
                break;
            }
        }
        for (std::uint32_t j = 0; j < i + (i < count); ++j) // the words hold this table's codes only
            codeBits_[static_cast<std::size_t>(c_.values[first + j].code) >> 6] = 0;
        return repeat;
    }

    // Reports the first repeated id or name among all[first ..], one record per element offset.
    template <class Records>
    bool checkRepeats(const Records& all, std::uint32_t first, const std::vector<std::size_t>& offsets,
                      const char* what, int digits, const std::string& where) {
        auto records = [&](std::uint32_t i) -> const auto& {
            return all[first + i];
        };
        const auto [id, name] = firstRepeats(
            static_cast<std::uint32_t>(offsets.size()),
            [&](std::uint32_t i) { return std::int64_t(records(i).id); },
            [&](std::uint32_t i) { return c_.view(records(i).name); });
        if (id >= 0)
            return bad(offsets[id], std::string(what) + " id " + formatHex(records(id).id, digits) +
                                      " appears twice" + where);
        if (name >= 0)
            return bad(offsets[name],
                       std::string(what) + " name " + c_.str(records(name).name) + " appears twice" + where);
        return true;
    }

    static std::uint32_t countChildren(Node n, std::string_view name) {
        std::uint32_t count = 0;
        for (Node ch = n.firstChild(); ch; ch = ch.nextSibling())
            count += ch.isElement() && same(ch.name(), name);
        return count;
    }

    bool readRoot(XmlTokenizer& tok);

    bool readFBlock(Node n, FBlockDef& fb);
    bool readFunction(Node n, FunctionDef& fn);
    bool readOpType(Node n, bool method, OpTypeDef& op);
    bool readParams(Node parent, Range& out, int depth, bool restAllowed, int defaultKind,
                    bool element);
    bool readParam(Node n, ParamDef& p, int depth, bool restHere, bool element);
    bool readType(Node t, ParamDef& p, int depth, bool restHere);
    bool readStream(Node t, ParamDef& p, int depth);
    bool readValues(Node t, const char* child, const char* codeAttr, std::int64_t maxCode,
                    ParamDef& p);
};

bool Reader::read(XmlTokenizer& tok) {
    if (readRoot(tok)) {
        if (tok.next() == XmlTokenizer::End) return true;
        return xmlError(tok);
    }
    if (err_.code != QRN_ERR_XML) {
        // Malformed XML anywhere in the file is reported before any problem of its content.
        XmlTokenizer::Token t;
        do {
            tok.clearAttributes();
            t = tok.next();
        } while (t != XmlTokenizer::End && t != XmlTokenizer::Error);
        if (t == XmlTokenizer::Error) xmlError(tok);
    }
    return false;
}

// The root is read from the tokenizer directly; each of its children as a tree of its own.
bool Reader::readRoot(XmlTokenizer& tok) {
    if (tok.next() != XmlTokenizer::StartTag) return xmlError(tok);
    root_.add(tok, false);
    const Node root(&root_, 0, 1);
    if (!same(root.name(), "FunctionCatalog"))
        return bad(root, "root element is <" + str(root.name()) + ">, not <FunctionCatalog>");
    static const std::string_view kAttrs[] = {"Name"};
    Attr at[1];
    if (!collect(root, kAttrs, at) || !name(root, at[0], "Name", true, c_.name)) return false;

    std::vector<std::size_t> offsets;
    bool seenVersion = false, seenDescription = false;
    const bool empty = tok.selfClosing(); // <FunctionCatalog .../> has no children and no end tag
    while (!empty) {
        tree_.clear(); // before the next start tag: the attributes go with it
        const XmlTokenizer::Token t = tok.next();
        if (t == XmlTokenizer::EndTag) break;
        if (t == XmlTokenizer::Text || t == XmlTokenizer::CData)
            return bad(tok.offset(), "unexpected text in <FunctionCatalog>");
        if (t != XmlTokenizer::StartTag || !tree_.add(tok, true)) return xmlError(tok);
        const Node n(&tree_, 0, tree_.size());
        const std::string_view tag = n.name();
        if (same(tag, "FBlock")) {
            FBlockDef fb;
            if (!readFBlock(n, fb)) return false;
            c_.fblocks.push_back(fb);
            offsets.push_back(n.offset());
        } else if (same(tag, "CatalogVersion")) {
            static const std::string_view kVersion[] = {"Release", "Date", "Author"};
            Attr v[3];
            if (!onlyOnce(n, seenVersion) || !collect(n, kVersion, v)) return false;
            c_.version = addText(v[0].value());
        } else if (same(tag, "Description")) {
            if (!onlyOnce(n, seenDescription) || !description(n, c_.description)) return false;
        } else if (!unexpected(n, "FunctionCatalog")) {
            return false;
        }
    }
    return checkRepeats(c_.fblocks, 0, offsets, "FBlock", 2, "");
}

bool Reader::readFBlock(Node n, FBlockDef& fb) {
    static const std::string_view kAttrs[] = {"ID", "Name", "Hidden", "Instances"};
    Attr at[4];
    std::int64_t id = 0;
    if (!collect(n, kAttrs, at) || !integer(n, at[0], "ID", 0, 0xFF, true, id) ||
        !name(n, at[1], "Name", true, fb.name) || !flag(n, at[2], "Hidden", fb.hidden))
        return false;
    fb.id = static_cast<std::int32_t>(id);
    if (at[3]) {
        fb.instances.first = static_cast<std::uint32_t>(c_.instances.size());
        std::string_view rest = at[3].value();
        while (!(rest = trimBlanks(rest)).empty()) {
            std::size_t end = rest.find_first_of(" \t\r\n");
            std::string_view word = rest.substr(0, end);
            std::int64_t v = 0;
            if (!parseInteger(word, false, v) || v > 0xFF)
                return bad(n, "Instances holds \"" + std::string(word) + "\", not an instance id 0 to 0xFF");
            c_.instances.push_back(static_cast<std::uint8_t>(v));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        }
        fb.instances.count = static_cast<std::uint32_t>(c_.instances.size()) - fb.instances.first;
    }

    // Functions of one FBlock are contiguous: nothing inside a function adds functions.
    fb.functions.first = static_cast<std::uint32_t>(c_.functions.size());
    const std::uint32_t functionCount = countChildren(n, "Function");
    functionIds_.reset(functionCount);
    functionNames_.reset(functionCount);
    bool seenDescription = false, seenDevice = false;
    for (Node ch = n.firstChild(); ch; ch = ch.nextSibling()) {
        const std::string_view tag = ch.name();
        if (!ch.isElement()) {
            if (!unexpected(ch, "FBlock")) return false;
        } else if (same(tag, "Function")) {
            FunctionDef fn;
            if (!readFunction(ch, fn)) return false;
            // Hashed sets find a repeat; the loop then tells which, as it always has.
            const bool newId = functionIds_.insert(fn.id);
            const bool newName = functionNames_.insert(c_.view(fn.name));
            if (!newId || !newName) {
                for (std::uint32_t i = fb.functions.first; i < c_.functions.size(); ++i) {
                    if (c_.functions[i].id == fn.id)
                        return bad(ch, "function id " + formatHex(fn.id, 3) + " appears twice in " +
                                           c_.str(fb.name));
                    if (c_.view(c_.functions[i].name) == c_.view(fn.name))
                        return bad(ch, "function name " + c_.str(fn.name) + " appears twice in " +
                                           c_.str(fb.name));
                }
            }
            c_.functions.push_back(fn);
        } else if (same(tag, "Description")) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, fb.description)) return false;
        } else if (same(tag, "Device")) {
            static const std::string_view kDevice[] = {"Name"};
            Attr d[1];
            if (!onlyOnce(ch, seenDevice) || !collect(ch, kDevice, d) ||
                !name(ch, d[0], "Name", true, fb.deviceName))
                return false;
            bool seenDeviceDescription = false;
            for (Node dn = ch.firstChild(); dn; dn = dn.nextSibling()) {
                if (dn.isElement() && same(dn.name(), "Description")) {
                    if (!onlyOnce(dn, seenDeviceDescription) || !description(dn, fb.deviceDescription))
                        return false;
                } else if (!unexpected(dn, "Device")) {
                    return false;
                }
            }
        } else if (!unexpected(ch, "FBlock")) {
            return false;
        }
    }
    fb.functions.count = static_cast<std::uint32_t>(c_.functions.size()) - fb.functions.first;
    return true;
}

bool Reader::readFunction(Node n, FunctionDef& fn) {
    static const std::string_view kAttrs[] = {"ID", "Name", "Kind", "Class", "Hidden"};
    Attr at[5];
    std::int64_t id = 0;
    if (!collect(n, kAttrs, at) || !integer(n, at[0], "ID", 0, 0xFFF, true, id) ||
        !name(n, at[1], "Name", true, fn.name) || !flag(n, at[4], "Hidden", fn.hidden))
        return false;
    fn.id = static_cast<std::int32_t>(id);
    const std::string_view kind = at[2].value();
    if (same(kind, "Property"))
        fn.type = QRN_FUNCTION_PROPERTY;
    else if (same(kind, "Method"))
        fn.type = QRN_FUNCTION_METHOD;
    else
        return bad(n, "Kind must be Property or Method");
    const bool method = fn.type == QRN_FUNCTION_METHOD;
    fn.functionClass = method ? 0 : 16;
    if (at[3]) {
        std::int64_t code = -1;
        if (!parseInteger(at[3].value(), false, code)) {
            for (int i = 0; i < 30; ++i) {
                if (kClassNames[i] && same(at[3].value(), kClassNames[i])) code = i;
            }
        }
        if (code < 0 || code > 29)
            return bad(n, "unknown function class \"" + str(at[3].value()) + "\"");
        fn.functionClass = static_cast<std::int32_t>(code);
    }

    // OpTypes of one function are contiguous: nothing inside an OpType adds OpTypes.
    fn.opTypes.first = static_cast<std::uint32_t>(c_.opTypes.size());
    bool seenDescription = false;
    for (Node ch = n.firstChild(); ch; ch = ch.nextSibling()) {
        const std::string_view tag = ch.name();
        if (!ch.isElement()) {
            if (!unexpected(ch, "Function")) return false;
        } else if (same(tag, "OPType")) {
            OpTypeDef op;
            if (!readOpType(ch, method, op)) return false;
            for (std::uint32_t i = fn.opTypes.first; i < c_.opTypes.size(); ++i) {
                if (c_.opTypes[i].id == op.id)
                    return bad(ch,
                               "OpType id " + formatHex(op.id, 1) + " appears twice in " + c_.str(fn.name));
                if (c_.view(c_.opTypes[i].name) == c_.view(op.name))
                    return bad(ch, "OpType name " + c_.str(op.name) + " appears twice in " + c_.str(fn.name));
            }
            c_.opTypes.push_back(op);
        } else if (same(tag, "Description")) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, fn.description)) return false;
        } else if (!unexpected(ch, "Function")) {
            return false;
        }
    }
    fn.opTypes.count = static_cast<std::uint32_t>(c_.opTypes.size()) - fn.opTypes.first;
    return true;
}

bool Reader::readOpType(Node n, bool method, OpTypeDef& op) {
    static const std::string_view kAttrs[] = {"ID", "Name", "Hidden"};
    Attr at[3];
    std::int64_t id = 0;
    if (!collect(n, kAttrs, at) || !integer(n, at[0], "ID", 0, 0xF, true, id) ||
        !flag(n, at[2], "Hidden", op.hidden))
        return false;
    op.id = static_cast<std::int32_t>(id);
    if (at[1]) {
        if (!name(n, at[1], "Name", true, op.name)) return false;
    } else {
        const char* standard = nullptr;
        if (method) {
            for (const OpTypeName& o : kMethodOpTypes)
                if (o.id == op.id) standard = o.name;
        } else {
            for (const OpTypeName& o : kPropertyOpTypes)
                if (o.id == op.id) standard = o.name;
        }
        if (!standard) return bad(n, "OpType " + formatHex(op.id, 1) + " has no standard name; give Name");
        op.name = addText(standard);
    }
    for (Node ch = n.firstChild(); ch; ch = ch.nextSibling()) {
        if (ch.isElement() && same(ch.name(), "Parameter")) continue;
        if (!unexpected(ch, "OPType")) return false;
    }
    return readParams(n, op.params, 1, true, QRN_KIND_PARAMETER, false);
}

bool Reader::readParams(Node parent, Range& out, int depth, bool restAllowed, int defaultKind,
                        bool element) {
    if (depth > kMaxParamDepth) return fail(parent, QRN_ERR_LIMIT, "parameters nested deeper than 16 levels");
    // Parameters nest, so the run of this sequence is reserved before reading its members.
    out.first = static_cast<std::uint32_t>(c_.params.size());
    out.count = countChildren(parent, "Parameter");
    if (element && out.count != 1) return bad(parent, "<TArray> needs exactly one <Parameter>, its element");
    c_.params.resize(out.end());
    SeenSet<std::string_view>& names = sequenceNames_[depth];
    const bool hashed = out.count > kShortRun;
    if (hashed) names.reset(out.count);
    std::uint32_t i = 0;
    for (Node n = parent.firstChild(); n; n = n.nextSibling()) {
        if (!same(n.name(), "Parameter")) continue;
        ParamDef& p = c_.params[out.first + i]; // reserved above, filled in place
        pendingSelector_ = Text();
        if (!readParam(n, p, depth, restAllowed && i + 1 == out.count, element)) return false;
        if (p.role == 0) p.role = static_cast<std::uint8_t>(defaultKind);
        if (!hashed || !names.insert(c_.view(p.name))) {
            for (std::uint32_t j = out.first; j < out.first + i; ++j) {
                if (same(c_.view(c_.params[j].name), c_.view(p.name)))
                    return bad(n, "parameter name " + c_.str(p.name) + " appears twice");
            }
        }
        const Text selectorName = pendingSelector_;
        pendingSelector_ = Text();
        if (!selectorName.empty()) {
            for (std::uint32_t j = out.first; j < out.first + i; ++j) {
                if (c_.view(c_.params[j].name) != c_.view(selectorName)) continue;
                const int t = c_.params[j].type;
                if (t != QRN_TYPE_NUMBER && t != QRN_TYPE_ENUM && t != QRN_TYPE_BOOLEAN &&
                    t != QRN_TYPE_BITFIELD && t != QRN_TYPE_ERROR)
                    return bad(n, "stream selector " + c_.str(selectorName) +
                                      " is not a number, enum or boolean");
                p.selector = static_cast<std::int16_t>(j - out.first);
            }
            if (p.selector < 0)
                return bad(n, "stream selector " + c_.str(selectorName) + " is not an earlier parameter");
        }
        ++i;
    }
    return true;
}

bool Reader::readParam(Node n, ParamDef& p, int depth, bool restHere, bool element) {
    static const std::string_view kAttrs[] = {"Name", "Role"};
    Attr at[2];
    if (!collect(n, kAttrs, at) || !name(n, at[0], "Name", !element, p.name)) return false;
    p.named = !p.name.empty();
    if (at[1]) {
        const std::string_view r = at[1].value();
        if (same(r, "position"))
            p.role = QRN_KIND_POSITION;
        else if (same(r, "length"))
            p.role = QRN_KIND_LENGTH;
        else if (same(r, "reserved"))
            p.role = QRN_KIND_RESERVED;
        else if (same(r, "padding"))
            p.role = QRN_KIND_PADDING;
        else
            return bad(n, "Role must be position, length, reserved or padding");
    }
    Node typeNode;
    bool seenDescription = false;
    p.attributes.first = static_cast<std::uint32_t>(c_.attributes.size());
    for (Node ch = n.firstChild(); ch; ch = ch.nextSibling()) {
        const std::string_view tag = ch.name();
        if (!ch.isElement()) {
            if (!unexpected(ch, "Parameter")) return false;
        } else if (tag[0] == 'T') {
            if (typeNode) return bad(ch, "a parameter has exactly one type element");
            typeNode = ch;
        } else if (same(tag, "Description")) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, p.description)) return false;
        } else if (same(tag, "Attribute")) {
            static const std::string_view kAttr[] = {"ID", "Value"};
            Attr aa[2];
            std::int64_t id = 0, value = 0;
            if (!collect(ch, kAttr, aa) || !integer(ch, aa[0], "ID", 0, INT32_MAX, true, id) ||
                !integer(ch, aa[1], "Value", INT32_MIN, INT32_MAX, true, value))
                return false;
            if (id == QRN_ATTR_OFFSET || id == QRN_ATTR_SIZE || id == QRN_ATTR_ARRAY_MAX_INDEX ||
                id == QRN_ATTR_CASE_INDEXED || id == QRN_ATTR_CASE_MAX_INDEX)
                return bad(ch, "attribute " + std::to_string(id) + " is computed and cannot be given");
            const std::uint32_t before = static_cast<std::uint32_t>(c_.attributes.size()) - p.attributes.first;
            if (before == kShortRun) { // a long run: hashed from now on
                attributeIds_.reset(countChildren(n, "Attribute"));
                for (std::uint32_t i = p.attributes.first; i < c_.attributes.size(); ++i)
                    attributeIds_.insert(c_.attributes[i].id);
            }
            if (before < kShortRun || !attributeIds_.insert(id)) {
                for (std::uint32_t i = p.attributes.first; i < c_.attributes.size(); ++i) {
                    if (c_.attributes[i].id == id)
                        return bad(ch, "attribute " + std::to_string(id) + " appears twice");
                }
            }
            c_.attributes.push_back({static_cast<std::int32_t>(id), static_cast<std::int32_t>(value)});
        } else if (!unexpected(ch, "Parameter")) {
            return false;
        }
    }
    p.attributes.count = static_cast<std::uint32_t>(c_.attributes.size()) - p.attributes.first;
    if (!typeNode) return bad(n, "parameter " + c_.str(p.name) + " has no type element");
    if (!readType(typeNode, p, depth, restHere)) return false;
    if (takesRest(p) && !restHere)
        return bad(n, "parameter " + c_.str(p.name) + " takes the rest of the data and must come last" +
                          (element ? "; an array element cannot hold such data" : ""));
    return true;
}

bool Reader::readType(Node t, ParamDef& p, int depth, bool restHere) {
    const std::string_view tag = t.name();
    int type = -1;
    for (const TypeName& tn : kTypeElements) {
        if (same(tag, tn.element)) {
            type = tn.type;
            break;
        }
    }
    if (type < 0) return bad(t, "unknown type element <" + str(tag) + ">");
    p.type = static_cast<std::uint8_t>(type);
    std::int64_t v = 0;
    auto noChildren = [&]() {
        for (Node ch = t.firstChild(); ch; ch = ch.nextSibling())
            if (!unexpected(ch, tag)) return false;
        return true;
    };
    auto onlyParameters = [&]() {
        for (Node ch = t.firstChild(); ch; ch = ch.nextSibling()) {
            if (ch.isElement() && same(ch.name(), "Parameter")) continue;
            if (!unexpected(ch, tag)) return false;
        }
        return true;
    };
    auto size = [&](Attr a, bool allowFour) {
        v = 1;
        if (!integer(t, a, "Size", 1, 4, false, v)) return false;
        if (v == 3 || (v == 4 && !allowFour))
            return bad(t, allowFour ? "Size must be 1, 2 or 4" : "Size must be 1 or 2");
        p.size = static_cast<std::uint8_t>(v);
        return true;
    };
    static const std::string_view kSize[] = {"Size"};
    Attr sizeAttr[1];

    switch (type) {
    case QRN_TYPE_NUMBER: {
        static const std::string_view kAttrs[] = {"Type", "Min", "Max", "Step", "Exponent", "Unit"};
        Attr at[6];
        if (!collect(t, kAttrs, at) || !noChildren()) return false;
        static const struct {
            std::string_view name;
            NumberType type;
            std::uint8_t size;
            std::int64_t lo, hi;
        } kNumbers[] = {{"UByte", NumberType::UByte, 1, 0, 0xFF},
                        {"UWord", NumberType::UWord, 2, 0, 0xFFFF},
                        {"ULong", NumberType::ULong, 4, 0, 0xFFFFFFFFll},
                        {"SByte", NumberType::SByte, 1, -128, 127},
                        {"SWord", NumberType::SWord, 2, -32768, 32767},
                        {"SLong", NumberType::SLong, 4, INT32_MIN, INT32_MAX}};
        const std::string_view nt = at[0].value();
        p.number = static_cast<std::uint32_t>(c_.numbers.size());
        NumberDef& nd = c_.numbers.grow();
        bool found = false;
        for (const auto& k : kNumbers) {
            if (!same(nt, k.name)) continue;
            found = true;
            nd.numberType = k.type;
            p.size = k.size;
            nd.minimum = k.lo;
            nd.maximum = k.hi;
            if (!integer(t, at[1], "Min", k.lo, k.hi, false, nd.minimum) ||
                !integer(t, at[2], "Max", k.lo, k.hi, false, nd.maximum))
                return false;
        }
        if (!found) return bad(t, "Type must be UByte, UWord, ULong, SByte, SWord or SLong");
        if (nd.minimum > nd.maximum) return bad(t, "Min is greater than Max");
        std::int64_t exponent = 0;
        if (!integer(t, at[3], "Step", 1, 0xFFFFFFFFll, false, nd.step) ||
            !integer(t, at[4], "Exponent", -30, 30, false, exponent))
            return false;
        nd.exponent = static_cast<std::int8_t>(exponent);
        if (at[5]) nd.unit = addText(at[5].value());
        return true;
    }
    case QRN_TYPE_ENUM:
        if (!collect(t, kSize, sizeAttr) || !size(sizeAttr[0], false)) return false;
        return readValues(t, "TEnumValue", "Code", p.size == 1 ? 0xFF : 0xFFFF, p);
    case QRN_TYPE_BOOLFIELD:
        if (!collect(t, kSize, sizeAttr) || !size(sizeAttr[0], true)) return false;
        return readValues(t, "TBit", "Pos", p.size * 8 - 1, p);
    case QRN_TYPE_BOOLEAN:
        return collect(t, kSize, sizeAttr) && size(sizeAttr[0], true) && noChildren();
    case QRN_TYPE_BITFIELD: {
        static const std::string_view kAttrs[] = {"Size", "Mask"};
        Attr at[2];
        if (!collect(t, kAttrs, at) || !size(at[0], true) || !noChildren()) return false;
        const std::int64_t all = p.size == 4 ? 0xFFFFFFFFll : (std::int64_t(1) << (8 * p.size)) - 1;
        v = all;
        if (!integer(t, at[1], "Mask", 1, all, false, v)) return false;
        p.mask = static_cast<std::uint32_t>(v);
        return true;
    }
    case QRN_TYPE_STRING: {
        static const std::string_view kAttrs[] = {"MaxLength", "Coding"};
        Attr at[2];
        if (!collect(t, kAttrs, at) || !noChildren()) return false;
        v = 0;
        if (!integer(t, at[0], "MaxLength", 1, kMaxCount, false, v)) return false;
        p.maxLength = static_cast<std::uint16_t>(v);
        v = 0;
        if (!integer(t, at[1], "Coding", 0, 0xFF, false, v)) return false;
        p.coding = static_cast<std::uint8_t>(v);
        return true;
    }
    case QRN_TYPE_RAWSTREAM: {
        static const std::string_view kAttrs[] = {"MaxLength"};
        Attr at[1];
        p.prefixed = same(tag, "TShortStream");
        if (!collect(t, kAttrs, at) || !noChildren()) return false;
        v = 0;
        if (!integer(t, at[0], "MaxLength", 1, p.prefixed ? 0xFF : kMaxCount, false, v)) return false;
        p.maxLength = static_cast<std::uint16_t>(v);
        return true;
    }
    case QRN_TYPE_ARRAY: {
        static const std::string_view kAttrs[] = {"MaxIndex"};
        Attr at[1];
        if (!collect(t, kAttrs, at)) return false;
        v = 0;
        if (!integer(t, at[0], "MaxIndex", 1, kMaxCount, false, v)) return false;
        p.maxIndex = static_cast<std::uint16_t>(v);
        if (!onlyParameters()) return false;
        return readParams(t, p.children, depth + 1, false, QRN_KIND_ELEMENT, true);
    }
    case QRN_TYPE_RECORD:
        if (!noAttributes(t) || !onlyParameters()) return false;
        if (countChildren(t, "Parameter") == 0) return bad(t, "<TRecord> needs at least one <Parameter>");
        return readParams(t, p.children, depth + 1, restHere, QRN_KIND_FIELD, false);
    case QRN_TYPE_STREAM:
        return readStream(t, p, depth);
    default: // void, function ids, error code, undefined
        return noAttributes(t) && noChildren();
    }
}

bool Reader::readStream(Node t, ParamDef& p, int depth) {
    static const std::string_view kAttrs[] = {"Selector"};
    Attr at[1];
    if (!collect(t, kAttrs, at)) return false;
    const Text selectorName = at[0] ? addText(at[0].value()) : Text();
    if (depth + 1 > kMaxParamDepth) return fail(t, QRN_ERR_LIMIT, "parameters nested deeper than 16 levels");
    p.children.first = static_cast<std::uint32_t>(c_.params.size());
    p.children.count = countChildren(t, "TStreamCase");
    if (p.children.count > 1 && selectorName.empty())
        return bad(t, "a stream with several cases needs a Selector");
    c_.params.resize(p.children.end());
    SeenSet<std::string_view>& caseNames = caseNames_[depth];
    const bool hashed = p.children.count > kShortRun;
    if (hashed) caseNames.reset(p.children.count);
    std::uint32_t i = 0;
    bool seenDefault = false;
    for (Node ch = t.firstChild(); ch; ch = ch.nextSibling()) {
        if (!ch.isElement() || !same(ch.name(), "TStreamCase")) {
            if (!unexpected(ch, "TStream")) return false;
            continue;
        }
        static const std::string_view kCase[] = {"Name", "Values", "MaxIndex"};
        Attr ca[3];
        ParamDef& sc = c_.params[p.children.first + i]; // reserved above, filled in place
        sc.type = QRN_TYPE_STREAMCASE;
        sc.role = QRN_KIND_CASE;
        std::int64_t v = 0;
        if (!collect(ch, kCase, ca) || !name(ch, ca[0], "Name", true, sc.name) ||
            !integer(ch, ca[2], "MaxIndex", 1, kMaxCount, false, v))
            return false;
        sc.indexed = static_cast<bool>(ca[2]);
        sc.maxIndex = static_cast<std::uint16_t>(v);
        sc.values.first = static_cast<std::uint32_t>(c_.values.size());
        std::string_view rest = ca[1].value();
        while (!(rest = trimBlanks(rest)).empty()) {
            std::size_t end = rest.find_first_of(" \t\r\n");
            std::int64_t value = 0;
            if (!parseInteger(rest.substr(0, end), true, value))
                return bad(ch, "Values holds something other than numbers");
            c_.values.grow().code = value;
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        }
        sc.values.count = static_cast<std::uint32_t>(c_.values.size()) - sc.values.first;
        if (sc.values.count == 0) {
            if (seenDefault) return bad(ch, "a stream has at most one case without Values");
            seenDefault = true;
        }
        bool seenDescription = false;
        for (Node d = ch.firstChild(); d; d = d.nextSibling()) {
            if (d.isElement() && same(d.name(), "Parameter")) continue;
            if (d.isElement() && same(d.name(), "Description")) {
                if (!onlyOnce(d, seenDescription) || !description(d, sc.description)) return false;
            } else if (!unexpected(d, "TStreamCase")) {
                return false;
            }
        }
        if (!hashed || !caseNames.insert(c_.view(sc.name))) {
            for (std::uint32_t j = p.children.first; j < p.children.first + i; ++j) {
                if (c_.view(c_.params[j].name) == c_.view(sc.name))
                    return bad(ch, "stream case " + c_.str(sc.name) + " appears twice");
            }
        }
        // A repeated case cannot end in data that runs to the end.
        if (!readParams(ch, sc.children, depth + 2, !sc.indexed, QRN_KIND_FIELD, false)) return false;
        ++i;
    }
    pendingSelector_ = selectorName; // set last: the cases above read sequences of their own
    return true;
}

bool Reader::readValues(Node t, const char* child, const char* codeAttr, std::int64_t maxCode,
                        ParamDef& p) {
    p.values.first = static_cast<std::uint32_t>(c_.values.size());
    const std::string_view attrs[] = {codeAttr, "Name"};
    std::vector<std::size_t>& offsets = valueOffsets_; // value tables do not nest
    offsets.clear();
    for (Node ch = t.firstChild(); ch; ch = ch.nextSibling()) {
        if (!ch.isElement() || !same(ch.name(), child)) {
            if (!unexpected(ch, t.name())) return false;
            continue;
        }
        NamedValue& nv = c_.values.grow();
        Attr at[2];
        if (!collect(ch, attrs, at) || !integer(ch, at[0], codeAttr, 0, maxCode, true, nv.code) ||
            !name(ch, at[1], "Name", true, nv.name))
            return false;
        if (Node d = ch.firstChild()) {
            bool seenDescription = false;
            for (; d; d = d.nextSibling()) {
                if (d.isElement() && same(d.name(), "Description")) {
                    if (!onlyOnce(d, seenDescription) || !description(d, nv.description)) return false;
                } else if (!unexpected(d, child)) {
                    return false;
                }
            }
        }
        offsets.push_back(ch.offset());
    }
    p.values.count = static_cast<std::uint32_t>(c_.values.size()) - p.values.first;
    if (p.values.count == 0)
        return bad(t, "<" + str(t.name()) + "> needs at least one <" + child + ">");

    const std::uint32_t first = p.values.first;
    const auto [code, name] = valueRepeats(first, p.values.count);
    if (code >= 0)
        return bad(offsets[code], std::string(codeAttr) + " " + std::to_string(c_.values[first + code].code) +
                                    " appears twice");
    if (name >= 0)
        return bad(offsets[name], "value name " + c_.str(c_.values[first + name].name) + " appears twice");
    return true;
}

// Line and column of the error's offset: lines counted by LF, columns in bytes.
void locate(const char* data, std::size_t size, LoadError& err) {
    if (err.offset == static_cast<std::size_t>(-1)) return;
    const std::size_t end = std::min(err.offset, size);
    unsigned line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (data[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    err.line = line;
    err.column = static_cast<unsigned>(end - lineStart + 1);
}

// The whole file in one buffer, followed by the zero padding the tokenizer needs.
bool readBytes(const std::filesystem::path& path, std::size_t size, std::unique_ptr<char[]>& out) {
    // Not zero-filled: the read overwrites every byte.
    out.reset(new char[size + kXmlPadding]);
    std::memset(out.get() + size, 0, kXmlPadding);
#if defined(__unix__) || defined(__APPLE__)
    // One read into the buffer: no stream buffer in between.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, out.get() + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return got == size;
#else
    std::ifstream in(path, std::ios::binary);
    if (in) in.read(out.get(), static_cast<std::streamsize>(size));
    return in && static_cast<std::size_t>(in.gcount()) == size;
#endif
}

} // namespace

std::shared_ptr<const Catalog> parseCatalog(const char* data, std::size_t size, LoadError& err) {
    const std::string_view text(data, size);
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        err.code = QRN_ERR_XML;
        err.what = "the file is empty";
        return nullptr;
    }
    std::string utf8;
    std::size_t where = 0;
    if (!xmlToUtf8(data, size, utf8, err.what, where)) {
        err.code = QRN_ERR_XML;
        err.what = "not well-formed XML: " + err.what;
        err.offset = where;
        locate(utf8.data(), utf8.size(), err);
        return nullptr;
    }
    if (!utf8.empty()) { // converted: positions are those in the UTF-8 text
        size = utf8.size();
        utf8.append(kXmlPadding, '\0');
        data = utf8.data();
    }
    auto catalog = std::make_shared<Catalog>();
    XmlTokenizer tok(data, size, catalog->pool);
    Reader reader(*catalog, err, data, tok);
    if (!reader.read(tok)) {
        locate(data, size, err);
        return nullptr;
    }
    catalog->fblocks.shrink_to_fit();
    catalog->attributes.shrink_to_fit();
    catalog->instances.shrink_to_fit();
    return catalog;
}

std::shared_ptr<const Catalog> readCatalogFile(const std::string& path, LoadError& err) {
    const std::filesystem::path fsPath = std::filesystem::u8path(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fsPath, ec)) {
        err.code = QRN_ERR_FILE;
        err.what = std::filesystem::exists(fsPath, ec) ? "not a regular file" : "the file does not exist";
        return nullptr;
    }
    const std::uintmax_t size = std::filesystem::file_size(fsPath, ec);
    if (ec) {
        err.code = QRN_ERR_FILE;
        err.what = "cannot read the file size: " + ec.message();
        return nullptr;
    }
    if (size > kMaxFileBytes) {
        err.code = QRN_ERR_LIMIT;
        err.what = "the file is larger than 512 MiB";
        return nullptr;
    }
    std::unique_ptr<char[]> bytes;
    if (!readBytes(fsPath, static_cast<std::size_t>(size), bytes)) {
        err.code = QRN_ERR_FILE;
        err.what = "cannot read the file";
        return nullptr;
    }
    return parseCatalog(bytes.get(), static_cast<std::size_t>(size), err);
}

} // namespace quarnel
