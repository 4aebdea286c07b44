// The combo box with its pop-up list: placement under or above the anchor, forwarded keys,
// the click report, and hiding when the focus or the application goes elsewhere.
#include "controls/ComboListBox.h"

#include "support/WindowSystem.h"

#include <w32drv.h>

#include <gtest/gtest.h>

namespace {

// A frame that, like a dialog, gives the focus back to the child that had it when it is
// activated again, and has a font of its own.
HWND savedFocus = nullptr;
LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    if (msg == WM_ACTIVATE) {
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (IsChild(hwnd, GetFocus())) savedFocus = GetFocus();
        } else if (savedFocus && IsWindow(savedFocus)) {
            SetFocus(savedFocus);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Owner : public CWnd {
public:
    std::vector<UINT> seen;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == KCOMBOLIST_CLICKED) seen.push_back(pMsg->message);
        return CWnd::PreTranslateMessage(pMsg);
    }
};

class ComboListTest : public ::testing::Test {
protected:
    void SetUp() override {
        w32drv::Reset();
        WNDCLASSA wc{};
        wc.lpfnWndProc = frameProc;
        wc.lpszClassName = "Frame";
        RegisterClassA(&wc);
        ASSERT_TRUE(frame.CreateEx(0, "Frame", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 400, 300, nullptr, nullptr));
        field.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 300, 32), &frame, 1000);
        ASSERT_TRUE(combo.Create(WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_DROPDOWNLIST, CRect(10, 32, 210, 40), &frame, 1023));
        for (const char* s : {"Volume (0x400)", "Bass (0x202)", "Mute (0x401)", "Treble (0x203)", "Balance (0x201)",
                              "Fader (0x204)", "Loudness (0x205)", "Equalizer (0x206)", "Source (0x207)",
                              "Zone (0x208)", "Delay (0x209)"})
            combo.AddString(s);
        field.SetFocus();
    }
    void TearDown() override {
        combo.DestroyWindow();
        frame.DestroyWindow();
        w32drv::Reset();
    }
    // Wine without a window manager can stack the frame above the list it owns (a click finds
    // the frame); on Windows "an owned window is always above its owner"
    void keepListOnTop() {
        pump();
        if (underWine()) ::SetWindowPos(combo.list.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The framework's loop: pre-translation, then dispatch.
    void pump() {
        while (w32drv::PendingInput() || PeekMessageA(&msg_, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!PeekMessageA(&msg_, nullptr, 0, 0, PM_REMOVE)) {
                WaitMessage();
                continue;
            }
            if (msg_.message == WM_QUIT) break;
            if (!CWnd::WalkPreTranslateTree(frame.m_hWnd, &msg_)) {
                TranslateMessage(&msg_);
                DispatchMessageA(&msg_);
            }
        }
    }

    Owner frame;
    CEdit field;
    KComboListBox combo;
    MSG msg_{};
};

} // namespace

TEST_F(ComboListTest, ItemsAreSortedInTheParentsFontAndNothingIsSelectedAtFirst) {
    std::string t;
    combo.GetText(0, t);
    EXPECT_EQ(t, "Balance (0x201)");
    EXPECT_EQ(combo.GetCount(), 11);
    EXPECT_EQ(combo.GetCurSel(), -1);
    combo.GetSelectedText(t);
    EXPECT_EQ(t, "");
    EXPECT_FALSE(combo.IsDropDownVisible());
    combo.SetCurSel(2);
    combo.GetSelectedText(t);
    EXPECT_EQ(t, "Delay (0x209)");
    combo.GetText(11, t); // past the end: no text, not the last one read
    EXPECT_EQ(t, "");
    EXPECT_EQ(combo.list.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
}

TEST_F(ComboListTest, AComboBoxThatCouldNotBeCreatedHasNoList) {
    KComboListBox orphan; // a child window needs a parent
    EXPECT_FALSE(orphan.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 100, 20), nullptr, 1));
    EXPECT_EQ(orphan.AddString("Volume"), LB_ERR);
    EXPECT_EQ(orphan.GetCount(), 0);
    EXPECT_EQ(orphan.SetCurSel(0), LB_ERR);
    EXPECT_EQ(orphan.GetCurSel(), LB_ERR);
    EXPECT_FALSE(orphan.ShowDropDown(true));
    EXPECT_FALSE(orphan.IsDropDownVisible());
}

TEST_F(ComboListTest, TheListOpensUnderTheAnchorOrAboveItNearTheScreensBottom) {
    combo.ShowDropDown(true);
    ASSERT_TRUE(combo.IsDropDownVisible());
    EXPECT_EQ(CWnd::GetFocus()->m_hWnd, field.m_hWnd); // the focus stays in the field
    CRect anchor, list;
    combo.GetWindowRect(&anchor);
    combo.list.GetWindowRect(&list);
    EXPECT_EQ(list.left, anchor.left);
    EXPECT_EQ(list.top, anchor.bottom);
    EXPECT_EQ(list.Width(), 200);
    EXPECT_LE(list.Height(), 100);
    combo.ShowDropDown(false);
    frame.MoveWindow(100, GetSystemMetrics(SM_CYSCREEN) - 80, 400, 300);
    combo.ShowDropDown(true);
    combo.GetWindowRect(&anchor);
    combo.list.GetWindowRect(&list);
    EXPECT_LE(list.bottom, anchor.top);
    EXPECT_GE(list.top, anchor.top - 100);
    EXPECT_EQ(list.Width(), 200);
}

TEST_F(ComboListTest, KeysPostedToTheComboBoxMoveTheListsSelection) {
    combo.ShowDropDown(true);
    combo.SetCurSel(0);
    combo.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    combo.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    pump();
    EXPECT_EQ(combo.GetCurSel(), 2);
    combo.PostMessage(WM_KEYDOWN, VK_NEXT, 0);
    pump();
    EXPECT_GT(combo.GetCurSel(), 3);
    EXPECT_EQ(CWnd::GetFocus()->m_hWnd, field.m_hWnd);
}

TEST_F(ComboListTest, AClickSelectsAndIsReportedAndTheListHidesWhenTheFocusGoesElsewhere) {
    combo.ShowDropDown(true);
    RECT item;
    combo.list.GetItemRect(3, &item);
    keepListOnTop();
    w32drv::ClickClient(combo.list.m_hWnd, item.left + 5, item.top + 2);
    pump();
    ASSERT_EQ(frame.seen.size(), 1u);
    EXPECT_EQ(combo.GetCurSel(), 3); // in place when the report arrives
    // the list took the focus with the click and keeps it: the field had it before
    ASSERT_TRUE(combo.IsDropDownVisible());
    EXPECT_EQ(combo.list.previousFocus->m_hWnd, field.m_hWnd);
    HWND elsewhere = CreateWindowExA(0, "Edit", "", WS_POPUP | WS_VISIBLE, 700, 100, 100, 20, nullptr, nullptr, nullptr, nullptr);
    SetFocus(elsewhere); // neither the list nor the field it came from
    EXPECT_FALSE(combo.IsDropDownVisible());
    // a scroll message that still reaches the list does not pull the focus back to the old field
    combo.list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetFocus(), elsewhere);
}

TEST_F(ComboListTest, ScrollingGivesTheFocusBackToTheFieldAndAnotherApplicationHidesTheList) {
    combo.ShowDropDown(true);
    CRect list;
    combo.list.GetWindowRect(&list);
    keepListOnTop();
    w32drv::Click(POINT{list.right - 6, list.bottom - 8}); // the scroll bar's down arrow
    pump();
    EXPECT_EQ(combo.list.GetTopIndex(), 1);
    ASSERT_EQ(GetFocus(), field.m_hWnd);
    EXPECT_TRUE(combo.IsDropDownVisible());
    w32drv::SwitchAway();
    pump();
    EXPECT_FALSE(combo.IsDropDownVisible());
    combo.list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_NE(GetFocus(), field.m_hWnd);
}
