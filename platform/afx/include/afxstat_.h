// Module state. Every module (shared library or program) that links the framework has its own
// copy of it, and so its own application object, instance and resource handles, handle maps and
// current message. AFX_MANAGE_STATE makes a module state current for a scope.
#pragma once
#include <windows.h>

#include <map>
#include <utility>

#include "afx.h"

class CWinApp;
class CWnd;

// What identifies a module to the framework: its application object and the handles from which
// it loads code and resources (the resource handle is the language module once one is set).
struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    LPCSTR m_lpszCurrentAppName = nullptr;
};

// The state of the module that contains the calling code.
AFX_MODULE_STATE* AfxGetStaticModuleState();
// The current state: the module's own unless a scope made another one current.
AFX_MODULE_STATE* AfxGetModuleState();
// Makes a state current (null: the module's own); returns the previous one.
AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* pNewState);

// Makes a module state current for its lifetime and counts as a call into the module: temporary
// objects handed out inside live at least until the outermost such scope ends.
class AFX_MAINTAIN_STATE {
public:
    explicit AFX_MAINTAIN_STATE(AFX_MODULE_STATE* pNewState);
    ~AFX_MAINTAIN_STATE();
    AFX_MAINTAIN_STATE(const AFX_MAINTAIN_STATE&) = delete;
    AFX_MAINTAIN_STATE& operator=(const AFX_MAINTAIN_STATE&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevModuleState;
};

#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE _afxManagedState(p)

// Maps from handles to the framework objects that wrap them. Permanent objects are attached by
// their owners; temporary objects are made by FromHandle for handles without one and deleted by
// the framework: a GDI or DC wrapper when the call into the module that handed it out returns, a
// window wrapper at the end of such a call once its window is gone (so a stored pointer stays
// valid while the window lives), every one at module detach. A temporary object handed out
// outside any call into the module is kept until module detach.
class CHandleMap {
public:
    using Constructor = CObject* (*)();
    using Setter = void (*)(CObject* pObject, void* handle); // sets or (null) clears the handle

    CHandleMap(bool bWindowHandles, Setter pfnSetHandle);
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;

    // The permanent object when it is of pClass, else the temporary one of pClass (made on demand).
    CObject* FromHandle(void* handle, const CRuntimeClass* pClass, Constructor pfnConstruct);
    CObject* LookupPermanent(void* handle) const;
    CObject* LookupTemporary(void* handle, const CRuntimeClass* pClass) const;
    void SetPermanent(void* handle, CObject* pObject);
    void RemoveHandle(void* handle);

    size_t GetPermanentCount() const { return m_permanentMap.size(); }
    size_t GetTemporaryCount() const { return m_temporaryMap.size(); }

    // Deletes the temporary objects that are due (see above) or, with bAll, every one.
    void DeleteTemp(int nLockDepth, bool bAll);

private:
    struct Temporary {
        CObject* pObject;
        int nDepth; // lock depth when first handed out; 0: outside any call into the module
    };
    bool m_bWindowHandles;
    Setter m_pfnSetHandle;
    std::map<void*, CObject*> m_permanentMap;
    std::map<std::pair<void*, const CRuntimeClass*>, Temporary> m_temporaryMap;
};

// Per-module framework data of the user-interface thread (one thread: no locking).
struct AFX_MODULE_THREAD_STATE {
    AFX_MODULE_THREAD_STATE();
    CHandleMap m_mapHWND;
    CHandleMap m_mapHDC;
    CHandleMap m_mapHGDIOBJ;
    int m_nTempMapLock = 0;     // depth of calls into the module in progress
    MSG m_lastSentMsg{};        // the message being handled (for CWnd::Default)
    MSG m_msgCur{};             // the last message taken from the queue by the framework
    CWnd* m_pWndInit = nullptr; // the object to attach to the window being created
    HHOOK m_hHookCbtFilter = nullptr;
    int m_nCreateDepth = 0; // nested window creations in progress
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;
    bool m_bModuleAttached = false;
};

AFX_MODULE_THREAD_STATE* AfxGetModuleThreadState();

// Temporary-object lifetime: every call into the module locks, its end unlocks.
void AfxLockTempMaps();
void AfxUnlockTempMaps();
