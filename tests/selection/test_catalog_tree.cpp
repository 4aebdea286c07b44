// The catalog tree of the dialog over the real catalog library: lazy filling behind placeholders,
// the modes and filters, predefined objects, restoring the displayed rows and the top row from
// saved paths, and a pre-selection.
#include "DialogFixture.h"

namespace {

class CatalogTreeTest : public DialogFixture {
protected:
    // The texts of the children of the row of path (TVI_ROOT for ""), comma separated.
    std::string texts(KMXSDialog* d, const std::string& path) {
        HTREEITEM parent = path.empty() ? TVI_ROOT : row(d, path);
        d->tree.Expand(parent, TVE_EXPAND);
        std::string out;
        for (HTREEITEM r = d->tree.GetChildItem(parent); r; r = d->tree.GetNextSiblingItem(r))
            out += (out.empty() ? "" : ",") + d->tree.GetItemText(r);
        return out;
    }
    bool hasButton(KMXSDialog* d, const std::string& path) { return d->tree.ItemHasChildren(row(d, path)); }
    bool disabled(KMXSDialog* d, const std::string& path) { return d->tree.IsItemDisabled(row(d, path)); }
};

} // namespace

TEST_F(CatalogTreeTest, RowsFillLazilyAndTheOnlyCatalogOpensOnTheFirstOpening) {
    KMXSDialog* d = open(kSelectAddressMode);
    EXPECT_TRUE(d->tree.IsExpanded(row(d, "Car")));
    EXPECT_EQ(texts(d, "Car"), "10: Empty,52: Navigation");
    EXPECT_FALSE(hasButton(d, "Car.Empty")); // no functions, no button
    HTREEITEM nav = d->catalogTree->FindItemByPath("Car.Navigation", row(d, "Car"));
    EXPECT_EQ(d->tree.GetItemText(d->tree.GetChildItem(nav)), KMXSCatalogTree::kPlaceholder);
    EXPECT_EQ(texts(d, "Car.Navigation"), "002: Route,003: Guide"); // not the hidden Service
    EXPECT_EQ(texts(d, "Car.Navigation.Route"), "0: Set,1: Get,C: Status");
    // outside the signal modes OpTypes have no children; a row is filled once
    EXPECT_FALSE(hasButton(d, "Car.Navigation.Route.Status"));
    EXPECT_FALSE(d->catalogTree->ExpandFBlock(nav, *d->catalogTree->ItemOf(nav)));
    // each level's label shows its id's own digits only
    EXPECT_EQ(d->catalogTree->FormatIdLabel("Band", 0x1100, KMXSTreeItem::kFunction), "100: Band");
    EXPECT_EQ(d->catalogTree->FormatIdLabel("Tuner", 0x140, KMXSTreeItem::kFBlock), "40: Tuner");
    EXPECT_EQ(d->catalogTree->FormatIdLabel("Status", 0x1C, KMXSTreeItem::kOpType), "C: Status");
    click(d->cancelButton);

    // with two catalogs both stay closed, also on a first opening; rows with nothing below have
    // no button, and a collapse never fills a row
    load("blank.xml", kBlank);
    load("radio.xml", kRadio);
    selection->lastState = KMXSSessionState();
    d = open(kSelectAddressMode);
    EXPECT_EQ(texts(d, ""), "Car,Blank,Radio");
    EXPECT_FALSE(d->tree.IsExpanded(row(d, "Car")) || d->tree.IsExpanded(row(d, "Radio")));
    EXPECT_FALSE(hasButton(d, "Blank"));
    HTREEITEM car = d->catalogTree->FindItemByPath("Car", TVI_ROOT);
    d->catalogTree->OnItemExpanding(car, TVE_COLLAPSE);
    EXPECT_EQ(d->tree.GetItemText(d->tree.GetChildItem(car)), KMXSCatalogTree::kPlaceholder);
    EXPECT_TRUE(hasButton(d, "Radio.Tuner.Band"));
    EXPECT_FALSE(hasButton(d, "Radio.Tuner.Seek"));
}

TEST_F(CatalogTreeTest, SignalModesShowParameterNodesWithUnselectableLeavesDisabled) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    // only OpTypes with parameters can be opened
    EXPECT_TRUE(hasButton(d, "Car.Navigation.Route.Set"));
    EXPECT_FALSE(hasButton(d, "Car.Navigation.Route.Get"));
    EXPECT_EQ(texts(d, "Car.Navigation.Route.Status"), "Count,Mode,Size,Spare,Name,Items");
    EXPECT_FALSE(disabled(d, "Car.Navigation.Route.Status.Count") ||
                 disabled(d, "Car.Navigation.Route.Status.Mode"));
    EXPECT_TRUE(disabled(d, "Car.Navigation.Route.Status.Name"));     // strings only with 0x200
    EXPECT_TRUE(disabled(d, "Car.Navigation.Guide.Error.ErrorCode")); // an error code is no signal
    // the unnamed array element has no row: the array's row stands for it and holds its fields
    EXPECT_EQ(texts(d, "Car.Navigation.Route.Status.Items[1]"), "Title,Level");
    EXPECT_FALSE(disabled(d, "Car.Navigation.Route.Status.Items[1]"));
    EXPECT_EQ(d->catalogTree->containers.size(), 2u); // one per opened OpType
    click(d->cancelButton);
    d = open(kSelectSignalMode | kSelectDetails | kSelectStringsAndStreams);
    EXPECT_FALSE(disabled(d, "Car.Navigation.Route.Status.Name"));
    click(d->cancelButton);

    // the kind filter hides other OpTypes than Status and length and reserved parameters; the
    // attribute filter ends the list at the first node without a fixed size: the string
    selection->lastState.filterChoice = true;
    d = open(kSelectSignalMode | kSelectDetails);
    EXPECT_EQ(texts(d, "Car.Navigation.Route"), "C: Status");
    EXPECT_EQ(texts(d, "Car.Navigation.Route.Status"), "Count,Mode,Name,Items");
    click(d->cancelButton);
    selection->lastState.filterChoiceAlt = true;
    ProcessState().kindFilter = false;
    d = open(kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow);
    EXPECT_EQ(texts(d, "Car.Navigation.Route.Status"), "Count,Mode,Size,Spare");
    click(d->cancelButton);
    // address mode lists every OpType even with the kind filter on
    ProcessState().kindFilter = true;
    EXPECT_EQ(texts(open(kSelectAddressMode), "Car.Navigation.Route"), "0: Set,1: Get,C: Status");
}

TEST_F(CatalogTreeTest, SavedRowsAndTheTopRowComeBackAndLostOnesAreDropped) {
    load("radio.xml", kRadio);
    KMXSSessionState& state = selection->lastState;
    state.firstOpen = false;
    state.visibleRowPaths = {
        "Car",      "Car.Navigation.Route",    "Car.Navigation.Route.Status.Items[1].Level",
        "Car.Gone", "Radio.Tuner.Gone.Status", "Nowhere.Tuner"};
    state.topRowPath = "Car.Navigation.Route";
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    // the node path opened its OpType and the array row on the way
    for (const char* path :
         {"Car", "Car.Navigation", "Car.Navigation.Route.Status", "Car.Navigation.Route.Status.Items[1]"})
        EXPECT_TRUE(d->tree.IsExpanded(row(d, path))) << path;
    EXPECT_EQ(d->catalogTree->topRow, row(d, "Car.Navigation.Route"));
    EXPECT_EQ(d->tree.GetFirstVisibleItem(), d->catalogTree->topRow);
    // the Radio catalog was filled (the path reached it) but nothing in it was found to show
    EXPECT_FALSE(d->tree.IsExpanded(row(d, "Radio")));
    EXPECT_EQ(d->catalogTree->lockedRow, nullptr); // nothing pre-selected
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);

    // the top row is scrolled to the top even when it was in view already
    for (int h = 10; d->tree.GetVisibleCount() != 2 && h < 200; ++h)
        d->tree.SetWindowPos(nullptr, 0, 0, 300, h, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(d->tree.GetVisibleCount(), 2u);
    state.visibleRowPaths = {"Car.Navigation"};
    state.topRowPath = "Car.Navigation";
    d->catalogTree->RebuildTree();
    EXPECT_EQ(d->tree.GetItemText(d->tree.GetFirstVisibleItem()), "52: Navigation");

    // a pending pre-selection selects its row in the signal modes, not in address mode; a first
    // opening restores nothing without one
    state.selectPending = true;
    state.topRowPath = "Car.Navigation.Route.Status.Mode";
    state.visibleRowPaths = {state.topRowPath};
    d->catalogTree->RebuildTree();
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), d->catalogTree->topRow);
    EXPECT_EQ(d->catalogTree->lockedRow, d->catalogTree->topRow);
    EXPECT_EQ(GetFocus(), d->tree.m_hWnd);
    EXPECT_FALSE(state.selectPending);
    click(d->cancelButton);
    state = KMXSSessionState();
    state.visibleRowPaths = {"Car.Navigation.Route"};
    state.topRowPath = "Car.Navigation.Route";
    EXPECT_EQ(open(kSelectAddressMode)->catalogTree->topRow, nullptr);
    state.selectPending = true;
    d = open(kSelectAddressMode);
    EXPECT_NE(d->catalogTree->topRow, nullptr);
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);
}

TEST_F(CatalogTreeTest, PredefinedObjectsAndWithoutCatalogsADisabledRowShow) {
    QRNHandle empty = 0;
    ASSERT_EQ(gQRNCreateFCatManager(&empty, "empty"), 0);
    predefined = {
        KMXSPredefObjectCfg(7, "Ignition", "", false, true),
        KMXSPredefObjectCfg(1, "Macros", "", true, false), KMXSPredefObjectCfg(2, "Start", "", false, true),
        KMXSPredefObjectCfg(4, "Timers", "", true, false), KMXSPredefObjectCfg(5, "Alarm", "", false, true)};
    const unsigned flags = kSelectSignalMode | kSelectPredefined;
    selection->lastState.visibleRowPaths = {"Predefined_Object_5"}; // inside a group: comes back
    selection->lastState.topRowPath = "Predefined_Object_5";
    selection->lastState.firstOpen = false;
    KMXSDialog* d = open(
        flags, 2, new KMXSDialog(empty, &listener, &selection->lastState, flags, selection.get(), nullptr));
    const std::string none = LoadResourceText(IDS_NO_CATALOG);
    ASSERT_FALSE(none.empty());
    EXPECT_EQ(texts(d, ""), "Ignition,Macros,Timers," + none);
    EXPECT_TRUE(d->tree.IsItemDisabled(d->tree.GetNextSiblingItem(row(d, "Predefined_Object_4"))));
    EXPECT_EQ(texts(d, "Predefined_Object_1"), "Start");
    EXPECT_TRUE(d->tree.IsExpanded(row(d, "Predefined_Object_4")));
    EXPECT_EQ(d->tree.GetItemText(d->catalogTree->topRow), "Alarm");
    click(d->cancelButton);
    gQRNDestroyFCatManager(empty);
}

TEST_F(CatalogTreeTest, PathsWithParenthesesAreSearchedBelowTheRowBeforeThem) {
    KMXSDialog* d = open(kSelectAddressMode);
    KMXSCatalogTree& t = *d->catalogTree;
    HTREEITEM sig = d->tree.InsertItem("Sig", TVI_ROOT);
    d->tree.SetItemData(
        sig, reinterpret_cast<DWORD_PTR>(&*t.items.emplace_back(std::make_unique<KMXSTreeItem>("Sig"))));
    HTREEITEM inner = d->tree.InsertItem("inner", sig);
    d->tree.SetItemData(
        inner, reinterpret_cast<DWORD_PTR>(&*t.items.emplace_back(std::make_unique<KMXSTreeItem>("Sig(2)"))));
    EXPECT_EQ(t.FindItemByPath("Sig(2)", TVI_ROOT), inner);
    EXPECT_EQ(t.FindItemByPath("Sig", TVI_ROOT), sig);
    EXPECT_EQ(t.FindItemByPath("Sig(3)", TVI_ROOT), nullptr);
    EXPECT_EQ(t.FindItemByPath("Car", sig), nullptr); // only direct children count
}
