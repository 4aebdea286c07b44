// Shared set-up of the tree control tests: a frame window that records the control's WM_NOTIFY
// messages (and may answer them), a tree in it, readers of what the control shows, and a player
// of steps (an action on rows named by their text, then the rows and notifications it leaves).
#pragma once
#include "treectrl/SECTreeCtrl.h"

#include <w32drv.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

class TreeTest : public ::testing::Test {
protected:
    static inline TreeTest* current = nullptr;
    static LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NOTIFY && current) return current->record(reinterpret_cast<const NMHDR*>(lParam));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    LRESULT record(const NMHDR* hdr) {
        // a dialog routes notifications by the sender's window and control ID
        EXPECT_EQ(hdr->hwndFrom, tree.m_hWnd);
        EXPECT_EQ(hdr->idFrom, static_cast<UINT_PTR>(GetDlgCtrlID(tree.m_hWnd)));
        NMTREEVIEWA nm{*hdr, 0, {}, {}, {0, 0}};
        if (hdr->code <= TVN_SELCHANGINGA && hdr->code >= TVN_ITEMEXPANDEDA) // the TVN_ codes used
            nm = *reinterpret_cast<const NMTREEVIEWA*>(hdr);
        notes.push_back(nm);
        static const std::map<UINT, std::string> names = {
            {TVN_SELCHANGINGA, "changing"},  {TVN_SELCHANGEDA, "changed"}, {TVN_ITEMEXPANDINGA, "expanding"},
            {TVN_ITEMEXPANDEDA, "expanded"}, {NM_CLICK, "click"},          {NM_DBLCLK, "dblclk"},
            {NM_RETURN, "return"},           {NM_SETFOCUS, "setfocus"},    {NM_KILLFOCUS, "killfocus"}};
        heard += (heard.empty() ? "" : " ") + names.at(hdr->code);
        return answer ? answer(hdr) : 0;
    }
    void SetUp() override {
        w32drv::Reset();
        current = this;
        WNDCLASSA wc{0, frameProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TreeFrame"};
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, "TreeFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (tree.m_hWnd) tree.DestroyWindow();
        w32drv::Reset();
        current = nullptr;
    }

    // A new tree at (10, 10) in the frame, focused, no notification recorded.
    void create(DWORD exStyle = 0, int height = 200,
                DWORD style = WS_VISIBLE | WS_BORDER | WS_VSCROLL | TVS_HASBUTTONS | TVS_HASLINES |
                              TVS_LINESATROOT) {
        if (tree.m_hWnd) tree.DestroyWindow();
        ASSERT_TRUE(
            tree.Create(style, exStyle, CRect(10, 10, 210, 10 + height), CWnd::FromHandle(frame), 100));
        tree.SetFocus();
        w32drv::Pump();
        log();
    }
    // The notifications by short names; forgets them.
    std::string log() { return notes.clear(), std::exchange(heard, ""); }
    // The displayed rows as the control describes them: a dot a level, the text, '+' closed and
    // '-' open, then ':' and s(elected) c(aret) f(ocus rectangle) d(isabled).
    std::string view() {
        std::string out;
        for (const auto& r : w32drv::Inspect(tree).rows) {
            std::string flags = std::string(r.selected ? "s" : "") + (r.caret ? "c" : "") +
                                (r.focused ? "f" : "") + (r.disabled ? "d" : "");
            out += (out.empty() ? "" : " ") + std::string(r.depth, '.') + r.text +
                   (r.hasChildren ? (r.expanded ? "-" : "+") : "") + (flags.empty() ? "" : ":" + flags);
        }
        return out;
    }

    // The rows from `first` on as `next` leads: the children of a row, the selected rows.
    template <class Next> std::string list(HTREEITEM first, Next next) {
        std::string out;
        for (HTREEITEM i = first; i; i = (tree.*next)(i))
            out += (out.empty() ? "" : " ") + text(i);
        return out;
    }
    std::string kids(HTREEITEM row) { return list(tree.GetChildItem(row), &SECTreeCtrl::GetNextSiblingItem); }
    std::string selected() { return list(tree.GetFirstSelectedItem(), &SECTreeCtrl::GetNextSelectedItem); }
    std::string text(HTREEITEM item) { return item ? tree.GetItemText(item) : "(none)"; }
    // The row with this text, open or not.
    HTREEITEM find(const std::string& s, HTREEITEM from = TVI_ROOT) {
        for (HTREEITEM c = tree.GetChildItem(from); c; c = tree.GetNextSiblingItem(c))
            if (HTREEITEM hit = text(c) == s ? c : find(s, c)) return hit;
        return nullptr;
    }
    RECT itemRect(HTREEITEM item, BOOL label = TRUE) {
        RECT r{};
        std::memcpy(&r, &item, sizeof item); // the handle goes in, the rectangle comes out
        EXPECT_TRUE(tree.SendMessage(TVM_GETITEMRECT, label, reinterpret_cast<LPARAM>(&r)));
        return r;
    }
    // A click on a row's text, with the modifier keys held.
    void clickRow(HTREEITEM item, unsigned modifiers = w32drv::None) {
        RECT r = itemRect(item);
        for (auto [mod, vk] : {std::pair{w32drv::Control, VK_CONTROL}, std::pair{w32drv::Shift, VK_SHIFT}})
            if (modifiers & mod) w32drv::KeyDown(vk);
        w32drv::ClickClient(tree, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        for (UINT vk : {VK_SHIFT, VK_CONTROL})
            w32drv::KeyUp(vk);
        w32drv::Wait(1000); // no double click with the next one
        w32drv::Pump();
    }
    void key(UINT vk, unsigned modifiers = w32drv::None) {
        w32drv::Key(vk, modifiers);
        w32drv::Pump();
    }

    // One action: [ctrl+][shift+]click ROW, [ctrl+][shift+]key NAME, type TEXT, wait MS, select
    // ROW, expand/collapse/toggle ROW, delete ROW, disable/enable ROW, add/remove ROW (multiple
    // selection), range ROW ROW, deselect; several of them with "; " between. Returns what the
    // control returned (TRUE for no answer).
    BOOL act(const std::string& action) {
        if (size_t semicolon = action.find("; "); semicolon != std::string::npos)
            return act(action.substr(0, semicolon)) & act(action.substr(semicolon + 2));
        static const std::map<std::string, UINT> keys = {
            {"Up", VK_UP},       {"Down", VK_DOWN},    {"Left", VK_LEFT},    {"Right", VK_RIGHT},
            {"Home", VK_HOME},   {"End", VK_END},      {"PgUp", VK_PRIOR},   {"PgDn", VK_NEXT},
            {"Back", VK_BACK},   {"Add", VK_ADD},      {"Sub", VK_SUBTRACT}, {"Mul", VK_MULTIPLY},
            {"Space", VK_SPACE}, {"Return", VK_RETURN}};
        std::istringstream in(action);
        std::string verb, a, b;
        in >> verb >> a >> b;
        unsigned mods = 0;
        for (auto [prefix, mod] : {std::pair{"ctrl+", w32drv::Control}, std::pair{"shift+", w32drv::Shift}})
            if (verb.rfind(prefix, 0) == 0) mods |= mod, verb = verb.substr(std::strlen(prefix));
        if (verb == "click") clickRow(find(a), mods);
        if (verb == "key") key(keys.at(a), mods);
        if (verb == "type") w32drv::Type(a), w32drv::Pump();
        if (verb == "wait") w32drv::Wait(static_cast<DWORD>(std::stoul(a)));
        if (verb == "deselect") tree.DeselectAll();
        if (verb == "disable" || verb == "enable") tree.DisableItem(find(a), verb == "disable");
        BOOL r = verb == "select"     ? tree.SelectItem(a == "-" ? nullptr : find(a))
                 : verb == "expand"   ? tree.Expand(find(a), TVE_EXPAND)
                 : verb == "collapse" ? tree.Expand(find(a), TVE_COLLAPSE)
                 : verb == "toggle"   ? tree.Expand(find(a), TVE_TOGGLE)
                 : verb == "delete"   ? tree.DeleteItem(find(a))
                 : verb == "add"      ? tree.SetItemSelected(find(a), TRUE)
                 : verb == "remove"   ? tree.SetItemSelected(find(a), FALSE)
                 : verb == "range"    ? tree.SelectRange(find(a), find(b), TRUE)
                                      : TRUE;
        return r;
    }

    // Steps: an action, then the rows it leaves and its notifications ("no " first when the
    // control answered FALSE); a null expectation is not checked (the notifications are kept).
    void play(const std::vector<std::array<const char*, 3>>& steps) {
        for (auto [action, rows, said] : steps) {
            bool ok = act(action);
            EXPECT_EQ(rows ? view() : "", rows ? rows : "") << action;
            std::string heard = said ? log() : "";
            if (!ok && said) heard.insert(0, heard.empty() ? "no" : "no ");
            EXPECT_EQ(heard, said ? said : "") << action;
        }
    }

    // Roots named by `roots`, each with `children` children "<root>1", "<root>2", ...
    std::vector<HTREEITEM> fill(const std::vector<std::string>& roots, int children = 0) {
        std::vector<HTREEITEM> out;
        for (const auto& name : roots) {
            out.push_back(tree.InsertItem(name.c_str()));
            for (int i = 1; i <= children; ++i)
                tree.InsertItem((name + std::to_string(i)).c_str(), out.back());
        }
        return out;
    }
    int itemHeight() { return static_cast<int>(tree.SendMessage(TVM_GETITEMHEIGHT)); }
    int indent() { return static_cast<int>(tree.SendMessage(TVM_GETINDENT)); }

    HWND frame = nullptr;
    SECTreeCtrl tree;
    std::vector<NMTREEVIEWA> notes;
    std::string heard; // their names
    std::function<LRESULT(const NMHDR*)> answer;
};
