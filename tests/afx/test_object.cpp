// Run-time class information: names, kinds and checked down-casts, for framework classes and for
// classes that declare their own, as the system's controls do.
#include <afxcmn.h>

#include "fixture.h"

namespace {

class CNamedList : public CListBox {
    DECLARE_DYNAMIC(CNamedList)
};
IMPLEMENT_DYNAMIC(CNamedList, CListBox)

class CNamedCombo : public CComboBox {
    DECLARE_DYNAMIC(CNamedCombo)
};
IMPLEMENT_DYNAMIC(CNamedCombo, CComboBox)

using ObjectTest = AfxTest;

} // namespace

TEST_F(ObjectTest, EveryClassKnowsItsNameAndItsBases) {
    CNamedList list;
    EXPECT_STREQ(list.GetRuntimeClass()->m_lpszClassName, "CNamedList");
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CNamedList)));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CListBox)));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(list.IsKindOf(RUNTIME_CLASS(CComboBox)));
    EXPECT_FALSE(list.IsKindOf(RUNTIME_CLASS(CNamedCombo)));
    CNamedCombo combo;
    EXPECT_STREQ(combo.GetRuntimeClass()->m_lpszClassName, "CNamedCombo");
    EXPECT_TRUE(combo.IsKindOf(RUNTIME_CLASS(CComboBox)));
    EXPECT_EQ(RUNTIME_CLASS(CNamedList)->GetBaseClass(), RUNTIME_CLASS(CListBox));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->GetBaseClass(), nullptr);

    CWnd* asWindow = &list;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CListBox, asWindow), &list);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CComboBox, asWindow), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CComboBox, static_cast<CWnd*>(nullptr)), nullptr);

    CToolTipCtrl tip;
    CDialog dlg;
    CBrush brush;
    CClientDC dc(nullptr);
    EXPECT_STREQ(tip.GetRuntimeClass()->m_lpszClassName, "CToolTipCtrl");
    EXPECT_STREQ(dlg.GetRuntimeClass()->m_lpszClassName, "CDialog");
    EXPECT_TRUE(brush.IsKindOf(RUNTIME_CLASS(CGdiObject)));
    EXPECT_TRUE(dc.IsKindOf(RUNTIME_CLASS(CDC)));
    EXPECT_FALSE(dc.IsKindOf(RUNTIME_CLASS(CPaintDC)));
}

TEST_F(ObjectTest, TemporaryWindowObjectsArePlainWindows) {
    HWND plain = PlainTopLevel();
    CWnd* temp = CWnd::FromHandle(plain);
    EXPECT_STREQ(temp->GetRuntimeClass()->m_lpszClassName, "CWnd");
    // a window attached to a control object is found as that object
    CNamedList list;
    ASSERT_TRUE(list.CreateEx(0, "ListBox", nullptr, WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CNamedList, CWnd::FromHandle(list.m_hWnd)), &list);
}
