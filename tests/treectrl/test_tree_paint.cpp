// What the tree control paints, read from the headless driver's drawing record: the background,
// the highlight of selected rows, the text colours, the focus rectangle, lines and buttons, the
// rows in view after scrolling, and no GDI object left behind. On Windows the same is read from
// the pixels on the screen.
#include "TreeFixture.h"
#include "support/WindowSystem.h"

#include <algorithm>

namespace {

using w32drv::Drawing;

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class TreePaintTest : public TreeTest {
protected:
    // Pumps with the drawing record on (after invalidating the whole control with `all`) and
    // keeps what was drawn into the off-screen bitmap that was copied onto the control once,
    // which begins with the background over the whole client area.
    void paint(bool all = true) {
        if (all) InvalidateRect(tree, nullptr, FALSE);
        w32drv::RecordDrawing(true);
        w32drv::Pump();
        w32drv::RecordDrawing(false);
        RECT client{};
        GetClientRect(tree, &client);
        d = w32drv::Drawings();
        std::vector<Drawing> blits = of(Drawing::Blit);
        ASSERT_EQ(blits.size(), 1u);
        EXPECT_TRUE(same(blits[0].rect, client) && blits[0].from.x == 0 && blits[0].from.y == 0);
        d.erase(std::remove_if(d.begin(), d.end(), [&](const Drawing& x) { return x.dc != blits[0].source; }),
                d.end());
        ASSERT_TRUE(!d.empty() && d[0].kind == Drawing::Fill && same(d[0].rect, client));
        back = d[0].color;
        d.erase(d.begin());
    }
    std::vector<Drawing> of(Drawing::Kind kind) {
        std::vector<Drawing> out;
        std::copy_if(d.begin(), d.end(), std::back_inserter(out),
                     [&](const Drawing& x) { return x.kind == kind; });
        return out;
    }
    // The colour of a row's text, drawn once in its label with as wide a margin on either side,
    // within the row's height, on whatever is behind it.
    COLORREF textColour(const std::string& row) {
        std::vector<Drawing> found;
        for (const auto& x : of(Drawing::Text))
            if (x.text == row) found.push_back(x);
        EXPECT_EQ(found.size(), 1u) << row;
        if (found.empty()) return CLR_NONE;
        RECT label = itemRect(find(row)), t = found[0].rect;
        HDC dc = GetDC(tree);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(tree.SendMessage(WM_GETFONT)));
        SIZE size{};
        GetTextExtentPoint32A(dc, row.c_str(), static_cast<int>(row.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(tree, dc);
        EXPECT_TRUE(t.left > label.left && t.left - label.left == label.right - (t.left + size.cx)) << row;
        EXPECT_TRUE(t.top > label.top && t.top + size.cy <= label.bottom && found[0].back == CLR_NONE) << row;
        return found[0].color;
    }
    // The highlight fills over a row's label (or from there to the row's right end) and the focus
    // rectangle there, as "fill colour|focus".
    std::string marks(const std::string& row, bool wide = false) {
        RECT r = itemRect(find(row)), line = itemRect(find(row), FALSE);
        if (wide) r = RECT{r.left, line.top, line.right, line.bottom};
        std::string out;
        for (const auto& x : d)
            if (x.kind == Drawing::Fill || x.kind == Drawing::FocusRect)
                out += same(x.rect, r) ? (x.kind == Drawing::Fill ? std::to_string(x.color) : "|focus") : "?";
        return out;
    }
    std::vector<Drawing> d; // after the background
    COLORREF back = 0;
};

} // namespace

TEST_F(TreePaintTest, SelectionFocusAndDisabledRowsInTheirColours) {
    HEADLESS_ONLY("reads the drawing record");
    create();
    fill({"Audio", "Tuner", "Phone"}, 2);
    act("expand Audio; disable Phone; select Audio2");
    // the text colours of the rows, the highlight fill and the focus rectangle of the caret row
    auto colours = [&] {
        std::string out = marks("Audio2");
        for (const char* row : {"Audio", "Audio1", "Audio2", "Tuner", "Phone"})
            out += " " + std::to_string(textColour(row));
        return out;
    };
    auto are = [](std::string marks, COLORREF text, COLORREF selected, COLORREF grey) {
        std::string t = " " + std::to_string(text);
        return marks + t + t + " " + std::to_string(selected) + t + " " + std::to_string(grey);
    };
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), white = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF kText = RGB(0, 0, 128), kGrey = RGB(150, 0, 0), kBack = RGB(250, 250, 200);
    const std::string highlighted = std::to_string(GetSysColor(COLOR_HIGHLIGHT)) + "|focus";
    paint();
    EXPECT_EQ(back, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(colours(), are(highlighted, text, white, GetSysColor(COLOR_GRAYTEXT)));
    // colours of the program's choosing; each change repaints
    EXPECT_EQ(tree.SendMessage(TVM_SETTEXTCOLOR, 0, kText), static_cast<LRESULT>(CLR_NONE));
    EXPECT_TRUE(tree.SetDisabledColor(kGrey) && tree.SetBkColor(kBack) == CLR_NONE); // was the system colour
    paint(false);
    EXPECT_EQ(back, kBack);
    EXPECT_EQ(colours(), are(highlighted, kText, white, kGrey));
    // without the focus: no highlight, no focus rectangle, the selected row's text as the others,
    // unless the selection shows always: then in the face colour
    SetFocus(frame);
    paint(false);
    EXPECT_EQ(colours(), are("", kText, kText, kGrey));
    SetWindowLongA(tree, GWL_STYLE, static_cast<LONG>(GetWindowLongA(tree, GWL_STYLE) | TVS_SHOWSELALWAYS));
    paint();
    EXPECT_EQ(colours(), are(std::to_string(GetSysColor(COLOR_BTNFACE)), kText, kText, kGrey));
    // a disabled control greys every row
    EnableWindow(tree, FALSE);
    paint(false);
    for (const char* row : {"Audio", "Audio1", "Tuner", "Phone"})
        EXPECT_EQ(textColour(row), kGrey) << row;

    // multiple selection with full-row highlight: from the label to the row's right end
    create(SECTVS_EX_MULTISEL | SECTVS_EX_FULLROWSELECT);
    fill({"Audio", "Tuner", "Phone", "Nav"});
    act("click Audio; ctrl+click Phone; ctrl+key Down"); // the focus rectangle moves on alone
    paint();
    const std::string hl = std::to_string(GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(marks("Audio", true) + " " + marks("Phone", true) + " " + marks("Nav", true),
              hl + "?? ?" + hl + "? ??|focus");
    EXPECT_EQ(textColour("Tuner"), text);
    RECT label = itemRect(find("Tuner")); // a click right of the text selects the row
    w32drv::ClickClient(tree, label.right + 20, label.top + 2);
    w32drv::Pump();
    EXPECT_EQ(view(), "Audio Tuner:scf Phone Nav");
}

TEST_F(TreePaintTest, LinesAndButtonsWhereRowsHaveSiblingsAndChildren) {
    HEADLESS_ONLY("reads the drawing record");
    // A (open: A1, A2) and B (closed: B1, B2): a button is a 9-pixel box filled with the
    // background, centred half an indent left of the label at the row's middle, with a minus, and
    // a plus when closed; lines join the rows of a parent (the roots' only with lines at root)
    for (auto [style, boxes, lines] : {std::tuple{TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 2u, 13u},
                                       {TVS_HASBUTTONS | TVS_LINESATROOT, 2u, 3u},
                                       {TVS_HASLINES | TVS_LINESATROOT, 0u, 10u},
                                       {TVS_HASLINES | TVS_HASBUTTONS, 0u, 4u}}) {
        create(0, 200, WS_VISIBLE | style);
        fill({"A", "B"}, 2);
        act("expand A");
        tree.SetBkColor(RGB(250, 250, 200));
        paint();
        auto box = of(Drawing::Box);
        EXPECT_TRUE(box.size() == boxes && of(Drawing::Line).size() == lines) << style;
        for (const auto& x : d)
            EXPECT_TRUE(x.kind == Drawing::Text || x.kind == Drawing::Fill ||
                        (x.color == GetSysColor(COLOR_GRAYTEXT) && x.width == 1));
        for (size_t i = 0; i < box.size(); ++i) {
            RECT b = box[i].rect, label = itemRect(find(i ? "B" : "A")),
                 row = itemRect(find(i ? "B" : "A"), FALSE);
            EXPECT_TRUE(b.right - b.left == 9 && b.bottom - b.top == 9 &&
                        b.left + 4 == label.left - indent() / 2 && b.top + 4 == (row.top + row.bottom) / 2 &&
                        box[i].back == RGB(250, 250, 200));
        }
    }
}

TEST_F(TreePaintTest, ScrolledRowsAreDrawnWhereTheyAreAndNothingIsLeftBehind) {
    HEADLESS_ONLY("reads the drawing record");
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    create();
    tree.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (int i = 0; i < 40; ++i)
        tree.InsertItem(std::to_string(i).c_str());
    tree.SelectItem(find("1"));
    int page = static_cast<int>(tree.GetVisibleCount());
    const w32drv::GdiObjects before = w32drv::LiveGdiObjects();
    // the rows in view and the one partly in view below, each in its label, in the font; scrolling
    // repaints by itself, the rows now in view from the top
    for (int first : {0, 2}) {
        paint(first == 0);
        ASSERT_EQ(of(Drawing::Text).size(), static_cast<size_t>(page + 1));
        EXPECT_TRUE(of(Drawing::Text)[0].text == std::to_string(first) &&
                    itemRect(find(std::to_string(first))).top == 0);
        for (int i : {first, first + 1, first + page})
            textColour(std::to_string(i));
        EXPECT_EQ(marks("1"), first == 0 ? std::to_string(GetSysColor(COLOR_HIGHLIGHT)) + "|focus" : "");
        EXPECT_TRUE(w32drv::LiveGdiObjects() == before);
        tree.SendMessage(WM_VSCROLL, SB_LINEDOWN);
        tree.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    }
    tree.DestroyWindow();
    DeleteObject(font);
}

#ifdef _WIN32 // the headless window system keeps a drawing record, not pixels
// The pixels of the control on the screen, by client coordinates.
class TreePixelsTest : public TreeTest {
protected:
    void capture() {
        RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        w32drv::Pump();
        RECT client{};
        GetClientRect(tree, &client);
        width = client.right;
        height = client.bottom;
        HDC screen = GetDC(tree), memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[static_cast<size_t>(y * width + x)] = GetPixel(memory, x, y);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(tree, screen);
    }
    // How many pixels of a rectangle have the colour.
    int count(RECT r, COLORREF colour) const {
        int n = 0;
        for (int y = std::max(0L, static_cast<long>(r.top)); y < std::min(static_cast<int>(r.bottom), height); ++y)
            for (int x = std::max(0L, static_cast<long>(r.left)); x < std::min(static_cast<int>(r.right), width); ++x)
                n += pixels[static_cast<size_t>(y * width + x)] == colour;
        return n;
    }
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    std::vector<COLORREF> pixels;
    int width = 0, height = 0;
};

TEST_F(TreePixelsTest, RowsLinesButtonsAndColoursReachTheScreen) {
    const COLORREF kText = RGB(0, 0, 128), kGrey = RGB(150, 0, 0), kBack = RGB(250, 250, 200);
    create();
    fill({"Audio", "Tuner", "Phone"}, 2);
    act("expand Audio; disable Phone; select Audio2");
    tree.SendMessage(TVM_SETTEXTCOLOR, 0, kText);
    tree.SetDisabledColor(kGrey);
    tree.SetBkColor(kBack);
    capture();
    RECT client{0, 0, width, height};
    EXPECT_GT(count(client, kBack), width * height / 2); // the background
    // the selected row highlighted with its text in the highlight's text colour, the others' text
    // in the program's colour, the disabled row's in its grey
    RECT selected = itemRect(find("Audio2")), tuner = itemRect(find("Tuner")), phone = itemRect(find("Phone"));
    EXPECT_GT(count(selected, GetSysColor(COLOR_HIGHLIGHT)), 0);
    EXPECT_GT(count(selected, GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
    EXPECT_GT(count(tuner, kText), 0);
    EXPECT_EQ(count(tuner, GetSysColor(COLOR_HIGHLIGHT)), 0);
    EXPECT_GT(count(phone, kGrey), 0);
    EXPECT_EQ(count(phone, kText), 0);
    // buttons: a 9-pixel box half an indent left of the label, grey corners, a minus when open
    // (nothing above the middle) and a plus when closed
    const COLORREF line = GetSysColor(COLOR_GRAYTEXT);
    for (const char* row : {"Audio", "Tuner"}) {
        RECT label = itemRect(find(row)), whole = itemRect(find(row), FALSE);
        const int cx = label.left - indent() / 2, cy = (whole.top + whole.bottom) / 2;
        EXPECT_EQ(at(cx - 4, cy - 4), line) << row;
        EXPECT_EQ(at(cx + 4, cy + 4), line) << row;
        EXPECT_NE(at(cx, cy), kBack) << row;
        EXPECT_EQ(at(cx, cy - 2) != kBack, std::string(row) == "Tuner") << row;
    }
    // lines: a child's row joined to its parent's line left of its label
    RECT child = itemRect(find("Audio1"));
    RECT joint{child.left - indent() / 2, child.top, child.left - 1, child.bottom};
    EXPECT_GT(count(joint, line), 0);
}
#endif
