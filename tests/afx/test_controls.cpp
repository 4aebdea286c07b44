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
        ASSERT_TRUE(ShowModeless(dlg));
    }
    static std::string ClassOf(HWND hwnd) {
        char name[64] = "";
        GetClassNameA(hwnd, name, sizeof name);
        return name;
    }
    CDialog dlg;
};

} // namespace

TEST_F(ControlTest, ListControlsAreCreatedAsAskedAndHandOutTheirItemsSorted) {
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VSCROLL | CBS_SORT | CBS_DROPDOWNLIST, CRect(0, 0, 200, 8), &dlg, 1023));
    EXPECT_EQ(ClassOf(combo.m_hWnd), "ComboBox");
    EXPECT_EQ(combo.GetDlgCtrlID(), 1023);
    EXPECT_EQ(combo.GetParent(), &dlg);
    // the scroll bar is the list's: whether the combo box keeps WS_VSCROLL is not documented
    // (Wine takes it off)
    const DWORD requested = CBS_SORT | CBS_DROPDOWNLIST | static_cast<DWORD>(WS_CHILD);
    EXPECT_EQ(combo.GetStyle() & requested, requested);
    for (const char* s : {"pear", "apple", "fig"})
        combo.AddString(s);
    std::string text;
    combo.GetLBText(0, text);
    EXPECT_EQ(text, "apple");
    combo.GetLBText(2, text);
    EXPECT_EQ(text, "pear");
    combo.GetLBText(7, text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(combo.FindStringExact(-1, "fig"), 1);

    // a pop-up list created for the combo is owned by its top-level window
    CListBox list;
    ASSERT_TRUE(list.CreateEx(0, "ListBox", nullptr, WS_POPUP | WS_BORDER | LBS_SORT, CRect(0, 0, 10, 10),
                              &combo, 0));
    EXPECT_EQ(ClassOf(list.m_hWnd), "ListBox");
    EXPECT_EQ(GetWindow(list.m_hWnd, GW_OWNER), dlg.m_hWnd);
    for (const char* s : {"b", "a", "c"})
        list.AddString(s);
    list.GetText(0, text);
    EXPECT_EQ(text, "a");
    list.GetText(5, text);
    EXPECT_EQ(text, "");
}

TEST_F(ControlTest, EditButtonAndStaticOperationsWorkOnTheirControls) {
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(kIdEdit, &dlg));
    edit.SetWindowText(std::string("hello world"));
    edit.SetSel(2, 5);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 5);
    EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(2, 5)));
    edit.ReplaceSel("LLO");
    std::string text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "heLLO world");
    EXPECT_EQ(LOWORD(edit.CharFromPos(edit.PosFromChar(3))), 3);

    CButton check;
    ASSERT_TRUE(
        check.Create("Show IDs", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 100, 110, 120), &dlg, 18034));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(18034), static_cast<UINT>(BST_CHECKED));
    w32drv::ClickWindow(check.m_hWnd);
    w32drv::Pump();
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);

    CStatic label;
    ASSERT_TRUE(label.Create("Name:", WS_VISIBLE | SS_LEFT, CRect(10, 130, 110, 145), &dlg));
    EXPECT_EQ(ClassOf(label.m_hWnd), "Static");
    EXPECT_EQ(TextOf(label.m_hWnd), "Name:");
    EXPECT_EQ(label.GetDlgCtrlID(), 0xffff);
}

TEST_F(ControlTest, ATooltipShowsTheToolTextAfterARelayedMoveAndTheInitialDelay) {
    CWnd tree;
    // below the dialog's controls, so that the window under the cursor is the tool's
    ASSERT_TRUE(tree.Create(nullptr, "", WS_VISIBLE | WS_BORDER, CRect(8, 100, 100, 140), &dlg, 19157));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&dlg));
    EXPECT_EQ(GetWindow(tip.m_hWnd, GW_OWNER), dlg.m_hWnd);
    tip.Activate(TRUE);
    tip.SetDelayTime(600);
    ASSERT_TRUE(tip.AddTool(&tree, "ToolTip"));
    EXPECT_EQ(tip.GetToolCount(), 1);
    tip.UpdateTipText(std::string("Function type: Property"), &tree);
    std::string text;
    tip.GetText(text, &tree);
    EXPECT_EQ(text, "Function type: Property");

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
    tip.GetText(text, &tree, 7);
    EXPECT_EQ(text, "corner");
    EXPECT_FALSE(tip.AddTool(&tree, "no ID", area, 0));
    tip.DelTool(&tree, 7);
    EXPECT_EQ(tip.GetToolCount(), 1);
    tip.DelTool(&tree);
    EXPECT_EQ(tip.GetToolCount(), 0);
}
