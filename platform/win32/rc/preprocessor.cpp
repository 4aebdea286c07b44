// The preprocessor and lexer of resource scripts: comments, #include, #define, conditional
// sections, #pragma code_page, and tokens with rc.exe's string escapes and number forms.
#include "internal.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace w32rc {

namespace {

std::string format(const std::string& file, int line, const std::string& what) {
    std::string where = file.empty() ? "w32rc" : file;
    if (line > 0) where += "(" + std::to_string(line) + ")";
    return where + ": error: " + what;
}

// Windows-1252 bytes 0x80..0x9F; the rest of the page is Latin-1.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool isHeaderOnly(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string ext = toUpperAscii(path.substr(dot + 1));
    return ext == "H" || ext == "HH" || ext == "HPP" || ext == "HXX" || ext == "C" || ext == "CC" || ext == "CPP" ||
           ext == "CXX";
}

// Headers of the Windows SDK a script may include; the tool knows their constants itself.
bool isSystemHeader(const std::string& fileRef) {
    static const char* const known[] = {"windows.h", "winres.h",  "winresrc.h", "afxres.h",  "commctrl.h",
                                        "winuser.h", "winuser.rh", "winnt.h",   "winnt.rh",  "windef.h",
                                        "winbase.h", "wingdi.h",  "winver.h",   "verrsrc.h", "dlgs.h",
                                        "richedit.h", "prsht.h",  "ntverp.h",   "afxres.rh", "sdkddkver.h"};
    std::string base = fileRef.substr(fileRef.find_last_of('/') == std::string::npos ? 0 : fileRef.find_last_of('/') + 1);
    for (auto& c : base) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* k : known)
        if (base == k) return true;
    return false;
}

std::string canonical(const std::string& path) {
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf)) return buf;
    return path;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

Error::Error(const std::string& file, int line, const std::string& what)
    : std::runtime_error(format(file, line, what)), file_(file), line_(line), what_(what) {}

void fail(const Location& at, const std::string& what) { throw Error(at.file ? *at.file : "", at.line, what); }

std::string toUpperAscii(std::string s) {
    for (auto& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string narrowName(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] == c) b = static_cast<char>(0x80 + i);
        out.push_back(b);
    }
    return out;
}

std::u16string decode(const std::string& bytes, int codePage) {
    std::u16string out;
    if (codePage != 65001) {
        for (unsigned char b : bytes) out.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
        return out;
    }
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) < bytes.size();
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char c = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // overlong forms, surrogates and values past Unicode are invalid as well
        static const uint32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string readFile(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *ok = false;
        return {};
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    *ok = true;
    return ss.str();
}

std::string joinPath(const std::string& dir, const std::string& file) {
    if (!file.empty() && file[0] == '/') return file;
    if (dir.empty() || dir == ".") return file;
    return dir.back() == '/' ? dir + file : dir + "/" + file;
}

std::string directoryOfPath(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// ---- preprocessor ----

Preprocessor::Preprocessor(const Options& options) : options_(options) {
    for (auto& d : options_.defines) {
        Macro m;
        Location at{keepName("<command line>"), 0};
        m.body = lex(d.second, at, 1252);
        macros_[d.first] = m;
    }
}

const std::string* Preprocessor::keepName(const std::string& name) {
    for (auto& n : names_)
        if (*n == name) return n.get();
    names_.push_back(std::make_unique<std::string>(name));
    return names_.back().get();
}

std::string Preprocessor::directoryOf(const Location& at) const {
    auto it = dirs_.find(at.file);
    return it == dirs_.end() ? "." : it->second;
}

void Preprocessor::runFile(const std::string& path) {
    bool ok;
    std::string content = readFile(path, &ok);
    if (!ok) throw Error(path, 0, "cannot open the resource script");
    dependencies.push_back(canonical(path));
    process(content, path, directoryOfPath(path), false, 0);
}

void Preprocessor::runText(const std::string& text, const std::string& name, const std::string& dir) {
    process(text, name, dir, false, 0);
}

void Preprocessor::process(const std::string& content, const std::string& name, const std::string& dir,
                           bool headerOnly, int depth) {
    const std::string* file = keepName(name);
    dirs_[file] = dir;
    int codePage = 1252;
    size_t start = 0;
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        codePage = 65001;
        start = 3;
    }

    // Logical lines: comments become spaces, a backslash before a line end joins lines.
    struct Line {
        std::string text;
        int number;
    };
    std::vector<Line> lines;
    std::string current;
    int physical = 1, lineStart = 1;
    bool inBlock = false;
    char quote = 0;
    for (size_t i = start; i < content.size(); ++i) {
        char c = content[i];
        if (c == '\r') continue;
        if (c == '\\' && (i + 1 < content.size() && (content[i + 1] == '\n' ||
                                                     (content[i + 1] == '\r' && i + 2 < content.size() &&
                                                      content[i + 2] == '\n')))) {
            i += content[i + 1] == '\r' ? 2 : 1;
            ++physical;
            continue;
        }
        if (c == '\n') {
            lines.push_back(Line{current, lineStart});
            current.clear();
            ++physical;
            lineStart = physical;
            quote = 0;
            continue;
        }
        if (inBlock) {
            if (c == '*' && i + 1 < content.size() && content[i + 1] == '/') {
                inBlock = false;
                ++i;
                current.push_back(' ');
            }
            continue;
        }
        if (quote) {
            current.push_back(c);
            if (headerOnly && c == '\\' && i + 1 < content.size() && content[i + 1] != '\n') {
                current.push_back(content[++i]);
            } else if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '/' && i + 1 < content.size() && content[i + 1] == '/') {
            while (i + 1 < content.size() && content[i + 1] != '\n') ++i;
            continue;
        }
        if (c == '/' && i + 1 < content.size() && content[i + 1] == '*') {
            inBlock = true;
            ++i;
            continue;
        }
        if (c == '"' || (headerOnly && c == '\'')) quote = c;
        current.push_back(c);
    }
    if (!current.empty()) lines.push_back(Line{current, lineStart});

    std::vector<Condition> conditions;
    for (const Line& line : lines) {
        Location at{file, line.number};
        size_t first = line.text.find_first_not_of(" \t\f\v");
        if (first == std::string::npos) continue;
        if (line.text[first] == '#') {
            directive(line.text.substr(first + 1), at, dir, conditions, codePage, depth);
            continue;
        }
        bool active = conditions.empty() || conditions.back().active;
        if (!active || headerOnly) continue;
        std::vector<Token> raw = lex(line.text, at, codePage);
        std::set<std::string> expanding;
        expand(raw, tokens, expanding);
    }
    if (!conditions.empty()) fail(Location{file, lines.empty() ? 1 : lines.back().number}, "#if without #endif");
}

namespace {

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\f\v");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\f\v");
    return s.substr(b, e - b + 1);
}

std::string leadingIdent(const std::string& s, size_t* pos) {
    size_t i = *pos;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t b = i;
    while (i < s.size() && isIdentChar(s[i])) ++i;
    *pos = i;
    return s.substr(b, i - b);
}

} // namespace

void Preprocessor::directive(const std::string& line, const Location& at, const std::string& dir,
                             std::vector<Condition>& conditions, int& codePage, int depth) {
    size_t pos = 0;
    std::string name = leadingIdent(line, &pos);
    std::string rest = trim(line.substr(pos));
    bool active = conditions.empty() || conditions.back().active;

    if (name == "if" || name == "ifdef" || name == "ifndef") {
        bool value = false;
        if (active) {
            if (name == "if") {
                value = evaluateCondition(rest, at, codePage) != 0;
            } else {
                size_t p = 0;
                std::string macro = leadingIdent(rest, &p);
                if (macro.empty()) fail(at, "#" + name + " needs a name");
                value = isDefined(macro) == (name == "ifdef");
            }
        }
        conditions.push_back(Condition{active, active && value, active && value, false});
        return;
    }
    if (name == "elif" || name == "else" || name == "endif") {
        if (conditions.empty()) fail(at, "#" + name + " without #if");
        Condition& c = conditions.back();
        if (name == "endif") {
            conditions.pop_back();
            return;
        }
        if (c.seenElse) fail(at, "#" + name + " after #else");
        if (name == "else") {
            c.seenElse = true;
            c.active = c.parentActive && !c.taken;
            c.taken = c.taken || c.active;
            return;
        }
        bool value = c.parentActive && !c.taken && evaluateCondition(rest, at, codePage) != 0;
        c.active = value;
        c.taken = c.taken || value;
        return;
    }
    if (!active) return;

    if (name.empty()) {
        if (rest.empty()) return; // a lone '#' is allowed
        fail(at, "unknown directive #" + rest);
    }
    if (name == "define") {
        size_t p = 0;
        std::string macro = leadingIdent(rest, &p);
        if (macro.empty() || !isIdentStart(macro[0])) fail(at, "#define needs a name");
        Macro m;
        if (p < rest.size() && rest[p] == '(') {
            m.function = true;
        } else {
            try {
                m.body = lex(rest.substr(p), at, codePage);
            } catch (const Error& e) {
                // A body the resource script cannot use (C code in a shared header) only matters if used.
                m.unusable = e.what_only();
            }
        }
        macros_[macro] = m;
        return;
    }
    if (name == "undef") {
        size_t p = 0;
        macros_.erase(leadingIdent(rest, &p));
        return;
    }
    if (name == "include") {
        if (rest.size() >= 2 && rest[0] == '"' && rest.find('"', 1) != std::string::npos)
            include(rest.substr(1, rest.find('"', 1) - 1), false, at, dir, depth);
        else if (rest.size() >= 2 && rest[0] == '<' && rest.find('>') != std::string::npos)
            include(rest.substr(1, rest.find('>') - 1), true, at, dir, depth);
        else
            fail(at, "#include needs \"file\" or <file>");
        return;
    }
    if (name == "pragma") {
        size_t p = 0;
        std::string what = leadingIdent(rest, &p);
        if (what == "code_page") {
            std::string arg = trim(rest.substr(p));
            if (arg.size() < 2 || arg.front() != '(' || arg.back() != ')') fail(at, "#pragma code_page needs (number)");
            arg = trim(arg.substr(1, arg.size() - 2));
            char* end = nullptr;
            long cp = std::strtol(arg.c_str(), &end, 10);
            if (arg == "DEFAULT") cp = 1252;
            else if (arg.empty() || *end) fail(at, "#pragma code_page needs a number");
            if (cp != 1252 && cp != 65001 && cp != 28591 && cp != 20127)
                fail(at, "code page " + arg + " is not supported (use 65001 or 1252)");
            codePage = cp == 65001 ? 65001 : 1252;
        } else if (what == "once") {
            onceFiles_.insert(canonical(*at.file));
        }
        return; // other pragmas do not concern resources
    }
    if (name == "error") fail(at, "#error " + rest);
    if (name == "line" || name == "warning" || name == "message") return;
    fail(at, "unknown directive #" + name);
}

void Preprocessor::include(const std::string& rawSpec, bool angled, const Location& at, const std::string& dir,
                           int depth) {
    std::string fileRef = rawSpec;
    std::replace(fileRef.begin(), fileRef.end(), '\\', '/');
    if (depth > 32) fail(at, "#include nested too deeply");
    std::vector<std::string> candidates;
    if (!angled) candidates.push_back(joinPath(dir, fileRef));
    for (auto& d : options_.includeDirs) candidates.push_back(joinPath(d, fileRef));
    for (auto& path : candidates) {
        if (!fileExists(path)) continue;
        std::string key = canonical(path);
        if (onceFiles_.count(key)) return;
        bool ok;
        std::string content = readFile(path, &ok);
        if (!ok) fail(at, "cannot read include file " + fileRef);
        if (std::find(dependencies.begin(), dependencies.end(), key) == dependencies.end())
            dependencies.push_back(key);
        process(content, path, directoryOfPath(path), isHeaderOnly(path), depth + 1);
        return;
    }
    if (isSystemHeader(fileRef)) return; // the tool knows what the Windows headers define
    fail(at, "cannot open include file " + fileRef);
}

bool Preprocessor::isDefined(const std::string& name) const {
    int64_t v;
    std::string s;
    return macros_.count(name) || builtinNumber(name, &v) || builtinString(name, &s);
}

std::vector<Token> Preprocessor::lex(const std::string& line, const Location& at, int codePage) const {
    std::vector<Token> out;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\r') {
            ++i;
            continue;
        }
        Token t;
        t.at = at;
        bool wide = false;
        if ((c == 'L' || c == 'l') && i + 1 < n && line[i + 1] == '"') {
            wide = true;
            ++i;
            c = '"';
        }
        if (c == '"') {
            t.kind = Token::String;
            t.wide = wide;
            ++i;
            std::string bytes;     // narrow: bytes in the code page
            std::u16string units;  // wide: escapes give UTF-16 units directly
            std::string pending;   // wide: plain bytes not yet decoded
            auto flush = [&]() {
                units += decode(pending, codePage);
                pending.clear();
            };
            bool closed = false;
            while (i < n) {
                char d = line[i];
                if (d == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        (wide ? pending : bytes).push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (d != '\\' || i + 1 >= n) {
                    (wide ? pending : bytes).push_back(d);
                    ++i;
                    continue;
                }
                char e = line[i + 1];
                i += 2;
                uint32_t unit = 0;
                bool escaped = true;
                switch (e) {
                case 'n': unit = 0x0A; break;
                case 'r': unit = 0x0D; break;
                case 't': unit = 0x09; break;
                case 'a': unit = 0x08; break; // rc.exe writes \a as a backspace (menus right-align at it)
                case '\\': unit = '\\'; break;
                case '"': fail(at, "\\\" is not allowed in a resource string; write \"\" for a quotation mark");
                case 'x':
                case 'X': {
                    int maxDigits = wide ? 4 : 2, digits = 0;
                    while (digits < maxDigits && i < n && hexDigit(line[i]) >= 0) {
                        unit = unit * 16 + static_cast<uint32_t>(hexDigit(line[i]));
                        ++i;
                        ++digits;
                    }
                    if (digits == 0) fail(at, "\\x needs hexadecimal digits");
                    break;
                }
                default:
                    if (e >= '0' && e <= '7') {
                        unit = static_cast<uint32_t>(e - '0');
                        int digits = 1;
                        while (digits < (wide ? 6 : 3) && i < n && line[i] >= '0' && line[i] <= '7') {
                            unit = unit * 8 + static_cast<uint32_t>(line[i] - '0');
                            ++i;
                            ++digits;
                        }
                        if (!wide && unit > 0xFF) unit &= 0xFF;
                        if (wide && unit > 0xFFFF) unit &= 0xFFFF;
                    } else {
                        escaped = false; // an unknown escape stays as written
                    }
                }
                if (!escaped) {
                    (wide ? pending : bytes).push_back('\\');
                    (wide ? pending : bytes).push_back(e);
                } else if (wide) {
                    flush();
                    units.push_back(static_cast<char16_t>(unit));
                } else {
                    bytes.push_back(static_cast<char>(unit));
                }
            }
            if (!closed) fail(at, "string not closed on its line");
            if (wide) {
                flush();
                t.str = units;
            } else {
                t.bytes = bytes;
                t.str = decode(bytes, codePage);
            }
            out.push_back(t);
            continue;
        }
        if (isIdentStart(c)) {
            size_t b = i;
            while (i < n && isIdentChar(line[i])) ++i;
            t.kind = Token::Ident;
            t.text = line.substr(b, i - b);
            out.push_back(t);
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t b = i;
            while (i < n && isIdentChar(line[i])) ++i;
            t.kind = Token::Number;
            t.text = line.substr(b, i - b);
            std::string digits = t.text;
            while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' || digits.back() == 'U' ||
                                       digits.back() == 'u')) {
                if (digits.back() == 'L' || digits.back() == 'l') t.isLong = true;
                digits.pop_back();
            }
            int base = 10;
            size_t p = 0;
            if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
                base = 16;
                p = 2;
            } else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'o' || digits[1] == 'O')) {
                base = 8;
                p = 2;
            }
            uint64_t v = 0;
            if (p >= digits.size()) fail(at, "bad number " + t.text);
            for (; p < digits.size(); ++p) {
                int d = hexDigit(digits[p]);
                if (d < 0 || d >= base) fail(at, "bad number " + t.text);
                v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
                if (v > 0xFFFFFFFFull) fail(at, "number " + t.text + " does not fit in 32 bits");
            }
            t.value = static_cast<int64_t>(v);
            out.push_back(t);
            continue;
        }
        static const char* const twoChar[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
        bool matched = false;
        for (const char* p : twoChar) {
            if (i + 1 < n && line[i] == p[0] && line[i + 1] == p[1]) {
                t.kind = Token::Punct;
                t.text = p;
                i += 2;
                matched = true;
                break;
            }
        }
        if (matched) {
            out.push_back(t);
            continue;
        }
        if (std::string(",(){}|&+-*/%~!<>=?:^;.#[]").find(c) != std::string::npos) {
            t.kind = Token::Punct;
            t.text = std::string(1, c);
            ++i;
            out.push_back(t);
            continue;
        }
        unsigned char u = static_cast<unsigned char>(c);
        char shown[8];
        if (u >= 0x20 && u < 0x7F) std::snprintf(shown, sizeof shown, "%c", c);
        else std::snprintf(shown, sizeof shown, "\\x%02X", u);
        fail(at, std::string("unexpected character '") + shown + "'");
    }
    return out;
}

void Preprocessor::expand(const std::vector<Token>& in, std::vector<Token>& out, std::set<std::string>& active) const {
    for (size_t i = 0; i < in.size(); ++i) {
        const Token& t = in[i];
        if (t.kind != Token::Ident || active.count(t.text)) {
            out.push_back(t);
            continue;
        }
        auto it = macros_.find(t.text);
        if (it == macros_.end()) {
            out.push_back(t);
            continue;
        }
        if (it->second.function) {
            if (i + 1 < in.size() && in[i + 1].is("("))
                fail(t.at, "macro " + t.text + " takes arguments, which resource scripts here do not support");
            out.push_back(t);
            continue;
        }
        if (!it->second.unusable.empty())
            fail(t.at, "macro " + t.text + " cannot be used in a resource script: " + it->second.unusable);
        std::vector<Token> body = it->second.body;
        for (auto& b : body) b.at = t.at; // faults in an expansion point at its use
        if (active.size() > 200) fail(t.at, "macros nested too deeply");
        active.insert(t.text);
        expand(body, out, active);
        active.erase(t.text);
    }
}

namespace {

// C expressions of #if and #elif.
class ConditionParser {
public:
    ConditionParser(const std::vector<Token>& t, const Location& at) : t_(t), at_(at) {}
    int64_t run() {
        if (t_.empty()) fail(at_, "#if needs an expression");
        int64_t v = ternary();
        if (p_ < t_.size()) fail(at_, "unexpected '" + t_[p_].text + "' in #if");
        return v;
    }

private:
    bool eat(const char* p) {
        if (p_ < t_.size() && t_[p_].is(p)) {
            ++p_;
            return true;
        }
        return false;
    }
    int64_t ternary() {
        int64_t c = binary(0);
        if (eat("?")) {
            int64_t a = ternary();
            if (!eat(":")) fail(at_, "':' expected in #if");
            int64_t b = ternary();
            return c ? a : b;
        }
        return c;
    }
    int64_t binary(int level) {
        static const std::vector<std::vector<const char*>> levels = {
            {"||"}, {"&&"}, {"|"}, {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="}, {"<<", ">>"}, {"+", "-"},
            {"*", "/", "%"}};
        if (level == static_cast<int>(levels.size())) return unary();
        int64_t v = binary(level + 1);
        for (;;) {
            const char* op = nullptr;
            for (const char* o : levels[static_cast<size_t>(level)])
                if (p_ < t_.size() && t_[p_].is(o)) op = o;
            if (!op) return v;
            ++p_;
            int64_t r = binary(level + 1);
            std::string o = op;
            if (o == "||") v = v || r;
            else if (o == "&&") v = v && r;
            else if (o == "|") v |= r;
            else if (o == "^") v ^= r;
            else if (o == "&") v &= r;
            else if (o == "==") v = v == r;
            else if (o == "!=") v = v != r;
            else if (o == "<") v = v < r;
            else if (o == ">") v = v > r;
            else if (o == "<=") v = v <= r;
            else if (o == ">=") v = v >= r;
            else if (o == "<<") v = (r < 0 || r > 62) ? 0 : static_cast<int64_t>(static_cast<uint64_t>(v) << r);
            else if (o == ">>") v = (r < 0 || r > 62) ? 0 : v >> r;
            else if (o == "+") v = static_cast<int64_t>(static_cast<uint64_t>(v) + static_cast<uint64_t>(r));
            else if (o == "-") v = static_cast<int64_t>(static_cast<uint64_t>(v) - static_cast<uint64_t>(r));
            else if (o == "*") v = static_cast<int64_t>(static_cast<uint64_t>(v) * static_cast<uint64_t>(r));
            else {
                if (r == 0) fail(at_, "division by zero in #if");
                if (r == -1) v = o == "/" ? static_cast<int64_t>(0 - static_cast<uint64_t>(v)) : 0; // no overflow trap
                else v = o == "/" ? v / r : v % r;
            }
        }
    }
    int64_t unary() {
        if (++depth_ > 200) fail(at_, "#if expression nested too deeply");
        struct Leave {
            int& d;
            ~Leave() { --d; }
        } leave{depth_};
        if (eat("!")) return !unary();
        if (eat("~")) return ~unary();
        if (eat("-")) return static_cast<int64_t>(0 - static_cast<uint64_t>(unary()));
        if (eat("+")) return unary();
        if (eat("(")) {
            int64_t v = ternary();
            if (!eat(")")) fail(at_, "')' expected in #if");
            return v;
        }
        if (p_ >= t_.size()) fail(at_, "#if expression ends too early");
        const Token& t = t_[p_++];
        if (t.kind == Token::Number) {
            // C reads a leading zero as octal here, unlike resource statements
            if (t.text.size() > 1 && t.text[0] == '0' && std::isdigit(static_cast<unsigned char>(t.text[1]))) {
                int64_t v = 0;
                for (char c : t.text) {
                    if (c < '0' || c > '7') break;
                    v = v * 8 + (c - '0');
                }
                return v;
            }
            return t.value;
        }
        if (t.kind == Token::Ident) {
            int64_t v;
            return builtinNumber(t.text, &v) ? v : 0; // unknown names are 0, as in C
        }
        fail(at_, "unexpected '" + (t.kind == Token::String ? std::string("string") : t.text) + "' in #if");
    }

    const std::vector<Token>& t_;
    Location at_;
    size_t p_ = 0;
    int depth_ = 0;
};

} // namespace

int64_t Preprocessor::evaluateCondition(const std::string& text, const Location& at, int codePage) const {
    std::vector<Token> raw = lex(text, at, codePage), resolved;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i].kind == Token::Ident && raw[i].text == "defined") {
            bool paren = i + 1 < raw.size() && raw[i + 1].is("(");
            size_t nameAt = i + (paren ? 2 : 1);
            if (nameAt >= raw.size() || raw[nameAt].kind != Token::Ident) fail(at, "defined needs a name");
            if (paren && (nameAt + 1 >= raw.size() || !raw[nameAt + 1].is(")"))) fail(at, "defined( needs ')'");
            Token one = raw[i];
            one.kind = Token::Number;
            one.value = isDefined(raw[nameAt].text) ? 1 : 0;
            one.text = one.value ? "1" : "0";
            resolved.push_back(one);
            i = nameAt + (paren ? 1 : 0);
            continue;
        }
        resolved.push_back(raw[i]);
    }
    std::vector<Token> expanded;
    std::set<std::string> active;
    expand(resolved, expanded, active);
    return ConditionParser(expanded, at).run();
}

} // namespace w32rc
