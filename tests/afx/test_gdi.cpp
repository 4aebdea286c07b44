// Geometry helpers and GDI wrappers: rectangles, points, brushes, fonts, device contexts with
// selection and text measurement, and painting through CPaintDC.
#include "fixture.h"

using GdiTest = AfxTest;

TEST_F(GdiTest, RectangleHelpersFollowTheirWin32Counterparts) {
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    EXPECT_EQ(r.Size(), CSize(100, 50));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 70))); // right and bottom edges are outside
    r.OffsetRect(5, -5);
    EXPECT_EQ(r, CRect(15, 15, 115, 65));
    r.InflateRect(5, 5);
    EXPECT_EQ(r, CRect(10, 10, 120, 70));
    r.DeflateRect(10, 10);
    EXPECT_EQ(r, CRect(20, 20, 110, 60));
    CRect inter;
    EXPECT_TRUE(inter.IntersectRect(r, CRect(100, 0, 200, 30)));
    EXPECT_EQ(inter, CRect(100, 20, 110, 30));
    EXPECT_FALSE(inter.IntersectRect(r, CRect(500, 500, 600, 600)));
    EXPECT_TRUE(inter.IsRectEmpty());
    CRect flipped(50, 40, 10, 0);
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(10, 0, 50, 40));
    flipped.MoveToXY(100, 200);
    EXPECT_EQ(flipped, CRect(100, 200, 140, 240));
    EXPECT_TRUE(CRect().IsRectNull());
    // it passes where a RECT* is expected
    HWND plain = PlainTopLevel();
    CRect client;
    GetClientRect(plain, client);
    EXPECT_EQ(client, CRect(0, 0, client.right, client.bottom));
    EXPECT_GT(client.Width(), 0);
}

TEST_F(GdiTest, PointsFromMessageParametersKeepTheirSign) {
    CPoint p(MAKELPARAM(-5, 7));
    EXPECT_EQ(p.x, -5);
    EXPECT_EQ(p.y, 7);
    p.Offset(5, 3);
    EXPECT_EQ(p, CPoint(0, 10));
    EXPECT_EQ(CPoint(3, 4) - CPoint(1, 1), CSize(2, 3));
    EXPECT_EQ(CPoint(3, 4) + CSize(1, 1), CPoint(4, 5));
}

TEST_F(GdiTest, ABrushOwnsItsHandleAndFromHandleFindsIt) {
    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(10, 20, 30)));
    HGDIOBJ handle = brush.GetSafeHandle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(brush.GetObjectType(), static_cast<UINT>(OBJ_BRUSH));
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
}

TEST_F(GdiTest, ABrushGoingOutOfScopeDeletesItsHandle) {
    HGDIOBJ handle;
    {
        CBrush brush(RGB(5, 5, 5));
        handle = brush.m_hObject;
        ASSERT_NE(GetObjectType(handle), 0u);
    }
    EXPECT_EQ(GetObjectType(handle), 0u);
    EXPECT_EQ(Maps()->m_mapHGDIOBJ.GetPermanentCount(), 0u);
}

TEST_F(GdiTest, ATemporaryWrapperNeverDeletesWhatItWraps) {
    HBRUSH foreign = CreateSolidBrush(RGB(9, 9, 9));
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        CBrush* temp = CBrush::FromHandle(foreign);
        ASSERT_NE(temp, nullptr);
        EXPECT_EQ(static_cast<HBRUSH>(*temp), foreign);
        EXPECT_EQ(CBrush::FromHandle(foreign), temp);
    }
    EXPECT_EQ(Maps()->m_mapHGDIOBJ.GetTemporaryCount(), 0u);
    EXPECT_EQ(GetObjectType(foreign), static_cast<DWORD>(OBJ_BRUSH));
    DeleteObject(foreign);
}

TEST_F(GdiTest, TheDialogFontIsReadableThroughCFont) {
    DialogTemplate tmpl = InputDialogTemplate();
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    CFont* font = dlg.GetFont();
    ASSERT_NE(font, nullptr);
    LOGFONT lf{};
    ASSERT_GT(font->GetLogFont(&lf), 0);
    EXPECT_STREQ(lf.lfFaceName, "MS Shell Dlg");
    EXPECT_EQ(lf.lfHeight, -MulDiv(8, 96, 72));
}

TEST_F(GdiTest, AClientDcMeasuresTextWithTheSelectedFont) {
    DialogTemplate tmpl = InputDialogTemplate();
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    CClientDC dc(&dlg);
    ASSERT_NE(dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
    CFont* previous = dc.SelectObject(dlg.GetFont());
    EXPECT_NE(previous, nullptr);
    EXPECT_EQ(dc.GetCurrentFont()->m_hObject, dlg.GetFont()->m_hObject);
    // "MS Shell Dlg" 8 pt: 6 x 13 pixels per character
    EXPECT_EQ(dc.GetTextExtent(std::string("abc")), CSize(18, 13));
    EXPECT_EQ(dc.GetTextExtent("A", 1), CSize(6, 13));
    EXPECT_EQ(dc.GetTextExtent(std::string()).cx, 0);
    TEXTMETRIC tm{};
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, 13);

    COLORREF oldBk = dc.SetBkColor(RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.SetBkColor(oldBk), RGB(1, 2, 3));
    dc.SetTextColor(RGB(4, 5, 6));
    EXPECT_EQ(dc.GetTextColor(), RGB(4, 5, 6));
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    dc.SelectObject(previous);
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
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Painted", WS_POPUP | WS_VISIBLE, 0, 0, 120, 80, nullptr, nullptr));
    w32drv::Pump();
    int before = wnd.paints;
    EXPECT_GE(before, 1);
    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, before + 1);
    EXPECT_EQ(wnd.painted.Width(), 120);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(wnd.m_hWnd, &update, FALSE));
    EXPECT_EQ(Maps()->m_mapHDC.GetPermanentCount(), 0u);
}
