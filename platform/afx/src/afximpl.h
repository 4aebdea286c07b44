// Internals shared by the framework's sources.
#pragma once
#include <afxwin.h>

// A wait-cursor step through the application's DoWaitCursor, or directly without application.
void AfxDoWaitCursor(int nCode);
// The module's wait-cursor counter (the default CWinApp::DoWaitCursor).
void AfxStepWaitCursor(int nCode);

// Frees every temporary object of the module (module detach).
void AfxDeleteAllTempMaps();

// The application or, without one, the framework itself takes and dispatches one message.
BOOL AfxInternalPumpMessage();
