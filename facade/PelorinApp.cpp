#include "facade/PelorinApp.h"

#include "facade/LanguageResources.h"
#include "facade/ModuleObjects.h"

CPelorinApp::CPelorinApp() : CWinApp("Pelorin") {}

BOOL CPelorinApp::InitInstance() { return CWinApp::InitInstance(); }

int CPelorinApp::ExitInstance() {
    DestroyModuleObjects();
    FreeLanguageResources();
    return CWinApp::ExitInstance();
}
