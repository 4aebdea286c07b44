#include "base/ProcessState.h"

#include "base/LanguageResources.h"

KProcessState& ProcessState() {
    // Never destroyed by the runtime: the module's end runs from a static destructor of its own,
    // possibly after this translation unit's statics are gone.
    static auto* state = new KProcessState;
    return *state;
}

void EndProcessState() {
    KProcessState& s = ProcessState();
    s.selectionBridge.reset(); // closes a selection dialog it still has open
    s.currentInputDialog = nullptr;
    s.inputDialog.reset();
    s.lastDialogState.reset();
    FreeLanguageResources();
}

void ResetProcessStateForTests() {
    EndProcessState();
    ProcessState() = KProcessState{};
}
