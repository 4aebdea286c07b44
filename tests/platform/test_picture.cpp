// Text pictures of windows: what a person would see, drawn in character cells.
#include "dlgtemplate.h"
#include "fixture.h"

namespace {
INT_PTR CALLBACK initOnly(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }
} // namespace

TEST_F(Win32Test, PictureShowsTheControlsOfADialogWhereTheyStandAndVisiblePopupsTheWindowOwns) {
    DialogTemplateBuilder b(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 160, 70, "Choose");
    b.font(8, "MS Shell Dlg")
        .item(kStatic, "Name:", 1, WS_VISIBLE | SS_LEFT, 4, 4, 40, 8)
        .item(kEdit, "Amp", 2, WS_VISIBLE | WS_BORDER | WS_TABSTOP, 48, 2, 100, 12)
        .item(kListBox, "", 3, WS_VISIBLE | WS_BORDER | WS_VSCROLL, 4, 18, 80, 40)
        .item(kButton, "OK", IDOK, WS_VISIBLE | BS_DEFPUSHBUTTON, 100, 20, 50, 14)
        .item(kButton, "&Cancel", IDCANCEL, WS_VISIBLE | WS_DISABLED, 100, 40, 50, 14)
        .item(kButton, "Show IDs", 4, WS_VISIBLE | BS_AUTOCHECKBOX, 100, 58, 55, 10);
    HWND dlg = CreateDialogIndirectParamA(nullptr, b.get(), nullptr, initOnly, 0);
    ASSERT_NE(dlg, nullptr);
    HWND list = GetDlgItem(dlg, 3);
    for (const char* s : {"AudioAmplifier", "AmFmTuner", "Navigation", "Telephone", "NetBlock"})
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    CheckDlgButton(dlg, 4, BST_CHECKED);
    SendDlgItemMessageA(dlg, 2, EM_SETSEL, 3, 3);
    std::string picture = w32drv::Picture(dlg);
    std::cout << picture;
    EXPECT_NE(picture.find("+- Choose -"), std::string::npos);
    EXPECT_NE(picture.find("Name:"), std::string::npos);
    EXPECT_NE(picture.find("[Amp|"), std::string::npos); // the focused edit shows its caret
    EXPECT_NE(picture.find("[[OK]]"), std::string::npos);
    EXPECT_NE(picture.find("{Cancel}"), std::string::npos);
    EXPECT_NE(picture.find("[x] Show IDs"), std::string::npos);
    EXPECT_NE(picture.find(">AmFmTuner"), std::string::npos); // the selected, second item
    EXPECT_NE(picture.find(" AudioAmplifier"), std::string::npos);
    // rows follow the controls' positions: the label stands beside the edit, above the list
    size_t editLine = picture.rfind('\n', picture.find("[Amp"));
    EXPECT_EQ(picture.rfind('\n', picture.find("Name:")), editLine);
    EXPECT_LT(picture.find("[Amp"), picture.find("AmFmTuner"));

    HWND top = topLevel(300, 200, WS_POPUP | WS_BORDER | WS_VISIBLE);
    HWND popup = CreateWindowExA(0, "ListBox", "", WS_POPUP | WS_DLGFRAME | WS_VSCROLL, 150, 150, 200, 100, top, nullptr,
                                 nullptr, nullptr);
    SendMessageA(popup, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Mute (0x200)"));
    std::string before = w32drv::Picture(top);
    EXPECT_EQ(before.find("Mute"), std::string::npos);
    ShowWindow(popup, SW_SHOWNA);
    std::string after = w32drv::Picture(top);
    std::cout << after;
    EXPECT_NE(after.find(" Mute (0x200)"), std::string::npos);
    EXPECT_EQ(GetActiveWindow(), top);
}

