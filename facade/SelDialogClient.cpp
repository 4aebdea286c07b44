#include "facade/SelDialogClient.h"

#include "base/ProcessState.h"
#include "selection/SelectFlags.h"

#include <cstdio>

namespace {

// Signal mode with the details, the tree variant, strings and raw streams, no instance row.
const unsigned long kSignalFlags =
    kSelectSignalMode | kSelectDetails | kSelectTreeVariant | kSelectStringsAndStreams | kSelectNoInstanceRow;
// Address mode with the details and the tree variant.
const unsigned long kAddressFlags = kSelectAddressMode | kSelectDetails | kSelectTreeVariant;
const unsigned kAllInstances = 255;

} // namespace

KMXSSelDialogClient& SelectionBridge() {
    auto& bridge = ProcessState().selectionBridge;
    if (!bridge)
        bridge = ProcessOwned<KMXSSelDialogClient>(new KMXSSelDialogClient, [](KMXSSelDialogClient* b) { delete b; });
    return *bridge;
}

// The selection and the saved states go with the members, but the selection leaves its
// modeless dialog open.
KMXSSelDialogClient::~KMXSSelDialogClient() { CloseDialog(); }

void KMXSSelDialogClient::Open(unsigned long handle, KPelorinClient* newClient, void* window, int mode) {
    client = newClient;
    CloseDialog();
    selection = std::make_unique<KMXSSelection>(handle);
    managerHandle = handle;
    auto saved = savedStates.find(handle);
    KMXSSessionState state = saved != savedStates.end() ? saved->second : selection->LastDlgState();
    unsigned long flags = kAddressFlags;
    if (mode != 0) {
        flags = kSignalFlags;
        state.filterChoiceAlt = mode == 2;
    }
    selection->SetLastDlgState(state);
    selection->SelectObject(this, window, flags, false, 0, true);
}

std::string KMXSSelDialogClient::TextOf(const KMXSObject& o) {
    std::string suffix;
    if (o.instanceChecked) {
        char hex[16];
        std::snprintf(hex, sizeof hex, ".0x%X", o.instance);
        suffix = o.instance == kAllInstances ? ".*" : hex;
    }
    if (o.IsFBlock()) return o.fblock + suffix;
    if (o.IsFunction()) return o.fblock + suffix + "." + o.function;
    if (o.IsOpType()) return o.fblock + suffix + "." + o.function + "." + o.opType;
    if (o.IsParameter()) return o.parameterPath;
    return "";
}

void KMXSSelDialogClient::OnObjectsSelected(const std::vector<KMXSObject>& objects, bool) {
    if (objects.empty()) return;
    text = TextOf(objects.front());
    if (selection) {
        // a copy, value text included (an assignment would keep the old one)
        savedStates.erase(managerHandle);
        savedStates.emplace(managerHandle, selection->LastDlgState());
    }
    if (client) client->OnSelectionText(text.c_str());
}

void KMXSSelDialogClient::OnHelp(int) {
    if (client) client->OnHelp(0);
}

void KMXSSelDialogClient::CloseDialog() {
    if (selection) selection->CloseModelessDialog();
}
