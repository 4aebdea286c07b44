// pelorin-host: a host of the system for scripts and for a person at a terminal.
#include "host/Host.h"
#include "host/Json.h"
#include "host/Text.h"

#include <w32drv.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* kProgramUsage = R"(usage: pelorin-host [--catalog FILE]... COMMAND [options]

commands:
  assist --line TEXT [--caret N] [--selection START,END] [--keys KEYS] [--answers LIST]
         [--key-delay MS] [--trace]
                        open the input assistance over TEXT, play KEYS, print the result as JSON
  lint [--] FILE...     load catalog files and tell what they hold or why they fail (JSON)
  check-signal [--] SIGNAL...
                        whether each signal names a selectable parameter of the catalogs (JSON)
  tui [--line TEXT]     a one-line editor in the terminal with the input assistance

Without --catalog the bundled samples are registered: standard.xml, rearseat.xml, single.xml.
Text arguments are UTF-8 and must fit Windows-1252; file names are taken as they are.
"pelorin-host COMMAND --help" describes a command. Exit codes: 0 done, 1 failed, 2 unusable
command line or file.
)";

const char* kAssistUsage = R"(usage: pelorin-host [--catalog FILE]... assist --line TEXT [options]

Opens the input assistance over TEXT, plays KEYS and prints the result as JSON:
{"result", "line", "displacement", "messageBoxes", "beeps", "inputExhausted"}.

options:
  --line TEXT           the editor line (UTF-8, characters of Windows-1252 only)
  --caret N             the caret, 0 to the line's length (default: the end)
  --selection START,END the selected characters (default: none)
  --keys KEYS           the key script, in the SendKeys brace syntax
  --answers LIST        answers to the message boxes in order: yes, no, ok, cancel, retry, abort,
                        ignore (comma-separated)
  --key-delay MS        the clock's step after every key (default 250)
  --trace               the dialog's text picture on standard error after every key
  --help                this text
)";

const char* kLintUsage = R"(usage: pelorin-host lint [--] FILE...

Loads each catalog file and prints as JSON whether it loaded, its catalog name, its FBlocks and
functions, the numbers of FBlocks, functions, OpTypes and parameters, and its log.
"--" ends the options, for file names that begin with "-".
)";

const char* kCheckSignalUsage = R"(usage: pelorin-host [--catalog FILE]... check-signal [--] SIGNAL...

Tells for each signal name whether the selection model accepts it as a selectable parameter of
the catalogs: [{"signal", "selectable"}]. "--" ends the options, for names that begin with "-".
)";

const char* kTuiUsage = R"(usage: pelorin-host [--catalog FILE]... tui [--line TEXT]

A one-line script editor in the terminal; F2 or Ctrl+Space opens the input assistance at the
caret, Ctrl+Q or Escape quits. --line sets the line to start with (UTF-8, characters of
Windows-1252 only).
)";

} // namespace

std::string CommandUsage(const std::string& command) {
    if (command == "assist") return kAssistUsage;
    if (command == "lint") return kLintUsage;
    if (command == "check-signal") return kCheckSignalUsage;
    if (command == "tui") return kTuiUsage;
    return kProgramUsage;
}

bool Utf8Option(const std::string& option, const std::string& value, UsageError& error) {
    std::string ignored;
    if (IsUtf8(value)) return true;
    error.message = Cp1252Argument(option, value, ignored);
    return false;
}

int RunCommand(HostSession& session, const std::string& command, const std::vector<std::string>& args,
               CommandRun& run, UsageError& error) {
    // each command reports the message boxes and beeps of its own run
    w32drv::ClearRecords();
    if (command == "assist") return RunAssist(session, args, run, error);
    if (command == "lint") return RunLint(session, args, run, error);
    if (command == "check-signal") return RunCheckSignal(session, args, run, error);
    error.message = "unknown command " + Excerpt(command) + " (assist, lint, check-signal, tui)";
    return ExitUsage;
}

namespace {

int run(const std::vector<std::string>& args) {
    std::vector<std::string> catalogs;
    size_t i = 0;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string& a = args[i];
        if (a == "--catalog") {
            if (i + 1 >= args.size()) {
                std::cerr << "pelorin-host: --catalog needs a FILE\n";
                return ExitUsage;
            }
            catalogs.push_back(args[++i]);
        } else if (a == "--help" || a == "-h") {
            std::cout << kProgramUsage;
            return ExitOk;
        } else {
            std::cerr << "pelorin-host: unknown option " << Excerpt(a) << " (--catalog FILE, --help)\n";
            return ExitUsage;
        }
    }
    if (i >= args.size()) {
        std::cerr << kProgramUsage;
        return ExitUsage;
    }
    const std::string& command = args[i];
    std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
    if (command == "help") {
        std::cout << CommandUsage(rest.empty() ? "" : rest[0]);
        return ExitOk;
    }
    UsageError error;
    int code = ExitUsage;
    if (command == "tui") {
        code = RunTui(catalogs, rest, error);
    } else {
        HostSession session(catalogs);
        CommandRun result;
        code = RunCommand(session, command, rest, result, error);
        if (error.message.empty() && result.usage) {
            std::cout << CommandUsage(command);
            std::cout.flush();
            return std::cout ? ExitOk : ExitFailed;
        }
        if (error.message.empty() && code == ExitOk) code = PrintJson(result.json) ? ExitOk : ExitFailed;
    }
    if (!error.message.empty()) {
        std::cerr << "pelorin-host: " << error.message << '\n';
        return ExitUsage;
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    // nothing may end the program with an exception: a script reads a message and an exit code
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::string what = Utf8Repaired(e.what());
        for (char& c : what)
            if (c == '\n' || c == '\r') c = ' ';
        std::cerr << "pelorin-host: failed: " << what << '\n';
    } catch (...) {
        std::cerr << "pelorin-host: failed\n";
    }
    return ExitFailed;
}
