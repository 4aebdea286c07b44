// The host program's pieces: the catalogs it registers, its editor window, and its commands.
#pragma once
#include <string>
#include <vector>

// The command line was not usable: the message goes to standard error and the exit code is 2.
struct UsageError {
    std::string message;
};

// The catalog files given, or the bundled samples in their fixed order; an unreadable file is a
// usage error.
std::vector<std::string> CatalogFiles(const std::vector<std::string>& given, UsageError& error);

// Commands: the exit code (2 with error filled for an unusable command line or file).
int RunAssist(const std::vector<std::string>& catalogs, const std::vector<std::string>& args, UsageError& error);
int RunLint(const std::vector<std::string>& files, UsageError& error);
int RunCheckSignal(const std::vector<std::string>& catalogs, const std::vector<std::string>& signals, UsageError& error);
int RunTui(const std::vector<std::string>& catalogs, const std::vector<std::string>& args, UsageError& error);

// The host's editor window: a top-level window whose font the input assistance measures with.
void* CreateEditorWindow(const char* title);
