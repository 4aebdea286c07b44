// w32rc [-I dir]... [-D name[=value]]... [--depfile file] -o output.cpp script.rc
#include "rc.h"

#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

const char* const kUsage = "usage: w32rc [-I dir]... [-D name[=value]]... [--depfile file] -o output.cpp script.rc\n";

int usage(const std::string& problem = {}) {
    if (!problem.empty()) std::cerr << "w32rc: " << problem << '\n';
    std::cerr << kUsage;
    return 2;
}

// Written beside the target and renamed over it, so a failed run never leaves half a file.
bool writeFile(const std::string& path, const std::string& text) {
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        if (!out.flush()) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    w32rc::Options options;
    std::string output, depfile, input;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const std::string& flag) -> std::string {
            if (a.size() > flag.size()) return a.substr(flag.size());
            if (i + 1 >= argc) return {};
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (a.rfind("-I", 0) == 0) {
            std::string dir = value("-I");
            if (dir.empty()) return usage();
            options.includeDirs.push_back(dir);
        } else if (a.rfind("-D", 0) == 0) {
            std::string def = value("-D");
            if (def.empty()) return usage();
            size_t eq = def.find('=');
            options.defines.emplace_back(def.substr(0, eq), eq == std::string::npos ? "1" : def.substr(eq + 1));
        } else if (a == "-o") {
            output = value("-o");
            if (output.empty()) return usage("-o needs a file name");
        } else if (a == "--depfile") {
            depfile = value("--depfile");
            if (depfile.empty()) return usage("--depfile needs a file name");
        } else if (!a.empty() && a[0] == '-') {
            return usage("unknown option " + a.substr(0, 64) + (a.size() > 64 ? "..." : ""));
        } else if (input.empty()) {
            input = a;
        } else {
            return usage("one script at a time");
        }
    }
    if (input.empty() || output.empty()) return usage();
    try {
        w32rc::Script script = w32rc::compileFile(input, options);
        if (!writeFile(output, w32rc::emitTable(script, input))) {
            std::cerr << output << ": error: cannot write the output\n";
            return 1;
        }
        if (!depfile.empty() && !writeFile(depfile, w32rc::depfileText(output, script.dependencies))) {
            std::cerr << depfile << ": error: cannot write the dependency file\n";
            return 1;
        }
    } catch (const w32rc::Error& e) {
        std::cerr << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << input << ": error: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
