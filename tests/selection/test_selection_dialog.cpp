// The selection dialog through the driver: what each mode reports on OK, Apply and double-click,
// the modeless close sequence, fixed-signal mode, the details area, the layout, and the session
// state that the next dialog starts from.
#include "selection/MXSDialog.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/MXSSelection.h"
#include "selection/SelectFlags.h"
#include "TestCatalogs.h"

#include <Quarnel.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct Report {
    std::vector<KMXSObject> objects;
    bool final;
};

class Listener : public KMXSListener {
public:
    void OnObjectsSelected(const std::vector<KMXSObject>& objects, bool final) override {
        reports.push_back({objects, final});
    }
    void OnHelp(int code) override { help.push_back(code); }
    std::vector<Report> reports;
    std::vector<int> help;
};

class SelectionDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        w32drv::Reset();
        ASSERT_EQ(LoadLanguageResources(), 0);
        ASSERT_EQ(gQRNCreateFCatManager(&handle, "tests"), 0);
        dir = std::filesystem::temp_directory_path() / ("pelorin-dialog-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        load("car.xml", kCar);
        selection = std::make_unique<KMXSSelection>(handle);
    }
    void TearDown() override {
        if (selection) selection->CloseModelessDialog();
        selection.reset();
        gQRNDestroyFCatManager(handle);
        std::filesystem::remove_all(dir);
        ResetProcessStateForTests();
        w32drv::Reset();
    }
    void load(const char* name, const char* text) {
        std::filesystem::path file = dir / name;
        std::ofstream(file) << text;
        std::string catalog;
        ASSERT_EQ(gQRNFCatManager(handle)->LoadFCat(file.string(), QRN_LOAD_REPLACE, catalog, QRN_LOG_NONE, ""), 0);
    }
    // A modeless dialog of the selection, as SelectObject opens it.
    KMXSDialog* open(unsigned flags, unsigned channels = 2) {
        auto* d = new KMXSDialog(handle, &listener, &selection->lastState, flags, selection.get(), nullptr);
        d->channelCount = channels;
        selection->modelessOpen = true;
        selection->modelessDialog = d;
        EXPECT_TRUE(d->Create(IDD_SELECTION, nullptr));
        d->ShowWindow(SW_SHOW);
        w32drv::Pump();
        return d;
    }
    HTREEITEM row(KMXSDialog* d, const std::string& path) {
        // opens the levels on the way as the user would
        HTREEITEM at = TVI_ROOT;
        std::string sofar;
        for (size_t from = 0;;) {
            size_t dot = path.find('.', from);
            sofar = path.substr(0, dot);
            HTREEITEM next = d->catalogTree->FindItemByPath(sofar, at);
            if (!next) return nullptr;
            at = next;
            if (dot == std::string::npos) return at;
            d->tree.Expand(at, TVE_EXPAND);
            from = dot + 1;
        }
    }
    void click(CWnd& w) {
        w32drv::ClickWindow(w.m_hWnd);
        w32drv::Pump();
    }
    static std::string text(const CWnd& w) {
        std::string t;
        w.GetWindowText(t);
        return t;
    }
    static RECT rectIn(KMXSDialog* d, CWnd& w) {
        CRect r;
        w.GetWindowRect(&r);
        d->ScreenToClient(&r);
        return r;
    }

    QRNHandle handle = 0;
    std::filesystem::path dir;
    std::unique_ptr<KMXSSelection> selection;
    Listener listener;
};

bool sameRect(const RECT& r, int x, int y, int w, int h) {
    return r.left == x && r.top == y && r.right - r.left == w && r.bottom - r.top == h;
}

} // namespace

TEST_F(SelectionDialogTest, SignalModeReportsTheChosenParameterWithEveryMember) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    EXPECT_EQ(text(*d), LoadResourceText(IDS_TITLE_SIGNAL));
    EXPECT_FALSE(d->okButton.IsWindowEnabled()); // nothing selected yet
    HTREEITEM count = row(d, "Car.Navigation.Route.Status.Count");
    ASSERT_NE(count, nullptr);
    d->tree.SelectItem(count);
    EXPECT_TRUE(d->okButton.IsWindowEnabled());
    EXPECT_EQ(text(d->nameEdit), "Count");
    EXPECT_EQ(text(d->typeEdit).rfind("Unsigned byte,", 0), 0u) << text(d->typeEdit);
    EXPECT_FALSE(d->arrayButton.IsWindowEnabled());
    d->instanceEdit.SetWindowText("0A");
    d->channelCombo.SetCurSel(1); // "MOST 2"
    click(d->okButton);
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_TRUE(listener.reports[0].final);
    ASSERT_EQ(listener.reports[0].objects.size(), 1u);
    const KMXSObject& o = listener.reports[0].objects[0];
    EXPECT_EQ(o.fcat, "Car");
    EXPECT_EQ(o.fblock, "Navigation");
    EXPECT_EQ(o.function, "Route");
    EXPECT_EQ(o.opType, "Status");
    EXPECT_EQ(o.parameterPath, "Count");
    EXPECT_EQ(o.parameterName, "Count");
    EXPECT_EQ(o.signalText, "Count");
    EXPECT_EQ(o.typeCode, static_cast<unsigned>(QRN_TYPE_NUMBER));
    EXPECT_EQ(o.instance, 0x0Au);
    EXPECT_EQ(o.channel, 2u);
    EXPECT_FALSE(o.predefined);
    // OK closes the dialog: posted close, second Cancel, window and object gone
    EXPECT_FALSE(selection->IsModelessDialogOpened());
    EXPECT_EQ(selection->modelessDialog, nullptr);
    EXPECT_EQ(ProcessState().selectionHook, nullptr);
    // the state was saved on the way
    EXPECT_EQ(selection->lastState.instance, 0x0Au);
    EXPECT_EQ(selection->lastState.channel, 2u);
    EXPECT_FALSE(selection->lastState.visibleRowPaths.empty());
    EXPECT_EQ(LastDialogState().instance, 0x0Au); // the process-wide copy of the reporting dialog
}

TEST_F(SelectionDialogTest, OneCancelClosesAModelessDialogWithoutAReport) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    HWND window = d->m_hWnd;
    EXPECT_NE(ProcessState().selectionHook, nullptr);
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Mode"));
    click(d->cancelButton);
    EXPECT_TRUE(listener.reports.empty());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(selection->IsModelessDialogOpened());
    EXPECT_EQ(ProcessState().selectionHook, nullptr);
    EXPECT_FALSE(selection->CloseModelessDialog());
    // the state was saved: a second dialog shows the same rows, the same top row first
    EXPECT_FALSE(selection->lastState.topRowPath.empty());
    const std::string top = selection->lastState.topRowPath;
    KMXSDialog* again = open(kSelectSignalMode | kSelectDetails);
    HTREEITEM first = again->tree.GetFirstVisibleItem();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(KMXSCatalogTree::ItemPath(*again->catalogTree->ItemOf(first)), top);
}

TEST_F(SelectionDialogTest, AddressModeReportsEverySelectedRowOrTheirOpTypes) {
    load("radio.xml", kRadio);
    KMXSDialog* d = open(kSelectAddressMode);
    HTREEITEM route = row(d, "Car.Navigation.Route");
    HTREEITEM tuner = row(d, "Radio.Tuner");
    ASSERT_TRUE(route && tuner);
    d->tree.SelectItem(route);
    d->tree.SetItemSelected(tuner, TRUE);
    click(d->applyButton);
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_FALSE(listener.reports[0].final);
    const auto& objects = listener.reports[0].objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].fcat + "|" + objects[0].fblock + "|" + objects[0].function + "|" + objects[0].opType,
              "Car|Navigation|Route|");
    EXPECT_TRUE(objects[0].IsFunction());
    EXPECT_TRUE(objects[1].IsFBlock());
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr); // Apply without details deselects
    // with 0x08 the function row stands for its three OpTypes, a catalog row for nothing
    click(d->cancelButton);
    listener.reports.clear();
    d = open(kSelectAddressMode | kSelectReportOpTypes);
    d->tree.SelectItem(row(d, "Car.Navigation.Route"));
    d->tree.SetItemSelected(row(d, "Radio"), TRUE);
    click(d->okButton);
    ASSERT_EQ(listener.reports.size(), 1u);
    std::vector<std::string> opTypes;
    for (const auto& o : listener.reports[0].objects) opTypes.push_back(o.function + "." + o.opType);
    EXPECT_EQ(opTypes, (std::vector<std::string>{"Route.Set", "Route.Get", "Route.Status"}));
}

TEST_F(SelectionDialogTest, UnacceptableRowsReportNothingAndDoubleClicksOnParentsOnlyOpen) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    // a string without 0x200 is a disabled row: it cannot be selected at all
    EXPECT_FALSE(d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Name")));
    // the array's row can, but it is no signal: its path shows read-only
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Items[1]"));
    EXPECT_FALSE(d->IsSelectionAcceptable());
    EXPECT_EQ(text(d->nameEdit), "Items[1]");
    EXPECT_TRUE(GetWindowLongA(d->nameEdit.m_hWnd, GWL_STYLE) & ES_READONLY);
    click(d->applyButton);
    EXPECT_TRUE(listener.reports.empty());
    // a double click on a parent row reports nothing
    HTREEITEM status = row(d, "Car.Navigation.Route.Status");
    d->tree.SelectItem(status);
    NMHDR nm{d->tree.m_hWnd, IDC_TREE, NM_DBLCLK};
    d->SendMessage(WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&nm));
    EXPECT_TRUE(listener.reports.empty());
    // on an acceptable leaf it reports (not final) and deselects
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Items[1].Level"));
    d->SendMessage(WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&nm));
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_FALSE(listener.reports[0].final);
    EXPECT_EQ(listener.reports[0].objects[0].parameterPath, "Items[1].Level");
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);
    // OK is disabled on nothing acceptable, but Enter in the tree still closes
    EXPECT_FALSE(d->okButton.IsWindowEnabled());
    d->tree.SetFocus();
    w32drv::Key(VK_RETURN);
    w32drv::Pump();
    EXPECT_EQ(listener.reports.size(), 1u);
    EXPECT_FALSE(selection->IsModelessDialogOpened());
}

TEST_F(SelectionDialogTest, FixedSignalModeKeepsItsRowAndApplyStillReports) {
    selection->lastState.selectPending = true;
    selection->lastState.topRowPath = "Car.Navigation.Route.Status.Mode";
    selection->lastState.visibleRowPaths = {"Car.Navigation.Route.Status.Mode"};
    selection->lastState.parameterText = "Mode";
    KMXSDialog* d = open(kSelectFixedSignal | kSelectDetails);
    EXPECT_EQ(text(*d), LoadResourceText(IDS_TITLE_FIXED_SIGNAL));
    HTREEITEM mode = d->tree.GetSelectedItem();
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(d->tree.GetItemText(mode), "Mode");
    EXPECT_EQ(text(d->nameEdit), "Mode");
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Count"));
    EXPECT_EQ(d->tree.GetSelectedItem(), mode); // snapped back
    click(d->applyButton);
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].objects[0].parameterPath, "Mode");
    EXPECT_FALSE(d->filterCombo.IsWindowEnabled());
}

TEST_F(SelectionDialogTest, TheAddressNameFollowsTheInstanceCheckBoxAndField) {
    KMXSDialog* d = open(kSelectAddressMode | kSelectDetails);
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status"));
    EXPECT_EQ(text(d->nameEdit), "Navigation.Route.Status");
    click(d->instanceCheck);
    EXPECT_EQ(text(d->nameEdit), "Navigation.*.Route.Status"); // state instance 255 shows "*"
    d->instanceEdit.SetWindowText("0A");
    EXPECT_EQ(text(d->nameEdit), "Navigation.0x0A.Route.Status");
    d->instanceEdit.SetWindowText("ff");
    EXPECT_EQ(text(d->instanceEdit), "*");
    EXPECT_EQ(text(d->nameEdit), "Navigation.*.Route.Status");
    click(d->instanceCheck);
    EXPECT_EQ(text(d->nameEdit), "Navigation.Route.Status");
    EXPECT_FALSE(d->instanceEdit.IsWindowEnabled());
    click(d->okButton);
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].objects[0].instance, 255u);
    EXPECT_FALSE(listener.reports[0].objects[0].instanceChecked);
}

TEST_F(SelectionDialogTest, TheArrayIndexDialogEditsTheFirstIndexOfThePath) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Items[1].Level"));
    EXPECT_EQ(text(d->nameEdit), "Items[1].Level");
    ASSERT_TRUE(d->arrayButton.IsWindowEnabled());
    // the click opens the modal index dialog, whose loop takes the typing
    w32drv::ClickWindow(d->arrayButton.m_hWnd);
    w32drv::Call([] { SetDlgItemTextA(GetActiveWindow(), IDC_ARRAY_INDEX_EDIT, "12xyz"); });
    w32drv::Key(VK_RETURN);
    w32drv::Pump();
    EXPECT_EQ(text(d->nameEdit), "Items[12].Level");
    EXPECT_EQ(d->parameterPath, "Items[12].Level");
    // a name edited by hand stays; the path follows the dialog
    d->nameEdit.SetWindowText("mine");
    w32drv::ClickWindow(d->arrayButton.m_hWnd);
    w32drv::Call([] { SetDlgItemTextA(GetActiveWindow(), IDC_ARRAY_INDEX_EDIT, "0"); });
    w32drv::Key(VK_RETURN);
    w32drv::Pump();
    EXPECT_EQ(text(d->nameEdit), "mine");
    EXPECT_EQ(d->parameterPath, "Items[1].Level");
}

TEST_F(SelectionDialogTest, LayoutKeepsItsMinimumsAndTheToggleGrowsTheWindowByTheBand) {
    selection->lastState.detailsExpanded = false;
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    d->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 150));
    // laid out for 350 x 176
    EXPECT_TRUE(sameRect(rectIn(d, d->tree), 8, 8, 350 - 16, 176 - 76));
    EXPECT_TRUE(sameRect(rectIn(d, d->okButton), 350 - 342, 176 - 30, 76, 22));
    EXPECT_TRUE(sameRect(rectIn(d, d->helpButton), 350 - 84, 176 - 30, 76, 22));
    EXPECT_FALSE(d->nameEdit.IsWindowVisible());
    // the toggle grows the window by the details band: 168 without 0x800
    CRect before;
    d->GetWindowRect(&before);
    d->SetWindowPos(nullptr, 0, 0, before.Width(), 400, SWP_NOMOVE | SWP_NOZORDER);
    d->GetWindowRect(&before);
    click(d->detailsToggle);
    CRect after;
    d->GetWindowRect(&after);
    EXPECT_EQ(after.Height() - before.Height(), 168);
    EXPECT_TRUE(d->nameEdit.IsWindowVisible());
    EXPECT_TRUE(d->instanceEdit.IsWindowVisible());
    EXPECT_EQ(text(d->detailsToggle), LoadResourceText(IDS_DETAILS) + " <<");
    click(d->detailsToggle);
    d->GetWindowRect(&after);
    EXPECT_EQ(after.Height(), before.Height());
    click(d->cancelButton);

    // with 0x800 the band is 114 and the instance row never shows
    selection->lastState.detailsExpanded = false;
    d = open(kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow);
    d->SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    d->GetWindowRect(&before);
    click(d->detailsToggle);
    d->GetWindowRect(&after);
    EXPECT_EQ(after.Height() - before.Height(), 114);
    EXPECT_FALSE(d->instanceEdit.IsWindowVisible());
    EXPECT_FALSE(d->channelCombo.IsWindowEnabled());
    click(d->cancelButton);

    // address mode: 76
    d = open(kSelectAddressMode | kSelectDetails);
    d->SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    d->GetWindowRect(&before);
    click(d->detailsToggle); // expanded by default: collapses
    d->GetWindowRect(&after);
    EXPECT_EQ(before.Height() - after.Height(), 76);
    EXPECT_FALSE(d->filterCombo.IsWindowVisible());
}

TEST_F(SelectionDialogTest, BoxesFollowTheChannelCountAndTheFilterRebuildsTheTree) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails, 0);
    ASSERT_EQ(d->channelCombo.GetCount(), 1); // only "MOST all"
    EXPECT_EQ(d->channelCombo.GetItemData(0), 0xFFFFu);
    EXPECT_EQ(d->predefChannelCombo.GetCount(), 0);
    ASSERT_EQ(d->filterCombo.GetCount(), 2);
    EXPECT_EQ(d->filterCombo.GetCurSel(), 0);
    HTREEITEM route = row(d, "Car.Navigation.Route");
    EXPECT_NE(route, nullptr);
    d->filterCombo.SetCurSel(1);
    d->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FILTER_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(d->filterCombo.m_hWnd));
    EXPECT_TRUE(ProcessState().kindFilter);
    route = row(d, "Car.Navigation.Route");
    ASSERT_NE(route, nullptr);
    d->tree.Expand(route, TVE_EXPAND);
    std::vector<std::string> opTypes;
    for (HTREEITEM r = d->tree.GetChildItem(route); r; r = d->tree.GetNextSiblingItem(r))
        opTypes.push_back(d->tree.GetItemText(r));
    EXPECT_EQ(opTypes, (std::vector<std::string>{"C: Status"}));
    // Enter in the tree acts as OK; Help asks the listener
    click(d->helpButton);
    EXPECT_EQ(listener.help, (std::vector<int>{1}));
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Count"));
    d->tree.SetFocus();
    w32drv::Key(VK_RETURN);
    w32drv::Pump();
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_TRUE(listener.reports[0].final);
    EXPECT_TRUE(selection->lastState.filterChoice);
}
