// Rows of the tree control: insertion and navigation, item data and text, opening and closing
// with their notifications (and a parent that fills a row while it opens), deletion with the
// caret and the selection in the deleted rows, keys that open, close and walk the tree.
#include "TreeFixture.h"

TEST_F(TreeTest, InsertionNavigationTextDataAndChildrenFlag) {
    create();
    HTREEITEM a = tree.InsertItem("A"), b = tree.InsertItem("B", TVI_ROOT, TVI_LAST);
    HTREEITEM first = tree.InsertItem("First", TVI_ROOT, TVI_FIRST), a2 = tree.InsertItem("a2", a);
    tree.InsertItem("a1", a, TVI_FIRST);
    HTREEITEM a3 = tree.InsertItem("a3", a, a2);
    for (auto [text, parent] : {std::pair{"A25", a}, {"Ba", b}, {"Ab", b}}) // ignoring case, by the start
        tree.InsertItem(text, parent, TVI_SORT);
    EXPECT_EQ(kids(TVI_ROOT) + "|" + kids(a) + "|" + kids(b), "First A B|a1 a2 A25 a3|Ab Ba");
    EXPECT_TRUE(tree.GetRootItem() == first && tree.GetChildItem(nullptr) == first && tree.GetCount() == 9);
    // an insertion point that is no child of the parent, or a parent that is gone, fails
    EXPECT_TRUE(!tree.InsertItem("x", b, a2) && tree.DeleteItem(a3) && !tree.InsertItem("x", a3));
    tree.InsertItem("a4", a); // after the last child, deleted or not
    EXPECT_EQ(kids(a), "a1 a2 A25 a4");

    EXPECT_TRUE(tree.GetItemData(a) == 0 && tree.SetItemData(a, 0xBEEF) && tree.GetItemData(a) == 0xBEEF);
    std::string longText = std::string(700, 'x') + "end";
    EXPECT_TRUE(tree.SetItemText(b, longText.c_str()) && tree.GetItemText(b) == longText);
    // a row can be made openable before it has children, but does not open while it stays empty
    TVITEMA tv{TVIF_CHILDREN, first, 0, 0, nullptr, 0, 0, 0, 1, 0};
    EXPECT_TRUE(!tree.ItemHasChildren(first) && tree.SendMessage(TVM_SETITEMA, 0, LPARAM(&tv)));
    EXPECT_TRUE(tree.ItemHasChildren(first) && !tree.Expand(first, TVE_EXPAND));
    EXPECT_EQ(view().substr(0, 6) + "|" + log(), "First+|expanding");
    tree.DeleteItem(a); // handles of deleted rows are refused
    EXPECT_TRUE(!tree.SetItemData(a, 1) && tree.GetItemData(a) == 0 && tree.GetItemText(a).empty());
}

TEST_F(TreeTest, OpeningAndClosingWithTheParentsSay) {
    create();
    HTREEITEM a = tree.InsertItem("A"), placeholder = tree.InsertItem("", a);
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
    EXPECT_TRUE(notes[0].itemNew.hItem == a && notes[1].itemNew.hItem == a && notes[1].action == TVE_EXPAND);
    EXPECT_EQ(notes[1].itemNew.state & (TVIS_EXPANDED | TVIS_EXPANDEDONCE),
              TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    answer = nullptr;
    play({{"wait 0", nullptr, "expanding expanded"},
          {"expand A; expand B", nullptr, "no"}, // nothing to do (open, no children): nothing said
          {"toggle A", "A+ B", nullptr}});
    EXPECT_TRUE(notes[1].action == TVE_COLLAPSE && (notes[1].itemNew.state & TVIS_EXPANDED) == 0);
    // the parent says no
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ITEMEXPANDINGA; };
    play({{"wait 0", nullptr, "expanding expanded"},
          {"expand A", "A+ B", "no expanding"},
          {"select a1", "A+ B", "no expanding"}}); // nor are its children selected
    // the parent opens or closes the row itself while asked: it happens once
    for (UINT code : {TVE_EXPAND, TVE_COLLAPSE}) {
        answer = [&, asked = false](const NMHDR* hdr) mutable -> LRESULT {
            if (hdr->code == TVN_ITEMEXPANDINGA && !asked && (asked = true)) tree.Expand(a, code);
            return 0;
        };
        tree.Expand(a, code);
        EXPECT_EQ(log() + "|" + view(), "expanding expanding expanded|" +
                                            std::string(code == TVE_EXPAND ? "A- .a1 .a2 B" : "A+ B"));
        EXPECT_EQ(tree.IsExpanded(a) != FALSE, code == TVE_EXPAND);
    }
}

TEST_F(TreeTest, CollapsingOrDeletingMovesTheCaretAsWindowsDoes) {
    create();
    fill({"A", "B"}, 2);
    HTREEITEM a2 = find("A2");
    play({{"select A2", "A- .A1 .A2:scf B+", "expanding expanded changing changed"},
          {"collapse A", "A+:scf B+", nullptr}});
    EXPECT_TRUE(notes[1].itemOld.hItem == a2 && notes[1].itemNew.hItem == find("A") &&
                notes[1].action == TVC_UNKNOWN);
    EXPECT_TRUE(tree.IsSelected(find("A")));
    play({{"expand B", "A+:scf B- .B1 .B2", "expanding changed expanded expanding expanded"}});
    ASSERT_TRUE(tree.Expand(find("B"), TVE_COLLAPSE | TVE_COLLAPSERESET));
    EXPECT_EQ(view() + "|" + std::to_string(tree.GetCount()), "A+:scf B|4");
    // the parent deletes the row when the collapse brings the caret to it: the collapse ends there
    play({{"select A2", nullptr, "expanding expanded expanding expanded changing changed"}});
    answer = [&](const NMHDR* hdr) -> LRESULT {
        if (hdr->code == TVN_SELCHANGEDA && find("A")) tree.DeleteItem(find("A"));
        return 0;
    };
    play({{"collapse A", "B:scf", "no expanding changed changed"}});
    answer = nullptr;

    create();
    fill({"A", "B", "C"}, 3);
    HTREEITEM deep = tree.InsertItem("deep", find("B1")), a3 = find("A3");
    a2 = find("A2");
    play({{"select A2", nullptr, "expanding expanded changing changed"},
          {"delete A2", "A- .A1 .A3:scf B+ C+", nullptr}}); // the next sibling takes the caret
    EXPECT_TRUE(notes[0].itemOld.hItem == a2 && notes[0].itemNew.hItem == a3);
    play({{"wait 0", nullptr, "changed"},
          {"delete A3", "A-:scf .A1 B+ C+", "changed"}, // then the parent, for the last child
          {"select deep", nullptr, "expanding expanded expanding expanded changing changed"},
          {"delete B", "A- .A1 C+:scf", "changed"}, // a subtree with the caret: the next root
          {"delete C", "A-:scf .A1", "changed"},    // the last root: the previous sibling
          {"delete A1", "A:scf", ""}});             // a row that loses its last child is closed
    EXPECT_TRUE(tree.GetCount() == 1 && !tree.SetItemData(deep, 1)); // gone with its grandparent
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
    EXPECT_TRUE(!tree.DeleteItem(e) && tree.GetCount() == 0 && !tree.GetSelectedItem() &&
                !tree.GetRootItem() && !tree.GetFirstVisibleItem());
    // selected rows deleted leave the multiple selection
    create(SECTVS_EX_MULTISEL);
    fill({"A", "B", "C", "D"});
    play({{"select A; add C; add D", "A:scf B C:s D:s", "changing changed changed changed"},
          {"delete C", "A:scf B D:s", "changed"},     // selected, not the caret
          {"delete B", nullptr, ""},                  // neither
          {"delete A", "D:scf", "changed changed"}}); // the caret: the next row takes it
}

TEST_F(TreeTest, KeysOpenCloseAndWalkTheTree) {
    create();
    fill({"A", "B"}, 2);
    tree.InsertItem("x", find("A1"));
    play({{"select A", "A+:scf B+", "changing changed"},
          {"key Right", "A-:scf .A1+ .A2 B+", "expanding expanded"}, // opens
          {"key Right", "A- .A1+:scf .A2 B+", "changing changed"},   // goes to the first child
          {"key Left", "A-:scf .A1+ .A2 B+", "changing changed"},    // a closed child: to the parent
          {"key Left", "A+:scf B+", "expanding expanded"},           // an open row closes
          {"key Add", "A-:scf .A1+ .A2 B+", "expanding expanded"},
          {"key Sub", "A+:scf B+", "expanding expanded"},
          {"key Mul", "A-:scf .A1- ..x .A2 B+", "expanding expanded expanding expanded"}, // all below
          {"key Down", "A- .A1-:scf ..x .A2 B+", "changing changed"},
          {"key Back", "A-:scf .A1- ..x .A2 B+", "changing changed"}});
}

// A parent that fills each row while it opens: keypad * goes on into the new rows.
TEST_F(TreeTest, KeypadStarFillsEachRowWhileItOpens) {
    create();
    HTREEITEM top = tree.InsertItem("L0");
    tree.InsertItem("", top);
    answer = [&](const NMHDR* hdr) -> LRESULT {
        HTREEITEM row = reinterpret_cast<const NMTREEVIEWA*>(hdr)->itemNew.hItem;
        if (hdr->code != TVN_ITEMEXPANDINGA || tree.GetItemText(tree.GetChildItem(row)) != "") return 0;
        tree.DeleteItem(tree.GetChildItem(row)); // the placeholder becomes two rows, down to depth 3
        int depth = 0;
        for (HTREEITEM p = tree.GetParentItem(row); p; p = tree.GetParentItem(p)) ++depth;
        for (int i = 0; i < 2; ++i) {
            HTREEITEM c = tree.InsertItem(("L" + std::to_string(depth + 1) + char('a' + i)).c_str(), row);
            if (depth + 1 < 3) tree.InsertItem("", c);
        }
        return 0;
    };
    tree.SelectItem(top);
    key(VK_MULTIPLY);
    EXPECT_EQ(w32drv::Inspect(tree).rows.size(), 15u); // 1 + 2 + 4 + 8, all open
}
