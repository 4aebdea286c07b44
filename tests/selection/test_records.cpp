// The selection records: the level tests of chosen objects and the copy rules of the session
// state. (The selection model's own setters are tested with the facade.)
#include "selection/MXSObject.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(SelectionRecords, EachObjectIsAtMostOneLevel) {
    // catalog, FBlock, function, OpType, name, path, predefined; the level tests that hold
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*, bool,
                     const char*>
        cases[] = {{"", "", "", "", "", "", false, ""},
                   {"C", "", "", "", "", "", false, "catalog"},
                   {"C", "FB", "", "", "", "", false, "fblock"},
                   {"C", "FB", "Fn", "", "", "", false, "function"},
                   {"C", "FB", "Fn", "Status", "", "", false, "optype"},
                   {"C", "FB", "Fn", "Status", "Pos", "Data[1].Pos", false, "parameter"},
                   {"C", "FB", "Fn", "Status", "Pos", "", false, ""}, // half a parameter is neither
                   {"C", "FB", "Fn", "Status", "", "Pos", false, ""},
                   {"", "", "", "", "Pos", "Pos", false, "parameter"},
                   {"C", "FB", "Fn", "Status", "Pos", "Pos", true, ""},
                   {"C", "", "", "", "", "", true, ""}};
    for (const auto& [fcat, fblock, function, opType, name, path, predefined, levels] : cases) {
        KMXSObject o;
        std::tie(o.fcat, o.fblock, o.function, o.opType, o.parameterName, o.parameterPath, o.predefined) =
            std::make_tuple(fcat, fblock, function, opType, name, path, predefined);
        std::string held = std::string(o.IsFCat() ? "catalog" : "") + (o.IsFBlock() ? "fblock" : "") +
                           (o.IsFunction() ? "function" : "") + (o.IsOpType() ? "optype" : "") +
                           (o.IsParameter() ? "parameter" : "");
        EXPECT_EQ(held, levels) << fcat << "." << fblock << "." << function << "." << opType << " " << name
                                << " " << path << " " << predefined;
    }
}

TEST(SelectionRecords, SessionStateAssignmentKeepsTheTargetsValueText) {
    // every member unlike the defaults, so that each one must be copied to arrive
    KMXSSessionState source;
    source.topRowPath = "Cat.FB";
    source.parameterText = "Data[1].Pos";
    source.visibleRowPaths = {"Cat", "Cat.FB"};
    source.firstOpen = source.showIds = source.showTooltips = source.detailsExpanded = source.textEditable =
        false;
    source.width = 600;
    source.height = 410;
    source.left = 12;
    source.top = 34;
    source.instance = 7;
    source.channel = 3;
    source.predefChannel = 2;
    source.selectPending = source.filterChoice = source.filterChoiceAlt = source.instanceChecked = true;
    source.valueText = "42";
    KMXSSessionState target;
    target.visibleRowPaths = {"Old"};
    target.valueText = "mine";
    target = source;
    EXPECT_EQ(target.valueText, "mine");
    target.valueText = source.valueText;
    auto members = [](const KMXSSessionState& x) {
        return std::make_tuple(x.topRowPath, x.parameterText, x.visibleRowPaths, x.firstOpen, x.width,
                               x.height, x.left, x.top, x.showIds, x.showTooltips, x.detailsExpanded,
                               x.instance, x.channel, x.predefChannel, x.selectPending, x.valueText,
                               x.textEditable, x.filterChoice, x.filterChoiceAlt, x.instanceChecked);
    };
    EXPECT_TRUE(members(target) == members(source));
    // assigned to itself it loses nothing
    KMXSSessionState& same = target;
    target = same;
    EXPECT_TRUE(members(target) == members(source));
    // the process-wide copy is made once and kept
    LastDialogState().width = 777;
    EXPECT_EQ(LastDialogState().width, 777);
}
