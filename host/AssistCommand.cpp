// assist: opens the input assistance over a line as a host does, plays a key script, and prints
// the result as JSON.
#include "host/Host.h"
#include "host/Json.h"
#include "host/Keys.h"
#include "host/Text.h"

#include "facade/Pelorin.h"

#include <nlohmann/json.hpp>
#include <windows.h>
#include <w32drv.h>

#include <algorithm>
#include <climits>
#include <iostream>
#include <map>
#include <sstream>

namespace {

struct AssistOptions {
    std::string line; // Windows-1252
    bool hasLine = false;
    bool help = false;
    int caret = -1;
    int selStart = -1, selEnd = -1;
    std::vector<KeyAction> actions;
    std::vector<int> answers;
    int keyDelay = 250;
    bool trace = false;
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
    static const std::map<std::string, int> answerNames{{"yes", IDYES},     {"no", IDNO},     {"ok", IDOK},
                                                        {"cancel", IDCANCEL}, {"retry", IDRETRY}, {"abort", IDABORT},
                                                        {"ignore", IDIGNORE}};
    bool hasCaret = false, hasSelection = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error.message = a + " needs a value";
                return false;
            }
            out = args[++i];
            return Utf8Option(a, out, error);
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
            return true;
        } else if (a == "--line") {
            if (!value(v)) return false;
            error.message = Cp1252Argument("--line", v, o.line);
            if (!error.message.empty()) return false;
            o.hasLine = true;
        } else if (a == "--caret") {
            if (!value(v)) return false;
            if (!integer(v, o.caret) || o.caret < 0) {
                error.message = "--caret needs a position (a whole number from 0): " + Excerpt(v);
                return false;
            }
            hasCaret = true;
        } else if (a == "--selection") {
            if (!value(v)) return false;
            size_t comma = v.find(',');
            if (comma == std::string::npos || !integer(v.substr(0, comma), o.selStart) ||
                !integer(v.substr(comma + 1), o.selEnd) || o.selStart < 0 || o.selEnd < 0) {
                error.message = "--selection needs START,END (whole numbers from 0): " + Excerpt(v);
                return false;
            }
            hasSelection = true;
        } else if (a == "--keys") {
            if (!value(v)) return false;
            std::string keyError;
            if (!ParseKeys(v, o.actions, keyError)) {
                error.message = "--keys: " + keyError;
                return false;
            }
        } else if (a == "--answers") {
            if (!value(v)) return false;
            std::stringstream list(v);
            std::string name;
            while (std::getline(list, name, ',')) {
                auto it = answerNames.find(name);
                if (it == answerNames.end()) {
                    error.message = "--answers: unknown answer " + Excerpt(name) +
                                    " (yes, no, ok, cancel, retry, abort, ignore)";
                    return false;
                }
                o.answers.push_back(it->second);
            }
        } else if (a == "--key-delay") {
            if (!value(v)) return false;
            if (!integer(v, o.keyDelay) || o.keyDelay < 0) {
                error.message = "--key-delay needs milliseconds (a whole number from 0): " + Excerpt(v);
                return false;
            }
        } else if (a == "--trace") {
            o.trace = true;
        } else {
            error.message = "assist: unknown option " + Excerpt(a) + " (see assist --help)";
            return false;
        }
    }
    if (!o.hasLine) {
        error.message = "assist needs --line TEXT";
        return false;
    }
    // positions count the characters of the line
    const int length = static_cast<int>(std::min<size_t>(o.line.size(), INT_MAX));
    if (hasCaret && o.caret > length) {
        error.message = "--caret " + std::to_string(o.caret) + " lies past the end of the line (" +
                        std::to_string(length) + " characters)";
        return false;
    }
    if (hasSelection && (o.selStart > length || o.selEnd > length)) {
        error.message = "--selection " + std::to_string(o.selStart) + "," + std::to_string(o.selEnd) +
                        " lies past the end of the line (" + std::to_string(length) + " characters)";
        return false;
    }
    return true;
}

// The open dialog of the input assistance, if any.
HWND activeDialog() {
    HWND active = GetActiveWindow();
    char cls[16] = "";
    if (active) GetClassNameA(active, cls, sizeof cls);
    return std::string(cls) == "#32770" ? active : nullptr;
}

HWND openList(HWND dialog) {
    for (HWND h : w32drv::TopLevelWindows()) {
        char cls[16] = "";
        GetClassNameA(h, cls, sizeof cls);
        if (std::string(cls) == "ListBox" && GetWindow(h, GW_OWNER) == dialog) return h;
    }
    return nullptr;
}

void trace(const std::string& what) {
    HWND dialog = activeDialog();
    std::cerr << "-- after " << what << '\n' << (dialog ? Utf8FromCp1252(w32drv::Picture(dialog)) : "(no dialog)\n");
}

std::string describe(const KeyAction& a) {
    switch (a.kind) {
    case KeyAction::Char: return "\"" + Utf8FromCp1252(std::string(1, a.ch)) + "\"";
    case KeyAction::Key: return "key " + std::to_string(a.vk);
    case KeyAction::Wait: return "{WAIT " + std::to_string(a.value) + "}";
    case KeyAction::Click: return "{CLICK " + std::to_string(a.value) + "}";
    case KeyAction::ClickItem: return "{CLICKITEM " + std::to_string(a.value) + "}";
    }
    return "";
}

void play(const std::vector<KeyAction>& actions, const AssistOptions& o) {
    w32drv::Wait(static_cast<DWORD>(o.keyDelay)); // the dialog shows before the first key
    for (const auto& a : actions) {
        switch (a.kind) {
        case KeyAction::Char: w32drv::Type(std::string(1, a.ch)); break;
        case KeyAction::Key: w32drv::Key(a.vk, a.modifiers); break;
        case KeyAction::Wait: w32drv::Wait(static_cast<DWORD>(a.value)); break;
        case KeyAction::Click: {
            int id = a.value;
            w32drv::Call([id] {
                HWND dialog = activeDialog();
                HWND control = dialog ? GetDlgItem(dialog, id) : nullptr;
                if (control) w32drv::ClickWindow(control);
            });
            break;
        }
        case KeyAction::ClickItem: {
            int index = a.value;
            w32drv::Call([index] {
                HWND list = openList(activeDialog());
                if (!list || index < 0 || index >= SendMessageA(list, LB_GETCOUNT, 0, 0)) return;
                SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0); // scrolled to it, as a person would
                RECT item;
                SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
                w32drv::ClickClient(list, item.left + 4, item.top + 2);
            });
            break;
        }
        }
        if (a.kind == KeyAction::Wait) continue;
        w32drv::Wait(static_cast<DWORD>(o.keyDelay));
        if (o.trace) {
            std::string what = describe(a);
            w32drv::Call([what] { trace(what); });
        }
    }
}

} // namespace

int RunAssist(const std::vector<std::string>& catalogFiles, const std::vector<std::string>& args, UsageError& error) {
    AssistOptions o;
    if (!parse(args, o, error)) return ExitUsage;
    if (o.help) {
        std::cout << CommandUsage("assist");
        return ExitOk;
    }
    std::vector<std::string> catalogs = CatalogFiles(catalogFiles, error);
    if (!error.message.empty()) return ExitUsage;
    const std::string& line = o.line;
    int caret = o.caret < 0 ? static_cast<int>(std::min<size_t>(line.size(), INT_MAX)) : o.caret;

    HWND editor = static_cast<HWND>(CreateEditorWindow("Pelorin host"));
    KPelorin selector(editor);
    for (const auto& f : catalogs) selector.AddFCat(f.c_str());
    for (int answer : o.answers) w32drv::AnswerMessageBox(answer);
    play(o.actions, o);

    // the editor writes 6 pixels a character; a caret far out anchors the dialog at the right
    POINT at{4 + 6 * std::min(caret, 100000), 4};
    ClientToScreen(editor, &at);
    int result = selector.ShowEx(editor, line.c_str(), at.x, at.y, caret, o.selStart, o.selEnd);
    // without catalog data no dialog opened and the line stays as it was
    std::string newLine = line;
    int displacement = 0;
    if (result > 0 && !SelectedLine(selector, newLine, displacement)) {
        DestroyWindow(editor);
        std::cerr << "pelorin-host: assist: the new line is longer than GetSelection can hand out\n";
        return ExitFailed;
    }

    nlohmann::json boxes = nlohmann::json::array();
    for (const auto& b : w32drv::MessageBoxes())
        boxes.push_back({{"text", Utf8FromCp1252(b.text)},
                         {"caption", Utf8FromCp1252(b.caption)},
                         {"style", b.style},
                         {"answer", b.answer}});
    nlohmann::json out = {{"result", result},
                          {"line", Utf8FromCp1252(newLine)},
                          {"displacement", displacement},
                          {"messageBoxes", boxes},
                          {"beeps", w32drv::Beeps().size()},
                          {"inputExhausted", !w32drv::InputExhaustedDialogs().empty()}};
    DestroyWindow(editor);
    return PrintJson(out) ? ExitOk : ExitFailed;
}
