// Parts of w32rc shared between the preprocessor, the statement parser and the tests' view.
#pragma once

#include "rc.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace w32rc {

struct Location {
    const std::string* file = nullptr; // owned by the Preprocessor's file list
    int line = 0;
};

[[noreturn]] void fail(const Location& at, const std::string& what);

struct Token {
    enum Kind { Ident, Number, String, Punct, End } kind = End;
    std::string text;        // identifier, punctuator, or the number as written
    int64_t value = 0;       // numbers
    bool isLong = false;     // numbers with an L suffix
    std::u16string str;      // strings, decoded
    std::string bytes;       // narrow strings: the bytes after escapes, before decoding
    bool wide = false;       // L"..."
    Location at;
    bool is(const char* p) const { return kind == Punct && text == p; }
};

// Turns the script and the files it includes into one stream of tokens, with directives done and
// macros expanded. Also records the folder each token's file lives in, to find icons.
class Preprocessor {
public:
    explicit Preprocessor(const Options& options);
    void runFile(const std::string& path);
    void runText(const std::string& text, const std::string& name, const std::string& dir);

    std::vector<Token> tokens;
    std::vector<std::string> dependencies;
    std::string directoryOf(const Location& at) const;
    const std::vector<std::string>& includeDirs() const { return options_.includeDirs; }
    // Holds a file name for the lifetime of the preprocessor; Locations point at it.
    const std::string* keepName(const std::string& name);

private:
    struct Macro {
        bool function = false;
        std::string unusable; // why the body cannot be read as resource script tokens
        std::vector<Token> body;
    };
    struct Condition {
        bool parentActive;
        bool active;
        bool taken;
        bool seenElse;
    };

    void process(const std::string& content, const std::string& name, const std::string& dir, bool headerOnly,
                 int depth);
    void directive(const std::string& line, const Location& at, const std::string& dir,
                   std::vector<Condition>& conditions, int& codePage, int depth);
    void include(const std::string& fileRef, bool angled, const Location& at, const std::string& dir, int depth);
    std::vector<Token> lex(const std::string& line, const Location& at, int codePage) const;
    void expand(const std::vector<Token>& in, std::vector<Token>& out, std::set<std::string>& active) const;
    int64_t evaluateCondition(const std::string& text, const Location& at, int codePage) const;
    bool isDefined(const std::string& name) const;

    Options options_;
    std::map<std::string, Macro> macros_;
    std::vector<std::unique_ptr<std::string>> names_;
    std::map<const std::string*, std::string> dirs_;
    std::set<std::string> onceFiles_;
};

std::string toUpperAscii(std::string s);
std::string narrowName(const std::u16string& s); // a resource name as Windows-1252 bytes
bool fileExists(const std::string& path);
std::string readFile(const std::string& path, bool* ok);
std::string joinPath(const std::string& dir, const std::string& file);
std::string directoryOfPath(const std::string& path);

// Statement parser: tokens to resources.
Script parse(Preprocessor& pp);

} // namespace w32rc
