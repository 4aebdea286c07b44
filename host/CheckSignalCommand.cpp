// check-signal: whether the selection model accepts each signal name as a selectable parameter
// of the catalogs.
#include "host/Host.h"
#include "host/Text.h"

#include "selection/MXSSelection.h"

#include <nlohmann/json.hpp>

int RunCheckSignal(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error) {
    std::vector<std::string> signals, names; // as given (UTF-8) and as the system reads them
    if (!Operands("check-signal", "a signal", args, signals, run.usage, error)) return ExitUsage;
    if (run.usage) return ExitOk;
    for (const auto& a : signals) {
        std::string name;
        error.message = Cp1252Argument("signal " + std::to_string(names.size() + 1), a, name);
        if (!error.message.empty()) return ExitUsage;
        names.push_back(name);
    }
    if (signals.empty()) {
        error.message = "check-signal needs at least one SIGNAL";
        return ExitUsage;
    }
    unsigned long handle = session.Manager(error);
    if (!handle) return ExitUsage;
    run.json = nlohmann::json::array();
    KMXSSelection selection(handle);
    for (size_t i = 0; i < signals.size(); ++i)
        run.json.push_back({{"signal", signals[i]}, {"selectable", selection.IsSignalSelectable(&names[i])}});
    return ExitOk;
}
