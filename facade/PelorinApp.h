// The module's application object: the module's start and end.
#pragma once
#include <afxwin.h>

class CPelorinApp : public CWinApp {
public:
    CPelorinApp();
    BOOL InitInstance() override;
    // Ends the process-wide state (the input dialog, the language module), then ends as every
    // application does.
    int ExitInstance() override;
};
