// The session state of the selection dialog: what a closing dialog saves (every member), and how
// the next dialog opens from it.
#include "DialogFixture.h"

#include <set>

namespace {

class DialogStateTest : public DialogFixture {};

} // namespace

TEST_F(DialogStateTest, ClosingSavesEveryMemberTheNextDialogOpensFrom) {
    KMXSSessionState& state = selection->lastState;
    state.selectPending = true; // a pre-selection that found no row
    state.topRowPath = "Car.Gone.Away.Status.X";
    state.visibleRowPaths = {state.topRowPath};
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(windowRect(*d), CRect(0, 0, 378, 500)); // where the template puts it, the default size
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

    EXPECT_EQ(state.left, 30);
    EXPECT_EQ(state.top, 40);
    EXPECT_EQ(state.width, 420);
    EXPECT_EQ(state.height, 520);
    EXPECT_FALSE(state.showIds);
    EXPECT_FALSE(state.showTooltips);
    EXPECT_FALSE(ProcessState().showIds); // mirrored for every later dialog
    EXPECT_FALSE(ProcessState().showTooltips);
    EXPECT_FALSE(state.detailsExpanded);
    EXPECT_EQ(state.instance, 0x1Fu);
    EXPECT_EQ(state.channel, 1u);
    EXPECT_EQ(state.predefChannel, 2u);
    EXPECT_TRUE(state.filterChoice);
    EXPECT_FALSE(state.filterChoiceAlt);
    EXPECT_FALSE(state.selectPending);
    EXPECT_FALSE(state.instanceChecked);
    // the rows in view, by their paths, and the first of them
    EXPECT_EQ(state.topRowPath, "Car");
    EXPECT_EQ(state.visibleRowPaths,
              (std::set<std::string>{"Car", "Car.Empty", "Car.Navigation", "Car.Navigation.Route",
                                     "Car.Navigation.Route.Status", "Car.Navigation.Guide"}));

    // the next dialog opens where this one was left, as it was left
    d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(windowRect(*d), CRect(30, 40, 450, 560));
    EXPECT_EQ(d->showIdsCheck.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(d->showTooltipsCheck.GetCheck(), BST_UNCHECKED);
    EXPECT_FALSE(d->nameEdit.IsWindowVisible());
    EXPECT_EQ(text(d->instanceEdit), "1F");
    EXPECT_EQ(d->channelCombo.GetCurSel(), 0);
    EXPECT_EQ(d->predefChannelCombo.GetCurSel(), 1);
    EXPECT_EQ(d->filterCombo.GetCurSel(), 1);
    EXPECT_EQ(d->tree.GetItemText(row(d, "Car.Navigation")), "Navigation"); // no IDs
    // an instance field that cannot be read keeps the saved instance; a wildcard is 255
    d->instanceEdit.SetWindowText("");
    click(d->cancelButton);
    EXPECT_EQ(state.instance, 0x1Fu);
    d = open(kSelectSignalMode | kSelectDetails, 2);
    d->instanceEdit.SetWindowText("*");
    click(d->cancelButton);
    EXPECT_EQ(state.instance, 255u);
    d = open(kSelectSignalMode | kSelectDetails, 2);
    EXPECT_EQ(text(d->instanceEdit), "*");
}

TEST_F(DialogStateTest, OnlyTheRowsInViewAreSaved) {
    KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
    d->SetWindowPos(nullptr, 0, 0, 378, 420, SWP_NOMOVE | SWP_NOZORDER); // a short tree
    d->tree.Expand(row(d, "Car.Navigation.Route.Status"), TVE_EXPAND);
    d->tree.SelectSetFirstVisible(row(d, "Car.Navigation.Route"));
    const UINT inView = d->tree.GetVisibleCount();
    ASSERT_GE(inView, 3u);
    // the rows from the top one on, as many as fit; not the one below them
    std::vector<std::string> shown;
    for (HTREEITEM r = d->tree.GetFirstVisibleItem(); r && shown.size() <= inView;
         r = d->tree.GetNextVisibleItem(r))
        shown.push_back(KMXSCatalogTree::ItemPath(*d->catalogTree->ItemOf(r)));
    ASSERT_EQ(shown.size(), inView + 1);

    click(d->cancelButton);
    const auto& saved = selection->lastState.visibleRowPaths;
    EXPECT_EQ(selection->lastState.topRowPath, "Car.Navigation.Route");
    EXPECT_EQ(saved.size(), inView);
    EXPECT_EQ(saved.count("Car.Navigation.Route"), 1u);
    EXPECT_EQ(saved.count(shown[inView - 1]), 1u);
    EXPECT_EQ(saved.count(shown[inView]), 0u);
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
    EXPECT_EQ(state.instance, 0x0Au);
    EXPECT_EQ(state.channel, 2u);
    EXPECT_FALSE(state.detailsExpanded);
    // dialogs that never showed the box leave its choice alone
    for (unsigned flags : {kSelectSignalMode | kSelectDetails, unsigned{kSelectAddressMode}}) {
        click(open(flags)->cancelButton);
        EXPECT_TRUE(state.instanceChecked) << flags;
    }
    d = open(kSelectAddressMode | kSelectDetails);
    EXPECT_EQ(d->instanceCheck.GetCheck(), BST_CHECKED);
    EXPECT_TRUE(d->instanceEdit.IsWindowEnabled());
}

TEST_F(DialogStateTest, TheToggleSaysWhichWayItGoesFromTheStart) {
    for (bool expanded : {false, true}) {
        selection->lastState.detailsExpanded = expanded;
        KMXSDialog* d = open(kSelectSignalMode | kSelectDetails);
        EXPECT_EQ(text(d->detailsToggle), expanded ? "Details <<" : "Details >>");
        EXPECT_EQ(d->nameEdit.IsWindowVisible(), expanded);
        click(d->cancelButton);
    }
}
