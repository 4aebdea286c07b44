// pelorin-host: a host of the system for scripts and for a person at a terminal.
#include "host/Host.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

const char* kUsage = R"(usage: pelorin-host [--catalog FILE]... COMMAND [options]

commands:
  assist --line TEXT [--caret N] [--selection START,END] [--keys KEYS] [--answers LIST]
         [--key-delay MS] [--trace]
                        open the input assistance over TEXT, play KEYS, print the result as JSON
  lint FILE...          load catalog files and tell what they hold or why they fail (JSON)
  check-signal SIGNAL...
                        whether each signal names a selectable parameter of the catalogs (JSON)
  tui [--line TEXT]     a one-line editor in the terminal with the input assistance

Without --catalog the bundled samples are registered: standard.xml, rearseat.xml, single.xml.
)";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<std::string> catalogs;
    size_t i = 0;
    while (i < args.size() && args[i] == "--catalog") {
        if (i + 1 >= args.size()) {
            std::cerr << "pelorin-host: --catalog needs a FILE\n";
            return 2;
        }
        catalogs.push_back(args[i + 1]);
        i += 2;
    }
    if (i >= args.size()) {
        std::cerr << kUsage;
        return 2;
    }
    std::string command = args[i];
    std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
    if (command == "--help" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    UsageError error;
    int code = 2;
    if (command == "lint") {
        code = RunLint(rest, error);
    } else if (command == "assist" || command == "check-signal" || command == "tui") {
        std::vector<std::string> files = CatalogFiles(catalogs, error);
        if (error.message.empty()) {
            if (command == "assist") code = RunAssist(files, rest, error);
            if (command == "check-signal") code = RunCheckSignal(files, rest, error);
            if (command == "tui") code = RunTui(files, rest, error);
        }
    } else {
        error.message = "unknown command " + command + " (assist, lint, check-signal, tui)";
    }
    if (!error.message.empty()) {
        std::cerr << "pelorin-host: " << error.message << '\n';
        return 2;
    }
    return code;
}
