// What the tree control paints, read from the driver's drawing record: the background, the
// highlight of selected rows, the text colours, the focus rectangle, lines and buttons, the rows
// in view after scrolling, and no GDI object left behind.
#include "TreeFixture.h"

#include <w32drv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using w32drv::Drawing;
using Segment = std::array<long, 4>;

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<Drawing> ofKind(const std::vector<Drawing>& d, Drawing::Kind kind) {
    std::vector<Drawing> out;
    for (const auto& x : d)
        if (x.kind == kind) out.push_back(x);
    return out;
}

// The line segments drawn, sorted (each from its upper-left end).
std::vector<Segment> segments(const std::vector<Drawing>& d) {
    std::vector<Segment> out;
    for (const auto& x : ofKind(d, Drawing::Line)) {
        Segment s{x.rect.left, x.rect.top, x.rect.right, x.rect.bottom};
        if (s[2] < s[0] || (s[2] == s[0] && s[3] < s[1])) s = Segment{s[2], s[3], s[0], s[1]};
        out.push_back(s);
    }
    std::sort(out.begin(), out.end());
    return out;
}

class TreePaintTest : public TreeTest {
protected:
    // Pumps with the drawing record on (after invalidating the whole control with `all`) and
    // returns what was drawn into the off-screen bitmap that was copied onto the control.
    std::vector<Drawing> paint(bool all = true) {
        if (all) InvalidateRect(tree, nullptr, FALSE);
        w32drv::RecordDrawing(true);
        w32drv::Pump();
        w32drv::RecordDrawing(false);
        std::vector<Drawing> d = w32drv::Drawings(), out;
        HDC bitmap = nullptr;
        RECT client{};
        GetClientRect(tree, &client);
        for (const auto& x : d)
            if (x.kind == Drawing::Blit && x.window == tree.m_hWnd) {
                EXPECT_EQ(bitmap, nullptr) << "one copy a paint";
                EXPECT_TRUE(sameRect(x.rect, client) && x.from.x == 0 && x.from.y == 0);
                bitmap = x.source;
            }
        for (const auto& x : d)
            if (bitmap && x.dc == bitmap) out.push_back(x);
        EXPECT_NE(bitmap, nullptr) << "painted";
        return out;
    }

    // The text drawn for a row: exactly once.
    static Drawing textOf(const std::vector<Drawing>& d, const std::string& s) {
        std::vector<Drawing> found;
        for (const auto& x : ofKind(d, Drawing::Text))
            if (x.text == s) found.push_back(x);
        EXPECT_EQ(found.size(), 1u) << s;
        return found.empty() ? Drawing{} : found[0];
    }

    // The fills exactly over a rectangle, after the background.
    static std::vector<COLORREF> fillsOver(const std::vector<Drawing>& d, const RECT& r) {
        std::vector<COLORREF> out;
        for (size_t i = 1; i < d.size(); ++i)
            if (d[i].kind == Drawing::Fill && sameRect(d[i].rect, r)) out.push_back(d[i].color);
        return out;
    }

    RECT rowRect(HTREEITEM item) {
        RECT r{};
        std::memcpy(&r, &item, sizeof item);
        EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&r)));
        return r;
    }

    // The size of a text in the control's font.
    SIZE textSize(const std::string& s) {
        HDC dc = GetDC(tree);
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(tree, WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        SIZE size{};
        GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        if (old) SelectObject(dc, old);
        ReleaseDC(tree, dc);
        return size;
    }

    // The text sits in its label, as wide a margin on either side, within the row's height.
    void expectTextInLabel(const std::vector<Drawing>& d, HTREEITEM item) {
        std::string s = text(item);
        Drawing t = textOf(d, s);
        RECT label = labelRect(item);
        SIZE size = textSize(s);
        EXPECT_GT(t.rect.left, label.left) << s;
        EXPECT_EQ(t.rect.left - label.left, label.right - (t.rect.left + size.cx)) << s;
        EXPECT_GT(t.rect.top, label.top) << s;
        EXPECT_LE(t.rect.top + size.cy, label.bottom) << s;
        EXPECT_EQ(t.back, CLR_NONE) << s; // on whatever is behind it
    }

    int indent() { return static_cast<int>(SendMessageA(tree, TVM_GETINDENT, 0, 0)); }
};

const COLORREF kText = RGB(0, 0, 128), kGrey = RGB(150, 0, 0), kBack = RGB(250, 250, 200);

} // namespace

TEST_F(TreePaintTest, SelectionFocusAndDisabledRowsInTheirColours) {
    create();
    auto r = fill({"Audio", "Tuner", "Phone"}, 2);
    tree.Expand(r[0], TVE_EXPAND);
    tree.DisableItem(r[2]);
    tree.SelectItem(child(r[0], 1));
    HTREEITEM sel = child(r[0], 1);
    auto d = paint();
    ASSERT_FALSE(d.empty());
    RECT client{};
    GetClientRect(tree, &client);
    // the background first, in the window colour
    EXPECT_EQ(d[0].kind, Drawing::Fill);
    EXPECT_TRUE(sameRect(d[0].rect, client));
    EXPECT_EQ(d[0].color, GetSysColor(COLOR_WINDOW));
    // the caret row highlighted, with the focus rectangle on it and nowhere else
    EXPECT_EQ(fillsOver(d, labelRect(sel)), std::vector<COLORREF>{GetSysColor(COLOR_HIGHLIGHT)});
    EXPECT_EQ(ofKind(d, Drawing::Fill).size(), 2u);
    EXPECT_EQ(textOf(d, "Audio2").color, GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(textOf(d, "Audio1").color, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(textOf(d, "Phone").color, GetSysColor(COLOR_GRAYTEXT));
    auto focus = ofKind(d, Drawing::FocusRect);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_TRUE(sameRect(focus[0].rect, labelRect(sel)));
    for (HTREEITEM i : {r[0], child(r[0], 0), sel, r[1], r[2]})
        expectTextInLabel(d, i);
    EXPECT_EQ(ofKind(d, Drawing::Text).size(), 5u);

    // colours of the program's choosing; each change repaints
    EXPECT_EQ(SendMessageA(tree, TVM_SETTEXTCOLOR, 0, kText), static_cast<LRESULT>(CLR_NONE));
    EXPECT_EQ(SendMessageA(tree, TVM_GETTEXTCOLOR, 0, 0), static_cast<LRESULT>(kText));
    EXPECT_EQ(textOf(paint(false), "Audio1").color, kText);
    tree.SetDisabledColor(kGrey);
    EXPECT_EQ(textOf(paint(false), "Phone").color, kGrey);
    tree.SetItemText(r[1], "Radio");
    EXPECT_EQ(textOf(paint(false), "Radio").color, kText);
    EXPECT_EQ(tree.SetBkColor(kBack), static_cast<COLORREF>(CLR_NONE)); // was the system colour
    d = paint(false);
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(d[0].color, kBack);
    EXPECT_EQ(textOf(d, "Audio2").color, GetSysColor(COLOR_HIGHLIGHTTEXT));

    // without the focus: no highlight, no focus rectangle, the selected row's text as the others
    SetFocus(frame);
    d = paint(false);
    EXPECT_EQ(ofKind(d, Drawing::Fill).size(), 1u);
    EXPECT_TRUE(ofKind(d, Drawing::FocusRect).empty());
    EXPECT_EQ(textOf(d, "Audio2").color, kText);
    // unless the selection shows always: then in the face colour
    SetWindowLongA(tree, GWL_STYLE, static_cast<LONG>(GetWindowLongA(tree, GWL_STYLE) | TVS_SHOWSELALWAYS));
    d = paint();
    EXPECT_EQ(fillsOver(d, labelRect(sel)), std::vector<COLORREF>{GetSysColor(COLOR_BTNFACE)});
    EXPECT_EQ(textOf(d, "Audio2").color, kText);
    EXPECT_TRUE(ofKind(d, Drawing::FocusRect).empty());
    // a disabled control greys every row
    EnableWindow(tree, FALSE);
    d = paint(false);
    for (const char* s : {"Audio", "Audio1", "Radio", "Phone"})
        EXPECT_EQ(textOf(d, s).color, kGrey) << s;
}

TEST_F(TreePaintTest, MultipleSelectionAndFullRowHighlight) {
    create(SECTVS_EX_MULTISEL | SECTVS_EX_FULLROWSELECT);
    auto r = fill({"Audio", "Tuner", "Phone", "Nav"});
    clickRow(r[0]);
    clickRow(r[2], w32drv::Control);
    key(VK_DOWN, w32drv::Control); // the focus rectangle moves on alone
    auto d = paint();
    auto rowWide = [&](HTREEITEM i) {
        RECT label = labelRect(i), row = rowRect(i);
        return RECT{label.left, row.top, row.right, row.bottom};
    };
    RECT client{};
    GetClientRect(tree, &client);
    EXPECT_TRUE(rowRect(r[3]).left == 0 && rowRect(r[3]).right == client.right);
    EXPECT_EQ(rowRect(r[3]).bottom - rowRect(r[3]).top,
              static_cast<int>(tree.SendMessage(TVM_GETITEMHEIGHT)));
    EXPECT_EQ(fillsOver(d, rowWide(r[0])), std::vector<COLORREF>{GetSysColor(COLOR_HIGHLIGHT)});
    EXPECT_EQ(fillsOver(d, rowWide(r[2])), std::vector<COLORREF>{GetSysColor(COLOR_HIGHLIGHT)});
    EXPECT_EQ(ofKind(d, Drawing::Fill).size(), 3u);
    EXPECT_EQ(textOf(d, "Tuner").color, GetSysColor(COLOR_WINDOWTEXT));
    auto focus = ofKind(d, Drawing::FocusRect);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_TRUE(sameRect(focus[0].rect, rowWide(r[3])));
}

TEST_F(TreePaintTest, LinesAndButtonsWhereRowsHaveSiblingsAndChildren) {
    // A (open: A1, A2) and B (closed: B1, B2); every row's line column is half an indent left of
    // its label, lines join the rows of a parent and reach each label at the row's middle
    auto build = [&](DWORD style) {
        if (tree.m_hWnd) tree.DestroyWindow();
        create(0, 200, WS_VISIBLE | style);
        auto r = fill({"A", "B"}, 2);
        tree.Expand(r[0], TVE_EXPAND);
        tree.SetBkColor(kBack);
        return r;
    };
    auto r = build(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT);
    HTREEITEM a1 = child(r[0], 0), a2 = child(r[0], 1);
    auto col = [&](HTREEITEM i) { return static_cast<long>(labelRect(i).left - indent() / 2); };
    auto mid = [&](HTREEITEM i) { return (rowRect(i).top + rowRect(i).bottom) / 2; };
    auto top = [&](HTREEITEM i) { return rowRect(i).top; };
    auto bottom = [&](HTREEITEM i) { return rowRect(i).bottom; };
    auto stub = [&](HTREEITEM i) { return Segment{col(i), mid(i), labelRect(i).left, mid(i)}; };
    std::vector<Segment> joins = {
        // the first row of all: down from its middle
        Segment{col(r[0]), mid(r[0]), col(r[0]), bottom(r[0])}, stub(r[0]),
        // a child with a sibling below: through; A's line passes by on its way to B
        Segment{col(a1), top(a1), col(a1), bottom(a1)}, stub(a1),
        Segment{col(r[0]), top(a1), col(r[0]), bottom(a1)},
        // the last child: down to its middle
        Segment{col(a2), top(a2), col(a2), mid(a2)}, stub(a2),
        Segment{col(r[0]), top(a2), col(r[0]), bottom(a2)},
        Segment{col(r[1]), top(r[1]), col(r[1]), mid(r[1])}, stub(r[1]),
    };
    // a button: a 9-pixel box centred where the row's lines meet, a minus, and a plus when closed
    std::vector<Segment> signs;
    auto d = paint();
    auto boxes = ofKind(d, Drawing::Box);
    ASSERT_EQ(boxes.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const RECT& b = boxes[i].rect;
        long x = col(r[i]), y = mid(r[i]);
        EXPECT_TRUE(b.right - b.left == 9 && b.bottom - b.top == 9 && b.left + 4 == x && b.top + 4 == y) << i;
        EXPECT_EQ(boxes[i].back, kBack); // filled with the background
        signs.push_back(Segment{b.left + 2, y, b.right - 2, y});
        if (i == 1) signs.push_back(Segment{x, b.top + 2, x, b.bottom - 2});
    }
    auto all = joins;
    all.insert(all.end(), signs.begin(), signs.end());
    std::sort(all.begin(), all.end());
    std::sort(signs.begin(), signs.end());
    EXPECT_EQ(segments(d), all);
    for (const auto& x : d)
        if (x.kind == Drawing::Line || x.kind == Drawing::Box) {
            EXPECT_EQ(x.color, GetSysColor(COLOR_GRAYTEXT));
            EXPECT_EQ(x.width, 1);
        }

    // no lines: only the buttons; no buttons: only the lines
    r = build(TVS_HASBUTTONS | TVS_LINESATROOT);
    d = paint(false);
    EXPECT_EQ(ofKind(d, Drawing::Box).size(), 2u);
    EXPECT_EQ(segments(d), signs);
    r = build(TVS_HASLINES | TVS_LINESATROOT);
    d = paint(false);
    EXPECT_TRUE(ofKind(d, Drawing::Box).empty());
    std::sort(joins.begin(), joins.end());
    EXPECT_EQ(segments(d), joins);
    // without lines at root the roots have neither lines nor buttons
    r = build(TVS_HASLINES | TVS_HASBUTTONS);
    a1 = child(r[0], 0);
    a2 = child(r[0], 1);
    d = paint(false);
    EXPECT_TRUE(ofKind(d, Drawing::Box).empty());
    std::vector<Segment> children = {Segment{col(a1), top(a1), col(a1), bottom(a1)}, stub(a1),
                                     Segment{col(a2), top(a2), col(a2), mid(a2)}, stub(a2)};
    std::sort(children.begin(), children.end());
    EXPECT_EQ(segments(d), children);
}

TEST_F(TreePaintTest, ScrolledRowsAreDrawnWhereTheyAreAndNothingIsLeftBehind) {
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    create();
    tree.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(tree.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(font));
    std::vector<HTREEITEM> r;
    for (int i = 0; i < 40; ++i)
        r.push_back(tree.InsertItem(("Row " + std::to_string(i)).c_str()));
    tree.SelectItem(r[1]);
    int page = static_cast<int>(tree.GetVisibleCount());
    ASSERT_GT(page, 3);
    const w32drv::GdiObjects before = w32drv::LiveGdiObjects();
    auto d = paint();
    EXPECT_TRUE(w32drv::LiveGdiObjects() == before);
    // the rows in view and the one partly in view below, each in its label, in the font
    auto texts = ofKind(d, Drawing::Text);
    ASSERT_EQ(texts.size(), static_cast<size_t>(page + 1));
    EXPECT_EQ(texts.front().text, "Row 0");
    for (int i : {0, 1, page})
        expectTextInLabel(d, r[static_cast<size_t>(i)]);
    EXPECT_EQ(fillsOver(d, labelRect(r[1])), std::vector<COLORREF>{GetSysColor(COLOR_HIGHLIGHT)});

    // scrolling repaints by itself, the rows now in view from the top
    SendMessageA(tree, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(tree, WM_VSCROLL, SB_LINEDOWN, 0);
    d = paint(false);
    texts = ofKind(d, Drawing::Text);
    ASSERT_EQ(texts.size(), static_cast<size_t>(page + 1));
    EXPECT_EQ(texts.front().text, "Row 2");
    EXPECT_EQ(labelRect(r[2]).top, 0);
    expectTextInLabel(d, r[2]);
    expectTextInLabel(d, r[static_cast<size_t>(page + 2)]);
    EXPECT_EQ(fillsOver(d, labelRect(r[1])).size(), 0u); // scrolled out
    EXPECT_TRUE(w32drv::LiveGdiObjects() == before);
    tree.DestroyWindow();
    DeleteObject(font);
}
