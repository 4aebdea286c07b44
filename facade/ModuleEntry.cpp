// The module's one application object and its attachment to the module's lifetime.
#include "facade/PelorinApp.h"

namespace {
CPelorinApp theApp;
}

#ifdef _WIN32
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) return AfxModuleAttach(instance);
    if (reason == DLL_PROCESS_DETACH) AfxModuleDetach();
    return TRUE;
}
#else
namespace {
// after the application object, so that it exists when the module attaches
CAfxModuleEntry moduleEntry;
} // namespace
#endif
