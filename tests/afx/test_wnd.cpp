// Window objects: subclassing controls by ID, attaching and detaching, temporary objects and their
// lifetime, destruction order, style changes and pre-translation up the window tree.
#include "fixture.h"

#include <vector>

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

class WndTest : public AfxTest {
protected:
    // A dialog that only Win32 knows.
    HWND PlainDialog() {
        HWND dlg =
            CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl.Get(), nullptr, PlainDialogProc, 0);
        ShowWindow(dlg, SW_SHOW);
        return dlg;
    }
    DialogTemplate tmpl = InputDialogTemplate();
};

} // namespace

TEST_F(WndTest, SubclassingAControlByIdRoutesItsMessagesThroughTheObject) {
    HWND dlg = PlainDialog();
    HWND edit = GetDlgItem(dlg, kIdEdit);
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC));
    CDigitsEdit digits;
    ASSERT_TRUE(digits.SubclassDlgItem(kIdEdit, CWnd::FromHandle(dlg)));
    EXPECT_EQ(digits.m_hWnd, edit);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &digits);
    EXPECT_EQ(CWnd::FromHandle(edit), &digits);
    SetFocus(edit);
    w32drv::Type("a1b2");
    w32drv::Pump();
    EXPECT_EQ(TextOf(edit), "12");
    EXPECT_EQ(digits.refused, 2);

    // a second object cannot take the same control
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
    EXPECT_EQ(digits.refused, 2);

    // subclassed again, the control goes with its dialog and leaves the object detached
    ASSERT_TRUE(digits.SubclassDlgItem(kIdEdit, CWnd::FromHandle(dlg)));
    DestroyWindow(dlg);
    EXPECT_EQ(digits.m_hWnd, nullptr);
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
}

TEST_F(WndTest, AttachMapsTheHandleWithoutTakingTheMessages) {
    HWND plain = PlainTopLevel();
    CWnd first;
    ASSERT_TRUE(first.Attach(plain));
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), &first);
    EXPECT_EQ(CWnd::FromHandle(plain), &first);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(plain, GWLP_WNDPROC)), plainWindowProc);
    CWnd second;
    EXPECT_FALSE(second.Attach(plain));
    EXPECT_FALSE(first.Attach(PlainTopLevel())); // already holds a window
    EXPECT_EQ(first.Detach(), plain);
    EXPECT_EQ(first.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_TRUE(IsWindow(plain)); // detaching never destroys
}

TEST_F(WndTest, TemporaryObjectsAreStableAndNeverPermanent) {
    HWND plain = PlainTopLevel();
    CWnd* temp = CWnd::FromHandle(plain);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandle(plain), temp);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(Maps()->m_mapHWND.GetTemporaryCount(), 1u);
    // a temporary object works like any other wrapper
    temp->SetWindowText("Renamed");
    EXPECT_EQ(TextOf(plain), "Renamed");
    // once a real object takes the window, FromHandle gives that one
    CWnd owner;
    ASSERT_TRUE(owner.Attach(plain));
    EXPECT_EQ(CWnd::FromHandle(plain), &owner);
    owner.Detach();
    // destroying through it leaves it empty
    EXPECT_TRUE(temp->DestroyWindow());
    EXPECT_FALSE(IsWindow(plain));
    EXPECT_EQ(temp->m_hWnd, nullptr);
    // handed out outside any call into the module, it lasts until the module detaches
    EXPECT_EQ(Maps()->m_mapHWND.GetTemporaryCount(), 1u);
    AfxModuleDetach();
    EXPECT_EQ(Maps()->m_mapHWND.GetTemporaryCount(), 0u);
}

namespace {

// On a private message it wraps a foreign window, a device context and a brush, as handlers do.
class CWrappingWnd : public CWnd {
public:
    HWND foreign = nullptr;
    CWnd* wrapped = nullptr;
    CDC* dc = nullptr;
    CBrush* brush = nullptr;

protected:
    afx_msg LRESULT OnWrap(WPARAM, LPARAM) {
        wrapped = CWnd::FromHandle(foreign);
        HDC hdc = ::GetDC(m_hWnd);
        dc = CDC::FromHandle(hdc);
        brush = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        ::ReleaseDC(m_hWnd, hdc);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CWrappingWnd, CWnd)
    ON_MESSAGE(WM_USER + 1, &CWrappingWnd::OnWrap)
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(WndTest, TemporaryObjectsOfAHandlerEndWithTheCallOrWithTheirWindow) {
    CWrappingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Wrapping", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    wnd.foreign = PlainTopLevel();
    wnd.SendMessage(WM_USER + 1);
    // device-context and GDI wrappers went with the message
    EXPECT_EQ(Maps()->m_mapHDC.GetTemporaryCount(), 0u);
    EXPECT_EQ(Maps()->m_mapHGDIOBJ.GetTemporaryCount(), 0u);
    // the window wrapper lives as long as its window: a stored pointer stays usable
    ASSERT_EQ(Maps()->m_mapHWND.GetTemporaryCount(), 1u);
    EXPECT_EQ(wnd.wrapped->m_hWnd, wnd.foreign);
    EXPECT_EQ(Maps()->m_mapHWND.LookupTemporary(wnd.foreign, RUNTIME_CLASS(CWnd)), wnd.wrapped);
    // ... and goes at the end of the next call into the module after the window is gone
    DestroyWindow(wnd.foreign);
    EXPECT_EQ(Maps()->m_mapHWND.GetTemporaryCount(), 1u);
    wnd.SendMessage(WM_NULL);
    EXPECT_EQ(Maps()->m_mapHWND.GetTemporaryCount(), 0u);
}

TEST_F(WndTest, AManagedStateScopeIsACallIntoTheModule) {
    HWND plain = PlainTopLevel();
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        HDC hdc = GetDC(plain);
        CDC* dc = CDC::FromHandle(hdc);
        EXPECT_EQ(dc->m_hDC, hdc);
        {
            // an inner call ends: what the outer one handed out stays
            AFX_MANAGE_STATE(AfxGetStaticModuleState());
            EXPECT_EQ(CDC::FromHandle(hdc), dc);
        }
        EXPECT_EQ(Maps()->m_mapHDC.GetTemporaryCount(), 1u);
        EXPECT_EQ(dc->GetSafeHdc(), hdc);
        ReleaseDC(plain, hdc);
    }
    EXPECT_EQ(Maps()->m_mapHDC.GetTemporaryCount(), 0u);
    EXPECT_EQ(Maps()->m_nTempMapLock, 0);
}

namespace {

class CLifeWnd : public CWnd {
public:
    std::vector<std::string>* events = nullptr;
    HWND handleAtPostNcDestroy = reinterpret_cast<HWND>(1);
    bool mappedAtPostNcDestroy = true;
    HWND created = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        created = m_hWnd;
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnDestroy() {
        events->push_back("destroy");
        CWnd::OnDestroy();
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        events->push_back("size");
        CWnd::OnSize(nType, cx, cy);
    }
    void PostNcDestroy() override {
        events->push_back("postncdestroy");
        handleAtPostNcDestroy = m_hWnd;
        mappedAtPostNcDestroy = CWnd::FromHandlePermanent(created) != nullptr;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CLifeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(WndTest, DestroyWindowRunsOnDestroyThenPostNcDestroyOnADetachedObject) {
    std::vector<std::string> events;
    CLifeWnd wnd;
    wnd.events = &events;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Life", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    events.clear();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(events, (std::vector<std::string>{"destroy", "postncdestroy"}));
    EXPECT_EQ(wnd.handleAtPostNcDestroy, nullptr);
    EXPECT_FALSE(wnd.mappedAtPostNcDestroy);
    EXPECT_FALSE(wnd.DestroyWindow()); // nothing left to destroy

    // an object that goes first takes its window with it
    HWND hwnd;
    {
        CLifeWnd gone;
        gone.events = &events;
        ASSERT_TRUE(
            gone.CreateEx(0, nullptr, "Short", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
        hwnd = gone.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
}

TEST_F(WndTest, ModifyStyleWithFlagsRepositionsTheFrame) {
    std::vector<std::string> events;
    CLifeWnd wnd;
    wnd.events = &events;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Style", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    CRect before;
    wnd.GetClientRect(before);
    events.clear();
    EXPECT_TRUE(wnd.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED));
    EXPECT_TRUE(wnd.GetStyle() & WS_BORDER);
    EXPECT_EQ(events, std::vector<std::string>{"size"});
    CRect after;
    wnd.GetClientRect(after);
    EXPECT_LT(after.Width(), before.Width());
    events.clear();
    EXPECT_FALSE(wnd.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED)); // unchanged: nothing happens
    EXPECT_TRUE(wnd.ModifyStyle(WS_BORDER, 0));                    // no flags: no repositioning
    EXPECT_TRUE(events.empty());
}

namespace {

class CRecordingWnd : public CWnd {
public:
    std::vector<std::string>* order = nullptr;
    std::string name;
    bool consume = false;
    BOOL PreTranslateMessage(MSG*) override {
        order->push_back(name);
        return consume;
    }
};

} // namespace

TEST_F(WndTest, PreTranslationWalksFromTheTargetUpTheParentsAndOwners) {
    std::vector<std::string> order;
    CRecordingWnd owner, top, child;
    for (auto* w : {&owner, &top, &child})
        w->order = &order;
    owner.name = "owner";
    top.name = "top";
    child.name = "child";
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
    ASSERT_TRUE(
        top.CreateEx(0, nullptr, "Top", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, owner.m_hWnd, nullptr));
    HWND plainMiddle = PlainChild(top.m_hWnd, 1); // no object: skipped
    ASSERT_TRUE(
        child.Create(nullptr, "Child", WS_VISIBLE, CRect(0, 0, 20, 20), CWnd::FromHandle(plainMiddle), 2));

    MSG msg{child.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(nullptr, &msg));
    EXPECT_EQ(order, (std::vector<std::string>{"child", "top", "owner"}));

    order.clear();
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(top.m_hWnd, &msg)); // stops after the given window
    EXPECT_EQ(order, (std::vector<std::string>{"child", "top"}));

    order.clear();
    top.consume = true;
    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ(order, (std::vector<std::string>{"child", "top"}));
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
