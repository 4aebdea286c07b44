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


namespace {

struct PickOptions {
    bool help = false;
    LineOption line;
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
        } else if (TakeScriptOption(args, i, o.script, error) || TakeLineOption(args, i, o.line, error)) {
            if (!error.message.empty()) return false;
        } else if (a == "--preselect") {
            o.preselect = true;
        } else {
            error.message = "pick: unknown option " + Excerpt(a) + " (see pick --help)";
            return false;
        }
    }
    return CheckLineOption("pick", o.line, error);
}

} // namespace

int RunPick(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error) {
    PickOptions o;
    if (!parse(args, o, error)) return ExitUsage;
    if (o.help) {
        run.usage = true;
        return ExitOk;
    }
    KPelorin* selector = session.Selector(error);
    if (!selector) return ExitUsage;

    Client client;
    BoxAnswers answers(o.script.answers);
    KeyPlayer player(o.script);
    // the dialog is modeless: it lives in the host's own message loop until the keys are used up
    selector->ShowXMSSelection(&client, nullptr, o.line.line.c_str(), o.line.Caret(), 0, 0, o.preselect);
    player.Queue();
    w32drv::Pump();
    if (OpenSelectionTree()) selector->Close();
    if (!EndScript(player, error)) return ExitUsage;
    run.json = {{"texts", client.texts}, {"help", client.help}};
    return ExitOk;
}
