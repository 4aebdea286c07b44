#include "selection/ParameterTypeText.h"

#include "base/LanguageResources.h"
#include "resources/resource.h"

#include <cstdint>
#include <cstdio>

namespace {

// An integer attribute of the node, or 0 when it is absent.
int attribute(KQRNNode* node, int number) {
    int value = 0;
    gQRTGetAttrInt(node->GetAttrHandle(), number, &value);
    return value;
}

std::string decimal(int value) { return std::to_string(value); }

std::string sizeText(int code) {
    switch (code) {
    case QRN_SIZE_1_BYTE: return "(1 byte)";
    case QRN_SIZE_2_BYTES: return "(2 byte)";
    case QRN_SIZE_4_BYTES: return "(4 byte)";
    default: return "";
    }
}

// The low 32 bits of the value cut toward zero.
std::uint32_t low32(double value) { return static_cast<std::uint32_t>(static_cast<std::int64_t>(value)); }

std::string numberText(KQRNNode* node) {
    KQRNNumberNode* n = QRNAsNumber(node);
    if (!n) return "";
    static const char* const names[] = {"Unsigned byte", "Unsigned word", "Unsigned long",
                                        "Signed byte",   "Signed word",   "Signed long"};
    static const char* const formats[] = {" %u - %u", " %u - %u", " %u - %u", " %d - %d", " %d - %d", "%d - %d"};
    int type = n->GetNumberType();
    std::string name, range;
    if (type >= QRN_NUMBER_UBYTE && type <= QRN_NUMBER_SLONG) {
        name = names[type];
        double min = n->GetMinimum(), max = n->GetMaximum();
        if (min != max) {
            char buf[64];
            if (type <= QRN_NUMBER_ULONG)
                std::snprintf(buf, sizeof buf, formats[type], low32(min), low32(max));
            else
                std::snprintf(buf, sizeof buf, formats[type], static_cast<int>(low32(min)), static_cast<int>(low32(max)));
            range = buf;
        }
    }
    std::string text = name + ",  " + LoadResourceText(IDS_RANGE) + range;
    text += ",  " + LoadResourceText(IDS_NUMBER_INT) + " " + decimal(n->GetNumberInt());
    if (!node->GetExtraText().empty()) text += ",  " + LoadResourceText(IDS_EXTRA) + " " + node->GetExtraText();
    return text;
}

std::string enumText(KQRNNode* node) {
    KQRNEnumNode* e = QRNAsEnum(node);
    if (!e) return "";
    int size = e->GetEnumSizeCode();
    std::string text = size == QRN_SIZE_1_BYTE ? "Enum (1 byte)" : size == QRN_SIZE_2_BYTES ? "Enum (2 byte)" : "";
    return text + ", " + LoadResourceText(IDS_RANGE) + " 0 - " + decimal(e->GetEnumMaximum());
}

} // namespace

std::string BuildParameterTypeText(KQRNNode* node) {
    if (!node) return "";
    switch (node->GetType()) {
    case QRN_TYPE_STREAM: return "Stream";
    case QRN_TYPE_STREAMCASE: {
        std::string text = "Streamcase";
        if (attribute(node, QRN_ATTR_CASE_INDEXED) > 0) {
            int max = attribute(node, QRN_ATTR_CASE_MAX_INDEX);
            text += ", Max. index: " + (max > 0 ? decimal(max) : std::string("-"));
        }
        return text;
    }
    case QRN_TYPE_ARRAY: {
        int max = attribute(node, QRN_ATTR_ARRAY_MAX_INDEX);
        return "Array, Max. index: " + (max > 0 ? decimal(max) : std::string("-"));
    }
    case QRN_TYPE_RECORD: return "Record";
    case QRN_TYPE_BOOLEAN:
    case QRN_TYPE_BITFIELD: {
        KQRNDataNode* d = QRNAsData(node);
        return std::string(node->GetType() == QRN_TYPE_BOOLEAN ? "Bool " : "Bitfield ") +
               (d ? sizeText(d->GetSizeCode()) : "");
    }
    case QRN_TYPE_BOOLFIELD: return "BoolField";
    case QRN_TYPE_NUMBER: return numberText(node);
    case QRN_TYPE_ENUM: return enumText(node);
    case QRN_TYPE_STRING: {
        KQRNStringNode* s = QRNAsString(node);
        int max = s ? s->GetStringMaxLength() : -1;
        return "String, " + LoadResourceText(IDS_MAX_LENGTH) + (max == -1 ? std::string(" - ") : " " + decimal(max));
    }
    case QRN_TYPE_FUNCTIONID: return "FktID bit stream";
    case QRN_TYPE_RAWSTREAM: {
        KQRNDataNode* d = QRNAsData(node);
        int max = d ? d->GetRawMaxLength() : 0;
        return "Raw stream, Max. length: " + (max == 0 ? std::string("- ") : decimal(max));
    }
    default: return "";
    }
}
