// Shared set-up of the tree control tests: a frame window that records the control's WM_NOTIFY
// messages (and may answer them), a tree in it, readers of what the control shows, and a player
// of steps (an action on rows named by their text, then the rows and notifications it leaves).
#pragma once
#include "treectrl/SECTreeCtrl.h"

#include <w32drv.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct Note {
    UINT code, action;
    HTREEITEM oldItem, newItem;
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
        auto* nm = reinterpret_cast<const NMTREEVIEWA*>(hdr);
        bool item = hdr->code <= TVN_SELCHANGINGA && hdr->code >= TVN_ITEMEXPANDEDA; // the TVN_ codes used
        notes.push_back(
            item ? Note{hdr->code, nm->action, nm->itemOld.hItem, nm->itemNew.hItem, nm->itemNew.state}
                 : Note{hdr->code, 0, nullptr, nullptr, 0});
        return answer ? answer(hdr) : 0;
    }
    void SetUp() override {
        w32drv::Reset();
        current() = this;
        WNDCLASSA wc{};
        wc.lpfnWndProc = frameProc;
        wc.lpszClassName = "TreeFrame";
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

    // A new tree at (10, 10) in the frame, focused, no notification recorded.
    void create(DWORD exStyle = 0, int height = 200, DWORD style = kStyle) {
        if (tree.m_hWnd) tree.DestroyWindow();
        ASSERT_TRUE(
            tree.Create(style, exStyle, CRect(10, 10, 210, 10 + height), CWnd::FromHandle(frame), 100));
        tree.SetFocus();
        w32drv::Pump();
        notes.clear();
    }

    // The notifications by short names; forgets them.
    std::string log() {
        static const std::map<UINT, std::string> names = {
            {TVN_SELCHANGINGA, "changing"},  {TVN_SELCHANGEDA, "changed"}, {TVN_ITEMEXPANDINGA, "expanding"},
            {TVN_ITEMEXPANDEDA, "expanded"}, {NM_CLICK, "click"},          {NM_DBLCLK, "dblclk"},
            {NM_RETURN, "return"},           {NM_SETFOCUS, "setfocus"},    {NM_KILLFOCUS, "killfocus"}};
        std::string out;
        for (const Note& n : notes)
            out += (out.empty() ? "" : " ") + names.at(n.code);
        notes.clear();
        return out;
    }

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

    // The selected rows in display order, as the control lists them.
    std::string selected() {
        std::string out;
        for (HTREEITEM i = tree.GetFirstSelectedItem(); i; i = tree.GetNextSelectedItem(i))
            out += (out.empty() ? "" : " ") + text(i);
        return out;
    }

    // The children of a row (TVI_ROOT: the roots), checking each one's parent and previous sibling.
    std::string kids(HTREEITEM parent) {
        std::string out;
        HTREEITEM prev = nullptr;
        for (HTREEITEM c = tree.GetChildItem(parent); c; prev = c, c = tree.GetNextSiblingItem(c)) {
            EXPECT_EQ(tree.GetParentItem(c), parent == TVI_ROOT ? nullptr : parent);
            EXPECT_EQ(tree.SendMessage(TVM_GETNEXTITEM, TVGN_PREVIOUS, reinterpret_cast<LPARAM>(c)),
                      reinterpret_cast<LRESULT>(prev));
            out += (out.empty() ? "" : " ") + text(c);
        }
        return out;
    }

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

    static TVITEMA tvItem(UINT mask, HTREEITEM item, const char* text = nullptr, int size = 0) {
        TVITEMA tv{};
        tv.mask = mask;
        tv.hItem = item;
        tv.pszText = const_cast<LPSTR>(text);
        tv.cchTextMax = size;
        return tv;
    }
    // A root row inserted last by TVM_INSERTITEMA, with the members the mask names.
    HTREEITEM insert(const TVITEMA& item) {
        TVINSERTSTRUCTA is{};
        is.hParent = TVI_ROOT;
        is.hInsertAfter = TVI_LAST;
        is.item = item;
        return reinterpret_cast<HTREEITEM>(
            tree.SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    }

    // A click on a row's text, with the modifier keys held.
    void clickRow(HTREEITEM item, unsigned modifiers = w32drv::None) {
        RECT r = itemRect(item);
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

    // One action: [ctrl+][shift+]click ROW, [ctrl+][shift+]key NAME, type TEXT, wait MS, select
    // ROW, expand/collapse/toggle ROW, delete ROW, disable/enable ROW, add/remove ROW (multiple
    // selection), range ROW ROW, deselect. Returns what the control returned (TRUE for no answer).
    BOOL act(const std::string& action) {
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
    struct Step {
        const char* action;
        const char* rows;
        const char* said;
    };
    void play(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            bool ok = act(s.action);
            EXPECT_EQ(s.rows ? view() : "", s.rows ? s.rows : "") << s.action;
            std::string said = s.said ? log() : "";
            EXPECT_EQ(ok || !s.said  ? said
                      : said.empty() ? "no"
                                     : "no " + said,
                      s.said ? s.said : "")
                << s.action;
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
    std::vector<Note> notes;
    std::function<LRESULT(const NMHDR*)> answer;
};
