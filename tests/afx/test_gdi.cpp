// Geometry helpers and GDI wrappers: rectangles, points, brushes, fonts, device contexts with
// selection and text measurement, and painting through CPaintDC.
#include "fixture.h"

using GdiTest = AfxTest;

TEST_F(GdiTest, RectanglesAndPointsFollowTheirWin32Counterparts) {
    CRect r(10, 20, 110, 70), inter;
    EXPECT_TRUE(r.PtInRect(r.TopLeft()));
    EXPECT_FALSE(r.PtInRect(r.BottomRight())); // right and bottom edges are outside
    EXPECT_TRUE(inter.IntersectRect(r, CRect(100, 0, 200, 30)));
    EXPECT_EQ(inter, CRect(100, 20, 110, 30));
    CRect flipped(50, 40, 10, 0);
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(10, 0, 50, 40));
    EXPECT_EQ(CPoint(MAKELPARAM(-5, 7)), CPoint(-5, 7)); // message parameters keep their sign
}

TEST_F(GdiTest, ABrushOwnsItsHandleAndATemporaryWrapperNeverDeletesWhatItWraps) {
    HGDIOBJ handle;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(10, 20, 30)));
        handle = brush.GetSafeHandle();
        LOGBRUSH lb{};
        ASSERT_GT(brush.GetLogBrush(&lb), 0);
        EXPECT_EQ(lb.lbColor, RGB(10, 20, 30));
        EXPECT_FALSE(brush.CreateSolidBrush(RGB(1, 1, 1))); // holds one already
        EXPECT_EQ(CBrush::FromHandle(static_cast<HBRUSH>(handle)), &brush);
        EXPECT_EQ(CGdiObject::FromHandle(handle), &brush);
        // replacing it: delete, then create anew
        EXPECT_TRUE(brush.DeleteObject());
        EXPECT_EQ(brush.m_hObject, nullptr);
        EXPECT_EQ(GetObjectType(handle), 0u);
        EXPECT_TRUE(brush.CreateSolidBrush(RGB(1, 1, 1)));
        EXPECT_EQ(Maps()->m_mapHGDIOBJ.GetPermanentCount(), 1u);
        handle = brush.m_hObject;
    }
    EXPECT_EQ(GetObjectType(handle), 0u); // went with its object
    EXPECT_EQ(Maps()->m_mapHGDIOBJ.GetPermanentCount(), 0u);

    HBRUSH foreign = CreateSolidBrush(RGB(9, 9, 9));
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        CBrush* temp = CBrush::FromHandle(foreign);
        EXPECT_EQ(static_cast<HBRUSH>(*temp), foreign);
        EXPECT_EQ(CBrush::FromHandle(foreign), temp);
    }
    EXPECT_EQ(Maps()->m_mapHGDIOBJ.GetTemporaryCount(), 0u);
    EXPECT_EQ(GetObjectType(foreign), static_cast<DWORD>(OBJ_BRUSH));
    DeleteObject(foreign);
}

TEST_F(GdiTest, AClientDcMeasuresTextWithTheDialogFont) {
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    CFont* font = dlg.GetFont();
    LOGFONT lf{};
    ASSERT_GT(font->GetLogFont(&lf), 0);
    EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
    EXPECT_EQ(lf.lfHeight, -MulDiv(8, 96, 72));

    CClientDC dc(&dlg);
    ASSERT_NE(dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
    CFont* previous = dc.SelectObject(font);
    EXPECT_NE(previous, nullptr);
    EXPECT_EQ(dc.GetCurrentFont()->m_hObject, font->m_hObject);
    CSize abc = dc.GetTextExtent(std::string("abc")), a = dc.GetTextExtent("a", 1);
    EXPECT_GT(abc.cx, 2 * a.cx);
    EXPECT_EQ(abc.cy, a.cy);
    if (w32drv::kHeadless) { // the headless "MS Shell Dlg" 8 pt: 6 x 13 pixels per character
        EXPECT_EQ(abc, CSize(18, 13));
    }
    EXPECT_EQ(dc.GetTextExtent(std::string()).cx, 0);
    EXPECT_EQ(dc.SelectObject(previous)->m_hObject, font->m_hObject);
}

namespace {

class CPaintedWnd : public CWnd {
public:
    int paints = 0;
    CRect painted;

protected:
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        painted = dc.m_ps.rcPaint;
        dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(255, 0, 0));
        dc.TextOut(2, 2, std::string("x"));
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST_F(GdiTest, APaintDcValidatesTheWindowItPaints) {
    CPaintedWnd wnd;
    ASSERT_TRUE(Popup(wnd, "Painted"));
    w32drv::Pump();
    int before = wnd.paints;
    EXPECT_GE(before, 1);
    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, before + 1);
    EXPECT_EQ(wnd.painted.Width(), 200);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(wnd.m_hWnd, &update, FALSE));
    EXPECT_EQ(Maps()->m_mapHDC.GetPermanentCount(), 0u);
}
