#include "Excerpt.h"

namespace quarnel {

std::string quoted(std::string_view text, char open, char close) {
    std::string out(1, open);
    if (text.size() <= kExcerptBytes) {
        out.append(text.data(), text.size());
        out += close;
        return out;
    }
    out.append(text.data(), kExcerptBytes);
    out += "...";
    out += close;
    out += " (" + std::to_string(text.size()) + " bytes)";
    return out;
}

} // namespace quarnel
