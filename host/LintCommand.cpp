// lint: loads each catalog file through the catalog library and tells what it holds or why it
// failed.
#include "host/Host.h"
#include "host/Text.h"

#include <Quarnel.h>
#include <windows.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace {

nlohmann::json lint(KQRNFCatManager& m, const std::string& file, const std::string& logFile) {
    std::string catalog;
    int status = m.LoadFCat(file, 1, catalog, 1, logFile);
    nlohmann::json out = {{"file", file}, {"loaded", status == 0}};
    if (status == 0) {
        int fblocks = 0, functions = 0, opTypes = 0, parameters = 0;
        nlohmann::json contents = nlohmann::json::array();
        std::vector<IdName> fbs;
        m.ListFBlocks(fbs, 1, catalog);
        for (const auto& fb : fbs) {
            ++fblocks;
            nlohmann::json names = nlohmann::json::array();
            std::vector<IdName> fns;
            m.ListFunctions(fns, 1, catalog, fb.id, 0xFFFFFFFFu);
            for (const auto& fn : fns) {
                ++functions;
                names.push_back({{"function", Utf8FromCp1252(fn.name)}, {"id", fn.id}});
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
            contents.push_back({{"fblock", Utf8FromCp1252(fb.name)}, {"id", fb.id}, {"functions", names}});
        }
        out["catalog"] = Utf8FromCp1252(catalog);
        out["fblocks"] = fblocks;
        out["functions"] = functions;
        out["opTypes"] = opTypes;
        out["parameters"] = parameters;
        out["contents"] = contents;
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

int RunLint(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error) {
    std::vector<std::string> files;
    if (!Operands("lint", "a file name", args, files, run.usage, error)) return ExitUsage;
    if (run.usage) return ExitOk;
    if (!session.Given().empty() && !session.batch) {
        error.message = "lint takes its files as arguments, not with --catalog";
        return ExitUsage;
    }
    if (files.empty()) {
        error.message = "lint needs at least one FILE";
        return ExitUsage;
    }
    for (const auto& f : files) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(f, ec)) {
            error.message = "cannot read " + Excerpt(f);
            return ExitUsage;
        }
    }
    QRNHandle handle = 0;
    if (gQRNCreateFCatManager(&handle, "pelorin-host") != 0) {
        std::cerr << "pelorin-host: the catalog library cannot create a manager\n";
        return ExitFailed;
    }
    KQRNFCatManager* m = gQRNFCatManager(handle);
    std::filesystem::path logs = std::filesystem::temp_directory_path() / ("pelorin-lint-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(logs);
    nlohmann::json& out = run.json = nlohmann::json::array();
    int n = 0;
    for (const auto& f : files) out.push_back(lint(*m, f, (logs / (std::to_string(n++) + ".log")).string()));
    std::error_code ec;
    std::filesystem::remove_all(logs, ec);
    gQRNDestroyFCatManager(handle);
    // file names are bytes, not text: the dump shows malformed ones with replacement characters
    return ExitOk;
}
