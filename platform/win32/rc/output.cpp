// The generated C++ source: one constant array per resource and the exported table.
#include "internal.h"

#include <cstdio>
#include <sstream>

namespace w32rc {

namespace {

std::string cName(const Name& n) {
    if (n.ordinal) return "MAKEINTRESOURCEA(" + std::to_string(n.number) + ")";
    std::string out = "\"";
    for (unsigned char c : n.text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
            out.push_back(static_cast<char>(c));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c); // octal: never runs into the next character
            out += buf;
        }
    }
    return out + "\"";
}

std::string comment(const std::string& s) {
    std::string out;
    for (char c : s) out += (c == '\n' || c == '\r') ? ' ' : c;
    return out;
}

} // namespace

std::string emitTable(const Script& script, const std::string& source) {
    std::ostringstream out;
    out << "// Resources compiled by w32rc from " << comment(source) << "; edit the script, not this file.\n";
    out << "#include <w32res.h>\n\n";
    if (script.resources.empty()) {
        out << "extern \"C\" __attribute__((visibility(\"default\"))) const W32ResourceTable w32ResourceTable = "
               "{nullptr, 0};\n";
        return out.str();
    }
    out << "namespace {\n\n";
    for (size_t i = 0; i < script.resources.size(); ++i) {
        const auto& data = script.resources[i].data;
        out << "alignas(8) const unsigned char resource" << i << "[] = {";
        if (data.empty()) out << "0";
        for (size_t b = 0; b < data.size(); ++b) {
            if (b % 16 == 0) out << "\n   ";
            char buf[8];
            std::snprintf(buf, sizeof buf, " 0x%02x,", data[b]);
            out << buf;
        }
        out << "\n};\n";
    }
    out << "\nconst W32Resource entries[] = {\n";
    for (size_t i = 0; i < script.resources.size(); ++i) {
        const Resource& r = script.resources[i];
        out << "    {" << cName(r.type) << ", " << cName(r.name) << ", " << r.language << ", resource" << i << ", "
            << r.data.size() << "},\n";
    }
    out << "};\n\n} // namespace\n\n";
    out << "extern \"C\" __attribute__((visibility(\"default\"))) const W32ResourceTable w32ResourceTable = {entries, "
        << script.resources.size() << "};\n";
    return out.str();
}

std::string depfileText(const std::string& output, const std::vector<std::string>& dependencies) {
    auto escape = [](const std::string& p) {
        std::string out;
        for (char c : p) {
            if (c == ' ' || c == '#' || c == '\\') out.push_back('\\');
            if (c == '$') out.push_back('$');
            out.push_back(c);
        }
        return out;
    };
    std::string text = escape(output) + ":";
    for (auto& d : dependencies) text += " \\\n  " + escape(d);
    return text + "\n";
}

} // namespace w32rc
