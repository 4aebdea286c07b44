// Selection in the tree control: single selection as Windows' tree view has it, multiple
// selection with Ctrl and Shift by mouse and keys, disabled rows, type-to-find, the extended
// style bits, focus and Enter.
#include "TreeFixture.h"

#include "tests/platform/dlgtemplate.h"

TEST_F(TreeTest, SingleSelectionFollowsClicksAndKeys) {
    create();
    auto roots = fill({"A", "B", "C", "D", "E"});
    clickRow(roots[1]);
    ASSERT_EQ(codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
    EXPECT_EQ(notes[1].oldItem, nullptr);
    EXPECT_EQ(notes[2].newItem, roots[1]);
    EXPECT_EQ(notes[2].action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_NE(notes[2].newState & TVIS_SELECTED, 0u);
    EXPECT_EQ(tree.GetSelectedItem(), roots[1]);
    EXPECT_EQ(tree.GetFocusedItem(), roots[1]);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B"}));
    notes.clear();
    key(VK_DOWN);
    ASSERT_EQ(codes(), (std::vector<UINT>{TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
    EXPECT_EQ(notes[1].oldItem, roots[1]);
    EXPECT_EQ(notes[1].newItem, roots[2]);
    EXPECT_EQ(notes[1].action, static_cast<UINT>(TVC_BYKEYBOARD));
    EXPECT_FALSE(tree.IsSelected(roots[1]));
    EXPECT_TRUE(tree.IsSelected(roots[2]));
    key(VK_END);
    EXPECT_EQ(tree.GetSelectedItem(), roots[4]);
    key(VK_DOWN); // nowhere further: nothing happens
    EXPECT_EQ(tree.GetSelectedItem(), roots[4]);
    key(VK_HOME);
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    // Shift and Ctrl do not make a range here
    key(VK_DOWN, w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B"}));
    notes.clear();
    clickRow(roots[3], w32drv::Control);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"D"}));
    // selecting the caret row again says nothing
    notes.clear();
    EXPECT_TRUE(tree.SelectItem(roots[3]));
    EXPECT_TRUE(notes.empty());
    EXPECT_FALSE(tree.SelectRange(roots[0], roots[2], TRUE));
}

TEST_F(TreeTest, TheParentCanKeepTheCaretAndNmClickCanKeepTheSelection) {
    create();
    auto roots = fill({"A", "B", "C"});
    tree.SelectItem(roots[0]);
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SELCHANGINGA; };
    notes.clear();
    key(VK_DOWN);
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_SELCHANGINGA}));
    EXPECT_FALSE(tree.SelectItem(roots[2]));
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == NM_CLICK; };
    notes.clear();
    clickRow(roots[2]);
    EXPECT_EQ(tree.GetSelectedItem(), roots[0]);
    EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK}));
}

TEST_F(TreeTest, SelectingAHiddenRowOpensItsAncestors) {
    create();
    auto roots = fill({"A", "B"}, 2);
    HTREEITEM deep = tree.InsertItem("deep", child(roots[1], 1));
    ASSERT_TRUE(tree.SelectItem(deep));
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TVN_ITEMEXPANDINGA,
                                          TVN_ITEMEXPANDEDA, TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
    EXPECT_EQ(notes[0].newItem, roots[1]);
    EXPECT_EQ(shown(), (std::vector<std::string>{"A", "B", "  B1", "  B2", "    deep"}));
    auto rows = w32drv::Inspect(tree).rows;
    EXPECT_TRUE(rows[4].caret && rows[4].selected);
    EXPECT_FALSE(rows[1].selected);
    // no caret at all
    EXPECT_TRUE(tree.SelectItem(nullptr));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_FALSE(w32drv::Inspect(tree).rows[4].selected);
    // a parent that keeps a row closed keeps its children from being selected
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ITEMEXPANDINGA; };
    EXPECT_FALSE(tree.SelectItem(child(roots[0], 0)));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_FALSE(tree.IsExpanded(roots[0]));
}

TEST_F(TreeTest, MultipleSelectionByMouse) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C", "D", "E", "F"});
    clickRow(r[1]);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B"}));
    notes.clear();
    clickRow(r[3], w32drv::Control);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B", "D"}));
    ASSERT_EQ(codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
    EXPECT_EQ(notes[2].oldItem, r[1]);
    EXPECT_EQ(notes[2].newItem, r[3]);
    EXPECT_EQ(tree.GetSelectedItem(), r[3]);
    notes.clear();
    clickRow(r[3], w32drv::Control); // toggles off, stays the caret
    EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGEDA}));
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B"}));
    EXPECT_EQ(tree.GetSelectedItem(), r[3]);
    // Shift: the range from the anchor (the last Ctrl+click) replaces the selection, either way
    clickRow(r[5], w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"D", "E", "F"}));
    clickRow(r[0], w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(tree.GetSelectedItem(), r[0]);
    // Ctrl+Shift adds the range
    clickRow(r[4]);
    clickRow(r[5], w32drv::Control | w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"E", "F"}));
    clickRow(r[1], w32drv::Control);
    clickRow(r[2], w32drv::Control | w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B", "C", "E", "F"}));
    // a plain click: one row
    clickRow(r[0]);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"A"}));
}

TEST_F(TreeTest, MultipleSelectionByKeys) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C", "D", "E"});
    // typing the caret row's letter makes it the only selected row
    clickRow(r[1]);
    clickRow(r[3], w32drv::Control);
    w32drv::Type("d");
    w32drv::Pump();
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"D"}));
    w32drv::Wait(1001);
    clickRow(r[1]);
    key(VK_DOWN, w32drv::Shift);
    key(VK_DOWN, w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B", "C", "D"}));
    EXPECT_EQ(tree.GetSelectedItem(), r[3]);
    key(VK_UP, w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B", "C"}));
    // Ctrl moves only the focus rectangle
    notes.clear();
    key(VK_DOWN, w32drv::Control);
    key(VK_DOWN, w32drv::Control);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(tree.GetFocusedItem(), r[4]);
    EXPECT_EQ(tree.GetSelectedItem(), r[2]);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B", "C"}));
    auto rows = w32drv::Inspect(tree).rows;
    EXPECT_TRUE(rows[4].focused);
    EXPECT_TRUE(rows[2].caret);
    EXPECT_FALSE(rows[2].focused);
    // the item state tells the focus row apart from the caret row
    auto state = [&](HTREEITEM item) {
        TVITEMA tv{};
        tv.mask = TVIF_STATE;
        tv.hItem = item;
        tv.stateMask = TVIS_SELECTED | SECTVIS_FOCUSED;
        EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
        return tv.state;
    };
    EXPECT_EQ(state(r[4]), static_cast<UINT>(SECTVIS_FOCUSED));
    EXPECT_EQ(state(r[2]), static_cast<UINT>(TVIS_SELECTED));
    // Ctrl+Space and Space toggle the focused row
    key(VK_SPACE, w32drv::Control);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B", "C", "E"}));
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.back().code, TVN_SELCHANGEDA);
    EXPECT_EQ(notes.back().newItem, r[4]);
    key(VK_SPACE);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(tree.GetSelectedItem(), r[4]);
    // a plain move selects one row
    key(VK_UP);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"D"}));
    EXPECT_EQ(tree.GetFocusedItem(), r[3]);
}

TEST_F(TreeTest, MultipleSelectionByProgram) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C", "D"}, 2);
    tree.Expand(r[1], TVE_EXPAND);
    HTREEITEM b1 = child(r[1], 0), b2 = child(r[1], 1);
    notes.clear();
    EXPECT_TRUE(tree.SetItemSelected(r[3], TRUE));
    ASSERT_EQ(codes(), (std::vector<UINT>{TVN_SELCHANGEDA}));
    EXPECT_EQ(notes[0].newItem, r[3]);
    EXPECT_NE(notes[0].newState & TVIS_SELECTED, 0u);
    notes.clear();
    EXPECT_TRUE(tree.SetItemSelected(r[3], TRUE)); // no change, no word
    EXPECT_TRUE(notes.empty());
    // a range over displayed rows, given backwards
    EXPECT_TRUE(tree.SelectRange(r[2], b1, TRUE));
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B1", "B2", "C", "D"}));
    EXPECT_EQ(notes.size(), 1u);
    EXPECT_TRUE(tree.SelectRange(b2, b2, FALSE));
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B1", "C", "D"}));
    // hidden rows keep their selection and count in display order
    tree.Expand(r[1], TVE_COLLAPSE);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"B1", "C", "D"}));
    EXPECT_FALSE(tree.SelectRange(r[0], child(r[0], 1), TRUE)); // A1 is not displayed
    EXPECT_EQ(tree.GetNextSelectedItem(b1), r[2]);
    HTREEITEM gone = tree.InsertItem("gone");
    tree.DeleteItem(gone);
    EXPECT_EQ(tree.GetNextSelectedItem(gone), nullptr);
    notes.clear();
    tree.DeselectAll();
    EXPECT_EQ(tree.GetFirstSelectedItem(), nullptr);
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_SELCHANGEDA}));
    notes.clear();
    tree.DeselectAll();
    EXPECT_TRUE(notes.empty());
    // a row may be inserted selected; other state bits leave it unselected
    auto insert = [&](const char* text, UINT state, UINT mask) {
        TVINSERTSTRUCTA is{};
        is.hInsertAfter = TVI_LAST;
        is.item.mask = TVIF_TEXT | TVIF_STATE;
        is.item.pszText = const_cast<LPSTR>(text);
        is.item.state = state;
        is.item.stateMask = mask;
        LRESULT item = SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is));
        return reinterpret_cast<HTREEITEM>(item);
    };
    HTREEITEM e = insert("E", TVIS_SELECTED, TVIS_SELECTED);
    EXPECT_FALSE(tree.IsSelected(insert("F", TVIS_SELECTED, TVIS_EXPANDED)));
    EXPECT_FALSE(tree.IsSelected(insert("G", 0, TVIS_SELECTED)));
    TVITEMA tv{};
    tv.mask = TVIF_STATE;
    tv.hItem = e;
    tv.stateMask = TVIS_SELECTED | SECTVIS_FOCUSED;
    ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_EQ(tv.state, static_cast<UINT>(TVIS_SELECTED)); // not the focus row
    // SelectItem: the caret and the only selected row
    tree.SetItemSelected(r[0], TRUE);
    tree.SelectItem(r[2]);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"C"}));
    EXPECT_EQ(tree.GetSelectedItem(), r[2]);
}

TEST_F(TreeTest, DisabledRowsAreNeverSelectedButCanBeOpenedAndPassed) {
    create(SECTVS_EX_MULTISEL);
    auto r = fill({"A", "B", "C"}, 1);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tree, SECTVM_GETDISABLEDCOLOR, 0, 0)),
              GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(tree.SetDisabledColor(RGB(1, 2, 3)), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(tree.SetDisabledColor(RGB(4, 5, 6)), RGB(1, 2, 3));
    clickRow(r[1]);
    notes.clear();
    tree.DisableItem(r[1]); // the selected row loses its selection
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_SELCHANGEDA}));
    EXPECT_EQ(tree.GetFirstSelectedItem(), nullptr);
    HTREEITEM later = tree.InsertItem("later", child(r[1], 0));
    EXPECT_TRUE(tree.IsItemDisabled(r[1]));
    EXPECT_TRUE(tree.IsItemDisabled(child(r[1], 0)));
    EXPECT_TRUE(tree.IsItemDisabled(later));
    EXPECT_FALSE(tree.IsItemDisabled(r[0]));
    // nothing selects it
    clickRow(r[0]);
    notes.clear();
    clickRow(r[1]);
    EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK}));
    clickRow(r[1], w32drv::Control);
    EXPECT_FALSE(tree.SelectItem(r[1]));
    EXPECT_FALSE(tree.SetItemSelected(r[1], TRUE));
    EXPECT_TRUE(tree.SelectRange(r[0], r[2], TRUE));
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"A", "C"}));
    notes.clear();
    EXPECT_TRUE(tree.SelectRange(r[0], r[1], TRUE)); // nothing new: nothing to tell
    EXPECT_TRUE(notes.empty());
    // it opens, and the caret passes over it by keys
    EXPECT_TRUE(tree.Expand(r[1], TVE_EXPAND));
    clickRow(r[0]);
    key(VK_DOWN);
    EXPECT_EQ(tree.GetSelectedItem(), r[1]);
    EXPECT_FALSE(tree.IsSelected(r[1]));
    EXPECT_EQ(tree.GetFirstSelectedItem(), nullptr);
    auto rows = w32drv::Inspect(tree).rows;
    EXPECT_TRUE(rows[1].disabled && rows[1].caret && !rows[1].selected);
    key(VK_DOWN, w32drv::Shift);
    key(VK_DOWN, w32drv::Shift);
    key(VK_DOWN, w32drv::Shift);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"C"}));
    // enabled again, with the rows below
    tree.DisableItem(r[1], FALSE);
    EXPECT_FALSE(tree.IsItemDisabled(later));
    EXPECT_TRUE(tree.SetItemSelected(later, TRUE));
}

TEST_F(TreeTest, DisabledCaretRowIsNotSelectedInSingleSelection) {
    create();
    auto r = fill({"A", "B", "C"});
    tree.DisableItem(r[1]);
    tree.SelectItem(r[0]);
    notes.clear();
    key(VK_DOWN);
    EXPECT_EQ(tree.GetSelectedItem(), r[1]);
    EXPECT_FALSE(tree.IsSelected(r[1]));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1].newState & TVIS_SELECTED, 0u);
    key(VK_DOWN);
    EXPECT_TRUE(tree.IsSelected(r[2]));
    clickRow(r[1]);
    EXPECT_EQ(tree.GetSelectedItem(), r[2]);
}

TEST_F(TreeTest, ExtendedStyleBits) {
    create(0x00900200); // multiple selection, deselect on collapse, full row
    EXPECT_EQ(SendMessageA(tree, SECTVM_GETEXSTYLE, 0, 0), 0x00900200);
    auto r = fill({"A", "B"}, 2);
    tree.Expand(r[0], TVE_EXPAND);
    tree.SelectRange(r[0], child(r[0], 1), TRUE);
    notes.clear();
    tree.Expand(r[0], TVE_COLLAPSE);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_SELCHANGEDA, TVN_ITEMEXPANDEDA}));
    // a click right of the text selects the row
    RECT label = labelRect(r[1]);
    w32drv::ClickClient(tree, label.right + 20, (label.top + label.bottom) / 2);
    w32drv::Pump();
    EXPECT_EQ(tree.GetSelectedItem(), r[1]);
    tree.DestroyWindow();

    create(0x00800200); // hidden rows keep their selection
    r = fill({"A", "B"}, 2);
    tree.Expand(r[0], TVE_EXPAND);
    tree.SelectRange(r[0], child(r[0], 1), TRUE);
    tree.Expand(r[0], TVE_COLLAPSE);
    EXPECT_EQ(selectedTexts(), (std::vector<std::string>{"A", "A1", "A2"}));
    tree.DestroyWindow();

    create(SECTVS_EX_MULTISEL); // without full-row selection a click right of the text does nothing
    r = fill({"A", "B"});
    label = labelRect(r[1]);
    w32drv::ClickClient(tree, label.right + 20, (label.top + label.bottom) / 2);
    w32drv::Pump();
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
}

TEST_F(TreeTest, TypingFindsTheNextRowByItsBeginning) {
    create();
    auto r = fill({"alpha", "Beta", "bravo", "Charlie", "bob", "delta"});
    tree.DisableItem(r[4]);
    tree.SelectItem(r[0]);
    w32drv::Type("b");
    w32drv::Pump();
    EXPECT_EQ(text(tree.GetSelectedItem()), "Beta");
    w32drv::Type("r"); // "br" within the second
    w32drv::Pump();
    EXPECT_EQ(text(tree.GetSelectedItem()), "bravo");
    w32drv::Wait(1001);
    w32drv::Type("b"); // a new search: the next after the caret, past the disabled "bob", wrapping
    w32drv::Pump();
    EXPECT_EQ(text(tree.GetSelectedItem()), "Beta");
    w32drv::Wait(1001);
    w32drv::Type("bbb"); // one letter again and again steps through the rows
    w32drv::Pump();
    EXPECT_EQ(text(tree.GetSelectedItem()), "bravo");
    w32drv::Wait(900);
    w32drv::Type("x"); // "bbbx" matches nothing: the caret stays
    w32drv::Pump();
    EXPECT_EQ(text(tree.GetSelectedItem()), "bravo");
    w32drv::Wait(1001);
    w32drv::Type("CH");
    w32drv::Pump();
    EXPECT_EQ(text(tree.GetSelectedItem()), "Charlie");

    // keypad +, - and * are commands: their characters do not search, the next letter does,
    // also after one that brought no character (with Ctrl)
    const std::vector<std::pair<UINT, unsigned>> commands = {
        {VK_ADD, w32drv::None}, {VK_SUBTRACT, w32drv::None}, {VK_MULTIPLY, w32drv::None},
        {VK_ADD, w32drv::Control}};
    const std::vector<std::string> found = {"delta", "alpha", "Beta", "Charlie"};
    for (size_t i = 0; i < commands.size(); ++i) {
        w32drv::Wait(1001);
        key(commands[i].first, commands[i].second);
        w32drv::Type(found[i].substr(0, 1));
        w32drv::Pump();
        EXPECT_EQ(text(tree.GetSelectedItem()), found[i]) << i;
    }
    // a longer text that still fits the caret row stays on it
    HTREEITEM bella = tree.InsertItem("Bella");
    w32drv::Wait(1001);
    w32drv::Type("be");
    w32drv::Pump();
    EXPECT_EQ(text(tree.GetSelectedItem()), "Bella");
    EXPECT_EQ(tree.GetSelectedItem(), bella);
}

TEST_F(TreeTest, FocusDoubleClickAndEnterNotifications) {
    create();
    auto r = fill({"A", "B"}, 1);
    HWND other = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 250, 10, 50, 20, frame, nullptr,
                                 nullptr, nullptr);
    SetFocus(other);
    EXPECT_EQ(codes(), (std::vector<UINT>{NM_KILLFOCUS}));
    notes.clear();
    clickRow(r[0]);
    EXPECT_EQ(codes(), (std::vector<UINT>{NM_SETFOCUS, NM_CLICK, TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
    // a double click on a row with children opens it
    RECT label = labelRect(r[1]);
    notes.clear();
    w32drv::ClickClient(tree, label.left + 2, label.top + 2);
    w32drv::ClickClient(tree, label.left + 2, label.top + 2);
    w32drv::Pump();
    EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGINGA, TVN_SELCHANGEDA, NM_DBLCLK,
                                          TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
    EXPECT_TRUE(tree.IsExpanded(r[1]));
    // unless the parent handles it
    answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == NM_DBLCLK; };
    w32drv::Wait(1000);
    w32drv::ClickClient(tree, label.left + 2, label.top + 2);
    w32drv::ClickClient(tree, label.left + 2, label.top + 2);
    w32drv::Pump();
    EXPECT_TRUE(tree.IsExpanded(r[1]));
    answer = nullptr;
    notes.clear();
    key(VK_RETURN);
    EXPECT_EQ(codes(), (std::vector<UINT>{NM_RETURN}));
    EXPECT_EQ(SendMessageA(tree, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

namespace {

struct DialogRun {
    SECTreeCtrl* tree;
    std::vector<UINT> notes;
    INT_PTR ended = 0;
};

INT_PTR CALLBACK dialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* run = reinterpret_cast<DialogRun*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        run = reinterpret_cast<DialogRun*>(lParam);
        run->tree->Create(WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS, 0, CRect(5, 5, 105, 105),
                          CWnd::FromHandle(dlg), 7);
        run->tree->InsertItem("A");
        run->tree->SelectItem(run->tree->GetRootItem());
        SetFocus(*run->tree);
        return FALSE;
    }
    case WM_NOTIFY:
        run->notes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            run->tree->DestroyWindow();
            EndDialog(dlg, LOWORD(wParam));
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

TEST_F(TreeTest, EnterAndEscapeReachTheDialog) {
    for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
        DialogTemplateBuilder tpl(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME, 0, 0, 150, 100, "Pick");
        tpl.item(0x80, "OK", IDOK, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP, 100, 80, 40, 14);
        DialogRun run{&tree, {}, 0};
        w32drv::Key(vk);
        INT_PTR result =
            DialogBoxIndirectParamA(nullptr, tpl.get(), frame, dialogProc, reinterpret_cast<LPARAM>(&run));
        EXPECT_EQ(result, vk == VK_RETURN ? IDOK : IDCANCEL);
        bool sawReturn =
            std::find(run.notes.begin(), run.notes.end(), static_cast<UINT>(NM_RETURN)) != run.notes.end();
        EXPECT_EQ(sawReturn, vk == VK_RETURN);
        EXPECT_TRUE(w32drv::InputExhaustedDialogs().empty());
        w32drv::ClearRecords();
    }
}
