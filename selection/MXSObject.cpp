#include "selection/MXSObject.h"

#include "base/ProcessState.h"

bool KMXSObject::IsFCat() const { return !predefined && !fcat.empty() && fblock.empty(); }

bool KMXSObject::IsFBlock() const { return !predefined && !fcat.empty() && !fblock.empty() && function.empty(); }

bool KMXSObject::IsFunction() const {
    return !predefined && !fcat.empty() && !fblock.empty() && !function.empty() && opType.empty();
}

bool KMXSObject::IsOpType() const {
    return !predefined && !fcat.empty() && !fblock.empty() && !function.empty() && !opType.empty() &&
           parameterName.empty() && parameterPath.empty();
}

bool KMXSObject::IsParameter() const { return !predefined && !parameterName.empty() && !parameterPath.empty(); }

KMXSPredefObjectCfg::KMXSPredefObjectCfg(unsigned int id, const std::string& name, const std::string& description,
                                         bool isGroup, bool isSelectable)
    : id(id), name(name), description(description), isGroup(isGroup), isSelectable(isSelectable) {}

KMXSSessionState& KMXSSessionState::operator=(const KMXSSessionState& other) {
    if (this == &other) return *this;
    // valueText is the one member that stays
    topRowPath = other.topRowPath;
    parameterText = other.parameterText;
    visibleRowPaths.clear();
    visibleRowPaths.insert(other.visibleRowPaths.begin(), other.visibleRowPaths.end());
    firstOpen = other.firstOpen;
    width = other.width;
    height = other.height;
    left = other.left;
    top = other.top;
    showIds = other.showIds;
    showTooltips = other.showTooltips;
    detailsExpanded = other.detailsExpanded;
    instance = other.instance;
    channel = other.channel;
    predefChannel = other.predefChannel;
    selectPending = other.selectPending;
    textEditable = other.textEditable;
    filterChoice = other.filterChoice;
    filterChoiceAlt = other.filterChoiceAlt;
    instanceChecked = other.instanceChecked;
    return *this;
}

KMXSSessionState& LastDialogState() {
    auto& state = ProcessState().lastDialogState;
    if (!state) state = ProcessOwned<KMXSSessionState>(new KMXSSessionState, [](KMXSSessionState* s) { delete s; });
    return *state;
}
