// The wait cursor: a counter per module; the first begin shows the hourglass and remembers the
// cursor it replaced, the last end brings that cursor back.
#include "afximpl.h"

void AfxStepWaitCursor(int nCode) {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    HCURSOR hcurWait = ::LoadCursor(nullptr, IDC_WAIT);
    if (nCode > 0) {
        HCURSOR hcurPrev = ::SetCursor(hcurWait);
        if (pState->m_nWaitCursorCount++ == 0) pState->m_hcurWaitCursorRestore = hcurPrev;
    } else if (nCode < 0) {
        if (pState->m_nWaitCursorCount == 0) return; // unbalanced end
        if (--pState->m_nWaitCursorCount == 0) {
            ::SetCursor(pState->m_hcurWaitCursorRestore);
            pState->m_hcurWaitCursorRestore = nullptr;
        }
    } else if (pState->m_nWaitCursorCount > 0) {
        ::SetCursor(hcurWait);
    }
}

void AfxDoWaitCursor(int nCode) {
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(nCode);
    else
        AfxStepWaitCursor(nCode);
}

CWaitCursor::CWaitCursor() {
    AfxDoWaitCursor(1);
}

CWaitCursor::~CWaitCursor() {
    AfxDoWaitCursor(-1);
}

void CWaitCursor::Restore() {
    AfxDoWaitCursor(0);
}
