// lint: loads each catalog file through the catalog library and tells what it holds or why it
// failed.
#include "host/Host.h"
#include "host/Text.h"

#include <Quarnel.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace {

nlohmann::json lint(KQRNFCatManager& m, const std::string& file, const std::string& logFile) {
    std::string catalog;
    int status = m.LoadFCat(file, 1, catalog, 1, logFile);
    nlohmann::json out = {{"file", file}, {"loaded", status == 0}};
    if (status == 0) {
        int fblocks = 0, functions = 0, opTypes = 0, parameters = 0;
        std::vector<IdName> fbs;
        m.ListFBlocks(fbs, 1, catalog);
        for (const auto& fb : fbs) {
            ++fblocks;
            std::vector<IdName> fns;
            m.ListFunctions(fns, 1, catalog, fb.id, 0xFFFFFFFFu);
            for (const auto& fn : fns) {
                ++functions;
                std::vector<IdName> ops;
                m.ListOpTypes(ops, 1, catalog, fb.id, 0xFFFFFFFFu, fn.id);
                for (const auto& op : ops) {
                    ++opTypes;
                    std::unique_ptr<KQRNMessageContainer> c(m.GetMessageContainer(1, catalog, fb.id, 0xFFFFFFFFu, fn.id, op.id, 0));
                    if (!c) continue;
                    c->LoadNodes();
                    std::vector<KQRNNode*> nodes;
                    c->GetNodes(nodes);
                    parameters += static_cast<int>(nodes.size());
                }
            }
        }
        out["catalog"] = Utf8FromCp1252(catalog);
        out["fblocks"] = fblocks;
        out["functions"] = functions;
        out["opTypes"] = opTypes;
        out["parameters"] = parameters;
    } else {
        out["status"] = status;
    }
    nlohmann::json log = nlohmann::json::array();
    std::ifstream in(logFile);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) log.push_back(Utf8FromCp1252(line));
    }
    out["log"] = log;
    return out;
}

} // namespace

int RunLint(const std::vector<std::string>& files, UsageError& error) {
    if (files.empty()) {
        error.message = "lint needs at least one FILE";
        return 2;
    }
    for (const auto& f : files) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(f, ec)) {
            error.message = "cannot read " + f;
            return 2;
        }
    }
    QRNHandle handle = 0;
    if (gQRNCreateFCatManager(&handle, "pelorin-host") != 0) {
        error.message = "the catalog library cannot create a manager";
        return 2;
    }
    KQRNFCatManager* m = gQRNFCatManager(handle);
    std::filesystem::path logs = std::filesystem::temp_directory_path() / ("pelorin-lint-" + std::to_string(::getpid()));
    std::filesystem::create_directories(logs);
    nlohmann::json out = nlohmann::json::array();
    int n = 0;
    for (const auto& f : files) out.push_back(lint(*m, f, (logs / (std::to_string(n++) + ".log")).string()));
    std::filesystem::remove_all(logs);
    gQRNDestroyFCatManager(handle);
    std::cout << out.dump(2) << '\n';
    return 0;
}
