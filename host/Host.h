// The host program's pieces: the catalogs it registers, its editor window, and its commands.
#pragma once
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

// Commands, each with the catalog files given with --catalog (before the command) and the
// arguments after it: the exit code (ExitUsage with error filled for an unusable command line or
// file). "--help" prints the command's usage.
int RunAssist(const std::vector<std::string>& catalogs, const std::vector<std::string>& args, UsageError& error);
int RunLint(const std::vector<std::string>& catalogs, const std::vector<std::string>& args, UsageError& error);
int RunCheckSignal(const std::vector<std::string>& catalogs, const std::vector<std::string>& args, UsageError& error);
int RunTui(const std::vector<std::string>& catalogs, const std::vector<std::string>& args, UsageError& error);

// An option's argument that is not a file name: false with a message unless it is UTF-8.
bool Utf8Option(const std::string& option, const std::string& value, UsageError& error);

// The host's editor window: a top-level window whose font the input assistance measures with.
void* CreateEditorWindow(const char* title);

// The line of the accepted or cancelled dialog, however long (Windows-1252), and the caret
// displacement; false when it does not fit into the largest buffer GetSelection takes.
bool SelectedLine(KPelorin& selector, std::string& line, int& displacement);

// The folder of the running program, however long its path.
std::string ProgramFolder();
