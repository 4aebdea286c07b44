// What the tree control shows: the rows in view and scrolling (first visible row, visible count,
// scroll bar, wheel, keys keeping the caret in view), hit testing against the row layout, and the
// description the driver reads for inspection and text pictures.
#include "TreeFixture.h"

#include <tuple>

TEST_F(TreeTest, RowsInViewAndScrolling) {
    create();
    for (int i = 0; i < 40; ++i)
        tree.InsertItem(std::to_string(i).c_str());
    RECT client{};
    GetClientRect(tree, &client);
    const int page = client.bottom / itemHeight(), last = 40 - page;
    ASSERT_GE(page, 5);
    EXPECT_EQ(tree.GetVisibleCount(), static_cast<UINT>(page));
    auto row = [&](int i) { return find(std::to_string(i)); };
    auto previous = [&](int i) {
        return tree.SendMessage(TVM_GETNEXTITEM, TVGN_PREVIOUSVISIBLE, LPARAM(row(i)));
    };
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
    EXPECT_EQ(top(), 0);
    EXPECT_TRUE(tree.SelectSetFirstVisible(row(10)));
    EXPECT_EQ(top(), 10);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr); // scrolling selects nothing
    tree.SelectSetFirstVisible(row(39));        // no empty space below the last row
    EXPECT_EQ(top(), last);
    // the scroll bar's requests
    for (auto [code, first] : {std::pair{SB_TOP, 0},
                               {SB_LINEDOWN, 1},
                               {SB_PAGEDOWN, 1 + page},
                               {SB_PAGEUP, 1},
                               {SB_LINEUP, 0},
                               {SB_LINEUP, 0},
                               {MAKEWPARAM(SB_THUMBTRACK, 17), 17},
                               {MAKEWPARAM(SB_THUMBPOSITION, 3), 3},
                               {SB_BOTTOM, last},
                               {SB_TOP, 0}}) {
        tree.SendMessage(WM_VSCROLL, code);
        EXPECT_EQ(top(), first) << code;
    }
    // the wheel: three rows a notch, partial notches add up; turning the other way starts afresh
    RECT wr{};
    GetWindowRect(tree, &wr);
    for (auto [deltas, first] : std::vector<std::pair<std::vector<int>, int>>{{{-WHEEL_DELTA}, 3},
                                                                              {{-40}, 4},
                                                                              {{2 * WHEEL_DELTA}, 0},
                                                                              {{-WHEEL_DELTA, 1, -40}, 4},
                                                                              {{-1, 40}, 3}}) {
        for (int delta : deltas)
            w32drv::Wheel(POINT{wr.left + 50, wr.top + 50}, delta);
        w32drv::Pump();
        EXPECT_EQ(top(), first) << deltas[0];
    }
    // keys keep the caret in view (PageUp and PageDown go the visible count less one); Ctrl+Up
    // and Ctrl+Down scroll without moving it
    tree.SendMessage(WM_VSCROLL, SB_TOP);
    tree.SelectItem(row(page - 1));
    for (auto [action, caret, first] :
         std::vector<std::tuple<const char*, int, int>>{{"key Down", page, 1},
                                                        {"key PgDn", 2 * page - 1, page},
                                                        {"key End", 39, last},
                                                        {"key PgUp", 40 - page, last},
                                                        {"key Up", 39 - page, 39 - page},
                                                        {"key Home", 0, 0},
                                                        {"ctrl+key Down", 0, 1},
                                                        {"ctrl+key Up", 0, 0}}) {
        act(action);
        EXPECT_EQ(tree.GetSelectedItem(), row(caret)) << action;
        EXPECT_EQ(top(), first) << action;
    }
    tree.SelectSetFirstVisible(row(10));
    tree.DeleteItem(row(10)); // the first row in view deleted: the next takes its place
    EXPECT_EQ(tree.GetFirstVisibleItem(), row(11));
}

TEST_F(TreeTest, EnsureVisibleOpensAndScrolls) {
    create();
    for (int i = 0; i < 30; ++i)
        tree.InsertItem(("R" + std::to_string(i)).c_str());
    HTREEITEM deep = tree.InsertItem("deep", tree.InsertItem("mid", find("R20")));
    int page = static_cast<int>(tree.GetVisibleCount());
    ASSERT_TRUE(tree.EnsureVisible(deep));
    EXPECT_TRUE(notes[0].newItem == find("R20") && notes[2].newItem == find("mid"));
    EXPECT_EQ(log(), "expanding expanded expanding expanded");
    EXPECT_EQ(w32drv::Inspect(tree).topIndex, 23 - page); // deep is row 22: the last row in view
    ASSERT_TRUE(tree.EnsureVisible(find("R20")));         // already in view: no scrolling
    EXPECT_EQ(w32drv::Inspect(tree).topIndex, 23 - page);
    ASSERT_TRUE(tree.EnsureVisible(find("R0")));
    EXPECT_EQ(w32drv::Inspect(tree).topIndex, 0);
    // collapsing the rows in view keeps the first one there
    tree.SelectSetFirstVisible(find("mid"));
    tree.Expand(find("R20"), TVE_COLLAPSE);
    EXPECT_EQ(tree.GetFirstVisibleItem(), find("R" + std::to_string(30 - page)));
    EXPECT_FALSE(tree.SendMessage(TVM_GETNEXTITEM, TVGN_PREVIOUSVISIBLE, LPARAM(find("mid")))); // hidden
    EXPECT_EQ(tree.GetNextVisibleItem(find("mid")), nullptr);
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
    for (auto [x, y, row, expected] : std::vector<std::tuple<int, int, const char*, UINT>>{
             {a.left + 2, 2, "Alpha", TVHT_ONITEMLABEL},
             {a.right - 1, 2, "Alpha", TVHT_ONITEMLABEL},
             {a.right, 2, "Alpha", TVHT_ONITEMRIGHT}, // the right edge is outside, as for a RECT
             {in / 2, h / 2, "Alpha", TVHT_ONITEMBUTTON},
             {0, 0, "Alpha", TVHT_ONITEMBUTTON},
             {in / 2, h + h / 2, "Alpha1", TVHT_ONITEMINDENT}, // a leaf has no button
             {5, 3 * h, "", TVHT_NOWHERE},                     // just below the last of three rows
             {5, -1, "", TVHT_ABOVE},
             {5, client.bottom, "", TVHT_BELOW},
             {-1, 5, "", TVHT_TOLEFT},
             {client.right, 5, "", TVHT_TORIGHT}}) {
        UINT flags = 0;
        EXPECT_EQ(tree.HitTest(CPoint(x, y), &flags), find(row)) << x << "," << y;
        EXPECT_EQ(flags, expected) << x << "," << y;
    }
    TVHITTESTINFO info{{a.left + 1, 1}, 0, nullptr};
    EXPECT_EQ(tree.SendMessage(TVM_HITTEST, 0, LPARAM(&info)), LRESULT(find("Alpha")));
    EXPECT_EQ(info.hItem, find("Alpha"));
    // a click on the button opens or closes without selecting
    log();
    w32drv::ClickClient(tree, in / 2, h / 2);
    w32drv::Pump();
    EXPECT_EQ(view() + "|" + log(), "Alpha+ Beta+|expanding expanded click");
    // without lines at root the roots start at the left and have no button; without buttons a
    // row with children has none to hit
    for (DWORD style : {TVS_HASBUTTONS | TVS_HASLINES, TVS_HASLINES | TVS_LINESATROOT}) {
        create(0, 200, WS_VISIBLE | style);
        fill({"Alpha"}, 1);
        tree.Expand(find("Alpha"), TVE_EXPAND);
        bool atRoot = style & TVS_LINESATROOT;
        EXPECT_EQ(itemRect(find("Alpha")).left, atRoot ? in : 0);
        EXPECT_EQ(itemRect(find("Alpha1")).left, atRoot ? 2 * in : in);
        UINT flags = 0;
        tree.HitTest(CPoint(atRoot ? in / 2 : 2, h / 2), &flags);
        EXPECT_EQ(flags, atRoot ? TVHT_ONITEMINDENT : TVHT_ONITEMLABEL);
    }
}

TEST_F(TreeTest, TheDescriptionAndTheTextPictureOfATree) {
    // four rows in view (the picture's cells are shorter than rows: the box shows the rest empty)
    create();
    create(SECTVS_EX_MULTISEL, 4 * itemHeight() + 2,
           WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_LINESATROOT);
    fill({"Audio", "Tuner", "Phone", "Nav"}, 2);
    play({{"expand Audio", nullptr, nullptr},
          {"disable Tuner", nullptr, nullptr},
          {"select Audio2", nullptr, nullptr},
          {"add Audio", nullptr, nullptr}});
    tree.SetItemText(find("Nav"), "Nav\r\nMap");                // one line a row
    EXPECT_EQ(GetWindowLongA(tree, GWL_STYLE) & WS_VSCROLL, 0); // no scroll bar unless asked for
    std::string picture = w32drv::Picture(tree);
    EXPECT_EQ(picture, "+--------------------------------+\n"
                       "| *-Audio                        |\n"
                       "|     Audio1                     |\n"
                       "|>*   Audio2                     |\n"
                       "| ~+Tuner                       v|\n"
                       "|                                |\n"
                       "+--------------------------------+\n")
        << picture;
    tree.SelectSetFirstVisible(find("Phone"));
    act("ctrl+key Down"); // the focus rectangle moves on alone
    // the whole description, and as much of it as a short buffer holds
    UINT msg = RegisterWindowMessageA(w32drv::kDescribeMessage);
    char buffer[512] = "", small[8];
    LRESULT whole = tree.SendMessage(msg, sizeof buffer, LPARAM(buffer));
    const std::string expected = "top 2\npage 4\nrow 0 -s Audio\nrow 1 . Audio1\nrow 1 .sc Audio2\n"
                                 "row 0 +fd Tuner\nrow 0 + Phone\nrow 0 + Nav  Map\n";
    EXPECT_EQ(buffer + std::to_string(whole), expected + std::to_string(expected.size()));
    EXPECT_EQ(tree.SendMessage(msg, sizeof small, LPARAM(small)), whole);
    EXPECT_STREQ(small, "top 2\np");
    tree.SendMessage(msg, 1, LPARAM(small));
    EXPECT_EQ(small[0], '\0'); // room for the terminator only
}
