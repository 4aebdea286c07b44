// Selection in the tree control: single selection as Windows' tree view has it, multiple
// selection with Ctrl and Shift by mouse and keys, disabled rows, type-to-find, the extended
// style bits, focus and Enter.
#include "TreeFixture.h"

#include "tests/platform/dlgtemplate.h"

#include <algorithm>

TEST_F(TreeTest, SingleSelectionFollowsClicksAndKeysAndTheParentMayKeepIt) {
    create();
    auto r = fill({"A", "B", "C", "D", "E"});
    clickRow(r[1]);
    EXPECT_TRUE(notes[1].oldItem == nullptr && notes[2].newItem == r[1]);
    EXPECT_EQ(notes[2].action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_NE(notes[2].newState & TVIS_SELECTED, 0u);
    EXPECT_TRUE(tree.GetFocusedItem() == r[1] && tree.IsSelected(r[1]) && selected() == "B");
    key(VK_DOWN);
    EXPECT_TRUE(notes[4].oldItem == r[1] && notes[4].newItem == r[2] && !tree.IsSelected(r[1]));
    EXPECT_EQ(notes[4].action, static_cast<UINT>(TVC_BYKEYBOARD));
    EXPECT_EQ(log(), "click changing changed changing changed");
    play({{"key End", "A B C D E:scf", "changing changed"},
          {"key Down", "A B C D E:scf", ""}, // nowhere further: nothing happens
          {"key Home", "A:scf B C D E", "changing changed"},
          {"shift+key Down", "A B:scf C D E", "changing changed"}, // Shift and Ctrl make no range here
          {"ctrl+click D", "A B C D:scf E", "click changing changed"},
          {"select D", nullptr, ""}, // the caret row again: nothing to say
          {"range A C", nullptr, "no"}});
    // the parent keeps the caret, or NM_CLICK keeps the click from selecting
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SELCHANGINGA; };
    play({{"key Down", nullptr, "changing"}, {"select A", "A B C D:scf E", "no changing"}});
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == NM_CLICK; };
    play({{"click A", "A B C D:scf E", "click"}});
}

TEST_F(TreeTest, SelectingAHiddenRowOpensItsAncestors) {
    create();
    auto roots = fill({"A", "B"}, 2);
    tree.InsertItem("deep", find("B2"));
    play({{"select deep", "A+ B- .B1 .B2- ..deep:scf", nullptr},
          {"select -", "A+ B- .B1 .B2- ..deep", nullptr}}); // no caret at all
    EXPECT_EQ(notes[0].newItem, roots[1]);
    EXPECT_EQ(log(), "expanding expanded expanding expanded changing changed changing changed");
    // a parent that keeps a row closed keeps its children from being selected
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ITEMEXPANDINGA; };
    play({{"select A1", "A+ B- .B1 .B2- ..deep", "no expanding"}});
}

TEST_F(TreeTest, MultipleSelectionByMouse) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C", "D", "E", "F"});
    play({{"click B", nullptr, "click changing changed"}, {"ctrl+click D", "A B:s C D:scf E F", nullptr}});
    EXPECT_TRUE(notes[2].oldItem == r[1] && notes[2].newItem == r[3]);
    // Shift makes the range from the anchor (the last click without Shift) the selection, either
    // way; Ctrl+Shift adds it; a plain click selects one row
    EXPECT_EQ(log(), "click changing changed");
    play({{"ctrl+click D", "A B:s C D:cf E F", "click changed"}, // toggles off, stays the caret
          {"shift+click F", "A B C D:s E:s F:scf", nullptr},
          {"shift+click A", "A:scf B:s C:s D:s E F", nullptr},
          {"click E", "A B C D E:scf F", nullptr},
          {"ctrl+shift+click F", "A B C D E:s F:scf", nullptr},
          {"ctrl+click B", "A B:scf C D E:s F:s", nullptr},
          {"ctrl+shift+click C", "A B:s C:scf D E:s F:s", nullptr},
          {"click A", "A:scf B C D E F", nullptr}});
}

TEST_F(TreeTest, MultipleSelectionByKeys) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C", "D", "E"});
    // Shift extends from the anchor, Ctrl moves only the focus rectangle (saying nothing), Space
    // and Ctrl+Space toggle the focused row, a plain move selects one row, and so does typing
    // the caret row's letter
    play({{"click B", nullptr, "click changing changed"},
          {"ctrl+click D", "A B:s C D:scf E", "click changing changed"},
          {"type d", "A B C D:scf E", "changed"},
          {"wait 1001", nullptr, ""},
          {"click B", nullptr, "click changing changed"},
          {"shift+key Down", "A B:s C:scf D E", "changing changed"},
          {"shift+key Down", "A B:s C:s D:scf E", "changing changed"},
          {"shift+key Up", "A B:s C:scf D E", "changing changed"},
          {"ctrl+key Down", "A B:s C:sc D:f E", ""},
          {"ctrl+key Down", "A B:s C:sc D E:f", ""},
          {"ctrl+key Space", "A B:s C:s D E:scf", "changing changed"},
          {"key Space", "A B:s C:s D E:cf", "changed"},
          {"key Up", "A B C D:scf E", "changing changed"},
          {"ctrl+key Down", "A B C D:sc E:f", ""}});
    EXPECT_EQ(tree.GetFocusedItem(), r[4]);
    // the item state tells the focus row apart from the caret row
    for (size_t i : {3, 4}) {
        TVITEMA tv = tvItem(TVIF_STATE, r[i]);
        tv.stateMask = TVIS_SELECTED | SECTVIS_FOCUSED;
        ASSERT_TRUE(tree.SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
        EXPECT_EQ(tv.state, i == 3 ? TVIS_SELECTED : SECTVIS_FOCUSED);
    }
}

TEST_F(TreeTest, MultipleSelectionByProgram) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C", "D"}, 2);
    tree.Expand(r[1], TVE_EXPAND);
    log();
    play({{"add D", nullptr, nullptr}});
    EXPECT_TRUE(notes[0].newItem == r[3] && (notes[0].newState & TVIS_SELECTED));
    play({{"add D", nullptr, "changed"},                            // no change, no word
          {"range C B1", "A+ B- .B1:s .B2:s C+:s D+:s", "changed"}, // given backwards
          {"remove B2", "A+ B- .B1:s .B2 C+:s D+:s", "changed"},
          {"collapse B", nullptr, "expanding expanded"}, // hidden rows keep their selection
          {"range A A1", nullptr, "no"}});               // A1 is not displayed
    EXPECT_EQ(selected(), "B1 C D");
    HTREEITEM gone = tree.InsertItem("gone");
    tree.DeleteItem(gone);
    EXPECT_EQ(tree.GetNextSelectedItem(gone), nullptr);
    play({{"deselect", nullptr, "changed"}, {"deselect", nullptr, ""}});
    EXPECT_EQ(tree.GetFirstSelectedItem(), nullptr);
    // a row may be inserted selected; other state bits leave it unselected
    struct {
        const char* name;
        UINT state, mask;
    } inserted[] = {
        {"E", TVIS_SELECTED, TVIS_SELECTED}, {"F", TVIS_SELECTED, TVIS_EXPANDED}, {"G", 0, TVIS_SELECTED}};
    for (auto [name, state, mask] : inserted) {
        TVITEMA tv = tvItem(TVIF_TEXT | TVIF_STATE, nullptr, name);
        tv.state = state;
        tv.stateMask = mask;
        insert(tv);
    }
    play({{"wait 0", "A+ B+ C+ D+ E:s F G", nullptr},
          {"select C", "A+ B+ C+:scf D+ E F G", nullptr}}); // SelectItem: the caret and the only selected row
    EXPECT_EQ(selected(), "C");
}

TEST_F(TreeTest, DisabledRowsAreNeverSelectedButCanBeOpenedAndPassed) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C"}, 1);
    EXPECT_EQ(static_cast<COLORREF>(tree.SendMessage(SECTVM_GETDISABLEDCOLOR)), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(tree.SetDisabledColor(RGB(1, 2, 3)), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(tree.SetDisabledColor(RGB(4, 5, 6)), RGB(1, 2, 3));
    HTREEITEM later = tree.InsertItem("later", find("B1"));
    play({{"click B", "A+ B+:scf C+", "click changing changed"},
          {"disable B", "A+ B+:cfd C+", "changed"}, // the selected row loses its selection
          {"click A", nullptr, "click changing changed"},
          {"click B", "A+:scf B+:d C+", "click"}, // nothing selects it
          {"ctrl+click B", "A+:scf B+:d C+", "click"},
          {"select B", nullptr, "no"},
          {"add B", nullptr, "no"},
          {"range A C", "A+:scf B+:d C+:s", "changed"},
          {"range A B", nullptr, ""},                       // nothing new: nothing to tell
          {"expand B", "A+:scf B-:d .B1+:d C+:s", nullptr}, // it opens, and the caret passes over it
          {"key Down", "A+ B-:cfd .B1+:d C+", nullptr},
          {"shift+key Down", nullptr, nullptr},
          {"shift+key Down", "A+ B-:d .B1+:d C+:scf", nullptr}});
    EXPECT_TRUE(tree.IsItemDisabled(later) && !tree.IsItemDisabled(r[0]));
    tree.DisableItem(r[1], FALSE); // enabled again, with the rows below
    EXPECT_TRUE(!tree.IsItemDisabled(later) && tree.SetItemSelected(later, TRUE));
}

TEST_F(TreeTest, DisabledCaretRowIsNotSelectedInSingleSelection) {
    create();
    fill({"A", "B", "C"});
    play({{"disable B", nullptr, nullptr},
          {"select A", nullptr, "changing changed"},
          {"key Down", "A B:cfd C", nullptr}});
    EXPECT_EQ(notes.at(1).newState & TVIS_SELECTED, 0u);
    play({{"key Down", "A B:d C:scf", "changing changed changing changed"},
          {"click B", "A B:d C:scf", "click"},
          {"select A", "A:scf B:d C", "changing changed"},
          {"disable A", "A:cfd B:d C", "changed"}}); // the caret row's selection goes, with word of it
}

TEST_F(TreeTest, ExtendedStyleBits) {
    for (DWORD ex : {0x00900200u, 0x00800200u, static_cast<DWORD>(SECTVS_EX_MULTISEL)}) {
        create(ex); // multiple selection, with deselect on collapse and full row as the bits say
        EXPECT_EQ(static_cast<DWORD>(tree.SendMessage(SECTVM_GETEXSTYLE)), ex);
        fill({"A", "B"}, 2);
        bool deselect = ex & SECTVS_EX_DESELECTONCOLLAPSE;
        play({{"expand A", nullptr, "expanding expanded"},
              {"range A A2", "A-:s .A1:s .A2:s B+", "changed"},
              {"collapse A", "A+:s B+", deselect ? "expanding changed expanded" : "expanding expanded"}});
        EXPECT_EQ(selected(), deselect ? "A" : "A A1 A2");
        // a click right of the text selects the row with full-row selection only
        RECT label = itemRect(tree.GetNextSiblingItem(tree.GetRootItem()));
        w32drv::ClickClient(tree, label.right + 20, (label.top + label.bottom) / 2);
        w32drv::Pump();
        EXPECT_EQ(view(), (ex & SECTVS_EX_FULLROWSELECT) ? "A+ B+:scf" : "A+:s B+");
    }
}

TEST_F(TreeTest, TypingFindsTheNextRowByItsBeginning) {
    create();
    auto r = fill({"alpha", "Beta", "bravo", "Charlie", "bob", "delta"});
    tree.DisableItem(r[4]);
    tree.SelectItem(r[0]);
    const std::vector<std::pair<std::string, std::string>> steps = {
        {"type b", "Beta"},
        {"type r", "bravo"}, // within the second: "br"
        {"wait 1001", "bravo"},
        {"type b", "Beta"}, // the next after the caret, past "bob", wrapping
        {"wait 1001", "Beta"},
        {"type bbb", "bravo"}, // one letter again steps through the rows
        {"wait 900", "bravo"},
        {"type x", "bravo"}, // "bbbx" matches nothing
        {"wait 1001", "bravo"},
        {"type CH", "Charlie"},
        // keypad +, - and * are commands: their characters do not search, the next letter does,
        // also after one that brought no character (with Ctrl)
        {"key Add", "Charlie"},
        {"type d", "delta"},
        {"key Sub", "delta"},
        {"type a", "alpha"},
        {"key Mul", "alpha"},
        {"type B", "Beta"},
        {"ctrl+key Add", "Beta"},
        {"type c", "Charlie"}};
    for (const auto& [action, row] : steps) {
        act(action);
        EXPECT_EQ(text(tree.GetSelectedItem()), row) << action;
    }
    // a longer text that still fits the caret row stays on it
    tree.InsertItem("Bella");
    play({{"wait 1001", nullptr, nullptr},
          {"type be", "alpha Beta bravo Charlie bob:d delta Bella:scf", nullptr}});
}

TEST_F(TreeTest, FocusDoubleClickAndEnterNotifications) {
    create();
    auto r = fill({"A", "B"}, 1);
    SetFocus(CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 250, 10, 50, 20, frame, nullptr, nullptr,
                             nullptr));
    play({{"click A", nullptr, "killfocus setfocus click changing changed"}});
    // a double click on a row with children opens it, unless the parent handles it
    RECT label = itemRect(r[1]);
    for (LRESULT handled : {0, 1}) {
        answer = [=](const NMHDR* hdr) -> LRESULT { return handled && hdr->code == NM_DBLCLK; };
        w32drv::Wait(1000);
        w32drv::ClickClient(tree, label.left + 2, label.top + 2);
        w32drv::ClickClient(tree, label.left + 2, label.top + 2);
        w32drv::Pump();
        EXPECT_TRUE(tree.IsExpanded(r[1]));
    }
    EXPECT_EQ(log(), "click changing changed dblclk expanding expanded click dblclk");
    play({{"key Return", nullptr, "return"}});
    EXPECT_EQ(tree.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

namespace {

struct DialogRun {
    SECTreeCtrl* tree;
    std::vector<UINT> notes;
};

INT_PTR CALLBACK dialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* run =
        reinterpret_cast<DialogRun*>(msg == WM_INITDIALOG ? lParam : GetWindowLongPtrA(dlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        run->tree->Create(WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS, 0, CRect(5, 5, 105, 105),
                          CWnd::FromHandle(dlg), 7);
        run->tree->SelectItem(run->tree->InsertItem("A"));
        SetFocus(*run->tree);
    } else if (msg == WM_NOTIFY) {
        run->notes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
    } else if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        run->tree->DestroyWindow();
        EndDialog(dlg, LOWORD(wParam));
    }
    return msg == WM_NOTIFY || msg == WM_COMMAND;
}

} // namespace

TEST_F(TreeTest, EnterAndEscapeReachTheDialog) {
    for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
        DialogTemplateBuilder tpl(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME, 0, 0, 150, 100, "Pick");
        tpl.item(0x80, "OK", IDOK, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 100, 80, 40, 14);
        DialogRun run{&tree, {}};
        w32drv::Key(vk);
        INT_PTR result =
            DialogBoxIndirectParamA(nullptr, tpl.get(), frame, dialogProc, reinterpret_cast<LPARAM>(&run));
        EXPECT_EQ(result, vk == VK_RETURN ? IDOK : IDCANCEL);
        EXPECT_EQ(std::count(run.notes.begin(), run.notes.end(), static_cast<UINT>(NM_RETURN)),
                  vk == VK_RETURN);
        EXPECT_TRUE(w32drv::InputExhaustedDialogs().empty());
        w32drv::ClearRecords();
    }
}
