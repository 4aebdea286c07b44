// select: opens the selection dialog of a selection model of the host's own, as a host that
// allocates the model itself does, plays a key script and prints the dialog's reports and the
// model's state afterwards.
#include "host/Host.h"
#include "host/Script.h"
#include "host/Text.h"

#include "selection/MXSSelection.h"
#include "selection/SelectFlags.h"

#include <nlohmann/json.hpp>
#include <windows.h>
#include <w32drv.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <list>

namespace {

const unsigned kEveryInstance = 255;

struct SelectOptions {
    bool help = false;
    bool hasFlags = false;
    unsigned long flags = 0;
    unsigned long channels = 0;
    bool useLastState = false;
    bool editable = true;
    bool preselect = false;
    std::string signal;  // Windows-1252
    unsigned long instance = kEveryInstance;
    unsigned long channel = 0;
    bool hasValueText = false;
    std::string valueText; // Windows-1252
    std::string predefinedFile;
    ScriptOptions script;
};

class Listener : public KMXSListener {
public:
    void OnObjectsSelected(const std::vector<KMXSObject>& objects, bool final) override {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& o : objects)
            list.push_back({{"predefined", o.predefined},
                            {"predefinedId", o.predefinedId},
                            {"fcat", Utf8FromCp1252(o.fcat)},
                            {"fblock", Utf8FromCp1252(o.fblock)},
                            {"function", Utf8FromCp1252(o.function)},
                            {"opType", Utf8FromCp1252(o.opType)},
                            {"parameterName", Utf8FromCp1252(o.parameterName)},
                            {"parameterPath", Utf8FromCp1252(o.parameterPath)},
                            {"extraText", Utf8FromCp1252(o.extraText)},
                            {"typeCode", o.typeCode},
                            {"signalText", Utf8FromCp1252(o.signalText)},
                            {"channel", o.channel},
                            {"instance", o.instance},
                            {"instanceChecked", o.instanceChecked}});
        reports.push_back({{"final", final}, {"objects", list}});
    }
    void OnHelp(int) override { ++help; }

    nlohmann::json reports = nlohmann::json::array();
    int help = 0;
};

nlohmann::json stateJson(const KMXSSessionState& s) {
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& path : s.visibleRowPaths) rows.push_back(Utf8FromCp1252(path));
    return {{"topRowPath", Utf8FromCp1252(s.topRowPath)},
            {"parameterText", Utf8FromCp1252(s.parameterText)},
            {"visibleRowPaths", rows},
            {"firstOpen", s.firstOpen},
            {"width", s.width},
            {"height", s.height},
            {"left", s.left},
            {"top", s.top},
            {"showIds", s.showIds},
            {"showTooltips", s.showTooltips},
            {"detailsExpanded", s.detailsExpanded},
            {"instance", s.instance},
            {"channel", s.channel},
            {"predefChannel", s.predefChannel},
            {"selectPending", s.selectPending},
            {"valueText", Utf8FromCp1252(s.valueText)},
            {"textEditable", s.textEditable},
            {"filterChoice", s.filterChoice},
            {"filterChoiceAlt", s.filterChoiceAlt},
            {"instanceChecked", s.instanceChecked}};
}

bool number(const std::vector<std::string>& args, size_t& i, unsigned long max, unsigned long& value, UsageError& error) {
    std::string v;
    if (!OptionValue(args, i, v, error)) return false;
    if (ParseNumber(v, max, value)) return true;
    error.message = args[i - 1] + " needs a whole number from 0 to " + std::to_string(max) +
                    " (decimal, or hex with 0x): " + Excerpt(v);
    return false;
}

bool parse(const std::vector<std::string>& args, SelectOptions& o, UsageError& error) {
    bool hasInstance = false, hasChannel = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
            return true;
        } else if (TakeScriptOption(args, i, o.script, error)) {
            if (!error.message.empty()) return false;
        } else if (a == "--flags") {
            if (!number(args, i, UINT_MAX, o.flags, error)) return false;
            o.hasFlags = true;
        } else if (a == "--channels") {
            if (!number(args, i, UINT_MAX, o.channels, error)) return false;
        } else if (a == "--instance") {
            if (!number(args, i, UINT_MAX, o.instance, error)) return false;
            hasInstance = true;
        } else if (a == "--channel") {
            if (!number(args, i, UINT_MAX, o.channel, error)) return false;
            hasChannel = true;
        } else if (a == "--use-last-state") {
            o.useLastState = true;
        } else if (a == "--not-editable") {
            o.editable = false;
        } else if (a == "--preselect") {
            if (!OptionValue(args, i, v, error)) return false;
            error.message = Cp1252Argument("--preselect", v, o.signal);
            if (!error.message.empty()) return false;
            o.preselect = true;
        } else if (a == "--value-text") {
            if (!OptionValue(args, i, v, error)) return false;
            error.message = Cp1252Argument("--value-text", v, o.valueText);
            if (!error.message.empty()) return false;
            o.hasValueText = true;
        } else if (a == "--predefined") {
            if (i + 1 >= args.size()) {
                error.message = "--predefined needs a FILE";
                return false;
            }
            o.predefinedFile = args[++i]; // a file name: bytes, not text
        } else {
            error.message = "select: unknown option " + Excerpt(a) + " (see select --help)";
            return false;
        }
    }
    if (!o.hasFlags) {
        error.message = "select needs --flags N";
        return false;
    }
    if (!o.preselect && (hasInstance || hasChannel || o.hasValueText)) {
        error.message = "--instance, --channel and --value-text belong to --preselect SIGNAL";
        return false;
    }
    return true;
}

// A JSON array of predefined objects; false with error for a file that is not one.
bool readPredefined(const std::string& file, std::list<KMXSPredefObjectCfg>& objects, UsageError& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error.message = "--predefined: cannot read " + Excerpt(file);
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    nlohmann::json list = nlohmann::json::parse(text, nullptr, false);
    const std::string where = "--predefined " + Excerpt(file);
    if (!list.is_array()) {
        error.message = where + ": not a JSON array (UTF-8) of {\"id\", \"name\", ...}";
        return false;
    }
    int n = 0;
    for (const auto& entry : list) {
        const std::string at = where + ": entry " + std::to_string(++n);
        if (!entry.is_object()) {
            error.message = at + " is not an object";
            return false;
        }
        KMXSPredefObjectCfg cfg;
        cfg.isSelectable = true;
        bool hasId = false, hasName = false;
        for (const auto& [key, value] : entry.items()) {
            if (key == "id") {
                unsigned long id = 0;
                if (value.is_number_unsigned() && value.get<unsigned long long>() <= UINT_MAX) {
                    id = value.get<unsigned long>();
                } else if (!value.is_string() || !ParseNumber(value.get<std::string>(), UINT_MAX, id)) {
                    error.message = at + ": \"id\" needs a whole number from 0 to " + std::to_string(UINT_MAX);
                    return false;
                }
                cfg.id = static_cast<unsigned>(id);
                hasId = true;
            } else if (key == "name" || key == "description") {
                if (!value.is_string()) {
                    error.message = at + ": \"" + key + "\" needs a string";
                    return false;
                }
                std::string& target = key == "name" ? cfg.name : cfg.description;
                error.message = Cp1252Argument(at + " \"" + key + "\"", value.get<std::string>(), target);
                if (!error.message.empty()) return false;
                hasName = hasName || key == "name";
            } else if (key == "isGroup" || key == "isSelectable") {
                if (!value.is_boolean()) {
                    error.message = at + ": \"" + key + "\" needs true or false";
                    return false;
                }
                (key == "isGroup" ? cfg.isGroup : cfg.isSelectable) = value.get<bool>();
            } else {
                error.message = at + ": unknown member " + Excerpt(key) +
                                " (id, name, description, isGroup, isSelectable)";
                return false;
            }
        }
        if (!hasId || !hasName) {
            error.message = at + " needs \"id\" and \"name\"";
            return false;
        }
        objects.push_back(cfg);
    }
    return true;
}

} // namespace

int RunSelect(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error) {
    SelectOptions o;
    if (!parse(args, o, error)) return ExitUsage;
    if (o.help) {
        run.usage = true;
        return ExitOk;
    }
    std::list<KMXSPredefObjectCfg> predefined;
    if (!o.predefinedFile.empty() && !readPredefined(o.predefinedFile, predefined, error)) return ExitUsage;
    const unsigned long handle = session.Manager(error);
    if (!handle) return ExitUsage;

    Listener listener;
    KMXSSelection selection(handle);
    if (!o.predefinedFile.empty()) selection.SetPredefinedObjects(predefined);
    nlohmann::json preselected = nullptr;
    if (o.preselect)
        preselected = selection.SetPreSelectSignal(&o.signal, static_cast<unsigned>(o.instance),
                                                   static_cast<unsigned>(o.channel),
                                                   o.hasValueText ? &o.valueText : nullptr, false);
    BoxAnswers answers(o.script.answers);
    KeyPlayer player(o.script);
    const unsigned long flags = o.flags;
    bool exhausted = false;
    if (flags & kSelectModal) {
        // the modal loop takes the keys, and cancels the dialog when they run out
        player.Queue();
        selection.SelectObject(&listener, nullptr, flags, o.useLastState, static_cast<unsigned>(o.channels), o.editable);
        exhausted = !w32drv::InputExhaustedDialogs().empty();
    } else {
        // a modeless dialog lives in the host's own message loop
        selection.SelectObject(&listener, nullptr, flags, o.useLastState, static_cast<unsigned>(o.channels), o.editable);
        player.Queue();
        w32drv::Pump();
        exhausted = selection.IsModelessDialogOpened();
        if (exhausted) selection.CloseModelessDialog();
    }
    if (!EndScript(player, error)) return ExitUsage;
    run.json = {{"reports", listener.reports},
                {"help", listener.help},
                {"lastState", stateJson(selection.LastDlgState())},
                {"preselected", preselected},
                {"messageBoxes", MessageBoxesJson()},
                {"inputExhausted", exhausted}};
    return ExitOk;
}
