// The selection dialog's details area: the channel and filter boxes, the name and type fields of
// the selected row with their read-only states and the array button, the address name with its
// instance part, and the array index dialog.
#include "DialogFixture.h"
#include "selection/ArrayIndexDialog.h"

namespace {

class DialogDetailsTest : public DialogFixture {
protected:
    // The entries of a box as "text=data", and the selected one's index after them.
    static std::vector<std::string> entries(const CComboBox& box) {
        std::vector<std::string> out;
        for (int i = 0; i < box.GetCount(); ++i) {
            std::string t;
            box.GetLBText(i, t);
            out.push_back(t + "=" + std::to_string(box.GetItemData(i)));
        }
        out.push_back(std::to_string(box.GetCurSel()));
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
    // What the array index dialog shows when it opens from the array button (label, index, and
    // "focused" when the index field has the focus); then the user types index and presses key.
    std::string useIndexDialog(KMXSDialog* d, const char* index, UINT key) {
        std::string view;
        w32drv::ClickWindow(d->arrayButton.m_hWnd);
        w32drv::Call([&] {
            HWND dialog = GetActiveWindow();
            char label[256] = "", shown[256] = "";
            GetDlgItemTextA(dialog, IDC_ARRAY_INDEX_LABEL, label, sizeof label);
            GetDlgItemTextA(dialog, IDC_ARRAY_INDEX_EDIT, shown, sizeof shown);
            const bool focused = GetFocus() == GetDlgItem(dialog, IDC_ARRAY_INDEX_EDIT);
            view = std::string(label) + "|" + shown + (focused ? "|focused" : "");
            SetDlgItemTextA(dialog, IDC_ARRAY_INDEX_EDIT, index);
        });
        w32drv::Key(key);
        w32drv::Pump();
        return view;
    }
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(DialogDetailsTest, TheBoxesOfferTheChannelsAndTheFilterOfTheVariant) {
    selection->lastState.channel = 2;
    selection->lastState.predefChannel = 2;
    selection->lastState.filterChoice = true;
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(entries(d->channelCombo), (Texts{"MOST 1=1", "MOST 2=2", "MOST all=65535", "1"}));
    EXPECT_EQ(entries(d->predefChannelCombo), (Texts{"MOST 1=1", "MOST 2=2", "1"}));
    const std::string all = LoadResourceText(IDS_FILTER_ALL) + "=0";
    EXPECT_EQ(entries(d->filterCombo), (Texts{all, LoadResourceText(IDS_FILTER_KIND) + "=0", "1"}));
    EXPECT_TRUE(ProcessState().kindFilter);
    EXPECT_FALSE(ProcessState().attributeFilter);
    EXPECT_EQ(children(d, "Car.Navigation.Route"), (Texts{"C: Status"}));
    chooseFilter(d, 0);
    EXPECT_FALSE(ProcessState().kindFilter);
    EXPECT_EQ(children(d, "Car.Navigation.Route"), (Texts{"0: Set", "1: Get", "C: Status"}));
    click(d->cancelButton);

    // without channels only every channel; a predefined channel outside the channels: the first
    d = open(kSelectSignalMode | kSelectDetails, 0);
    EXPECT_EQ(entries(d->channelCombo), (Texts{"MOST all=65535", "0"}));
    click(d->cancelButton);
    selection->lastState.predefChannel = 3;
    d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(d->predefChannelCombo.GetCurSel(), 0);
    click(d->cancelButton);

    // with 0x800 the second filter is the attribute filter, with a choice of its own, saved at
    // once; the focus goes back to the tree
    selection->lastState.filterChoiceAlt = false;
    d = open(kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow, 0);
    EXPECT_EQ(entries(d->filterCombo), (Texts{all, LoadResourceText(IDS_FILTER_ATTRIBUTE) + "=0", "0"}));
    EXPECT_FALSE(ProcessState().attributeFilter);
    ProcessState().kindFilter = false;
    d->filterCombo.SetFocus();
    chooseFilter(d, 1);
    EXPECT_TRUE(ProcessState().attributeFilter);
    EXPECT_FALSE(ProcessState().kindFilter);
    EXPECT_TRUE(selection->lastState.filterChoiceAlt);
    EXPECT_EQ(GetFocus(), d->tree.m_hWnd);
    click(d->cancelButton);
    d = open(kSelectSignalMode | kSelectDetails | kSelectNoInstanceRow, 0);
    EXPECT_EQ(d->filterCombo.GetCurSel(), 1);
}

TEST_F(DialogDetailsTest, TheNameAndTypeFieldsFollowTheSelectedRow) {
    struct Case {
        const char* row;
        const char* name;
        const char* typeStart;
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
        if (!c.nameReadOnly) {
            EXPECT_EQ(d->parameterPath, c.name);
        }
    }
    // resizing the window leaves the name in the user's hands
    d->SetWindowPos(nullptr, 0, 0, 620, 560, SWP_NOMOVE | SWP_NOZORDER);
    w32drv::Pump();
    EXPECT_FALSE(readOnly(d->nameEdit));
    // a row above the parameters empties both fields
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    select(d, "Car.Navigation");
    EXPECT_EQ(text(d->nameEdit) + text(d->typeEdit), "");
    EXPECT_FALSE(d->arrayButton.IsWindowEnabled());
    EXPECT_FALSE(readOnly(d->instanceEdit));
    // a rebuild that shows the top row again but selects nothing (a filter change) empties and
    // locks the fields, and the signal shown before can no longer be reported
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    d->tree.SelectSetFirstVisible(row(d, "Car.Navigation.Route"));
    chooseFilter(d, 1);
    EXPECT_EQ(d->tree.GetFirstSelectedItem(), nullptr);
    EXPECT_EQ(text(d->nameEdit) + text(d->typeEdit), "");
    EXPECT_TRUE(readOnly(d->nameEdit));
    EXPECT_TRUE(readOnly(d->instanceEdit));
    EXPECT_FALSE(d->arrayButton.IsWindowEnabled() || d->okButton.IsWindowEnabled() ||
                 d->applyButton.IsWindowEnabled());
    click(d->cancelButton);

    // a host that does not let the name be edited keeps it read-only
    selection->lastState.textEditable = false;
    selection->lastState.filterChoice = false;
    d = open(kSelectSignalMode | kSelectDetails);
    select(d, "Car.Navigation.Route.Status.Count");
    EXPECT_TRUE(readOnly(d->nameEdit));
}

TEST_F(DialogDetailsTest, APredefinedRowShowsItsNameAndItsOwnChannelBox) {
    predefined = {KMXSPredefObjectCfg(7, "Ignition", "Terminal 15", false, true),
                  KMXSPredefObjectCfg(1, "Macros", "", true, false),
                  KMXSPredefObjectCfg(2, "Start", "", false, true)};
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails | kSelectPredefined);
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    select(d, "Predefined_Object_7");
    EXPECT_EQ(text(d->nameEdit) + "|" + text(d->typeEdit), "Ignition|");
    EXPECT_TRUE(readOnly(d->nameEdit));
    EXPECT_TRUE(readOnly(d->instanceEdit));
    EXPECT_FALSE(d->arrayButton.IsWindowEnabled());
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
    // the name of each row, with the box enabled only where the name has an instance part
    const std::pair<const char*, const char*> rows[] = {
        {"Car", ""},
        {"Car.Navigation", "Navigation.0xA"},
        {"Predefined_Object_7", ""},
        {"Car.Navigation.Route", "Navigation.0xA.Route"},
        {"Car.Navigation.Route.Status", "Navigation.0xA.Route.Status"}};
    for (const auto& [path, name] : rows) {
        select(d, path);
        EXPECT_EQ(text(d->nameEdit), name) << path;
        EXPECT_EQ(d->instanceCheck.IsWindowEnabled(), *name != 0) << path;
        EXPECT_EQ(readOnly(d->instanceEdit), *name == 0) << path;
        EXPECT_TRUE(readOnly(d->nameEdit)) << path;
    }
    // the field's text becomes the instance part at once; a wildcard or nothing is ".*", and
    // "ff" is the wildcard too
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
    EXPECT_EQ(text(d->instanceEdit), "*");
    // the box takes the part out and puts it back, also on an FBlock's name alone
    const std::tuple<const char*, const char*, const char*, const char*> toggled[] = {
        {"Car.Navigation", "5", "Navigation.0x5", "Navigation"},
        {"Car.Navigation.Route.Status", "", "Navigation.*.Route.Status", "Navigation.Route.Status"}};
    for (const auto& [path, instance, name, without] : toggled) {
        select(d, path);
        d->instanceEdit.SetWindowText(instance);
        EXPECT_EQ(text(d->nameEdit), name);
        click(d->instanceCheck);
        EXPECT_EQ(text(d->nameEdit), without);
        EXPECT_FALSE(d->instanceEdit.IsWindowEnabled());
        click(d->instanceCheck);
        EXPECT_EQ(text(d->nameEdit), name);
        EXPECT_TRUE(d->instanceEdit.IsWindowEnabled());
    }
    // and the report says what the name says: every instance
    click(d->okButton);
    EXPECT_EQ(listener.reports, (Texts{"final Car|Navigation|Route|Status|||||0|0|255"}));

    // in signal mode the instance never goes into the name
    d = open(kSelectSignalMode | kSelectDetails);
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    d->instanceEdit.SetWindowText("7");
    EXPECT_EQ(text(d->nameEdit), "Items[1].Level");
}

TEST_F(DialogDetailsTest, TheArrayIndexDialogEditsTheFirstIndexOfThePath) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    select(d, "Car.Navigation.Route.Status.Items[1].Level");
    // the dialog shows the path up to the bracket and the index, with the focus in the index
    EXPECT_EQ(useIndexDialog(d, "12xyz", VK_RETURN), "Items[ ] :|1|focused");
    EXPECT_EQ(text(d->nameEdit), "Items[12].Level");
    EXPECT_EQ(d->parameterPath, "Items[12].Level");
    // Escape keeps the path; what is no number, and 0, are the first element
    EXPECT_EQ(useIndexDialog(d, "7", VK_ESCAPE), "Items[ ] :|12|focused");
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
        std::string shown;
        w32drv::Call([&] {
            EXPECT_EQ(dialog.okButton.GetDlgCtrlID(), IDOK);
            EXPECT_EQ(dialog.cancelButton.GetDlgCtrlID(), IDCANCEL);
            shown = text(dialog.label) + "|" + text(dialog.indexEdit);
            dialog.indexEdit.SetWindowText("5");
        });
        w32drv::Key(VK_RETURN);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(shown, std::string(path) == "Count" ? " ] :|" : "|") << path;
        EXPECT_EQ(d->parameterPath, "Items[3].Level") << path;
    }
}
