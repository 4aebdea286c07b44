// Rows of the tree control: insertion and navigation, item data and text, opening and closing
// with their notifications (and a parent that fills a row while it opens), deletion with the
// caret and the selection in the deleted rows, keys that open, close and walk the tree.
#include "TreeFixture.h"

TEST_F(TreeTest, InsertionPlacesRowsAndNavigationFindsThem) {
    create();
    HTREEITEM a = tree.InsertItem("A"), b = tree.InsertItem("B", TVI_ROOT, TVI_LAST);
    HTREEITEM first = tree.InsertItem("First", TVI_ROOT, TVI_FIRST);
    HTREEITEM a2 = tree.InsertItem("a2", a);
    tree.InsertItem("a1", a, TVI_FIRST);
    HTREEITEM a3 = tree.InsertItem("a3", a, a2);
    tree.InsertItem("A25", a, TVI_SORT); // between "a2" and "a3", ignoring case
    tree.InsertItem("Ba", b, TVI_SORT);
    tree.InsertItem("Ab", b, TVI_SORT); // the first letter decides
    EXPECT_EQ(kids(TVI_ROOT) + "|" + kids(a) + "|" + kids(b), "First A B|a1 a2 A25 a3|Ab Ba");
    EXPECT_TRUE(tree.GetRootItem() == first && tree.GetChildItem(nullptr) == first);
    EXPECT_EQ(tree.GetCount(), 9u);
    // an insertion point that is no child of the parent, or a parent that is gone, fails
    EXPECT_EQ(tree.InsertItem("x", b, a2), nullptr);
    tree.DeleteItem(a3);
    EXPECT_EQ(tree.InsertItem("x", a3), nullptr);
    tree.InsertItem("a4", a); // after the last child, deleted or not
    EXPECT_EQ(kids(a), "a1 a2 A25 a4");
}

TEST_F(TreeTest, ItemTextDataAndChildrenFlag) {
    create();
    HTREEITEM a = tree.InsertItem("Alpha");
    EXPECT_TRUE(tree.GetItemData(a) == 0 && tree.SetItemData(a, 0xBEEF) && tree.GetItemData(a) == 0xBEEF);
    std::string longText = std::string(700, 'x') + "end";
    EXPECT_TRUE(tree.SetItemText(a, longText.c_str()));
    EXPECT_EQ(tree.GetItemText(a), longText);
    char small[4] = {'?', '?', '?', '?'}; // a short buffer gets the beginning, terminated
    TVITEMA tv = tvItem(TVIF_TEXT | TVIF_CHILDREN, a, small, 4);
    ASSERT_TRUE(tree.SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_STREQ(small, "xxx");
    EXPECT_TRUE(tv.cChildren == 0 && !tree.ItemHasChildren(a));
    // a row can be made openable before it has children, but does not open while it stays empty
    tv = tvItem(TVIF_CHILDREN, a);
    tv.cChildren = 1;
    ASSERT_TRUE(tree.SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_TRUE(tree.ItemHasChildren(a));
    EXPECT_FALSE(tree.Expand(a, TVE_EXPAND));
    EXPECT_EQ(view() + "|" + log(), longText + "+|expanding");
    EXPECT_FALSE(tree.SendMessage(TVM_GETITEMA) || tree.SendMessage(TVM_SETITEMA));
    tree.DeleteItem(a); // handles of deleted rows are refused
    EXPECT_TRUE(!tree.SetItemData(a, 1) && tree.GetItemData(a) == 0 && tree.GetItemText(a).empty());
    // the masks say which members count, at insertion and after
    tv = tvItem(TVIF_PARAM, nullptr, "not asked for");
    tv.lParam = 0xCAFE;
    HTREEITEM b = tv.hItem = insert(tv);
    EXPECT_TRUE(tree.GetItemData(b) == 0xCAFE && tree.GetItemText(b).empty());
    tv.lParam = 7;
    ASSERT_TRUE(tree.SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_TRUE(tree.GetItemData(b) == 7 && tree.GetItemText(b).empty());
}

TEST_F(TreeTest, OpeningAndClosingWithTheParentsSay) {
    create();
    HTREEITEM a = tree.InsertItem("A");
    HTREEITEM placeholder = tree.InsertItem("", a);
    tree.InsertItem("B");
    // the parent replaces the placeholder while the row opens
    answer = [&](const NMHDR* hdr) -> LRESULT {
        auto* nm = reinterpret_cast<const NMTREEVIEWA*>(hdr);
        if (hdr->code == TVN_ITEMEXPANDINGA && tree.DeleteItem(placeholder)) {
            EXPECT_EQ(nm->itemNew.state & TVIS_EXPANDED, 0u);
            for (const char* t : {"a1", "a2"})
                tree.InsertItem(t, nm->itemNew.hItem);
        }
        return 0;
    };
    play({{"expand A", "A- .a1 .a2 B", nullptr}});
    EXPECT_TRUE(notes[0].newItem == a && notes[1].newItem == a && notes[0].action == TVE_EXPAND &&
                notes[1].action == TVE_EXPAND);
    EXPECT_EQ(notes[1].newState & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    EXPECT_EQ(log(), "expanding expanded");
    answer = nullptr;
    play({{"expand A", nullptr, "no"},
          {"expand B", nullptr, "no"}, // nothing to do: nothing said
          {"toggle A", "A+ B", nullptr}});
    EXPECT_TRUE(notes[1].action == TVE_COLLAPSE && (notes[1].newState & TVIS_EXPANDED) == 0);
    EXPECT_EQ(log(), "expanding expanded");
    // the parent says no
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ITEMEXPANDINGA; };
    play({{"expand A", "A+ B", "no expanding"}});
    // the parent opens or closes the row itself while asked: it happens once
    for (UINT code : {TVE_EXPAND, TVE_COLLAPSE}) {
        answer = [&, asked = false](const NMHDR* hdr) mutable -> LRESULT {
            if (hdr->code == TVN_ITEMEXPANDINGA && !asked && (asked = true)) tree.Expand(a, code);
            return 0;
        };
        tree.Expand(a, code);
        EXPECT_EQ(log(), "expanding expanding expanded") << code;
        EXPECT_EQ(tree.IsExpanded(a) != FALSE, code == TVE_EXPAND);
    }
}

TEST_F(TreeTest, CollapsingMovesTheCaretOutAndResetDeletesTheChildren) {
    create();
    auto roots = fill({"A", "B"}, 2);
    play({{"select A2", "A- .A1 .A2:scf B+", "expanding expanded changing changed"},
          {"collapse A", "A+:scf B+", nullptr}});
    EXPECT_TRUE(notes[1].oldItem == find("A2") && notes[1].newItem == roots[0]);
    EXPECT_EQ(notes[1].action, static_cast<UINT>(TVC_UNKNOWN));
    EXPECT_TRUE(tree.IsSelected(roots[0]));
    EXPECT_EQ(log(), "expanding changed expanded");
    tree.Expand(roots[1], TVE_EXPAND);
    ASSERT_TRUE(tree.Expand(roots[1], TVE_COLLAPSE | TVE_COLLAPSERESET));
    EXPECT_EQ(view() + "|" + std::to_string(tree.GetCount()), "A+:scf B|4");
    // the parent deletes the row when the collapse brings the caret to it: the collapse ends there
    tree.SelectItem(find("A2"));
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_SELCHANGEDA && tree.GetCount() == 4) tree.DeleteItem(roots[0]);
        return 0;
    };
    log();
    play({{"collapse A", "B:scf", "no expanding changed changed"}});
}

TEST_F(TreeTest, DeletingRowsMovesTheCaretAsWindowsDoesAndUpdatesTheSelection) {
    create();
    auto roots = fill({"A", "B", "C"}, 3);
    tree.InsertItem("deep", find("B1"));
    HTREEITEM a2 = find("A2"), a3 = find("A3");
    tree.SelectItem(a2);
    log();
    ASSERT_TRUE(tree.DeleteItem(a2)); // the next sibling takes the caret
    EXPECT_TRUE(notes[0].oldItem == a2 && notes[0].newItem == a3);
    EXPECT_EQ(view() + "|" + log(), "A- .A1 .A3:scf B+ C+|changed");
    play({{"delete A3", "A-:scf .A1 B+ C+", "changed"}, // then the parent, for the last child
          {"select deep", nullptr, "expanding expanded expanding expanded changing changed"},
          {"delete B", "A- .A1 C+:scf", "changed"}, // a subtree with the caret: the next root
          {"delete C", "A-:scf .A1", "changed"},    // the last root: the previous sibling
          {"delete A1", "A:scf", ""}});             // a row that loses its last child is closed
    EXPECT_EQ(tree.GetCount(), 1u);
    // a parent that puts the caret back on the row being deleted does not leave it on a deleted row
    HTREEITEM e = tree.InsertItem("E");
    tree.InsertItem("F");
    play({{"select E", nullptr, "changing changed"}});
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_SELCHANGEDA && tree.GetSelectedItem() != e) tree.SelectItem(e);
        return 0;
    };
    play({{"delete E", "A F", "changed changing changed"}});
    answer = nullptr;
    // deleting everything says nothing of the selection
    play({{"select F", "A F:scf", "changing changed"}});
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(view() + log(), "");
    EXPECT_FALSE(tree.DeleteItem(e)); // gone
    EXPECT_TRUE(tree.GetCount() == 0 && !tree.GetSelectedItem() && !tree.GetRootItem() &&
                !tree.GetFirstVisibleItem());

    create(SECTVS_EX_MULTISEL);
    fill({"A", "B", "C", "D"});
    play({{"select A", nullptr, "changing changed"},
          {"add C", nullptr, "changed"},
          {"add D", "A:scf B C:s D:s", "changed"},
          {"delete C", "A:scf B D:s", "changed"},     // selected, not the caret
          {"delete B", nullptr, ""},                  // neither
          {"delete A", "D:scf", "changed changed"}}); // the caret: the next row takes it
}

TEST_F(TreeTest, KeysOpenCloseAndWalkTheTree) {
    create();
    auto roots = fill({"A", "B"}, 2);
    tree.InsertItem("x", find("A1"));
    tree.SelectItem(roots[0]);
    log();
    play({{"key Right", "A-:scf .A1+ .A2 B+", "expanding expanded"}, // opens
          {"key Right", "A- .A1+:scf .A2 B+", "changing changed"},   // goes to the first child
          {"key Left", "A-:scf .A1+ .A2 B+", "changing changed"},    // a closed child: to the parent
          {"key Left", "A+:scf B+", "expanding expanded"},           // an open row closes
          {"key Add", "A-:scf .A1+ .A2 B+", "expanding expanded"},
          {"key Sub", "A+:scf B+", "expanding expanded"},
          {"key Mul", "A-:scf .A1- ..x .A2 B+", "expanding expanded expanding expanded"}, // all below
          {"key Down", "A- .A1-:scf ..x .A2 B+", "changing changed"},
          {"key End", "A- .A1- ..x .A2 B+:scf", "changing changed"},
          {"key Up", "A- .A1- ..x .A2:scf B+", "changing changed"},
          {"key Back", "A-:scf .A1- ..x .A2 B+", "changing changed"}});
}

TEST_F(TreeTest, KeypadStarFillsEachRowWhileItOpens) {
    create();
    tree.InsertItem("", tree.InsertItem("L"));
    // every opening row gets two children with a placeholder each, down to depth 3
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code != TVN_ITEMEXPANDINGA) return 0;
        HTREEITEM row = reinterpret_cast<const NMTREEVIEWA*>(hdr)->itemNew.hItem;
        if (!tree.GetItemText(tree.GetChildItem(row)).empty()) return 0;
        tree.DeleteItem(tree.GetChildItem(row));
        for (const char* name : {"a", "b"}) {
            HTREEITEM c = tree.InsertItem((text(row) + name).c_str(), row);
            if (text(row).size() < 3) tree.InsertItem("", c);
        }
        return 0;
    };
    tree.SelectItem(tree.GetRootItem());
    key(VK_MULTIPLY);
    EXPECT_EQ(tree.GetCount(), 15u); // 1 + 2 + 4 + 8
    EXPECT_EQ(w32drv::Inspect(tree).rows.size(), 15u);
}
