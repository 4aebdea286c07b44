// The selection model and the bridge from a host's view: opening modal and modeless dialogs, a
// pre-selection applied on the next opening, the modes of ShowXMSSelection, the texts the host
// receives, and the states kept per manager handle.
#include "facade/PelorinApp.h"
#include "facade/SelDialogClient.h"

#include "catalog/MostFCatContainer.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/MXSDialog.h"
#include "selection/SelectFlags.h"
#include "support/AssistSession.h"
#include "support/SampleCatalogs.h"

#include <w32drv.h>

#include <gtest/gtest.h>

namespace {

class Host : public KPelorinClient, public KMXSListener {
public:
    void OnSelectionText(const char* text) override { texts.push_back(text); }
    void OnHelp(int code) override { help.push_back(code); }
    void OnObjectsSelected(const std::vector<KMXSObject>& objects, bool final) override {
        reports.push_back(objects);
        finals.push_back(final);
    }
    std::vector<std::string> texts;
    std::vector<int> help;
    std::vector<std::vector<KMXSObject>> reports;
    std::vector<bool> finals;
};

class SelectionBridgeTest : public AssistSession {
protected:
    KMXSDialog* openDialog() {
        KMXSSelection* s = SelectionBridge().selection.get();
        return s ? s->modelessDialog : nullptr;
    }
    // The manager handle of the selector's catalogs, loaded.
    unsigned long handle() {
        selector->container->LoadFCats();
        return selector->container->GetManagerHandle();
    }

    Host client;
};

KMXSObject object(const std::string& fblock, const std::string& function, const std::string& opType) {
    KMXSObject o;
    o.fcat = "Infotainment";
    o.fblock = fblock;
    o.function = function;
    o.opType = opType;
    o.instance = 255;
    return o;
}

} // namespace

TEST_F(SelectionBridgeTest, TheCaretAndPreselectChooseTheModeAndItsFlagWord) {
    struct Case {
        const char* text;
        int caret;
        bool preselect;
        unsigned flags;
        bool attributeFilter;
    } cases[] = {{"Amp.", 4, true, 0xAC4, true},  {"Amp.", 3, true, 0xAC4, false}, {"Amp.", 0, true, 0xAC4, false},
                 {"Amp.", 5, true, 0xAC4, false}, {"Amp.", 4, false, 0x54, false}, {".", 1, true, 0xAC4, true},
                 {nullptr, 1, true, 0xAC4, false}};
    HWND previous = nullptr;
    for (const auto& c : cases) {
        selector->ShowXMSSelection(&client, nullptr, c.text, c.caret, 0, 0, c.preselect);
        KMXSDialog* d = openDialog();
        ASSERT_NE(d, nullptr) << c.caret;
        EXPECT_FALSE(previous && IsWindow(previous)) << "the last opening's dialog is closed";
        previous = d->m_hWnd;
        EXPECT_EQ(d->flags, c.flags) << (c.text ? c.text : "no text") << " caret " << c.caret << " preselect " << c.preselect;
        EXPECT_EQ(d->state->filterChoiceAlt, c.attributeFilter) << c.caret;
        EXPECT_TRUE(d->state->textEditable); // the person may edit the name
        EXPECT_TRUE(IsWindowVisible(d->m_hWnd));
    }
    // Close ends the selection dialog too
    HWND last = openDialog()->m_hWnd;
    selector->Close();
    EXPECT_FALSE(IsWindow(last));
    EXPECT_EQ(openDialog(), nullptr);
    // a selector without catalog data opens nothing
    KPelorin empty(host);
    empty.ShowXMSSelection(&client, nullptr, "", 0, 0, 0, false);
    EXPECT_EQ(openDialog(), nullptr);
    empty.AddFCat("/nowhere/a.xml");
    empty.ShowXMSSelection(&client, nullptr, "", 0, 0, 0, false);
    EXPECT_EQ(openDialog(), nullptr);
}

TEST_F(SelectionBridgeTest, ReportsBecomeTextsWithTheInstanceAfterTheFBlock) {
    KMXSObject op = object("AudioAmplifier", "Volume", "Status");
    op.instance = 0x12;
    EXPECT_EQ(KMXSSelDialogClient::TextOf(op), "AudioAmplifier.0x12.Volume.Status");
    op.instance = 255;
    EXPECT_EQ(KMXSSelDialogClient::TextOf(op), "AudioAmplifier.*.Volume.Status");
    op.instanceChecked = false;
    EXPECT_EQ(KMXSSelDialogClient::TextOf(op), "AudioAmplifier.Volume.Status");
    EXPECT_EQ(KMXSSelDialogClient::TextOf(object("AudioAmplifier", "Volume", "")), "AudioAmplifier.*.Volume");
    EXPECT_EQ(KMXSSelDialogClient::TextOf(object("AudioAmplifier", "", "")), "AudioAmplifier.*");
    EXPECT_EQ(KMXSSelDialogClient::TextOf(object("", "", "")), ""); // a catalog alone names nothing
    KMXSObject parameter;
    parameter.parameterName = "Pos";
    parameter.parameterPath = "Data[1].Pos";
    EXPECT_EQ(KMXSSelDialogClient::TextOf(parameter), "Data[1].Pos");

    // through the bridge: an empty report says nothing; help arrives as 0
    selector->ShowXMSSelection(&client, nullptr, "", 0, 0, 0, false);
    KMXSSelDialogClient& bridge = SelectionBridge();
    bridge.OnObjectsSelected({}, true);
    EXPECT_TRUE(client.texts.empty());
    bridge.OnObjectsSelected({object("NetBlock", "", "")}, false);
    EXPECT_EQ(client.texts, (std::vector<std::string>{"NetBlock.*"}));
    bridge.OnHelp(1);
    EXPECT_EQ(client.help, (std::vector<int>{0}));
}

TEST_F(SelectionBridgeTest, ASecondOpeningStartsFromTheStateOfTheLastReport) {
    selector->ShowXMSSelection(&client, nullptr, "", 0, 0, 0, false);
    KMXSDialog* d = openDialog();
    ASSERT_NE(d, nullptr);
    d->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    d->SaveSessionState();
    SelectionBridge().OnObjectsSelected({object("NetBlock", "", "")}, true);
    EXPECT_EQ(SelectionBridge().savedStates.at(handle()).width, 640);
    d->SetWindowPos(nullptr, 0, 0, 600, 480, SWP_NOMOVE | SWP_NOZORDER);
    d->SaveSessionState();
    SelectionBridge().OnObjectsSelected({object("NetBlock", "", "")}, true);
    selector->ShowXMSSelection(&client, nullptr, "", 0, 0, 0, false);
    d = openDialog();
    ASSERT_NE(d, nullptr);
    CRect r;
    d->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), 600); // the later report's state
}

TEST_F(SelectionBridgeTest, TheModelOpensOneModelessDialogAndAppliesAPreSelectionOnTheNextOpening) {
    KMXSSelection selection(handle());
    EXPECT_FALSE(selection.CloseModelessDialog());
    std::string signal = "AudioAmplifier.Volume.Status.Volume";
    std::string value = "loud";
    EXPECT_TRUE(selection.SetPreSelectSignal(&signal, 3, 9, &value, false));
    EXPECT_FALSE(selection.LastDlgState().selectPending); // nothing applied before the next opening
    LastDialogState().width = 777;
    selection.SelectObject(&client, nullptr, kSelectSignalMode | kSelectDetails, true, 2, false);
    ASSERT_TRUE(selection.IsModelessDialogOpened());
    KMXSDialog* first = selection.modelessDialog;
    const KMXSSessionState& state = selection.LastDlgState();
    EXPECT_EQ(state.width, 777); // the process-wide state first, the pre-selection on top
    EXPECT_EQ(state.channel, 9u);
    EXPECT_EQ(state.predefChannel, 1u); // 9 is beyond the two channels
    EXPECT_EQ(state.instance, 3u);
    EXPECT_EQ(state.parameterText, "Volume");
    EXPECT_EQ(state.topRowPath, "Infotainment.AudioAmplifier.Volume.Status.Volume");
    EXPECT_EQ(state.valueText, "loud");
    EXPECT_FALSE(state.textEditable);
    EXPECT_TRUE(selection.preParameter.empty());
    // the pre-selected row is selected in the dialog
    HTREEITEM row = first->tree.GetSelectedItem();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(KMXSCatalogTree::ItemPath(*first->catalogTree->ItemOf(row)), state.topRowPath);

    // a second modeless call creates nothing, but still takes textEditable
    selection.SelectObject(&client, nullptr, kSelectSignalMode, false, 2, true);
    EXPECT_EQ(selection.modelessDialog, first);
    EXPECT_TRUE(selection.LastDlgState().textEditable);
    EXPECT_TRUE(selection.CloseModelessDialog());
    EXPECT_FALSE(selection.IsModelessDialogOpened());
    EXPECT_TRUE(client.reports.empty()); // closing reports nothing
}

TEST_F(SelectionBridgeTest, AModalDialogRunsInItsOwnLoopAndASecondModalCallOnlyRaisesTheParent) {
    KMXSSelection selection(handle());
    CWnd* parent = CWnd::FromHandle(host);
    bool nestedReturned = false;
    w32drv::Call([&] {
        EXPECT_TRUE(selection.modalOpen);
        selection.SelectObject(&client, parent, kSelectModal | kSelectAddressMode, false, 0, true);
        nestedReturned = true;
        HWND dialog = GetActiveWindow();
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    selection.SelectObject(&client, parent, kSelectModal | kSelectAddressMode, false, 0, true);
    EXPECT_TRUE(nestedReturned);
    EXPECT_FALSE(selection.modalOpen);
    EXPECT_TRUE(client.reports.empty());
}

TEST_F(SelectionBridgeTest, APreSelectionIsTakenOnceWithItsChannelRulesAndFilterReset) {
    KMXSSelection selection(handle());
    std::string status = "AudioAmplifier.Volume.Status.Volume";
    std::string set = "AudioAmplifier.Volume.Set.Volume";
    std::string unknown = "AudioAmplifier.Volume.Status.Nothing";
    std::string shortName = "AudioAmplifier.Volume";
    struct Case {
        unsigned channel, count, predefChannel;
    } cases[] = {{2, 2, 2}, {1, 2, 1}, {3, 2, 1}, {0, 2, 1}};
    for (const auto& c : cases) {
        ASSERT_TRUE(selection.SetPreSelectSignal(&status, 7, c.channel, nullptr, false));
        EXPECT_TRUE(selection.preSelected);
        selection.LastDlgState().filterChoice = true;
        selection.SelectObject(&client, nullptr, kSelectSignalMode, false, c.count, true);
        const KMXSSessionState& s = selection.LastDlgState();
        EXPECT_EQ(s.channel, c.channel);
        EXPECT_EQ(s.predefChannel, c.predefChannel) << c.channel << " of " << c.count;
        EXPECT_EQ(s.instance, 7u);
        EXPECT_TRUE(s.filterChoice); // a Status signal keeps the filter
        ASSERT_NE(selection.modelessDialog, nullptr);
        EXPECT_EQ(selection.modelessDialog->channelCount, c.count);
        // taken once: everything pending is cleared
        EXPECT_EQ(selection.preChannel, 0u);
        EXPECT_EQ(selection.preInstance, 0u);
        EXPECT_TRUE(selection.prePath.empty());
        EXPECT_TRUE(selection.preValueText.empty());
        EXPECT_TRUE(selection.keepFilter);
        selection.CloseModelessDialog();
    }
    // another OpType than Status resets the kind filter, once
    ASSERT_TRUE(selection.SetPreSelectSignal(&set, 0, 1, nullptr, false));
    EXPECT_FALSE(selection.keepFilter);
    selection.LastDlgState().filterChoice = true;
    selection.SelectObject(&client, nullptr, kSelectSignalMode, false, 2, true);
    EXPECT_FALSE(selection.LastDlgState().filterChoice);
    EXPECT_TRUE(selection.keepFilter);
    selection.CloseModelessDialog();
    // refused signals leave an earlier pending one alone
    ASSERT_TRUE(selection.SetPreSelectSignal(&status, 4, 1, nullptr, false));
    EXPECT_FALSE(selection.SetPreSelectSignal(&unknown, 9, 9, nullptr, false));
    EXPECT_FALSE(selection.SetPreSelectSignal(&shortName, 9, 9, nullptr, false));
    EXPECT_FALSE(selection.SetPreSelectSignal(nullptr, 9, 9, nullptr, false));
    EXPECT_EQ(selection.preInstance, 4u);
    EXPECT_EQ(selection.preParameter, "Volume");
    // a dialog pointer without the open flag is no open dialog
    selection.modelessDialog = reinterpret_cast<KMXSDialog*>(&selection);
    EXPECT_FALSE(selection.CloseModelessDialog());
    selection.modelessDialog = nullptr;
}

TEST_F(SelectionBridgeTest, AModalDialogListsThePredefinedObjectsOfItsSelection) {
    KMXSSelection selection(handle());
    std::list<KMXSPredefObjectCfg> objects{KMXSPredefObjectCfg(1, "Macros", "", true, false),
                                           KMXSPredefObjectCfg(2, "Start", "go", false, true)};
    selection.SetPredefinedObjects(objects);
    selection.SetPredefinedObjects(selection.predefinedObjects); // its own list: unchanged
    ASSERT_EQ(selection.predefinedObjects.size(), 2u);
    std::vector<std::string> roots;
    unsigned channels = 0;
    w32drv::Call([&] {
        auto* d = dynamic_cast<KMXSDialog*>(CWnd::FromHandle(GetActiveWindow()));
        ASSERT_NE(d, nullptr);
        channels = d->channelCount;
        for (HTREEITEM r = d->tree.GetRootItem(); r; r = d->tree.GetNextSiblingItem(r)) roots.push_back(d->tree.GetItemText(r));
        SendMessageA(d->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    selection.SelectObject(&client, nullptr, kSelectModal | kSelectSignalMode | kSelectPredefined, false, 3, true);
    EXPECT_EQ(channels, 3u);
    ASSERT_GE(roots.size(), 2u);
    EXPECT_EQ(roots[0], "Macros");
    EXPECT_EQ(roots[1], "Infotainment");
}

TEST_F(SelectionBridgeTest, TheApplicationsEndClosesTheDialogsAndFreesTheLanguageModule) {
    selector->ShowXMSSelection(&client, nullptr, "", 0, 0, 0, false);
    ASSERT_NE(openDialog(), nullptr);
    HWND dialog = openDialog()->m_hWnd;
    ASSERT_NE(GetLanguageModule(), nullptr);
    ASSERT_NE(ProcessState().currentInputDialog, nullptr);
    {
        CPelorinApp app;
        app.ExitInstance();
    }
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(ProcessState().selectionBridge, nullptr);
    EXPECT_EQ(ProcessState().currentInputDialog, nullptr);
    EXPECT_EQ(ProcessState().inputDialog, nullptr);
    EXPECT_EQ(GetLanguageModule(), nullptr);
    char buffer[8] = "x";
    EXPECT_EQ(selector->GetSelection(buffer, sizeof buffer), 0); // no dialog, no new line
    EXPECT_STREQ(buffer, "x");
    selector->Close(); // nothing left to close
}
