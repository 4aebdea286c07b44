#include "CatalogReader.h"

#include "Excerpt.h"
#include "FileName.h"
#include "NumberText.h"
#include "QuarnelDefs.h"
#include "SeenSet.h"
#include "XmlRules.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <system_error>

namespace quarnel {

namespace {

const std::size_t kMaxNameBytes = 256;
const std::size_t kMaxTextBytes = 1u << 20;
const std::int64_t kMaxCount = 0xFFFF;
const char kBom[] = "\xEF\xBB\xBF";

struct TypeName {
    const char* element;
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

// Inline comparison: element and attribute names are compared hundreds of thousands of
// times per large catalog, so no library call per comparison.
inline bool same(const char* s, const char* lit) {
    while (*lit) {
        if (*s++ != *lit++) return false;
    }
    return *s == 0;
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
    Reader(Catalog& catalog, XmlRules& xml, LoadError& err) : c_(catalog), xml_(xml), err_(err) {}

    bool readRoot(pugi::xml_node root);

private:
    Catalog& c_;
    XmlRules& xml_; // applied to everything read, as it is read
    LoadError& err_;
    std::vector<pugi::xml_node> valueNodes_;
    SeenSet<std::int64_t> seenIds_;
    Text pendingSelector_; // selector name of the stream just read, for its sequence to resolve
    SeenSet<std::string_view> seenNames_;
    SeenSet<std::int64_t> functionIds_;
    SeenSet<std::string_view> functionNames_;
    // Longer runs are checked for repeats with a hashed set instead of pairwise. Parameter
    // sequences and stream cases nest, one active run per depth; attributes do not.
    static constexpr std::uint32_t kPairwiseRun = 16;
    SeenSet<std::string_view> paramNames_[kMaxParamDepth + 1];
    SeenSet<std::string_view> caseNames_[kMaxParamDepth + 1];
    SeenSet<std::int64_t> attributeIds_;
    std::string joined_; // a description in several pieces

    bool fail(pugi::xml_node at, int code, std::string what) {
        err_.code = code;
        err_.what = std::move(what);
        if (at) err_.offset = static_cast<std::size_t>(at.offset_debug());
        return false;
    }
    bool bad(pugi::xml_node at, const std::string& what) { return fail(at, QRN_ERR_CONTENT, what); }

    Text addText(std::string_view s) { return c_.pool.add(s); }
    // Every quotation of file text in a message is bounded (Excerpt.h).
    static std::string q(std::string_view s) { return quoted(s); }
    std::string q(Text t) const { return quoted(c_.view(t)); }
    // Element and attribute names are quoted as written; values and texts once decoded.
    static std::string tag(pugi::xml_node n) { return excerpt(n.name(), '<', '>'); }

    // Collects the attributes of n in one pass into found[i] for names[i], their values
    // decoded; any other attribute is an error.
    template <std::size_t N>
    bool collect(pugi::xml_node n, const char* const (&names)[N], pugi::xml_attribute (&found)[N]) {
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            const char* an = a.name();
            std::size_t i = 0;
            while (i < N && !same(an, names[i]))
                ++i;
            if (i == N) return bad(n, "unknown attribute " + excerpt(an) + " on " + tag(n));
            if (found[i]) return xml_.repeated(n, a);
            if (!xml_.value(a)) return false;
            found[i] = a;
        }
        return true;
    }
    bool noAttributes(pugi::xml_node n) {
        if (pugi::xml_attribute a = n.first_attribute())
            return bad(n, "unknown attribute " + excerpt(a.name()) + " on " + tag(n));
        return true;
    }

    bool name(pugi::xml_node n, pugi::xml_attribute a, const char* attr, bool required, Text& out) {
        if (!a) {
            if (required) return bad(n, tag(n) + " has no " + attr);
            return true;
        }
        std::string_view s = a.value();
        if (s.empty()) return bad(n, tag(n) + " has an empty " + attr);
        if (s.size() > kMaxNameBytes)
            return fail(n, QRN_ERR_LIMIT, std::string(attr) + " " + q(s) + " is longer than 256 bytes");
        if (s.front() == ' ' || s.back() == ' ')
            return bad(n, std::string(attr) + " " + q(s) + " begins or ends with a space");
        for (char ch : s) {
            if (kNameChars.bad[static_cast<unsigned char>(ch)])
                return bad(n, std::string(attr) + " " + q(s) +
                                  " contains a character of .[](),\" or a control character");
        }
        out = addText(s);
        return true;
    }

    bool integer(pugi::xml_node n, pugi::xml_attribute a, const char* attr, std::int64_t lo, std::int64_t hi,
                 bool required, std::int64_t& out) {
        if (!a) {
            if (required) return bad(n, tag(n) + " has no " + attr);
            return true;
        }
        std::int64_t v = 0;
        if (!parseInteger(a.value(), true, v))
            return bad(n, std::string(attr) + " " + q(a.value()) + " is not a number");
        if (v < lo || v > hi) {
            bool absurd = v > hi && hi >= kMaxCount;
            return fail(n, absurd ? QRN_ERR_LIMIT : QRN_ERR_CONTENT,
                        std::string(attr) + " " + q(a.value()) + " is outside " + std::to_string(lo) +
                            " to " + std::to_string(hi));
        }
        out = v;
        return true;
    }

    bool flag(pugi::xml_node n, pugi::xml_attribute a, const char* attr, bool& out) {
        if (!a) return true;
        const char* v = a.value();
        if (same(v, "true") || same(v, "1"))
            out = true;
        else if (same(v, "false") || same(v, "0"))
            out = false;
        else
            return bad(n, std::string(attr) + " must be true or false");
        return true;
    }

    // The text and CDATA pieces in order; comments between them are left out. A text in one
    // piece, as nearly all are, is decoded straight into the pool.
    bool description(pugi::xml_node n, Text& out) {
        if (!noAttributes(n)) return false;
        pugi::xml_node single;
        std::size_t pieces = 0;
        for (pugi::xml_node ch = n.first_child(); ch; ch = ch.next_sibling()) {
            if (ch.type() == pugi::node_element) return bad(ch, "<Description> holds text only");
            if (ch.type() == pugi::node_comment && !xml_.comment(ch)) return false;
            if (ch.type() != pugi::node_pcdata && ch.type() != pugi::node_cdata) continue;
            single = ch;
            ++pieces;
        }
        if (pieces == 0) return true;
        std::size_t length = 0;
        if (pieces == 1 && (length = std::strlen(single.value())) <= TextPool::kBlockSize) {
            char* to = c_.pool.reserve(length);
            char* end = xml_.text(single, to);
            if (!end) return false;
            length = static_cast<std::size_t>(end - to);
            if (length > kMaxTextBytes) return fail(n, QRN_ERR_LIMIT, "description longer than 1 MiB");
            out = c_.pool.commit(length);
            return true;
        }
        joined_.clear();
        for (pugi::xml_node ch = n.first_child(); ch; ch = ch.next_sibling()) {
            if (ch.type() != pugi::node_pcdata && ch.type() != pugi::node_cdata) continue;
            if (!xml_.text(ch)) return false;
            joined_ += ch.value();
            if (joined_.size() > kMaxTextBytes)
                return fail(n, QRN_ERR_LIMIT, "description longer than 1 MiB");
        }
        out = addText(joined_);
        return true;
    }

    bool onlyOnce(pugi::xml_node n, bool& seen) {
        if (seen) return bad(n, "second " + tag(n));
        seen = true;
        return true;
    }

    bool unexpected(pugi::xml_node n, const char* parent) {
        if (n.type() == pugi::node_element)
            return bad(n, "unexpected " + tag(n) + " in " + quoted(parent, '<', '>'));
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            return bad(n, "unexpected text " + excerpt(n.value()) + " in " + quoted(parent, '<', '>'));
        if (n.type() == pugi::node_comment) return xml_.comment(n);
        return true;
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

    // Reports the first repeated id or name among all[first ..], one record per node.
    template <class Records>
    bool checkRepeats(const Records& all, std::uint32_t first, const std::vector<pugi::xml_node>& nodes,
                      const char* what, int digits, const std::string& where) {
        auto records = [&](std::uint32_t i) -> const auto& {
            return all[first + i];
        };
        const auto [id, name] = firstRepeats(
            static_cast<std::uint32_t>(nodes.size()),
            [&](std::uint32_t i) { return std::int64_t(records(i).id); },
            [&](std::uint32_t i) { return c_.view(records(i).name); });
        if (id >= 0)
            return bad(nodes[id], std::string(what) + " id " + formatHex(records(id).id, digits) +
                                      " appears twice" + where);
        if (name >= 0)
            return bad(nodes[name],
                       std::string(what) + " name " + q(records(name).name) + " appears twice" + where);
        return true;
    }

    // Whether key repeats one of the `earlier` keys of its run: through the run's hashed set
    // for a long run, pairwise for a short one.
    template <class Key, class EarlierKey>
    static bool repeats(bool hashed, SeenSet<Key>& set, Key key, std::uint32_t earlier, EarlierKey keyAt) {
        if (hashed) return !set.insert(key);
        for (std::uint32_t j = 0; j < earlier; ++j)
            if (keyAt(j) == key) return true;
        return false;
    }

    static std::uint32_t countChildren(pugi::xml_node n, const char* name) {
        std::uint32_t count = 0;
        for (pugi::xml_node ch = n.child(name); ch; ch = ch.next_sibling(name))
            ++count;
        return count;
    }

    bool readFBlock(pugi::xml_node n, FBlockDef& fb);
    bool readFunction(pugi::xml_node n, FunctionDef& fn);
    bool readOpType(pugi::xml_node n, bool method, OpTypeDef& op);
    bool readParams(pugi::xml_node parent, Range& out, int depth, bool restAllowed, int defaultKind,
                    bool element);
    bool readParam(pugi::xml_node n, ParamDef& p, int depth, bool restHere, bool element);
    bool readType(pugi::xml_node t, ParamDef& p, int depth, bool restHere);
    bool readStream(pugi::xml_node t, ParamDef& p, int depth);
    bool readValues(pugi::xml_node t, const char* child, const char* codeAttr, std::int64_t maxCode,
                    ParamDef& p);
};

bool Reader::readRoot(pugi::xml_node root) {
    if (!same(root.name(), "FunctionCatalog"))
        return bad(root, "root element is " + tag(root) + ", not <FunctionCatalog>");
    static const char* const kAttrs[] = {"Name"};
    pugi::xml_attribute at[1];
    if (!collect(root, kAttrs, at) || !name(root, at[0], "Name", true, c_.name)) return false;

    std::vector<pugi::xml_node> nodes;
    bool seenVersion = false, seenDescription = false;
    for (pugi::xml_node n = root.first_child(); n; n = n.next_sibling()) {
        const char* tag = n.name();
        if (n.type() != pugi::node_element) {
            if (!unexpected(n, "FunctionCatalog")) return false;
        } else if (same(tag, "FBlock")) {
            FBlockDef fb;
            if (!readFBlock(n, fb)) return false;
            c_.fblocks.push_back(fb);
            nodes.push_back(n);
        } else if (same(tag, "CatalogVersion")) {
            static const char* const kVersion[] = {"Release", "Date", "Author"};
            pugi::xml_attribute v[3];
            if (!onlyOnce(n, seenVersion) || !collect(n, kVersion, v)) return false;
            c_.version = addText(v[0].value());
        } else if (same(tag, "Description")) {
            if (!onlyOnce(n, seenDescription) || !description(n, c_.description)) return false;
        } else if (!unexpected(n, "FunctionCatalog")) {
            return false;
        }
    }
    return checkRepeats(c_.fblocks, 0, nodes, "FBlock", 2, "");
}

bool Reader::readFBlock(pugi::xml_node n, FBlockDef& fb) {
    static const char* const kAttrs[] = {"ID", "Name", "Hidden", "Instances"};
    pugi::xml_attribute at[4];
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
                return bad(n, "Instances holds " + q(word) + ", not an instance id 0 to 0xFF");
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
    for (pugi::xml_node ch = n.first_child(); ch; ch = ch.next_sibling()) {
        const char* tag = ch.name();
        if (ch.type() != pugi::node_element) {
            if (!unexpected(ch, "FBlock")) return false;
        } else if (same(tag, "Function")) {
            FunctionDef fn;
            if (!readFunction(ch, fn)) return false;
            // Hashed: an FBlock may have hundreds of functions. Functions do not nest, so
            // these sets serve one FBlock at a time.
            if (!functionIds_.insert(fn.id))
                return bad(ch, "function id " + formatHex(fn.id, 3) + " appears twice in " + q(fb.name));
            if (!functionNames_.insert(c_.view(fn.name)))
                return bad(ch, "function name " + q(fn.name) + " appears twice in " + q(fb.name));
            c_.functions.push_back(fn);
        } else if (same(tag, "Description")) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, fb.description)) return false;
        } else if (same(tag, "Device")) {
            static const char* const kDevice[] = {"Name"};
            pugi::xml_attribute d[1];
            if (!onlyOnce(ch, seenDevice) || !collect(ch, kDevice, d) ||
                !name(ch, d[0], "Name", true, fb.deviceName))
                return false;
            bool seenDeviceDescription = false;
            for (pugi::xml_node dn = ch.first_child(); dn; dn = dn.next_sibling()) {
                if (dn.type() == pugi::node_element && same(dn.name(), "Description")) {
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

bool Reader::readFunction(pugi::xml_node n, FunctionDef& fn) {
    static const char* const kAttrs[] = {"ID", "Name", "Kind", "Class", "Hidden"};
    pugi::xml_attribute at[5];
    std::int64_t id = 0;
    if (!collect(n, kAttrs, at) || !integer(n, at[0], "ID", 0, 0xFFF, true, id) ||
        !name(n, at[1], "Name", true, fn.name) || !flag(n, at[4], "Hidden", fn.hidden))
        return false;
    fn.id = static_cast<std::int32_t>(id);
    const char* kind = at[2].value();
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
        if (code < 0 || code > 29) return bad(n, "unknown function class " + q(at[3].value()));
        fn.functionClass = static_cast<std::int32_t>(code);
    }

    // OpTypes of one function are contiguous: nothing inside an OpType adds OpTypes.
    fn.opTypes.first = static_cast<std::uint32_t>(c_.opTypes.size());
    bool seenDescription = false;
    for (pugi::xml_node ch = n.first_child(); ch; ch = ch.next_sibling()) {
        const char* tag = ch.name();
        if (ch.type() != pugi::node_element) {
            if (!unexpected(ch, "Function")) return false;
        } else if (same(tag, "OPType")) {
            OpTypeDef op;
            if (!readOpType(ch, method, op)) return false;
            for (std::uint32_t i = fn.opTypes.first; i < c_.opTypes.size(); ++i) {
                if (c_.opTypes[i].id == op.id)
                    return bad(ch, "OpType id " + formatHex(op.id, 1) + " appears twice in " + q(fn.name));
                if (c_.view(c_.opTypes[i].name) == c_.view(op.name))
                    return bad(ch, "OpType name " + q(op.name) + " appears twice in " + q(fn.name));
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

bool Reader::readOpType(pugi::xml_node n, bool method, OpTypeDef& op) {
    static const char* const kAttrs[] = {"ID", "Name", "Hidden"};
    pugi::xml_attribute at[3];
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
    for (pugi::xml_node ch = n.first_child(); ch; ch = ch.next_sibling()) {
        if (ch.type() == pugi::node_element && same(ch.name(), "Parameter")) continue;
        if (!unexpected(ch, "OPType")) return false;
    }
    return readParams(n, op.params, 1, true, QRN_KIND_PARAMETER, false);
}

bool Reader::readParams(pugi::xml_node parent, Range& out, int depth, bool restAllowed, int defaultKind,
                        bool element) {
    if (depth > kMaxParamDepth) return fail(parent, QRN_ERR_LIMIT, "parameters nested deeper than 16 levels");
    // Parameters nest, so the run of this sequence is reserved before reading its members.
    out.first = static_cast<std::uint32_t>(c_.params.size());
    out.count = countChildren(parent, "Parameter");
    if (element && out.count != 1) return bad(parent, "<TArray> needs exactly one <Parameter>, its element");
    c_.params.resize(out.end());
    const bool hashed = out.count > kPairwiseRun;
    if (hashed) paramNames_[depth].reset(out.count);
    std::uint32_t i = 0;
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
        if (!same(n.name(), "Parameter")) continue;
        ParamDef p;
        pendingSelector_ = Text();
        if (!readParam(n, p, depth, restAllowed && i + 1 == out.count, element)) return false;
        if (p.role == 0) p.role = static_cast<std::uint8_t>(defaultKind);
        if (repeats(hashed, paramNames_[depth], c_.view(p.name), i,
                    [&](std::uint32_t j) { return c_.view(c_.params[out.first + j].name); }))
            return bad(n, "parameter name " + q(p.name) + " appears twice");
        const Text selectorName = pendingSelector_;
        pendingSelector_ = Text();
        if (!selectorName.empty()) {
            for (std::uint32_t j = out.first; j < out.first + i; ++j) {
                if (c_.view(c_.params[j].name) != c_.view(selectorName)) continue;
                const int t = c_.params[j].type;
                if (t != QRN_TYPE_NUMBER && t != QRN_TYPE_ENUM && t != QRN_TYPE_BOOLEAN &&
                    t != QRN_TYPE_BITFIELD && t != QRN_TYPE_ERROR)
                    return bad(n, "stream selector " + q(selectorName) + " is not a number, enum or boolean");
                p.selector = static_cast<std::int16_t>(j - out.first);
            }
            if (p.selector < 0)
                return bad(n, "stream selector " + q(selectorName) + " is not an earlier parameter");
        }
        c_.params[out.first + i++] = p;
    }
    return true;
}

bool Reader::readParam(pugi::xml_node n, ParamDef& p, int depth, bool restHere, bool element) {
    static const char* const kAttrs[] = {"Name", "Role"};
    pugi::xml_attribute at[2];
    if (!collect(n, kAttrs, at) || !name(n, at[0], "Name", !element, p.name)) return false;
    p.named = !p.name.empty();
    if (at[1]) {
        const char* r = at[1].value();
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
    pugi::xml_node typeNode;
    bool seenDescription = false;
    p.attributes.first = static_cast<std::uint32_t>(c_.attributes.size());
    const std::uint32_t attributeCount = countChildren(n, "Attribute");
    if (attributeCount > kPairwiseRun) attributeIds_.reset(attributeCount);
    for (pugi::xml_node ch = n.first_child(); ch; ch = ch.next_sibling()) {
        const char* tag = ch.name();
        if (ch.type() != pugi::node_element) {
            if (!unexpected(ch, "Parameter")) return false;
        } else if (tag[0] == 'T') {
            if (typeNode) return bad(ch, "a parameter has exactly one type element");
            typeNode = ch;
        } else if (same(tag, "Description")) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, p.description)) return false;
        } else if (same(tag, "Attribute")) {
            static const char* const kAttr[] = {"ID", "Value"};
            pugi::xml_attribute aa[2];
            std::int64_t id = 0, value = 0;
            if (!collect(ch, kAttr, aa) || !integer(ch, aa[0], "ID", 0, INT32_MAX, true, id) ||
                !integer(ch, aa[1], "Value", INT32_MIN, INT32_MAX, true, value))
                return false;
            if (id == QRN_ATTR_OFFSET || id == QRN_ATTR_SIZE || id == QRN_ATTR_ARRAY_MAX_INDEX ||
                id == QRN_ATTR_CASE_INDEXED || id == QRN_ATTR_CASE_MAX_INDEX)
                return bad(ch, "attribute " + std::to_string(id) + " is computed and cannot be given");
            if (repeats(
                    attributeCount > kPairwiseRun, attributeIds_, id,
                    static_cast<std::uint32_t>(c_.attributes.size()) - p.attributes.first,
                    [&](std::uint32_t j) { return std::int64_t(c_.attributes[p.attributes.first + j].id); }))
                return bad(ch, "attribute " + std::to_string(id) + " appears twice");
            c_.attributes.push_back({static_cast<std::int32_t>(id), static_cast<std::int32_t>(value)});
        } else if (!unexpected(ch, "Parameter")) {
            return false;
        }
    }
    p.attributes.count = static_cast<std::uint32_t>(c_.attributes.size()) - p.attributes.first;
    if (!typeNode) return bad(n, "parameter " + q(p.name) + " has no type element");
    if (!readType(typeNode, p, depth, restHere)) return false;
    if (takesRest(p) && !restHere)
        return bad(n, "parameter " + q(p.name) + " takes the rest of the data and must come last" +
                          (element ? "; an array element cannot hold such data" : ""));
    return true;
}

bool Reader::readType(pugi::xml_node t, ParamDef& p, int depth, bool restHere) {
    const char* tag = t.name();
    int type = -1;
    for (const TypeName& tn : kTypeElements) {
        if (tn.element[1] == tag[1] && same(tag, tn.element)) {
            type = tn.type;
            break;
        }
    }
    if (type < 0) return bad(t, "unknown type element " + quoted(tag, '<', '>'));
    p.type = static_cast<std::uint8_t>(type);
    std::int64_t v = 0;
    auto noChildren = [&]() {
        for (pugi::xml_node ch = t.first_child(); ch; ch = ch.next_sibling())
            if (!unexpected(ch, tag)) return false;
        return true;
    };
    auto onlyParameters = [&]() {
        for (pugi::xml_node ch = t.first_child(); ch; ch = ch.next_sibling()) {
            if (ch.type() == pugi::node_element && same(ch.name(), "Parameter")) continue;
            if (!unexpected(ch, tag)) return false;
        }
        return true;
    };
    auto size = [&](pugi::xml_attribute a, bool allowFour) {
        v = 1;
        if (!integer(t, a, "Size", 1, 4, false, v)) return false;
        if (v == 3 || (v == 4 && !allowFour))
            return bad(t, allowFour ? "Size must be 1, 2 or 4" : "Size must be 1 or 2");
        p.size = static_cast<std::uint8_t>(v);
        return true;
    };
    static const char* const kSize[] = {"Size"};
    pugi::xml_attribute sizeAttr[1];

    switch (type) {
    case QRN_TYPE_NUMBER: {
        static const char* const kAttrs[] = {"Type", "Min", "Max", "Step", "Exponent", "Unit"};
        pugi::xml_attribute at[6];
        if (!collect(t, kAttrs, at) || !noChildren()) return false;
        static const struct {
            const char* name;
            NumberType type;
            std::uint8_t size;
            std::int64_t lo, hi;
        } kNumbers[] = {{"UByte", NumberType::UByte, 1, 0, 0xFF},
                        {"UWord", NumberType::UWord, 2, 0, 0xFFFF},
                        {"ULong", NumberType::ULong, 4, 0, 0xFFFFFFFFll},
                        {"SByte", NumberType::SByte, 1, -128, 127},
                        {"SWord", NumberType::SWord, 2, -32768, 32767},
                        {"SLong", NumberType::SLong, 4, INT32_MIN, INT32_MAX}};
        const char* nt = at[0].value();
        NumberDef nd;
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
        p.number = static_cast<std::uint32_t>(c_.numbers.size());
        c_.numbers.push_back(nd);
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
        static const char* const kAttrs[] = {"Size", "Mask"};
        pugi::xml_attribute at[2];
        if (!collect(t, kAttrs, at) || !size(at[0], true) || !noChildren()) return false;
        const std::int64_t all = p.size == 4 ? 0xFFFFFFFFll : (std::int64_t(1) << (8 * p.size)) - 1;
        v = all;
        if (!integer(t, at[1], "Mask", 1, all, false, v)) return false;
        p.mask = static_cast<std::uint32_t>(v);
        return true;
    }
    case QRN_TYPE_STRING: {
        static const char* const kAttrs[] = {"MaxLength", "Coding"};
        pugi::xml_attribute at[2];
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
        static const char* const kAttrs[] = {"MaxLength"};
        pugi::xml_attribute at[1];
        p.prefixed = same(tag, "TShortStream");
        if (!collect(t, kAttrs, at) || !noChildren()) return false;
        v = 0;
        if (!integer(t, at[0], "MaxLength", 1, p.prefixed ? 0xFF : kMaxCount, false, v)) return false;
        p.maxLength = static_cast<std::uint16_t>(v);
        return true;
    }
    case QRN_TYPE_ARRAY: {
        static const char* const kAttrs[] = {"MaxIndex"};
        pugi::xml_attribute at[1];
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

bool Reader::readStream(pugi::xml_node t, ParamDef& p, int depth) {
    static const char* const kAttrs[] = {"Selector"};
    pugi::xml_attribute at[1];
    if (!collect(t, kAttrs, at)) return false;
    const Text selectorName = at[0] ? addText(at[0].value()) : Text();
    if (depth + 1 > kMaxParamDepth) return fail(t, QRN_ERR_LIMIT, "parameters nested deeper than 16 levels");
    p.children.first = static_cast<std::uint32_t>(c_.params.size());
    p.children.count = countChildren(t, "TStreamCase");
    if (p.children.count > 1 && selectorName.empty())
        return bad(t, "a stream with several cases needs a Selector");
    c_.params.resize(p.children.end());
    const bool hashed = p.children.count > kPairwiseRun;
    if (hashed) caseNames_[depth].reset(p.children.count);
    std::uint32_t i = 0;
    bool seenDefault = false;
    for (pugi::xml_node ch = t.first_child(); ch; ch = ch.next_sibling()) {
        if (ch.type() != pugi::node_element || !same(ch.name(), "TStreamCase")) {
            if (!unexpected(ch, "TStream")) return false;
            continue;
        }
        static const char* const kCase[] = {"Name", "Values", "MaxIndex"};
        pugi::xml_attribute ca[3];
        ParamDef sc;
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
            NamedValue selectorValue;
            selectorValue.code = value;
            c_.values.push_back(selectorValue);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        }
        sc.values.count = static_cast<std::uint32_t>(c_.values.size()) - sc.values.first;
        if (sc.values.count == 0) {
            if (seenDefault) return bad(ch, "a stream has at most one case without Values");
            seenDefault = true;
        }
        bool seenDescription = false;
        for (pugi::xml_node d = ch.first_child(); d; d = d.next_sibling()) {
            if (d.type() == pugi::node_element && same(d.name(), "Parameter")) continue;
            if (d.type() == pugi::node_element && same(d.name(), "Description")) {
                if (!onlyOnce(d, seenDescription) || !description(d, sc.description)) return false;
            } else if (!unexpected(d, "TStreamCase")) {
                return false;
            }
        }
        if (repeats(hashed, caseNames_[depth], c_.view(sc.name), i,
                    [&](std::uint32_t j) { return c_.view(c_.params[p.children.first + j].name); }))
            return bad(ch, "stream case " + q(sc.name) + " appears twice");
        // A repeated case cannot end in data that runs to the end.
        if (!readParams(ch, sc.children, depth + 2, !sc.indexed, QRN_KIND_FIELD, false)) return false;
        c_.params[p.children.first + i++] = sc;
    }
    pendingSelector_ = selectorName; // set last: the cases above read sequences of their own
    return true;
}

bool Reader::readValues(pugi::xml_node t, const char* child, const char* codeAttr, std::int64_t maxCode,
                        ParamDef& p) {
    p.values.first = static_cast<std::uint32_t>(c_.values.size());
    const char* const attrs[] = {codeAttr, "Name"};
    std::vector<pugi::xml_node>& nodes = valueNodes_; // value tables do not nest
    nodes.clear();
    for (pugi::xml_node ch = t.first_child(); ch; ch = ch.next_sibling()) {
        if (ch.type() != pugi::node_element || !same(ch.name(), child)) {
            if (!unexpected(ch, t.name())) return false;
            continue;
        }
        NamedValue nv;
        pugi::xml_attribute at[2];
        if (!collect(ch, attrs, at) || !integer(ch, at[0], codeAttr, 0, maxCode, true, nv.code) ||
            !name(ch, at[1], "Name", true, nv.name))
            return false;
        if (pugi::xml_node d = ch.first_child()) {
            bool seenDescription = false;
            for (; d; d = d.next_sibling()) {
                if (d.type() == pugi::node_element && same(d.name(), "Description")) {
                    if (!onlyOnce(d, seenDescription) || !description(d, nv.description)) return false;
                } else if (!unexpected(d, child)) {
                    return false;
                }
            }
        }
        c_.values.push_back(nv);
        nodes.push_back(ch);
    }
    p.values.count = static_cast<std::uint32_t>(c_.values.size()) - p.values.first;
    if (p.values.count == 0) return bad(t, tag(t) + " needs at least one " + quoted(child, '<', '>'));

    const std::uint32_t first = p.values.first;
    const auto [code, name] = firstRepeats(
        p.values.count, [&](std::uint32_t i) { return c_.values[first + i].code; },
        [&](std::uint32_t i) { return c_.view(c_.values[first + i].name); });
    if (code >= 0)
        return bad(nodes[code], std::string(codeAttr) + " " + std::to_string(c_.values[first + code].code) +
                                    " appears twice");
    if (name >= 0)
        return bad(nodes[name], "value name " + q(c_.values[first + name].name) + " appears twice");
    return true;
}

// Line and column of a byte offset in the file: lines end in LF, CR LF or CR, as in XML;
// columns count characters, and a byte-order mark takes none.
void locate(const std::filesystem::path& path, std::size_t offset, unsigned& line, unsigned& column) {
    std::ifstream in(path, std::ios::binary);
    line = 1;
    column = 1;
    std::size_t pos = 0;
    bool afterCr = false;
    char buf[65536];
    while (in && pos < offset) {
        in.read(buf, sizeof buf);
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        std::size_t i = 0;
        if (pos == 0 && got >= 3 && offset >= 3 && std::memcmp(buf, kBom, 3) == 0) i = pos = 3;
        for (; i < got && pos < offset; ++i, ++pos) {
            const unsigned char c = static_cast<unsigned char>(buf[i]);
            if (c == '\r' || (c == '\n' && !afterCr)) {
                ++line;
                column = 1;
            } else if (c != '\n' && (c & 0xC0) != 0x80) { // not a UTF-8 continuation byte
                ++column;
            }
            afterCr = c == '\r';
        }
    }
}

// After a refusal: the first XML error of the file, if it has one, is what is reported, as the
// file is XML before it is a catalog. The reader decodes texts in place as it goes, so the
// whole check runs on the bytes read afresh.
void preferXmlError(char* data, std::size_t size, std::size_t bom, const std::function<bool(char*)>& reread,
                    LoadError& err) {
    if (!reread || !reread(data)) return;
    data[size] = 0;
    pugi::xml_document doc;
    if (!doc.load_buffer_inplace(data, size + 1, kXmlParseOptions, pugi::encoding_utf8)) return;
    LoadError xmlErr;
    Replacements unused;
    XmlRules rules(data, size, bom, xmlErr, unused);
    if (!rules.checkAll(doc)) err = xmlErr;
}

std::shared_ptr<Catalog> parse(char* data, std::size_t size, LoadError& err, std::size_t& replacedOffset,
                               const std::function<bool(char*)>& reread) {
    const std::size_t bom = size >= 3 && std::memcmp(data, kBom, 3) == 0 ? 3 : 0;
    if (std::string_view(data + bom, size - bom).find_first_not_of(" \t\r\n") == std::string_view::npos) {
        err.code = QRN_ERR_XML;
        err.what = "the file is empty";
        return nullptr;
    }
    if (!checkCharacters(data, size, err)) return nullptr;
    // The terminator is parsed with the text: without one the parser would overwrite the last
    // byte with its own, and text after the root element could lose its last character.
    data[size] = 0;
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer_inplace(data, size + 1, kXmlParseOptions, pugi::encoding_utf8);
    if (!parsed) {
        err.code = QRN_ERR_XML;
        err.what = std::string("not well-formed XML: ") + parsed.description();
        err.offset = static_cast<std::size_t>(parsed.offset);
        return nullptr;
    }
    Replacements replaced;
    XmlRules xml(data, size, bom, err, replaced);
    pugi::xml_node root;
    auto catalog = std::make_shared<Catalog>();
    Reader reader(*catalog, xml, err);
    if (!xml.checkDocument(doc, root) || !reader.readRoot(root)) {
        preferXmlError(data, size, bom, reread, err);
        return nullptr;
    }
    catalog->fblocks.shrink_to_fit();
    catalog->attributes.shrink_to_fit();
    catalog->instances.shrink_to_fit();
    catalog->replaced.count = replaced.count;
    catalog->replaced.first = replaced.first;
    replacedOffset = replaced.offset;
    return catalog;
}

} // namespace

std::shared_ptr<const Catalog> readCatalogFile(const std::string& path, LoadError& err) {
    const std::filesystem::path fsPath = filePath(path);
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
    // Not zero-filled: the read overwrites every byte.
    std::unique_ptr<char[]> bytes(new char[static_cast<std::size_t>(size) + 1]);
    std::ifstream in(fsPath, std::ios::binary);
    if (in) in.read(bytes.get(), static_cast<std::streamsize>(size));
    if (!in || static_cast<std::uintmax_t>(in.gcount()) != size) {
        err.code = QRN_ERR_FILE;
        err.what = "cannot read the file";
        return nullptr;
    }
    in.close();
    std::size_t replacedOffset = 0;
    const auto reread = [&](char* to) {
        std::ifstream again(fsPath, std::ios::binary);
        return again.read(to, static_cast<std::streamsize>(size)) &&
               again.gcount() == static_cast<std::streamsize>(size);
    };
    auto catalog = parse(bytes.get(), static_cast<std::size_t>(size), err, replacedOffset, reread);
    if (!catalog) {
        if (err.offset != static_cast<std::size_t>(-1)) locate(fsPath, err.offset, err.line, err.column);
        return nullptr;
    }
    if (catalog->replaced.count)
        locate(fsPath, replacedOffset, catalog->replaced.line, catalog->replaced.column);
    return catalog;
}

} // namespace quarnel
