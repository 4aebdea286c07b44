// The host program's pieces: the catalogs it registers, its editor window, and its commands.
#pragma once
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

class KPelorin;

// The command line was not usable: the message goes to standard error and the exit code is 2.
struct UsageError {
    std::string message;
};

// Exit codes of every command.
enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// The usage text of a command, or of the whole program for an unknown one.
std::string CommandUsage(const std::string& command);

// The catalog files given, or the bundled samples in their fixed order; an unreadable file is a
// usage error.
std::vector<std::string> CatalogFiles(const std::vector<std::string>& given, UsageError& error);

// What the commands of one process share: the catalog files given with --catalog, loaded once
// into one catalog manager for the selection model, and one selector (with its own container
// over the same files) on one editor window. A batch runs all its lines in one session, so that
// what the system keeps process-wide carries from line to line.
class HostSession {
public:
    explicit HostSession(std::vector<std::string> given);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    const std::vector<std::string>& Given() const { return given_; }
    // Set while a batch runs its lines.
    bool batch = false;
    // The files given, or the samples; false with error when one cannot be read.
    bool Files(std::vector<std::string>& files, UsageError& error);
    // The handle of the manager that holds every catalog; 0 with error when a file does not load.
    unsigned long Manager(UsageError& error);
    // The selector with every file registered; null with error when a file cannot be read.
    KPelorin* Selector(UsageError& error);
    void* Editor();

private:
    std::vector<std::string> given_;
    unsigned long manager_ = 0;
    void* editor_ = nullptr;
    std::unique_ptr<KPelorin> selector_;
};

// What a command hands back: the JSON it prints on success, or its usage for --help.
struct CommandRun {
    nlohmann::json json;
    bool usage = false;
};

// Commands, each with the session and the arguments after the command's name: the exit code
// (ExitUsage with error filled for an unusable command line or file). A command that fails on
// the way (ExitFailed) has said why on standard error.
int RunAssist(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error);
int RunLint(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error);
int RunCheckSignal(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error);
int RunSelect(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error);
int RunPick(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error);
int RunBatch(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error);
// The editors' options (--line TEXT, --help): false with error set, or with help set for --help.
// Without --line the line is a sample.
bool ParseEditorArguments(const std::vector<std::string>& args, std::string& line, bool& help, UsageError& error);
// The editor on Windows: a main window with an edit control in the terminal editor's place.
int RunWindowEditor(const std::vector<std::string>& catalogs, const std::vector<std::string>& args,
                    UsageError& error);
int RunTui(const std::vector<std::string>& catalogs, const std::vector<std::string>& args, UsageError& error);

// Runs one command of the session by name; "tui" is not among them (it needs the terminal).
int RunCommand(HostSession& session, const std::string& command, const std::vector<std::string>& args,
               CommandRun& run, UsageError& error);

// An option's argument that is not a file name: false with a message unless it is UTF-8.
bool Utf8Option(const std::string& option, const std::string& value, UsageError& error);

// The arguments of a command that takes operands and no option but --help: false with a message
// for any other option. "--" ends the options, so that an operand (what names one, for the
// message) may begin with "-".
bool Operands(const std::string& command, const std::string& what, const std::vector<std::string>& args,
              std::vector<std::string>& operands, bool& help, UsageError& error);

// The host's editor window: a top-level window whose font the input assistance measures with.
void* CreateEditorWindow(const char* title);

// The line of the accepted or cancelled dialog, however long (Windows-1252), and the caret
// displacement; false when it does not fit into the largest buffer GetSelection takes.
bool SelectedLine(KPelorin& selector, std::string& line, int& displacement);

// The folder of the running program, however long its path.
std::string ProgramFolder();
