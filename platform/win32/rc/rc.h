// w32rc: compiles a Windows resource script (.rc) into the resource table of the headless build
// (w32res.h), with the data laid out as the Windows resource compiler lays it out.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace w32rc {

// A fault in a script or in a file it names, rendered "file(line): error: what".
class Error : public std::runtime_error {
public:
    Error(const std::string& file, int line, const std::string& what);
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& what_only() const { return what_; }

private:
    std::string file_;
    int line_;
    std::string what_;
};

// A resource type or name: an ordinal, or an upper-case string.
struct Name {
    bool ordinal = true;
    uint16_t number = 0;
    std::string text;
    static Name of(uint16_t n) { return Name{true, n, {}}; }
    static Name of(const std::string& s) { return Name{false, 0, s}; }
    bool operator==(const Name& o) const { return ordinal == o.ordinal && (ordinal ? number == o.number : text == o.text); }
};

struct Resource {
    Name type;
    Name name;
    uint16_t language = 0;
    std::vector<uint8_t> data;
};

struct Options {
    std::vector<std::string> includeDirs;
    std::vector<std::pair<std::string, std::string>> defines; // name, value ("1" when none)
};

struct Script {
    std::vector<Resource> resources;
    std::vector<std::string> dependencies; // every file read: the script, its headers, its icons
};

Script compileFile(const std::string& path, const Options& options);
// A script given as text; `name` is used in messages, includes and icons resolve against `dir`.
Script compileText(const std::string& text, const std::string& name, const Options& options,
                   const std::string& dir = ".");

// The C++ source that defines the table; `source` is named in its opening comment.
std::string emitTable(const Script& script, const std::string& source);
// A Makefile-style dependency file for the build tool.
std::string depfileText(const std::string& output, const std::vector<std::string>& dependencies);

// Constants the tool knows as <windows.h>, <commctrl.h> and <winres.h> define them.
bool builtinNumber(const std::string& name, int64_t* value);
bool builtinString(const std::string& name, std::string* value);

// Text of the given code page (1252 or 65001) as UTF-16.
std::u16string decode(const std::string& bytes, int codePage);

} // namespace w32rc
