// The catalog tree through the real catalog library: lazy filling behind placeholders, the modes
// and filters, predefined objects, restoring the displayed rows and the top row from saved paths,
// relabelling, and a pre-selection on the first opening.
#include "selection/CatalogTree.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/SelectFlags.h"
#include "TestCatalogs.h"

#include <Quarnel.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

KMXSCatalogTree* current = nullptr; // the tree the frame hands its notifications to

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY && current) {
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(lParam);
        if (nm->hdr.code == TVN_ITEMEXPANDINGA) current->OnItemExpanding(nm->itemNew.hItem, nm->action);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class CatalogTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        w32drv::Reset();
        ASSERT_EQ(LoadLanguageResources(), 0);
        WNDCLASSA wc{};
        wc.lpfnWndProc = frameProc;
        wc.lpszClassName = "TreeFrame";
        RegisterClassA(&wc);
        ASSERT_TRUE(frame.CreateEx(0, "TreeFrame", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 600, nullptr, nullptr));
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                                0x00900200, CRect(0, 0, 300, 80), &frame, 19157)); // a few rows in view
        ASSERT_EQ(gQRNCreateFCatManager(&handle, "tests"), 0);
        dir = std::filesystem::temp_directory_path() / ("pelorin-tree-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        current = nullptr;
        catalogs.reset();
        tree.DestroyWindow();
        frame.DestroyWindow();
        gQRNDestroyFCatManager(handle);
        std::filesystem::remove_all(dir);
        w32drv::Reset();
    }
    void load(const char* name, const char* text) {
        std::filesystem::path file = dir / name;
        std::ofstream(file) << text;
        std::string catalog;
        ASSERT_EQ(gQRNFCatManager(handle)->LoadFCat(file.string(), QRN_LOAD_REPLACE, catalog, QRN_LOG_NONE, ""), 0);
    }
    KMXSCatalogTree& make(unsigned flags) {
        catalogs = std::make_unique<KMXSCatalogTree>(tree, handle, flags, state);
        current = catalogs.get();
        return *catalogs;
    }
    std::vector<std::string> texts(HTREEITEM parent) const {
        std::vector<std::string> out;
        for (HTREEITEM r = tree.GetChildItem(parent); r; r = tree.GetNextSiblingItem(r)) out.push_back(tree.GetItemText(r));
        return out;
    }
    HTREEITEM child(HTREEITEM parent, const std::string& text) const {
        for (HTREEITEM r = tree.GetChildItem(parent); r; r = tree.GetNextSiblingItem(r))
            if (tree.GetItemText(r) == text) return r;
        return nullptr;
    }
    // Opens the rows named by their texts, one level after the other, as a user does.
    HTREEITEM open(std::initializer_list<std::string> path) {
        HTREEITEM row = TVI_ROOT;
        for (const auto& text : path) {
            row = child(row, text);
            if (!row) return nullptr;
            tree.Expand(row, TVE_EXPAND);
        }
        return row;
    }

    CWnd frame;
    SECTreeCtrl tree;
    QRNHandle handle = 0;
    KMXSSessionState state;
    std::unique_ptr<KMXSCatalogTree> catalogs;
    std::filesystem::path dir;
};

} // namespace

TEST_F(CatalogTreeTest, RowsFillLazilyAndTheOnlyCatalogOpensOnTheFirstOpening) {
    load("car.xml", kCar);
    KMXSCatalogTree& t = make(kSelectAddressMode);
    t.RebuildTree();
    EXPECT_FALSE(state.firstOpen);
    HTREEITEM car = child(TVI_ROOT, "Car");
    ASSERT_NE(car, nullptr);
    EXPECT_TRUE(tree.IsExpanded(car));
    EXPECT_EQ(texts(car), (std::vector<std::string>{"10: Empty", "52: Navigation"}));
    EXPECT_FALSE(tree.ItemHasChildren(child(car, "10: Empty"))); // no functions, no button
    HTREEITEM nav = child(car, "52: Navigation");
    EXPECT_EQ(texts(nav), (std::vector<std::string>{KMXSCatalogTree::kPlaceholder}));
    tree.Expand(nav, TVE_EXPAND);
    EXPECT_EQ(texts(nav), (std::vector<std::string>{"002: Route", "003: Guide"})); // not the hidden Service
    HTREEITEM route = open({"Car", "52: Navigation", "002: Route"});
    EXPECT_EQ(texts(route), (std::vector<std::string>{"0: Set", "1: Get", "C: Status"}));
    // outside the signal modes OpTypes have no children; a row is filled once
    EXPECT_FALSE(tree.ItemHasChildren(child(route, "C: Status")));
    EXPECT_FALSE(t.ExpandFBlock(nav, *t.ItemOf(nav)));
    EXPECT_EQ(t.ItemOf(route)->functionId, 2);
    EXPECT_EQ(t.ItemOf(route)->instanceId, -1);
    EXPECT_EQ(KMXSCatalogTree::ItemPath(*t.ItemOf(route)), "Car.Navigation.Route");

    // a collapse never fills a row
    t.RebuildTree(); // not the first opening: the catalog stays unfilled
    HTREEITEM unfilled = child(TVI_ROOT, "Car");
    t.OnItemExpanding(unfilled, TVE_COLLAPSE);
    EXPECT_EQ(texts(unfilled), (std::vector<std::string>{KMXSCatalogTree::kPlaceholder}));
    EXPECT_TRUE(t.ExpandCatalog(unfilled, *t.ItemOf(unfilled)));
    EXPECT_FALSE(t.ExpandCatalog(unfilled, *t.ItemOf(unfilled)));

    // with two catalogs both stay closed; rows with nothing below have no button
    load("blank.xml", kBlank);
    load("radio.xml", kRadio);
    state = KMXSSessionState{};
    make(kSelectAddressMode).RebuildTree();
    EXPECT_EQ(texts(TVI_ROOT), (std::vector<std::string>{"Car", "Blank", "Radio"}));
    EXPECT_FALSE(tree.IsExpanded(child(TVI_ROOT, "Car")));
    EXPECT_FALSE(tree.IsExpanded(child(TVI_ROOT, "Radio")));
    EXPECT_FALSE(tree.ItemHasChildren(child(TVI_ROOT, "Blank")));
    HTREEITEM tuner = open({"Radio", "40: Tuner"});
    EXPECT_TRUE(tree.ItemHasChildren(child(tuner, "100: Band")));
    EXPECT_FALSE(tree.ItemHasChildren(child(tuner, "101: Seek")));
}

// The top row is scrolled to the top even when it was in view already.
TEST_F(CatalogTreeTest, TheTopRowBecomesTheFirstDisplayedRow) {
    load("car.xml", kCar);
    load("radio.xml", kRadio);
    for (int h = 10; tree.GetVisibleCount() != 2 && h < 200; ++h)
        tree.SetWindowPos(nullptr, 0, 0, 300, h, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(tree.GetVisibleCount(), 2u);
    state.firstOpen = false;
    state.visibleRowPaths = {"Car.Navigation"};
    state.topRowPath = "Car.Navigation";
    KMXSCatalogTree& t = make(kSelectAddressMode);
    t.RebuildTree();
    EXPECT_EQ(tree.GetItemText(tree.GetFirstVisibleItem()), "52: Navigation");
}

TEST_F(CatalogTreeTest, WithoutCatalogsThePredefinedObjectsAndADisabledRowShow) {
    KMXSCatalogTree& t = make(kSelectSignalMode | kSelectPredefined);
    t.predefinedObjects = {KMXSPredefObjectCfg(1, "Macros", "", true, false),
                           KMXSPredefObjectCfg(2, "Start", "", false, true),
                           KMXSPredefObjectCfg(3, "Stop", "", false, true),
                           KMXSPredefObjectCfg(4, "Timers", "", true, false),
                           KMXSPredefObjectCfg(5, "Alarm", "", false, true)};
    t.predefinedObjects.push_front(KMXSPredefObjectCfg(7, "Ignition", "", false, true));
    t.RebuildTree();
    const std::string none = LoadResourceText(IDS_NO_CATALOG);
    ASSERT_FALSE(none.empty());
    EXPECT_EQ(texts(TVI_ROOT), (std::vector<std::string>{"Ignition", "Macros", "Timers", none}));
    EXPECT_FALSE(tree.IsExpanded(child(TVI_ROOT, "Macros"))); // the first root row opens: Ignition has nothing
    EXPECT_EQ(texts(child(TVI_ROOT, "Macros")), (std::vector<std::string>{"Start", "Stop"}));
    EXPECT_EQ(texts(child(TVI_ROOT, "Timers")), (std::vector<std::string>{"Alarm"}));
    HTREEITEM noCatalog = child(TVI_ROOT, none);
    EXPECT_TRUE(tree.IsItemDisabled(noCatalog));
    EXPECT_EQ(t.ItemOf(noCatalog), nullptr);
    EXPECT_EQ(KMXSCatalogTree::ItemPath(*t.ItemOf(child(child(TVI_ROOT, "Macros"), "Stop"))), "Predefined_Object_3");

    // with a group first, the group opens
    t.predefinedObjects.pop_front();
    state.firstOpen = true;
    t.RebuildTree();
    EXPECT_TRUE(tree.IsExpanded(child(TVI_ROOT, "Macros")));
    t.predefinedObjects.push_front(KMXSPredefObjectCfg(7, "Ignition", "", false, true));
    // predefined objects at the root and inside a group come back from their paths
    state.visibleRowPaths = {"Predefined_Object_5", "Predefined_Object_7"};
    state.topRowPath = "Predefined_Object_5";
    t.RebuildTree();
    EXPECT_TRUE(tree.IsExpanded(child(TVI_ROOT, "Timers")));
    EXPECT_EQ(tree.GetItemText(t.topRow), "Alarm");
    // without the flag no predefined object is listed
    make(kSelectSignalMode).RebuildTree();
    EXPECT_EQ(texts(TVI_ROOT), (std::vector<std::string>{none}));
}

TEST_F(CatalogTreeTest, SignalModesShowParameterNodesWithUnselectableLeavesDisabled) {
    load("car.xml", kCar);
    KMXSCatalogTree& t = make(kSelectSignalMode);
    t.RebuildTree();
    HTREEITEM route = open({"Car", "52: Navigation", "002: Route"});
    ASSERT_NE(route, nullptr);
    // only OpTypes with parameters can be opened
    EXPECT_TRUE(tree.ItemHasChildren(child(route, "0: Set")));
    EXPECT_FALSE(tree.ItemHasChildren(child(route, "1: Get")));
    HTREEITEM status = open({"Car", "52: Navigation", "002: Route", "C: Status"});
    EXPECT_EQ(texts(status), (std::vector<std::string>{"Count", "Mode", "Size", "Spare", "Name", "Items"}));
    EXPECT_FALSE(tree.IsItemDisabled(child(status, "Count")));
    EXPECT_FALSE(tree.IsItemDisabled(child(status, "Mode")));
    EXPECT_TRUE(tree.IsItemDisabled(child(status, "Name"))); // strings only with 0x200
    HTREEITEM error = open({"Car", "52: Navigation", "003: Guide", "F: Error"});
    EXPECT_TRUE(tree.IsItemDisabled(child(error, "ErrorCode"))); // an error code is no signal
    // the unnamed array element has no row: the array's row stands for it and holds its fields
    HTREEITEM items = child(status, "Items");
    EXPECT_EQ(texts(items), (std::vector<std::string>{"Title", "Level"}));
    EXPECT_FALSE(tree.IsItemDisabled(items));
    EXPECT_EQ(KMXSCatalogTree::ItemPath(*t.ItemOf(items)), "Car.Navigation.Route.Status.Items[1]");
    EXPECT_EQ(KMXSCatalogTree::ItemPath(*t.ItemOf(child(items, "Level"))), "Car.Navigation.Route.Status.Items[1].Level");
    EXPECT_EQ(t.containers.size(), 2u); // one per opened OpType

    // strings and streams become selectable with 0x200
    state = KMXSSessionState{};
    make(kSelectSignalMode | kSelectStringsAndStreams).RebuildTree();
    status = open({"Car", "52: Navigation", "002: Route", "C: Status"});
    EXPECT_FALSE(tree.IsItemDisabled(child(status, "Name")));
}

TEST_F(CatalogTreeTest, TheKindAndAttributeFiltersHideWhatTheyStandFor) {
    load("car.xml", kCar);
    ProcessState().kindFilter = true;
    make(kSelectSignalMode).RebuildTree();
    HTREEITEM route = open({"Car", "52: Navigation", "002: Route"});
    EXPECT_EQ(texts(route), (std::vector<std::string>{"C: Status"}));
    HTREEITEM status = open({"Car", "52: Navigation", "002: Route", "C: Status"});
    EXPECT_EQ(texts(status), (std::vector<std::string>{"Count", "Mode", "Name", "Items"})); // no length, no reserved
    // address mode lists every OpType even with the kind filter on
    state = KMXSSessionState{};
    make(kSelectAddressMode).RebuildTree();
    EXPECT_EQ(texts(open({"Car", "52: Navigation", "002: Route"})).size(), 3u);

    // the attribute filter ends the list at the first node without a fixed size: the string
    ProcessState().kindFilter = false;
    ProcessState().attributeFilter = true;
    state = KMXSSessionState{};
    make(kSelectSignalMode).RebuildTree();
    status = open({"Car", "52: Navigation", "002: Route", "C: Status"});
    EXPECT_EQ(texts(status), (std::vector<std::string>{"Count", "Mode", "Size", "Spare"}));
}

TEST_F(CatalogTreeTest, SavedRowsAndTheTopRowComeBackAndLostOnesAreDropped) {
    load("car.xml", kCar);
    load("radio.xml", kRadio);
    state.firstOpen = false;
    state.visibleRowPaths = {"Car", "Car.Navigation.Route", "Car.Navigation.Route.Status.Items[1].Level",
                             "Car.Gone", "Radio.Tuner.Gone.Status", "Nowhere.Tuner"};
    state.topRowPath = "Car.Navigation.Route";
    KMXSCatalogTree& t = make(kSelectSignalMode);
    t.RebuildTree();
    HTREEITEM car = child(TVI_ROOT, "Car");
    HTREEITEM nav = child(car, "52: Navigation");
    ASSERT_NE(nav, nullptr);
    EXPECT_TRUE(tree.IsExpanded(car));
    EXPECT_TRUE(tree.IsExpanded(nav));
    HTREEITEM route = child(nav, "002: Route");
    EXPECT_EQ(t.topRow, route);
    EXPECT_EQ(tree.GetFirstVisibleItem(), route);
    // the node path opened its OpType and the array row on the way
    HTREEITEM status = child(route, "C: Status");
    EXPECT_TRUE(tree.IsExpanded(status));
    EXPECT_TRUE(tree.IsExpanded(child(status, "Items")));
    // the Radio catalog was filled (the path reached it) but nothing in it was found to show
    EXPECT_FALSE(tree.IsExpanded(child(TVI_ROOT, "Radio")));
    EXPECT_TRUE(t.rowsToReveal.empty());
    EXPECT_EQ(t.lockedRow, nullptr); // nothing pre-selected
}

TEST_F(CatalogTreeTest, PathsWithParenthesesAreSearchedBelowTheRowBeforeThem) {
    load("car.xml", kCar);
    KMXSCatalogTree& t = make(kSelectAddressMode);
    t.RebuildTree();
    HTREEITEM sig = tree.InsertItem("Sig", TVI_ROOT);
    tree.SetItemData(sig, reinterpret_cast<DWORD_PTR>(&*t.items.emplace_back(std::make_unique<KMXSTreeItem>("Sig"))));
    HTREEITEM inner = tree.InsertItem("inner", sig);
    tree.SetItemData(inner, reinterpret_cast<DWORD_PTR>(&*t.items.emplace_back(std::make_unique<KMXSTreeItem>("Sig(2)"))));
    EXPECT_EQ(t.FindItemByPath("Sig(2)", TVI_ROOT), inner);
    EXPECT_EQ(t.FindItemByPath("Sig", TVI_ROOT), sig);
    EXPECT_EQ(t.FindItemByPath("Sig(3)", TVI_ROOT), nullptr);
    EXPECT_EQ(t.FindItemByPath("Car", sig), nullptr); // only direct children count
}

TEST_F(CatalogTreeTest, RelabellingFollowsShowIdsAndKeepsTheRows) {
    load("car.xml", kCar);
    KMXSCatalogTree& t = make(kSelectSignalMode);
    t.RebuildTree();
    HTREEITEM status = open({"Car", "52: Navigation", "002: Route", "C: Status"});
    tree.SelectSetFirstVisible(status);
    state.showIds = false;
    t.Relabel();
    HTREEITEM car = child(TVI_ROOT, "Car");
    EXPECT_EQ(texts(car), (std::vector<std::string>{"Empty", "Navigation"}));
    EXPECT_EQ(texts(child(child(car, "Navigation"), "Route")), (std::vector<std::string>{"Set", "Get", "Status"}));
    EXPECT_EQ(texts(status).front(), "Count");
    EXPECT_EQ(tree.GetFirstVisibleItem(), status);
    EXPECT_EQ(t.FormatIdLabel("Band", 0x1100, KMXSTreeItem::kFunction), "Band");
    state.showIds = true;
    EXPECT_EQ(t.FormatIdLabel("Band", 0x1100, KMXSTreeItem::kFunction), "100: Band");
    EXPECT_EQ(t.FormatIdLabel("Tuner", 0x140, KMXSTreeItem::kFBlock), "40: Tuner");
    EXPECT_EQ(t.FormatIdLabel("Status", 0x1C, KMXSTreeItem::kOpType), "C: Status");
}

// A signal the host pre-selected before the first opening is shown and selected at once.
TEST_F(CatalogTreeTest, APreSelectionOnTheFirstOpeningSelectsAndLocksItsRow) {
    load("car.xml", kCar);
    state.selectPending = true;
    state.visibleRowPaths = {"Car.Navigation.Route.Status.Mode"};
    state.topRowPath = "Car.Navigation.Route.Status.Mode";
    KMXSCatalogTree& t = make(kSelectSignalMode);
    HTREEITEM shown = nullptr;
    t.onPreSelected = [&](HTREEITEM row) { shown = row; };
    t.RebuildTree();
    ASSERT_NE(t.topRow, nullptr);
    EXPECT_EQ(tree.GetItemText(t.topRow), "Mode");
    EXPECT_EQ(tree.GetSelectedItem(), t.topRow);
    EXPECT_EQ(t.lockedRow, t.topRow);
    EXPECT_EQ(shown, t.topRow);
    EXPECT_FALSE(state.selectPending);
    EXPECT_FALSE(state.firstOpen);
    EXPECT_EQ(GetFocus(), tree.m_hWnd);
    // without a pending selection the details are cleared instead
    bool cleared = false;
    t.onNothingPreSelected = [&] { cleared = true; };
    t.RebuildTree();
    EXPECT_TRUE(cleared);
    EXPECT_EQ(t.lockedRow, nullptr);
    // and a rebuild without saved rows has no top row left over
    state.visibleRowPaths.clear();
    t.RebuildTree();
    EXPECT_EQ(t.topRow, nullptr);

    // the first opening restores nothing unless a selection is pending; address mode selects nothing
    state = KMXSSessionState{};
    state.visibleRowPaths = {"Car.Navigation.Route"};
    state.topRowPath = "Car.Navigation.Route";
    make(kSelectAddressMode).RebuildTree();
    EXPECT_EQ(catalogs->topRow, nullptr);
    EXPECT_FALSE(tree.IsExpanded(child(child(TVI_ROOT, "Car"), "52: Navigation")));
    state.selectPending = true;
    make(kSelectAddressMode).RebuildTree();
    EXPECT_NE(catalogs->topRow, nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_TRUE(state.selectPending);
}
