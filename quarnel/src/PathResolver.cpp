#include "PathResolver.h"

#include "QuarnelDefs.h"

#include <vector>

namespace quarnel {

namespace {

struct Part {
    std::string_view name;
    bool bracket = false;
    std::string_view index;
};

bool split(std::string_view text, std::vector<Part>& parts) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t i = start;
        Part p;
        while (i < text.size() && text[i] != '.' && text[i] != '[')
            ++i;
        p.name = text.substr(start, i - start);
        if (i < text.size() && text[i] == '[') {
            const std::size_t close = text.find(']', i);
            if (close == std::string_view::npos) return false;
            p.bracket = true;
            p.index = text.substr(i + 1, close - i - 1);
            i = close + 1;
            if (i < text.size() && text[i] != '.') return false;
        }
        if (p.name.empty()) return false;
        parts.push_back(p);
        if (i >= text.size()) break;
        start = i + 1;
        if (start == text.size()) return false; // trailing dot
    }
    return !parts.empty();
}

bool allDigits(std::string_view s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The index text for the canonical path; false when the index is not acceptable.
bool indexOf(const Part& p, std::uint32_t maxIndex, bool lenient, std::string& out) {
    if (!p.bracket || !allDigits(p.index)) {
        if (!lenient) return false;
        out = "1";
        return true;
    }
    const long n = std::stol(std::string(p.index));
    if (n < 1 || (maxIndex > 0 && static_cast<std::uint32_t>(n) > maxIndex)) return false;
    out = std::to_string(n);
    return true;
}

} // namespace

bool resolvePath(const Catalog& c, Range params, std::string_view text, bool lenient, ResolvedPath& out) {
    std::vector<Part> parts;
    if (!split(text, parts)) return false;
    Range seq = params;
    const ParamDef* current = nullptr;
    std::string path, name;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const Part& part = parts[k];
        const bool last = k + 1 == parts.size();
        if (!path.empty()) path += '.';
        if (current && current->type == QRN_TYPE_STREAM) {
            const ParamDef* sc = nullptr;
            for (std::uint32_t i = current->children.first; i < current->children.end() && !sc; ++i)
                if (c.view(c.params[i].name) == part.name) sc = &c.params[i];
            if (!sc) return false;
            path += part.name;
            if (sc->indexed) {
                std::string index;
                if (!indexOf(part, sc->maxIndex, lenient, index)) return false;
                path += "[" + index + "]";
            } else if (part.bracket) {
                return false;
            }
            current = sc;
            name = std::string(part.name);
            seq = sc->children;
            continue;
        }
        if (current && current->type != QRN_TYPE_RECORD && current->type != QRN_TYPE_STREAMCASE) return false;
        const ParamDef* found = nullptr;
        for (std::uint32_t i = seq.first; i < seq.end() && !found; ++i)
            if (c.view(c.params[i].name) == part.name) found = &c.params[i];
        if (!found && lenient && allDigits(part.name)) {
            const long pos = std::stol(std::string(part.name));
            if (pos >= 1 && static_cast<std::uint32_t>(pos) <= seq.count)
                found = &c.params[seq.first + pos - 1];
        }
        if (!found) return false;
        path += c.view(found->name);
        name = c.str(found->name);
        current = found;
        if (found->type == QRN_TYPE_ARRAY) {
            // "Data" alone is the array; "Data[n]" (or, leniently, any deeper path) its element.
            if (part.bracket || (!last && lenient)) {
                std::string index;
                if (!indexOf(part, found->maxIndex, lenient, index)) return false;
                path += "[" + index + "]";
                current = &c.params[found->children.first];
                if (current->named) name = c.str(current->name);
            }
        } else if (part.bracket) {
            return false;
        }
        seq = current->children;
    }
    out.def = current;
    out.path = std::move(path);
    out.name = std::move(name);
    return true;
}

} // namespace quarnel
