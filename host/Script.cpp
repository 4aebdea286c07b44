#include "host/Script.h"
#include "host/SelectionTree.h"
#include "host/Text.h"

#include <windows.h>
#include <w32drv.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <deque>
#include <iostream>
#include <map>
#include <sstream>

bool OptionValue(const std::vector<std::string>& args, size_t& i, std::string& value, UsageError& error) {
    if (i + 1 >= args.size()) {
        error.message = args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return Utf8Option(args[i - 1], value, error);
}

bool ParseNumber(const std::string& text, unsigned long max, unsigned long& value) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const size_t from = hex ? 2 : 0;
    if (text.size() == from) return false;
    unsigned long long v = 0;
    for (size_t k = from; k < text.size(); ++k) {
        const char c = text[k];
        int digit = c >= '0' && c <= '9' ? c - '0' : -1;
        if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return false;
        v = v * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        if (v > max) return false;
    }
    value = static_cast<unsigned long>(v);
    return true;
}

bool TakeScriptOption(const std::vector<std::string>& args, size_t& i, ScriptOptions& o, UsageError& error) {
    static const std::map<std::string, int> answerNames{{"yes", IDYES},       {"no", IDNO},         {"ok", IDOK},
                                                        {"cancel", IDCANCEL}, {"retry", IDRETRY}, {"abort", IDABORT},
                                                        {"ignore", IDIGNORE}};
    const std::string& a = args[i];
    std::string v;
    if (a == "--trace") {
        o.trace = true;
    } else if (a == "--keys") {
        if (!OptionValue(args, i, v, error)) return true;
        std::string keyError;
        if (!ParseKeys(v, o.actions, keyError)) error.message = "--keys: " + keyError;
    } else if (a == "--answers") {
        if (!OptionValue(args, i, v, error)) return true;
        std::stringstream list(v);
        for (std::string name; std::getline(list, name, ',');) {
            auto it = answerNames.find(name);
            if (it == answerNames.end()) {
                error.message = "--answers: unknown answer " + Excerpt(name) + " (yes, no, ok, cancel, retry, abort, ignore)";
                return true;
            }
            o.answers.push_back(it->second);
        }
    } else if (a == "--key-delay") {
        if (!OptionValue(args, i, v, error)) return true;
        unsigned long ms = 0;
        if (!ParseNumber(v, 999999999, ms)) {
            error.message = "--key-delay needs milliseconds (a whole number from 0): " + Excerpt(v);
            return true;
        }
        o.keyDelay = static_cast<int>(ms);
    } else {
        return false;
    }
    return true;
}

BoxAnswers::BoxAnswers(std::vector<int> answers) {
    auto left = std::make_shared<std::deque<int>>(answers.begin(), answers.end());
    w32drv::SetMessageBoxAnswerer([left](const w32drv::MessageBoxRecord& box) {
        if (left->empty()) return box.answer;
        int answer = left->front();
        left->pop_front();
        return answer;
    });
}

BoxAnswers::~BoxAnswers() { w32drv::SetMessageBoxAnswerer(nullptr); }

nlohmann::json MessageBoxesJson() {
    nlohmann::json boxes = nlohmann::json::array();
    for (const auto& b : w32drv::MessageBoxes())
        boxes.push_back({{"text", Utf8FromCp1252(b.text)},
                         {"caption", Utf8FromCp1252(b.caption)},
                         {"style", b.style},
                         {"answer", b.answer}});
    return boxes;
}

bool EndScript(const KeyPlayer& player, UsageError& error) {
    // keys after the dialog closed go where a person's would, and their pictures show it gone
    w32drv::Pump();
    w32drv::ClearInput();
    w32drv::SetInputSource(nullptr);
    if (player.Problem().empty()) return true;
    error.message = player.Problem();
    return false;
}

int LineOption::Caret() const {
    return static_cast<int>(hasCaret ? caret : std::min<size_t>(line.size(), INT_MAX));
}

bool TakeLineOption(const std::vector<std::string>& args, size_t& i, LineOption& option, UsageError& error) {
    std::string v;
    if (args[i] == "--line") {
        if (OptionValue(args, i, v, error)) error.message = Cp1252Argument("--line", v, option.line);
        option.hasLine = error.message.empty();
        return true;
    }
    if (args[i] != "--caret") return false;
    if (OptionValue(args, i, v, error) && !ParseNumber(v, INT_MAX, option.caret))
        error.message = "--caret needs a position (a whole number from 0, decimal or hex with 0x): " + Excerpt(v);
    option.hasCaret = error.message.empty();
    return true;
}

bool CheckLineOption(const std::string& command, const LineOption& option, UsageError& error) {
    if (!option.hasLine) {
        error.message = command + " needs --line TEXT";
        return false;
    }
    if (option.line.size() > INT_MAX) {
        error.message = "--line is longer than the dialogs take";
        return false;
    }
    // positions count the characters of the line
    if (option.hasCaret && option.caret > option.line.size()) {
        error.message = "--caret " + std::to_string(option.caret) + " lies past the end of the line (" +
                        std::to_string(option.line.size()) + " characters)";
        return false;
    }
    return true;
}

namespace {

bool isDialog(HWND h) {
    char cls[16] = "";
    return h && GetClassNameA(h, cls, sizeof cls) && std::strcmp(cls, "#32770") == 0;
}

// The dialog a person would look at: the active one, else an open selection dialog.
HWND shownDialog() {
    HWND active = GetActiveWindow();
    if (isDialog(active) && IsWindowVisible(active)) return active;
    HWND tree = OpenSelectionTree();
    return tree ? GetParent(tree) : nullptr;
}

void trace(const std::string& what) {
    HWND dialog = shownDialog();
    std::cerr << "-- after " << what << '\n' << (dialog ? Utf8FromCp1252(w32drv::Picture(dialog)) : "(no dialog)\n");
}

std::string describe(const KeyAction& a) {
    if (a.kind == KeyAction::Char) return "\"" + Utf8FromCp1252(std::string(1, a.ch)) + "\"";
    return Utf8FromCp1252(KeyScript(a));
}

HWND openList(HWND dialog) {
    for (HWND h : w32drv::TopLevelWindows()) {
        char cls[16] = "";
        GetClassNameA(h, cls, sizeof cls);
        if (std::string(cls) == "ListBox" && GetWindow(h, GW_OWNER) == dialog) return h;
    }
    return nullptr;
}

void stop(std::string& problem, const std::string& message) { problem = message; }

// Two clicks on one spot within the double-click time make a double click. The scripted clicks
// land a few pixels apart, so that a click never pairs with the one before it; a {DBLCLICK} is
// one double click whatever came before.
const int kClickSpots[] = {2, 5};
const int kDoubleClickSpot = 8;
int clicks = 0;

void clickRow(const KeyAction& a, std::string& problem) {
    const std::string what = Utf8FromCp1252(KeyScript(a));
    HWND tree = OpenSelectionTree();
    if (!tree) return stop(problem, Excerpt(what) + ": no selection dialog is open");
    HTREEITEM row = FindRow(tree, a.path);
    POINT at{};
    if (!row) return stop(problem, Excerpt(what) + ": no row of the selection tree has this path");
    if (!RowTextPoint(tree, row, kClickSpots[clicks++ % 2], at)) return stop(problem, Excerpt(what) + ": the row cannot be scrolled into view");
    // the modifier keys are held around the click, as a person holds them
    if (a.modifiers & w32drv::Control) w32drv::KeyDown(VK_CONTROL);
    if (a.modifiers & w32drv::Shift) w32drv::KeyDown(VK_SHIFT);
    w32drv::Click(at);
    if (a.modifiers & w32drv::Shift) w32drv::KeyUp(VK_SHIFT);
    if (a.modifiers & w32drv::Control) w32drv::KeyUp(VK_CONTROL);
}

void doubleClickCaretRow(std::string& problem) {
    HWND tree = OpenSelectionTree();
    if (!tree) return stop(problem, "{DBLCLICK}: no selection dialog is open");
    auto caret = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    POINT at{};
    if (!caret) return stop(problem, "{DBLCLICK}: the selection tree has no caret row");
    if (!RowTextPoint(tree, caret, kDoubleClickSpot, at))
        return stop(problem, "{DBLCLICK}: the caret row cannot be scrolled into view");
    w32drv::Click(at);
    w32drv::Click(at);
}

// One step of the script, when its turn comes: what it queues goes before the later steps.
void perform(const KeyAction& a, std::string& problem) {
    switch (a.kind) {
    case KeyAction::Char: w32drv::Type(std::string(1, a.ch)); break;
    case KeyAction::Key: w32drv::Key(a.vk, a.modifiers); break;
    case KeyAction::Wait: w32drv::Wait(static_cast<DWORD>(a.value)); break;
    case KeyAction::Click: {
        HWND dialog = shownDialog();
        HWND control = dialog ? GetDlgItem(dialog, a.value) : nullptr;
        if (control) w32drv::ClickWindow(control);
        break;
    }
    case KeyAction::ClickItem: {
        HWND list = openList(GetActiveWindow());
        if (!list || a.value < 0 || a.value >= SendMessageA(list, LB_GETCOUNT, 0, 0)) break;
        SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(a.value), 0); // scrolled to it, as a person would
        RECT item;
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(a.value), reinterpret_cast<LPARAM>(&item));
        w32drv::ClickClient(list, item.left + 4, item.top + 2);
        break;
    }
    case KeyAction::DoubleClick: doubleClickCaretRow(problem); break;
    case KeyAction::ClickRow: clickRow(a, problem); break;
    }
}

} // namespace

KeyPlayer::KeyPlayer(const ScriptOptions& options) : options_(options), problem_(std::make_shared<std::string>()) {}

void KeyPlayer::Queue() {
    const DWORD delay = static_cast<DWORD>(options_.keyDelay);
    const bool traced = options_.trace;
    w32drv::Wait(delay);
    // every step waits for its turn, so a row click sees the tree as the keys before it left it;
    // after a step that could not be played the rest do nothing and a modal loop runs dry
    for (const auto& a : options_.actions) {
        w32drv::Call([a, delay, traced, problem = problem_] {
            if (!problem->empty()) return;
            perform(a, *problem);
            if (a.kind == KeyAction::Wait || !problem->empty()) return;
            w32drv::Wait(delay);
            if (traced) w32drv::Call([what = describe(a)] { trace(what); });
        });
    }
}
