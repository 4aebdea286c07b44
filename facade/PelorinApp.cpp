#include "facade/PelorinApp.h"

#include "facade/LanguageResources.h"

CPelorinApp::CPelorinApp() : CWinApp("Pelorin") {}

BOOL CPelorinApp::InitInstance() { return CWinApp::InitInstance(); }

int CPelorinApp::ExitInstance() {
    FreeLanguageResources();
    return CWinApp::ExitInstance();
}
