// check-signal: whether the selection model accepts each signal name as a selectable parameter
// of the catalogs.
#include "host/Host.h"
#include "host/Json.h"
#include "host/Text.h"

#include "selection/MXSSelection.h"

#include <Quarnel.h>
#include <nlohmann/json.hpp>

#include <iostream>

int RunCheckSignal(const std::vector<std::string>& catalogFiles, const std::vector<std::string>& args, UsageError& error) {
    std::vector<std::string> signals, names; // as given (UTF-8) and as the system reads them
    bool options = true;
    for (const auto& a : args) {
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--help" || a == "-h")) {
            std::cout << CommandUsage("check-signal");
            return ExitOk;
        } else if (options && a.size() > 1 && a[0] == '-') {
            error.message = "check-signal: unknown option " + Excerpt(a) + " (\"--\" before a signal that begins with \"-\")";
            return ExitUsage;
        } else {
            std::string name;
            error.message = Cp1252Argument("signal " + std::to_string(signals.size() + 1), a, name);
            if (!error.message.empty()) return ExitUsage;
            signals.push_back(a);
            names.push_back(name);
        }
    }
    if (signals.empty()) {
        error.message = "check-signal needs at least one SIGNAL";
        return ExitUsage;
    }
    std::vector<std::string> catalogs = CatalogFiles(catalogFiles, error);
    if (!error.message.empty()) return ExitUsage;
    QRNHandle handle = 0;
    if (gQRNCreateFCatManager(&handle, "pelorin-host") != 0) {
        std::cerr << "pelorin-host: the catalog library cannot create a manager\n";
        return ExitFailed;
    }
    KQRNFCatManager* m = gQRNFCatManager(handle);
    for (const auto& f : catalogs) {
        std::string name;
        if (m->LoadFCat(f, 1, name, 0, "") != 0) {
            gQRNDestroyFCatManager(handle);
            error.message = "cannot load catalog " + Excerpt(f);
            return ExitUsage;
        }
    }
    nlohmann::json out = nlohmann::json::array();
    {
        KMXSSelection selection(handle);
        for (size_t i = 0; i < signals.size(); ++i)
            out.push_back({{"signal", signals[i]}, {"selectable", selection.IsSignalSelectable(&names[i])}});
    }
    gQRNDestroyFCatManager(handle);
    return PrintJson(out) ? ExitOk : ExitFailed;
}
