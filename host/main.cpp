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
  select --flags N [--channels N] [--use-last-state] [--not-editable]
         [--preselect SIGNAL [--instance N] [--channel N] [--value-text TEXT]]
         [--predefined FILE] [--keys KEYS] [--answers LIST] [--key-delay MS] [--trace]
                        open the selection dialog of a selection model, play KEYS, print its
                        reports and state as JSON
  pick --line TEXT [--caret N] [--preselect] [--keys KEYS] [--answers LIST] [--key-delay MS]
       [--trace]        open the selection dialog as an editor does, play KEYS, print the texts
                        it hands over as JSON
  batch FILE            run the command lines of FILE in one process, print their results (JSON)
  lint [--] FILE...     load catalog files and tell what they hold or why they fail (JSON)
  check-signal [--] SIGNAL...
                        whether each signal names a selectable parameter of the catalogs (JSON)
  tui [--line TEXT]     a one-line editor in the terminal (on Windows a window) with the input
                        assistance (F2) and the selection dialog (F3)

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

const char* kSelectUsage = R"(usage: pelorin-host [--catalog FILE]... select --flags N [options]

Creates a selection model over the catalogs, opens its selection dialog with the flag word N
(modal with 0x01, else modeless, driven by the host's message loop and closed when the keys are
used up), plays KEYS and prints as JSON the dialog's reports, the help requests, the model's
state after the dialog closed, the pre-selection's result (null without --preselect), the
message boxes and whether the keys ran out with the dialog still open:
{"reports": [{"final", "objects"}], "help", "lastState", "preselected", "messageBoxes",
"inputExhausted"}.

options:
  --flags N             the flag word: 0x01 modal, 0x04 tree variant, 0x08 report OpTypes,
                        0x10 address mode, 0x40 details, 0x80 signal mode, 0x100 fixed signal,
                        0x200 strings and streams, 0x400 predefined objects, 0x800 no instance row
  --channels N          the MOST channels the dialog offers (default 0)
  --use-last-state      start from the state of the last dialog that reported in this process
  --not-editable        the name field is read-only
  --preselect SIGNAL    the signal to select when the dialog opens
  --instance N          the pre-selection's instance (default 255, every instance)
  --channel N           the pre-selection's channel (default 0)
  --value-text TEXT     the pre-selection's value text
  --predefined FILE     predefined objects, a JSON array of {"id", "name", "description",
                        "isGroup", "isSelectable"} ("id" and "name" required)
  --keys KEYS           the key script, in the SendKeys brace syntax, with {DBLCLICK} and
                        {CLICKROW path} for the tree
  --answers LIST        answers to the message boxes in order: yes, no, ok, cancel, retry, abort,
                        ignore (comma-separated)
  --key-delay MS        the clock's step after every key (default 250)
  --trace               the dialog's text picture on standard error after every key
  --help                this text
Numbers are decimal, or hex with 0x.
)";

const char* kPickUsage = R"(usage: pelorin-host [--catalog FILE]... pick --line TEXT [options]

Opens the modeless selection dialog over the editor line as an editor does: in address mode, or
with --preselect in signal mode (with the attribute filter when the caret follows a "."). Plays
KEYS, closes the dialog if it is still open and prints as JSON the texts the dialog handed over
and the help requests: {"texts", "help"}.

options:
  --line TEXT           the editor line (UTF-8, characters of Windows-1252 only)
  --caret N             the caret, 0 to the line's length (default: the end)
  --preselect           signal mode instead of address mode
  --keys KEYS           the key script, in the SendKeys brace syntax, with {DBLCLICK} and
                        {CLICKROW path} for the tree
  --answers LIST        answers to the message boxes in order (see assist --help)
  --key-delay MS        the clock's step after every key (default 250)
  --trace               the dialog's text picture on standard error after every key
  --help                this text
Numbers are decimal, or hex with 0x.
)";

const char* kBatchUsage = R"(usage: pelorin-host [--catalog FILE]... batch FILE

Runs the command lines of FILE one after the other in one process (assist, select, pick, lint
and check-signal, each with its options, quoted as in a POSIX shell: '...', "..." and
backslash), over catalogs loaded once, so that what the system keeps between dialogs carries
from one line to the next. Prints a JSON array of the results, each the JSON the line would
print alone. Blank lines and lines that begin with "#" are skipped. The first line that fails
ends the batch with its exit code and a message that names the line; nothing is printed then.
)";

const char* kTuiUsage = R"(usage: pelorin-host [--catalog FILE]... tui [--line TEXT]

A one-line script editor in the terminal; F2 or Ctrl+Space opens the input assistance at the
caret, F3 or Ctrl+T the selection dialog (OK inserts the chosen signal at the caret), Ctrl+Q or
Escape quits. --line sets the line to start with (UTF-8, characters of Windows-1252 only).
On Windows the editor is a window with an edit control: F2, F3 and Escape as in the terminal.
)";

} // namespace

std::string CommandUsage(const std::string& command) {
    if (command == "assist") return kAssistUsage;
    if (command == "lint") return kLintUsage;
    if (command == "check-signal") return kCheckSignalUsage;
    if (command == "tui") return kTuiUsage;
    if (command == "select") return kSelectUsage;
    if (command == "pick") return kPickUsage;
    if (command == "batch") return kBatchUsage;
    return kProgramUsage;
}

bool Utf8Option(const std::string& option, const std::string& value, UsageError& error) {
    std::string ignored;
    if (IsUtf8(value)) return true;
    error.message = Cp1252Argument(option, value, ignored);
    return false;
}

bool Operands(const std::string& command, const std::string& what, const std::vector<std::string>& args,
              std::vector<std::string>& operands, bool& help, UsageError& error) {
    bool options = true;
    for (const auto& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--help" || a == "-h")) {
            help = true;
            return true;
        } else if (options && a.size() > 1 && a[0] == '-') {
            error.message = command + ": unknown option " + Excerpt(a) + " (\"--\" before " + what +
                            " that begins with \"-\")";
            return false;
        } else {
            operands.push_back(a);
        }
    }
    return true;
}

int RunCommand(HostSession& session, const std::string& command, const std::vector<std::string>& args,
               CommandRun& run, UsageError& error) {
    // each command reports the message boxes and beeps of its own run
    w32drv::ClearRecords();
    if (command == "assist") return RunAssist(session, args, run, error);
    if (command == "select") return RunSelect(session, args, run, error);
    if (command == "pick") return RunPick(session, args, run, error);
    if (command == "batch") return RunBatch(session, args, run, error);
    if (command == "lint") return RunLint(session, args, run, error);
    if (command == "check-signal") return RunCheckSignal(session, args, run, error);
    error.message = "unknown command " + Excerpt(command) + " (assist, select, pick, batch, lint, check-signal, tui)";
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
#ifdef _WIN32
        code = RunWindowEditor(catalogs, rest, error);
#else
        code = RunTui(catalogs, rest, error);
#endif
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
