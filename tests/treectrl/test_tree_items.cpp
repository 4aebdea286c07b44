// Rows of the tree control: insertion and navigation, item data and text, opening and closing
// with their notifications (and a parent that fills a row while it opens), deletion with the
// caret and the selection in the deleted rows.
#include "TreeFixture.h"

#include <string>

TEST_F(TreeTest, InsertionPlacesRowsAndNavigationFindsThem) {
    create();
    HTREEITEM a = tree.InsertItem("A");
    HTREEITEM b = tree.InsertItem("B", TVI_ROOT, TVI_LAST);
    HTREEITEM first = tree.InsertItem("First", TVI_ROOT, TVI_FIRST);
    HTREEITEM a2 = tree.InsertItem("a2", a);
    HTREEITEM a1 = tree.InsertItem("a1", a, TVI_FIRST);
    HTREEITEM a3 = tree.InsertItem("a3", a, a2);
    HTREEITEM sorted = tree.InsertItem("A25", a, TVI_SORT);
    ASSERT_TRUE(a && b && first && a1 && a2 && a3 && sorted);
    EXPECT_EQ(tree.GetRootItem(), first);
    EXPECT_EQ(tree.GetChildItem(TVI_ROOT), first);
    EXPECT_EQ(tree.GetChildItem(nullptr), first);
    EXPECT_EQ(tree.GetNextSiblingItem(first), a);
    EXPECT_EQ(tree.GetNextSiblingItem(a), b);
    EXPECT_EQ(tree.GetNextSiblingItem(b), nullptr);
    EXPECT_EQ(tree.GetChildItem(a), a1);
    EXPECT_EQ(tree.GetNextSiblingItem(a1), a2);
    EXPECT_EQ(tree.GetNextSiblingItem(a2), sorted); // "A25" sorts between "a2" and "a3" ignoring case
    EXPECT_EQ(tree.GetNextSiblingItem(sorted), a3);
    EXPECT_EQ(tree.GetParentItem(a3), a);
    EXPECT_EQ(tree.GetParentItem(a), nullptr);
    HTREEITEM ba = tree.InsertItem("Ba", b, TVI_SORT);
    HTREEITEM ab = tree.InsertItem("Ab", b, TVI_SORT); // the first letter decides
    EXPECT_EQ(tree.GetChildItem(b), ab);
    EXPECT_EQ(tree.GetNextSiblingItem(ab), ba);
    EXPECT_EQ(tree.GetCount(), 9u);
    EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PREVIOUS, reinterpret_cast<LPARAM>(a)),
              reinterpret_cast<LRESULT>(first));
    // an insertion point that is no child of the parent, or a parent that is gone, fails
    EXPECT_EQ(tree.InsertItem("x", b, a1), nullptr);
    tree.DeleteItem(a3);
    EXPECT_EQ(tree.InsertItem("x", a3), nullptr);
    EXPECT_EQ(tree.GetCount(), 8u);
}

TEST_F(TreeTest, ItemTextDataAndChildrenFlag) {
    create();
    HTREEITEM a = tree.InsertItem("Alpha");
    EXPECT_EQ(tree.GetItemData(a), 0u);
    EXPECT_TRUE(tree.SetItemData(a, 0xBEEF));
    EXPECT_EQ(tree.GetItemData(a), 0xBEEFu);
    EXPECT_TRUE(tree.SetItemText(a, "Beta"));
    EXPECT_EQ(tree.GetItemText(a), "Beta");
    std::string longText(700, 'x');
    longText += "end";
    tree.SetItemText(a, longText.c_str());
    EXPECT_EQ(tree.GetItemText(a), longText);
    // a short buffer gets the beginning, terminated
    char small[4] = {'?', '?', '?', '?'};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_CHILDREN;
    tv.hItem = a;
    tv.pszText = small;
    tv.cchTextMax = 4;
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_STREQ(small, "xxx");
    EXPECT_EQ(tv.cChildren, 0);
    EXPECT_FALSE(tree.ItemHasChildren(a));
    // a row can be made openable before it has children
    tv.mask = TVIF_CHILDREN;
    tv.cChildren = 1;
    ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_TRUE(tree.ItemHasChildren(a));
    EXPECT_EQ(w32drv::Inspect(tree).rows.at(0).hasChildren, true);
    // but does not open while it stays empty
    EXPECT_FALSE(tree.Expand(a, TVE_EXPAND));
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA}));
    EXPECT_FALSE(tree.IsExpanded(a));
    EXPECT_FALSE(SendMessageA(tree, TVM_GETITEMA, 0, 0));
    EXPECT_FALSE(SendMessageA(tree, TVM_SETITEMA, 0, 0));
    // handles of deleted rows are refused
    tree.DeleteItem(a);
    EXPECT_FALSE(tree.SetItemData(a, 1));
    EXPECT_EQ(tree.GetItemText(a), "");

    // the masks say which members count, at insertion and after
    TVINSERTSTRUCTA is{};
    is.hParent = TVI_ROOT;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_PARAM;
    is.item.pszText = const_cast<LPSTR>("not asked for");
    is.item.lParam = 0xCAFE;
    auto b =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(tree.GetItemData(b), 0xCAFEu);
    EXPECT_EQ(tree.GetItemText(b), "");
    tv = TVITEMA{};
    tv.mask = TVIF_PARAM;
    tv.hItem = b;
    tv.pszText = const_cast<LPSTR>("not asked for");
    tv.lParam = 7;
    ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_EQ(tree.GetItemData(b), 7u);
    EXPECT_EQ(tree.GetItemText(b), "");
}

TEST_F(TreeTest, RowWithAChildShowsItsButtonAndOpensWithNotifications) {
    create();
    HTREEITEM a = tree.InsertItem("A");
    HTREEITEM placeholder = tree.InsertItem("", a);
    tree.InsertItem("B");
    auto rows = w32drv::Inspect(tree).rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].hasChildren);
    EXPECT_FALSE(rows[0].expanded);
    EXPECT_FALSE(rows[1].hasChildren);
    EXPECT_TRUE(tree.ItemHasChildren(a));
    EXPECT_FALSE(tree.IsExpanded(a));

    // the parent replaces the placeholder while the row opens
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_ITEMEXPANDINGA) {
            auto* nm = reinterpret_cast<const NMTREEVIEWA*>(hdr);
            EXPECT_EQ(nm->action, static_cast<UINT>(TVE_EXPAND));
            EXPECT_EQ(nm->itemNew.state & TVIS_EXPANDED, 0u);
            tree.DeleteItem(placeholder);
            for (const char* t : {"a1", "a2", "a3"})
                tree.InsertItem(t, nm->itemNew.hItem);
        }
        return 0;
    };
    ASSERT_TRUE(tree.Expand(a, TVE_EXPAND));
    EXPECT_EQ(shown(), (std::vector<std::string>{"A", "  a1", "  a2", "  a3", "B"}));
    ASSERT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
    EXPECT_EQ(notes[0].newItem, a);
    EXPECT_EQ(notes[1].newItem, a);
    EXPECT_EQ(notes[1].action, static_cast<UINT>(TVE_EXPAND));
    EXPECT_NE(notes[1].newState & TVIS_EXPANDED, 0u);
    EXPECT_TRUE(tree.IsExpanded(a));
    answer = nullptr;

    // nothing to do: no notification
    notes.clear();
    EXPECT_FALSE(tree.Expand(a, TVE_EXPAND));
    EXPECT_FALSE(tree.Expand(tree.GetNextSiblingItem(a), TVE_EXPAND)); // no children
    EXPECT_TRUE(notes.empty());

    ASSERT_TRUE(tree.Expand(a, TVE_TOGGLE));
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
    EXPECT_EQ(notes[1].action, static_cast<UINT>(TVE_COLLAPSE));
    EXPECT_EQ(notes[1].newState & TVIS_EXPANDED, 0u);
    EXPECT_EQ(shown(), (std::vector<std::string>{"A", "B"}));

    // the parent says no
    notes.clear();
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ITEMEXPANDINGA; };
    EXPECT_FALSE(tree.Expand(a, TVE_EXPAND));
    EXPECT_FALSE(tree.IsExpanded(a));
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA}));

    // the parent opens or closes the row itself while asked: it happens once
    for (UINT code : {TVE_EXPAND, TVE_COLLAPSE}) {
        bool asked = false;
        answer = [&](const NMHDR* hdr) -> LRESULT {
            if (hdr->code == TVN_ITEMEXPANDINGA && !asked) {
                asked = true;
                tree.Expand(a, code);
            }
            return 0;
        };
        notes.clear();
        tree.Expand(a, code);
        EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}))
            << code;
        EXPECT_EQ(tree.IsExpanded(a) != FALSE, code == TVE_EXPAND);
    }
}

TEST_F(TreeTest, CollapsingMovesTheCaretOutAndResetDeletesTheChildren) {
    create();
    auto roots = fill({"A", "B"}, 2);
    tree.Expand(roots[0], TVE_EXPAND);
    HTREEITEM a2 = child(roots[0], 1);
    ASSERT_TRUE(tree.SelectItem(a2));
    notes.clear();
    ASSERT_TRUE(tree.Expand(roots[0], TVE_COLLAPSE));
    ASSERT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_SELCHANGEDA, TVN_ITEMEXPANDEDA}));
    EXPECT_EQ(notes[1].oldItem, a2);
    EXPECT_EQ(notes[1].newItem, roots[0]);
    EXPECT_EQ(notes[1].action, static_cast<UINT>(TVC_UNKNOWN));
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    EXPECT_TRUE(tree.IsSelected(roots[0]));

    tree.Expand(roots[1], TVE_EXPAND);
    EXPECT_EQ(tree.GetCount(), 6u);
    ASSERT_TRUE(tree.Expand(roots[1], TVE_COLLAPSE | TVE_COLLAPSERESET));
    EXPECT_EQ(tree.GetCount(), 4u);
    EXPECT_EQ(tree.GetChildItem(roots[1]), nullptr);
    EXPECT_FALSE(tree.ItemHasChildren(roots[1]));

    // the parent deletes the row when the collapse brings the caret to it: the collapse ends there
    tree.Expand(roots[0], TVE_EXPAND);
    tree.SelectItem(a2);
    bool deleted = false;
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_SELCHANGEDA && !deleted) {
            deleted = true;
            tree.DeleteItem(roots[0]);
        }
        return 0;
    };
    notes.clear();
    EXPECT_FALSE(tree.Expand(roots[0], TVE_COLLAPSE));
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_SELCHANGEDA, TVN_SELCHANGEDA}));
    EXPECT_EQ(tree.GetSelectedItem(), roots[1]);
    EXPECT_EQ(shown(), (std::vector<std::string>{"B"}));
}

TEST_F(TreeTest, DeletingTheCaretRowMovesTheCaretAsWindowsDoes) {
    create();
    auto roots = fill({"A", "B", "C"}, 3);
    tree.Expand(roots[0], TVE_EXPAND);
    HTREEITEM a2 = child(roots[0], 1), a3 = child(roots[0], 2);
    tree.SelectItem(a2);
    notes.clear();
    // the next sibling takes the caret
    ASSERT_TRUE(tree.DeleteItem(a2));
    ASSERT_EQ(codes(), (std::vector<UINT>{TVN_SELCHANGEDA}));
    EXPECT_EQ(notes[0].oldItem, a2);
    EXPECT_EQ(notes[0].newItem, a3);
    EXPECT_EQ(tree.GetSelectedItem(), a3);
    // then the parent, for the last child
    notes.clear();
    tree.DeleteItem(a3);
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    EXPECT_EQ(notes.size(), 1u);
    // a deleted subtree holding the caret: the next root
    HTREEITEM deep = tree.InsertItem("deep", child(roots[0], 0));
    tree.SelectItem(child(roots[0], 0));
    tree.DeleteItem(roots[0]);
    EXPECT_FALSE(tree.SetItemData(deep, 1)); // gone with its grandparent
    EXPECT_EQ(tree.GetSelectedItem(), roots[1]);
    EXPECT_EQ(tree.GetCount(), 8u);
    // the last root: the previous sibling
    tree.SelectItem(roots[2]);
    tree.DeleteItem(roots[2]);
    EXPECT_EQ(tree.GetSelectedItem(), roots[1]);
    EXPECT_EQ(shown(), (std::vector<std::string>{"B"}));
    // a row that loses its last child is closed
    tree.Expand(roots[1], TVE_EXPAND);
    for (HTREEITEM c; (c = tree.GetChildItem(roots[1]));)
        tree.DeleteItem(c);
    EXPECT_FALSE(tree.IsExpanded(roots[1]));
    // a parent that puts the caret back on the row being deleted does not leave it on a deleted row
    HTREEITEM e = tree.InsertItem("E");
    tree.InsertItem("F");
    tree.SelectItem(e);
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_SELCHANGEDA && tree.GetSelectedItem() != e) tree.SelectItem(e);
        return 0;
    };
    tree.DeleteItem(e);
    answer = nullptr;
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    // deleting everything says nothing of the selection
    tree.InsertItem("D");
    EXPECT_EQ(shown(), (std::vector<std::string>{"B", "F", "D"}));
    notes.clear();
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_TRUE(notes.empty());
    EXPECT_TRUE(shown().empty());
    EXPECT_FALSE(tree.DeleteItem(e)); // gone
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    EXPECT_EQ(tree.GetFirstVisibleItem(), nullptr);
}

TEST_F(TreeTest, DeletingSelectedRowsUpdatesTheMultipleSelection) {
    create(SECTVS_EX_MULTISEL);
    auto roots = fill({"A", "B", "C", "D"});
    tree.SelectItem(roots[0]);
    tree.SetItemSelected(roots[2], TRUE);
    tree.SetItemSelected(roots[3], TRUE);
    notes.clear();
    tree.DeleteItem(roots[2]); // selected, not the caret
    ASSERT_EQ(codes(), (std::vector<UINT>{TVN_SELCHANGEDA}));
    EXPECT_EQ(notes[0].oldItem, roots[0]);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"A", "D"}));
    notes.clear();
    tree.DeleteItem(roots[1]); // neither
    EXPECT_TRUE(notes.empty());
    tree.DeleteItem(roots[0]); // the caret: the next row takes it, the selection keeps the others
    EXPECT_EQ(tree.GetSelectedItem(), roots[3]);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"D"}));
}

TEST_F(TreeTest, KeysOpenCloseAndWalkTheTree) {
    create();
    auto roots = fill({"A", "B"}, 2);
    HTREEITEM a1 = child(roots[0], 0);
    tree.InsertItem("x", a1); // a1 opens too
    tree.InsertItem("*star");
    tree.SelectItem(roots[0]);
    notes.clear();
    key(VK_RIGHT); // opens
    EXPECT_TRUE(tree.IsExpanded(roots[0]));
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
    key(VK_RIGHT); // goes to the first child
    EXPECT_EQ(tree.GetSelectedItem(), a1);
    EXPECT_EQ(notes.back().action, static_cast<UINT>(TVC_BYKEYBOARD));
    key(VK_LEFT); // a closed child: to the parent
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    key(VK_LEFT); // an open row closes
    EXPECT_FALSE(tree.IsExpanded(roots[0]));
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    key(VK_ADD);
    EXPECT_TRUE(tree.IsExpanded(roots[0]));
    key(VK_SUBTRACT);
    EXPECT_FALSE(tree.IsExpanded(roots[0]));
    // keypad * opens the row and all below, and types nothing
    notes.clear();
    key(VK_MULTIPLY);
    EXPECT_TRUE(tree.IsExpanded(roots[0]));
    EXPECT_TRUE(tree.IsExpanded(a1));
    EXPECT_FALSE(tree.IsExpanded(roots[1]));
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TVN_ITEMEXPANDINGA,
                                          TVN_ITEMEXPANDEDA}));
    key(VK_DOWN);
    key(VK_DOWN);
    EXPECT_EQ(text(tree.GetSelectedItem()), "x");
    key(VK_BACK);
    EXPECT_EQ(tree.GetSelectedItem(), a1);
}

TEST_F(TreeTest, KeypadStarFillsEachRowWhileItOpens) {
    create();
    HTREEITEM top = tree.InsertItem("L0");
    tree.InsertItem("", top);
    // every opening row gets two children with a placeholder each, down to depth 3
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code != TVN_ITEMEXPANDINGA) return 0;
        HTREEITEM row = reinterpret_cast<const NMTREEVIEWA*>(hdr)->itemNew.hItem;
        HTREEITEM placeholder = tree.GetChildItem(row);
        if (tree.GetItemText(placeholder) != "") return 0;
        tree.DeleteItem(placeholder);
        int depth = 0;
        for (HTREEITEM p = tree.GetParentItem(row); p; p = tree.GetParentItem(p))
            ++depth;
        for (int i = 0; i < 2; ++i) {
            HTREEITEM c = tree.InsertItem(("L" + std::to_string(depth + 1) + char('a' + i)).c_str(), row);
            if (depth + 1 < 3) tree.InsertItem("", c);
        }
        return 0;
    };
    tree.SelectItem(top);
    key(VK_MULTIPLY);
    EXPECT_EQ(tree.GetCount(), 15u); // 1 + 2 + 4 + 8
    EXPECT_EQ(w32drv::Inspect(tree).rows.size(), 15u);
}
