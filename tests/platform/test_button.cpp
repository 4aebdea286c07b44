// Buttons and statics: clicks by mouse and keyboard, check boxes, radio groups, and statics that
// let the mouse through to their parent.
#include "fixture.h"

namespace {
std::vector<WORD> commandsFrom(HWND parent, int id) {
    std::vector<WORD> codes;
    for (auto& r : Log::all())
        if (r.hwnd == parent && r.msg == WM_COMMAND && LOWORD(r.wParam) == id) codes.push_back(HIWORD(r.wParam));
    return codes;
}
} // namespace

TEST_F(Win32Test, PushButtonClicksByMouseAndSpaceNotifyTheParentAndStylesTellTheDialogCodes) {
    HWND top = topLevel();
    HWND b = child(top, "Button", "OK", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 75, 23, IDOK);
    Log::clear();
    w32drv::ClickWindow(b);
    w32drv::Pump();
    EXPECT_EQ(commandsFrom(top, IDOK), std::vector<WORD>{BN_CLICKED});
    EXPECT_EQ(GetFocus(), b);
    Log::clear();
    w32drv::Key(VK_SPACE);
    w32drv::Pump();
    EXPECT_EQ(commandsFrom(top, IDOK), std::vector<WORD>{BN_CLICKED});
    // pressing inside and releasing outside is no click
    Log::clear();
    RECT r;
    GetWindowRect(b, &r);
    w32drv::MouseDown(POINT{r.left + 5, r.top + 5});
    w32drv::MouseMove(POINT{r.right + 40, r.top + 5});
    w32drv::MouseUp(POINT{r.right + 40, r.top + 5});
    w32drv::Pump();
    EXPECT_TRUE(commandsFrom(top, IDOK).empty());
    // disabled buttons ignore BM_CLICK (Wine's click them)
    if (!underWine()) {
        EnableWindow(b, FALSE);
        SendMessageA(b, BM_CLICK, 0, 0);
        EXPECT_TRUE(commandsFrom(top, IDOK).empty());
    }
    EnableWindow(b, TRUE);
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_EQ(commandsFrom(top, IDOK).size(), 1u);

    HWND def = child(top, "Button", "OK", BS_DEFPUSHBUTTON, 0, 0, 50, 20, 1);
    HWND grp = child(top, "Button", "Group", BS_GROUPBOX, 0, 30, 50, 50, 2);
    EXPECT_TRUE(SendMessageA(def, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    SendMessageA(def, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_TRUE(SendMessageA(def, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(grp, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(Win32Test, CheckBoxesToggleAndRadioButtonsCheckOneOfTheirGroup) {
    HWND top = topLevel();
    HWND check = child(top, "Button", "Show IDs", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, 100, 20, 1);
    HWND plainCheck = child(top, "Button", "Manual", BS_CHECKBOX, 0, 20, 100, 20, 2);
    HWND r1 = child(top, "Button", "A", BS_AUTORADIOBUTTON | WS_GROUP, 0, 40, 100, 20, 3);
    HWND r2 = child(top, "Button", "B", BS_AUTORADIOBUTTON, 0, 60, 100, 20, 4);
    HWND r3 = child(top, "Button", "C", BS_AUTORADIOBUTTON, 0, 80, 100, 20, 5);
    HWND other = child(top, "Button", "X", BS_AUTORADIOBUTTON | WS_GROUP, 0, 100, 100, 20, 6);
    SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
    w32drv::ClickWindow(check);
    w32drv::ClickWindow(plainCheck);
    w32drv::ClickWindow(r2);
    w32drv::Pump();
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(plainCheck, BM_GETCHECK, 0, 0), BST_UNCHECKED); // its owner decides
    EXPECT_EQ(SendMessageA(r2, BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(r1, BM_SETCHECK, BST_CHECKED, 0);
    w32drv::ClickWindow(r3);
    w32drv::ClickWindow(check);
    w32drv::Pump();
    EXPECT_EQ(SendMessageA(r1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(r2, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(r3, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED); // another group
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // push buttons have no check state
    HWND push = child(top, "Button", "P", BS_PUSHBUTTON, 200, 0, 50, 20, 7);
    SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Win32Test, StaticsLetClicksThroughUnlessTheyNotify) {
    HWND top = topLevel();
    HWND quiet = child(top, "Static", "label", SS_LEFT, 0, 0, 100, 20, 1);
    HWND loud = child(top, "Static", "link", SS_LEFT | SS_NOTIFY, 0, 30, 100, 20, 2);
    Log::clear();
    w32drv::ClickWindow(quiet);
    w32drv::ClickWindow(loud);
    w32drv::Pump();
    EXPECT_TRUE(Log::saw(top, WM_LBUTTONDOWN)); // the click on the quiet label reached its parent
    EXPECT_EQ(commandsFrom(top, 2), std::vector<WORD>{STN_CLICKED});
    EXPECT_TRUE(commandsFrom(top, 1).empty());
    EXPECT_EQ(WindowFromPoint(POINT{100 + 5, 100 + 5}), top);
    SetWindowTextA(quiet, "changed");
    EXPECT_EQ(text(quiet), "changed");
}
