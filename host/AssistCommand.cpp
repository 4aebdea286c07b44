// assist: opens the input assistance over a line as a host does, plays a key script, and prints
// the result as JSON.
#include "host/Host.h"
#include "host/Keys.h"
#include "host/Script.h"
#include "host/Text.h"

#include "facade/Pelorin.h"

#include <nlohmann/json.hpp>
#include <windows.h>
#include <w32drv.h>

#include <algorithm>
#include <climits>
#include <iostream>

namespace {

struct AssistOptions {
    LineOption line;
    bool help = false;
    int selStart = -1, selEnd = -1;
    ScriptOptions script;
};

// A whole number of at most 9 digits, optionally negative.
bool integer(const std::string& text, int& value) {
    size_t digits = text.size() - (!text.empty() && text[0] == '-' ? 1 : 0);
    if (digits == 0 || digits > 9) return false;
    for (size_t k = text.size() - digits; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9') return false;
    value = std::stoi(text);
    return true;
}

bool parse(const std::vector<std::string>& args, AssistOptions& o, UsageError& error) {
    bool hasSelection = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
            return true;
        } else if (TakeScriptOption(args, i, o.script, error) || TakeLineOption(args, i, o.line, error)) {
            if (!error.message.empty()) return false;
        } else if (a == "--selection") {
            if (!OptionValue(args, i, v, error)) return false;
            size_t comma = v.find(',');
            if (comma == std::string::npos || !integer(v.substr(0, comma), o.selStart) ||
                !integer(v.substr(comma + 1), o.selEnd) || o.selStart < 0 || o.selEnd < 0) {
                error.message = "--selection needs START,END (whole numbers from 0): " + Excerpt(v);
                return false;
            }
            hasSelection = true;
        } else {
            error.message = "assist: unknown option " + Excerpt(a) + " (see assist --help)";
            return false;
        }
    }
    if (!CheckLineOption("assist", o.line, error)) return false;
    const int length = static_cast<int>(o.line.line.size());
    if (hasSelection && (o.selStart > length || o.selEnd > length)) {
        error.message = "--selection " + std::to_string(o.selStart) + "," + std::to_string(o.selEnd) +
                        " lies past the end of the line (" + std::to_string(length) + " characters)";
        return false;
    }
    return true;
}

} // namespace

int RunAssist(HostSession& session, const std::vector<std::string>& args, CommandRun& run, UsageError& error) {
    AssistOptions o;
    if (!parse(args, o, error)) return ExitUsage;
    if (o.help) {
        run.usage = true;
        return ExitOk;
    }
    KPelorin* selector = session.Selector(error);
    if (!selector) return ExitUsage;
    const std::string& line = o.line.line;
    const int caret = o.line.Caret();

    HWND editor = static_cast<HWND>(session.Editor());
    BoxAnswers answers(o.script.answers);
    KeyPlayer player(o.script);
    player.Queue();

    // the editor writes 6 pixels a character; a caret far out anchors the dialog at the right
    POINT at{4 + 6 * std::min(caret, 100000), 4};
    ClientToScreen(editor, &at);
    int result = selector->ShowEx(editor, line.c_str(), at.x, at.y, caret, o.selStart, o.selEnd);
    if (!EndScript(player, error)) return ExitUsage;
    // without catalog data no dialog opened and the line stays as it was
    std::string newLine = line;
    int displacement = 0;
    if (result > 0 && !SelectedLine(*selector, newLine, displacement)) {
        std::cerr << "pelorin-host: assist: the new line is longer than GetSelection can hand out\n";
        return ExitFailed;
    }
    run.json = {{"result", result},
                {"line", Utf8FromCp1252(newLine)},
                {"displacement", displacement},
                {"messageBoxes", MessageBoxesJson()},
                {"beeps", w32drv::Beeps().size()},
                {"inputExhausted", !w32drv::InputExhaustedDialogs().empty()}};
    return ExitOk;
}
