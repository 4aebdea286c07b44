// What the tree control shows: the rows in view and scrolling (first visible row, visible count,
// scroll bar, wheel, keys keeping the caret in view), hit testing against the row layout, the
// background colour, and the description the driver reads for inspection and text pictures.
#include "TreeFixture.h"

#include <w32drv.h>

namespace {

int itemHeight(HWND tree) {
    return static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
}

HTREEITEM previousVisible(HWND tree, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PREVIOUSVISIBLE, reinterpret_cast<LPARAM>(item)));
}

SCROLLINFO scrollInfo(HWND hwnd) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, SB_VERT, &si);
    return si;
}

} // namespace

TEST_F(TreeTest, RowsInViewAndScrolling) {
    create();
    std::vector<HTREEITEM> r;
    for (int i = 0; i < 40; ++i)
        r.push_back(tree.InsertItem(("Row " + std::to_string(i)).c_str()));
    RECT client{};
    GetClientRect(tree, &client);
    int h = itemHeight(tree);
    ASSERT_GT(h, 0);
    UINT page = static_cast<UINT>(client.bottom / h);
    ASSERT_GE(page, 5u);
    EXPECT_EQ(tree.GetVisibleCount(), page);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[0]);
    EXPECT_EQ(tree.GetNextVisibleItem(r[page + 3]), r[page + 4]); // out of view all the same
    EXPECT_EQ(tree.GetNextVisibleItem(r[39]), nullptr);
    EXPECT_EQ(previousVisible(tree, r[page + 4]), r[page + 3]);
    EXPECT_EQ(previousVisible(tree, r[0]), nullptr);
    w32drv::Pump();
    SCROLLINFO si = scrollInfo(tree);
    EXPECT_EQ(si.nMax, 39);
    EXPECT_EQ(si.nPage, page);
    EXPECT_EQ(si.nPos, 0);

    EXPECT_TRUE(tree.SelectSetFirstVisible(r[10]));
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[10]);
    EXPECT_EQ(scrollInfo(tree).nPos, 10);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr); // scrolling selects nothing
    tree.SelectSetFirstVisible(r[39]);          // no empty space below the last row
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[40 - page]);

    SendMessageA(tree, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[0]);
    SendMessageA(tree, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[1]);
    SendMessageA(tree, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[1 + page]);
    SendMessageA(tree, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[1]);
    SendMessageA(tree, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 17), 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[17]);
    SendMessageA(tree, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[3]);
    SendMessageA(tree, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[40 - page]);
    EXPECT_EQ(scrollInfo(tree).nPos, static_cast<int>(40 - page));

    // the wheel: three rows a notch, partial notches add up
    SendMessageA(tree, WM_VSCROLL, SB_TOP, 0);
    RECT wr{};
    GetWindowRect(tree, &wr);
    POINT mid{(wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2};
    w32drv::Wheel(mid, -WHEEL_DELTA);
    w32drv::Pump();
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[3]);
    w32drv::Wheel(mid, -WHEEL_DELTA / 3);
    w32drv::Pump();
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[4]);
    w32drv::Wheel(mid, 2 * WHEEL_DELTA);
    w32drv::Pump();
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[0]);
    // turning the other way starts afresh: what is left of the last turn does not hold it back
    SendMessageA(tree, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    w32drv::Wheel(mid, 1);
    w32drv::Wheel(mid, -WHEEL_DELTA / 3);
    w32drv::Pump();
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[11]);
    w32drv::Wheel(mid, -1);
    w32drv::Wheel(mid, WHEEL_DELTA / 3);
    w32drv::Pump();
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[10]);
    SendMessageA(tree, WM_VSCROLL, SB_TOP, 0);

    // keys keep the caret in view
    tree.SelectItem(r[0]);
    for (UINT i = 0; i < page; ++i)
        key(VK_DOWN);
    EXPECT_EQ(tree.GetSelectedItem(), r[page]);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[1]);
    key(VK_NEXT);
    EXPECT_EQ(tree.GetSelectedItem(), r[2 * page - 1]);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[page]);
    key(VK_END);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[40 - page]);
    key(VK_PRIOR);
    EXPECT_EQ(tree.GetSelectedItem(), r[39 - (page - 1)]);
    key(VK_HOME);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[0]);
    // Ctrl+Down scrolls without moving the caret
    key(VK_DOWN, w32drv::Control);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[1]);
    EXPECT_EQ(tree.GetSelectedItem(), r[0]);
    // the first row in view deleted: the next takes its place
    tree.SelectSetFirstVisible(r[10]);
    tree.DeleteItem(r[10]);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[11]);
}

TEST_F(TreeTest, EnsureVisibleOpensAndScrolls) {
    create();
    std::vector<HTREEITEM> r;
    for (int i = 0; i < 30; ++i)
        r.push_back(tree.InsertItem(("R" + std::to_string(i)).c_str()));
    HTREEITEM mid = tree.InsertItem("mid", r[20]);
    HTREEITEM deep = tree.InsertItem("deep", mid);
    UINT page = tree.GetVisibleCount();
    ASSERT_TRUE(tree.EnsureVisible(deep));
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TVN_ITEMEXPANDINGA,
                                          TVN_ITEMEXPANDEDA}));
    EXPECT_EQ(notes[0].newItem, r[20]);
    EXPECT_EQ(notes[2].newItem, mid);
    // deep is row 22: the last row in view
    HTREEITEM first = tree.GetFirstVisibleItem();
    HTREEITEM last = first;
    for (UINT i = 1; i < page; ++i)
        last = tree.GetNextVisibleItem(last);
    EXPECT_EQ(last, deep);
    // already in view: no scrolling
    ASSERT_TRUE(tree.EnsureVisible(r[20]));
    EXPECT_EQ(tree.GetFirstVisibleItem(), first);
    ASSERT_TRUE(tree.EnsureVisible(r[0]));
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[0]);
    // collapsing the rows in view keeps the first one there
    tree.SelectSetFirstVisible(mid);
    tree.Expand(r[20], TVE_COLLAPSE);
    EXPECT_EQ(tree.GetFirstVisibleItem(), r[30 - page]);
    EXPECT_EQ(previousVisible(tree, mid), nullptr); // hidden again
    EXPECT_EQ(tree.GetNextVisibleItem(mid), nullptr);
}

TEST_F(TreeTest, HitTestingFollowsTheRowLayout) {
    create();
    auto r = fill({"Alpha", "Beta"}, 1);
    tree.Expand(r[0], TVE_EXPAND);
    int h = itemHeight(tree);
    int indent = static_cast<int>(SendMessageA(tree, TVM_GETINDENT, 0, 0));
    ASSERT_GT(indent, 10);
    RECT a = labelRect(r[0]), a1 = labelRect(child(r[0], 0));
    EXPECT_EQ(a.left, indent); // lines at root: one level in
    EXPECT_EQ(a1.left, 2 * indent);
    EXPECT_EQ(a1.top, h);
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(CPoint(a.left + 2, 2), &flags), r[0]);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMLABEL));
    EXPECT_EQ(tree.HitTest(CPoint(a.right - 1, 2), &flags), r[0]);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMLABEL));
    EXPECT_EQ(tree.HitTest(CPoint(a.right, 2), &flags), r[0]); // the right edge is outside, as for a RECT
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMRIGHT));
    EXPECT_EQ(tree.HitTest(CPoint(indent / 2, h / 2), &flags), r[0]);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMBUTTON));
    EXPECT_EQ(tree.HitTest(CPoint(indent / 2, h + h / 2), &flags), child(r[0], 0));
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMINDENT)); // a leaf has no button
    EXPECT_EQ(tree.HitTest(CPoint(5, 3 * h), &flags), nullptr); // just below the last of three rows
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_NOWHERE));
    RECT client{};
    GetClientRect(tree, &client);
    EXPECT_EQ(tree.HitTest(CPoint(5, -1), &flags), nullptr);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ABOVE));
    EXPECT_EQ(tree.HitTest(CPoint(5, client.bottom), &flags), nullptr);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_BELOW));
    EXPECT_EQ(tree.HitTest(CPoint(0, 0), &flags), r[0]); // the corner is the first row's
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMBUTTON));
    EXPECT_EQ(tree.HitTest(CPoint(-1, 5), &flags), nullptr);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_TOLEFT));
    EXPECT_EQ(tree.HitTest(CPoint(client.right, 5), &flags), nullptr);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_TORIGHT));
    TVHITTESTINFO info{};
    info.pt = POINT{a.left + 1, 1};
    EXPECT_EQ(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)),
              reinterpret_cast<LRESULT>(r[0]));
    EXPECT_EQ(info.hItem, r[0]);

    // a click on the button opens or closes without selecting
    notes.clear();
    w32drv::ClickClient(tree, indent / 2, h / 2);
    w32drv::Pump();
    EXPECT_FALSE(tree.IsExpanded(r[0]));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, NM_CLICK}));
    tree.DestroyWindow();

    // without lines at root the roots start at the left and have no button
    create(0, 200, WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES);
    r = fill({"Alpha"}, 1);
    EXPECT_EQ(labelRect(r[0]).left, 0);
    tree.HitTest(CPoint(2, 2), &flags);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMLABEL));
    tree.Expand(r[0], TVE_EXPAND);
    EXPECT_EQ(labelRect(child(r[0], 0)).left, indent);
    tree.DestroyWindow();

    // without buttons a row with children has none to hit
    create(0, 200, WS_VISIBLE | TVS_HASLINES | TVS_LINESATROOT);
    r = fill({"Alpha"}, 1);
    tree.HitTest(CPoint(indent / 2, h / 2), &flags);
    EXPECT_EQ(flags, static_cast<UINT>(TVHT_ONITEMINDENT));
}

TEST_F(TreeTest, InspectionReadsTheRowsTheControlDescribes) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"Audio", "Tuner"}, 2);
    tree.Expand(r[0], TVE_EXPAND);
    tree.DisableItem(child(r[0], 1));
    clickRow(child(r[0], 0));
    key(VK_DOWN, w32drv::Control);
    auto info = w32drv::Inspect(tree);
    ASSERT_EQ(info.rows.size(), 4u);
    EXPECT_EQ(info.topIndex, 0);
    const auto& a = info.rows[0];
    EXPECT_EQ(a.depth, 0);
    EXPECT_EQ(a.text, "Audio");
    EXPECT_TRUE(a.hasChildren && a.expanded && !a.selected && !a.caret && !a.disabled);
    const auto& a1 = info.rows[1];
    EXPECT_EQ(a1.depth, 1);
    EXPECT_EQ(a1.text, "Audio1");
    EXPECT_TRUE(!a1.hasChildren && a1.selected && a1.caret && !a1.focused);
    const auto& a2 = info.rows[2];
    EXPECT_TRUE(a2.disabled && a2.focused && !a2.selected);
    const auto& t = info.rows[3];
    EXPECT_TRUE(t.hasChildren && !t.expanded);

    // one number per name, whatever the case; windows that do not answer have no rows
    UINT msg = RegisterWindowMessageA(w32drv::kDescribeMessage);
    EXPECT_GE(msg, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageA("w32drv_describe"), msg);
    EXPECT_NE(RegisterWindowMessageA("Something else"), msg);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
    EXPECT_EQ(SendMessageA(frame, msg, 0, 0), 0);
    EXPECT_TRUE(w32drv::Inspect(frame).rows.empty());
    // the description's length comes back whatever the buffer
    char small[8];
    LRESULT whole = SendMessageA(tree, msg, sizeof small, reinterpret_cast<LPARAM>(small));
    EXPECT_GT(whole, 8);
    EXPECT_STREQ(small, "top 0\np");
    small[0] = 'x';
    SendMessageA(tree, msg, 1, reinterpret_cast<LPARAM>(small));
    EXPECT_EQ(small[0], '\0'); // room for the terminator only
}

TEST_F(TreeTest, TextPictureOfATree) {
    // four rows in view (the picture's cells are shorter than rows: the box shows the rest empty)
    create();
    int h = itemHeight(tree);
    tree.DestroyWindow();
    create(SECTVS_EX_MULTISEL, 4 * h + 2, WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_LINESATROOT);
    ASSERT_EQ(tree.GetVisibleCount(), 4u);
    auto r = fill({"Audio", "Tuner", "Phone", "Nav"}, 2);
    tree.Expand(r[0], TVE_EXPAND);
    tree.DisableItem(r[1]);
    tree.SelectItem(child(r[0], 1));
    tree.SetItemSelected(r[0], TRUE);
    std::string picture = w32drv::Picture(tree);
    EXPECT_EQ(GetWindowLongA(tree, GWL_STYLE) & WS_VSCROLL, 0); // no scroll bar unless asked for
    EXPECT_EQ(picture, "+--------------------------------+\n"
                       "| *-Audio                        |\n"
                       "|     Audio1                     |\n"
                       "|>*   Audio2                     |\n"
                       "| ~+Tuner                       v|\n"
                       "|                                |\n"
                       "+--------------------------------+\n")
        << picture;
    tree.SelectSetFirstVisible(r[3]);
    picture = w32drv::Picture(tree);
    EXPECT_EQ(picture, "+--------------------------------+\n"
                       "|>*   Audio2                    ^|\n"
                       "| ~+Tuner                        |\n"
                       "|  +Phone                        |\n"
                       "|  +Nav                          |\n"
                       "|                                |\n"
                       "+--------------------------------+\n")
        << picture;
}
