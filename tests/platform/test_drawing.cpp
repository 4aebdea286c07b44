// The driver's record of drawing and its count of live GDI objects: what tests of painting code
// read instead of pixels. Headless only (on Windows the screen is the record).
#include "fixture.h"

#include <vector>

TEST_F(Win32Test, TheDrawingRecordHoldsEachCallWithItsDcStateAndLiveGdiObjectsAreCountedByKind) {
    HEADLESS_ONLY("the drawing record and its count of GDI objects");
    HWND top = topLevel();
    HDC screen = GetDC(top);
    HDC mem = CreateCompatibleDC(screen);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 90));
    HGDIOBJ oldPen = SelectObject(mem, pen);
    HGDIOBJ oldBrush = SelectObject(mem, brush);
    RECT r{1, 2, 30, 40};
    FillRect(mem, &r, brush); // not recorded yet

    w32drv::RecordDrawing(true);
    FillRect(mem, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    POINT previous{-1, -1};
    MoveToEx(mem, 5, 6, &previous);
    LineTo(mem, 5, 20);
    LineTo(mem, 9, 20); // on from where the last line ended
    SetTextColor(mem, RGB(1, 2, 3));
    SetBkColor(mem, RGB(4, 5, 6));
    TextOutA(mem, 7, 8, "Tuner and more", 5);
    SetBkMode(mem, TRANSPARENT);
    RECT calc{0, 0, 100, 100};
    DrawTextA(mem, "Phone", -1, &calc, DT_CALCRECT); // measures, draws nothing
    RECT box{10, 10, 60, 30};
    DrawTextA(mem, "Phone", -1, &box, DT_SINGLELINE);
    DrawFocusRect(mem, &r);
    Rectangle(mem, 3, 4, 12, 13);
    BitBlt(screen, 10, 20, 30, 40, mem, 1, 2, SRCCOPY);
    w32drv::RecordDrawing(false);
    FillRect(mem, &r, brush);

    auto d = w32drv::Drawings();
    using D = w32drv::Drawing;
    ASSERT_EQ(d.size(), 8u); // nothing before the start or after the stop
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(d[0].kind, D::Fill);
    EXPECT_EQ(d[0].dc, mem);
    EXPECT_EQ(d[0].window, nullptr);
    EXPECT_EQ(d[0].color, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(d[0].rect.bottom, 40);
    EXPECT_EQ(d[1].kind, D::Line);
    EXPECT_EQ(d[1].color, RGB(200, 0, 0));
    EXPECT_EQ(d[1].width, 2);
    EXPECT_TRUE(d[1].rect.left == 5 && d[1].rect.top == 6 && d[1].rect.right == 5 && d[1].rect.bottom == 20);
    EXPECT_TRUE(d[2].rect.left == 5 && d[2].rect.top == 20 && d[2].rect.right == 9 && d[2].rect.bottom == 20);
    EXPECT_EQ(d[3].kind, D::Text);
    EXPECT_EQ(d[3].text, "Tuner");
    EXPECT_TRUE(d[3].rect.left == 7 && d[3].rect.top == 8);
    EXPECT_EQ(d[3].color, RGB(1, 2, 3));
    EXPECT_EQ(d[3].back, RGB(4, 5, 6));
    EXPECT_EQ(d[4].text, "Phone");
    EXPECT_EQ(d[4].rect.right, 60);
    EXPECT_EQ(d[4].back, CLR_NONE); // transparent
    EXPECT_EQ(d[5].kind, D::FocusRect);
    EXPECT_EQ(d[5].rect.top, 2);
    EXPECT_EQ(d[6].kind, D::Box);
    EXPECT_EQ(d[6].color, RGB(200, 0, 0));
    EXPECT_EQ(d[6].back, RGB(0, 0, 90));
    EXPECT_EQ(d[6].rect.right, 12);
    EXPECT_EQ(d[7].kind, D::Blit);
    EXPECT_EQ(d[7].window, top);
    EXPECT_EQ(d[7].source, mem);
    EXPECT_TRUE(d[7].rect.left == 10 && d[7].rect.bottom == 60 && d[7].from.x == 1 && d[7].from.y == 2);

    SelectObject(mem, oldPen);
    SelectObject(mem, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteDC(mem);
    ReleaseDC(top, screen);

    // live GDI objects are counted by kind; a selected object cannot be deleted
    const w32drv::GdiObjects before = w32drv::LiveGdiObjects();
    HDC screenDc = GetDC(nullptr);
    HDC memDc = CreateCompatibleDC(screenDc);
    HPEN countedPen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH countedBrush = CreateSolidBrush(0);
    HBITMAP bitmap = CreateCompatibleBitmap(screenDc, 4, 4);
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    w32drv::GdiObjects all = w32drv::LiveGdiObjects();
    EXPECT_EQ(all.pens, before.pens + 1);
    EXPECT_EQ(all.brushes, before.brushes + 1);
    EXPECT_EQ(all.bitmaps, before.bitmaps + 1);
    EXPECT_EQ(all.fonts, before.fonts + 1);
    EXPECT_EQ(all.dcs, before.dcs + 2);

    // stock objects and system colour brushes are not counted and deleting them does nothing
    GetSysColorBrush(COLOR_HIGHLIGHT);
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_TRUE(w32drv::LiveGdiObjects() == all);

    HGDIOBJ oldCountedBitmap = SelectObject(memDc, bitmap);
    HGDIOBJ oldCountedPen = SelectObject(memDc, countedPen);
    EXPECT_FALSE(DeleteObject(bitmap)); // still selected: it stays
    EXPECT_FALSE(DeleteObject(countedPen));
    EXPECT_TRUE(w32drv::LiveGdiObjects() == all);
    SelectObject(memDc, oldCountedPen);
    SelectObject(memDc, oldCountedBitmap);
    for (HGDIOBJ o : std::vector<HGDIOBJ>{countedPen, countedBrush, bitmap, font})
        EXPECT_TRUE(DeleteObject(o));
    EXPECT_FALSE(DeleteObject(countedPen)); // gone
    DeleteDC(memDc);
    ReleaseDC(nullptr, screenDc);
    EXPECT_TRUE(w32drv::LiveGdiObjects() == before);
}

