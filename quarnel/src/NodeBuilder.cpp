#include "NodeBuilder.h"

#include "Nodes.h"
#include "NumberText.h"
#include "QuarnelDefs.h"

#include <optional>
#include <string>

namespace quarnel {

namespace {

// Size in bytes when every value of the parameter has the same size, else -1.
std::int64_t fixedSize(const Catalog& c, const ParamDef& d) {
    switch (d.type) {
    case QRN_TYPE_NUMBER:
    case QRN_TYPE_ENUM:
    case QRN_TYPE_BOOLEAN:
    case QRN_TYPE_BOOLFIELD:
    case QRN_TYPE_BITFIELD:
        return d.size;
    case QRN_TYPE_ERROR:
        return 1;
    case QRN_TYPE_VOID:
        return 0;
    case QRN_TYPE_RECORD: {
        std::int64_t sum = 0;
        for (std::uint32_t i = d.children.first; i < d.children.end(); ++i) {
            std::int64_t s = fixedSize(c, c.params[i]);
            if (s < 0) return -1;
            sum += s;
        }
        return sum;
    }
    default:
        return -1;
    }
}

std::string joinPath(const std::string& prefix, std::string_view name) {
    std::string p = prefix;
    if (!p.empty()) p += '.';
    p.append(name.data(), name.size());
    return p;
}

class Builder {
public:
    Builder(const Catalog& c, const DecodeOptions* decode, const std::uint8_t* data)
        : c_(c), decode_(decode), data_(data) {}

    // Catalog view: `known` tells whether offset is fixed.
    void catalogSeq(Range r, const std::string& prefix, bool& known, std::uint32_t& offset, NodeList& out);
    // Decode: [pos, end) holds the sequence; pos advances.
    bool decodeSeq(Range r, const std::string& prefix, std::size_t& pos, std::size_t end, NodeList& out);

private:
    const Catalog& c_;
    const DecodeOptions* decode_;
    const std::uint8_t* data_;

    NodeInfo info(const ParamDef& d, std::string name, std::string display, std::string path) {
        NodeInfo n;
        n.catalog = &c_;
        n.def = &d;
        n.kind = d.role;
        n.name = std::move(name);
        n.displayName = std::move(display);
        n.path = std::move(path);
        n.choices = decode_ ? decode_->choices : true;
        for (std::uint32_t i = d.attributes.first; i < d.attributes.end(); ++i)
            n.attributes.items.push_back(c_.attributes[i]);
        if (d.type == QRN_TYPE_ARRAY && d.maxIndex > 0)
            n.attributes.items.push_back({QRN_ATTR_ARRAY_MAX_INDEX, static_cast<std::int32_t>(d.maxIndex)});
        if (d.type == QRN_TYPE_STREAMCASE && d.indexed) {
            n.attributes.items.push_back({QRN_ATTR_CASE_INDEXED, 1});
            if (d.maxIndex > 0)
                n.attributes.items.push_back(
                    {QRN_ATTR_CASE_MAX_INDEX, static_cast<std::int32_t>(d.maxIndex)});
        }
        return n;
    }

    static void place(NodeInfo& n, bool known, std::uint32_t offset, std::int64_t size) {
        if (known) n.attributes.items.push_back({QRN_ATTR_OFFSET, static_cast<std::int32_t>(offset)});
        if (known && size >= 0)
            n.attributes.items.push_back({QRN_ATTR_SIZE, static_cast<std::int32_t>(size)});
    }

    std::unique_ptr<KQRNNode> catalogParam(const ParamDef& d, std::string name, std::string display,
                                           const std::string& path, bool& known, std::uint32_t& offset);
    bool decodeParam(const ParamDef& d, std::string name, std::string display, const std::string& path,
                     std::size_t& pos, std::size_t end, const std::vector<std::optional<std::int64_t>>& seen,
                     std::optional<std::int64_t>& value, std::unique_ptr<KQRNNode>& out);
    bool decodeCase(const ParamDef& sc, const std::string& streamPath, std::size_t& pos, std::size_t end,
                    std::unique_ptr<KQRNNode>& out);

    std::uint64_t readBE(std::size_t pos, int size) const {
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v = (v << 8) | data_[pos + i];
        return v;
    }
    std::uint32_t limit(const ParamDef& d) const {
        std::uint32_t l = decode_->maxElements == 0xFFFF ? 0xFFFFFFFFu : decode_->maxElements;
        if (d.maxIndex > 0 && d.maxIndex < l) l = d.maxIndex;
        return l;
    }
};

void Builder::catalogSeq(Range r, const std::string& prefix, bool& known, std::uint32_t& offset,
                         NodeList& out) {
    for (std::uint32_t i = r.first; i < r.end(); ++i) {
        const ParamDef& d = c_.params[i];
        std::string name = c_.str(d.name);
        out.push_back(catalogParam(d, name, name, joinPath(prefix, name), known, offset));
    }
}

std::unique_ptr<KQRNNode> Builder::catalogParam(const ParamDef& d, std::string name, std::string display,
                                                const std::string& path, bool& known, std::uint32_t& offset) {
    NodeInfo n = info(d, std::move(name), std::move(display), path);
    const std::int64_t size = fixedSize(c_, d);
    place(n, known, offset, size);
    const bool startKnown = known;
    const std::uint32_t start = offset;
    if (d.type == QRN_TYPE_RECORD) {
        catalogSeq(d.children, path, known, offset, n.children);
    } else if (d.type == QRN_TYPE_ARRAY) {
        const ParamDef& e = c_.params[d.children.first];
        std::string elementName = e.named ? c_.str(e.name) : n.name;
        bool k = known;
        std::uint32_t o = offset;
        n.children.push_back(
            catalogParam(e, elementName, e.named ? elementName : std::string(), path + "[1]", k, o));
    } else if (d.type == QRN_TYPE_STREAM) {
        for (std::uint32_t i = d.children.first; i < d.children.end(); ++i) {
            const ParamDef& sc = c_.params[i];
            std::string caseName = c_.str(sc.name);
            std::string casePath = path + "." + caseName + (sc.indexed ? "[1]" : "");
            NodeInfo cn = info(sc, caseName, caseName, casePath);
            bool k = known;
            std::uint32_t o = offset;
            place(cn, k, o, -1);
            catalogSeq(sc.children, casePath, k, o, cn.children);
            n.children.push_back(makeNode(std::move(cn)));
        }
    }
    known = startKnown && size >= 0;
    offset = start + static_cast<std::uint32_t>(size >= 0 ? size : 0);
    return makeNode(std::move(n));
}

bool Builder::decodeSeq(Range r, const std::string& prefix, std::size_t& pos, std::size_t end,
                        NodeList& out) {
    std::vector<std::optional<std::int64_t>> seen;
    seen.reserve(r.count);
    for (std::uint32_t i = r.first; i < r.end(); ++i) {
        const ParamDef& d = c_.params[i];
        std::string name = c_.str(d.name);
        std::optional<std::int64_t> value;
        std::unique_ptr<KQRNNode> node;
        std::string path = joinPath(prefix, name);
        if (!decodeParam(d, name, name, path, pos, end, seen, value, node)) return false;
        out.push_back(std::move(node));
        seen.push_back(value);
    }
    return true;
}

bool Builder::decodeParam(const ParamDef& d, std::string name, std::string display, const std::string& path,
                          std::size_t& pos, std::size_t end,
                          const std::vector<std::optional<std::int64_t>>& seen,
                          std::optional<std::int64_t>& value, std::unique_ptr<KQRNNode>& out) {
    NodeInfo n = info(d, std::move(name), std::move(display), path);
    const std::size_t start = pos;
    auto need = [&](std::size_t bytes) { return end - pos >= bytes; };
    auto setValue = [&](std::string text, std::string hex) {
        n.hasValue = true;
        n.valueText = std::move(text);
        n.valueHex = std::move(hex);
    };

    switch (d.type) {
    case QRN_TYPE_NUMBER: {
        if (!need(d.size)) return false;
        std::uint64_t raw = readBE(pos, d.size);
        pos += d.size;
        std::int64_t v = static_cast<std::int64_t>(raw);
        if (c_.number(d).numberType >= NumberType::SByte && (raw >> (8 * d.size - 1)))
            v = static_cast<std::int64_t>(raw) - (std::int64_t(1) << (8 * d.size));
        value = v;
        setValue(std::to_string(v), formatHex(raw, 2 * d.size));
        break;
    }
    case QRN_TYPE_ENUM:
    case QRN_TYPE_ERROR: {
        const int size = d.type == QRN_TYPE_ERROR ? 1 : d.size;
        if (!need(size)) return false;
        std::int64_t code = static_cast<std::int64_t>(readBE(pos, size));
        pos += size;
        value = code;
        std::string text = formatHex(code, 2 * size);
        if (d.type == QRN_TYPE_ERROR) {
            if (const char* e = errorCodeName(code)) text = e;
        } else {
            for (std::uint32_t i = d.values.first; i < d.values.end(); ++i)
                if (c_.values[i].code == code) text = c_.str(c_.values[i].name);
        }
        setValue(text, text);
        break;
    }
    case QRN_TYPE_BOOLEAN:
    case QRN_TYPE_BOOLFIELD:
    case QRN_TYPE_BITFIELD: {
        if (!need(d.size)) return false;
        std::uint64_t raw = readBE(pos, d.size);
        pos += d.size;
        std::string hex = formatHex(raw, 2 * d.size);
        if (d.type == QRN_TYPE_BOOLEAN) {
            value = raw != 0;
            setValue(raw ? "TRUE" : "FALSE", raw ? "TRUE" : "FALSE");
        } else if (d.type == QRN_TYPE_BITFIELD) {
            std::uint32_t shift = 0;
            while (!((d.mask >> shift) & 1u))
                ++shift;
            std::uint64_t v = (raw & d.mask) >> shift;
            value = static_cast<std::int64_t>(v);
            setValue(std::to_string(v), formatHex(v, 1));
        } else {
            std::string text;
            std::uint64_t named = 0;
            for (std::uint32_t i = d.values.first; i < d.values.end(); ++i) {
                const std::uint64_t bit = std::uint64_t(1) << c_.values[i].code;
                named |= bit;
                if (raw & bit) text += (text.empty() ? "" : "|") + c_.str(c_.values[i].name);
            }
            if (raw == 0)
                text = "0";
            else if (raw & ~named)
                text = hex; // bits without a name: show the number
            setValue(text, hex);
        }
        break;
    }
    case QRN_TYPE_STRING: {
        if (!need(1)) return false;
        ++pos; // coding byte
        std::size_t stop = pos;
        while (stop < end && data_[stop] != 0)
            ++stop;
        std::string text(reinterpret_cast<const char*>(data_ + pos), stop - pos);
        pos = stop < end ? stop + 1 : stop;
        setValue(text, text);
        break;
    }
    case QRN_TYPE_RAWSTREAM:
    case QRN_TYPE_UNDEFINED: {
        std::size_t length = end - pos;
        if (d.prefixed) {
            if (!need(1) || !need(1 + std::size_t(data_[pos]))) return false;
            length = data_[pos++];
        }
        std::string text = formatHexBytes(data_ + pos, length);
        pos += length;
        setValue(text, text);
        break;
    }
    case QRN_TYPE_FUNCTIONID: {
        // 12-bit function ids packed back to back; trailing bits short of an id are padding, so
        // both bytes of every id are in the data.
        std::string text;
        const std::size_t count = (end - pos) * 8 / 12;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t bit = i * 12, byte = pos + bit / 8;
            const unsigned two = (unsigned(data_[byte]) << 8) | data_[byte + 1];
            const unsigned id = (bit % 8) ? (two & 0x0FFF) : (two >> 4);
            text += (i ? " " : "") + formatHex(id, 3);
        }
        pos = end;
        setValue(text, text);
        break;
    }
    case QRN_TYPE_VOID:
        break;
    case QRN_TYPE_RECORD:
        if (!decodeSeq(d.children, path, pos, end, n.children)) return false;
        break;
    case QRN_TYPE_ARRAY: {
        const ParamDef& e = c_.params[d.children.first];
        const std::string elementName = e.named ? c_.str(e.name) : n.name;
        const std::uint32_t max = limit(d);
        for (std::uint32_t i = 1; pos < end && i <= max; ++i) {
            std::size_t p = pos;
            std::optional<std::int64_t> v;
            std::unique_ptr<KQRNNode> element;
            if (!decodeParam(e, elementName, e.named ? elementName : std::string(),
                             path + "[" + std::to_string(i) + "]", p, end, {}, v, element)) {
                break; // a partial element is surplus, refused below unless allowed
            }
            n.children.push_back(std::move(element));
            const bool progressed = p > pos;
            pos = p;
            if (!progressed) break;
        }
        if (pos < end && !decode_->allowSurplus) return false;
        pos = end;
        break;
    }
    case QRN_TYPE_STREAM: {
        const ParamDef* chosen = nullptr;
        if (d.selector >= 0 && static_cast<std::size_t>(d.selector) < seen.size() && seen[d.selector]) {
            const std::int64_t key = *seen[d.selector];
            for (std::uint32_t i = d.children.first; i < d.children.end() && !chosen; ++i) {
                const ParamDef& sc = c_.params[i];
                for (std::uint32_t j = sc.values.first; j < sc.values.end(); ++j)
                    if (c_.values[j].code == key) chosen = &sc;
            }
        }
        for (std::uint32_t i = d.children.first; i < d.children.end() && !chosen; ++i) {
            if (c_.params[i].values.count == 0) chosen = &c_.params[i];
        }
        if (!chosen) {
            std::string text = formatHexBytes(data_ + pos, end - pos);
            setValue(text, text);
            pos = end;
            break;
        }
        std::unique_ptr<KQRNNode> caseNode;
        if (!decodeCase(*chosen, path, pos, end, caseNode)) return false;
        n.children.push_back(std::move(caseNode));
        if (pos < end && !decode_->allowSurplus) return false;
        pos = end;
        break;
    }
    default:
        return false;
    }
    place(n, true, static_cast<std::uint32_t>(start), static_cast<std::int64_t>(pos - start));
    out = makeNode(std::move(n));
    return true;
}

bool Builder::decodeCase(const ParamDef& sc, const std::string& streamPath, std::size_t& pos, std::size_t end,
                         std::unique_ptr<KQRNNode>& out) {
    const std::string caseName = c_.str(sc.name);
    const std::string casePath = streamPath + "." + caseName;
    NodeInfo n = info(sc, caseName, caseName, casePath);
    const std::size_t start = pos;
    if (!sc.indexed) {
        if (!decodeSeq(sc.children, casePath, pos, end, n.children)) return false;
    } else {
        // A repeated case: its parameters once per index; the case node holds one record-like
        // group per repetition, flattened with indexed paths.
        const std::uint32_t max = limit(sc);
        for (std::uint32_t i = 1; pos < end && i <= max; ++i) {
            std::size_t p = pos;
            NodeList group;
            if (!decodeSeq(sc.children, casePath + "[" + std::to_string(i) + "]", p, end, group))
                break; // a partial repetition is surplus, refused by the stream unless allowed
            for (auto& g : group)
                n.children.push_back(std::move(g));
            const bool progressed = p > pos;
            pos = p;
            if (!progressed) break;
        }
    }
    place(n, true, static_cast<std::uint32_t>(start), static_cast<std::int64_t>(pos - start));
    out = makeNode(std::move(n));
    return true;
}

} // namespace

NodeList buildCatalogNodes(const Catalog& catalog, Range params) {
    NodeList out;
    Builder b(catalog, nullptr, nullptr);
    bool known = true;
    std::uint32_t offset = 0;
    b.catalogSeq(params, std::string(), known, offset, out);
    return out;
}

bool decodeNodes(const Catalog& catalog, Range params, const std::uint8_t* data, std::size_t size,
                 const DecodeOptions& options, NodeList& out) {
    out.clear();
    Builder b(catalog, &options, data);
    std::size_t pos = 0;
    if (!b.decodeSeq(params, std::string(), pos, size, out) || (pos < size && !options.allowSurplus)) {
        out.clear();
        return false;
    }
    return true;
}

} // namespace quarnel
