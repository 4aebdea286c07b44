// The selection dialog through the driver: what each mode reports on OK, Apply and double-click,
// the modeless close sequence and the modal results, fixed-signal mode, the hook that hands the
// dialog its keys, tooltips, show IDs, help and focus.
#include "DialogFixture.h"

namespace {

// A catalog with a unit (the extra text of a report) and a hidden OpType.
const char* const kDash = R"(<?xml version="1.0" encoding="UTF-8"?>
<FunctionCatalog Name="Dash">
  <FBlock ID="0x60" Name="Cluster">
    <Function ID="0x200" Name="Speed" Kind="Property">
      <OPType ID="0x1" Hidden="true"/>
      <OPType ID="0xC"><Parameter Name="Value"><TNumber Type="UWord" Unit="km/h"/></Parameter></OPType>
    </Function>
  </FBlock>
</FunctionCatalog>
)";

class SelectionDialogTest : public DialogFixture {
protected:
    // A screen point on the row (the tree has no item rectangles: found by hit testing).
    static POINT pointOn(KMXSDialog* d, HTREEITEM target) {
        CRect client;
        d->tree.GetClientRect(&client);
        for (CPoint p(40, 0); p.y < client.Height(); ++p.y)
            if (d->tree.HitTest(p) == target) {
                d->tree.ClientToScreen(&p);
                return p;
            }
        ADD_FAILURE() << "row not in view";
        return {};
    }
    static std::string tipText(KMXSDialog* d) {
        std::string t;
        d->toolTip.GetText(t, &d->tree);
        return t;
    }
    void enter(CWnd& w) {
        w.SetFocus();
        w32drv::Key(VK_RETURN);
        w32drv::Pump();
    }
};

// Counts the dialog objects deleted, to see a modeless dialog go with its window.
class CountedDialog : public KMXSDialog {
public:
    using KMXSDialog::KMXSDialog;
    ~CountedDialog() override { ++deleted; }
    static int deleted;
};
int CountedDialog::deleted = 0;

} // namespace

TEST_F(SelectionDialogTest, SignalModeReportsTheChosenParameterWithEveryMember) {
    load("dash.xml", kDash);
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    EXPECT_EQ(text(*d), LoadResourceText(IDS_TITLE_SIGNAL));
    EXPECT_FALSE(d->okButton.IsWindowEnabled() || d->applyButton.IsWindowEnabled()); // nothing selected yet
    select(d, "Dash.Cluster.Speed.Status.Value");
    EXPECT_TRUE(d->okButton.IsWindowEnabled() && d->applyButton.IsWindowEnabled());
    d->instanceEdit.SetWindowText("0A");
    d->channelCombo.SetCurSel(1); // "MOST 2"
    click(d->okButton);
    // without an instance box the object counts as checked
    EXPECT_EQ(listener.reports, (Texts{"final Dash|Cluster|Speed|Status|Value|Value|km/h|Value|8|2|10"}));
    // OK closes the dialog: posted close, second Cancel, window and object gone
    EXPECT_FALSE(selection->IsModelessDialogOpened());
    EXPECT_EQ(selection->modelessDialog, nullptr);
    EXPECT_EQ(ProcessState().selectionHook, nullptr);
    EXPECT_EQ(LastDialogState().instance, 0x0Au); // the process-wide copy of the reporting dialog

    // a nested parameter is named by the last part of its path; the first channel is 1, a
    // wildcard instance 255. The signal text is the name field as the user left it, at most 511
    // characters; an emptied field reports the path and shows it again
    listener.reports.clear();
    d = open(kSelectSignalMode | kSelectDetails);
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    d->instanceEdit.SetWindowText("*");
    d->channelCombo.SetCurSel(0);
    for (const std::string& name : {std::string("Items[1].Level"), std::string(600, 'n'), std::string()}) {
        d->nameEdit.SetWindowText(name);
        click(d->applyButton);
    }
    const std::string level = "Car|Navigation|Route|Status|Level|Items[1].Level||";
    EXPECT_EQ(listener.reports,
              (Texts{level + "Items[1].Level|8|1|255", level + std::string(511, 'n') + "|8|1|255",
                     level + "Items[1].Level|8|1|255"}));
    EXPECT_EQ(text(d->nameEdit), "Items[1].Level");
    click(d->cancelButton);

    // without the details flag the name field does not follow the rows: each report names its
    // own row, not the one reported before
    listener.reports.clear();
    d = open(kSelectSignalMode);
    for (const char* path : {"Count", "Mode"}) {
        select(d, std::string("Car.Navigation.Route.Status.") + path);
        click(d->applyButton);
    }
    EXPECT_EQ(listener.reports, (Texts{"Car|Navigation|Route|Status|Count|Count||Count|8|1|255",
                                       "Car|Navigation|Route|Status|Mode|Mode||Mode|9|1|255"}));
    // a catalog change that takes the selected row away disables OK and Apply
    select(d, "Dash.Cluster.Speed.Status.Value");
    load("dash.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FunctionCatalog Name=\"Dash\"/>\n");
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);
    EXPECT_FALSE(d->okButton.IsWindowEnabled() || d->applyButton.IsWindowEnabled());
}

TEST_F(SelectionDialogTest, PredefinedObjectsReportAsThemselvesInBothModes) {
    predefined = {KMXSPredefObjectCfg(7, "Ignition", "Terminal 15", false, true),
                  KMXSPredefObjectCfg(1, "Macros", "", true, false),
                  KMXSPredefObjectCfg(2, "Start", "", false, true)};
    selection->lastState.predefChannel = 2;
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails | kSelectPredefined);
    select(d, "Predefined_Object_7");
    d->instanceEdit.SetWindowText("3");
    click(d->applyButton); // the channel from the predefined objects' box
    // a group is not selectable: Apply reports nothing
    select(d, "Predefined_Object_1");
    EXPECT_FALSE(d->applyButton.IsWindowEnabled());
    click(d->applyButton);
    click(d->cancelButton);

    // address mode reports a selectable predefined row beside the catalog rows, a group not
    d = open(kSelectAddressMode | kSelectPredefined);
    HTREEITEM macros = row(d, "Predefined_Object_1");
    d->tree.Expand(macros, TVE_EXPAND);
    d->tree.SelectItem(d->catalogTree->FindItemByPath("Predefined_Object_2", macros));
    d->tree.SetItemSelected(macros, TRUE);
    d->tree.SetItemSelected(row(d, "Car.Navigation"), TRUE);
    click(d->okButton);
    // a group alone is no object, with the details too
    d = open(kSelectAddressMode | kSelectDetails | kSelectPredefined);
    d->tree.SelectItem(row(d, "Predefined_Object_1"));
    click(d->applyButton);
    EXPECT_EQ(listener.reports, (Texts{"#7 |||||||Ignition|0|2|3",
                                       "final #2 |||||||Start|0|0|0; Car|Navigation|||||||0|0|0", ""}));
}

TEST_F(SelectionDialogTest, AddressModeReportsEverySelectedRowOrTheirOpTypes) {
    load("radio.xml", kRadio);
    KMXSDialog* d = open(kSelectAddressMode);
    EXPECT_FALSE(d->okButton.IsWindowEnabled()); // nothing selected yet
    d->tree.SelectItem(row(d, "Car.Navigation.Route"));
    d->tree.SetItemSelected(row(d, "Radio.Tuner"), TRUE);
    click(d->applyButton);
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr); // Apply without details deselects
    // a double click on an FBlock only opens or closes it; on an OpType it reports the row
    d->tree.SelectItem(row(d, "Car.Navigation"));
    notify(d, NM_DBLCLK);
    d->tree.SelectItem(row(d, "Car.Navigation.Route.Status"));
    notify(d, NM_DBLCLK);
    // without the details nothing is read from them
    EXPECT_EQ(listener.reports, (Texts{"Car|Navigation|Route||||||0|0|0; Radio|Tuner|||||||0|0|0",
                                       "Car|Navigation|Route|Status|||||0|0|0"}));
    click(d->cancelButton);

    // with 0x08 an FBlock or function row stands for its OpTypes (not the hidden ones), an
    // OpType for itself, a catalog row for nothing
    listener.reports.clear();
    load("dash.xml", kDash);
    d = open(kSelectAddressMode | kSelectReportOpTypes);
    d->tree.SelectItem(row(d, "Car.Navigation"));
    for (const char* path : {"Dash.Cluster.Speed", "Radio", "Radio.Tuner.Band", "Radio.Tuner.Band.Status"})
        d->tree.SetItemSelected(row(d, path), TRUE);
    click(d->okButton);
    EXPECT_EQ(listener.reports,
              (Texts{"final Car|Navigation|Route|Set|||||0|0|0; Car|Navigation|Route|Get|||||0|0|0; "
                     "Car|Navigation|Route|Status|||||0|0|0; Car|Navigation|Guide|Error|||||0|0|0; "
                     "Radio|Tuner|Band|Status|||||0|0|0; Radio|Tuner|Band|Status|||||0|0|0; "
                     "Dash|Cluster|Speed|Status|||||0|0|0"}));

    // with the details the first object takes the instance and the box; Apply keeps the rows
    listener.reports.clear();
    selection->lastState.instanceChecked = true;
    d = open(kSelectAddressMode | kSelectDetails);
    d->tree.SelectItem(row(d, "Car.Navigation.Route"));
    d->tree.SetItemSelected(row(d, "Radio.Tuner"), TRUE);
    d->instanceEdit.SetWindowText("2B");
    click(d->applyButton);
    EXPECT_NE(d->tree.GetFirstSelectedItem(), nullptr);
    click(d->instanceCheck);
    click(d->applyButton);
    EXPECT_EQ(listener.reports, (Texts{"Car|Navigation|Route||||||0|0|43; Radio|Tuner|||||||0|0|0",
                                       "Car|Navigation|Route||||||0|0|43|-; Radio|Tuner|||||||0|0|0"}));
}

TEST_F(SelectionDialogTest, UnacceptableRowsReportNothingAndDoubleClicksOnParentsOnlyOpen) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    // a string without 0x200 is a disabled row: it cannot be selected at all
    EXPECT_FALSE(d->tree.SelectItem(row(d, "Car.Navigation.Route.Status.Name")));
    // the array's row can, but it is no signal
    select(d, "Car.Navigation.Route.Status.Items[1]");
    EXPECT_FALSE(d->applyButton.IsWindowEnabled());
    click(d->applyButton);
    EXPECT_TRUE(listener.reports.empty());
    click(d->cancelButton);
    // strings are signals with 0x200 only
    d = open(kSelectSignalMode | kSelectDetails | kSelectStringsAndStreams);
    select(d, "Car.Navigation.Route.Status.Name");
    click(d->applyButton);
    EXPECT_EQ(listener.reports, (Texts{"Car|Navigation|Route|Status|Name|Name||Name|10|65535|255"}));
    click(d->cancelButton);
    listener.reports.clear();
    d = open(kSelectDetails); // a flag word without a mode has no signals at all
    select(d, "Car.Navigation.Route.Status");
    EXPECT_FALSE(d->okButton.IsWindowEnabled());
    click(d->cancelButton);
    d = open(kSelectSignalMode | kSelectDetails);
    // a double click on a parent row reports nothing; on an acceptable leaf it reports (not
    // final) and deselects
    select(d, "Car.Navigation.Route.Status");
    notify(d, NM_DBLCLK);
    EXPECT_TRUE(listener.reports.empty());
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    notify(d, NM_DBLCLK);
    EXPECT_EQ(listener.reports,
              (Texts{"Car|Navigation|Route|Status|Level|Items[1].Level||Items[1].Level|8|65535|255"}));
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);
    // the click that ends the double click is passed over; a later click with nothing
    // selected selects the row with the focus
    notify(d, NM_CLICK);
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);
    notify(d, NM_CLICK);
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), row(d, "Car.Navigation.Route.Status.Items[1].Level"));
    // OK is disabled on nothing acceptable, but Enter in the tree still closes, without a report
    select(d, "Car.Navigation.Route.Status.Items[1]");
    EXPECT_FALSE(d->okButton.IsWindowEnabled());
    enter(d->tree);
    EXPECT_EQ(listener.reports.size(), 1u);
    EXPECT_FALSE(selection->IsModelessDialogOpened());
}

TEST_F(SelectionDialogTest, FixedSignalModeKeepsItsRowAndApplyStillReports) {
    KMXSSessionState& state = selection->lastState;
    state.selectPending = true;
    state.topRowPath = "Car.Navigation.Route.Status.Mode";
    state.visibleRowPaths = {state.topRowPath};
    state.parameterText = "Mode";
    state.valueText = "Mode = Short";
    KMXSDialog* d = open(kSelectFixedSignal | kSelectDetails);
    EXPECT_EQ(text(*d), LoadResourceText(IDS_TITLE_FIXED_SIGNAL));
    EXPECT_EQ(d->tree.GetBkColor(), ::GetSysColor(COLOR_BTNFACE));
    HTREEITEM mode = d->tree.GetSelectedItem();
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(d->tree.GetItemText(mode), "Mode");
    EXPECT_EQ(text(d->nameEdit), "Mode = Short"); // the value text, not the path
    EXPECT_EQ(text(d->typeEdit).rfind("Enum", 0), 0u);
    EXPECT_FALSE(d->filterCombo.IsWindowEnabled());
    EXPECT_FALSE(readOnly(d->nameEdit));
    EXPECT_TRUE(d->okButton.IsWindowEnabled());
    // a click or a double click elsewhere ends on the row, without a report
    HTREEITEM count = row(d, "Car.Navigation.Route.Status.Count");
    for (UINT code : {NM_CLICK, NM_DBLCLK}) {
        d->tree.SetItemSelected(count, TRUE);
        d->tree.SetItemSelected(mode, FALSE);
        notify(d, code);
        EXPECT_EQ(d->tree.GetFirstSelectedItem(), mode) << code;
        EXPECT_FALSE(d->tree.IsSelected(count)) << code;
    }
    select(d, "Car.Navigation.Route.Status.Count"); // and so does a selection after them
    EXPECT_EQ(d->tree.GetSelectedItem(), mode);
    EXPECT_TRUE(listener.reports.empty());
    click(d->applyButton);
    EXPECT_EQ(listener.reports, (Texts{"Car|Navigation|Route|Status|Mode|Mode||Mode = Short|9|65535|255"}));
    click(d->cancelButton);

    // without a value text the name is the path; a signal whose catalog comes only after the
    // dialog opened is shown, locked and described once the catalog is there
    state.selectPending = true;
    state.topRowPath = "Dash.Cluster.Speed.Status.Value";
    state.visibleRowPaths = {state.topRowPath};
    state.parameterText = "Value";
    state.valueText = "";
    d = open(kSelectFixedSignal | kSelectDetails);
    EXPECT_EQ(text(d->nameEdit), "Value");
    EXPECT_EQ(d->tree.GetSelectedItem(), nullptr);
    load("dash.xml", kDash);
    EXPECT_EQ(text(d->typeEdit).rfind("Unsigned word,", 0), 0u) << text(d->typeEdit);
    select(d, "Car.Navigation.Route.Status.Count"); // snapped back
    EXPECT_EQ(d->tree.GetItemText(d->tree.GetSelectedItem()), "Value");
}

TEST_F(SelectionDialogTest, ModelessDialogsGoWithTheirWindowModalOnesEndWithTheirButton) {
    CountedDialog::deleted = 0;
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails, 2,
                         new CountedDialog(handle, &listener, &selection->lastState,
                                           kSelectSignalMode | kSelectDetails, selection.get(), nullptr));
    HWND window = d->m_hWnd;
    EXPECT_NE(ProcessState().selectionHook, nullptr);
    select(d, "Car.Navigation.Route.Status.Mode");
    click(d->cancelButton);
    EXPECT_TRUE(listener.reports.empty());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CountedDialog::deleted, 1);
    EXPECT_FALSE(selection->IsModelessDialogOpened());
    EXPECT_EQ(ProcessState().selectionHook, nullptr);

    // a modal dialog has no hook; Escape cancels it, Enter on a signal ends it with OK
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        KMXSDialog modal(handle, &listener, &selection->lastState,
                         kSelectModal | kSelectSignalMode | kSelectDetails, nullptr, nullptr);
        bool hooked = true;
        w32drv::Call([&] {
            hooked = ProcessState().selectionHook != nullptr;
            modal.tree.SelectItem(row(&modal, "Car.Navigation.Route.Status.Count"));
            modal.instanceEdit.SetWindowText(key == VK_ESCAPE ? "1" : "2");
            modal.tree.SetFocus();
        });
        w32drv::Key(key);
        EXPECT_EQ(modal.DoModal(), key == VK_ESCAPE ? IDCANCEL : IDOK);
        EXPECT_TRUE(w32drv::InputExhaustedDialogs().empty()); // ended by the key
        EXPECT_FALSE(hooked);
        EXPECT_EQ(selection->lastState.instance, key == VK_ESCAPE ? 1u : 2u); // saved either way
        // the object outlives its window, but not its rows' catalog containers nor its place
        // among the manager's listeners
        EXPECT_EQ(modal.catalogTree, nullptr);
        EXPECT_EQ(modal.GetRegisteredHandle(), 0u);
    }
    EXPECT_EQ(listener.reports.size(), 1u);
}

// What the host's own message hook sees of the key messages its loop takes.
std::vector<MSG> hostSaw;
LRESULT CALLBACK hostHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* m = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        (m->message == WM_NULL || (m->message >= WM_KEYDOWN && m->message <= 0x0108)))
        hostSaw.push_back(*m);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SelectionDialogTest, TheHookHandsKeysToTheDialogOnceAndLeavesTheHostsKeys) {
    HWND host = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 0, 200, 40, nullptr,
                                nullptr, nullptr, nullptr);
    hostSaw.clear();
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, hostHook, nullptr, GetCurrentThreadId());
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    // typed into the host's own window while the dialog is open
    SetActiveWindow(host);
    SetFocus(host);
    w32drv::Type("ab");
    w32drv::Pump();
    char typed[16] = "";
    GetWindowTextA(host, typed, sizeof typed);
    EXPECT_STREQ(typed, "ab");
    DestroyWindow(host);
    const size_t hostKeys = hostSaw.size();
    EXPECT_GT(hostKeys, 0u); // the host's own keys reached it
    // typed into the instance field: each character once, hexadecimal digits only, at most two
    d->SetActiveWindow();
    d->instanceEdit.SetFocus();
    d->instanceEdit.SetSel(0, -1);
    w32drv::Type("g1c7");
    w32drv::Pump();
    EXPECT_EQ(text(d->instanceEdit), "1C");
    // the dialog's keys reach the host's loop as null messages only
    ASSERT_GT(hostSaw.size(), hostKeys);
    for (size_t i = hostKeys; i < hostSaw.size(); ++i)
        EXPECT_TRUE(hostSaw[i].message == WM_NULL && hostSaw[i].wParam == 0 && hostSaw[i].lParam == 0) << i;
    UnhookWindowsHookEx(hook);
    // a host loop that looks at a key before taking it hands it over only when it takes it
    d->instanceEdit.SetWindowText("");
    d->instanceEdit.PostMessage(WM_CHAR, '5', 0);
    MSG peeked{};
    ASSERT_TRUE(PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(peeked.message, static_cast<UINT>(WM_CHAR));
    w32drv::Pump();
    EXPECT_EQ(text(d->instanceEdit), "5");
    // keys in the tree move in it; Enter is OK there, once
    select(d, "Car.Navigation.Route.Status.Count");
    d->tree.SetFocus();
    w32drv::Key(VK_DOWN);
    w32drv::Pump();
    EXPECT_EQ(d->tree.GetItemText(d->tree.GetSelectedItem()), "Mode");
    enter(d->tree);
    EXPECT_EQ(listener.reports, (Texts{"final Car|Navigation|Route|Status|Mode|Mode||Mode|9|65535|5"}));
    EXPECT_FALSE(selection->IsModelessDialogOpened());
}

// Two selection objects may each have a modeless dialog open: one hook serves both and lasts until
// the last of them closes.
TEST_F(SelectionDialogTest, TwoModelessDialogsShareOneHook) {
    KMXSSelection other(handle);
    KMXSDialog* first = open(kSelectSignalMode | kSelectDetails);
    auto* second = new KMXSDialog(handle, &listener, &other.lastState, kSelectSignalMode | kSelectDetails,
                                  &other, nullptr);
    other.modelessOpen = true;
    other.modelessDialog = second;
    ASSERT_TRUE(second->Create(IDD_SELECTION, nullptr));
    second->SetWindowPos(nullptr, 600, 300, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW); // not over the first
    if (w32drv::kHeadless) { // hooks are counted only headless; the shared handle is checked below
        EXPECT_EQ(w32drv::InstalledHooks(), 1u);
    }
    click(first->cancelButton);
    EXPECT_NE(ProcessState().selectionHook, nullptr);
    // the remaining dialog still gets the host loop's keys
    second->SetActiveWindow();
    second->instanceEdit.SetFocus();
    second->instanceEdit.SetSel(0, -1);
    w32drv::Type("3e");
    w32drv::Pump();
    EXPECT_EQ(text(second->instanceEdit), "3E");
    click(second->cancelButton);
    EXPECT_FALSE(other.IsModelessDialogOpened());
    EXPECT_EQ(w32drv::InstalledHooks(), 0u);
    EXPECT_EQ(ProcessState().selectionHook, nullptr);
}

TEST_F(SelectionDialogTest, TooltipsDescribeTheRowUnderTheMouse) {
    predefined = {KMXSPredefObjectCfg(7, "Ignition", "Terminal 15", false, true)};
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails | kSelectPredefined);
    HTREEITEM route = row(d, "Car.Navigation.Route");
    HTREEITEM mode = row(d, "Car.Navigation.Route.Status.Mode");
    w32drv::MouseMove(pointOn(d, row(d, "Predefined_Object_7")));
    w32drv::Pump();
    EXPECT_EQ(tipText(d), "Terminal 15");
    // shown after 600 ms (to the millisecond on the virtual clock), again 2 s after it went
    EXPECT_EQ(SendMessageA(d->toolTip.m_hWnd, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 2000);
    w32drv::Wait(w32drv::kHeadless ? 599 : 300);
    w32drv::Pump();
    EXPECT_FALSE(d->toolTip.IsWindowVisible());
    w32drv::Wait(w32drv::kHeadless ? 1 : 700);
    w32drv::Pump();
    EXPECT_TRUE(d->toolTip.IsWindowVisible());
    w32drv::MouseMove(pointOn(d, route));
    w32drv::Pump();
    EXPECT_EQ(tipText(d).rfind("Function type: Property", 0), 0u) << tipText(d);
    w32drv::MouseMove(pointOn(d, mode));
    w32drv::Pump();
    EXPECT_NE(tipText(d).find("Value table:\n0x00: Fast\n0x01: Short"), std::string::npos) << tipText(d);
    // over another control the tree's tip stays; without tooltips the text stays and nothing shows
    w32drv::MouseMove(windowRect(d->helpButton).CenterPoint());
    click(d->showTooltipsCheck);
    w32drv::Wait(10000);
    w32drv::MouseMove(pointOn(d, route));
    w32drv::Wait(5000);
    w32drv::Pump();
    EXPECT_NE(tipText(d).find("Value table:"), std::string::npos);
    EXPECT_FALSE(d->toolTip.IsWindowVisible());
}

TEST_F(SelectionDialogTest, ShowIdsRelabelsTheTreeAndHelpAsksTheHost) {
    ProcessState().showIds = false;
    ProcessState().showTooltips = false;
    KMXSDialog* d = open(kSelectAddressMode);
    EXPECT_EQ(text(*d), "MOST Catalog");   // the template's title
    EXPECT_EQ(GetFocus(), d->tree.m_hWnd); // the tree has the focus once the dialog shows
    EXPECT_EQ(d->showIdsCheck.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(d->showTooltipsCheck.GetCheck(), BST_UNCHECKED);
    HTREEITEM status = row(d, "Car.Navigation.Route.Status");
    click(d->showIdsCheck);
    EXPECT_EQ(d->tree.GetItemText(status), "C: Status");
    EXPECT_TRUE(selection->lastState.showIds);
    click(d->showIdsCheck);
    EXPECT_EQ(d->tree.GetItemText(status), "Status");
    // Help, by the button or by F1 in the tree (WM_HELP), asks the listener
    click(d->helpButton);
    d->tree.SetFocus();
    w32drv::Key(VK_F1);
    w32drv::Pump();
    EXPECT_EQ(listener.help, (std::vector<int>{1, 1}));
    EXPECT_NE(d->SendMessage(WM_GETICON, ICON_SMALL, 0), 0); // the small icon is the system's
    // a catalog loaded meanwhile shows at once
    load("radio.xml", kRadio);
    EXPECT_NE(row(d, "Radio.Tuner"), nullptr);
}
