// Window objects of windows the framework did not create: subclassing controls by ID, attaching
// and detaching, temporary objects and their lifetime, and message boxes.
#include "fixture.h"

namespace {

// Lets only digits through; everything else it swallows.
class CDigitsEdit : public CEdit {
public:
    int refused = 0;

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
        if (nChar >= '0' && nChar <= '9')
            CEdit::OnChar(nChar, nRepCnt, nFlags);
        else
            ++refused;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CDigitsEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()
// clang-format on

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

using WndTest = AfxTest;

} // namespace

TEST_F(WndTest, SubclassingAControlByIdRoutesItsMessagesThroughTheObject) {
    // a dialog that only Win32 knows
    HWND dlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl.Get(), nullptr, PlainDialogProc, 0);
    ShowWindow(dlg, SW_SHOW);
    HWND edit = GetDlgItem(dlg, kIdEdit);
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC));
    CDigitsEdit digits;
    ASSERT_TRUE(digits.SubclassDlgItem(kIdEdit, CWnd::FromHandle(dlg)));
    EXPECT_EQ(digits.m_hWnd, edit);
    EXPECT_EQ(CWnd::FromHandle(edit), &digits);
    SetFocus(edit);
    w32drv::Type("a1b2");
    w32drv::Pump();
    EXPECT_EQ(TextOf(edit), "12");
    EXPECT_EQ(digits.refused, 2);

    // a second object cannot take the same control, nor one that does not exist
    CEdit other;
    EXPECT_FALSE(other.SubclassDlgItem(kIdEdit, CWnd::FromHandle(dlg)));
    EXPECT_EQ(other.m_hWnd, nullptr);
    EXPECT_FALSE(other.SubclassDlgItem(4242, CWnd::FromHandle(dlg)));

    // unsubclassed, the control is the plain edit again
    EXPECT_EQ(digits.UnsubclassWindow(), edit);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC)), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    w32drv::Type("x");
    w32drv::Pump();
    EXPECT_EQ(TextOf(edit), "12x");

    // subclassed again, the control goes with its dialog and leaves the object detached
    ASSERT_TRUE(digits.SubclassDlgItem(kIdEdit, CWnd::FromHandle(dlg)));
    DestroyWindow(dlg);
    EXPECT_EQ(digits.m_hWnd, nullptr);
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
}

TEST_F(WndTest, TemporaryObjectsGiveWayToAttachedOnesAndLastUntilTheModuleDetaches) {
    HWND plain = PlainTopLevel();
    CWnd* temp = CWnd::FromHandle(plain);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandle(plain), temp);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(Maps()->m_mapHWND.GetTemporaryCount(), 1u);

    // attaching maps the handle without taking the messages
    CWnd first, second;
    ASSERT_TRUE(first.Attach(plain));
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), &first);
    EXPECT_EQ(CWnd::FromHandle(plain), &first);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(plain, GWLP_WNDPROC)), plainWindowProc);
    EXPECT_FALSE(second.Attach(plain));
    EXPECT_FALSE(first.Attach(PlainTopLevel())); // already holds a window
    EXPECT_EQ(first.Detach(), plain);
    EXPECT_EQ(first.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_TRUE(IsWindow(plain)); // detaching never destroys

    // a temporary object works like any other wrapper; destroying through it leaves it empty
    temp->SetWindowText("Renamed");
    EXPECT_EQ(TextOf(plain), "Renamed");
    EXPECT_TRUE(temp->DestroyWindow());
    EXPECT_FALSE(IsWindow(plain));
    EXPECT_EQ(temp->m_hWnd, nullptr);
    // handed out outside any call into the module, it lasts until the module detaches, as do
    // device-context and GDI wrappers handed out there
    HDC hdc = GetDC(nullptr);
    CDC::FromHandle(hdc);
    CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    for (CHandleMap* map : {&Maps()->m_mapHWND, &Maps()->m_mapHDC, &Maps()->m_mapHGDIOBJ})
        EXPECT_EQ(map->GetTemporaryCount(), 1u);
    AfxModuleDetach();
    for (CHandleMap* map : {&Maps()->m_mapHWND, &Maps()->m_mapHDC, &Maps()->m_mapHGDIOBJ})
        EXPECT_EQ(map->GetTemporaryCount(), 0u);
    ReleaseDC(nullptr, hdc);
}

TEST_F(WndTest, MessageBoxesAreOwnedByTheWindowAndNamedAfterTheApplication) {
    CWinApp app("Selector");
    ASSERT_TRUE(AfxModuleAttach(AfxFindModuleInstance()));
    HWND plain = PlainTopLevel();
    CWnd* wnd = CWnd::FromHandle(plain);
    w32drv::AnswerMessageBox(IDNO);
    EXPECT_EQ(wnd->MessageBox("Accept?", "Question", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(wnd->MessageBox("No catalog data."), IDOK);
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, plain);
    EXPECT_EQ(boxes[0].text, "Accept?");
    EXPECT_EQ(boxes[0].caption, "Question");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[1].caption, "Selector");
}
