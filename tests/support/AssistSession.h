// A host window with a selector on the sample catalogs, a person's typing (a key every 250 ms,
// so the assistance's timer ticks as it would), and snapshots of the open dialog taken at points
// of the virtual clock from inside its modal loop.
#pragma once
#include "base/ProcessState.h"
#include "facade/Pelorin.h"
#include "support/SampleCatalogs.h"

#include <w32drv.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct DialogSnapshot {
    bool open = false;
    HWND dialog = nullptr;
    HWND owner = nullptr;
    std::string title;
    RECT dialogRect{};
    std::string edit;
    int selStart = -1, selEnd = -1;
    RECT editRect{};
    bool listVisible = false;
    RECT listRect{};
    std::vector<std::string> items;
    int selection = -1;
    std::string format, hint;
    bool formatVisible = false, hintVisible = false;
    std::string picture;
};

class AssistSession : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        w32drv::Reset();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "HostEditor";
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "HostEditor", "Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 900, 500, nullptr,
                               nullptr, nullptr, nullptr);
        selector = std::make_unique<KPelorin>(host);
        selector->AddFCat(SampleCatalog("standard.xml").c_str());
    }
    void TearDown() override {
        selector.reset();
        ResetProcessStateForTests();
        w32drv::Reset();
    }

    // Each character, then the time a person takes to the next key.
    static void typeSlowly(const std::string& text) {
        for (char c : text) {
            w32drv::Type(std::string(1, c));
            w32drv::Wait(250);
        }
    }
    static void press(UINT vk, unsigned modifiers = 0) {
        w32drv::Key(vk, modifiers);
        w32drv::Wait(250);
    }

    int open(const std::string& line, int caret = -1, int selStart = -1, int selEnd = -1) {
        if (caret < 0) caret = static_cast<int>(line.size());
        return selector->ShowEx(host, line.c_str(), 300, 300, caret, selStart, selEnd);
    }
    std::string result(int* displacement = nullptr) {
        char buffer[1024];
        int d = selector->GetSelection(buffer, sizeof buffer);
        if (displacement) *displacement = d;
        return buffer;
    }

    // Takes a snapshot when the clock has run ms further (while the dialog runs).
    void snapshotAfter(DWORD ms, DialogSnapshot* into) { after(ms, [into] { *into = snapshot(); }); }
    static void after(DWORD ms, std::function<void()> action) { w32drv::CallAt(ms, std::move(action)); }

    static DialogSnapshot snapshot();

    HWND host = nullptr;
    std::unique_ptr<KPelorin> selector;
};

inline DialogSnapshot AssistSession::snapshot() {
    DialogSnapshot s;
    for (HWND h : w32drv::TopLevelWindows()) {
        auto info = w32drv::Inspect(h);
        if (info.className == "#32770") {
            s.dialog = h;
            break;
        }
    }
    if (!s.dialog) return s;
    s.open = true;
    s.owner = GetWindow(s.dialog, GW_OWNER);
    s.title = w32drv::Inspect(s.dialog).text;
    GetWindowRect(s.dialog, &s.dialogRect);
    auto edit = w32drv::Inspect(GetDlgItem(s.dialog, 1000));
    s.edit = edit.text;
    s.selStart = edit.selStart;
    s.selEnd = edit.selEnd;
    s.editRect = edit.rect;
    auto format = w32drv::Inspect(GetDlgItem(s.dialog, 1020));
    auto hint = w32drv::Inspect(GetDlgItem(s.dialog, 1019));
    s.format = format.text;
    s.formatVisible = format.visible;
    s.hint = hint.text;
    s.hintVisible = hint.visible;
    for (HWND h : w32drv::TopLevelWindows()) {
        auto info = w32drv::Inspect(h);
        if (info.className == "ListBox" && GetWindow(h, GW_OWNER) == s.dialog) {
            s.listVisible = info.visible;
            s.listRect = info.rect;
            s.items = info.items;
            s.selection = info.selection;
        }
    }
    s.picture = w32drv::Picture(s.dialog);
    return s;
}
