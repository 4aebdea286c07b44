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
    case 0: return "(1 byte)";
    case 1: return "(2 byte)";
    case 2: return "(4 byte)";
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
    if (type >= 0 && type <= 5) {
        name = names[type];
        double min = n->GetMinimum(), max = n->GetMaximum();
        if (min != max) {
            char buf[64];
            if (type <= 2)
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
    std::string text = size == 0 ? "Enum (1 byte)" : size == 1 ? "Enum (2 byte)" : "";
    return text + ", " + LoadResourceText(IDS_RANGE) + " 0 - " + decimal(e->GetEnumMaximum());
}

} // namespace

std::string BuildParameterTypeText(KQRNNode* node) {
    if (!node) return "";
    switch (node->GetType()) {
    case 2: return "Stream";
    case 3: {
        std::string text = "Streamcase";
        if (attribute(node, 1300) > 0) {
            int max = attribute(node, 1301);
            text += ", Max. index: " + (max > 0 ? decimal(max) : std::string("-"));
        }
        return text;
    }
    case 4: {
        int max = attribute(node, 1100);
        return "Array, Max. index: " + (max > 0 ? decimal(max) : std::string("-"));
    }
    case 5: return "Record";
    case 6:
    case 11: {
        KQRNDataNode* d = QRNAsData(node);
        return std::string(node->GetType() == 6 ? "Bool " : "Bitfield ") + (d ? sizeText(d->GetSizeCode()) : "");
    }
    case 7: return "BoolField";
    case 8: return numberText(node);
    case 9: return enumText(node);
    case 10: {
        KQRNStringNode* s = QRNAsString(node);
        int max = s ? s->GetStringMaxLength() : -1;
        return "String, " + LoadResourceText(IDS_MAX_LENGTH) + (max == -1 ? std::string(" - ") : " " + decimal(max));
    }
    case 13: return "FktID bit stream";
    case 14: {
        KQRNDataNode* d = QRNAsData(node);
        int max = d ? d->GetRawMaxLength() : 0;
        return "Raw stream, Max. length: " + (max == 0 ? std::string("- ") : decimal(max));
    }
    default: return "";
    }
}
