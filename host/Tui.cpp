// tui: a one-line script editor in the terminal that opens the input assistance or the selection
// dialog at its caret. While a dialog is open the message loop (the assistance's modal loop, or
// the editor's own loop for the modeless selection dialog) asks the driver for input; the
// terminal's keys arrive there.
#include "host/Host.h"
#include "host/SelectionTree.h"
#include "host/Text.h"
#include "host/TuiKeys.h"
#include "host/TuiMessageBox.h"
#include "host/TuiScreen.h"

#include "facade/Pelorin.h"

#include <windows.h>
#include <w32drv.h>

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

const char* kEditorKeys = "F2/Ctrl+Space: assistance  F3/Ctrl+T: selection  Left Right Home End Bksp Del  Ctrl+Q/Esc: quit";
const char* kDialogKeys = "Assistance: keys go to the dialog  Enter: accept  Esc: cancel  Ctrl+Q: quit";
const char* kSelectionKeys = "Selection: keys go to the dialog  Enter/OK: insert at the caret  Esc: cancel  Ctrl+Q: quit";
const char* kBoxKeys = "Message: Tab/arrows: button  Enter/Space: press  letter: that button  Esc: cancel";
const DWORD kKeyDelay = 250; // the clock runs on between keys, as for a person typing
const int kLineRow = 2;
const int kLineCol = 2; // after the prompt

// What a message box asked and how it was answered, for the message row afterwards.
std::string describeBox(const w32drv::MessageBoxRecord& box) {
    std::string text = box.text;
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    const char* answer = box.answer == IDYES      ? "Yes"
                         : box.answer == IDNO     ? "No"
                         : box.answer == IDOK     ? "OK"
                         : box.answer == IDCANCEL ? "Cancel"
                                                  : "a button";
    return std::string("Answered ") + answer + " to: " + Utf8FromCp1252(text);
}

// The dialog to draw while the assistance is open: the active window, unless that is the editor.
HWND activeDialog(HWND editor) {
    HWND active = GetActiveWindow();
    return active && active != editor && IsWindowVisible(active) ? active : nullptr;
}

// The texts the selection dialog hands over, in order.
class PickedTexts : public KPelorinClient {
public:
    void OnSelectionText(const char* text) override { texts.push_back(text ? text : ""); }
    void OnHelp(int) override {}
    std::vector<std::string> texts; // Windows-1252
};

class Editor {
public:
    Editor(TuiScreen& screen, KPelorin& selector, HWND window, std::string line, std::string catalogs)
        : screen_(screen), selector_(selector), window_(window), line_(std::move(line)),
          caret_(static_cast<int>(line_.size())), message_("Catalogs: " + std::move(catalogs)) {}

    void run() {
        while (!quit_) {
            draw();
            TermKey key = screen_.readKey();
            if (key.kind == TermKey::Closed) return;
            if (key.kind == TermKey::Paste) {
                paste(key.text);
                continue;
            }
            KeyAction action;
            if (TranslateTermKey(key, action)) edit(action);
        }
    }

private:
    int length() const { return static_cast<int>(line_.size()); }
    int width() const { return std::max(1, screen_.cols() - kLineCol - 1); }

    // The caret stays in view as the line scrolls sideways; a wider terminal shows more again.
    int caretColumn() {
        scroll_ = std::min(scroll_, std::max(0, length() + 1 - width()));
        if (caret_ < scroll_) scroll_ = caret_;
        if (caret_ - scroll_ >= width()) scroll_ = caret_ - width() + 1;
        return kLineCol + caret_ - scroll_;
    }

    void drawFrame(const char* keys) {
        screen_.blank();
        std::string title = "pelorin-host tui - script line editor with input assistance";
        std::string where = "caret " + std::to_string(caret_) + "/" + std::to_string(length());
        int room = screen_.cols() - static_cast<int>(where.size()) - 2;
        screen_.put(0, 0, title.substr(0, static_cast<size_t>(std::max(0, room))));
        screen_.put(0, std::max(0, room + 1), where);
        int column = caretColumn();
        screen_.put(kLineRow, 0, ">");
        screen_.put(kLineRow, kLineCol, Utf8FromCp1252(line_.substr(static_cast<size_t>(scroll_))));
        auto boxes = w32drv::MessageBoxes();
        screen_.put(screen_.rows() - 2, 0, boxes.size() > boxesSeen_ ? describeBox(boxes.back()) : message_);
        screen_.bar(screen_.rows() - 1, keys);
        caretScreenColumn_ = column;
    }

    void draw() {
        drawFrame(kEditorKeys);
        screen_.cursor(kLineRow, caretScreenColumn_);
        screen_.present();
    }

    void drawDialog(HWND dialog) {
        drawFrame(dialogKeys_);
        drawPicture(dialog);
        screen_.cursor(-1, -1);
        screen_.present();
    }

    // The dialog's picture hangs below the line at the caret, as the dialog opens at the caret.
    // Rows are measured in Windows-1252, one cell a character.
    void drawPicture(HWND dialog) {
        std::vector<std::string> rows;
        std::stringstream picture(w32drv::Picture(dialog));
        int pictureWidth = 0;
        for (std::string row; std::getline(picture, row);) {
            rows.push_back(row);
            pictureWidth = std::max(pictureWidth, static_cast<int>(row.size()));
        }
        int left = std::max(0, std::min(caretScreenColumn_ - 1, screen_.cols() - pictureWidth));
        int bottom = screen_.rows() - 2; // the message and status rows stay visible
        for (size_t i = 0; i < rows.size() && kLineRow + 1 + static_cast<int>(i) < bottom; ++i)
            screen_.put(kLineRow + 1 + static_cast<int>(i), left, Utf8FromCp1252(rows[i]));
    }

    // A message box in the middle of the screen, over the dialog that asks. The text is wrapped
    // in Windows-1252, one cell a character; a text taller than the screen ends in "..." and
    // the buttons stay in view.
    void drawBox(const w32drv::MessageBoxRecord& box, const BoxChoice& choice) {
        drawFrame(kBoxKeys);
        if (HWND dialog = activeDialog(window_)) drawPicture(dialog);
        const int inner = std::max(10, std::min(screen_.cols() - 4, 70));
        const size_t wrap = static_cast<size_t>(inner - 2);
        std::vector<std::string> rows{box.caption, ""};
        std::stringstream text(box.text);
        for (std::string paragraph; std::getline(text, paragraph);) {
            if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
            for (size_t at = 0; at == 0 || at < paragraph.size(); at += wrap) rows.push_back(paragraph.substr(at, wrap));
        }
        const size_t room = static_cast<size_t>(std::max(5, screen_.rows() - 2 - (kLineRow + 1) - 2));
        if (rows.size() + 2 > room) {
            rows.resize(room - 2);
            rows.back() = "...";
        }
        rows.push_back("");
        rows.push_back(BoxButtonsRow(choice));
        const int height = static_cast<int>(rows.size()) + 2;
        const int top = std::max(kLineRow + 1, (screen_.rows() - height) / 2);
        const int left = std::max(0, (screen_.cols() - inner - 2) / 2);
        const std::string edge = "+" + std::string(static_cast<size_t>(inner), '-') + "+";
        screen_.put(top, left, edge);
        for (size_t i = 0; i < rows.size(); ++i) {
            std::string row = " " + rows[i];
            row.resize(static_cast<size_t>(inner), ' ');
            screen_.put(top + 1 + static_cast<int>(i), left, "|" + Utf8FromCp1252(row) + "|");
        }
        screen_.put(top + height - 1, left, edge);
        screen_.cursor(-1, -1);
        screen_.present();
    }

    // Asked by the window system for each message box while the assistance is open.
    int answerBox(const w32drv::MessageBoxRecord& box) {
        BoxChoice choice = MakeBoxChoice(box.style);
        for (;;) {
            drawBox(box, choice);
            TermKey key = screen_.readKey();
            if (key.kind == TermKey::Closed) {
                quit_ = true;
                return box.answer;
            }
            KeyAction a;
            if (!TranslateTermKey(key, a)) continue; // a paste answers no question
            if (IsQuitKey(a)) {
                quit_ = true;
                return IDCANCEL; // the default button where the box cannot be cancelled
            }
            int answer = 0;
            if (ApplyBoxKey(choice, a, answer)) return answer;
        }
    }

    void edit(const KeyAction& a) {
        if (IsQuitKey(a)) {
            quit_ = true;
            return;
        }
        if (a.kind == KeyAction::Char) {
            line_.insert(static_cast<size_t>(caret_), 1, a.ch);
            ++caret_;
            return;
        }
        if (a.kind != KeyAction::Key) return;
        bool plain = a.modifiers == 0;
        switch (a.vk) {
        case VK_LEFT: caret_ = std::max(0, caret_ - 1); break;
        case VK_RIGHT: caret_ = std::min(length(), caret_ + 1); break;
        case VK_HOME: caret_ = 0; break;
        case VK_END: caret_ = length(); break;
        case VK_BACK:
            if (caret_ > 0) line_.erase(static_cast<size_t>(--caret_), 1);
            break;
        case VK_DELETE:
            if (caret_ < length()) line_.erase(static_cast<size_t>(caret_), 1);
            break;
        case VK_ESCAPE:
            if (plain) quit_ = true;
            break;
        case VK_F2:
            if (plain) assist();
            break;
        case VK_SPACE:
            if (a.modifiers == w32drv::Control) assist();
            break;
        case VK_F3:
            if (plain) select();
            break;
        case 'T':
            if (a.modifiers == w32drv::Control) select();
            break;
        default: break;
        }
    }

    // Pasted text goes into the line at the caret as it is, or not at all.
    void paste(const std::string& utf8) {
        std::string text, problem;
        if (!PastedText(utf8, text, problem)) {
            message_ = "Nothing pasted: " + problem;
            return;
        }
        line_.insert(static_cast<size_t>(caret_), text);
        caret_ += static_cast<int>(text.size());
    }

    // Called by the dialog's message loop whenever the queued input has run out.
    bool feedDialog() {
        if (quit_) return false;
        noteApplied();
        if (!settled_) {
            // the dialog shows before the first key
            settled_ = true;
            w32drv::Wait(kKeyDelay);
            return true;
        }
        for (;;) {
            HWND dialog = activeDialog(window_);
            if (!dialog) return false;
            drawDialog(dialog);
            TermKey key = screen_.readKey();
            if (key.kind == TermKey::Closed) {
                quit_ = true;
                return false;
            }
            if (key.kind == TermKey::Paste) {
                std::string text, problem;
                if (!PastedText(key.text, text, problem)) {
                    message_ = "Nothing pasted: " + problem;
                    boxesSeen_ = w32drv::MessageBoxes().size(); // the message row tells this now
                    continue;
                }
                // typed into the dialog's one-line field, where a Tab key would move the focus
                std::replace(text.begin(), text.end(), '\t', ' ');
                w32drv::Type(text);
                w32drv::Wait(kKeyDelay);
                return true;
            }
            KeyAction a;
            if (!TranslateTermKey(key, a)) continue; // a resize or a key without meaning: draw again
            if (IsQuitKey(a)) {
                // out of input, the modal loop cancels the dialog
                quit_ = true;
                return false;
            }
            if (a.kind == KeyAction::Char)
                w32drv::Type(std::string(1, a.ch));
            else
                w32drv::Key(a.vk, a.modifiers);
            w32drv::Wait(kKeyDelay);
            return true;
        }
    }

    void assist() {
        // the editor window writes in the dialog font, 6 pixels a character
        POINT at{4 + 6 * std::min(caret_, 100000), 4};
        ClientToScreen(window_, &at);
        settled_ = false;
        dialogKeys_ = kDialogKeys;
        boxesSeen_ = w32drv::MessageBoxes().size();
        w32drv::SetInputSource([this] { return feedDialog(); });
        w32drv::SetMessageBoxAnswerer([this](const w32drv::MessageBoxRecord& box) { return answerBox(box); });
        int result = selector_.ShowEx(window_, line_.c_str(), at.x, at.y, caret_, -1, -1);
        w32drv::SetMessageBoxAnswerer(nullptr);
        w32drv::SetInputSource(nullptr);
        w32drv::ClearInput(); // what a closing key left queued must not reach the next dialog
        auto boxes = w32drv::MessageBoxes();
        std::string asked = boxes.size() > boxesSeen_ ? " " + describeBox(boxes.back()) : "";
        boxesSeen_ = boxes.size();
        assisted(result, asked);
    }

    void assisted(int result, const std::string& asked) {
        if (result == 0) {
            message_ = "No catalog data: the input assistance cannot open." + asked;
            return;
        }
        if (result != IDOK) {
            // the dialog's edit may differ from the line by now; cancelling keeps the line
            message_ = "Assistance cancelled: the line is unchanged." + asked;
            return;
        }
        std::string line;
        int displacement = 0;
        if (!SelectedLine(selector_, line, displacement)) {
            message_ = "The new line is longer than the assistance can hand out: the line is unchanged." + asked;
            return;
        }
        line_ = line;
        caret_ = std::max(0, std::min(length(), caret_ + displacement));
        message_ = "Assistance accepted: the caret moved by " + std::to_string(displacement) + "." + asked;
    }

    // The selection dialog is modeless: the editor's own loop pumps it, with the terminal's keys as
    // its input, until it closes. Only the report that comes with the closing (OK, or Enter in
    // the tree) puts its text into the line; Apply and double clicks only say what they chose.
    void select() {
        boxesSeen_ = w32drv::MessageBoxes().size();
        picked_.texts.clear();
        textsSeen_ = 0;
        selector_.ShowXMSSelection(&picked_, nullptr, line_.c_str(), caret_, 0, 0, true);
        HWND tree = OpenSelectionTree();
        if (!tree) {
            message_ = "No catalog data: the selection dialog cannot open.";
            return;
        }
        fitToScreen(GetParent(tree));
        settled_ = false;
        dialogKeys_ = kSelectionKeys;
        w32drv::SetInputSource([this] { return feedDialog(); });
        w32drv::SetMessageBoxAnswerer([this](const w32drv::MessageBoxRecord& box) { return answerBox(box); });
        w32drv::Pump();
        w32drv::SetMessageBoxAnswerer(nullptr);
        w32drv::SetInputSource(nullptr);
        w32drv::ClearInput();
        const bool open = OpenSelectionTree() != nullptr;
        if (open) selector_.Close(); // the editor quits
        w32drv::PumpReady();
        auto boxes = w32drv::MessageBoxes();
        std::string asked = boxes.size() > boxesSeen_ ? " " + describeBox(boxes.back()) : "";
        boxesSeen_ = boxes.size();
        if (!open && picked_.texts.size() > textsSeen_) {
            const std::string& text = picked_.texts.back();
            line_.insert(static_cast<size_t>(caret_), text);
            caret_ += static_cast<int>(text.size());
            message_ = "Selection inserted: " + Utf8FromCp1252(text) + "." + asked;
        } else if (!quit_) {
            message_ = "Selection closed: the line is unchanged." + asked;
        }
    }

    // A report while the dialog stays open (Apply, a double click) is shown, not inserted.
    void noteApplied() {
        if (picked_.texts.size() <= textsSeen_ || !OpenSelectionTree()) return;
        textsSeen_ = picked_.texts.size();
        message_ = "Chosen: " + Utf8FromCp1252(picked_.texts.back()) + " (OK inserts the selected one)";
        boxesSeen_ = w32drv::MessageBoxes().size(); // the message row tells this now
    }

    // The dialog opens at the size it had last; it shrinks to what the terminal shows below the
    // line, as a person would make it fit, so that its buttons stay in view.
    void fitToScreen(HWND dialog) {
        RECT r{};
        GetWindowRect(dialog, &r);
        const int cellW = 6, cellH = 13; // the dialog font's character cell
        const int width = std::min<int>(r.right - r.left, (screen_.cols() - 1) * cellW);
        const int height = std::min<int>(r.bottom - r.top, (screen_.rows() - kLineRow - 3) * cellH - cellH / 2);
        SetWindowPos(dialog, nullptr, 0, 0, std::max(width, 1), std::max(height, 1), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    TuiScreen& screen_;
    KPelorin& selector_;
    HWND window_;
    std::string line_; // Windows-1252, as the system reads it
    int caret_ = 0;
    int scroll_ = 0;
    int caretScreenColumn_ = kLineCol;
    std::string message_;
    size_t boxesSeen_ = 0;
    bool settled_ = false;
    bool quit_ = false;
    const char* dialogKeys_ = kDialogKeys;
    PickedTexts picked_;
    size_t textsSeen_ = 0;
};

} // namespace

int RunTui(const std::vector<std::string>& catalogFiles, const std::vector<std::string>& args, UsageError& error) {
    std::string line;
    bool help = false;
    if (!ParseEditorArguments(args, line, help, error)) {
        if (!help) return ExitUsage;
        std::cout << CommandUsage("tui");
        return ExitOk;
    }
    std::vector<std::string> catalogs = CatalogFiles(catalogFiles, error);
    if (!error.message.empty()) return ExitUsage;
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        error.message = "tui needs a terminal on standard input and output";
        return ExitUsage;
    }
    HWND window = static_cast<HWND>(CreateEditorWindow("Pelorin host"));
    int code = ExitOk;
    {
        KPelorin selector(window);
        std::string names;
        for (const auto& f : catalogs) {
            selector.AddFCat(f.c_str());
            // file names are bytes; the message row shows them as UTF-8
            names += (names.empty() ? "" : ", ") + Utf8Repaired(std::filesystem::path(f).filename().string());
        }
        TuiScreen screen;
        try {
            if (!screen.open(error.message)) {
                code = ExitUsage;
            } else {
                Editor editor(screen, selector, window, line, names);
                editor.run();
            }
        } catch (const std::exception& e) {
            screen.close();
            std::cerr << "pelorin-host: tui: " << Utf8Repaired(e.what()) << '\n';
            code = ExitFailed;
        }
    }
    DestroyWindow(window);
    return code;
}
