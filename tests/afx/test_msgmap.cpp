// Window objects and message maps: creation-time attachment, dispatch to the most derived entry,
// chaining to base maps, default processing, destruction, style changes, pre-translation up the
// window tree and temporary objects of a call.
#include "fixture.h"

#include <algorithm>

namespace {

// Logs what reaches it (several windows may share one log); its maps are searched before CWnd's.
class CLogWnd : public CWnd {
public:
    Strings own, *log = &own;
    std::string name;
    bool refuse = false, consume = false; // OnCreate fails; PreTranslateMessage consumes
    CLogWnd* nested = nullptr;            // created as a child from WM_CREATE
    HWND created = nullptr;
    HWND foreign = nullptr; // wrapped, with a device context and a brush, on WM_USER + 1
    CWnd* wrapped = nullptr;

    BOOL PreTranslateMessage(MSG*) override {
        log->push_back("pre " + name);
        return consume;
    }

protected:
    std::string Attached(const std::string& what) const {
        return what + (CWnd::FromHandlePermanent(m_hWnd) == this ? " attached" : "");
    }
    afx_msg LRESULT OnNcCreateMessage(WPARAM, LPARAM) {
        log->push_back(Attached("nccreate"));
        return Default();
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        created = m_hWnd;
        log->push_back(Attached(std::string("create ") + cs->lpszName));
        if (refuse || CWnd::OnCreate(cs) == -1) return -1;
        if (nested) nested->Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 20), this, 12);
        return 0;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { log->push_back("base timer " + std::to_string(nIDEvent)); }
    afx_msg LRESULT OnUser5(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }
    afx_msg LRESULT OnWrap(WPARAM, LPARAM) {
        wrapped = CWnd::FromHandle(foreign);
        HDC hdc = ::GetDC(m_hWnd);
        CDC::FromHandle(hdc);
        CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        ::ReleaseDC(m_hWnd, hdc);
        return 0;
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        log->push_back("size");
        CWnd::OnSize(nType, cx, cy);
    }
    afx_msg void OnClose() {
        log->push_back("close");
        CWnd::OnClose(); // default processing destroys the window
    }
    afx_msg void OnDestroy() {
        log->push_back("destroy");
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override { // the object should be detached by now
        log->push_back(std::string("postncdestroy") + (m_hWnd ? " attached" : "") +
                       (CWnd::FromHandlePermanent(created) ? " mapped" : ""));
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CLogWnd, CWnd)
    ON_MESSAGE(WM_NCCREATE, &CLogWnd::OnNcCreateMessage)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_USER + 1, &CLogWnd::OnWrap)
    ON_MESSAGE(WM_USER + 5, &CLogWnd::OnUser5)
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

class CDerivedWnd : public CLogWnd {
protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        log->push_back("derived timer " + std::to_string(nIDEvent));
        if (nIDEvent == 2) CLogWnd::OnTimer(nIDEvent);
    }
    afx_msg LRESULT OnUser6(WPARAM, LPARAM) { return 66; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CDerivedWnd, CLogWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_USER + 6, &CDerivedWnd::OnUser6)
END_MESSAGE_MAP()
// clang-format on

using MsgMapTest = AfxTest;

} // namespace

TEST_F(MsgMapTest, TheMostDerivedEntryWinsBaseEntriesFollowAndTheRestGetsDefaultProcessing) {
    CDerivedWnd wnd;
    ASSERT_TRUE(Popup(wnd, "Derived"));
    // attached before the window saw its first message
    EXPECT_EQ(wnd.own, (Strings{"nccreate attached", "create Derived attached", "size"}));
    EXPECT_EQ(TextOf(wnd.m_hWnd), "Derived"); // WM_NCCREATE's default processing took the title
    EXPECT_EQ(Maps()->m_hHookCbtFilter, nullptr); // the creation hook is gone

    wnd.own.clear();
    wnd.SetTimer(1, 100);
    w32drv::Wait(150);
    w32drv::Pump();
    wnd.KillTimer(1);
    wnd.SendMessage(WM_TIMER, 2); // the derived handler calls the base one for this timer
    EXPECT_EQ(wnd.own, (Strings{"derived timer 1", "derived timer 2", "base timer 2"}));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 5, 40, 2), 42); // only the base map has it
    EXPECT_EQ(wnd.SendMessage(WM_USER + 6), 66);
    wnd.SetWindowText("Renamed"); // no entry anywhere
    EXPECT_EQ(TextOf(wnd.m_hWnd), "Renamed");
    EXPECT_EQ(wnd.SendMessage(WM_USER + 7), 0);

    // a handler that calls the base handler gets the default processing: WM_CLOSE destroys
    HWND hwnd = wnd.m_hWnd;
    wnd.own.clear();
    wnd.SendMessage(WM_CLOSE);
    EXPECT_EQ(wnd.own, (Strings{"close", "destroy", "postncdestroy"}));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST_F(MsgMapTest, ACreationThatFailsEndsTheObjectOnceAndNestedCreationsAttachTheirOwn) {
    CLogWnd refused;
    refused.refuse = true;
    EXPECT_FALSE(Popup(refused, "No"));
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(std::count(refused.own.begin(), refused.own.end(), "postncdestroy"), 1);
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
    // before the window exists
    CLogWnd wnd;
    EXPECT_FALSE(wnd.CreateEx(0, "NoSuchClass", "No", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.own, Strings{"postncdestroy"});
    // nothing is left waiting to be attached: the next window is an ordinary one
    EXPECT_EQ(Maps()->m_pWndInit, nullptr);
    EXPECT_EQ(Maps()->m_hHookCbtFilter, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(PlainTopLevel()), nullptr);

    CLogWnd parent, child;
    parent.nested = &child;
    ASSERT_TRUE(Popup(parent, "Parent"));
    EXPECT_EQ(child.own.at(1), "create child attached");
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(parent.GetDlgItem(12), &child);
}

TEST_F(MsgMapTest, StyleChangesRepositionOnlyOnRequestAndAnObjectThatGoesFirstTakesItsWindow) {
    HWND hwnd;
    {
        CLogWnd wnd;
        ASSERT_TRUE(Popup(wnd, "Style"));
        CRect before, after;
        wnd.GetClientRect(before);
        wnd.own.clear();
        EXPECT_TRUE(wnd.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED));
        EXPECT_TRUE(wnd.GetStyle() & WS_BORDER);
        EXPECT_EQ(wnd.own, Strings{"size"});
        wnd.GetClientRect(after);
        EXPECT_LT(after.Width(), before.Width());
        wnd.own.clear();
        EXPECT_FALSE(wnd.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED)); // unchanged: nothing happens
        EXPECT_TRUE(wnd.ModifyStyle(WS_BORDER, 0));                    // no flags: no repositioning
        EXPECT_TRUE(wnd.own.empty());
        hwnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(Maps()->m_mapHWND.GetPermanentCount(), 0u);
    CLogWnd wnd;
    ASSERT_TRUE(Popup(wnd, "Twice"));
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(wnd.DestroyWindow()); // nothing left to destroy
}

TEST_F(MsgMapTest, PreTranslationWalksFromTheTargetUpTheParentsAndOwners) {
    Strings order;
    CLogWnd owner, top, child;
    for (auto* w : {&owner, &top, &child})
        w->log = &order;
    owner.name = "owner";
    top.name = "top";
    child.name = "child";
    ASSERT_TRUE(Popup(owner, "Owner"));
    ASSERT_TRUE(Popup(top, "Top", owner.m_hWnd));
    HWND plainMiddle = PlainChild(top.m_hWnd, 1); // no object: skipped
    ASSERT_TRUE(
        child.Create(nullptr, "Child", WS_VISIBLE, CRect(0, 0, 20, 20), CWnd::FromHandle(plainMiddle), 2));

    MSG msg{child.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    order.clear();
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(nullptr, &msg));
    EXPECT_EQ(order, (Strings{"pre child", "pre top", "pre owner"}));
    order.clear();
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(top.m_hWnd, &msg)); // stops after the given window
    EXPECT_EQ(order, (Strings{"pre child", "pre top"}));
    order.clear();
    top.consume = true;
    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
    EXPECT_EQ(order, (Strings{"pre child", "pre top"}));
}

TEST_F(MsgMapTest, TemporaryObjectsOfACallEndWithTheCallOrWithTheirWindow) {
    CLogWnd wnd;
    ASSERT_TRUE(Popup(wnd, "Wrapping"));
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

    // a managed state scope is a call too; an inner one keeps what the outer one handed out
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        HDC hdc = GetDC(wnd.m_hWnd);
        CDC* dc = CDC::FromHandle(hdc);
        {
            AFX_MANAGE_STATE(AfxGetStaticModuleState());
            EXPECT_EQ(CDC::FromHandle(hdc), dc);
        }
        EXPECT_EQ(Maps()->m_mapHDC.GetTemporaryCount(), 1u);
        EXPECT_EQ(dc->GetSafeHdc(), hdc);
        ReleaseDC(wnd.m_hWnd, hdc);
    }
    EXPECT_EQ(Maps()->m_mapHDC.GetTemporaryCount(), 0u);
    EXPECT_EQ(Maps()->m_nTempMapLock, 0);
}
