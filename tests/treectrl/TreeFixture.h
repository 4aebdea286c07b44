// Shared set-up of the tree control tests: a frame window that records the control's WM_NOTIFY
// messages (and may answer them), a tree in it, and readers of what the control shows.
#pragma once
#include "treectrl/SECTreeCtrl.h"

#include <w32drv.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

struct Note {
    UINT code;
    UINT action;
    HTREEITEM oldItem;
    HTREEITEM newItem;
    UINT newState;
};

class TreeTest : public ::testing::Test {
protected:
    static TreeTest*& current() {
        static TreeTest* test = nullptr;
        return test;
    }

    static LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NOTIFY && current()) return current()->record(reinterpret_cast<const NMHDR*>(lParam));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    LRESULT record(const NMHDR* hdr) {
        // a dialog routes notifications by the sender's window and control ID
        EXPECT_EQ(hdr->hwndFrom, tree.m_hWnd);
        EXPECT_EQ(hdr->idFrom, static_cast<UINT_PTR>(GetDlgCtrlID(tree.m_hWnd)));
        Note n{hdr->code, 0, nullptr, nullptr, 0};
        bool treeNote = hdr->code == TVN_SELCHANGINGA || hdr->code == TVN_SELCHANGEDA ||
                        hdr->code == TVN_ITEMEXPANDINGA || hdr->code == TVN_ITEMEXPANDEDA;
        if (treeNote) {
            auto* nm = reinterpret_cast<const NMTREEVIEWA*>(hdr);
            n = Note{hdr->code, nm->action, nm->itemOld.hItem, nm->itemNew.hItem, nm->itemNew.state};
        }
        notes.push_back(n);
        return answer ? answer(hdr) : 0;
    }

    void SetUp() override {
        w32drv::Reset();
        current() = this;
        WNDCLASSA wc{};
        wc.lpfnWndProc = frameProc;
        wc.lpszClassName = "TreeFrame";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, "TreeFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
    }

    void TearDown() override {
        if (tree.m_hWnd) tree.DestroyWindow();
        w32drv::Reset();
        current() = nullptr;
    }

    static constexpr DWORD kStyle =
        WS_VISIBLE | WS_BORDER | WS_VSCROLL | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;

    // The tree at (10, 10) in the frame, focused, with no notification recorded yet.
    void create(DWORD exStyle = 0, int height = 200, DWORD style = kStyle) {
        ASSERT_TRUE(
            tree.Create(style, exStyle, CRect(10, 10, 210, 10 + height), CWnd::FromHandle(frame), 100));
        tree.SetFocus();
        w32drv::Pump();
        notes.clear();
    }

    std::vector<UINT> codes() const {
        std::vector<UINT> out;
        for (const Note& n : notes)
            out.push_back(n.code);
        return out;
    }

    // The texts of the displayed rows, indented two spaces a level.
    std::vector<std::string> shown() {
        std::vector<std::string> out;
        for (const auto& r : w32drv::Inspect(tree).rows)
            out.push_back(std::string(r.depth * 2u, ' ') + r.text);
        return out;
    }

    std::vector<std::string> selectedTexts() {
        std::vector<std::string> out;
        for (HTREEITEM i = tree.GetFirstSelectedItem(); i; i = tree.GetNextSelectedItem(i))
            out.push_back(tree.GetItemText(i));
        return out;
    }

    std::string text(HTREEITEM item) { return item ? tree.GetItemText(item) : "(none)"; }

    RECT labelRect(HTREEITEM item) {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);  // the handle goes in, the rectangle comes out
        EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
        return r;
    }

    // A click on a row's text, with the modifier keys held.
    void clickRow(HTREEITEM item, unsigned modifiers = w32drv::None) {
        RECT r = labelRect(item);
        if (modifiers & w32drv::Control) w32drv::KeyDown(VK_CONTROL);
        if (modifiers & w32drv::Shift) w32drv::KeyDown(VK_SHIFT);
        w32drv::ClickClient(tree, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        if (modifiers & w32drv::Shift) w32drv::KeyUp(VK_SHIFT);
        if (modifiers & w32drv::Control) w32drv::KeyUp(VK_CONTROL);
        w32drv::Wait(1000); // no double click with the next one
        w32drv::Pump();
    }

    void key(UINT vk, unsigned modifiers = w32drv::None) {
        w32drv::Key(vk, modifiers);
        w32drv::Pump();
    }

    // Roots named by `roots`, each with `children` children "<root>1", "<root>2", ...
    std::vector<HTREEITEM> fill(const std::vector<std::string>& roots, int children = 0) {
        std::vector<HTREEITEM> out;
        for (const auto& name : roots) {
            HTREEITEM r = tree.InsertItem(name.c_str());
            out.push_back(r);
            for (int i = 1; i <= children; ++i)
                tree.InsertItem((name + std::to_string(i)).c_str(), r);
        }
        return out;
    }

    HTREEITEM child(HTREEITEM parent, int n) {
        HTREEITEM c = tree.GetChildItem(parent);
        while (c && n-- > 0)
            c = tree.GetNextSiblingItem(c);
        return c;
    }

    HWND frame = nullptr;
    SECTreeCtrl tree;
    std::vector<Note> notes;
    std::function<LRESULT(const NMHDR*)> answer;
};
