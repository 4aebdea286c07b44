// check-signal: whether the selection model accepts each signal name as a selectable parameter
// of the catalogs.
#include "host/Host.h"

#include "selection/MXSSelection.h"

#include <Quarnel.h>
#include <nlohmann/json.hpp>

#include <iostream>

int RunCheckSignal(const std::vector<std::string>& catalogs, const std::vector<std::string>& signals, UsageError& error) {
    if (signals.empty()) {
        error.message = "check-signal needs at least one SIGNAL";
        return 2;
    }
    QRNHandle handle = 0;
    if (gQRNCreateFCatManager(&handle, "pelorin-host") != 0) {
        error.message = "the catalog library cannot create a manager";
        return 2;
    }
    KQRNFCatManager* m = gQRNFCatManager(handle);
    for (const auto& f : catalogs) {
        std::string name;
        if (m->LoadFCat(f, 1, name, 0, "") != 0) {
            gQRNDestroyFCatManager(handle);
            error.message = "cannot load catalog " + f;
            return 2;
        }
    }
    KMXSSelection selection(handle);
    nlohmann::json out = nlohmann::json::array();
    for (const auto& s : signals) out.push_back({{"signal", s}, {"selectable", selection.IsSignalSelectable(&s)}});
    std::cout << out.dump(2) << '\n';
    gQRNDestroyFCatManager(handle);
    return 0;
}
