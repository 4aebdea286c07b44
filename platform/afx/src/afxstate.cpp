// Module state, the module's thread data and the scopes that make a state current.
#include "afximpl.h"

#include <new>

namespace {

AFX_MODULE_STATE* g_pCurrentModuleState = nullptr; // null: the module's own

// Never destroyed: windows and objects that outlive static destruction may still reach it.
template <class T> T* Immortal() {
    alignas(T) static unsigned char storage[sizeof(T)];
    static T* p = new (storage) T;
    return p;
}

void SetWindowHandle(CObject* pObject, void* handle) {
    static_cast<CWnd*>(pObject)->m_hWnd = static_cast<HWND>(handle);
}

void SetDcHandle(CObject* pObject, void* handle) {
    auto* pDC = static_cast<CDC*>(pObject);
    pDC->m_hDC = pDC->m_hAttribDC = static_cast<HDC>(handle);
}

void SetGdiHandle(CObject* pObject, void* handle) {
    static_cast<CGdiObject*>(pObject)->m_hObject = static_cast<HGDIOBJ>(handle);
}

} // namespace

AFX_MODULE_STATE* AfxGetStaticModuleState() {
    static AFX_MODULE_STATE state; // trivially destructible
    return &state;
}

AFX_MODULE_STATE* AfxGetModuleState() {
    return g_pCurrentModuleState ? g_pCurrentModuleState : AfxGetStaticModuleState();
}

AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* pNewState) {
    AFX_MODULE_STATE* pPrev = AfxGetModuleState();
    g_pCurrentModuleState = pNewState;
    return pPrev;
}

AFX_MAINTAIN_STATE::AFX_MAINTAIN_STATE(AFX_MODULE_STATE* pNewState)
    : m_pPrevModuleState(AfxSetModuleState(pNewState)) {
    AfxLockTempMaps();
}

AFX_MAINTAIN_STATE::~AFX_MAINTAIN_STATE() {
    AfxSetModuleState(m_pPrevModuleState);
    AfxUnlockTempMaps();
}

AFX_MODULE_THREAD_STATE::AFX_MODULE_THREAD_STATE()
    : m_mapHWND(true, SetWindowHandle), m_mapHDC(false, SetDcHandle), m_mapHGDIOBJ(false, SetGdiHandle) {}

AFX_MODULE_THREAD_STATE* AfxGetModuleThreadState() {
    return Immortal<AFX_MODULE_THREAD_STATE>();
}

void AfxLockTempMaps() {
    ++AfxGetModuleThreadState()->m_nTempMapLock;
}

void AfxUnlockTempMaps() {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_nTempMapLock > 0) --pState->m_nTempMapLock;
    int nDepth = pState->m_nTempMapLock;
    pState->m_mapHWND.DeleteTemp(nDepth, false);
    pState->m_mapHDC.DeleteTemp(nDepth, false);
    pState->m_mapHGDIOBJ.DeleteTemp(nDepth, false);
}

void AfxDeleteAllTempMaps() {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    pState->m_mapHWND.DeleteTemp(0, true);
    pState->m_mapHDC.DeleteTemp(0, true);
    pState->m_mapHGDIOBJ.DeleteTemp(0, true);
}
