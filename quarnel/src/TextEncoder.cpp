#include "TextEncoder.h"

#include "Nodes.h"
#include "NumberText.h"
#include "QuarnelDefs.h"

#include <cstring>

namespace quarnel {

namespace {

bool equalsNoCase(std::string_view a, const char* b) {
    return equalNames(a, b, true);
}

class Encoder {
public:
    Encoder(const Catalog& c, const std::vector<std::string>& tokens, std::vector<std::uint8_t>& out)
        : c_(c), tokens_(tokens), out_(out) {}

    bool seq(Range r) {
        for (std::uint32_t i = r.first; i < r.end(); ++i)
            if (!param(c_.params[i])) return false;
        return true;
    }

    EncodeResult finish(bool ok) {
        EncodeResult r;
        if (!ok) {
            r.status = status_;
            r.index = static_cast<int>(next_) - 1;
        } else if (next_ < tokens_.size()) {
            r.status = QRN_TEXT_TOO_MANY;
            r.index = static_cast<int>(next_);
        } else if (missing_) {
            r.status = QRN_TEXT_TOO_FEW;
            r.index = static_cast<int>(tokens_.size());
        }
        return r;
    }

private:
    const Catalog& c_;
    const std::vector<std::string>& tokens_;
    std::vector<std::uint8_t>& out_;
    std::size_t next_ = 0;
    bool missing_ = false;
    int status_ = 0;

    bool refuse(int status) {
        status_ = status;
        return false;
    }

    // The next token, or null (and the rest default to zero) when they ran out.
    const std::string* take() {
        if (next_ >= tokens_.size()) {
            missing_ = true;
            return nullptr;
        }
        return &tokens_[next_++];
    }

    void putBE(std::uint64_t v, int size) {
        for (int i = size - 1; i >= 0; --i)
            out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }

    bool param(const ParamDef& d);
    bool number(const ParamDef& d, std::string_view text);
    bool bytes(const ParamDef& d, std::string_view text);
    bool functionIds(std::string_view text);
};

bool Encoder::param(const ParamDef& d) {
    switch (d.type) {
    case QRN_TYPE_VOID:
        return true;
    case QRN_TYPE_RECORD:
        return seq(d.children);
    case QRN_TYPE_ARRAY: {
        const ParamDef& e = c_.params[d.children.first];
        for (std::uint32_t n = 0; next_ < tokens_.size() && (d.maxIndex == 0 || n < d.maxIndex); ++n)
            if (!param(e)) return false;
        return true;
    }
    default:
        break;
    }

    const std::string* token = take();
    if (!token) {
        // Missing parameters are zero: an empty string, stream or field of zero bytes.
        switch (d.type) {
        case QRN_TYPE_STRING:
            out_.push_back(d.coding);
            out_.push_back(0);
            break;
        case QRN_TYPE_NUMBER:
        case QRN_TYPE_ENUM:
        case QRN_TYPE_BOOLEAN:
        case QRN_TYPE_BOOLFIELD:
        case QRN_TYPE_BITFIELD:
            putBE(0, d.size);
            break;
        case QRN_TYPE_ERROR:
            putBE(0, 1);
            break;
        case QRN_TYPE_RAWSTREAM:
            if (d.prefixed) out_.push_back(0);
            break;
        default:
            break;
        }
        return true;
    }
    const std::string_view text = trimBlanks(*token);

    switch (d.type) {
    case QRN_TYPE_NUMBER:
        return number(d, text);
    case QRN_TYPE_ENUM:
    case QRN_TYPE_ERROR: {
        const int size = d.type == QRN_TYPE_ERROR ? 1 : d.size;
        std::int64_t code = -1;
        if (d.type == QRN_TYPE_ENUM) {
            for (std::uint32_t i = d.values.first; i < d.values.end() && code < 0; ++i)
                if (c_.view(c_.values[i].name) == text) code = c_.values[i].code;
        } else {
            for (int e : errorCodes())
                if (text == errorCodeName(e)) code = e;
        }
        if (code < 0) {
            std::int64_t v = 0;
            if (!parseInteger(text, false, v)) return refuse(QRN_TEXT_NOT_ENUM);
            if (d.type == QRN_TYPE_ENUM) {
                for (std::uint32_t i = d.values.first; i < d.values.end(); ++i)
                    if (c_.values[i].code == v) code = v;
            } else if (v <= 0xFF) {
                code = v;
            }
            if (code < 0) return refuse(QRN_TEXT_NOT_ENUM);
        }
        putBE(static_cast<std::uint64_t>(code), size);
        return true;
    }
    case QRN_TYPE_BOOLEAN: {
        std::uint64_t v;
        if (text == "1" || equalsNoCase(text, "true"))
            v = 1;
        else if (text == "0" || equalsNoCase(text, "false"))
            v = 0;
        else
            return refuse(QRN_TEXT_NOT_BOOL);
        putBE(v, d.size);
        return true;
    }
    case QRN_TYPE_BOOLFIELD: {
        std::uint64_t named = 0;
        for (std::uint32_t i = d.values.first; i < d.values.end(); ++i)
            named |= std::uint64_t(1) << c_.values[i].code;
        std::int64_t v = 0;
        std::uint64_t bits = 0;
        if (parseInteger(text, false, v)) {
            bits = static_cast<std::uint64_t>(v);
            if (bits & ~named) return refuse(QRN_TEXT_NOT_BOOL);
        } else {
            std::string_view rest = text;
            while (true) {
                const std::size_t bar = rest.find('|');
                const std::string_view word = trimBlanks(rest.substr(0, bar));
                bool found = false;
                for (std::uint32_t i = d.values.first; i < d.values.end(); ++i) {
                    if (c_.view(c_.values[i].name) == word) {
                        bits |= std::uint64_t(1) << c_.values[i].code;
                        found = true;
                    }
                }
                if (!found) return refuse(QRN_TEXT_NOT_BOOL);
                if (bar == std::string_view::npos) break;
                rest = rest.substr(bar + 1);
            }
        }
        putBE(bits, d.size);
        return true;
    }
    case QRN_TYPE_BITFIELD: {
        std::int64_t v = 0;
        if (!parseInteger(text, false, v)) return refuse(QRN_TEXT_NOT_NUMBER);
        std::uint32_t shift = 0;
        while (!((d.mask >> shift) & 1u))
            ++shift;
        if (static_cast<std::uint64_t>(v) > (d.mask >> shift)) return refuse(QRN_TEXT_RANGE);
        putBE(static_cast<std::uint64_t>(v) << shift, d.size);
        return true;
    }
    case QRN_TYPE_STRING: {
        std::string_view s = text;
        if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
        if ((d.maxLength > 0 && s.size() > d.maxLength) || s.find('\0') != std::string_view::npos)
            return refuse(QRN_TEXT_STRING);
        out_.push_back(d.coding);
        out_.insert(out_.end(), s.begin(), s.end());
        out_.push_back(0);
        return true;
    }
    case QRN_TYPE_FUNCTIONID:
        return functionIds(text);
    default: // streams, raw streams, undefined
        return bytes(d, text);
    }
}

bool Encoder::number(const ParamDef& d, std::string_view text) {
    std::int64_t v = 0;
    if (!parseInteger(text, true, v)) return refuse(QRN_TEXT_NOT_NUMBER);
    const NumberDef& nd = c_.number(d);
    const bool isSigned = nd.numberType >= NumberType::SByte;
    const int bits = 8 * d.size;
    const std::int64_t unsignedMax = (std::int64_t(1) << bits) - 1;
    // Hexadecimal texts give the bit pattern, so 0xFF is -1 in a signed byte.
    const std::string_view digits = text.substr(text.find_first_not_of("+-"));
    if (isSigned && digits.size() > 2 && (digits[1] == 'x' || digits[1] == 'X') && v > (unsignedMax >> 1) &&
        v <= unsignedMax)
        v -= unsignedMax + 1;
    if (v < nd.minimum || v > nd.maximum || (v - nd.minimum) % nd.step != 0) return refuse(QRN_TEXT_RANGE);
    putBE(static_cast<std::uint64_t>(v) & static_cast<std::uint64_t>(unsignedMax), d.size);
    return true;
}

bool Encoder::bytes(const ParamDef& d, std::string_view text) {
    std::vector<std::uint8_t> b;
    if (!parseHexBytes(text, b)) return refuse(QRN_TEXT_STREAM);
    if (d.type == QRN_TYPE_RAWSTREAM) {
        const std::size_t max = d.prefixed ? 0xFF : 0xFFFFFFFFu;
        if (b.size() > max || (d.maxLength > 0 && b.size() > d.maxLength)) return refuse(QRN_TEXT_STREAM);
        if (d.prefixed) out_.push_back(static_cast<std::uint8_t>(b.size()));
    }
    out_.insert(out_.end(), b.begin(), b.end());
    return true;
}

bool Encoder::functionIds(std::string_view text) {
    std::vector<unsigned> ids;
    std::string_view rest = text;
    while (!(rest = trimBlanks(rest)).empty()) {
        const std::size_t end = rest.find_first_of(" \t");
        std::int64_t v = 0;
        if (!parseInteger(rest.substr(0, end), false, v) || v > 0xFFF) return refuse(QRN_TEXT_STREAM);
        ids.push_back(static_cast<unsigned>(v));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    }
    const std::size_t start = out_.size();
    out_.resize(start + (ids.size() * 12 + 7) / 8, 0);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::size_t bit = i * 12, byte = start + bit / 8;
        if (bit % 8 == 0) {
            out_[byte] = static_cast<std::uint8_t>(ids[i] >> 4);
            out_[byte + 1] |= static_cast<std::uint8_t>((ids[i] & 0xF) << 4);
        } else {
            out_[byte] |= static_cast<std::uint8_t>(ids[i] >> 8);
            out_[byte + 1] = static_cast<std::uint8_t>(ids[i] & 0xFF);
        }
    }
    return true;
}

} // namespace

EncodeResult encodeTexts(const Catalog& catalog, Range params, const std::vector<std::string>& tokens,
                         std::vector<std::uint8_t>& out) {
    out.clear();
    Encoder e(catalog, tokens, out);
    return e.finish(e.seq(params));
}

} // namespace quarnel
