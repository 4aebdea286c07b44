// The dialog manager: templates in dialog units, WM_INITDIALOG, the modal loop with its owner,
// the keyboard interface (Tab, Enter, Escape), default buttons and the dialog helpers.
#include "dlgtemplate.h"
#include "fixture.h"

namespace {

constexpr int kEditId = 100, kListId = 101;

struct Outcome {
    std::string text;
    int selection = -2;
    HWND focusAtInit = nullptr;
    bool ownerDisabledInside = false;
};
Outcome outcome;
HWND ownerWindow = nullptr;

INT_PTR CALLBACK pickerProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        outcome.focusAtInit = reinterpret_cast<HWND>(wParam);
        HWND list = GetDlgItem(dlg, kListId);
        for (const char* s : {"Amplifier", "Tuner", "Telephone"}) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        outcome.ownerDisabledInside = ownerWindow && !IsWindowEnabled(ownerWindow);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            char buf[256];
            GetDlgItemTextA(dlg, kEditId, buf, sizeof buf);
            outcome.text = buf;
            outcome.selection = static_cast<int>(SendDlgItemMessageA(dlg, kListId, LB_GETCURSEL, 0, 0));
            EndDialog(dlg, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

const DLGTEMPLATE* pickerTemplate(DialogTemplateBuilder& b) {
    b.font(8, "MS Shell Dlg")
        .item(kEdit, "", kEditId, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 7, 120, 14)
        .item(kListBox, "", kListId, WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, 7, 25, 120, 60)
        .item(kButton, "OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 134, 7, 50, 14)
        .item(kButton, "Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 134, 25, 50, 14);
    return b.get();
}

INT_PTR CALLBACK plainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

} // namespace

TEST_F(Win32Test, ModalDialogTakesTypedTextAndAKeyboardChoiceAndClosesWithEnter) {
    ownerWindow = topLevel();
    outcome = Outcome{};
    DialogTemplateBuilder b(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 10, 10, 190, 90, "Pick");
    w32drv::Type("Hello");
    w32drv::Key(VK_TAB);  // to the list
    w32drv::Key(VK_DOWN); // first item
    w32drv::Key(VK_DOWN); // second item
    w32drv::Key(VK_RETURN);
    INT_PTR r = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), pickerTemplate(b), ownerWindow, pickerProc, 0);
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(outcome.text, "Hello");
    EXPECT_EQ(outcome.selection, 1); // sorted: Amplifier, Telephone, Tuner
    EXPECT_TRUE(outcome.ownerDisabledInside);
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
    EXPECT_TRUE(w32drv::InputExhaustedDialogs().empty());
    EXPECT_EQ(GetActiveWindow(), ownerWindow);
}

namespace {
void typeAbc() { w32drv::Type("abc"); }
void pressEscape() { w32drv::Key(VK_ESCAPE); }
void pressAltF4() { w32drv::Key(VK_F4, w32drv::Alt); } // closing a dialog is a cancel command
} // namespace

TEST_F(Win32Test, EscapeAndClosingCancelAndADialogThatRunsOutOfInputEndsWithCancelAndIsRecorded) {
    ownerWindow = topLevel();
    const struct {
        void (*input)();
        size_t exhausted;
        const char* text;
    } cases[] = {{typeAbc, 1, "abc"}, {pressEscape, 0, ""}, {pressAltF4, 0, ""}};
    for (const auto& c : cases) {
        outcome = Outcome{};
        w32drv::ClearRecords();
        DialogTemplateBuilder b(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 10, 10, 190, 90, "Pick");
        c.input();
        EXPECT_EQ(DialogBoxIndirectParamA(nullptr, pickerTemplate(b), ownerWindow, pickerProc, 0), IDCANCEL);
        ASSERT_EQ(w32drv::InputExhaustedDialogs().size(), c.exhausted);
        if (c.exhausted) {
            EXPECT_FALSE(IsWindow(w32drv::InputExhaustedDialogs()[0]));
        }
        EXPECT_EQ(outcome.text, c.text);
        EXPECT_TRUE(IsWindowEnabled(ownerWindow));
    }
    w32drv::ClearRecords();
    // a dialog that ignores the cancel command still cannot hang
    DialogTemplateBuilder stubborn(WS_POPUP, 0, 0, 100, 50, "Stubborn");
    stubborn.item(kButton, "OK", IDOK, WS_VISIBLE | BS_DEFPUSHBUTTON, 5, 5, 40, 14);
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, stubborn.get(), ownerWindow, plainProc, 0), IDCANCEL);
    EXPECT_EQ(w32drv::InputExhaustedDialogs().size(), 1u);
}

TEST_F(Win32Test, ControlsArePlacedInDialogUnitsOfTheDialogFont) {
    HEADLESS_ONLY("the fixed base units of the dialog font");
    DialogTemplateBuilder b(WS_POPUP | WS_VISIBLE, 0, 0, 275, 54, "", true);
    b.font(8, "MS Shell Dlg").item(kEdit, "x", 1000, WS_VISIBLE | WS_BORDER, 1, 15, 266, 14);
    HWND dlg = CreateDialogIndirectParamA(nullptr, b.get(), nullptr, plainProc, 0);
    ASSERT_NE(dlg, nullptr);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 275 * 6 / 4 + 1); // MulDiv rounds 412.5 up
    EXPECT_EQ(client.bottom, MulDiv(54, 13, 8));
    HWND edit = GetDlgItem(dlg, 1000);
    RECT r;
    GetWindowRect(edit, &r);
    POINT p{r.left, r.top};
    ScreenToClient(dlg, &p);
    EXPECT_EQ(p.x, MulDiv(1, 6, 4));
    EXPECT_EQ(p.y, MulDiv(15, 13, 8));
    EXPECT_EQ(r.right - r.left, MulDiv(267, 6, 4) - MulDiv(1, 6, 4));
    RECT dlu{1, 15, 267, 29};
    MapDialogRect(dlg, &dlu);
    EXPECT_EQ(dlu.left, p.x);
    EXPECT_EQ(dlu.bottom - dlu.top, r.bottom - r.top);
    char cls[32];
    GetClassNameA(dlg, cls, sizeof cls);
    EXPECT_STREQ(cls, "#32770");
    EXPECT_TRUE(IsWindowVisible(dlg));
}

TEST_F(Win32Test, OldStyleTemplatesInitDialogFocusAndTabAmongTabStopsSelectingTheTextOfAnEdit) {
    outcome = Outcome{};
    ownerWindow = nullptr;
    DialogTemplateBuilder b(WS_POPUP | WS_VISIBLE, 0, 0, 190, 90, "Old", false);
    HWND dlg = CreateDialogIndirectParamA(nullptr, pickerTemplate(b), nullptr, pickerProc, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(outcome.focusAtInit, GetDlgItem(dlg, kEditId));
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kEditId));
    EXPECT_EQ(SendDlgItemMessageA(dlg, kListId, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_EQ(HIWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), DC_HASDEFID);

    SetDlgItemTextA(dlg, kEditId, "text");
    HWND edit = GetDlgItem(dlg, kEditId);
    HWND ok = GetDlgItem(dlg, IDOK);
    HWND cancel = GetDlgItem(dlg, IDCANCEL);
    EXPECT_EQ(GetNextDlgTabItem(dlg, edit, FALSE), GetDlgItem(dlg, kListId));
    EXPECT_EQ(GetNextDlgTabItem(dlg, cancel, FALSE), edit);
    EXPECT_EQ(GetNextDlgTabItem(dlg, edit, TRUE), cancel);
    // a modeless dialog gets its keyboard interface from IsDialogMessage in the caller's loop
    auto loop = [dlg] {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) || (w32drv::PendingInput() && PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE))) {
            if (!IsDialogMessageA(dlg, &m)) {
                TranslateMessage(&m);
                DispatchMessageA(&m);
            }
        }
    };
    w32drv::Key(VK_TAB, w32drv::Shift);
    while (w32drv::PendingInput()) {
        MSG m;
        if (GetMessageA(&m, nullptr, 0, 0) && !IsDialogMessageA(dlg, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    loop();
    EXPECT_EQ(GetFocus(), cancel);
    // the focused push button becomes the default one
    EXPECT_EQ(GetWindowLongA(cancel, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    SendMessageA(dlg, WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(GetFocus(), edit);
    DWORD s = 1, e = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    EXPECT_EQ(s, 0u);
    EXPECT_EQ(e, 4u);
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    DestroyWindow(dlg);
}

TEST_F(Win32Test, DialogHelpersReadAndWriteControlsAndAnUnknownClassFailsTheDialog) {
    DialogTemplateBuilder b(WS_POPUP, 0, 0, 100, 60, "");
    b.item(kEdit, "", 10, WS_VISIBLE, 0, 0, 50, 12)
        .item(kButton, "Check", 11, WS_VISIBLE | BS_AUTOCHECKBOX, 0, 20, 50, 12);
    HWND dlg = CreateDialogIndirectParamA(nullptr, b.get(), nullptr, plainProc, 0);
    ASSERT_TRUE(SetDlgItemInt(dlg, 10, static_cast<UINT>(-42), TRUE));
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, 10, &ok, TRUE)), -42);
    EXPECT_TRUE(ok);
    // a minus sign unasked for, or any other character that is not a digit, is an error
    // (Wine takes both)
    GetDlgItemInt(dlg, 10, &ok, FALSE);
    if (!underWine()) {
        EXPECT_FALSE(ok);
    }
    SetDlgItemTextA(dlg, 10, "12x");
    GetDlgItemInt(dlg, 10, &ok, TRUE);
    if (!underWine()) {
        EXPECT_FALSE(ok);
    }
    CheckDlgButton(dlg, 11, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg, 11), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(GetDlgItem(dlg, 99), nullptr);
    EXPECT_EQ(GetDlgItemTextA(dlg, 99, nullptr, 0), 0u);
    DestroyWindow(dlg);

    DialogTemplateBuilder unknown(WS_POPUP, 0, 0, 100, 60, "");
    unknown.item(0, "", 10, WS_VISIBLE, 0, 0, 50, 12, "NoSuchControl");
    EXPECT_EQ(CreateDialogIndirectParamA(nullptr, unknown.get(), nullptr, plainProc, 0), nullptr);
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, unknown.get(), nullptr, plainProc, 0), -1);
    EXPECT_EQ(w32drv::TopLevelWindows().size(), 0u);
}

