// Message maps: creation-time attachment, dispatch to the most derived entry, chaining to base
// maps, default processing, commands and control notifications from real controls, WM_NOTIFY
// and WM_CTLCOLOR*.
#include <afxcmn.h>

#include "fixture.h"

#include <vector>

namespace {

class CBaseWnd : public CWnd {
public:
    std::vector<std::string> log;
    bool attachedAtNcCreate = false;
    bool attachedAtCreate = false;
    int postNcDestroyCalls = 0;

protected:
    afx_msg LRESULT OnNcCreateMessage(WPARAM, LPARAM) {
        attachedAtNcCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        log.push_back("nccreate");
        return Default();
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        attachedAtCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        log.push_back(std::string("create ") + cs->lpszName);
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { log.push_back("base timer " + std::to_string(nIDEvent)); }
    afx_msg LRESULT OnUser5(WPARAM wParam, LPARAM lParam) {
        log.push_back("base user5");
        return static_cast<LRESULT>(wParam) + lParam;
    }
    afx_msg void OnClose() {
        log.push_back("close");
        CWnd::OnClose(); // default processing destroys the window
    }
    void PostNcDestroy() override { ++postNcDestroyCalls; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_NCCREATE, &CBaseWnd::OnNcCreateMessage)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_USER + 5, &CBaseWnd::OnUser5)
    ON_WM_CLOSE()
END_MESSAGE_MAP()
// clang-format on

class CDerivedWnd : public CBaseWnd {
protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        log.push_back("derived timer " + std::to_string(nIDEvent));
        if (nIDEvent == 2) CBaseWnd::OnTimer(nIDEvent);
    }
    afx_msg LRESULT OnUser6(WPARAM, LPARAM) { return 66; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_USER + 6, &CDerivedWnd::OnUser6)
END_MESSAGE_MAP()
// clang-format on

class CRefusingWnd : public CBaseWnd {
protected:
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CRefusingWnd, CBaseWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()
// clang-format on

using MsgMapTest = AfxTest;

} // namespace

TEST_F(MsgMapTest, TheObjectIsAttachedBeforeItsWindowSeesItsFirstMessage) {
    CBaseWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Framed", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr));
    EXPECT_TRUE(wnd.attachedAtNcCreate);
    EXPECT_TRUE(wnd.attachedAtCreate);
    ASSERT_GE(wnd.log.size(), 2u);
    EXPECT_EQ(wnd.log[0], "nccreate");
    EXPECT_EQ(wnd.log[1], "create Framed");
    // the default processing of WM_NCCREATE ran: the title was taken
    EXPECT_EQ(TextOf(wnd.m_hWnd), "Framed");
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd.m_hWnd, GWLP_WNDPROC)), AfxGetAfxWndProc());
    // the creation hook is gone once the window exists
    EXPECT_EQ(Maps()->m_hHookCbtFilter, nullptr);
    EXPECT_EQ(Maps()->m_pWndInit, nullptr);
}

TEST_F(MsgMapTest, TheMostDerivedEntryWinsAndBaseEntriesAreReachedThroughTheChain) {
    CDerivedWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "Derived", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr));
    wnd.log.clear();
    wnd.SetTimer(1, 100);
    w32drv::Wait(150);
    w32drv::Pump();
    wnd.KillTimer(1);
    wnd.SendMessage(WM_TIMER, 2); // the derived handler calls the base one for this timer
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"derived timer 1", "derived timer 2", "base timer 2"}));

    // an entry only the base map has
    EXPECT_EQ(wnd.SendMessage(WM_USER + 5, 40, 2), 42);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 6), 66);
    // no entry anywhere: the window's default processing
    wnd.SetWindowText("Renamed");
    EXPECT_EQ(TextOf(wnd.m_hWnd), "Renamed");
    EXPECT_EQ(wnd.SendMessage(WM_USER + 7), 0);
}

TEST_F(MsgMapTest, AHandlerThatCallsTheBaseHandlerGetsTheDefaultProcessing) {
    CBaseWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "Closing", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr));
    HWND hwnd = wnd.m_hWnd;
    wnd.SendMessage(WM_CLOSE);
    EXPECT_EQ(wnd.log.back(), "close");
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.postNcDestroyCalls, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST_F(MsgMapTest, ACreationThatFailsEndsTheObjectOnce) {
    CRefusingWnd refused; // by its OnCreate
    EXPECT_FALSE(refused.CreateEx(0, nullptr, "No", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(refused.postNcDestroyCalls, 1);
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
    // before the window exists
    CBaseWnd wnd;
    EXPECT_FALSE(wnd.CreateEx(0, "NoSuchClass", "No", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.postNcDestroyCalls, 1);
    EXPECT_TRUE(wnd.log.empty());
    // nothing is left waiting to be attached: the next window is an ordinary one
    EXPECT_EQ(Maps()->m_pWndInit, nullptr);
    EXPECT_EQ(Maps()->m_hHookCbtFilter, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(PlainTopLevel()), nullptr);
}

namespace {

// A window whose WM_CREATE creates a framework child: nested creations attach each object.
class CChildWnd : public CWnd {
public:
    bool created = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        created = CWnd::FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CChildWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()
// clang-format on

class CParentWnd : public CWnd {
public:
    CChildWnd child;
    bool childCreated = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        if (CWnd::OnCreate(cs) == -1) return -1;
        childCreated = child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 20), this, 12) != FALSE;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(MsgMapTest, CreationsNestedInWmCreateAttachTheirOwnObjects) {
    CParentWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, "Parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    EXPECT_TRUE(parent.childCreated);
    EXPECT_TRUE(parent.child.created);
    EXPECT_EQ(parent.child.GetParent(), &parent);
    EXPECT_EQ(parent.child.GetDlgCtrlID(), 12);
    EXPECT_EQ(parent.GetDlgItem(12), &parent.child);
}

// ---- commands and notifications in a dialog ----

namespace {

class CNotifiedDlg : public CDialog {
public:
    int applyClicks = 0;
    std::vector<std::string> editTexts;
    std::vector<UINT> notifyCodes;
    std::vector<std::pair<HWND, UINT>> colorRequests;
    CBrush labelBrush{RGB(1, 2, 3)};

protected:
    afx_msg void OnApply() { ++applyClicks; }
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
        if (pWnd->GetDlgCtrlID() == kIdLabel) {
            pDC->SetBkColor(GetSysColor(COLOR_INFOBK));
            return labelBrush;
        }
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CNotifiedDlg, CDialog)
    ON_BN_CLICKED(kIdApply, &CNotifiedDlg::OnApply)
    ON_EN_CHANGE(kIdEdit, &CNotifiedDlg::OnEditChange)
    ON_NOTIFY(NM_CLICK, 5, &CNotifiedDlg::OnClickFive)
    ON_NOTIFY(NM_DBLCLK, 5, &CNotifiedDlg::OnDoubleClickFive)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

class DialogMapTest : public AfxTest {
protected:
    void SetUp() override {
        AfxTest::SetUp();
        ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
        dlg.ShowWindow(SW_SHOW);
        w32drv::Pump();
    }
    DialogTemplate tmpl = InputDialogTemplate();
    CNotifiedDlg dlg;
};

} // namespace

TEST_F(DialogMapTest, CommandsOfRealControlsReachTheHandlerOfTheirIdAndCode) {
    w32drv::ClickWindow(dlg.GetDlgItem(kIdApply)->m_hWnd);
    w32drv::Pump();
    EXPECT_EQ(dlg.applyClicks, 1);
    // a command of another control does not reach it
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdApply + 100, BN_CLICKED), 0);
    EXPECT_EQ(dlg.applyClicks, 1);
    // typing into the edit reports each change
    dlg.GetDlgItem(kIdEdit)->SetFocus();
    w32drv::Type("ab");
    w32drv::Pump();
    EXPECT_EQ(dlg.editTexts, (std::vector<std::string>{"a", "ab"}));
}

TEST_F(DialogMapTest, NotificationsGoToTheEntryOfTheirCodeAndControlWithTheirResult) {
    HWND child = dlg.GetDlgItem(kIdLabel)->m_hWnd;
    NMHDR click{child, 5, NM_CLICK};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&click)), 5);
    NMHDR dbl{child, 5, NM_DBLCLK};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&dbl)), 55);
    NMHDR otherControl{child, 6, NM_CLICK};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 6, reinterpret_cast<LPARAM>(&otherControl)), 0);
    NMHDR otherCode{child, 5, NM_RCLICK};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&otherCode)), 0);
    EXPECT_EQ(dlg.notifyCodes, std::vector<UINT>{NM_CLICK});
}

TEST_F(DialogMapTest, EveryControlColourRequestReachesOnCtlColorWithItsKind) {
    HWND label = dlg.GetDlgItem(kIdLabel)->m_hWnd;
    HWND edit = dlg.GetDlgItem(kIdEdit)->m_hWnd;
    dlg.colorRequests.clear();
    RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    w32drv::Pump();
    auto asked = [&](HWND hwnd, UINT kind) {
        for (auto& r : dlg.colorRequests)
            if (r.first == hwnd && r.second == kind) return true;
        return false;
    };
    EXPECT_TRUE(asked(label, CTLCOLOR_STATIC));
    EXPECT_TRUE(asked(edit, CTLCOLOR_EDIT));
    // the handler's brush is the answer the control gets; others keep the default one
    HDC dc = GetDC(label);
    EXPECT_EQ(
        reinterpret_cast<HBRUSH>(SendMessageA(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(label))),
        static_cast<HBRUSH>(dlg.labelBrush));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_INFOBK));
    EXPECT_NE(reinterpret_cast<HBRUSH>(SendMessageA(dlg.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(edit))),
              static_cast<HBRUSH>(dlg.labelBrush));
    ReleaseDC(label, dc);
    // the wrappers handed to the handler lived only as long as the message
    EXPECT_EQ(Maps()->m_mapHDC.GetTemporaryCount(), 0u);
}
