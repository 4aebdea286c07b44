// What the tree control paints, read from the driver's drawing record: the background, the
// highlight of selected rows, the text colours, the focus rectangle, lines and buttons, the rows
// in view after scrolling, and no GDI object left behind.
#include "TreeFixture.h"

#include <algorithm>
#include <array>

namespace {

using w32drv::Drawing;
using Segment = std::array<long, 4>;

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class TreePaintTest : public TreeTest {
protected:
    // Pumps with the drawing record on (after invalidating the whole control with `all`) and
    // keeps what was drawn into the off-screen bitmap that was copied onto the control, once.
    void paint(bool all = true) {
        if (all) InvalidateRect(tree, nullptr, FALSE);
        w32drv::RecordDrawing(true);
        w32drv::Pump();
        w32drv::RecordDrawing(false);
        RECT client{};
        GetClientRect(tree, &client);
        std::vector<Drawing> blits = of(w32drv::Drawings(), Drawing::Blit);
        ASSERT_EQ(blits.size(), 1u);
        EXPECT_TRUE(same(blits[0].rect, client) && blits[0].from.x == 0 && blits[0].from.y == 0);
        d.clear();
        for (const auto& x : w32drv::Drawings())
            if (x.dc == blits[0].source) d.push_back(x);
        // the background first, over the whole client area
        ASSERT_TRUE(!d.empty() && d[0].kind == Drawing::Fill && same(d[0].rect, client));
    }
    static std::vector<Drawing> of(const std::vector<Drawing>& all, Drawing::Kind kind) {
        std::vector<Drawing> out;
        std::copy_if(all.begin(), all.end(), std::back_inserter(out),
                     [&](const Drawing& x) { return x.kind == kind; });
        return out;
    }
    // The colour of a row's text, drawn once, in its label with as wide a margin on either side,
    // within the row's height, on whatever is behind it.
    COLORREF textColour(const char* row) {
        std::vector<Drawing> found;
        for (const auto& x : of(d, Drawing::Text))
            if (x.text == row) found.push_back(x);
        EXPECT_EQ(found.size(), 1u) << row;
        if (found.empty()) return CLR_NONE;
        RECT label = itemRect(find(row)), t = found[0].rect;
        HDC dc = GetDC(tree);
        auto font = reinterpret_cast<HGDIOBJ>(tree.SendMessage(WM_GETFONT));
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        SIZE size{};
        GetTextExtentPoint32A(dc, row, static_cast<int>(std::strlen(row)), &size);
        if (old) SelectObject(dc, old);
        ReleaseDC(tree, dc);
        EXPECT_TRUE(t.left > label.left && t.left - label.left == label.right - (t.left + size.cx)) << row;
        EXPECT_TRUE(t.top > label.top && t.top + size.cy <= label.bottom && found[0].back == CLR_NONE) << row;
        return found[0].color;
    }
    // The fills after the background (those exactly over a rectangle) and the focus rectangles.
    std::vector<COLORREF> fills(const RECT* r = nullptr) {
        std::vector<COLORREF> out;
        for (size_t i = 1; i < d.size(); ++i)
            if (d[i].kind == Drawing::Fill && (!r || same(d[i].rect, *r))) out.push_back(d[i].color);
        return out;
    }
    std::vector<RECT> focusRects() {
        std::vector<RECT> out;
        for (const auto& x : of(d, Drawing::FocusRect))
            out.push_back(x.rect);
        return out;
    }
    std::vector<Drawing> d;
};

const COLORREF kText = RGB(0, 0, 128), kGrey = RGB(150, 0, 0), kBack = RGB(250, 250, 200);

} // namespace

TEST_F(TreePaintTest, SelectionFocusAndDisabledRowsInTheirColours) {
    create();
    fill({"Audio", "Tuner", "Phone"}, 2);
    play({{"expand Audio", nullptr, nullptr},
          {"disable Phone", nullptr, nullptr},
          {"select Audio2", nullptr, nullptr}});
    RECT sel = itemRect(find("Audio2"));
    auto colours = [&] {
        std::string out;
        for (const char* row : {"Audio", "Audio1", "Audio2", "Tuner", "Phone"})
            out += std::to_string(textColour(row)) + " ";
        return out;
    };
    auto are = [](std::vector<COLORREF> c) {
        std::string out;
        for (COLORREF x : c)
            out += std::to_string(x) + " ";
        return out;
    };
    // the caret row highlighted, with the focus rectangle on it and nowhere else
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), grey = GetSysColor(COLOR_GRAYTEXT);
    paint();
    EXPECT_EQ(d[0].color, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(fills(&sel), std::vector<COLORREF>{GetSysColor(COLOR_HIGHLIGHT)});
    EXPECT_EQ(colours(), are({text, text, GetSysColor(COLOR_HIGHLIGHTTEXT), text, grey}));
    EXPECT_TRUE(fills().size() == 1 && focusRects().size() == 1 && same(focusRects()[0], sel));
    EXPECT_EQ(of(d, Drawing::Text).size(), 5u);
    // colours of the program's choosing; each change repaints
    EXPECT_EQ(tree.SendMessage(TVM_SETTEXTCOLOR, 0, kText), static_cast<LRESULT>(CLR_NONE));
    EXPECT_EQ(tree.SendMessage(TVM_GETTEXTCOLOR), static_cast<LRESULT>(kText));
    tree.SetDisabledColor(kGrey);
    EXPECT_EQ(tree.SetBkColor(kBack), static_cast<COLORREF>(CLR_NONE)); // was the system colour
    EXPECT_EQ(tree.GetBkColor(), kBack);
    paint(false);
    EXPECT_EQ(d[0].color, kBack);
    EXPECT_EQ(colours(), are({kText, kText, GetSysColor(COLOR_HIGHLIGHTTEXT), kText, kGrey}));
    // without the focus: no highlight, no focus rectangle, the selected row's text as the others
    SetFocus(frame);
    paint(false);
    EXPECT_TRUE(fills().empty() && focusRects().empty());
    EXPECT_EQ(colours(), are({kText, kText, kText, kText, kGrey}));
    // unless the selection shows always: then in the face colour
    SetWindowLongA(tree, GWL_STYLE, static_cast<LONG>(GetWindowLongA(tree, GWL_STYLE) | TVS_SHOWSELALWAYS));
    paint();
    EXPECT_EQ(fills(&sel), std::vector<COLORREF>{GetSysColor(COLOR_BTNFACE)});
    EXPECT_TRUE(focusRects().empty());
    EXPECT_EQ(colours(), are({kText, kText, kText, kText, kGrey}));
    // a disabled control greys every row
    EnableWindow(tree, FALSE);
    paint(false);
    for (const char* row : {"Audio", "Audio1", "Tuner", "Phone"})
        EXPECT_EQ(textColour(row), kGrey) << row;
}

TEST_F(TreePaintTest, MultipleSelectionAndFullRowHighlight) {
    create(SECTVS_EX_MULTISEL | SECTVS_EX_FULLROWSELECT);
    fill({"Audio", "Tuner", "Phone", "Nav"});
    play({{"click Audio", nullptr, nullptr},
          {"ctrl+click Phone", nullptr, nullptr},
          {"ctrl+key Down", nullptr, nullptr}}); // the focus rectangle moves on alone
    paint();
    // from the label's left to the row's right end (the row: the client width, the item height)
    RECT client{};
    GetClientRect(tree, &client);
    auto rowWide = [&](const char* name) {
        RECT label = itemRect(find(name)), row = itemRect(find(name), FALSE);
        EXPECT_TRUE(row.left == 0 && row.right == client.right && row.bottom - row.top == itemHeight());
        return RECT{label.left, row.top, row.right, row.bottom};
    };
    RECT a = rowWide("Audio"), p = rowWide("Phone");
    EXPECT_EQ(fills(&a), std::vector<COLORREF>{GetSysColor(COLOR_HIGHLIGHT)});
    EXPECT_EQ(fills(&p), std::vector<COLORREF>{GetSysColor(COLOR_HIGHLIGHT)});
    EXPECT_TRUE(fills().size() == 2 && textColour("Tuner") == GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_TRUE(focusRects().size() == 1 && same(focusRects()[0], rowWide("Nav")));
}

TEST_F(TreePaintTest, LinesAndButtonsWhereRowsHaveSiblingsAndChildren) {
    // A (open: A1, A2) and B (closed: B1, B2); every row's line column is half an indent left of
    // its label, lines join the rows of a parent and reach each label at the row's middle: the
    // first row of all down from its middle, a child with a sibling below through (A's line
    // passes by on its way to B), the last child down to its middle; a button is a 9-pixel box
    // filled with the background, centred where the row's lines meet, with a minus, and a plus
    // when closed
    for (auto [style, boxes, lines] : {std::tuple{TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 2u, 13u},
                                       {TVS_HASBUTTONS | TVS_LINESATROOT, 2u, 3u},
                                       {TVS_HASLINES | TVS_LINESATROOT, 0u, 10u},
                                       {TVS_HASLINES | TVS_HASBUTTONS, 0u, 4u}}) {
        create(0, 200, WS_VISIBLE | style);
        fill({"A", "B"}, 2);
        tree.Expand(find("A"), TVE_EXPAND);
        tree.SetBkColor(kBack);
        paint();
        std::vector<Segment> drawn, expected;
        for (const auto& x : of(d, Drawing::Line)) {
            Segment s{x.rect.left, x.rect.top, x.rect.right, x.rect.bottom};
            drawn.push_back(s[2] < s[0] || (s[2] == s[0] && s[3] < s[1]) ? Segment{s[2], s[3], s[0], s[1]}
                                                                         : s);
        }
        for (const auto& x : d)
            EXPECT_TRUE(x.kind == Drawing::Text || x.kind == Drawing::Fill ||
                        (x.color == GetSysColor(COLOR_GRAYTEXT) && x.width == 1));
        EXPECT_EQ(of(d, Drawing::Box).size(), boxes) << style;
        EXPECT_EQ(drawn.size(), lines) << style;
        if (lines != 13) continue;
        auto at = [&](const char* name) {
            RECT label = itemRect(find(name)), row = itemRect(find(name), FALSE);
            return std::array<long, 5>{label.left - indent() / 2, row.top, (row.top + row.bottom) / 2,
                                       row.bottom, label.left};
        };
        for (const char* name : {"A", "A1", "A2", "B"}) {
            auto [x, top, mid, bottom, left] = at(name);
            bool first = name[0] == 'A' && !name[1], last = name[1] == '2' || name[0] == 'B';
            expected.push_back({x, first ? mid : top, x, last ? mid : bottom});
            expected.push_back({x, mid, left, mid});
            if (name[1]) expected.push_back({at("A")[0], top, at("A")[0], bottom});
        }
        auto box = of(d, Drawing::Box);
        for (size_t i = 0; i < 2; ++i) {
            const RECT& b = box[i].rect;
            auto [x, top, y, bottom, left] = at(i ? "B" : "A");
            EXPECT_TRUE(b.right - b.left == 9 && b.bottom - b.top == 9 && b.left + 4 == x && b.top + 4 == y);
            EXPECT_EQ(box[i].back, kBack);
            expected.push_back({b.left + 2, y, b.right - 2, y});
            if (i == 1) expected.push_back({x, b.top + 2, x, b.bottom - 2});
        }
        std::sort(drawn.begin(), drawn.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(drawn, expected);
    }
}

TEST_F(TreePaintTest, ScrolledRowsAreDrawnWhereTheyAreAndNothingIsLeftBehind) {
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    create();
    tree.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(tree.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(font));
    for (int i = 0; i < 40; ++i)
        tree.InsertItem(std::to_string(i).c_str());
    tree.SelectItem(find("1"));
    int page = static_cast<int>(tree.GetVisibleCount());
    ASSERT_GT(page, 3);
    const w32drv::GdiObjects before = w32drv::LiveGdiObjects();
    // the rows in view and the one partly in view below, each in its label, in the font; scrolling
    // repaints by itself, the rows now in view from the top
    for (int first : {0, 2}) {
        paint(first == 0);
        auto texts = of(d, Drawing::Text);
        ASSERT_EQ(texts.size(), static_cast<size_t>(page + 1));
        EXPECT_EQ(texts.front().text, std::to_string(first));
        EXPECT_EQ(itemRect(find(std::to_string(first))).top, 0);
        for (int i : {first, first + 1, first + page})
            textColour(std::to_string(i).c_str());
        RECT label = itemRect(find("1"));
        EXPECT_EQ(fills(&label).size(), first == 0 ? 1u : 0u); // then scrolled out
        EXPECT_TRUE(w32drv::LiveGdiObjects() == before);
        tree.SendMessage(WM_VSCROLL, SB_LINEDOWN);
        tree.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    }
    tree.DestroyWindow();
    DeleteObject(font);
}
