// The selection dialog's details area: the channel and filter boxes, the name and type fields of
// the selected row with their read-only states and the array button, the address name with its
// instance part, and the array index dialog.
#include "DialogFixture.h"
#include "selection/ArrayIndexDialog.h"

namespace {

class DialogDetailsTest : public DialogFixture {
protected:
    static std::vector<std::string> items(const CComboBox& box) {
        std::vector<std::string> out;
        for (int i = 0; i < box.GetCount(); ++i) {
            std::string t;
            box.GetLBText(i, t);
            out.push_back(t);
        }
        return out;
    }
    static std::vector<DWORD_PTR> data(const CComboBox& box) {
        std::vector<DWORD_PTR> out;
        for (int i = 0; i < box.GetCount(); ++i)
            out.push_back(box.GetItemData(i));
        return out;
    }
    std::vector<std::string> children(KMXSDialog* d, const std::string& path) {
        HTREEITEM parent = row(d, path);
        d->tree.Expand(parent, TVE_EXPAND);
        std::vector<std::string> out;
        for (HTREEITEM r = d->tree.GetChildItem(parent); r; r = d->tree.GetNextSiblingItem(r))
            out.push_back(d->tree.GetItemText(r));
        return out;
    }
    // What the array index dialog shows when it opens from the array button, and its focus;
    // then the user types index (if given) and presses key.
    struct IndexDialogView {
        std::string label, index;
        bool indexFocused = false;
    };
    IndexDialogView useIndexDialog(KMXSDialog* d, const char* index, UINT key) {
        IndexDialogView view;
        w32drv::ClickWindow(d->arrayButton.m_hWnd);
        w32drv::Call([&] {
            HWND dialog = GetActiveWindow();
            char buffer[256] = "";
            GetDlgItemTextA(dialog, IDC_ARRAY_INDEX_LABEL, buffer, sizeof buffer);
            view.label = buffer;
            GetDlgItemTextA(dialog, IDC_ARRAY_INDEX_EDIT, buffer, sizeof buffer);
            view.index = buffer;
            view.indexFocused = GetFocus() == GetDlgItem(dialog, IDC_ARRAY_INDEX_EDIT);
            if (index) SetDlgItemTextA(dialog, IDC_ARRAY_INDEX_EDIT, index);
        });
        w32drv::Key(key);
        w32drv::Pump();
        return view;
    }
};

} // namespace

TEST_F(DialogDetailsTest, TheBoxesOfferTheChannelsAndTheFilterOfTheVariant) {
    selection->lastState.channel = 2;
    selection->lastState.predefChannel = 2;
    selection->lastState.filterChoice = true;
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(items(d->channelCombo), (std::vector<std::string>{"MOST 1", "MOST 2", "MOST all"}));
    EXPECT_EQ(data(d->channelCombo), (std::vector<DWORD_PTR>{1, 2, 0xFFFF}));
    EXPECT_EQ(d->channelCombo.GetCurSel(), 1);
    EXPECT_EQ(items(d->predefChannelCombo), (std::vector<std::string>{"MOST 1", "MOST 2"}));
    EXPECT_EQ(data(d->predefChannelCombo), (std::vector<DWORD_PTR>{1, 2}));
    EXPECT_EQ(d->predefChannelCombo.GetCurSel(), 1);
    EXPECT_EQ(items(d->filterCombo), (std::vector<std::string>{LoadResourceText(IDS_FILTER_ALL),
                                                               LoadResourceText(IDS_FILTER_KIND)}));
    EXPECT_EQ(d->filterCombo.GetCurSel(), 1);
    EXPECT_TRUE(ProcessState().kindFilter);
    EXPECT_FALSE(ProcessState().attributeFilter);
    EXPECT_EQ(children(d, "Car.Navigation.Route"), (std::vector<std::string>{"C: Status"}));
    chooseFilter(d, 0);
    EXPECT_FALSE(ProcessState().kindFilter);
    EXPECT_EQ(children(d, "Car.Navigation.Route"),
              (std::vector<std::string>{"0: Set", "1: Get", "C: Status"}));
    click(d->cancelButton);

    // without channels only every channel
    d = open(kSelectSignalMode | kSelectDetails, 0);
    EXPECT_EQ(items(d->channelCombo), (std::vector<std::string>{"MOST all"}));
    EXPECT_EQ(d->predefChannelCombo.GetCount(), 0);
    click(d->cancelButton);

    // no channel saved: every channel; a predefined channel outside the channels: the first
    for (unsigned predef : {0u, 3u}) {
        selection->lastState.channel = 0;
        selection->lastState.predefChannel = predef;
        d = open(kSelectSignalMode | kSelectDetails, 2);
        EXPECT_EQ(d->channelCombo.GetCurSel(), 2);
        EXPECT_EQ(d->predefChannelCombo.GetCurSel(), 0) << predef;
        click(d->cancelButton);
    }

    // with 0x800 the second filter is the attribute filter, with a choice of its own
    selection->lastState.filterChoice = true;
    selection->lastState.filterChoiceAlt = false;
    d = open(kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow, 0);
    EXPECT_EQ(items(d->filterCombo), (std::vector<std::string>{LoadResourceText(IDS_FILTER_ALL),
                                                               LoadResourceText(IDS_FILTER_ATTRIBUTE)}));
    EXPECT_EQ(d->filterCombo.GetCurSel(), 0);
    EXPECT_FALSE(ProcessState().attributeFilter);
    ProcessState().kindFilter = false;
    d->filterCombo.SetFocus();
    chooseFilter(d, 1);
    EXPECT_TRUE(ProcessState().attributeFilter);
    EXPECT_FALSE(ProcessState().kindFilter);
    EXPECT_TRUE(selection->lastState.filterChoiceAlt); // saved at once
    EXPECT_EQ(GetFocus(), d->tree.m_hWnd);             // back to the tree
    click(d->cancelButton);
    d = open(kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow, 0);
    EXPECT_EQ(d->filterCombo.GetCurSel(), 1);
}

TEST_F(DialogDetailsTest, TheNameAndTypeFieldsFollowTheSelectedRow) {
    struct Case {
        const char* row;
        const char* name;
        const char* typeStart; // "" for an empty type field
        bool nameReadOnly;
        bool arrayEnabled;
    };
    const Case cases[] = {
        {"Car.Navigation.Route.Status.Count", "Count", "Unsigned byte,", false, false},
        {"Car.Navigation.Route.Status.Items[1].Level", "Items[1].Level", "Unsigned byte,", false, true},
        {"Car.Navigation.Route.Status.Items[1]", "Items[1]", "Record", true, false}, // no signal
        {"Car.Navigation.Route.Status.Mode", "Mode", "Enum", false, false},
    };
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        select(d, c.row);
        EXPECT_EQ(text(d->nameEdit), c.name);
        EXPECT_EQ(text(d->typeEdit).rfind(c.typeStart, 0), 0u) << text(d->typeEdit);
        EXPECT_EQ(readOnly(d->nameEdit), c.nameReadOnly);
        EXPECT_EQ(d->arrayButton.IsWindowEnabled(), c.arrayEnabled);
        EXPECT_FALSE(readOnly(d->instanceEdit));
        if (!c.nameReadOnly) { EXPECT_EQ(d->parameterPath, c.name); }
    }
    // resizing the window leaves the name in the user's hands
    d->SetWindowPos(nullptr, 0, 0, 620, 560, SWP_NOMOVE | SWP_NOZORDER);
    w32drv::Pump();
    EXPECT_FALSE(readOnly(d->nameEdit));
    // a row above the parameters empties both fields
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    select(d, "Car.Navigation");
    EXPECT_EQ(text(d->nameEdit), "");
    EXPECT_EQ(text(d->typeEdit), "");
    EXPECT_FALSE(d->arrayButton.IsWindowEnabled());
    EXPECT_FALSE(readOnly(d->instanceEdit));
    // a rebuild that shows the top row again but selects nothing (a filter change) empties and
    // locks the fields
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    d->tree.SelectSetFirstVisible(row(d, "Car.Navigation.Route"));
    chooseFilter(d, 1);
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);
    EXPECT_EQ(text(d->nameEdit), "");
    EXPECT_EQ(text(d->typeEdit), "");
    EXPECT_TRUE(readOnly(d->nameEdit));
    EXPECT_TRUE(readOnly(d->instanceEdit));
    EXPECT_FALSE(d->arrayButton.IsWindowEnabled());
    EXPECT_FALSE(d->okButton.IsWindowEnabled()); // the signal shown before is gone
    EXPECT_FALSE(d->applyButton.IsWindowEnabled());
    click(d->cancelButton);

    // a host that does not let the name be edited, and the variant without the instance row,
    // keep the name read-only
    for (bool editable : {false, true}) {
        selection->lastState.textEditable = editable;
        selection->lastState.filterChoice = false;
        d = open(kSelectSignalMode | kSelectDetails | (editable ? kSelectNoInstanceRow : 0u));
        select(d, "Car.Navigation.Route.Status.Count");
        EXPECT_TRUE(readOnly(d->nameEdit)) << editable;
        click(d->cancelButton);
    }
}

TEST_F(DialogDetailsTest, APredefinedRowShowsItsNameAndItsOwnChannelBox) {
    predefined = {KMXSPredefObjectCfg(7, "Ignition", "Terminal 15", false, true),
                  KMXSPredefObjectCfg(1, "Macros", "", true, false),
                  KMXSPredefObjectCfg(2, "Start", "", false, true)};
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails | kSelectPredefined);
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    select(d, "Predefined_Object_7");
    EXPECT_EQ(text(d->nameEdit), "Ignition");
    EXPECT_EQ(text(d->typeEdit), "");
    EXPECT_TRUE(readOnly(d->nameEdit));
    EXPECT_TRUE(readOnly(d->instanceEdit));
    EXPECT_FALSE(d->arrayButton.IsWindowEnabled());
    EXPECT_TRUE(d->predefChannelCombo.IsWindowVisible());
    EXPECT_FALSE(d->channelCombo.IsWindowVisible());
    EXPECT_TRUE(d->okButton.IsWindowEnabled());
    // a resize keeps the box of the predefined row, which is the one its report reads
    d->SetWindowPos(nullptr, 0, 0, 640, 600, SWP_NOMOVE | SWP_NOZORDER);
    w32drv::Pump();
    EXPECT_TRUE(d->predefChannelCombo.IsWindowVisible());
    EXPECT_FALSE(d->channelCombo.IsWindowVisible());
    // a group is no object: no name, nothing to report
    select(d, "Predefined_Object_1");
    EXPECT_EQ(text(d->nameEdit), "");
    EXPECT_FALSE(d->okButton.IsWindowEnabled());
    // back on a catalog row the channel box returns and the instance can be edited again
    select(d, "Car.Navigation.Route.Status.Count");
    EXPECT_TRUE(d->channelCombo.IsWindowVisible());
    EXPECT_FALSE(d->predefChannelCombo.IsWindowVisible());
    EXPECT_FALSE(readOnly(d->instanceEdit));
}

TEST_F(DialogDetailsTest, TheAddressNameTakesTheInstancePartWhileTheBoxIsChecked) {
    predefined = {KMXSPredefObjectCfg(7, "Ignition", "", false, true)};
    selection->lastState.instanceChecked = true;
    selection->lastState.instance = 0x0A;
    KMXSDialog* d = open(kSelectAddressMode | kSelectDetails | kSelectPredefined);
    EXPECT_EQ(d->instanceCheck.GetCheck(), BST_CHECKED);
    EXPECT_TRUE(d->instanceEdit.IsWindowEnabled());
    EXPECT_EQ(text(d->instanceEdit), "A");
    struct Case {
        const char* row;
        const char* name; // with the instance box checked
        bool checkEnabled;
    };
    const Case cases[] = {{"Car", "", false},
                          {"Car.Navigation", "Navigation.0xA", true},
                          {"Predefined_Object_7", "", false},
                          {"Car.Navigation.Route", "Navigation.0xA.Route", true},
                          {"Car.Navigation.Route.Status", "Navigation.0xA.Route.Status", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        select(d, c.row);
        EXPECT_EQ(text(d->nameEdit), c.name);
        EXPECT_EQ(d->instanceCheck.IsWindowEnabled(), c.checkEnabled);
        EXPECT_EQ(readOnly(d->instanceEdit), !c.checkEnabled);
        EXPECT_TRUE(readOnly(d->nameEdit));
    }
    // the field's text becomes the instance part at once; a wildcard or nothing is ".*"
    select(d, "Car.Navigation.Route");
    const std::pair<const char*, const char*> typed[] = {{"7", "Navigation.0x7.Route"},
                                                         {"", "Navigation.*.Route"},
                                                         {"3F", "Navigation.0x3F.Route"},
                                                         {"*", "Navigation.*.Route"},
                                                         {"fF", "Navigation.*.Route"}};
    for (const auto& [instance, name] : typed) {
        d->instanceEdit.SetWindowText(instance);
        EXPECT_EQ(text(d->nameEdit), name) << instance;
    }
    EXPECT_EQ(text(d->instanceEdit), "*"); // "ff" is the wildcard too
    select(d, "Car.Navigation.Route.Status");
    EXPECT_EQ(text(d->nameEdit), "Navigation.*.Route.Status");
    // the box takes the part out and puts it back, also on an FBlock's name alone
    select(d, "Car.Navigation");
    d->instanceEdit.SetWindowText("5");
    EXPECT_EQ(text(d->nameEdit), "Navigation.0x5");
    click(d->instanceCheck);
    EXPECT_EQ(text(d->nameEdit), "Navigation");
    EXPECT_FALSE(d->instanceEdit.IsWindowEnabled());
    click(d->instanceCheck);
    EXPECT_EQ(text(d->nameEdit), "Navigation.0x5");
    EXPECT_TRUE(d->instanceEdit.IsWindowEnabled());
    select(d, "Car.Navigation.Route.Status");
    d->instanceEdit.SetWindowText("");
    EXPECT_EQ(text(d->nameEdit), "Navigation.*.Route.Status");
    click(d->instanceCheck);
    EXPECT_EQ(text(d->nameEdit), "Navigation.Route.Status");
    click(d->instanceCheck);
    EXPECT_EQ(text(d->nameEdit), "Navigation.*.Route.Status");
    // and the report says what the name says: every instance
    click(d->okButton);
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].objects.at(0).instance, 255u);
    EXPECT_TRUE(listener.reports[0].objects.at(0).instanceChecked);
    listener.reports.clear();

    // in signal mode the instance never goes into the name
    d = open(kSelectSignalMode | kSelectDetails);
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    d->instanceEdit.SetWindowText("7");
    EXPECT_EQ(text(d->nameEdit), "Items[1].Level");
}

TEST_F(DialogDetailsTest, TheArrayIndexDialogEditsTheFirstIndexOfThePath) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    ASSERT_TRUE(d->arrayButton.IsWindowEnabled());
    // the dialog shows the path up to the bracket and the index, with the focus in the index
    IndexDialogView view = useIndexDialog(d, "12xyz", VK_RETURN);
    EXPECT_EQ(view.label, "Items[ ] :");
    EXPECT_EQ(view.index, "1");
    EXPECT_TRUE(view.indexFocused);
    EXPECT_EQ(text(d->nameEdit), "Items[12].Level");
    EXPECT_EQ(d->parameterPath, "Items[12].Level");
    // Escape keeps the path; what is no number, and 0, are the first element
    view = useIndexDialog(d, "7", VK_ESCAPE);
    EXPECT_EQ(view.index, "12");
    EXPECT_EQ(d->parameterPath, "Items[12].Level");
    for (const char* typed : {"x", "0", ""}) {
        useIndexDialog(d, typed, VK_RETURN);
        EXPECT_EQ(d->parameterPath, "Items[1].Level") << typed;
        useIndexDialog(d, "4", VK_RETURN);
    }
    // a name edited by hand stays; the path follows the dialog
    d->nameEdit.SetWindowText("mine");
    useIndexDialog(d, "3", VK_RETURN);
    EXPECT_EQ(text(d->nameEdit), "mine");
    EXPECT_EQ(d->parameterPath, "Items[3].Level");

    // a path without an index, or with a bracket that is not closed, has nothing to edit
    for (const char* path : {"Count", "Items[2.Level"}) {
        KArrayIndexDialog dialog(path, d);
        std::string label = "?", index = "?";
        w32drv::Call([&] {
            EXPECT_EQ(dialog.okButton.GetDlgCtrlID(), IDOK);
            EXPECT_EQ(dialog.cancelButton.GetDlgCtrlID(), IDCANCEL);
            label = text(dialog.label);
            index = text(dialog.indexEdit);
            dialog.indexEdit.SetWindowText("5");
        });
        w32drv::Key(VK_RETURN);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(label, std::string(path) == "Count" ? " ] :" : "") << path;
        EXPECT_EQ(index, "") << path;
        EXPECT_EQ(d->parameterPath, "Items[3].Level") << path;
    }
}
