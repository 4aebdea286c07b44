// tui: the interactive terminal editor (not built yet).
#include "host/Host.h"

int RunTui(const std::vector<std::string>&, const std::vector<std::string>&, UsageError& error) {
    error.message = "tui is not available in this build";
    return 2;
}
