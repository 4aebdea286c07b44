#include "Nodes.h"

#include "NumberText.h"
#include "Quarnel.h"

#include <algorithm>

namespace quarnel {

namespace {

const struct {
    int code;
    const char* name;
} kErrorCodes[] = {{0x01, "FBlockIDNotAvailable"},
                   {0x02, "InstIDNotAvailable"},
                   {0x03, "FktIDNotAvailable"},
                   {0x04, "OPTypeNotAvailable"},
                   {0x05, "InvalidLength"},
                   {0x06, "ParameterWrong"},
                   {0x07, "ParameterNotAvailable"},
                   {0x0B, "DeviceMalfunction"},
                   {0x0C, "SegmentationError"},
                   {0x40, "FunctionSpecific"},
                   {0x41, "Busy"},
                   {0x42, "NotAvailable"},
                   {0x43, "ProcessingError"},
                   {0x44, "MethodAborted"}};

template <class Base> class NodeImpl : public Base {
public:
    explicit NodeImpl(NodeInfo&& info) : n_(std::move(info)) {}

    int GetType() const override { return n_.def->type; }
    int GetKind() const override { return n_.kind; }
    bool IsAbstract() const override {
        switch (n_.def->type) {
        case QRN_TYPE_UNDEFINED:
        case QRN_TYPE_STREAM:
        case QRN_TYPE_STREAMCASE:
        case QRN_TYPE_ARRAY:
        case QRN_TYPE_RECORD:
        case QRN_TYPE_VOID:
            return true;
        default:
            return n_.kind == QRN_KIND_LENGTH || n_.kind == QRN_KIND_RESERVED || n_.kind == QRN_KIND_PADDING;
        }
    }
    const std::string& GetName() const override { return n_.name; }
    std::string GetLabel(bool hexNumbers) const override {
        std::string label = n_.displayName.empty() ? n_.name : n_.displayName;
        if (n_.hasValue) label += " = " + (hexNumbers ? n_.valueHex : n_.valueText);
        return label;
    }
    const std::string& GetExtraText() const override { return unit_; }
    void GetChildren(std::vector<KQRNNode*>& out) const override {
        out.clear();
        out.reserve(n_.children.size());
        for (const auto& c : n_.children)
            out.push_back(c.get());
    }
    void GetValueTexts(std::vector<std::string>& out) const override {
        out.clear();
        const int type = n_.def->type;
        if (n_.choices && type == QRN_TYPE_ENUM) {
            const Catalog& c = *n_.catalog;
            std::int64_t maxCode = 0;
            for (std::uint32_t i = n_.def->values.first; i < n_.def->values.end(); ++i)
                maxCode = std::max(maxCode, c.values[i].code);
            if (maxCode < 256) {
                // Position equals code, so a list position can be shown as the code.
                for (std::int64_t code = 0; code <= maxCode; ++code)
                    out.push_back(formatHex(code, 2));
                for (std::uint32_t i = n_.def->values.first; i < n_.def->values.end(); ++i)
                    out[c.values[i].code] = c.str(c.values[i].name);
            } else {
                for (std::uint32_t i = n_.def->values.first; i < n_.def->values.end(); ++i)
                    out.push_back(c.str(c.values[i].name));
            }
        } else if (n_.choices && type == QRN_TYPE_BOOLEAN) {
            out = {"FALSE", "TRUE"};
        } else if (n_.choices && type == QRN_TYPE_ERROR) {
            for (int code : errorCodes())
                out.push_back(errorCodeName(code));
        } else if (n_.hasValue) {
            out.push_back(n_.valueText);
        }
    }
    const std::string& GetPath() const override { return n_.path; }
    const std::string& GetDisplayName() const override { return n_.displayName; }
    const std::string& GetDescription() const override { return description_; }
    QRTAttrHandle GetAttrHandle() const override { return &n_.attributes; }

protected:
    NodeInfo n_;
    const std::string description_ = n_.catalog->str(n_.def->description);
    const std::string unit_ =
        n_.def->type == QRN_TYPE_NUMBER ? n_.catalog->str(n_.catalog->number(*n_.def).unit) : std::string();
};

template <class Base> class DataNodeImpl : public NodeImpl<Base> {
public:
    using NodeImpl<Base>::NodeImpl;
    int GetSizeCode() const override {
        switch (this->n_.def->type) {
        case QRN_TYPE_STRING:
        case QRN_TYPE_RAWSTREAM:
            return -1;
        default:
            return this->n_.def->size == 4 ? 2 : this->n_.def->size == 2 ? 1 : 0;
        }
    }
    int GetRawMaxLength() const override {
        const ParamDef& d = *this->n_.def;
        return d.type == QRN_TYPE_RAWSTREAM && d.maxLength > 0 ? d.maxLength : 0;
    }
};

class PlainNode final : public NodeImpl<KQRNNode> {
public:
    using NodeImpl::NodeImpl;
};

class DataNode final : public DataNodeImpl<KQRNDataNode> {
public:
    using DataNodeImpl::DataNodeImpl;
};

class NumberNode final : public DataNodeImpl<KQRNNumberNode> {
public:
    using DataNodeImpl::DataNodeImpl;
    int GetNumberType() const override { return static_cast<int>(number().numberType); }
    double GetMinimum() const override { return static_cast<double>(number().minimum); }
    double GetMaximum() const override { return static_cast<double>(number().maximum); }
    int GetNumberInt() const override { return number().exponent; }

private:
    const NumberDef& number() const { return n_.catalog->number(*n_.def); }
};

class StringNode final : public DataNodeImpl<KQRNStringNode> {
public:
    using DataNodeImpl::DataNodeImpl;
    int GetStringMaxLength() const override { return n_.def->maxLength ? n_.def->maxLength : -1; }
};

template <class Base> class TableNodeImpl : public DataNodeImpl<Base> {
public:
    using DataNodeImpl<Base>::DataNodeImpl;
    void GetInfoTexts(std::vector<std::string>& out, int content) const override {
        out.clear();
        const Catalog& c = *this->n_.catalog;
        const ParamDef& d = *this->n_.def;
        const int digits = d.type == QRN_TYPE_ENUM ? 2 * d.size : 2;
        for (std::uint32_t i = d.values.first; i < d.values.end(); ++i) {
            const NamedValue& v = c.values[i];
            std::string line;
            if (content & QRN_INFO_CODE)
                line = (content & QRN_INFO_HEX) ? formatHex(v.code, digits) : std::to_string(v.code);
            if (content & QRN_INFO_NAME) {
                if (!line.empty()) line += ": ";
                line += c.view(v.name);
            }
            if ((content & QRN_INFO_DESCRIPTION) && !v.description.empty()) {
                if (!line.empty()) line += " - ";
                line += c.view(v.description);
            }
            out.push_back(std::move(line));
        }
    }
};

class TableNode final : public TableNodeImpl<KQRNTableNode> {
public:
    using TableNodeImpl::TableNodeImpl;
};

class EnumNode final : public TableNodeImpl<KQRNEnumNode> {
public:
    using TableNodeImpl::TableNodeImpl;
    int GetEnumSizeCode() const override { return n_.def->size == 2 ? 1 : 0; }
    int GetEnumMaximum() const override {
        std::int64_t maxCode = 0;
        for (std::uint32_t i = n_.def->values.first; i < n_.def->values.end(); ++i)
            maxCode = std::max(maxCode, n_.catalog->values[i].code);
        return static_cast<int>(maxCode);
    }
};

} // namespace

std::unique_ptr<KQRNNode> makeNode(NodeInfo&& info) {
    switch (info.def->type) {
    case QRN_TYPE_BOOLEAN:
    case QRN_TYPE_BITFIELD:
    case QRN_TYPE_RAWSTREAM:
        return std::make_unique<DataNode>(std::move(info));
    case QRN_TYPE_BOOLFIELD:
        return std::make_unique<TableNode>(std::move(info));
    case QRN_TYPE_NUMBER:
        return std::make_unique<NumberNode>(std::move(info));
    case QRN_TYPE_ENUM:
        return std::make_unique<EnumNode>(std::move(info));
    case QRN_TYPE_STRING:
        return std::make_unique<StringNode>(std::move(info));
    default:
        return std::make_unique<PlainNode>(std::move(info));
    }
}

const char* errorCodeName(std::int64_t code) {
    for (const auto& e : kErrorCodes)
        if (e.code == code) return e.name;
    return nullptr;
}

const std::vector<int>& errorCodes() {
    static const std::vector<int> codes = [] {
        std::vector<int> v;
        for (const auto& e : kErrorCodes)
            v.push_back(e.code);
        return v;
    }();
    return codes;
}

} // namespace quarnel

using quarnel::Attribute;

int gQRTGetAttrInt(QRTAttrHandle attributes, int number, int* value) {
    if (!attributes || !value) return 1;
    for (const Attribute& a : attributes->items) {
        if (a.id == number) {
            *value = a.value;
            return 0;
        }
    }
    return 1;
}
