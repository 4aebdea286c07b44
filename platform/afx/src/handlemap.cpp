// Handle maps: permanent objects attached by their owners, temporary ones made on demand.
#include "afximpl.h"

CHandleMap::CHandleMap(bool bWindowHandles, Setter pfnSetHandle)
    : m_bWindowHandles(bWindowHandles), m_pfnSetHandle(pfnSetHandle) {}

CObject* CHandleMap::FromHandle(void* handle, const CRuntimeClass* pClass, Constructor pfnConstruct) {
    if (!handle) return nullptr;
    CObject* pPermanent = LookupPermanent(handle);
    if (pPermanent && pPermanent->IsKindOf(pClass)) return pPermanent;
    int nDepth = AfxGetModuleThreadState()->m_nTempMapLock;
    auto it = m_temporaryMap.find({handle, pClass});
    if (it != m_temporaryMap.end()) {
        // handed out again by a shallower caller: it must live as long as that caller
        if (nDepth < it->second.nDepth) it->second.nDepth = nDepth;
        return it->second.pObject;
    }
    CObject* pObject = pfnConstruct();
    m_pfnSetHandle(pObject, handle);
    m_temporaryMap.emplace(std::make_pair(handle, pClass), Temporary{pObject, nDepth});
    return pObject;
}

CObject* CHandleMap::LookupPermanent(void* handle) const {
    auto it = m_permanentMap.find(handle);
    return it == m_permanentMap.end() ? nullptr : it->second;
}

CObject* CHandleMap::LookupTemporary(void* handle, const CRuntimeClass* pClass) const {
    auto it = m_temporaryMap.find({handle, pClass});
    return it == m_temporaryMap.end() ? nullptr : it->second.pObject;
}

void CHandleMap::SetPermanent(void* handle, CObject* pObject) {
    m_permanentMap[handle] = pObject;
}

void CHandleMap::RemoveHandle(void* handle) {
    m_permanentMap.erase(handle);
}

void CHandleMap::DeleteTemp(int nLockDepth, bool bAll) {
    for (auto it = m_temporaryMap.begin(); it != m_temporaryMap.end();) {
        Temporary& t = it->second;
        bool due = bAll;
        if (!due && t.nDepth > nLockDepth) {
            if (!m_bWindowHandles)
                due = true;
            else if (!::IsWindow(static_cast<HWND>(it->first.first)))
                due = true;
            else
                t.nDepth = nLockDepth > 0 ? nLockDepth : 1; // checked again when the next call ends
        }
        if (!due) {
            ++it;
            continue;
        }
        CObject* pObject = t.pObject;
        it = m_temporaryMap.erase(it);
        m_pfnSetHandle(pObject, nullptr); // a wrapper never destroys what it does not own
        delete pObject;
    }
}
