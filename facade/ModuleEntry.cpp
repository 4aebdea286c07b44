// The module's one application object and its attachment to the module's lifetime.
#include "facade/PelorinApp.h"

namespace {
CPelorinApp theApp;
}

#ifdef _WIN32
// The module's end destroys windows and frees the language module, which DllMain must not do
// under the loader lock. At the end of the process (reserved not null) nothing is done: the
// system reclaims windows, hooks and modules. A FreeLibrary before that finds no process state
// to end, since the first use of that state pins the module (ProcessState).
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) return AfxModuleAttach(instance);
    if (reason == DLL_PROCESS_DETACH && !reserved) AfxModuleDetach();
    return TRUE;
}
#else
namespace {
// after the application object, so that it exists when the module attaches
CAfxModuleEntry moduleEntry;
} // namespace
#endif
