// The application object, module start and end, and the framework's message pump.
#include "afximpl.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

// ---- CWinThread ----

BOOL CWinThread::InitInstance() {
    return TRUE;
}

int CWinThread::ExitInstance() {
    return 0;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg->hwnd) return FALSE; // thread messages have no window to translate them
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndStop = pMainWnd ? pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndStop, pMsg)) return TRUE;
    // a window outside the main window's tree still lets the main window see it (accelerators)
    if (hWndStop && pMsg->hwnd != hWndStop && !::IsChild(hWndStop, pMsg->hwnd) && ::IsWindow(hWndStop))
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::PumpMessage() {
    return AfxInternalPumpMessage();
}

// ---- CWinApp ----

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName) {
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    pState->m_pCurrentWinApp = this;
    pState->m_lpszCurrentAppName = m_pszAppName;
}

CWinApp::~CWinApp() {
    // the state that registered it may not be current any more
    for (AFX_MODULE_STATE* pState : {AfxGetModuleState(), AfxGetStaticModuleState()})
        if (pState->m_pCurrentWinApp == this) {
            pState->m_pCurrentWinApp = nullptr;
            pState->m_lpszCurrentAppName = nullptr;
        }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

void CWinApp::DoWaitCursor(int nCode) {
    AfxStepWaitCursor(nCode);
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const {
    return ::LoadCursor(nullptr, lpszCursorName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
}

// ---- module state access ----

CWinApp* AfxGetApp() {
    return AfxGetModuleState()->m_pCurrentWinApp;
}

LPCSTR AfxGetAppName() {
    return AfxGetModuleState()->m_lpszCurrentAppName;
}

HINSTANCE AfxGetInstanceHandle() {
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

// ---- module start and end ----

BOOL AfxModuleAttach(HINSTANCE hInstance) {
    AFX_MODULE_STATE* pState = AfxGetStaticModuleState();
    AFX_MANAGE_STATE(pState);
    pState->m_hCurrentInstanceHandle = hInstance;
    pState->m_hCurrentResourceHandle = hInstance;
    CWinApp* pApp = pState->m_pCurrentWinApp;
    if (pApp) {
        pApp->m_hInstance = hInstance;
        if (!pApp->m_pszAppName) {
            // the module's file name without folder and extension, as MFC does without a title
            char path[MAX_PATH] = "";
            ::GetModuleFileName(hInstance, path, MAX_PATH);
            const char* name = path;
            for (const char* p = path; *p; ++p)
                if (*p == '/' || *p == '\\') name = p + 1;
            pApp->m_strAppName.assign(name, std::strcspn(name, "."));
            pApp->m_pszAppName = pApp->m_strAppName.c_str();
        }
        pState->m_lpszCurrentAppName = pApp->m_pszAppName;
    }
    AfxGetModuleThreadState()->m_bModuleAttached = true;
    if (pApp && !pApp->InitInstance()) {
        pApp->ExitInstance();
        AfxGetModuleThreadState()->m_bModuleAttached = false;
        return FALSE;
    }
    return TRUE;
}

void AfxModuleDetach() {
    AFX_MODULE_STATE* pState = AfxGetStaticModuleState();
    AFX_MODULE_THREAD_STATE* pThreadState = AfxGetModuleThreadState();
    {
        AFX_MANAGE_STATE(pState);
        if (pThreadState->m_bModuleAttached && pState->m_pCurrentWinApp)
            pState->m_pCurrentWinApp->ExitInstance();
        pThreadState->m_bModuleAttached = false;
    }
    AfxDeleteAllTempMaps();
}

HINSTANCE AfxFindModuleInstance(const void* pAddressInModule) {
    static const char s_anchor = 0; // an address inside this copy of the framework
    HMODULE hModule = nullptr;
    ::GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                        static_cast<LPCSTR>(pAddressInModule ? pAddressInModule : &s_anchor), &hModule);
    return hModule;
}

// ---- the pump ----

BOOL AfxInternalPumpMessage() {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
        pState->m_msgCur = msg;
        return FALSE;
    }
    pState->m_msgCur = msg;
    // each message is a call into the module: temporary objects of its handling end with it
    AfxLockTempMaps();
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    AfxUnlockTempMaps();
    return TRUE;
}

BOOL AfxPumpMessage() {
    if (CWinApp* pApp = AfxGetApp()) return pApp->PumpMessage();
    return AfxInternalPumpMessage();
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    if (CWinApp* pApp = AfxGetApp()) return pApp->PreTranslateMessage(pMsg);
    return pMsg->hwnd ? CWnd::WalkPreTranslateTree(nullptr, pMsg) : FALSE;
}
