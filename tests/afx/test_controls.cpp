// Control wrappers: creation of predefined controls with a style, rectangle, parent and ID, the
// operations the system uses on them, and the tooltip control showing a tip after a relayed
// mouse move and the initial delay.
#include <afxcmn.h>

#include "fixture.h"

namespace {

class ControlTest : public AfxTest {
protected:
    void SetUp() override {
        AfxTest::SetUp();
        ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
        dlg.ShowWindow(SW_SHOW);
        w32drv::Pump();
    }
    static std::string ClassOf(HWND hwnd) {
        char name[64] = "";
        GetClassNameA(hwnd, name, sizeof name);
        return name;
    }
    DialogTemplate tmpl = InputDialogTemplate();
    CDialog dlg;
};

} // namespace

TEST_F(ControlTest, AComboBoxCreatedWithStyleRectangleParentAndIdTakesItsParentsFont) {
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_DROPDOWNLIST, CRect(0, 0, 200, 8), &dlg, 1023));
    EXPECT_EQ(ClassOf(combo.m_hWnd), "ComboBox");
    EXPECT_EQ(combo.GetDlgCtrlID(), 1023);
    EXPECT_EQ(combo.GetParent(), &dlg);
    const DWORD requested = WS_VSCROLL | WS_TABSTOP | CBS_SORT | CBS_DROPDOWNLIST | static_cast<DWORD>(WS_CHILD);
    EXPECT_EQ(combo.GetStyle() & requested, requested);
    EXPECT_FALSE(combo.IsWindowVisible());
    EXPECT_EQ(CWnd::FromHandlePermanent(combo.m_hWnd), &combo);

    CFont* dialogFont = dlg.GetFont();
    ASSERT_NE(dialogFont, nullptr);
    combo.SetFont(dialogFont);
    EXPECT_EQ(combo.GetFont()->m_hObject, dialogFont->m_hObject);

    EXPECT_EQ(combo.GetCount(), 0);
    combo.AddString("pear");
    combo.AddString("apple");
    combo.AddString("fig");
    ASSERT_EQ(combo.GetCount(), 3);
    std::string text;
    combo.GetLBText(0, text);
    EXPECT_EQ(text, "apple"); // sorted
    combo.GetLBText(2, text);
    EXPECT_EQ(text, "pear");
    combo.GetLBText(7, text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(combo.FindStringExact(-1, "fig"), 1);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetCurSel(1);
    EXPECT_EQ(combo.GetCurSel(), 1);
    combo.SetItemData(1, 0xFFFF);
    EXPECT_EQ(combo.GetItemData(1), 0xFFFFu);
    combo.ShowWindow(SW_SHOW);
    combo.ShowDropDown(TRUE);
    EXPECT_TRUE(combo.GetDroppedState());
    combo.ShowDropDown(FALSE);
    EXPECT_FALSE(combo.GetDroppedState());
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
}

TEST_F(ControlTest, APopUpListCreatedWithCreateExIsOwnedByTheTopLevelWindow) {
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VSCROLL | CBS_DROPDOWNLIST, CRect(0, 0, 200, 8), &dlg, 1023));
    CListBox list;
    ASSERT_TRUE(list.CreateEx(0, "ListBox", nullptr, 0x80600002, CRect(0, 0, 10, 10), &combo, 0));
    EXPECT_EQ(ClassOf(list.m_hWnd), "ListBox");
    EXPECT_EQ(GetWindow(list.m_hWnd, GW_OWNER), dlg.m_hWnd);
    EXPECT_FALSE(list.IsWindowVisible());
    list.AddString("b");
    list.AddString("a");
    list.AddString("c");
    std::string text;
    list.GetText(0, text);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(list.GetTextLen(2), 1);
    EXPECT_EQ(list.FindStringExact(-1, "c"), 2);
    EXPECT_EQ(list.SetCurSel(1), 1);
    EXPECT_EQ(list.GetCurSel(), 1);
    list.SetItemData(2, 77);
    EXPECT_EQ(list.GetItemData(2), 77u);
    list.DeleteString(0);
    EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(ControlTest, EditOperationsWorkOnTheSubclassedControl) {
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(kIdEdit, &dlg));
    edit.SetWindowText(std::string("hello world"));
    edit.SetSel(0, 5);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 5);
    EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(0, 5)));
    edit.ReplaceSel("HELLO");
    std::string text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "HELLO world");
    EXPECT_EQ(edit.GetWindowTextLength(), 11);
    CPoint first = edit.PosFromChar(0);
    CPoint fourth = edit.PosFromChar(3);
    EXPECT_GT(fourth.x, first.x);
    EXPECT_EQ(LOWORD(edit.CharFromPos(fourth)), 3);
    edit.LimitText(3);
    EXPECT_EQ(edit.GetLimitText(), 3u);
    edit.SetReadOnly();
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
    edit.SetReadOnly(FALSE);
    EXPECT_FALSE(edit.GetStyle() & ES_READONLY);
}

TEST_F(ControlTest, CreatedButtonsAndStaticsBehaveAsTheirControls) {
    CButton check;
    ASSERT_TRUE(check.Create("Show IDs", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(10, 100, 110, 120),
                             &dlg, 18034));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(18034), static_cast<UINT>(BST_CHECKED));
    w32drv::ClickWindow(check.m_hWnd);
    w32drv::Pump();
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);

    CStatic label;
    ASSERT_TRUE(label.Create("Name:", WS_VISIBLE | SS_LEFT, CRect(10, 130, 110, 145), &dlg));
    std::string text;
    label.GetWindowText(text);
    EXPECT_EQ(text, "Name:");
    EXPECT_EQ(label.GetDlgCtrlID(), 0xffff);
}

TEST_F(ControlTest, ATooltipShowsTheToolTextAfterARelayedMoveAndTheInitialDelay) {
    CWnd tree;
    ASSERT_TRUE(tree.Create(nullptr, "", WS_VISIBLE | WS_BORDER, CRect(8, 60, 100, 100), &dlg, 19157));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&dlg));
    EXPECT_EQ(GetWindow(tip.m_hWnd, GW_OWNER), dlg.m_hWnd);
    tip.Activate(TRUE);
    tip.SetDelayTime(600);
    tip.SetDelayTime(TTDT_RESHOW, 2000);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 600);
    EXPECT_EQ(tip.GetDelayTime(TTDT_RESHOW), 2000);
    ASSERT_TRUE(tip.AddTool(&tree, "ToolTip"));
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(tip.SetMaxTipWidth(300), -1);
    EXPECT_EQ(tip.GetMaxTipWidth(), 300);
    tip.UpdateTipText(std::string("Function type: Property"), &tree);
    std::string text;
    tip.GetText(text, &tree);
    EXPECT_EQ(text, "Function type: Property");
    tip.SetTipBkColor(RGB(255, 255, 225));
    EXPECT_EQ(tip.GetTipBkColor(), RGB(255, 255, 225));

    POINT screen{20, 20};
    tree.ClientToScreen(&screen);
    SetCursorPos(screen.x, screen.y);
    MSG move{tree.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20), GetTickCount(), screen};
    tip.RelayEvent(&move);
    w32drv::Wait(500);
    w32drv::Pump();
    EXPECT_FALSE(tip.IsWindowVisible());
    w32drv::Wait(150);
    w32drv::Pump();
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(TextOf(tip.m_hWnd), "Function type: Property");

    // a tool of a rectangle with its own ID, and removing tools
    CRect area(0, 0, 10, 10);
    EXPECT_TRUE(tip.AddTool(&tree, "corner", area, 7));
    EXPECT_EQ(tip.GetToolCount(), 2);
    EXPECT_FALSE(tip.AddTool(&tree, "no ID", area, 0));
    tip.DelTool(&tree, 7);
    tip.DelTool(&tree);
    EXPECT_EQ(tip.GetToolCount(), 0);
}
