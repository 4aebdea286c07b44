// Dialogs: the modal loop with OnInitDialog, control binding, pre-translation, OnOK and OnCancel
// driven by typed keys; input running out; ending during initialisation; missing templates;
// modeless dialogs that delete themselves; a host loop that pre-translates through the
// application object.
#include "fixture.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// An edit that counts a private message and keeps F2 for itself in pre-translation.
class CCountingEdit : public CEdit {
public:
    int userMessages = 0;
    WPARAM lastUserParam = 0;
    int f2Keys = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F2) {
            ++f2Keys;
            return TRUE;
        }
        return CEdit::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg LRESULT OnUser1(WPARAM wParam, LPARAM) {
        ++userMessages;
        lastUserParam = wParam;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
    ON_MESSAGE(WM_USER + 1, &CCountingEdit::OnUser1)
END_MESSAGE_MAP()
// clang-format on

class CInputDlg : public CDialog {
public:
    CCountingEdit m_edit;
    CStatic m_label;
    std::string m_text;
    HWND m_hWndAtInit = nullptr;
    HWND m_editAtInit = nullptr;
    HWND m_parent = nullptr;
    bool m_boundAtInit = false;
    bool m_parentDisabledAtInit = false;
    bool m_shown = false;
    bool m_requireText = false;
    bool m_refuseCancel = false;
    int m_endInInit = 0;
    int okCalls = 0, cancelCalls = 0, applyClicks = 0;
    std::vector<MSG> preTranslated;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        preTranslated.push_back(*pMsg);
        return CDialog::PreTranslateMessage(pMsg);
    }

    bool PreTranslated(HWND hwnd, UINT message, WPARAM wParam) const {
        return std::any_of(preTranslated.begin(), preTranslated.end(), [&](const MSG& m) {
            return m.hwnd == hwnd && m.message == message && m.wParam == wParam;
        });
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, kIdEdit, m_edit);
        DDX_Control(pDX, kIdLabel, m_label);
        if (pDX->m_bSaveAndValidate && m_requireText && m_edit.GetWindowTextLength() == 0) pDX->Fail();
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_hWndAtInit = m_hWnd;
        m_editAtInit = m_edit.m_hWnd;
        m_boundAtInit = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, kIdEdit)) == &m_edit &&
                        CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, kIdLabel)) == &m_label;
        m_parentDisabledAtInit = m_parent && !::IsWindowEnabled(m_parent);
        m_edit.PostMessage(WM_USER + 1, 7, 0);
        if (m_endInInit) EndDialog(m_endInInit);
        return TRUE;
    }
    void OnOK() override {
        ++okCalls;
        m_edit.GetWindowText(m_text);
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        if (!m_refuseCancel) CDialog::OnCancel();
    }
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) {
        if (bShow) m_shown = true;
        CDialog::OnShowWindow(bShow, nStatus);
    }
    afx_msg void OnApply() { ++applyClicks; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CInputDlg, CDialog)
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(kIdApply, &CInputDlg::OnApply)
END_MESSAGE_MAP()
// clang-format on

class ModalTest : public AfxTest {
protected:
    void SetUp() override {
        AfxTest::SetUp();
        parent = PlainTopLevel();
        dlg.m_parent = parent;
        ASSERT_TRUE(dlg.InitModalIndirect(tmpl.Get(), CWnd::FromHandle(parent)));
    }
    DialogTemplate tmpl = InputDialogTemplate();
    HWND parent = nullptr;
    CInputDlg dlg;
};

} // namespace

TEST_F(ModalTest, TypedTextAndEnterEndTheDialogWithIdOkAndReleaseTheParent) {
    w32drv::Key(VK_F2); // the edit keeps it for itself
    w32drv::Type("qbc");
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.okCalls, 1);
    EXPECT_EQ(dlg.cancelCalls, 0);
    EXPECT_EQ(dlg.m_text, "qbc");
    EXPECT_TRUE(dlg.m_boundAtInit);
    EXPECT_TRUE(dlg.m_shown);
    EXPECT_TRUE(w32drv::InputExhaustedDialogs().empty());
    // pre-translation saw the keys, characters and posted messages of the children
    HWND edit = dlg.m_editAtInit;
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_KEYDOWN, 'Q'));
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_CHAR, 'q'));
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_KEYDOWN, VK_RETURN));
    // the message posted in OnInitDialog passed pre-translation and then reached the edit, once
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_USER + 1, 7));
    EXPECT_EQ(dlg.m_edit.userMessages, 1);
    EXPECT_EQ(dlg.m_edit.lastUserParam, 7u);
    // a key the child consumed in its own pre-translation never reached the dialog's
    EXPECT_EQ(dlg.m_edit.f2Keys, 1);
    EXPECT_FALSE(dlg.PreTranslated(edit, WM_KEYDOWN, VK_F2));
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_KEYUP, VK_F2));
    // the parent was disabled while the dialog ran and is active again
    EXPECT_TRUE(dlg.m_parentDisabledAtInit);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(GetActiveWindow(), parent);
    // the window is gone and every bound object let go of its control
    EXPECT_FALSE(IsWindow(dlg.m_hWndAtInit));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_label.m_hWnd, nullptr);
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
}

TEST_F(ModalTest, WhenTheInputRunsOutTheDialogIsCancelled) {
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.cancelCalls, 1);
    auto exhausted = w32drv::InputExhaustedDialogs();
    ASSERT_EQ(exhausted.size(), 1u);
    EXPECT_EQ(exhausted[0], dlg.m_hWndAtInit);
    EXPECT_TRUE(IsWindowEnabled(parent));
    // a dialog without a parent runs all the same
    CInputDlg orphan;
    ASSERT_TRUE(orphan.InitModalIndirect(tmpl.Get()));
    EXPECT_EQ(orphan.DoModal(), IDCANCEL);
    EXPECT_EQ(orphan.cancelCalls, 1);
    EXPECT_TRUE(orphan.m_boundAtInit);
}

TEST_F(ModalTest, OkThatFailsDataExchangeKeepsTheDialogOpen) {
    dlg.m_requireText = true;
    w32drv::Key(VK_RETURN); // empty: refused
    w32drv::Type("z");
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.okCalls, 2);
    EXPECT_EQ(dlg.m_text, "z");
}

TEST_F(ModalTest, EndDialogDuringInitialisationEndsBeforeTheDialogIsShownOrCreated) {
    dlg.m_endInInit = 42;
    w32drv::Key(VK_RETURN); // must not be consumed by a dialog that never ran
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_FALSE(dlg.m_shown);
    EXPECT_EQ(dlg.okCalls, 0);
    EXPECT_FALSE(IsWindow(dlg.m_hWndAtInit));
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(w32drv::PendingInput(), 2u);
    // a modeless dialog ended there fails its creation
    CInputDlg modeless;
    modeless.m_endInInit = IDCANCEL;
    size_t before = w32drv::TopLevelWindows().size();
    EXPECT_FALSE(modeless.CreateIndirect(tmpl.Get()));
    EXPECT_EQ(modeless.m_hWnd, nullptr);
    ASSERT_NE(modeless.m_hWndAtInit, nullptr);
    EXPECT_FALSE(IsWindow(modeless.m_hWndAtInit));
    EXPECT_EQ(w32drv::TopLevelWindows().size(), before);
}

TEST_F(ModalTest, EscapeEndsTheDialogWithIdCancelAndItCanRunAgain) {
    w32drv::Type("x");
    w32drv::Key(VK_ESCAPE);
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.cancelCalls, 1);
    EXPECT_EQ(dlg.okCalls, 0);
    HWND first = dlg.m_hWndAtInit;
    dlg.m_edit.userMessages = 0;
    w32drv::Type("again");
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_NE(dlg.m_hWndAtInit, first);
    EXPECT_EQ(dlg.m_text, "again");
    EXPECT_EQ(dlg.m_edit.userMessages, 1);
}

TEST_F(ModalTest, DestroyingTheDialogFromInsideEndsTheLoopWithIdAbort) {
    class CDestroyingDlg : public CDialog {
    protected:
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            PostMessage(WM_USER + 20);
            return TRUE;
        }
        BOOL PreTranslateMessage(MSG* pMsg) override {
            if (pMsg->message == WM_USER + 20) {
                DestroyWindow();
                return TRUE;
            }
            return CDialog::PreTranslateMessage(pMsg);
        }
    } destroying;
    ASSERT_TRUE(destroying.InitModalIndirect(tmpl.Get(), CWnd::FromHandle(parent)));
    EXPECT_EQ(destroying.DoModal(), IDABORT);
    EXPECT_EQ(destroying.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(parent));
}

TEST_F(ModalTest, ADialogThatRefusesToCloseIsLeftThroughTheQuitMessage) {
    dlg.m_refuseCancel = true;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_GE(dlg.cancelCalls, 1);
    EXPECT_FALSE(IsWindow(dlg.m_hWndAtInit));
    EXPECT_TRUE(IsWindowEnabled(parent));
    // the quit message stays for the loops outside
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

namespace {

// Apply opens a second modal dialog over the first, as the array index dialog opens over the
// selection dialog.
class COuterDlg : public CInputDlg {
public:
    DialogTemplate innerTemplate = InputDialogTemplate("Inner");
    CInputDlg inner;
    INT_PTR innerResult = 0;
    bool disabledWhileInner = false;

protected:
    afx_msg void OnApply() {
        inner.m_parent = m_hWnd;
        inner.InitModalIndirect(innerTemplate.Get(), this);
        innerResult = inner.DoModal();
        disabledWhileInner = inner.m_parentDisabledAtInit;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(COuterDlg, CInputDlg)
    ON_BN_CLICKED(kIdApply, &COuterDlg::OnApply)
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(ModalTest, AModalDialogOpenedFromAModalDialogReturnsToIt) {
    COuterDlg outer;
    outer.m_parent = parent;
    ASSERT_TRUE(outer.InitModalIndirect(tmpl.Get(), CWnd::FromHandle(parent)));
    for (int i = 0; i < 3; ++i)
        w32drv::Key(VK_TAB); // edit -> OK -> Cancel -> Apply
    w32drv::Key(VK_RETURN);  // Apply: the inner dialog
    w32drv::Type("inner");
    w32drv::Key(VK_RETURN); // ends the inner dialog only
    w32drv::Key(VK_ESCAPE); // then the outer one
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(outer.innerResult, IDOK);
    EXPECT_EQ(outer.inner.m_text, "inner");
    EXPECT_TRUE(outer.disabledWhileInner);
    EXPECT_EQ(outer.okCalls, 0);
    EXPECT_EQ(outer.cancelCalls, 1);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(GetActiveWindow(), parent);
}

TEST_F(ModalTest, AMissingTemplateGivesMinusOneAndTouchesNothing) {
    CDialog missing(4711, CWnd::FromHandle(parent));
    size_t before = w32drv::TopLevelWindows().size();
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(w32drv::TopLevelWindows().size(), before);
    CDialog modeless;
    EXPECT_FALSE(modeless.Create(4711));
    EXPECT_EQ(modeless.m_hWnd, nullptr);
}

TEST_F(ModalTest, TheModalLoopRunsThroughTheApplicationObject) {
    class CCountingApp : public CWinApp {
    public:
        int preTranslations = 0;
        int pumps = 0;
        BOOL PreTranslateMessage(MSG* pMsg) override {
            ++preTranslations;
            return CWinApp::PreTranslateMessage(pMsg);
        }
        BOOL PumpMessage() override {
            ++pumps;
            return CWinApp::PumpMessage();
        }
    } app;
    ASSERT_EQ(AfxGetApp(), &app);
    w32drv::Type("ok");
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_text, "ok");
    EXPECT_GT(app.pumps, 0);
    EXPECT_EQ(app.preTranslations, app.pumps);
    EXPECT_TRUE(dlg.PreTranslated(dlg.m_editAtInit, WM_CHAR, 'o'));
}

// ---- modeless dialogs ----

namespace {

class CSelfDeletingDlg : public CDialog {
public:
    explicit CSelfDeletingDlg(std::vector<std::string>* events) : m_events(events) {}
    ~CSelfDeletingDlg() override { m_events->push_back("deleted"); }
    CCountingEdit m_edit;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kIdEdit, m_edit); }
    void OnCancel() override {
        m_events->push_back("cancel");
        DestroyWindow();
    }
    afx_msg void OnDestroy() {
        m_events->push_back("destroy");
        CDialog::OnDestroy();
    }
    void PostNcDestroy() override {
        m_events->push_back(m_hWnd ? "postncdestroy attached" : "postncdestroy");
        CDialog::PostNcDestroy();
        delete this;
    }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::string>* m_events;
};

// clang-format off
BEGIN_MESSAGE_MAP(CSelfDeletingDlg, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

using ModelessTest = AfxTest;

} // namespace

TEST_F(ModelessTest, AModelessDialogThatDeletesItselfIsGoneWithItsWindow) {
    DialogTemplate tmpl = InputDialogTemplate();
    std::vector<std::string> events;
    auto* dlg = new CSelfDeletingDlg(&events);
    ASSERT_TRUE(dlg->CreateIndirect(tmpl.Get()));
    HWND hwnd = dlg->m_hWnd;
    dlg->ShowWindow(SW_SHOW);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), dlg);
    w32drv::ClickWindow(GetDlgItem(hwnd, IDCANCEL));
    w32drv::Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"cancel", "destroy", "postncdestroy", "deleted"}));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);

    // a creation that fails ends such a dialog once
    events.clear();
    dlg = new CSelfDeletingDlg(&events);
    DialogTemplate broken(WS_POPUP, 0, 0, 100, 50, "Broken");
    broken.Item(0x99, "", 5, WS_VISIBLE, 0, 0, 10, 10); // a control class that does not exist
    EXPECT_FALSE(dlg->CreateIndirect(broken.Get()));
    EXPECT_EQ(events, (std::vector<std::string>{"destroy", "postncdestroy", "deleted"}));
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
}

TEST_F(ModelessTest, ADialogThatIsOpenCannotRunModallyToo) {
    DialogTemplate tmpl = InputDialogTemplate();
    CInputDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    ASSERT_TRUE(dlg.InitModalIndirect(tmpl.Get()));
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    EXPECT_EQ(dlg.okCalls, 0);
}

TEST_F(ModelessTest, EnterInAnEditPressesTheDefaultButtonThroughIsDialogMessage) {
    DialogTemplate tmpl = InputDialogTemplate();
    CInputDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetDefID(kIdApply);
    HWND edit = GetDlgItem(dlg.m_hWnd, kIdEdit);
    SetFocus(edit);
    MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(dlg.IsDialogMessage(&enter));
    EXPECT_EQ(dlg.applyClicks, 1);
    // a message of a window outside the dialog is not the dialog's
    HWND outside = PlainTopLevel();
    MSG other{outside, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(dlg.PreTranslateMessage(&other));
    EXPECT_EQ(dlg.applyClicks, 1);
}

namespace {

// The host's message loop with a message hook that lets the module pre-translate keyboard input,
// as the selection dialog does for its modeless window.
HHOOK g_hook = nullptr;
LRESULT CALLBACK PreTranslatingHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST) {
        if (AfxGetApp()->PreTranslateMessage(msg)) {
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

TEST_F(ModelessTest, AHostLoopThatPreTranslatesThroughTheApplicationDrivesTheDialogKeys) {
    CWinApp app;
    DialogTemplate tmpl = InputDialogTemplate();
    CInputDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    dlg.ShowWindow(SW_SHOW);
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, PreTranslatingHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    w32drv::Pump();
    ASSERT_EQ(GetFocus(), dlg.m_edit.m_hWnd);
    w32drv::Type("hi");
    w32drv::Key(VK_TAB); // dialog navigation: only IsDialogMessage moves the focus
    w32drv::Pump();
    EXPECT_EQ(TextOf(dlg.m_edit.m_hWnd), "hi");
    EXPECT_EQ(GetFocus(), dlg.GetDlgItem(IDOK)->m_hWnd);
    w32drv::Key(VK_ESCAPE);
    w32drv::Pump();
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(dlg.cancelCalls, 1);
    EXPECT_FALSE(dlg.IsWindowVisible()); // EndDialog hides a modeless dialog
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
}
