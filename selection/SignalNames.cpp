#include "selection/SignalNames.h"

#include <cstdio>
#include <memory>

namespace {

const char* const kOpTypeNames[] = {"Set",        "Get",         "SetGet",         "Increment", "Decrement",
                                    "GetInterface", "Status",    "Interface",      "Error",     "Start",
                                    "Abort",      "StartResult", "StartResultAck", "AbortAck",  "StartAck",
                                    "ErrorAck",   "ProcessingAck", "Processing",   "Result",    "ResultAck"};


bool isSymbolic(const std::string& text) {
    for (const char* name : kOpTypeNames)
        if (text.find(name) != std::string::npos) return true;
    return false;
}

struct Parts {
    std::string first, second, third, rest;
};

// The three parts before the third dot, and the rest after it.
bool split(const std::string& text, Parts& parts) {
    std::string* const fields[] = {&parts.first, &parts.second, &parts.third};
    size_t from = 0;
    for (std::string* field : fields) {
        const size_t dot = text.find('.', from);
        if (dot == std::string::npos) return false;
        *field = text.substr(from, dot - from);
        from = dot + 1;
    }
    parts.rest = text.substr(from);
    return true;
}

bool readHex(const std::string& part, std::int32_t& value) {
    unsigned int v = 0;
    if (std::sscanf(part.c_str(), "%x", &v) != 1) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

bool checkNumeric(KQRNFCatManager& m, const Parts& p, std::string* normalised, bool& keepFilter) {
    std::int32_t fb, fn, op;
    if (!readHex(p.first, fb) || !readHex(p.second, fn) || !readHex(p.third, op)) return false;
    // copies: the library's references stay valid only until its next lookup of the same kind
    std::string fblock = m.LookupFBlockName(0, fb);
    if (fblock.empty()) return false;
    std::string function = m.LookupFunctionName(0, fb, QRN_ANY_INSTANCE, fn, nullptr);
    if (function.empty()) return false;
    std::string opType = m.LookupOpTypeName(0, fb, QRN_ANY_INSTANCE, fn, op, nullptr);
    if (opType.empty()) return false;
    std::unique_ptr<KQRNMessage> message(m.CreateMessage(0, fb, QRN_ANY_INSTANCE, fn, op));
    if (!message) return false;
    std::string catalog = message->GetCatalog();
    std::string path;
    m.LookupParameterPath(path, 0, catalog, fb, QRN_ANY_INSTANCE, fn, op, p.rest);
    message.reset();
    if (path.empty()) return false;
    if (opType != "Status" || path == "Pos") keepFilter = false;
    *normalised = catalog + "." + fblock + "." + function + "." + opType + "." + path;
    return true;
}

bool checkSymbolic(KQRNFCatManager& m, const Parts& p, std::string* normalised, bool& keepFilter) {
    std::string path = NormaliseIndices(p.rest);
    std::string catalog;
    std::int32_t fb = -1, fn = -1, op = -1;
    m.LookupIds(0, "", p.first, QRN_ANY_INSTANCE, p.second, p.third, catalog, fb, fn, op, 0);
    if (fb == -1 || fn == -1 || op == -1) return false;
    std::string name;
    m.GetParameterName(name, 0, catalog, fb, QRN_ANY_INSTANCE, fn, op, path);
    if (name.empty()) return false;
    if (p.third != "Status" || p.rest == "Pos") keepFilter = false;
    *normalised = catalog + "." + p.first + "." + p.second + "." + p.third + "." + path;
    return true;
}

} // namespace

std::string NormaliseIndices(const std::string& part) {
    std::string out;
    size_t pos = 0;
    for (;;) {
        size_t open = part.find('[', pos);
        if (open == std::string::npos) break;
        size_t close = part.find(']', open + 1);
        if (close == std::string::npos) break; // an unclosed index stays as written
        out += part.substr(pos, open + 1 - pos);
        out += "1]";
        pos = close + 1;
    }
    out += part.substr(pos);
    return out;
}

bool CheckSignalName(KQRNFCatManager* manager, const std::string& signal, std::string* normalised, bool& keepFilter) {
    if (!manager || !normalised) return false;
    Parts parts;
    if (!split(signal, parts)) return false;
    std::string result;
    bool ok = isSymbolic(signal) ? checkSymbolic(*manager, parts, &result, keepFilter)
                                 : checkNumeric(*manager, parts, &result, keepFilter);
    if (ok) *normalised = result;
    return ok;
}
