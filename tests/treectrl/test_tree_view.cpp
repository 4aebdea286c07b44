// What the tree control shows: the rows in view and scrolling (first visible row, visible count,
// scroll bar, wheel, keys keeping the caret in view), hit testing against the row layout, and the
// description the driver reads.
#include "TreeFixture.h"

TEST_F(TreeTest, RowsInViewAndScrolling) {
    create();
    for (int i = 0; i < 40; ++i)
        tree.InsertItem(std::to_string(i).c_str());
    RECT client{}, wr{};
    GetClientRect(tree, &client);
    GetWindowRect(tree, &wr);
    const int page = client.bottom / itemHeight(), last = 40 - page;
    auto row = [&](int i) { return find(std::to_string(i)); };
    auto previous = [&](int i) {
        return tree.SendMessage(TVM_GETNEXTITEM, TVGN_PREVIOUSVISIBLE, LPARAM(row(i)));
    };
    EXPECT_TRUE(page >= 5 && tree.GetVisibleCount() == UINT(page));
    EXPECT_EQ(tree.GetNextVisibleItem(row(page + 3)), row(page + 4)); // out of view all the same
    EXPECT_TRUE(!tree.GetNextVisibleItem(row(39)) && previous(1) == LRESULT(row(0)) && !previous(0));
    // the first row in view, by the control, its scroll bar and its description
    auto top = [&] {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(tree, SB_VERT, &si);
        EXPECT_TRUE(si.nMin == 0 && si.nMax == 39 && si.nPage == UINT(page));
        EXPECT_EQ(si.nPos, w32drv::Inspect(tree).topIndex);
        return std::stoi(text(tree.GetFirstVisibleItem())) == si.nPos ? si.nPos : -1;
    };
    EXPECT_TRUE(top() == 0 && tree.SelectSetFirstVisible(row(10)) && top() == 10);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr); // scrolling selects nothing
    EXPECT_TRUE(tree.EnsureVisible(row(39)) && top() == last && tree.EnsureVisible(row(30)) && top() == last);
    EXPECT_TRUE(tree.SelectSetFirstVisible(row(39)) && top() == last); // no empty space below the last row
    // the scroll bar's requests; the wheel, three rows a notch, partial notches adding up, turning
    // the other way starting afresh; keys keep the caret in view (PageUp and PageDown go the visible
    // count less one), Ctrl+Up and Ctrl+Down scroll without moving it
    // clang-format off
    std::pair<WPARAM, int> bar[] = {{SB_TOP, 0}, {SB_LINEDOWN, 1}, {SB_PAGEDOWN, 1 + page}, {SB_PAGEUP, 1},
        {SB_LINEUP, 0}, {MAKEWPARAM(SB_THUMBTRACK, 17), 17}, {MAKEWPARAM(SB_THUMBPOSITION, 3), 3},
        {SB_BOTTOM, last}, {SB_TOP, 0}};
    int wheel[][4] = {{-WHEEL_DELTA, 0, 0, 3}, {-40, 0, 0, 4}, {240, 0, 0, 0}, {-WHEEL_DELTA, 1, -40, 4},
        {-1, 40, 0, 3}};
    struct { const char* action; int caret, first; } keys[] = {{"key Down", page, 1},
        {"key PgDn", 2 * page - 1, page}, {"key End", 39, last}, {"key PgUp", 40 - page, last},
        {"key Up", 39 - page, 39 - page}, {"key Home", 0, 0}, {"ctrl+key Down", 0, 1}, {"ctrl+key Up", 0, 0}};
    // clang-format on
    for (auto [code, first] : bar) {
        tree.SendMessage(WM_VSCROLL, code);
        EXPECT_EQ(top(), first) << code;
    }
    for (auto [d1, d2, d3, first] : wheel) {
        for (int delta : {d1, d2, d3})
            w32drv::Wheel(POINT{wr.left + 50, wr.top + 50}, delta);
        w32drv::Pump();
        EXPECT_EQ(top(), first) << d1;
    }
    tree.SendMessage(WM_VSCROLL, SB_TOP);
    tree.SelectItem(row(page - 1));
    for (auto [action, caret, first] : keys) {
        act(action);
        EXPECT_TRUE(tree.GetSelectedItem() == row(caret) && top() == first) << action;
    }
    tree.SelectSetFirstVisible(row(10));
    tree.DeleteItem(row(10)); // the first row in view deleted: the next takes its place
    EXPECT_EQ(tree.GetFirstVisibleItem(), row(11));
}

TEST_F(TreeTest, HitTestingFollowsTheRowLayout) {
    create();
    fill({"Alpha", "Beta"}, 1);
    tree.Expand(find("Alpha"), TVE_EXPAND);
    const int h = itemHeight(), in = indent();
    RECT a = itemRect(find("Alpha")), a1 = itemRect(find("Alpha1")), client{};
    GetClientRect(tree, &client);
    // lines at root: the roots one level in
    EXPECT_TRUE(in > 10 && a.left == in && a1.left == 2 * in && a1.top == h && a1.bottom == 2 * h);
    // the right edge of the label is outside, as for a RECT; a leaf has no button; below the last
    // of three rows is nowhere
    // clang-format off
    struct { int x, y; const char* row; UINT flags; } points[] = {{a.left + 2, 2, "Alpha", TVHT_ONITEMLABEL},
        {a.right - 1, 2, "Alpha", TVHT_ONITEMLABEL}, {a.right, 2, "Alpha", TVHT_ONITEMRIGHT},
        {in / 2, h / 2, "Alpha", TVHT_ONITEMBUTTON}, {0, 0, "Alpha", TVHT_ONITEMBUTTON},
        {in / 2, h + h / 2, "Alpha1", TVHT_ONITEMINDENT}, {5, 3 * h, "", TVHT_NOWHERE}, {5, -1, "", TVHT_ABOVE},
        {5, client.bottom, "", TVHT_BELOW}, {-1, 5, "", TVHT_TOLEFT}, {client.right, 5, "", TVHT_TORIGHT}};
    // clang-format on
    for (auto [x, y, row, expected] : points) {
        UINT flags = 0;
        EXPECT_EQ(tree.HitTest(CPoint(x, y), &flags), find(row)) << x << "," << y;
        EXPECT_EQ(flags, expected) << x << "," << y;
    }
    // a click on the button opens or closes without selecting
    log();
    w32drv::ClickClient(tree, in / 2, h / 2);
    w32drv::Pump();
    EXPECT_EQ(view() + "|" + log(), "Alpha+ Beta+|expanding expanded click");
    // the description the driver reads: its length whatever the buffer, as much as fits
    UINT msg = RegisterWindowMessageA(w32drv::kDescribeMessage);
    char whole[256], small[8];
    LRESULT size = tree.SendMessage(msg, sizeof whole, LPARAM(whole));
    EXPECT_TRUE(size == LRESULT(std::strlen(whole)) &&
                tree.SendMessage(msg, sizeof small, LPARAM(small)) == size);
    EXPECT_STREQ(small, "top 0\np");
    tree.SendMessage(msg, 1, LPARAM(small));
    EXPECT_EQ(small[0], '\0'); // room for the terminator only
}
