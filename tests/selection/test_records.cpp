// The selection records: level tests of chosen objects, the copy rules of the session state,
// predefined object configurations and the model's own state.
#include "selection/MXSObject.h"
#include "selection/MXSSelection.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {
KMXSObject object(const char* fcat, const char* fblock, const char* function, const char* opType, const char* name = "",
                  const char* path = "") {
    KMXSObject o;
    o.fcat = fcat;
    o.fblock = fblock;
    o.function = function;
    o.opType = opType;
    o.parameterName = name;
    o.parameterPath = path;
    return o;
}
int levels(const KMXSObject& o) { return o.IsFCat() + o.IsFBlock() + o.IsFunction() + o.IsOpType() + o.IsParameter(); }
} // namespace

TEST(SelectionRecords, EachObjectIsAtMostOneLevel) {
    KMXSObject none;
    EXPECT_EQ(levels(none), 0);
    EXPECT_TRUE(none.instanceChecked);
    EXPECT_TRUE(object("C", "", "", "").IsFCat());
    EXPECT_TRUE(object("C", "FB", "", "").IsFBlock());
    EXPECT_TRUE(object("C", "FB", "Fn", "").IsFunction());
    EXPECT_TRUE(object("C", "FB", "Fn", "Status").IsOpType());
    EXPECT_TRUE(object("C", "FB", "Fn", "Status", "Pos", "Data[1].Pos").IsParameter());
    EXPECT_EQ(levels(object("C", "FB", "Fn", "Status", "Pos", "Data[1].Pos")), 1);
    // half a parameter is neither an OpType nor a parameter
    EXPECT_EQ(levels(object("C", "FB", "Fn", "Status", "Pos", "")), 0);
    EXPECT_EQ(levels(object("C", "FB", "Fn", "Status", "", "Pos")), 0);
    EXPECT_TRUE(object("", "", "", "", "Pos", "Pos").IsParameter());
    KMXSObject predefined = object("C", "FB", "Fn", "Status", "Pos", "Pos");
    predefined.predefined = true;
    EXPECT_EQ(levels(predefined), 0);
}

TEST(SelectionRecords, SessionStateAssignmentKeepsTheTargetsValueText) {
    KMXSSessionState s;
    EXPECT_EQ(s.instance, 255u);
    EXPECT_EQ(s.width, 378);
    EXPECT_EQ(s.height, 500);
    EXPECT_EQ(s.left, -1);
    EXPECT_EQ(s.predefChannel, 1u);
    EXPECT_TRUE(s.firstOpen);
    // every member unlike the defaults, so that each one must be copied to arrive
    KMXSSessionState source;
    source.topRowPath = "Cat.FB";
    source.parameterText = "Data[1].Pos";
    source.visibleRowPaths = {"Cat", "Cat.FB"};
    source.firstOpen = false;
    source.width = 600;
    source.height = 410;
    source.left = 12;
    source.top = 34;
    source.showIds = false;
    source.showTooltips = false;
    source.detailsExpanded = false;
    source.instance = 7;
    source.channel = 3;
    source.predefChannel = 2;
    source.selectPending = true;
    source.valueText = "42";
    source.textEditable = false;
    source.filterChoice = true;
    source.filterChoiceAlt = true;
    source.instanceChecked = true;
    KMXSSessionState target;
    target.visibleRowPaths = {"Old"};
    target.valueText = "mine";
    target = source;
    EXPECT_EQ(target.valueText, "mine");
    target.valueText = source.valueText;
    auto members = [](const KMXSSessionState& x) {
        return std::make_tuple(x.topRowPath, x.parameterText, x.visibleRowPaths, x.firstOpen, x.width, x.height, x.left,
                               x.top, x.showIds, x.showTooltips, x.detailsExpanded, x.instance, x.channel,
                               x.predefChannel, x.selectPending, x.valueText, x.textEditable, x.filterChoice,
                               x.filterChoiceAlt, x.instanceChecked);
    };
    EXPECT_TRUE(members(target) == members(source));
    KMXSSessionState copy(source);
    EXPECT_EQ(copy.valueText, "42");
    KMXSSessionState& same = copy;
    copy = same;
    EXPECT_EQ(copy.valueText, "42");
    EXPECT_EQ(copy.visibleRowPaths.size(), 2u);
}

TEST(SelectionRecords, PredefinedObjectsAndTheModelsDefaults) {
    KMXSPredefObjectCfg cfg(7, "Ignition", "Terminal 15", false, true);
    KMXSPredefObjectCfg copy = cfg;
    EXPECT_EQ(copy.id, 7u);
    EXPECT_EQ(copy.description, "Terminal 15");
    EXPECT_TRUE(copy.isSelectable);
    KMXSSelection selection(5);
    EXPECT_EQ(selection.managerHandle, 5u);
    EXPECT_TRUE(selection.keepFilter);
    EXPECT_FALSE(selection.IsModelessDialogOpened());
    std::list<KMXSPredefObjectCfg> list{KMXSPredefObjectCfg(1, "Group", "", true, false), cfg};
    selection.SetPredefinedObjects(list);
    selection.SetPredefinedObjects(selection.predefinedObjects); // its own list: nothing changes
    ASSERT_EQ(selection.predefinedObjects.size(), 2u);
    EXPECT_EQ(selection.predefinedObjects.back().name, "Ignition");
    KMXSSessionState state;
    state.valueText = "v";
    state.width = 10;
    selection.SetLastDlgState(state);
    EXPECT_EQ(selection.LastDlgState().width, 10);
    EXPECT_EQ(selection.LastDlgState().valueText, ""); // assignment rule
    LastDialogState().width = 777;
    EXPECT_EQ(LastDialogState().width, 777);
}
