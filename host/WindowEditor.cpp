// The editor on Windows: a main window whose edit control holds the script line. F2 opens the
// input assistance at the caret, F3 the selection dialog; as in the terminal editor, only the
// text chosen with the dialog's closing goes into the line, and Esc quits.
#include "facade/Pelorin.h"
#include "host/Host.h"
#include "host/SelectionTree.h"
#include "host/Text.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

const UINT kChosen = WM_APP + 1; // a report of the selection dialog, looked at once it is handled
const char* kKeys = "F2: assistance   F3: selection   Esc: quit";

struct Picked : KPelorinClient {
    HWND window = nullptr;
    std::vector<std::string> texts;
    void OnSelectionText(const char* text) override {
        texts.push_back(text ? text : "");
        PostMessageA(window, kChosen, 0, 0);
    }
    void OnHelp(int) override {}
};

struct Editor {
    HWND window = nullptr, edit = nullptr, status = nullptr;
    KPelorin* selector = nullptr;
    Picked picked;
    std::string names;

    std::string line() const {
        std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)), '\0');
        GetWindowTextA(edit, text.data(), static_cast<int>(text.size()) + 1);
        return text;
    }
    void say(const std::string& text) { SetWindowTextA(status, (text + "   (" + kKeys + ")").c_str()); }

    void assist() {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const std::string text = line();
        // Show opens the dialog at the caret of this thread, which is the edit's
        const int result = selector->Show(edit, text.c_str(), static_cast<int>(end), static_cast<int>(start),
                                          static_cast<int>(end));
        if (result == 0) return say("No catalog data: the input assistance cannot open.");
        if (result != IDOK) return say("Assistance cancelled: the line is unchanged.");
        std::string changed;
        int displacement = 0;
        if (!SelectedLine(*selector, changed, displacement))
            return say("The new line is longer than the assistance can hand out: the line is unchanged.");
        SetWindowTextA(edit, changed.c_str());
        const int caret = std::clamp(static_cast<int>(end) + displacement, 0, static_cast<int>(changed.size()));
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(caret), caret);
        say("Assistance accepted: the caret moved by " + std::to_string(displacement) + ".");
    }
    void select() {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        picked.texts.clear();
        const std::string text = line();
        selector->ShowXMSSelection(&picked, nullptr, text.c_str(), static_cast<int>(end), 0, 0, true);
        say(OpenSelectionTree() ? "Selection dialog open." : "No catalog data: the selection dialog cannot open.");
    }
    // Apply and double clicks only say what they chose; the report of the closing goes in.
    void chosen() {
        if (picked.texts.empty()) return;
        const std::string text = picked.texts.back();
        picked.texts.clear();
        if (OpenSelectionTree()) return say("Chosen: " + Utf8FromCp1252(text) + ".");
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        say("Selection inserted: " + Utf8FromCp1252(text) + ".");
    }
};

LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* editor = reinterpret_cast<Editor*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_SIZE:
        if (editor && editor->edit) {
            const int width = LOWORD(lParam);
            MoveWindow(editor->edit, 8, 8, width - 16, 24, TRUE);
            MoveWindow(editor->status, 8, 40, width - 16, 20, TRUE);
        }
        return 0;
    case WM_SETFOCUS:
        if (editor && editor->edit) SetFocus(editor->edit);
        return 0;
    case kChosen:
        if (editor) editor->chosen();
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int RunWindowEditor(const std::vector<std::string>& catalogFiles, const std::vector<std::string>& args,
                    UsageError& error) {
    std::string text;
    bool help = false;
    if (!ParseEditorArguments(args, text, help, error)) {
        if (!help) return ExitUsage;
        std::cout << CommandUsage("tui");
        return ExitOk;
    }
    std::vector<std::string> catalogs = CatalogFiles(catalogFiles, error);
    if (!error.message.empty()) return ExitUsage;

    WNDCLASSA wc{};
    wc.lpfnWndProc = editorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "PelorinHostWindowEditor";
    RegisterClassA(&wc);
    Editor e;
    e.window = CreateWindowExA(0, wc.lpszClassName, "Pelorin host", WS_OVERLAPPEDWINDOW, 40, 40, 900, 110, nullptr,
                               nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(e.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&e));
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    e.edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 8, 8, 860,
                             24, e.window, nullptr, wc.hInstance, nullptr);
    e.status = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 8, 40, 860, 20, e.window, nullptr, wc.hInstance,
                               nullptr);
    SendMessageA(e.edit, WM_SETFONT, font, FALSE);
    SendMessageA(e.status, WM_SETFONT, font, FALSE);
    e.picked.window = e.window;
    KPelorin selector(e.edit);
    for (const auto& f : catalogs) {
        selector.AddFCat(f.c_str());
        e.names += (e.names.empty() ? "" : ", ") + Utf8Repaired(std::filesystem::path(f).filename().string());
    }
    e.selector = &selector;
    e.say("Catalogs: " + e.names + ".");
    ShowWindow(e.window, SW_SHOWNORMAL);
    SetFocus(e.edit);
    SendMessageA(e.edit, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_KEYDOWN && m.hwnd == e.edit) {
            if (m.wParam == VK_F2) {
                e.assist();
                continue;
            }
            if (m.wParam == VK_F3) {
                e.select();
                continue;
            }
            if (m.wParam == VK_ESCAPE) {
                DestroyWindow(e.window);
                continue;
            }
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    selector.Close();
    return ExitOk;
}
