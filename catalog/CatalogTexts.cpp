#include "catalog/CatalogTexts.h"

#include <QuarnelDefs.h>

#include <cstdio>

namespace {

// The hexadecimal number (in that sscanf format) from offset on; reading stops at the first
// character that is no part of it, so the " (" before a name ends it. 0 when none can be read.
int scanHex(const std::string& text, size_t offset, const char* format) {
    if (offset >= text.size()) return 0;
    unsigned int value = 0;
    if (std::sscanf(text.c_str() + offset, format, &value) != 1) return 0;
    return static_cast<int>(value);
}

int scanDecimal(const std::string& text) {
    int value = 0;
    return std::sscanf(text.c_str(), "%d", &value) == 1 ? value : 0;
}

// The name between the first "(" and the final character.
std::string nameInParentheses(const std::string& text) {
    size_t open = text.find('(');
    if (open == std::string::npos || open + 2 >= text.size()) return "";
    return text.substr(open + 1, text.size() - open - 2);
}

} // namespace

std::string FormatEntryText(const std::string& name, std::int32_t id, int format, int digits) {
    char number[32];
    if (format == kNameFirst) {
        std::snprintf(number, sizeof number, "0x%.*X", digits, static_cast<unsigned>(id));
        return name + " (" + number + ")";
    }
    if (format == kHexFirst)
        std::snprintf(number, sizeof number, "0x%.*X", digits, static_cast<unsigned>(id));
    else
        std::snprintf(number, sizeof number, "%d", static_cast<int>(id));
    return std::string(number) + " (" + name + ")";
}

int ParseEntryId(const std::string& text, int format) {
    if (format == kDecimalFirst) return scanDecimal(text);
    if (format == kHexFirst) return scanHex(text, 2, "%x"); // after the leading "0x"
    size_t p = text.find('(');
    return p == std::string::npos ? 0 : scanHex(text, p, "(%x)");
}

std::string GetEntryHead(const std::string& text) {
    size_t p = text.find(" (");
    return p == std::string::npos ? text : text.substr(0, p);
}

const char* GetParameterTypeName(int code) {
    static const char* const names[] = {"Undefined", "Error",   "Stream",    "StreamCase", "Parameter Array",
                                        "Parameter Record", "Boolean", "Boolfield", "Number",  "Enum",
                                        "String",    "Bit field", "Void",      "FunctionID", "Raw stream"};
    if (code < 0 || code > QRN_TYPE_RAWSTREAM) return "Unknown";
    return names[code];
}

void ParseFBlockText(const std::string& text, int format, std::string& name, std::int32_t& id) {
    if (format == kNameFirst) {
        name = GetEntryHead(text);
        size_t hex = text.find("(0x");
        id = hex == std::string::npos ? 0 : scanHex(text, hex + 3, "%x");
        return;
    }
    name = nameInParentheses(text);
    id = format == kHexFirst ? scanHex(text, 2, "%x") : scanDecimal(text);
}
