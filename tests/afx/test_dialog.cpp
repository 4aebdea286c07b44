// Dialogs: the modal loop with OnInitDialog, control binding, pre-translation, OnOK and OnCancel
// driven by typed keys; input running out; ending during initialisation; missing templates;
// modeless dialogs that delete themselves; a host loop that pre-translates through the
// application object; commands and notifications of real controls, WM_NOTIFY and WM_CTLCOLOR*.
#include <afxcmn.h>

#include "fixture.h"

#include <algorithm>

namespace {

// An edit that counts a private message and keeps F2 for itself in pre-translation.
class CCountingEdit : public CEdit {
public:
    int userMessages = 0, f2Keys = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_F2) return CEdit::PreTranslateMessage(pMsg);
        ++f2Keys;
        return TRUE;
    }

protected:
    afx_msg LRESULT OnUser1(WPARAM, LPARAM) { return ++userMessages; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CCountingEdit, CEdit)
    ON_MESSAGE(WM_USER + 1, &CCountingEdit::OnUser1)
END_MESSAGE_MAP()
// clang-format on

const UINT kDestroyNow = WM_USER + 20;

class CInputDlg : public CDialog {
public:
    CCountingEdit m_edit;
    CStatic m_label;
    std::string m_text;
    HWND m_hWndAtInit = nullptr, m_editAtInit = nullptr;
    bool m_boundAtInit = false, m_ownerDisabledAtInit = false, m_shown = false;
    bool m_requireText = false, m_refuseCancel = false, m_destroyInLoop = false;
    int m_endInInit = 0;
    Strings own, *log = &own;     // OnOK, OnCancel, Apply and WM_DESTROY, in order
    bool m_deleteSelf = false;    // then Cancel destroys it, and PostNcDestroy deletes it
    CInputDlg* m_inner = nullptr; // Apply runs it modally over this one
    INT_PTR m_innerResult = 0;
    std::vector<MSG> preTranslated;
    Strings editTexts;
    std::vector<UINT> notifyCodes;
    std::vector<std::pair<HWND, UINT>> colorRequests;
    CBrush labelBrush{RGB(1, 2, 3)};

    ~CInputDlg() override {
        if (m_deleteSelf) log->push_back("deleted");
    }

    BOOL PreTranslateMessage(MSG* pMsg) override {
        preTranslated.push_back(*pMsg);
        if (pMsg->message != kDestroyNow) return CDialog::PreTranslateMessage(pMsg);
        DestroyWindow();
        return TRUE;
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
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        m_ownerDisabledAtInit = owner && !::IsWindowEnabled(owner);
        m_edit.PostMessage(WM_USER + 1, 7, 0);
        if (m_destroyInLoop) PostMessage(kDestroyNow);
        if (m_endInInit) EndDialog(m_endInInit);
        return TRUE;
    }
    void OnOK() override {
        log->push_back("ok");
        m_edit.GetWindowText(m_text);
        CDialog::OnOK();
    }
    void OnCancel() override {
        log->push_back("cancel");
        if (m_deleteSelf)
            DestroyWindow();
        else if (!m_refuseCancel)
            CDialog::OnCancel();
    }
    afx_msg void OnDestroy() {
        log->push_back("destroy");
        CDialog::OnDestroy();
    }
    void PostNcDestroy() override {
        CDialog::PostNcDestroy();
        if (!m_deleteSelf) return;
        log->push_back(m_hWnd ? "postncdestroy attached" : "postncdestroy");
        delete this;
    }
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) {
        m_shown = m_shown || bShow;
        CDialog::OnShowWindow(bShow, nStatus);
    }
    afx_msg void OnEditChange() {
        std::string text;
        GetDlgItemText(kIdEdit, text);
        editTexts.push_back(text);
    }
    afx_msg void OnClickFive(NMHDR* pNMHDR, LRESULT* pResult) {
        notifyCodes.push_back(pNMHDR->code);
        *pResult = 5;
    }
    afx_msg void OnDoubleClickFive(NMHDR*, LRESULT* pResult) { *pResult = 55; }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        colorRequests.emplace_back(pWnd->GetSafeHwnd(), nCtlColor);
        if (pWnd->GetDlgCtrlID() != kIdLabel) return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        pDC->SetBkColor(GetSysColor(COLOR_INFOBK));
        return labelBrush;
    }
    afx_msg void OnApply() {
        log->push_back("apply");
        if (m_inner) m_innerResult = m_inner->DoModal();
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CInputDlg, CDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_DESTROY()
    ON_BN_CLICKED(kIdApply, &CInputDlg::OnApply)
    ON_EN_CHANGE(kIdEdit, &CInputDlg::OnEditChange)
    ON_NOTIFY(NM_CLICK, 5, &CInputDlg::OnClickFive)
    ON_NOTIFY(NM_DBLCLK, 5, &CInputDlg::OnDoubleClickFive)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

class ModalTest : public AfxTest {
protected:
    void SetUp() override {
        AfxTest::SetUp();
        parent = PlainTopLevel();
        ASSERT_TRUE(dlg.InitModalIndirect(tmpl.Get(), CWnd::FromHandle(parent)));
    }
    // The dialog's window is gone and its parent enabled and active again.
    void ExpectEnded(const CInputDlg& d) {
        EXPECT_FALSE(IsWindow(d.m_hWndAtInit));
        EXPECT_EQ(d.m_hWnd, nullptr);
        EXPECT_TRUE(IsWindowEnabled(parent));
        EXPECT_EQ(GetActiveWindow(), parent);
    }
    HWND parent = nullptr;
    CInputDlg dlg;
};

} // namespace

TEST_F(ModalTest, TypedTextAndEnterEndTheDialogWithIdOkThroughTheApplicationAndReleaseTheParent) {
    class CCountingApp : public CWinApp {
    public:
        int preTranslations = 0, pumps = 0;
        BOOL PreTranslateMessage(MSG* pMsg) override {
            ++preTranslations;
            return CWinApp::PreTranslateMessage(pMsg);
        }
        BOOL PumpMessage() override {
            ++pumps;
            return CWinApp::PumpMessage();
        }
    } app;
    w32drv::Key(VK_F2); // the edit keeps it for itself
    w32drv::Type("qbc");
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.own, (Strings{"ok", "destroy"}));
    EXPECT_EQ(dlg.m_text, "qbc");
    EXPECT_TRUE(dlg.m_boundAtInit);
    EXPECT_TRUE(dlg.m_shown);
    EXPECT_GT(app.pumps, 0);
    EXPECT_EQ(app.preTranslations, app.pumps);
    // pre-translation saw the keys, characters and posted messages of the children
    HWND edit = dlg.m_editAtInit;
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_KEYDOWN, 'Q'));
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_CHAR, 'q'));
    // the message posted in OnInitDialog passed pre-translation and then reached the edit, once
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_USER + 1, 7));
    EXPECT_EQ(dlg.m_edit.userMessages, 1);
    // a key the child consumed in its own pre-translation never reached the dialog's
    EXPECT_EQ(dlg.m_edit.f2Keys, 1);
    EXPECT_FALSE(dlg.PreTranslated(edit, WM_KEYDOWN, VK_F2));
    EXPECT_TRUE(dlg.PreTranslated(edit, WM_KEYUP, VK_F2));
    // the parent was disabled while the dialog ran; at the end every bound object let go
    EXPECT_TRUE(dlg.m_ownerDisabledAtInit);
    ExpectEnded(dlg);
    EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_label.m_hWnd, nullptr);
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
}

TEST_F(ModalTest, ADialogWithoutAParentIsCancelledWhenTheInputRunsOut) {
    CInputDlg orphan;
    ASSERT_TRUE(orphan.InitModalIndirect(tmpl.Get()));
    EXPECT_EQ(orphan.DoModal(), IDCANCEL);
    EXPECT_EQ(orphan.own, (Strings{"cancel", "destroy"}));
    EXPECT_EQ(w32drv::InputExhaustedDialogs(), std::vector<HWND>{orphan.m_hWndAtInit});
    EXPECT_TRUE(orphan.m_boundAtInit);
    EXPECT_FALSE(IsWindow(orphan.m_hWndAtInit));
}

TEST_F(ModalTest, EscapeCancelsAndOnTheNextRunOkThatFailsDataExchangeKeepsTheDialogOpen) {
    w32drv::Type("x");
    w32drv::Key(VK_ESCAPE);
    ASSERT_EQ(dlg.DoModal(), IDCANCEL);
    HWND first = dlg.m_hWndAtInit;
    dlg.m_edit.userMessages = 0;
    dlg.m_requireText = true;
    w32drv::Key(VK_RETURN); // empty: refused
    w32drv::Type("again");
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_NE(dlg.m_hWndAtInit, first);
    EXPECT_EQ(dlg.own, (Strings{"cancel", "destroy", "ok", "ok", "destroy"}));
    EXPECT_EQ(dlg.m_text, "again");
    EXPECT_EQ(dlg.m_edit.userMessages, 1);
}

TEST_F(ModalTest, EndDialogDuringInitialisationEndsBeforeTheDialogIsShownOrCreated) {
    dlg.m_endInInit = 42;
    w32drv::Key(VK_RETURN); // must not be consumed by a dialog that never ran
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_FALSE(dlg.m_shown);
    EXPECT_EQ(dlg.own, Strings{"destroy"});
    ExpectEnded(dlg);
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

TEST_F(ModalTest, ADialogDestroyedInItsLoopGivesIdAbortAndOneThatRefusesToCloseLeavesThroughQuit) {
    dlg.m_destroyInLoop = true;
    EXPECT_EQ(dlg.DoModal(), IDABORT);
    ExpectEnded(dlg);
    dlg.m_destroyInLoop = false;
    dlg.m_refuseCancel = true;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.own.at(1), "cancel");
    ExpectEnded(dlg);
    MSG msg; // the quit message stays for the loops outside
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(ModalTest, AModalDialogOpenedFromAModalDialogReturnsToIt) {
    CInputDlg inner; // its parent has no window yet: asked when it runs
    ASSERT_TRUE(inner.InitModalIndirect(tmpl.Get(), &dlg));
    dlg.m_inner = &inner;
    for (int i = 0; i < 3; ++i)
        w32drv::Key(VK_TAB); // edit -> OK -> Cancel -> Apply
    w32drv::Key(VK_RETURN);  // Apply: the inner dialog
    w32drv::Type("inner");
    w32drv::Key(VK_RETURN); // ends the inner dialog only
    w32drv::Key(VK_ESCAPE); // then the outer one
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_innerResult, IDOK);
    EXPECT_EQ(inner.m_text, "inner");
    EXPECT_TRUE(inner.m_ownerDisabledAtInit);
    EXPECT_EQ(dlg.own, (Strings{"apply", "cancel", "destroy"}));
    ExpectEnded(dlg);
}

TEST_F(ModalTest, AMissingTemplateOrAnOpenDialogGivesMinusOneAndTouchesNothing) {
    CDialog missing(4711, CWnd::FromHandle(parent));
    size_t before = w32drv::TopLevelWindows().size();
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(w32drv::TopLevelWindows().size(), before);
    EXPECT_FALSE(missing.Create(4711));
    EXPECT_EQ(missing.m_hWnd, nullptr);

    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    EXPECT_TRUE(dlg.own.empty());
}

// ---- modeless dialogs ----

using ModelessTest = AfxTest;

TEST_F(ModelessTest, AModelessDialogThatDeletesItselfIsGoneWithItsWindow) {
    Strings events;
    auto* dlg = new CInputDlg;
    dlg->log = &events;
    dlg->m_deleteSelf = true;
    ASSERT_TRUE(ShowModeless(*dlg));
    HWND hwnd = dlg->m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), dlg);
    w32drv::ClickWindow(GetDlgItem(hwnd, IDCANCEL));
    w32drv::Pump();
    EXPECT_EQ(events, (Strings{"cancel", "destroy", "postncdestroy", "deleted"}));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);

    // a creation that fails ends such a dialog once
    events.clear();
    dlg = new CInputDlg;
    dlg->log = &events;
    dlg->m_deleteSelf = true;
    DialogTemplate broken(WS_POPUP, 0, 0, 100, 50, "Broken");
    broken.Item(0x99, "", 5, WS_VISIBLE, 0, 0, 10, 10); // a control class that does not exist
    EXPECT_FALSE(dlg->CreateIndirect(broken.Get()));
    EXPECT_EQ(events, (Strings{"destroy", "postncdestroy", "deleted"}));
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
}

namespace {

// The host's message loop with a message hook that lets the module pre-translate keyboard input,
// as the selection dialog does for its modeless window.
HHOOK g_hook = nullptr;
LRESULT CALLBACK PreTranslatingHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST && AfxGetApp()->PreTranslateMessage(msg))
        *msg = MSG{msg->hwnd, WM_NULL, 0, 0, msg->time, msg->pt};
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

TEST_F(ModelessTest, IsDialogMessageDrivesTheDialogKeysAlsoFromAHostLoopThroughTheApplication) {
    CWinApp app;
    CInputDlg dlg;
    ASSERT_TRUE(ShowModeless(dlg));
    ASSERT_EQ(GetFocus(), dlg.m_edit.m_hWnd);
    // Enter in the edit presses the default button
    dlg.SetDefID(kIdApply);
    MSG enter{dlg.m_edit.m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(dlg.IsDialogMessage(&enter));
    EXPECT_EQ(dlg.own, Strings{"apply"});
    // a message of a window outside the dialog is not the dialog's
    MSG other{PlainTopLevel(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(dlg.PreTranslateMessage(&other));
    EXPECT_EQ(dlg.own, Strings{"apply"});

    g_hook = SetWindowsHookExA(WH_GETMESSAGE, PreTranslatingHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    dlg.m_edit.SetFocus();
    w32drv::Type("hi");
    w32drv::Key(VK_TAB); // dialog navigation: only IsDialogMessage moves the focus
    w32drv::Pump();
    EXPECT_EQ(TextOf(dlg.m_edit.m_hWnd), "hi");
    EXPECT_EQ(GetFocus(), dlg.GetDlgItem(IDOK)->m_hWnd);
    w32drv::Key(VK_ESCAPE);
    w32drv::Pump();
    UnhookWindowsHookEx(g_hook);
    EXPECT_EQ(dlg.own, (Strings{"apply", "cancel"}));
    EXPECT_FALSE(dlg.IsWindowVisible()); // EndDialog hides a modeless dialog
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
}

TEST_F(ModelessTest, CommandsNotificationsAndColourRequestsReachTheirEntries) {
    CInputDlg dlg;
    ASSERT_TRUE(ShowModeless(dlg));
    w32drv::ClickWindow(dlg.GetDlgItem(kIdApply)->m_hWnd);
    w32drv::Pump();
    EXPECT_EQ(dlg.own, Strings{"apply"});
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdApply + 100, BN_CLICKED), 0); // another control's
    EXPECT_EQ(dlg.own, Strings{"apply"});
    dlg.m_edit.SetFocus();
    w32drv::Type("ab"); // each change is reported
    w32drv::Pump();
    EXPECT_EQ(dlg.editTexts, (Strings{"a", "ab"}));

    const struct {
        UINT_PTR id;
        UINT code;
        LRESULT result;
    } notes[] = {{5, NM_CLICK, 5}, {5, NM_DBLCLK, 55}, {6, NM_CLICK, 0}, {5, NM_RCLICK, 0}};
    for (const auto& n : notes) {
        NMHDR hdr{dlg.m_label.m_hWnd, n.id, n.code};
        EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, n.id, reinterpret_cast<LPARAM>(&hdr)), n.result)
            << n.id << n.code;
    }
    EXPECT_EQ(dlg.notifyCodes, std::vector<UINT>{NM_CLICK});

    // every control colour request reaches OnCtlColor with its kind
    HWND label = dlg.m_label.m_hWnd, edit = dlg.m_edit.m_hWnd;
    dlg.colorRequests.clear();
    RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    w32drv::Pump();
    const auto& asked = dlg.colorRequests;
    EXPECT_GT(std::count(asked.begin(), asked.end(), std::make_pair(label, UINT(CTLCOLOR_STATIC))), 0);
    EXPECT_GT(std::count(asked.begin(), asked.end(), std::make_pair(edit, UINT(CTLCOLOR_EDIT))), 0);
    // the handler's brush is the answer the control gets; others keep the default one
    HDC dc = GetDC(label);
    auto ask = [&](UINT msg, HWND ctl) {
        return reinterpret_cast<HBRUSH>(
            SendMessageA(dlg.m_hWnd, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ctl)));
    };
    EXPECT_EQ(ask(WM_CTLCOLORSTATIC, label), static_cast<HBRUSH>(dlg.labelBrush));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_INFOBK));
    EXPECT_NE(ask(WM_CTLCOLOREDIT, edit), static_cast<HBRUSH>(dlg.labelBrush));
    ReleaseDC(label, dc);
    // the wrappers handed to the handler lived only as long as the message
    EXPECT_EQ(Maps()->m_mapHDC.GetTemporaryCount(), 0u);
}
