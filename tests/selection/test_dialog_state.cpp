// The session state of the selection dialog: what a closing dialog saves (every member), and how
// the next dialog opens from it.
#include "DialogFixture.h"

#include <set>

namespace {

using DialogStateTest = DialogFixture;

} // namespace

TEST_F(DialogStateTest, ClosingSavesEveryMemberTheNextDialogOpensFrom) {
    KMXSSessionState& state = selection->lastState;
    state.selectPending = true; // a pre-selection that found no row
    state.topRowPath = "Car.Gone.Away.Status.X";
    state.visibleRowPaths = {state.topRowPath};
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(windowRect(*d), CRect(0, 0, 378, 500)); // where the template puts it, the default size
    EXPECT_EQ(text(d->detailsToggle), "Details <<");  // the toggle says which way it goes from the start
    chooseFilter(d, 1);                               // saves at once: changed below again
    d->tree.Expand(row(d, "Car.Navigation.Route"), TVE_EXPAND);
    click(d->showIdsCheck);
    click(d->showTooltipsCheck);
    click(d->detailsToggle);
    d->SetWindowPos(nullptr, 30, 40, 420, 520, SWP_NOZORDER);
    d->instanceEdit.SetWindowText("1F");
    d->channelCombo.SetCurSel(0);
    d->predefChannelCombo.SetCurSel(1);
    click(d->cancelButton);

    // left, top, width, height, show IDs, tooltips, details, instance, channel, predefined
    // channel, filter, attribute filter, pending, instance box
    EXPECT_EQ(
        std::make_tuple(state.left, state.top, state.width, state.height, state.showIds, state.showTooltips,
                        state.detailsExpanded, state.instance, state.channel, state.predefChannel,
                        state.filterChoice, state.filterChoiceAlt, state.selectPending,
                        state.instanceChecked),
        std::make_tuple(30, 40, 420, 520, false, false, false, 0x1Fu, 1u, 2u, true, false, false, false));
    EXPECT_FALSE(ProcessState().showIds || ProcessState().showTooltips); // mirrored for every later dialog
    // the rows in view, by their paths, and the first of them
    EXPECT_EQ(state.topRowPath, "Car");
    EXPECT_EQ(state.visibleRowPaths,
              (std::set<std::string>{"Car", "Car.Empty", "Car.Navigation", "Car.Navigation.Route",
                                     "Car.Navigation.Route.Status", "Car.Navigation.Guide"}));

    // the next dialog opens where this one was left, as it was left
    d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(windowRect(*d), CRect(30, 40, 450, 560));
    EXPECT_FALSE(d->showIdsCheck.GetCheck() == BST_CHECKED || d->showTooltipsCheck.GetCheck() == BST_CHECKED);
    EXPECT_FALSE(d->nameEdit.IsWindowVisible());
    EXPECT_EQ(text(d->detailsToggle), "Details >>");
    EXPECT_EQ(text(d->instanceEdit), "1F");
    EXPECT_EQ(d->channelCombo.GetCurSel(), 0);
    EXPECT_EQ(d->predefChannelCombo.GetCurSel(), 1);
    EXPECT_EQ(d->filterCombo.GetCurSel(), 1);
    EXPECT_EQ(d->tree.GetItemText(row(d, "Car.Navigation")), "Navigation"); // no IDs
    // an instance field that cannot be read keeps the saved instance; a wildcard is 255
    for (const auto& [typed, shown] : {std::pair("", "1F"), std::pair("*", "*")}) {
        d->instanceEdit.SetWindowText(typed);
        click(d->cancelButton);
        d = open(kSelectSignalMode | kSelectDetails, 2);
        EXPECT_EQ(text(d->instanceEdit), shown);
    }
    EXPECT_EQ(state.instance, 255u);
}

TEST_F(DialogStateTest, AddressModeSavesTheInstanceBoxAndKeepsTheSignalMembers) {
    KMXSSessionState& state = selection->lastState;
    state.instance = 0x0A;
    state.channel = 2;
    state.detailsExpanded = false;
    KMXSDialog* d = open(kSelectAddressMode | kSelectDetails);
    EXPECT_EQ(d->instanceCheck.GetCheck(), BST_UNCHECKED);
    EXPECT_FALSE(d->instanceEdit.IsWindowEnabled());
    EXPECT_EQ(text(d->instanceEdit), "A");
    EXPECT_TRUE(d->nameEdit.IsWindowVisible()); // the details show whatever the signal dialogs left
    select(d, "Car.Navigation");
    click(d->instanceCheck);
    d->instanceEdit.SetWindowText("7");
    click(d->cancelButton);
    EXPECT_TRUE(state.instanceChecked);
    EXPECT_EQ(std::make_tuple(state.instance, state.channel, state.detailsExpanded),
              std::make_tuple(0x0Au, 2u, false));
    // dialogs that never showed the box leave its choice alone
    for (unsigned flags : {kSelectSignalMode | kSelectDetails, unsigned{kSelectAddressMode}}) {
        click(open(flags)->cancelButton);
        EXPECT_TRUE(state.instanceChecked) << flags;
    }
    d = open(kSelectAddressMode | kSelectDetails);
    EXPECT_EQ(d->instanceCheck.GetCheck(), BST_CHECKED);
    EXPECT_TRUE(d->instanceEdit.IsWindowEnabled());
}
