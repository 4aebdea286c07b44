// The LISTBOX control: items and sorting, error results, selection by program, keyboard and
// mouse with their notifications, scrolling, and the pop-up list driven from an edit field.
#include "fixture.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using Items = std::vector<std::string>;

class ListBoxTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        top = topLevel();
    }
    // Ten rows of the system font (16 px) inside a one-pixel border.
    HWND makeList(DWORD style = LBS_NOTIFY | WS_BORDER | WS_VSCROLL, int count = 0, int x = 10) {
        HWND lb = child(top, "ListBox", "", style, x, 10, 150, 166, 100);
        for (int i = 0; i < count; ++i)
            add(lb, ("item " + std::to_string(100 + i)).c_str());
        return lb;
    }
    static LRESULT add(HWND lb, const char* text) { return send(lb, LB_ADDSTRING, 0, text); }
    static std::string itemText(HWND lb, int index) {
        char buf[256] = {};
        send(lb, LB_GETTEXT, index, buf);
        return buf;
    }
    // The selection after a key, or after typing, with the input processed.
    static LRESULT selAfterKey(HWND lb, UINT vk) {
        press(vk);
        return send(lb, LB_GETCURSEL);
    }
    static LRESULT selAfterTyping(HWND lb, const char* s) {
        w32drv::Type(s);
        w32drv::Pump();
        return send(lb, LB_GETCURSEL);
    }
    HWND top = nullptr;
};

} // namespace

// ---- items ----

TEST_F(ListBoxTest, SortedListsOrderItemsWithTheirDataAndUnsortedOnesKeepInsertionOrderAndTheSelection) {
    HWND lb = makeList(LBS_SORT | WS_BORDER);
    const std::pair<const char*, int> adds[] = {{"pear", 0},     {"Banana", 0}, {"apple", 0},  {"Cherry", 2},
                                                {"10 plums", 0}, {"_draft", 0}, {"Apricot", 3}};
    LPARAM data = 0;
    for (auto& [s, at] : adds) {
        EXPECT_EQ(add(lb, s), at) << s;
        EXPECT_EQ(send(lb, LB_SETITEMDATA, at, ++data), TRUE);
    }
    EXPECT_EQ(w32drv::Inspect(lb).items,
              (Items{"_draft", "10 plums", "apple", "Apricot", "Banana", "Cherry", "pear"}));
    const LRESULT dataOf[] = {6, 5, 3, 7, 2, 4, 1}; // the order of adding
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(send(lb, LB_GETITEMDATA, i), dataOf[i]) << i;
    send(lb, LB_DELETESTRING, 0);
    EXPECT_EQ(send(lb, LB_GETITEMDATA, 0), 5);
    // LB_INSERTSTRING puts the item where it is told, even in a sorted list
    EXPECT_EQ(send(lb, LB_INSERTSTRING, 0, "zzz"), 0);
    EXPECT_EQ(itemText(lb, 0), "zzz");
    EXPECT_EQ(send(lb, LB_GETITEMDATA, 1), 5);

    HWND unsorted = makeList(LBS_NOTIFY, 0, 200);
    add(unsorted, "one");
    add(unsorted, "three");
    EXPECT_EQ(send(unsorted, LB_INSERTSTRING, 1, "two"), 1);
    EXPECT_EQ(send(unsorted, LB_INSERTSTRING, -1, "four"), 3);
    EXPECT_EQ(w32drv::Inspect(unsorted).items, (Items{"one", "two", "three", "four"}));

    send(unsorted, LB_SETCURSEL, 2);
    send(unsorted, LB_INSERTSTRING, 0, "zero");
    EXPECT_EQ(send(unsorted, LB_GETCURSEL), 3);
    EXPECT_EQ(send(unsorted, LB_DELETESTRING, 1), 4); // the count left
    EXPECT_EQ(send(unsorted, LB_GETCURSEL), 2);
    EXPECT_EQ(itemText(unsorted, 2), "three");
    send(unsorted, LB_DELETESTRING, 2); // the selected item itself
    EXPECT_EQ(send(unsorted, LB_GETCURSEL), LB_ERR);
    send(unsorted, LB_RESETCONTENT);
    EXPECT_EQ(send(unsorted, LB_GETCOUNT), 0);
}

TEST_F(ListBoxTest, MisuseAnswersLbErrAndProgramChangesAreNotNotified) {
    HWND lb = makeList(LBS_NOTIFY, 3);
    char buf[64];
    int items[4];
    for (UINT msg :
         {LB_GETTEXTLEN, LB_GETITEMDATA, LB_SETITEMDATA, LB_DELETESTRING, LB_SETTOPINDEX, LB_SETCARETINDEX}) {
        if (msg == LB_SETTOPINDEX && underWine()) continue; // Wine takes any top index
        EXPECT_EQ(send(lb, msg, 3), LB_ERR) << "an index past the end, message " << msg;
    }
    EXPECT_EQ(send(lb, LB_GETTEXT, 3, buf), LB_ERR);
    if (w32drv::kHeadless) { // no buffer, rectangle or string: Windows reads or writes through it
        EXPECT_EQ(send(lb, LB_GETTEXT, 0, 0), LB_ERR);
        EXPECT_EQ(send(lb, LB_GETITEMRECT, 0, 0), LB_ERR);
        EXPECT_EQ(send(lb, LB_FINDSTRING, -1, 0), LB_ERR);
    }
    EXPECT_EQ(send(lb, LB_GETTEXTLEN, -1), LB_ERR);
    EXPECT_EQ(send(lb, LB_INSERTSTRING, 5, "x"), LB_ERR);
    EXPECT_EQ(send(lb, LB_SETITEMHEIGHT, 0, 256), LB_ERR);
    EXPECT_EQ(send(lb, LB_FINDSTRING, -1, "none"), LB_ERR);
    // multiple-selection messages on a single-selection list box
    if (!underWine()) { // Wine answers 0
        EXPECT_EQ(send(lb, LB_SETSEL, TRUE, 0), LB_ERR);
    }
    EXPECT_EQ(send(lb, LB_GETSELCOUNT), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETSELITEMS, 4, items), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCOUNT), 3);
    // selection: out of range fails and keeps it; -1 clears it yet answers LB_ERR
    EXPECT_EQ(send(lb, LB_SETCURSEL, 1), 1);
    EXPECT_EQ(send(lb, LB_SETCURSEL, 3), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1);
    EXPECT_EQ(send(lb, LB_SELECTSTRING, -1, "none"), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1);
    EXPECT_EQ(send(lb, LB_SETCURSEL, -1), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(send(lb, LB_SELECTSTRING, -1, "item 102"), 2);
    EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 0);
}

TEST_F(ListBoxTest, FindStringMatchesPrefixIgnoringCaseAndWrapsAfterTheStart) {
    HWND lb = makeList();
    for (const char* s : {"Alpha", "beta", "alphabet", "Gamma"})
        add(lb, s);
    const struct {
        UINT msg;
        int start;
        const char* s;
        LRESULT found;
    } cases[] = {
        {LB_FINDSTRING, -1, "ALPHA", 0},
        {LB_FINDSTRING, 0, "alpha", 2}, // searching starts after the given item
        {LB_FINDSTRING, 2, "alpha", 0}, // and wraps around
        {LB_FINDSTRINGEXACT, -1, "ALPHABET", 2},
        {LB_FINDSTRINGEXACT, -1, "alph", LB_ERR},
        {LB_SELECTSTRING, -1, "g", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(send(lb, c.msg, c.start, c.s), c.found) << c.s;
    EXPECT_EQ(send(lb, LB_GETCURSEL), 3);
}

TEST_F(ListBoxTest, ItemHeightFollowsTheFontAndTheHeightShowsWholeRows) {
    HWND lb = makeList(WS_BORDER);
    EXPECT_EQ(send(lb, LB_GETITEMHEIGHT), 16); // system font
    RECT c{};
    GetClientRect(lb, &c);
    EXPECT_EQ(c.bottom, 160); // 164 asked for, no partial row
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    send(lb, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(send(lb, LB_GETITEMHEIGHT), 13);
    GetClientRect(lb, &c);
    if (w32drv::kHeadless) { // twelve rows of the fixed-metric font within the height first asked for
        EXPECT_EQ(c.bottom, 156);
    }
    HWND exact = makeList(LBS_NOINTEGRALHEIGHT | WS_BORDER, 0, 200);
    GetClientRect(exact, &c);
    EXPECT_EQ(c.bottom, 164);
    DestroyWindow(lb);
    DeleteObject(font);
}

// ---- scrolling ----

TEST_F(ListBoxTest, ScrollMessagesSelectionAndTheWheelMoveTheTopIndexAndTheScrollBarFollows) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 50);
    const struct {
        WORD code, pos;
        LRESULT topIndex;
    } scrolls[] = {{SB_LINEUP, 0, 0},  {SB_LINEDOWN, 0, 1},     {SB_PAGEDOWN, 0, 11},
                   {SB_PAGEUP, 0, 1},  {SB_THUMBTRACK, 25, 25}, {SB_THUMBPOSITION, 30, 30},
                   {SB_BOTTOM, 0, 40}, {SB_TOP, 0, 0}};
    for (const auto& s : scrolls) {
        // a real list box takes the thumb's place from the scroll bar's tracking position, which
        // only a drag sets; the headless one from the message
        if (!w32drv::kHeadless && (s.code == SB_THUMBTRACK || s.code == SB_THUMBPOSITION)) continue;
        send(lb, WM_VSCROLL, MAKEWPARAM(s.code, s.pos));
        EXPECT_EQ(send(lb, LB_GETTOPINDEX), s.topIndex) << s.code;
    }
    EXPECT_EQ(GetScrollPos(lb, SB_VERT), 0);

    send(lb, LB_SETTOPINDEX, 5);
    RECT r{};
    EXPECT_EQ(send(lb, LB_GETITEMRECT, 7, &r), 1);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.bottom, 48);
    EXPECT_EQ(send(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(10, 40)), MAKELRESULT(7, 0));
    EXPECT_EQ(HIWORD(send(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(10, 500))), 1); // outside

    send(lb, LB_SETCURSEL, 30);
    EXPECT_EQ(w32drv::Inspect(lb).topIndex, 21); // the item becomes the last visible row
    send(lb, LB_SETCURSEL, 5);
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 5);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(lb, SB_VERT, &si);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 49);
    EXPECT_EQ(si.nPage, 10u);
    EXPECT_EQ(si.nPos, 5);
    send(lb, LB_SETTOPINDEX, 45); // as far as the last page allows
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 40);

    send(lb, LB_SETTOPINDEX, 0);
    SetFocus(lb);
    // three lines a notch; a fine wheel: one line for a third of a notch
    const std::pair<int, LRESULT> wheels[] = {{-WHEEL_DELTA, 3}, {-2 * WHEEL_DELTA, 9}, {WHEEL_DELTA / 3, 8}};
    for (auto [delta, topIndex] : wheels) {
        w32drv::Wheel(itemPoint(lb, 0), delta);
        w32drv::Pump();
        EXPECT_EQ(send(lb, LB_GETTOPINDEX), topIndex) << delta;
    }
    EXPECT_EQ(send(lb, LB_GETCURSEL), 5); // the wheel scrolls, it does not select
}

// ---- keyboard ----

TEST_F(ListBoxTest, ArrowPageAndLetterKeysMoveTheSelectionIntoViewAndNotify) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 30);
    EXPECT_EQ(send(lb, WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
    SetFocus(lb);
    Log::clear();
    const struct {
        UINT vk;
        LRESULT sel, topIndex;
    } keys[] = {
        {VK_DOWN, 0, 0},                     // nothing selected: the first key selects the caret item
        {VK_DOWN, 1, 0},  {VK_NEXT, 10, 1},  // a page of ten rows moves nine
        {VK_END, 29, 20}, {VK_DOWN, 29, 20}, // already at the end: no change
        {VK_HOME, 0, 0},  {VK_UP, 0, 0},
    };
    for (const auto& k : keys) {
        EXPECT_EQ(selAfterKey(lb, k.vk), k.sel) << k.vk;
        EXPECT_EQ(send(lb, LB_GETTOPINDEX), k.topIndex) << k.vk;
    }
    // one per change (Wine sends one per key also where the selection stays, which Windows
    // documents for multiple-selection list boxes only)
    if (!underWine()) {
        EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 5);
    }

    HWND letters = makeList(LBS_NOTIFY, 0, 200);
    for (const char* s : {"apple", "Banana", "cherry", "blueberry"})
        add(letters, s);
    SetFocus(letters);
    EXPECT_EQ(selAfterTyping(letters, "b"), 1);
    EXPECT_EQ(selAfterTyping(letters, "B"), 3);
    EXPECT_EQ(selAfterTyping(letters, "b"), 1); // wraps around
    EXPECT_EQ(countOf(codesFrom(top, letters), LBN_SELCHANGE), 3);
}

TEST_F(ListBoxTest, KeyboardInputStyleOffersEachKeyToTheParentFirst) {
    HWND lb = makeList(LBS_WANTKEYBOARDINPUT | WS_BORDER, 5);
    send(lb, LB_SETCURSEL, 2);
    SetFocus(lb);
    EXPECT_EQ(selAfterKey(lb, VK_DOWN), 3); // DefWindowProc's -1: the list box goes on as usual
    const Received* asked = Log::last(top, WM_VKEYTOITEM);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(LOWORD(asked->wParam), VK_DOWN);
    EXPECT_EQ(HIWORD(asked->wParam), 2); // the caret before the key
    EXPECT_EQ(reinterpret_cast<HWND>(asked->lParam), lb);
    w32drv::Click(itemPoint(lb, 1));
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1);
    EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 0); // without LBS_NOTIFY
}

// ---- mouse ----

TEST_F(ListBoxTest, PressSelectsDragFollowsReleaseNotifiesAndDoubleClickSendsDblClk) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER, 8);
    Log::clear();
    w32drv::MouseDown(itemPoint(lb, 1));
    w32drv::Pump();
    EXPECT_EQ(GetFocus(), lb);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1);
    EXPECT_EQ(GetCapture(), lb);
    EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 0);
    w32drv::MouseMove(itemPoint(lb, 4));
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 4);
    w32drv::MouseUp(itemPoint(lb, 4));
    w32drv::Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(codesFrom(top, lb), (Codes{LBN_SETFOCUS, LBN_SELCHANGE})); // one, on release

    w32drv::Wait(1000);
    w32drv::Click(itemPoint(lb, 3));
    w32drv::Click(itemPoint(lb, 3));
    w32drv::Pump();
    Codes codes = codesFrom(top, lb);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ((Codes{codes.end() - 2, codes.end()}), (Codes{LBN_SELCHANGE, LBN_DBLCLK}));
    EXPECT_EQ(send(lb, LB_GETCURSEL), 3);
}

TEST_F(ListBoxTest, MultipleSelectionTogglesAndExtendedSelectionTakesRanges) {
    HWND multi = makeList(LBS_NOTIFY | LBS_MULTIPLESEL | WS_BORDER, 6);
    EXPECT_EQ(send(multi, LB_SETCURSEL, 1), LB_ERR);
    send(multi, LB_SETSEL, TRUE, 4);
    w32drv::Click(itemPoint(multi, 1));
    w32drv::Pump();
    int sel[6] = {};
    EXPECT_EQ(send(multi, LB_GETSELCOUNT), 2);
    ASSERT_EQ(send(multi, LB_GETSELITEMS, 6, sel), 2);
    EXPECT_EQ(sel[0], 1);
    EXPECT_EQ(sel[1], 4);
    w32drv::Click(itemPoint(multi, 4)); // a second click deselects
    w32drv::Pump();
    EXPECT_EQ(send(multi, LB_GETSEL, 4), 0);

    HWND ext = makeList(LBS_NOTIFY | LBS_EXTENDEDSEL | WS_BORDER, 6, 200);
    w32drv::Click(itemPoint(ext, 1));
    w32drv::KeyDown(VK_SHIFT);
    w32drv::Click(itemPoint(ext, 3));
    w32drv::KeyUp(VK_SHIFT);
    w32drv::Pump();
    EXPECT_EQ(send(ext, LB_GETSELCOUNT), 3);
    EXPECT_EQ(send(ext, LB_GETCARETINDEX), 3);
    w32drv::Click(itemPoint(ext, 5)); // a plain click starts over
    w32drv::Pump();
    EXPECT_EQ(send(ext, LB_GETSELCOUNT), 1);
    EXPECT_EQ(send(ext, LB_GETSEL, 5), 1);
}

// ---- painting and notification handlers ----

namespace {
HWND victim;
LRESULT CALLBACK destroyVictimOnSelChange(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COMMAND && HIWORD(w) == LBN_SELCHANGE && reinterpret_cast<HWND>(l) == victim)
        DestroyWindow(victim);
    return testWindowProc(h, m, w, l);
}
} // namespace

TEST_F(ListBoxTest, PaintingAsksTheParentForColoursAndTheParentMayDestroyTheListInANotification) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = destroyVictimOnSelChange;
    wc.lpszClassName = "DestroyingParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "DestroyingParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                  300, nullptr, nullptr, nullptr, nullptr);
    victim = child(parent, "ListBox", "", LBS_NOTIFY, 0, 0, 100, 100, 7);
    add(victim, "a");
    add(victim, "b");
    Log::clear();
    InvalidateRect(victim, nullptr, TRUE);
    UpdateWindow(victim);
    const Received* color = Log::last(parent, WM_CTLCOLORLISTBOX);
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(color->lParam), victim);

    SetFocus(victim);
    w32drv::Key(VK_DOWN);
    w32drv::Key(VK_DOWN);
    w32drv::Pump();
    EXPECT_FALSE(IsWindow(victim));
}

// ---- the pop-up list of an edit field ----

namespace {
HWND completionList;

// An edit field that hands navigation keys and the wheel to its completion list.
LRESULT CALLBACK forwardingField(HWND h, UINT m, WPARAM w, LPARAM l) {
    bool navigation = m == WM_KEYDOWN && (w == VK_UP || w == VK_DOWN || w == VK_PRIOR || w == VK_NEXT);
    if (completionList && (navigation || m == WM_MOUSEWHEEL)) return SendMessageA(completionList, m, w, l);
    return DefWindowProcA(h, m, w, l);
}
} // namespace

TEST_F(ListBoxTest, PopupListFollowsKeysAndWheelForwardedWhileFocusStaysInTheField) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = forwardingField;
    wc.lpszClassName = "ForwardingField";
    RegisterClassA(&wc);
    HWND field = child(top, "ForwardingField", "", WS_BORDER, 10, 10, 200, 20, 5);
    RECT fr{};
    GetWindowRect(field, &fr);
    // the style the UI library's completion list uses: a sorted pop-up with a frame and scroll bar
    completionList = CreateWindowExA(0, "ListBox", "", 0x80600002, fr.left, fr.bottom, 200, 100, field,
                                     nullptr, nullptr, nullptr);
    ASSERT_NE(completionList, nullptr);
    HWND lb = completionList;
    for (int i = 29; i >= 0; --i)
        add(lb, ("word" + std::to_string(10 + i)).c_str());
    RECT c{};
    GetClientRect(lb, &c);
    EXPECT_EQ(c.bottom, 80); // five whole rows inside the dialog frame
    SetFocus(field);
    ShowWindow(lb, SW_SHOWNOACTIVATE);

    for (int i = 0; i < 3; ++i)
        w32drv::Key(VK_DOWN);
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 2);
    EXPECT_EQ(GetFocus(), field);
    EXPECT_EQ(selAfterKey(lb, VK_NEXT), 6);
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 2);
    w32drv::Wheel(itemPoint(lb, 3), -WHEEL_DELTA);
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 5);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 6);

    // Wine without a window manager can stack the window above the pop-up it owns (the click
    // finds the window); on Windows "an owned window is always above its owner"
    if (underWine()) SetWindowPos(lb, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    w32drv::Click(itemPoint(lb, 8));
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 8);
    EXPECT_EQ(itemText(lb, 8), "word18"); // sorted
    completionList = nullptr;
}
