#include "facade/PelorinApp.h"

#include "base/ProcessState.h"

CPelorinApp::CPelorinApp() : CWinApp("Pelorin") {}

BOOL CPelorinApp::InitInstance() { return CWinApp::InitInstance(); }

int CPelorinApp::ExitInstance() {
    EndProcessState();
    return CWinApp::ExitInstance();
}
