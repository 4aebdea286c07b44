// Selection in the tree control: single selection as Windows' tree view has it, multiple
// selection with Ctrl and Shift by mouse and keys, disabled rows, type-to-find, the extended
// style bits, focus, double clicks and Enter.
#include "TreeFixture.h"

TEST_F(TreeTest, SingleSelectionFollowsClicksAndKeysAndTheParentMayKeepIt) {
    create();
    auto r = fill({"A", "B", "C", "D", "E"});
    clickRow(r[1]);
    key(VK_DOWN);
    EXPECT_TRUE(notes[1].itemOld.hItem == nullptr && notes[2].itemNew.hItem == r[1] &&
                notes[2].action == TVC_BYMOUSE);
    EXPECT_TRUE(notes[4].itemOld.hItem == r[1] && notes[4].itemNew.hItem == r[2] &&
                notes[4].action == TVC_BYKEYBOARD);
    EXPECT_TRUE((notes[4].itemNew.state & TVIS_SELECTED) && tree.IsSelected(r[2]) && !tree.IsSelected(r[1]));
    EXPECT_TRUE(tree.GetFocusedItem() == r[2] && selected() == "C");
    play({{"wait 0", "A B C:scf D E", "click changing changed changing changed"},
          {"key End", "A B C D E:scf", "changing changed"},
          {"key Down", "A B C D E:scf", ""}, // nowhere further: nothing happens
          {"key Home", "A:scf B C D E", "changing changed"},
          {"shift+key Down", "A B:scf C D E", "changing changed"}, // Shift and Ctrl make no range here
          {"ctrl+click D", "A B C D:scf E", "click changing changed"},
          {"select D", nullptr, ""}, // the caret row again: nothing to say
          {"range A C", nullptr, "no"},
          {"select -", "A B C D E", "changing changed"}, // no caret at all
          {"select D", nullptr, "changing changed"},
          {"disable C", "A B C:d D:scf E", ""},
          {"key Up", "A B C:cfd D E", "changing changed"}, // the caret passes over a disabled row
          {"key Up", "A B:scf C:d D E", "changing changed"},
          {"click C", "A B:scf C:d D E", "click"},       // but no click selects it
          {"disable B", "A B:cfd C:d D E", "changed"}}); // the caret row's selection goes, with word of it
    // the parent keeps the caret, or NM_CLICK keeps the click from selecting
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SELCHANGINGA; };
    play({{"key Down", nullptr, "changing"}, {"select A", "A B:cfd C:d D E", "no changing"}});
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == NM_CLICK; };
    play({{"click A", "A B:cfd C:d D E", "click"}});
}

TEST_F(TreeTest, MultipleSelectionByMouseAndKeys) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C", "D", "E", "F"});
    // Shift makes the range from the anchor (the last click without Shift) the selection, either
    // way; Ctrl+Shift adds it; a plain click selects one row
    play({{"click B", nullptr, "click changing changed"},
          {"ctrl+click D", "A B:s C D:scf E F", "click changing changed"},
          {"ctrl+click D", "A B:s C D:cf E F", "click changed"}, // toggles off, stays the caret
          {"shift+click F", "A B C D:s E:s F:scf", "click changing changed"},
          {"shift+click A", "A:scf B:s C:s D:s E F", "click changing changed"},
          {"click E", "A B C D E:scf F", "click changing changed"},
          {"ctrl+shift+click F", "A B C D E:s F:scf", "click changing changed"},
          {"ctrl+click B", "A B:scf C D E:s F:s", "click changing changed"},
          {"ctrl+shift+click C", "A B:s C:scf D E:s F:s", "click changing changed"},
          // typing the caret row's letter makes it the only selected row
          {"type c", "A B C:scf D E F", "changed"},
          {"wait 1001", nullptr, ""},
          // Shift extends from the anchor, Ctrl moves only the focus rectangle (saying nothing),
          // Space and Ctrl+Space toggle the focused row, a plain move selects one row
          {"click B", nullptr, "click changing changed"},
          {"shift+key Down", "A B:s C:scf D E F", "changing changed"},
          {"shift+key Down", "A B:s C:s D:scf E F", "changing changed"},
          {"shift+key Up", "A B:s C:scf D E F", "changing changed"},
          {"ctrl+key Down; ctrl+key Down", "A B:s C:sc D E:f F", ""},
          {"ctrl+key Space", "A B:s C:s D E:scf F", "changing changed"},
          {"key Space", "A B:s C:s D E:cf F", "changed"},
          {"key Up", "A B C D:scf E F", "changing changed"},
          {"ctrl+key Down", "A B C D:sc E:f F", ""}});
    // the item state tells the focus row apart from the caret row
    TVITEMA tv{TVIF_STATE, r[4], 0, TVIS_SELECTED | SECTVIS_FOCUSED, nullptr, 0, 0, 0, 0, 0};
    EXPECT_TRUE(tree.SendMessage(TVM_GETITEMA, 0, LPARAM(&tv)) && tv.state == SECTVIS_FOCUSED);
    EXPECT_TRUE(tree.GetFocusedItem() == r[4] && tree.GetSelectedItem() == r[3] && tree.IsSelected(r[3]));
}

TEST_F(TreeTest, MultipleSelectionByProgram) {
    create(SECTVS_EX_MULTISEL);
    fill({"A", "B", "C", "D"}, 2);
    play({{"expand B", nullptr, "expanding expanded"}, {"add D", nullptr, nullptr}});
    EXPECT_TRUE(notes[0].itemNew.hItem == find("D") && (notes[0].itemNew.state & TVIS_SELECTED));
    play({{"add D", nullptr, "changed"},                            // no change, no word
          {"range C B1", "A+ B- .B1:s .B2:s C+:s D+:s", "changed"}, // given backwards
          {"remove B2", "A+ B- .B1:s .B2 C+:s D+:s", "changed"},
          {"collapse B", nullptr, "expanding expanded"}, // hidden rows keep their selection
          {"range A A1", nullptr, "no"}});               // A1 is not displayed
    EXPECT_EQ(selected(), "B1 C D");
    play({{"deselect", nullptr, "changed"}, {"deselect", nullptr, ""}});
    EXPECT_EQ(tree.GetFirstSelectedItem(), nullptr);
    // a row may be inserted selected
    TVINSERTSTRUCTA is{};
    is.item = TVITEMA{
        TVIF_TEXT | TVIF_STATE, nullptr, TVIS_SELECTED, TVIS_SELECTED, const_cast<LPSTR>("E"), 0, 0, 0, 0, 0};
    tree.SendMessage(TVM_INSERTITEMA, 0, LPARAM(&is));
    tree.InsertItem("F");
    play({{"wait 0", "A+ B+ C+ D+ E:s F", nullptr},
          {"select C", "A+ B+ C+:scf D+ E F", "changing changed"}}); // the caret and the only selected row
    EXPECT_EQ(selected(), "C");
    // a click right of the text selects nothing without full-row selection; collapsing a row
    // deselects the rows it hides with SECTVS_EX_DESELECTONCOLLAPSE
    RECT label = itemRect(find("F"));
    w32drv::ClickClient(tree, label.right + 20, label.top + 2);
    w32drv::Pump();
    EXPECT_EQ(tree.SendMessage(SECTVM_SETEXSTYLE, 0, SECTVS_EX_MULTISEL | SECTVS_EX_DESELECTONCOLLAPSE),
              SECTVS_EX_MULTISEL);
    play({{"expand A; range A A2", "A-:s .A1:s .A2:s B+ C+:scf D+ E F", nullptr},
          {"wait 0", nullptr, "click expanding expanded changed"},
          {"collapse A", "A+:s B+ C+:scf D+ E F", "expanding changed expanded"}});
    EXPECT_EQ(selected(), "A C");
}

TEST_F(TreeTest, DisabledRowsAreNeverSelectedButCanBeOpenedAndPassed) {
    create(SECTVS_EX_MULTISEL);
    fill({"A", "B", "C"}, 1);
    EXPECT_EQ(static_cast<COLORREF>(tree.SendMessage(SECTVM_GETDISABLEDCOLOR)), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_TRUE(tree.SetDisabledColor(1) == GetSysColor(COLOR_GRAYTEXT) && tree.SetDisabledColor(2) == 1);
    HTREEITEM later = tree.InsertItem("later", find("B1"));
    play({{"click B", "A+ B+:scf C+", "click changing changed"},
          {"disable B", "A+ B+:cfd C+", "changed"}, // the selected row loses its selection
          {"click A", nullptr, "click changing changed"},
          {"ctrl+click B", "A+:scf B+:d C+", "click"}, // nothing selects it
          {"select B", nullptr, "no"},
          {"range A C", "A+:scf B+:d C+:s", "changed"},
          {"expand B", "A+:scf B-:d .B1+:d C+:s", nullptr}, // it opens, and the caret passes over it
          {"key Down", "A+ B-:cfd .B1+:d C+", nullptr},
          {"shift+key Down", nullptr, nullptr},
          {"shift+key Down", "A+ B-:d .B1+:d C+:scf", nullptr}});
    EXPECT_TRUE(tree.IsItemDisabled(later) && !tree.IsItemDisabled(find("A")));
    tree.DisableItem(find("B"), FALSE); // enabled again, with the rows below
    EXPECT_TRUE(!tree.IsItemDisabled(later) && tree.SetItemSelected(later, TRUE));
}

TEST_F(TreeTest, TypingFindsTheNextRowByItsBeginning) {
    create();
    fill({"alpha", "Beta", "bravo", "Charlie", "bob", "delta"});
    tree.DisableItem(find("bob"));
    tree.SelectItem(find("alpha"));
    // "br" within the second; a new "b" goes to the next row after the caret, past the disabled
    // "bob", wrapping; one letter again steps through the rows; "bbbx" matches nothing; keypad
    // +, - and * are commands, their characters do not search, the next letter does, also after
    // one that brought no character (with Ctrl); a longer text that still fits the caret row
    // stays on it
    tree.InsertItem("Bella");
    // clang-format off
    std::pair<const char*, const char*> steps[] = {{"type b", "Beta"}, {"type r", "bravo"}, {"wait 1001", "bravo"},
        {"type b", "Bella"}, {"wait 1001", "Bella"}, {"type bbb", "Bella"}, {"wait 900", "Bella"}, {"type x", "Bella"},
        {"wait 1001", "Bella"}, {"type CH", "Charlie"}, {"key Add", "Charlie"}, {"type d", "delta"},
        {"key Sub", "delta"}, {"type a", "alpha"}, {"key Mul", "alpha"}, {"type B", "Beta"},
        {"ctrl+key Add", "Beta"}, {"type c", "Charlie"}, {"wait 1001", "Charlie"}, {"type be", "Bella"}};
    // clang-format on
    for (auto [action, row] : steps) {
        act(action);
        EXPECT_EQ(text(tree.GetSelectedItem()), row) << action;
    }
}

TEST_F(TreeTest, FocusDoubleClickAndEnterNotifications) {
    create();
    fill({"A", "B"}, 1);
    SetFocus(CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 250, 10, 50, 20, frame, 0, 0, 0));
    play({{"click A", nullptr, "killfocus setfocus click changing changed"}});
    // a double click on a row with children (not beside its text) opens it, unless the parent handles it
    RECT label = itemRect(find("B"));
    for (int i : {0, 1, 2}) {
        answer = [=](const NMHDR* hdr) -> LRESULT { return i == 2 && hdr->code == NM_DBLCLK; };
        for (int wait : {1000, 0})
            w32drv::Wait(wait), w32drv::ClickClient(tree, label.left + (i == 1 ? 40 : 2), label.top + 2);
        w32drv::Pump();
    }
    play({{"key Return", "A+ B-:scf .B1",
           "click changing changed dblclk expanding expanded click dblclk click dblclk return"}});
    // in a dialog Enter and Escape stay the dialog's (its buttons), but the parent hears of Enter
    MSG enter{tree, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    for (auto* m : {&enter, static_cast<MSG*>(nullptr)})
        EXPECT_EQ(tree.SendMessage(WM_GETDLGCODE, VK_RETURN, LPARAM(m)), DLGC_WANTARROWS | DLGC_WANTCHARS);
    EXPECT_EQ(log(), "return");
}
