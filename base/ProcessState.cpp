#include "base/ProcessState.h"

#include "base/LanguageResources.h"

namespace {
// Never destroyed by the runtime: the module's end runs from a static destructor of its own,
// possibly after this translation unit's statics are gone.
KProcessState* state = nullptr;
} // namespace

KProcessState& ProcessState() {
    if (!state) {
#ifdef _WIN32
        // The state is about to hold windows, a message hook and the language module, whose window
        // procedures and hook code are in this module. The module stays loaded from here to the end
        // of the process, so that DllMain never has to destroy them under the loader lock.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&ProcessState), &self);
#endif
        state = new KProcessState;
    }
    return *state;
}

void EndProcessState() {
    if (!state) return; // never used: nothing to end
    KProcessState& s = *state;
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
