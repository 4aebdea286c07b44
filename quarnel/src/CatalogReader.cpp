#include "CatalogReader.h"

#include "NumberText.h"
#include "QuarnelDefs.h"

#include <pugixml.hpp>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <system_error>

namespace quarnel {

namespace {

const std::size_t kMaxNameBytes = 256;
const std::size_t kMaxTextBytes = 1u << 20;
const std::int64_t kMaxCount = 0xFFFF;

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
    Reader(Catalog& catalog, LoadError& err) : c_(catalog), err_(err) {}

    bool readRoot(const pugi::xml_document& doc);

private:
    Catalog& c_;
    LoadError& err_;

    bool fail(pugi::xml_node at, int code, std::string what) {
        err_.code = code;
        err_.what = std::move(what);
        if (at) err_.offset = static_cast<std::size_t>(at.offset_debug());
        return false;
    }
    bool bad(pugi::xml_node at, const std::string& what) { return fail(at, QRN_ERR_CONTENT, what); }

    Text addText(std::string_view s) {
        Text t;
        t.offset = static_cast<std::uint32_t>(c_.pool.size());
        t.length = static_cast<std::uint32_t>(s.size());
        c_.pool.append(s.data(), s.size());
        return t;
    }

    bool checkAttributes(pugi::xml_node n, std::initializer_list<const char*> allowed) {
        for (pugi::xml_attribute a : n.attributes()) {
            bool known = false;
            for (const char* name : allowed) {
                if (std::strcmp(a.name(), name) == 0) {
                    known = true;
                    break;
                }
            }
            if (!known)
                return bad(n, std::string("unknown attribute ") + a.name() + " on <" + n.name() + ">");
        }
        return true;
    }

    bool name(pugi::xml_node n, const char* attr, bool required, Text& out) {
        pugi::xml_attribute a = n.attribute(attr);
        if (!a) {
            if (required) return bad(n, std::string("<") + n.name() + "> has no " + attr);
            return true;
        }
        std::string_view s = a.value();
        if (s.empty()) return bad(n, std::string("<") + n.name() + "> has an empty " + attr);
        if (s.size() > kMaxNameBytes)
            return fail(n, QRN_ERR_LIMIT, std::string(attr) + " longer than 256 bytes");
        if (s.front() == ' ' || s.back() == ' ')
            return bad(n, std::string(attr) + " \"" + std::string(s) + "\" begins or ends with a space");
        for (char ch : s) {
            if (static_cast<unsigned char>(ch) < 0x20 || std::strchr(".[](),\"", ch))
                return bad(n, std::string(attr) + " \"" + std::string(s) +
                                  "\" contains a character of .[](),\" "
                                  "or a control character");
        }
        out = addText(s);
        return true;
    }

    bool integer(pugi::xml_node n, const char* attr, std::int64_t lo, std::int64_t hi, bool required,
                 std::int64_t& out) {
        pugi::xml_attribute a = n.attribute(attr);
        if (!a) {
            if (required) return bad(n, std::string("<") + n.name() + "> has no " + attr);
            return true;
        }
        std::int64_t v = 0;
        if (!parseInteger(a.value(), true, v))
            return bad(n, std::string(attr) + " \"" + a.value() + "\" is not a number");
        if (v < lo || v > hi) {
            bool absurd = v > hi && hi >= kMaxCount;
            return fail(n, absurd ? QRN_ERR_LIMIT : QRN_ERR_CONTENT,
                        std::string(attr) + " " + a.value() + " is outside " + std::to_string(lo) + " to " +
                            std::to_string(hi));
        }
        out = v;
        return true;
    }

    bool flag(pugi::xml_node n, const char* attr, bool& out) {
        pugi::xml_attribute a = n.attribute(attr);
        if (!a) return true;
        std::string_view v = a.value();
        if (v == "true" || v == "1")
            out = true;
        else if (v == "false" || v == "0")
            out = false;
        else
            return bad(n, std::string(attr) + " must be true or false");
        return true;
    }

    bool description(pugi::xml_node n, Text& out) {
        if (!checkAttributes(n, {})) return false;
        for (pugi::xml_node ch : n.children()) {
            if (ch.type() == pugi::node_element) return bad(ch, "<Description> holds text only");
        }
        std::string_view s = n.text().get();
        if (s.size() > kMaxTextBytes) return fail(n, QRN_ERR_LIMIT, "description longer than 1 MiB");
        out = addText(s);
        return true;
    }

    bool onlyOnce(pugi::xml_node n, bool& seen) {
        if (seen) return bad(n, std::string("second <") + n.name() + ">");
        seen = true;
        return true;
    }

    bool unexpected(pugi::xml_node n, const char* parent) {
        if (n.type() == pugi::node_element)
            return bad(n, std::string("unexpected <") + n.name() + "> in <" + parent + ">");
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            return bad(n, std::string("unexpected text in <") + parent + ">");
        return true; // comments, processing instructions
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
    bool readValues(pugi::xml_node t, const char* child, const char* codeAttr, std::int64_t maxCode,
                    ParamDef& p);
};

bool Reader::readRoot(const pugi::xml_document& doc) {
    pugi::xml_node root = doc.document_element();
    if (!root) return fail(pugi::xml_node(), QRN_ERR_XML, "no root element");
    if (std::strcmp(root.name(), "FunctionCatalog") != 0)
        return bad(root, std::string("root element is <") + root.name() + ">, not <FunctionCatalog>");
    if (!checkAttributes(root, {"Name"}) || !name(root, "Name", true, c_.name)) return false;

    c_.fblocks.resize(countChildren(root, "FBlock"));
    std::uint32_t index = 0;
    bool seenVersion = false, seenDescription = false;
    for (pugi::xml_node n : root.children()) {
        const char* tag = n.name();
        if (n.type() != pugi::node_element) {
            if (!unexpected(n, "FunctionCatalog")) return false;
        } else if (std::strcmp(tag, "FBlock") == 0) {
            FBlockDef fb;
            if (!readFBlock(n, fb)) return false;
            for (std::uint32_t i = 0; i < index; ++i) {
                if (c_.fblocks[i].id == fb.id)
                    return bad(n, "FBlock id " + formatHex(fb.id, 2) + " appears twice");
                if (c_.view(c_.fblocks[i].name) == c_.view(fb.name))
                    return bad(n, "FBlock name " + c_.str(fb.name) + " appears twice");
            }
            c_.fblocks[index++] = fb;
        } else if (std::strcmp(tag, "CatalogVersion") == 0) {
            if (!onlyOnce(n, seenVersion) || !checkAttributes(n, {"Release", "Date", "Author"})) return false;
            c_.version = addText(n.attribute("Release").value());
        } else if (std::strcmp(tag, "Description") == 0) {
            if (!onlyOnce(n, seenDescription) || !description(n, c_.description)) return false;
        } else if (!unexpected(n, "FunctionCatalog")) {
            return false;
        }
    }
    return true;
}

bool Reader::readFBlock(pugi::xml_node n, FBlockDef& fb) {
    std::int64_t id = 0;
    if (!checkAttributes(n, {"ID", "Name", "Hidden", "Instances"}) || !integer(n, "ID", 0, 0xFF, true, id) ||
        !name(n, "Name", true, fb.name) || !flag(n, "Hidden", fb.hidden))
        return false;
    fb.id = static_cast<std::int32_t>(id);
    if (pugi::xml_attribute inst = n.attribute("Instances")) {
        fb.instances.first = static_cast<std::uint32_t>(c_.instances.size());
        std::string_view rest = inst.value();
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

    fb.functions.first = static_cast<std::uint32_t>(c_.functions.size());
    fb.functions.count = countChildren(n, "Function");
    c_.functions.resize(fb.functions.end());
    std::uint32_t index = fb.functions.first;
    bool seenDescription = false, seenDevice = false;
    for (pugi::xml_node ch : n.children()) {
        const char* tag = ch.name();
        if (ch.type() != pugi::node_element) {
            if (!unexpected(ch, "FBlock")) return false;
        } else if (std::strcmp(tag, "Function") == 0) {
            FunctionDef fn;
            if (!readFunction(ch, fn)) return false;
            for (std::uint32_t i = fb.functions.first; i < index; ++i) {
                if (c_.functions[i].id == fn.id)
                    return bad(ch,
                               "function id " + formatHex(fn.id, 3) + " appears twice in " + c_.str(fb.name));
                if (c_.view(c_.functions[i].name) == c_.view(fn.name))
                    return bad(ch,
                               "function name " + c_.str(fn.name) + " appears twice in " + c_.str(fb.name));
            }
            c_.functions[index++] = fn;
        } else if (std::strcmp(tag, "Description") == 0) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, fb.description)) return false;
        } else if (std::strcmp(tag, "Device") == 0) {
            if (!onlyOnce(ch, seenDevice) || !checkAttributes(ch, {"Name"}) ||
                !name(ch, "Name", true, fb.deviceName))
                return false;
            bool seenDeviceDescription = false;
            for (pugi::xml_node d : ch.children()) {
                if (d.type() == pugi::node_element && std::strcmp(d.name(), "Description") == 0) {
                    if (!onlyOnce(d, seenDeviceDescription) || !description(d, fb.deviceDescription))
                        return false;
                } else if (!unexpected(d, "Device")) {
                    return false;
                }
            }
        } else if (!unexpected(ch, "FBlock")) {
            return false;
        }
    }
    return true;
}

bool Reader::readFunction(pugi::xml_node n, FunctionDef& fn) {
    std::int64_t id = 0;
    if (!checkAttributes(n, {"ID", "Name", "Kind", "Class", "Hidden"}) ||
        !integer(n, "ID", 0, 0xFFF, true, id) || !name(n, "Name", true, fn.name) ||
        !flag(n, "Hidden", fn.hidden))
        return false;
    fn.id = static_cast<std::int32_t>(id);
    std::string_view kind = n.attribute("Kind").value();
    if (kind == "Property")
        fn.type = QRN_FUNCTION_PROPERTY;
    else if (kind == "Method")
        fn.type = QRN_FUNCTION_METHOD;
    else
        return bad(n, "Kind must be Property or Method");
    const bool method = fn.type == QRN_FUNCTION_METHOD;
    fn.functionClass = method ? 0 : 16;
    if (pugi::xml_attribute cls = n.attribute("Class")) {
        std::int64_t code = -1;
        if (!parseInteger(cls.value(), false, code)) {
            for (int i = 0; i < 30; ++i) {
                if (kClassNames[i] && std::strcmp(kClassNames[i], cls.value()) == 0) code = i;
            }
        }
        if (code < 0 || code > 29)
            return bad(n, std::string("unknown function class \"") + cls.value() + "\"");
        fn.functionClass = static_cast<std::int32_t>(code);
    }

    fn.opTypes.first = static_cast<std::uint32_t>(c_.opTypes.size());
    fn.opTypes.count = countChildren(n, "OPType");
    c_.opTypes.resize(fn.opTypes.end());
    std::uint32_t index = fn.opTypes.first;
    bool seenDescription = false;
    for (pugi::xml_node ch : n.children()) {
        const char* tag = ch.name();
        if (ch.type() != pugi::node_element) {
            if (!unexpected(ch, "Function")) return false;
        } else if (std::strcmp(tag, "OPType") == 0) {
            OpTypeDef op;
            if (!readOpType(ch, method, op)) return false;
            for (std::uint32_t i = fn.opTypes.first; i < index; ++i) {
                if (c_.opTypes[i].id == op.id)
                    return bad(ch,
                               "OpType id " + formatHex(op.id, 1) + " appears twice in " + c_.str(fn.name));
                if (c_.view(c_.opTypes[i].name) == c_.view(op.name))
                    return bad(ch, "OpType name " + c_.str(op.name) + " appears twice in " + c_.str(fn.name));
            }
            c_.opTypes[index++] = op;
        } else if (std::strcmp(tag, "Description") == 0) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, fn.description)) return false;
        } else if (!unexpected(ch, "Function")) {
            return false;
        }
    }
    return true;
}

bool Reader::readOpType(pugi::xml_node n, bool method, OpTypeDef& op) {
    std::int64_t id = 0;
    if (!checkAttributes(n, {"ID", "Name", "Hidden"}) || !integer(n, "ID", 0, 0xF, true, id) ||
        !flag(n, "Hidden", op.hidden))
        return false;
    op.id = static_cast<std::int32_t>(id);
    if (n.attribute("Name")) {
        if (!name(n, "Name", true, op.name)) return false;
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
    for (pugi::xml_node ch : n.children()) {
        if (ch.type() == pugi::node_element && std::strcmp(ch.name(), "Parameter") == 0) continue;
        if (!unexpected(ch, "OPType")) return false;
    }
    return readParams(n, op.params, 1, true, QRN_KIND_PARAMETER, false);
}

bool Reader::readParams(pugi::xml_node parent, Range& out, int depth, bool restAllowed, int defaultKind,
                        bool element) {
    if (depth > kMaxParamDepth) return fail(parent, QRN_ERR_LIMIT, "parameters nested deeper than 16 levels");
    out.first = static_cast<std::uint32_t>(c_.params.size());
    out.count = countChildren(parent, "Parameter");
    if (element && out.count != 1) return bad(parent, "<TArray> needs exactly one <Parameter>, its element");
    c_.params.resize(out.end());
    std::uint32_t i = 0;
    for (pugi::xml_node n = parent.child("Parameter"); n; n = n.next_sibling("Parameter"), ++i) {
        ParamDef p;
        if (!readParam(n, p, depth, restAllowed && i + 1 == out.count, element)) return false;
        if (p.role == 0) p.role = static_cast<std::uint8_t>(defaultKind);
        for (std::uint32_t j = out.first; j < out.first + i; ++j) {
            if (c_.view(c_.params[j].name) == c_.view(p.name))
                return bad(n, "parameter name " + c_.str(p.name) + " appears twice");
        }
        if (!p.selectorName.empty()) {
            for (std::uint32_t j = out.first; j < out.first + i; ++j) {
                if (c_.view(c_.params[j].name) != c_.view(p.selectorName)) continue;
                const int t = c_.params[j].type;
                if (t != QRN_TYPE_NUMBER && t != QRN_TYPE_ENUM && t != QRN_TYPE_BOOLEAN &&
                    t != QRN_TYPE_BITFIELD && t != QRN_TYPE_ERROR)
                    return bad(n, "stream selector " + c_.str(p.selectorName) +
                                      " is not a number, enum or boolean");
                p.selector = static_cast<std::int32_t>(j - out.first);
            }
            if (p.selector < 0)
                return bad(n, "stream selector " + c_.str(p.selectorName) + " is not an earlier parameter");
        }
        c_.params[out.first + i] = p;
    }
    return true;
}

bool Reader::readParam(pugi::xml_node n, ParamDef& p, int depth, bool restHere, bool element) {
    if (!checkAttributes(n, {"Name", "Role"}) || !name(n, "Name", !element, p.name)) return false;
    p.named = !p.name.empty();
    if (pugi::xml_attribute role = n.attribute("Role")) {
        std::string_view r = role.value();
        if (r == "position")
            p.role = QRN_KIND_POSITION;
        else if (r == "length")
            p.role = QRN_KIND_LENGTH;
        else if (r == "reserved")
            p.role = QRN_KIND_RESERVED;
        else if (r == "padding")
            p.role = QRN_KIND_PADDING;
        else
            return bad(n, "Role must be position, length, reserved or padding");
    }
    pugi::xml_node typeNode;
    bool seenDescription = false;
    p.attributes.first = static_cast<std::uint32_t>(c_.attributes.size());
    for (pugi::xml_node ch : n.children()) {
        const char* tag = ch.name();
        if (ch.type() != pugi::node_element) {
            if (!unexpected(ch, "Parameter")) return false;
        } else if (std::strcmp(tag, "Description") == 0) {
            if (!onlyOnce(ch, seenDescription) || !description(ch, p.description)) return false;
        } else if (std::strcmp(tag, "Attribute") == 0) {
            std::int64_t id = 0, value = 0;
            if (!checkAttributes(ch, {"ID", "Value"}) || !integer(ch, "ID", 0, INT32_MAX, true, id) ||
                !integer(ch, "Value", INT32_MIN, INT32_MAX, true, value))
                return false;
            if (id == QRN_ATTR_OFFSET || id == QRN_ATTR_SIZE || id == QRN_ATTR_ARRAY_MAX_INDEX ||
                id == QRN_ATTR_CASE_INDEXED || id == QRN_ATTR_CASE_MAX_INDEX)
                return bad(ch, "attribute " + std::to_string(id) + " is computed and cannot be given");
            for (std::uint32_t i = p.attributes.first; i < c_.attributes.size(); ++i) {
                if (c_.attributes[i].id == id)
                    return bad(ch, "attribute " + std::to_string(id) + " appears twice");
            }
            c_.attributes.push_back({static_cast<std::int32_t>(id), static_cast<std::int32_t>(value)});
        } else if (tag[0] == 'T') {
            if (typeNode) return bad(ch, "a parameter has exactly one type element");
            typeNode = ch;
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

bool Reader::readType(pugi::xml_node t, ParamDef& p, int depth, bool restHere) {
    const char* tag = t.name();
    int type = -1;
    for (const TypeName& tn : kTypeElements)
        if (std::strcmp(tn.element, tag) == 0) type = tn.type;
    if (type < 0) return bad(t, std::string("unknown type element <") + tag + ">");
    p.type = static_cast<std::uint8_t>(type);
    std::int64_t v = 0;
    auto noChildren = [&]() {
        for (pugi::xml_node ch : t.children())
            if (!unexpected(ch, tag)) return false;
        return true;
    };
    auto sizeAttr = [&](bool allowFour) {
        v = 1;
        if (!integer(t, "Size", 1, 4, false, v)) return false;
        if (v == 3 || (v == 4 && !allowFour))
            return bad(t, allowFour ? "Size must be 1, 2 or 4" : "Size must be 1 or 2");
        p.size = static_cast<std::uint8_t>(v);
        return true;
    };

    switch (type) {
    case QRN_TYPE_NUMBER: {
        if (!checkAttributes(t, {"Type", "Min", "Max", "Step", "Exponent", "Unit"}) || !noChildren())
            return false;
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
        const char* nt = t.attribute("Type").value();
        bool found = false;
        for (const auto& k : kNumbers) {
            if (std::strcmp(k.name, nt) != 0) continue;
            found = true;
            p.numberType = k.type;
            p.size = k.size;
            p.minimum = k.lo;
            p.maximum = k.hi;
            if (!integer(t, "Min", k.lo, k.hi, false, p.minimum) ||
                !integer(t, "Max", k.lo, k.hi, false, p.maximum))
                return false;
        }
        if (!found) return bad(t, "Type must be UByte, UWord, ULong, SByte, SWord or SLong");
        if (p.minimum > p.maximum) return bad(t, "Min is greater than Max");
        std::int64_t exponent = 0;
        if (!integer(t, "Step", 1, 0xFFFFFFFFll, false, p.step) ||
            !integer(t, "Exponent", -30, 30, false, exponent))
            return false;
        p.exponent = static_cast<std::int32_t>(exponent);
        if (pugi::xml_attribute unit = t.attribute("Unit")) p.unit = addText(unit.value());
        return true;
    }
    case QRN_TYPE_ENUM:
        if (!checkAttributes(t, {"Size"}) || !sizeAttr(false)) return false;
        return readValues(t, "TEnumValue", "Code", p.size == 1 ? 0xFF : 0xFFFF, p);
    case QRN_TYPE_BOOLFIELD:
        if (!checkAttributes(t, {"Size"}) || !sizeAttr(true)) return false;
        return readValues(t, "TBit", "Pos", p.size * 8 - 1, p);
    case QRN_TYPE_BOOLEAN:
        return checkAttributes(t, {"Size"}) && sizeAttr(true) && noChildren();
    case QRN_TYPE_BITFIELD: {
        if (!checkAttributes(t, {"Size", "Mask"}) || !sizeAttr(true) || !noChildren()) return false;
        const std::int64_t all = p.size == 4 ? 0xFFFFFFFFll : (std::int64_t(1) << (8 * p.size)) - 1;
        v = all;
        if (!integer(t, "Mask", 1, all, false, v)) return false;
        p.mask = static_cast<std::uint32_t>(v);
        return true;
    }
    case QRN_TYPE_STRING:
        if (!checkAttributes(t, {"MaxLength", "Coding"}) || !noChildren()) return false;
        v = -1;
        if (!integer(t, "MaxLength", 1, kMaxCount, false, v)) return false;
        p.maxLength = static_cast<std::int32_t>(v);
        v = 0;
        if (!integer(t, "Coding", 0, 0xFF, false, v)) return false;
        p.coding = static_cast<std::uint8_t>(v);
        return true;
    case QRN_TYPE_RAWSTREAM: {
        p.prefixed = std::strcmp(tag, "TShortStream") == 0;
        if (!checkAttributes(t, {"MaxLength"}) || !noChildren()) return false;
        v = 0;
        if (!integer(t, "MaxLength", 1, p.prefixed ? 0xFF : kMaxCount, false, v)) return false;
        p.maxLength = static_cast<std::int32_t>(v);
        return true;
    }
    case QRN_TYPE_ARRAY:
        if (!checkAttributes(t, {"MaxIndex"})) return false;
        v = 0;
        if (!integer(t, "MaxIndex", 1, kMaxCount, false, v)) return false;
        p.maxIndex = static_cast<std::uint32_t>(v);
        for (pugi::xml_node ch : t.children()) {
            if (ch.type() == pugi::node_element && std::strcmp(ch.name(), "Parameter") == 0) continue;
            if (!unexpected(ch, tag)) return false;
        }
        return readParams(t, p.children, depth + 1, false, QRN_KIND_ELEMENT, true);
    case QRN_TYPE_RECORD:
        if (!checkAttributes(t, {})) return false;
        for (pugi::xml_node ch : t.children()) {
            if (ch.type() == pugi::node_element && std::strcmp(ch.name(), "Parameter") == 0) continue;
            if (!unexpected(ch, tag)) return false;
        }
        if (!t.child("Parameter")) return bad(t, "<TRecord> needs at least one <Parameter>");
        return readParams(t, p.children, depth + 1, restHere, QRN_KIND_FIELD, false);
    case QRN_TYPE_STREAM: {
        if (!checkAttributes(t, {"Selector"})) return false;
        if (pugi::xml_attribute sel = t.attribute("Selector")) p.selectorName = addText(sel.value());
        if (depth + 1 > kMaxParamDepth)
            return fail(t, QRN_ERR_LIMIT, "parameters nested deeper than 16 levels");
        p.children.first = static_cast<std::uint32_t>(c_.params.size());
        p.children.count = countChildren(t, "TStreamCase");
        if (p.children.count > 1 && p.selectorName.empty())
            return bad(t, "a stream with several cases needs a Selector");
        c_.params.resize(p.children.end());
        std::uint32_t i = 0;
        bool seenDefault = false;
        for (pugi::xml_node ch : t.children()) {
            if (ch.type() != pugi::node_element || std::strcmp(ch.name(), "TStreamCase") != 0) {
                if (!unexpected(ch, tag)) return false;
                continue;
            }
            ParamDef sc;
            sc.type = QRN_TYPE_STREAMCASE;
            sc.role = QRN_KIND_CASE;
            if (!checkAttributes(ch, {"Name", "Values", "MaxIndex"}) || !name(ch, "Name", true, sc.name))
                return false;
            v = 0;
            if (!integer(ch, "MaxIndex", 1, kMaxCount, false, v)) return false;
            sc.indexed = ch.attribute("MaxIndex") != nullptr;
            sc.maxIndex = static_cast<std::uint32_t>(v);
            sc.caseValues.first = static_cast<std::uint32_t>(c_.caseValues.size());
            std::string_view rest = ch.attribute("Values").value();
            while (!(rest = trimBlanks(rest)).empty()) {
                std::size_t end = rest.find_first_of(" \t\r\n");
                std::int64_t value = 0;
                if (!parseInteger(rest.substr(0, end), true, value))
                    return bad(ch, "Values holds something other than numbers");
                c_.caseValues.push_back(value);
                rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
            }
            sc.caseValues.count = static_cast<std::uint32_t>(c_.caseValues.size()) - sc.caseValues.first;
            if (sc.caseValues.count == 0) {
                if (seenDefault) return bad(ch, "a stream has at most one case without Values");
                seenDefault = true;
            }
            bool seenDescription = false;
            for (pugi::xml_node d : ch.children()) {
                if (d.type() == pugi::node_element && std::strcmp(d.name(), "Parameter") == 0) continue;
                if (d.type() == pugi::node_element && std::strcmp(d.name(), "Description") == 0) {
                    if (!onlyOnce(d, seenDescription) || !description(d, sc.description)) return false;
                } else if (!unexpected(d, "TStreamCase")) {
                    return false;
                }
            }
            for (std::uint32_t j = p.children.first; j < p.children.first + i; ++j) {
                if (c_.view(c_.params[j].name) == c_.view(sc.name))
                    return bad(ch, "stream case " + c_.str(sc.name) + " appears twice");
            }
            if (!readParams(ch, sc.children, depth + 2, !sc.indexed, QRN_KIND_FIELD, false)) return false;
            c_.params[p.children.first + i++] = sc;
        }
        return true;
    }
    default: // void, function ids, error code, undefined
        return checkAttributes(t, {}) && noChildren();
    }
}

bool Reader::readValues(pugi::xml_node t, const char* child, const char* codeAttr, std::int64_t maxCode,
                        ParamDef& p) {
    p.values.first = static_cast<std::uint32_t>(c_.values.size());
    for (pugi::xml_node ch : t.children()) {
        if (ch.type() != pugi::node_element || std::strcmp(ch.name(), child) != 0) {
            if (!unexpected(ch, t.name())) return false;
            continue;
        }
        NamedValue nv;
        if (!checkAttributes(ch, {codeAttr, "Name"}) || !integer(ch, codeAttr, 0, maxCode, true, nv.code) ||
            !name(ch, "Name", true, nv.name))
            return false;
        bool seenDescription = false;
        for (pugi::xml_node d : ch.children()) {
            if (d.type() == pugi::node_element && std::strcmp(d.name(), "Description") == 0) {
                if (!onlyOnce(d, seenDescription) || !description(d, nv.description)) return false;
            } else if (!unexpected(d, child)) {
                return false;
            }
        }
        for (std::uint32_t j = p.values.first; j < c_.values.size(); ++j) {
            if (c_.values[j].code == nv.code)
                return bad(ch, std::string(codeAttr) + " " + std::to_string(nv.code) + " appears twice");
            if (c_.view(c_.values[j].name) == c_.view(nv.name))
                return bad(ch, "value name " + c_.str(nv.name) + " appears twice");
        }
        c_.values.push_back(nv);
    }
    p.values.count = static_cast<std::uint32_t>(c_.values.size()) - p.values.first;
    if (p.values.count == 0)
        return bad(t, std::string("<") + t.name() + "> needs at least one <" + child + ">");
    return true;
}

void locate(const std::string& path, LoadError& err) {
    if (err.offset == static_cast<std::size_t>(-1)) return;
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    unsigned line = 1, column = 1;
    std::size_t pos = 0;
    char buf[65536];
    while (in && pos < err.offset) {
        in.read(buf, sizeof buf);
        std::streamsize got = in.gcount();
        for (std::streamsize i = 0; i < got && pos < err.offset; ++i, ++pos) {
            if (buf[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
    }
    err.line = line;
    err.column = column;
}

} // namespace

std::shared_ptr<const Catalog> parseCatalog(std::string& bytes, LoadError& err) {
    if (bytes.find_first_not_of(" \t\r\n") == std::string::npos) {
        err.code = QRN_ERR_XML;
        err.what = "the file is empty";
        return nullptr;
    }
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer_inplace(&bytes[0], bytes.size());
    if (!parsed) {
        err.code = QRN_ERR_XML;
        err.what = std::string("not well-formed XML: ") + parsed.description();
        err.offset = static_cast<std::size_t>(parsed.offset);
        return nullptr;
    }
    auto catalog = std::make_shared<Catalog>();
    catalog->pool.reserve(bytes.size() / 4);
    Reader reader(*catalog, err);
    if (!reader.readRoot(doc)) return nullptr;
    catalog->pool.shrink_to_fit();
    catalog->fblocks.shrink_to_fit();
    catalog->functions.shrink_to_fit();
    catalog->opTypes.shrink_to_fit();
    catalog->params.shrink_to_fit();
    catalog->values.shrink_to_fit();
    catalog->attributes.shrink_to_fit();
    catalog->caseValues.shrink_to_fit();
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
    std::string bytes;
    std::ifstream in(fsPath, std::ios::binary);
    if (in) {
        bytes.resize(static_cast<std::size_t>(size));
        in.read(&bytes[0], static_cast<std::streamsize>(size));
    }
    if (!in || static_cast<std::uintmax_t>(in.gcount()) != size) {
        err.code = QRN_ERR_FILE;
        err.what = "cannot read the file";
        return nullptr;
    }
    in.close();
    auto catalog = parseCatalog(bytes, err);
    if (!catalog) locate(path, err);
    return catalog;
}

} // namespace quarnel
