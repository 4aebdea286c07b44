// pick: opens the selection dialog over an editor line as an editor does (the selector's
// ShowXMSSelection, the host as its client), plays a key script and prints the texts the dialog
// handed over.
#include "host/Host.h"
#include "host/Script.h"
#include "host/SelectionTree.h"
#include "host/Text.h"

#include "facade/Pelorin.h"

#include <nlohmann/json.hpp>
#include <w32drv.h>

#include <climits>

namespace {

struct PickOptions {
    bool help = false;
    bool hasLine = false;
    std::string line; // Windows-1252
    bool hasCaret = false;
    unsigned long caret = 0;
    bool preselect = false;
    ScriptOptions script;
};

class Client : public KPelorinClient {
public:
    void OnSelectionText(const char* text) override { texts.push_back(Utf8FromCp1252(text ? text : "")); }
    void OnHelp(int) override { ++help; }

    nlohmann::json texts = nlohmann::json::array();
    int help = 0;
};

bool parse(const std::vector<std::string>& args, PickOptions& o, UsageError& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
            return true;
        } else if (TakeScriptOption(args, i, o.script, error)) {
            if (!error.message.empty()) return false;
        } else if (a == "--line") {
            if (!OptionValue(args, i, v, error)) return false;
            error.message = Cp1252Argument("--line", v, o.line);
            if (!error.message.empty()) return false;
            o.hasLine = true;
        } else if (a == "--caret") {
            if (!OptionValue(args, i, v, error)) return false;
            if (!ParseNumber(v, INT_MAX, o.caret)) {
                error.message = "--caret needs a position (a whole number from 0, decimal or hex with 0x): " + Excerpt(v);
                return false;
            }
            o.hasCaret = true;
        } else if (a == "--preselect") {
            o.preselect = true;
        } else {
            error.message = "pick: unknown option " + Excerpt(a) + " (see pick --help)";
            return false;
        }
    }
    if (!o.hasLine) {
        error.message = "pick needs --line TEXT";
        return false;
    }
    if (o.hasCaret && o.caret > o.line.size()) {
        error.message = "--caret " + std::to_string(o.caret) + " lies past the end of the line (" +
                        std::to_string(o.line.size()) + " characters)";
        return false;
    }
    return true;
}

} // namespace

int RunPick(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error) {
    PickOptions o;
    if (!parse(args, o, error)) return ExitUsage;
    if (o.help) {
        run.usage = true;
        return ExitOk;
    }
    if (o.line.size() > INT_MAX) {
        error.message = "--line is longer than the selector takes";
        return ExitUsage;
    }
    KPelorin* selector = session.Selector(error);
    if (!selector) return ExitUsage;
    const int caret = static_cast<int>(o.hasCaret ? o.caret : o.line.size());

    Client client;
    BoxAnswers answers(o.script.answers);
    KeyPlayer player(o.script);
    // the dialog is modeless: it lives in the host's own message loop until the keys are used up
    selector->ShowXMSSelection(&client, nullptr, o.line.c_str(), caret, 0, 0, o.preselect);
    player.Queue();
    w32drv::Pump();
    if (OpenSelectionTree()) selector->Close();
    EndScript();
    if (!player.Problem().empty()) {
        error.message = player.Problem();
        return ExitUsage;
    }
    run.json = {{"texts", client.texts}, {"help", client.help}};
    return ExitOk;
}
