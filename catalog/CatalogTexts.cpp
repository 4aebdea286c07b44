#include "catalog/CatalogTexts.h"

#include <QuarnelDefs.h>

#include <cstdio>

namespace {

// sscanf on a bounded copy: the reading never runs past the part of the text it is given.
int scanInt(const std::string& part, const char* format) {
    unsigned int value = 0;
    if (std::sscanf(part.c_str(), format, &value) != 1) return 0;
    return static_cast<int>(value);
}

std::string between(const std::string& text, size_t begin, size_t end) {
    if (begin >= text.size() || end <= begin) return "";
    return text.substr(begin, std::min(end, text.size()) - begin);
}

// The name between the first "(" and the final character.
std::string nameInParentheses(const std::string& text) {
    size_t open = text.find('(');
    if (open == std::string::npos || text.size() < 2) return "";
    return between(text, open + 1, text.size() - 1);
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
    size_t p = text.find('(');
    if (format == kDecimalFirst) {
        // the text before " (" (all of it when there is no parenthesis)
        std::string head = p == std::string::npos ? text : between(text, 0, p == 0 ? 0 : p - 1);
        int value = 0;
        if (std::sscanf(head.c_str(), "%d", &value) != 1) return 0;
        return value;
    }
    if (format == kHexFirst) {
        // between the leading "0x" and the " ("
        std::string digits = p == std::string::npos ? between(text, 2, text.size()) : between(text, 2, p < 1 ? 0 : p - 1);
        return scanInt(digits, "%x");
    }
    if (p == std::string::npos) return 0;
    return scanInt(text.substr(p), "(%x)");
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
        size_t p = text.find(" (");
        name = p == std::string::npos ? text : text.substr(0, p);
        size_t hex = text.find("(0x");
        id = hex == std::string::npos ? 0 : scanInt(between(text, hex + 3, text.size() - 1), "%x");
        return;
    }
    size_t open = text.find('(');
    name = nameInParentheses(text);
    if (format == kHexFirst) {
        id = scanInt(between(text, 2, open == std::string::npos ? text.size() : (open < 1 ? 0 : open - 1)), "%x");
    } else {
        int value = 0;
        std::string head = between(text, 0, open == std::string::npos ? text.size() : open);
        id = std::sscanf(head.c_str(), "%d ", &value) == 1 ? value : 0;
    }
}
