// Run-time class information: names, kinds and checked down-casts, for framework classes and for
// classes that declare their own, as the system's controls do.
#include "fixture.h"

namespace {

class CNamedList : public CListBox {
    DECLARE_DYNAMIC(CNamedList)
};
IMPLEMENT_DYNAMIC(CNamedList, CListBox)

using ObjectTest = AfxTest;

} // namespace

TEST_F(ObjectTest, EveryClassKnowsItsNameItsBasesAndOnlyThem) {
    CNamedList list;
    EXPECT_STREQ(list.GetRuntimeClass()->m_lpszClassName, "CNamedList");
    for (CRuntimeClass* base : {RUNTIME_CLASS(CListBox), RUNTIME_CLASS(CWnd), RUNTIME_CLASS(CObject)})
        EXPECT_TRUE(list.IsKindOf(base)) << base->m_lpszClassName;
    EXPECT_FALSE(list.IsKindOf(RUNTIME_CLASS(CComboBox)));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->GetBaseClass(), nullptr);
    CClientDC dc(nullptr);
    EXPECT_TRUE(dc.IsKindOf(RUNTIME_CLASS(CDC)));
    EXPECT_FALSE(dc.IsKindOf(RUNTIME_CLASS(CPaintDC)));

    CWnd* asWindow = &list;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CListBox, asWindow), &list);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CComboBox, asWindow), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CComboBox, static_cast<CWnd*>(nullptr)), nullptr);
    // a window without an object is a plain CWnd; one with an object is found as that object
    EXPECT_STREQ(CWnd::FromHandle(PlainTopLevel())->GetRuntimeClass()->m_lpszClassName, "CWnd");
    ASSERT_TRUE(list.CreateEx(0, "ListBox", nullptr, WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CNamedList, CWnd::FromHandle(list.m_hWnd)), &list);
}
