// The module's one application object and its attachment to the module's lifetime.
#include "facade/PelorinApp.h"

namespace {
CPelorinApp theApp;
}

#ifdef _WIN32
// Only the start runs from DllMain. The module's end would destroy windows and free the language
// module, which must not happen under the loader lock, and it is never needed there: the first use
// of the process state pins the module (ProcessState), so a FreeLibrary before that finds nothing
// to end, and at the end of the process the system reclaims windows, hooks and modules.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) return AfxModuleAttach(instance);
    return TRUE;
}
#else
namespace {
// after the application object, so that it exists when the module attaches
CAfxModuleEntry moduleEntry;
} // namespace
#endif
