// The LISTBOX control: items and sorting, error results, selection by program, keyboard and
// mouse with their notifications, scrolling, and the pop-up list driven from an edit field.
#include "fixture.h"

#include <string>
#include <vector>

namespace {

// WM_COMMAND notification codes a parent received from one control, in order.
std::vector<WORD> codesFrom(HWND parent, HWND control) {
    std::vector<WORD> out;
    for (const Received& r : Log::all())
        if (r.hwnd == parent && r.msg == WM_COMMAND && reinterpret_cast<HWND>(r.lParam) == control)
            out.push_back(HIWORD(r.wParam));
    return out;
}

int countOf(const std::vector<WORD>& codes, WORD code) {
    int n = 0;
    for (WORD c : codes)
        n += c == code;
    return n;
}

LRESULT send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(hwnd, msg, wParam, lParam);
}

LRESULT add(HWND lb, const char* text) {
    return send(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

std::string itemText(HWND lb, int index) {
    char buf[256] = {};
    send(lb, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf));
    return buf;
}

// Screen point at the middle of an item.
POINT itemPoint(HWND lb, int index) {
    RECT r{};
    send(lb, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(lb, &p);
    return p;
}

class ListBoxTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        top = topLevel();
    }
    // Ten rows of the system font (16 px) inside a one-pixel border.
    HWND makeList(DWORD style = LBS_NOTIFY | WS_BORDER | WS_VSCROLL, int count = 0) {
        HWND lb = child(top, "ListBox", "", style, 10, 10, 150, 166, 100);
        for (int i = 0; i < count; ++i)
            add(lb, ("item " + std::to_string(100 + i)).c_str());
        return lb;
    }
    HWND top = nullptr;
};

} // namespace

// ---- items ----

TEST_F(ListBoxTest, SortedListOrdersCaseInsensitivelyWithSymbolsAndDigitsFirst) {
    HWND lb = makeList(LBS_SORT | WS_BORDER);
    EXPECT_EQ(add(lb, "pear"), 0);
    EXPECT_EQ(add(lb, "Banana"), 0);
    EXPECT_EQ(add(lb, "apple"), 0);
    EXPECT_EQ(add(lb, "Cherry"), 2);
    EXPECT_EQ(add(lb, "10 plums"), 0);
    EXPECT_EQ(add(lb, "_draft"), 0);
    EXPECT_EQ(add(lb, "Apricot"), 3);
    std::vector<std::string> expected{"_draft", "10 plums", "apple", "Apricot", "Banana", "Cherry", "pear"};
    EXPECT_EQ(w32drv::Inspect(lb).items, expected);
    // LB_INSERTSTRING puts the item where it is told, even in a sorted list
    EXPECT_EQ(send(lb, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zzz")), 0);
    EXPECT_EQ(itemText(lb, 0), "zzz");
}

TEST_F(ListBoxTest, UnsortedListKeepsInsertionOrderAndInsertsAtIndex) {
    HWND lb = makeList();
    add(lb, "one");
    add(lb, "three");
    EXPECT_EQ(send(lb, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("two")), 1);
    EXPECT_EQ(send(lb, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("four")), 3);
    std::vector<std::string> expected{"one", "two", "three", "four"};
    EXPECT_EQ(w32drv::Inspect(lb).items, expected);
    EXPECT_EQ(send(lb, LB_GETTEXTLEN, 2), 5);
    EXPECT_EQ(send(lb, LB_DELETESTRING, 0), 3);
    EXPECT_EQ(itemText(lb, 0), "two");
    send(lb, LB_RESETCONTENT);
    EXPECT_EQ(send(lb, LB_GETCOUNT), 0);
}

TEST_F(ListBoxTest, ItemDataStaysWithItsItemThroughSortedInsertsAndDeletes) {
    HWND lb = makeList(LBS_SORT);
    EXPECT_EQ(send(lb, LB_SETITEMDATA, static_cast<WPARAM>(add(lb, "m")), 13), TRUE);
    send(lb, LB_SETITEMDATA, static_cast<WPARAM>(add(lb, "z")), 26);
    send(lb, LB_SETITEMDATA, static_cast<WPARAM>(add(lb, "a")), 1);
    EXPECT_EQ(send(lb, LB_GETITEMDATA, 0), 1);
    EXPECT_EQ(send(lb, LB_GETITEMDATA, 1), 13);
    send(lb, LB_DELETESTRING, 0);
    EXPECT_EQ(send(lb, LB_GETITEMDATA, 0), 13);
    EXPECT_EQ(send(lb, LB_GETITEMDATA, 1), 26);
}

TEST_F(ListBoxTest, MisuseAnswersLbErrWithoutChangingAnything) {
    HWND lb = makeList(LBS_NOTIFY, 3);
    char buf[64];
    EXPECT_EQ(send(lb, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(buf)), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETTEXT, 0, 0), LB_ERR); // no buffer
    EXPECT_EQ(send(lb, LB_GETTEXTLEN, static_cast<WPARAM>(-1)), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETITEMDATA, 7), LB_ERR);
    EXPECT_EQ(send(lb, LB_SETITEMDATA, 7, 1), LB_ERR);
    EXPECT_EQ(send(lb, LB_DELETESTRING, 3), LB_ERR);
    EXPECT_EQ(send(lb, LB_INSERTSTRING, 5, reinterpret_cast<LPARAM>("x")), LB_ERR);
    EXPECT_EQ(send(lb, LB_SETTOPINDEX, 3), LB_ERR);
    EXPECT_EQ(send(lb, LB_SETCARETINDEX, 3), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETITEMRECT, 0, 0), LB_ERR);
    EXPECT_EQ(send(lb, LB_SETITEMHEIGHT, 0, 256), LB_ERR);
    EXPECT_EQ(send(lb, LB_FINDSTRING, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(send(lb, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("none")), LB_ERR);
    // selection: out of range fails and keeps it; -1 clears it yet answers LB_ERR
    EXPECT_EQ(send(lb, LB_SETCURSEL, 1), 1);
    EXPECT_EQ(send(lb, LB_SETCURSEL, 3), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1);
    EXPECT_EQ(send(lb, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("none")), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1);
    EXPECT_EQ(send(lb, LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCURSEL), LB_ERR);
    // multiple-selection messages on a single-selection list box
    int items[4];
    EXPECT_EQ(send(lb, LB_SETSEL, TRUE, 0), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETSELCOUNT), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(items)), LB_ERR);
    EXPECT_EQ(send(lb, LB_GETCOUNT), 3);
}

TEST_F(ListBoxTest, FindStringMatchesPrefixIgnoringCaseAndWrapsAfterTheStart) {
    HWND lb = makeList();
    for (const char* s : {"Alpha", "beta", "alphabet", "Gamma"})
        add(lb, s);
    auto find = [&](UINT msg, int start, const char* s) {
        return send(lb, msg, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s));
    };
    EXPECT_EQ(find(LB_FINDSTRING, -1, "ALPHA"), 0);
    EXPECT_EQ(find(LB_FINDSTRING, 0, "alpha"), 2); // searching starts after the given item
    EXPECT_EQ(find(LB_FINDSTRING, 2, "alpha"), 0); // and wraps around
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, "ALPHABET"), 2);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, "alph"), LB_ERR);
    EXPECT_EQ(find(LB_SELECTSTRING, -1, "g"), 3);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 3);
}

TEST_F(ListBoxTest, DeletingAndInsertingKeepsTheSelectedItemSelected) {
    HWND lb = makeList(LBS_NOTIFY, 5);
    send(lb, LB_SETCURSEL, 2);
    send(lb, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first"));
    EXPECT_EQ(send(lb, LB_GETCURSEL), 3);
    send(lb, LB_DELETESTRING, 1);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 2);
    EXPECT_EQ(itemText(lb, 2), "item 102");
    send(lb, LB_DELETESTRING, 2); // the selected item itself
    EXPECT_EQ(send(lb, LB_GETCURSEL), LB_ERR);
}

TEST_F(ListBoxTest, ItemHeightFollowsTheFontAndTheHeightShowsWholeRows) {
    HWND lb = makeList(WS_BORDER);
    EXPECT_EQ(send(lb, LB_GETITEMHEIGHT), 16); // system font
    RECT c{};
    GetClientRect(lb, &c);
    EXPECT_EQ(c.bottom, 160); // 164 asked for, no partial row
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    send(lb, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(send(lb, WM_GETFONT), reinterpret_cast<LRESULT>(font));
    EXPECT_EQ(send(lb, LB_GETITEMHEIGHT), 13);
    GetClientRect(lb, &c);
    EXPECT_EQ(c.bottom, 156); // twelve rows of the new font within the height first asked for
    EXPECT_EQ(send(lb, LB_SETITEMHEIGHT, 0, 20), 0);
    EXPECT_EQ(send(lb, LB_GETITEMHEIGHT), 20);
    HWND exact = child(top, "ListBox", "", LBS_NOINTEGRALHEIGHT | WS_BORDER, 200, 10, 100, 166, 101);
    GetClientRect(exact, &c);
    EXPECT_EQ(c.bottom, 164);
    DestroyWindow(lb);
    DeleteObject(font);
}

TEST_F(ListBoxTest, ItemRectAndItemFromPointMapRowsToItems) {
    HWND lb = makeList(WS_BORDER, 20);
    send(lb, LB_SETTOPINDEX, 5);
    RECT r{};
    EXPECT_EQ(send(lb, LB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.bottom, 48);
    EXPECT_EQ(send(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(10, 40)), MAKELRESULT(7, 0));
    EXPECT_EQ(HIWORD(send(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(10, 500))), 1); // outside
}

// ---- scrolling ----

TEST_F(ListBoxTest, SetCurSelScrollsTheItemIntoViewAndTheScrollBarFollows) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 50);
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
}

TEST_F(ListBoxTest, VerticalScrollMessagesMoveTheTopIndex) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 50);
    auto scroll = [&](WORD code, WORD pos = 0) {
        send(lb, WM_VSCROLL, MAKEWPARAM(code, pos));
        return send(lb, LB_GETTOPINDEX);
    };
    EXPECT_EQ(scroll(SB_LINEUP), 0);
    EXPECT_EQ(scroll(SB_LINEDOWN), 1);
    EXPECT_EQ(scroll(SB_PAGEDOWN), 11);
    EXPECT_EQ(scroll(SB_PAGEUP), 1);
    EXPECT_EQ(scroll(SB_THUMBTRACK, 25), 25);
    EXPECT_EQ(scroll(SB_THUMBPOSITION, 30), 30);
    EXPECT_EQ(scroll(SB_BOTTOM), 40);
    EXPECT_EQ(scroll(SB_TOP), 0);
    EXPECT_EQ(GetScrollPos(lb, SB_VERT), 0);
}

TEST_F(ListBoxTest, WheelScrollsThreeLinesPerNotch) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 50);
    SetFocus(lb);
    POINT over = itemPoint(lb, 0);
    w32drv::Wheel(over, -WHEEL_DELTA);
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 3);
    w32drv::Wheel(over, -2 * WHEEL_DELTA);
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 9);
    w32drv::Wheel(over, WHEEL_DELTA / 3); // a fine wheel: one line for a third of a notch
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 8);
    EXPECT_EQ(send(lb, LB_GETCURSEL), LB_ERR); // the wheel scrolls, it does not select
}

// ---- keyboard ----

TEST_F(ListBoxTest, ArrowAndPageKeysMoveTheSelectionIntoViewAndNotify) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER | WS_VSCROLL, 30);
    EXPECT_EQ(send(lb, WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
    SetFocus(lb);
    Log::clear();
    auto press = [&](UINT vk) {
        w32drv::Key(vk);
        w32drv::Pump();
        return send(lb, LB_GETCURSEL);
    };
    EXPECT_EQ(press(VK_DOWN), 0); // nothing selected: the first key selects the caret item
    EXPECT_EQ(press(VK_DOWN), 1);
    EXPECT_EQ(press(VK_NEXT), 10); // a page of ten rows moves nine
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 1);
    EXPECT_EQ(press(VK_END), 29);
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 20);
    EXPECT_EQ(press(VK_DOWN), 29); // already at the end: no change
    EXPECT_EQ(press(VK_HOME), 0);
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 0);
    EXPECT_EQ(press(VK_UP), 0);
    EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 5); // one per change
}

TEST_F(ListBoxTest, KeyboardInputStyleOffersEachKeyToTheParentFirst) {
    HWND lb = makeList(LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | WS_BORDER, 5);
    send(lb, LB_SETCURSEL, 2);
    SetFocus(lb);
    w32drv::Key(VK_DOWN);
    w32drv::Pump();
    const Received* asked = Log::last(top, WM_VKEYTOITEM);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(LOWORD(asked->wParam), VK_DOWN);
    EXPECT_EQ(HIWORD(asked->wParam), 2); // the caret before the key
    EXPECT_EQ(reinterpret_cast<HWND>(asked->lParam), lb);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 3); // DefWindowProc's -1: the list box goes on as usual
}

TEST_F(ListBoxTest, TypedLetterSelectsTheNextItemStartingWithIt) {
    HWND lb = makeList();
    for (const char* s : {"apple", "Banana", "cherry", "blueberry"})
        add(lb, s);
    SetFocus(lb);
    w32drv::Type("b");
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1);
    w32drv::Type("B");
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 3);
    w32drv::Type("b");
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 1); // wraps around
    EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 3);
}

// ---- mouse ----

TEST_F(ListBoxTest, ClickTakesFocusSelectsAndNotifiesWhenTheButtonIsReleased) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER, 5);
    Log::clear();
    w32drv::MouseDown(itemPoint(lb, 2));
    w32drv::Pump();
    EXPECT_EQ(GetFocus(), lb);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 2);
    EXPECT_EQ(GetCapture(), lb);
    EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 0);
    w32drv::MouseUp(itemPoint(lb, 2));
    w32drv::Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    std::vector<WORD> expected{LBN_SETFOCUS, LBN_SELCHANGE};
    EXPECT_EQ(codesFrom(top, lb), expected);
}

TEST_F(ListBoxTest, DraggingWithTheButtonDownMovesTheSelection) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER, 8);
    w32drv::MouseDown(itemPoint(lb, 1));
    w32drv::MouseMove(itemPoint(lb, 4));
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 4);
    w32drv::MouseUp(itemPoint(lb, 4));
    w32drv::Pump();
    EXPECT_EQ(countOf(codesFrom(top, lb), LBN_SELCHANGE), 1);
}

TEST_F(ListBoxTest, DoubleClickSendsDblClkAfterTheSelectionChange) {
    HWND lb = makeList(LBS_NOTIFY | WS_BORDER, 5);
    w32drv::Click(itemPoint(lb, 3));
    w32drv::Click(itemPoint(lb, 3));
    w32drv::Pump();
    std::vector<WORD> codes = codesFrom(top, lb);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), LBN_DBLCLK);
    EXPECT_EQ(codes[codes.size() - 2], LBN_SELCHANGE);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 3);
}

TEST_F(ListBoxTest, SelectionChangesByProgramOrWithoutLbsNotifyAreNotNotified) {
    HWND quiet = makeList(WS_BORDER, 5);
    w32drv::Click(itemPoint(quiet, 1));
    w32drv::Key(VK_DOWN);
    w32drv::Pump();
    EXPECT_EQ(send(quiet, LB_GETCURSEL), 2);
    EXPECT_EQ(countOf(codesFrom(top, quiet), LBN_SELCHANGE), 0);
    HWND loud = makeList(LBS_NOTIFY, 5);
    send(loud, LB_SETCURSEL, 3);
    send(loud, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("item 101"));
    EXPECT_EQ(send(loud, LB_GETCURSEL), 1);
    EXPECT_EQ(countOf(codesFrom(top, loud), LBN_SELCHANGE), 0);
}

TEST_F(ListBoxTest, MultipleSelectionTogglesAndExtendedSelectionTakesRanges) {
    HWND multi = makeList(LBS_NOTIFY | LBS_MULTIPLESEL | WS_BORDER, 6);
    EXPECT_EQ(send(multi, LB_SETCURSEL, 1), LB_ERR);
    send(multi, LB_SETSEL, TRUE, 4);
    w32drv::Click(itemPoint(multi, 1));
    w32drv::Pump();
    int sel[6] = {};
    EXPECT_EQ(send(multi, LB_GETSELCOUNT), 2);
    ASSERT_EQ(send(multi, LB_GETSELITEMS, 6, reinterpret_cast<LPARAM>(sel)), 2);
    EXPECT_EQ(sel[0], 1);
    EXPECT_EQ(sel[1], 4);
    w32drv::Click(itemPoint(multi, 4)); // a second click deselects
    w32drv::Pump();
    EXPECT_EQ(send(multi, LB_GETSEL, 4), 0);

    HWND ext = child(top, "ListBox", "", LBS_NOTIFY | LBS_EXTENDEDSEL | WS_BORDER, 200, 10, 150, 166, 101);
    for (int i = 0; i < 6; ++i)
        add(ext, "x");
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

// ---- painting ----

TEST_F(ListBoxTest, PaintingAsksTheParentForListBoxColours) {
    HWND lb = makeList(LBS_NOTIFY, 3);
    Log::clear();
    InvalidateRect(lb, nullptr, TRUE);
    UpdateWindow(lb);
    const Received* color = Log::last(top, WM_CTLCOLORLISTBOX);
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(color->lParam), lb);
}

TEST_F(ListBoxTest, ParentMayDestroyTheListWhileHandlingItsNotification) {
    static HWND victim;
    struct Parent {
        static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
            if (m == WM_COMMAND && HIWORD(w) == LBN_SELCHANGE && reinterpret_cast<HWND>(l) == victim)
                DestroyWindow(victim);
            return DefWindowProcA(h, m, w, l);
        }
    };
    WNDCLASSA wc{};
    wc.lpfnWndProc = Parent::proc;
    wc.lpszClassName = "DestroyingParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "DestroyingParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                  300, nullptr, nullptr, nullptr, nullptr);
    victim = child(parent, "ListBox", "", LBS_NOTIFY, 0, 0, 100, 100, 7);
    add(victim, "a");
    add(victim, "b");
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
    completionList = CreateWindowExA(0, "ListBox", "", 0x80600002, fr.left, fr.bottom, 200, 100, field,
                                     nullptr, nullptr, nullptr);
    ASSERT_NE(completionList, nullptr);
    HWND lb = completionList;
    EXPECT_EQ(GetWindow(lb, GW_OWNER), top); // the parent's top-level window owns it
    for (int i = 29; i >= 0; --i)
        add(lb, ("word" + std::to_string(10 + i)).c_str());
    EXPECT_EQ(itemText(lb, 0), "word10"); // LBS_SORT
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
    w32drv::Key(VK_NEXT);
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 6);
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 2);
    w32drv::Wheel(itemPoint(lb, 3), -WHEEL_DELTA);
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETTOPINDEX), 5);
    EXPECT_EQ(send(lb, LB_GETCURSEL), 6);

    w32drv::Click(itemPoint(lb, 8));
    w32drv::Pump();
    EXPECT_EQ(send(lb, LB_GETCURSEL), 8);
    EXPECT_EQ(itemText(lb, 8), "word18");
    completionList = nullptr;
}
