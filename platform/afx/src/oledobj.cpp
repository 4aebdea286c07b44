// COleDataObject over the clipboard: the clipboard is opened only while data is copied out, so
// the data object never keeps it from the controls.
#include <afxole.h>

#include <cstring>

COleDataObject::~COleDataObject() {
    Release();
}

BOOL COleDataObject::AttachClipboard() {
    Release();
    if (!::OpenClipboard(nullptr)) return FALSE;
    ::CloseClipboard();
    m_bClipboard = true;
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const {
    return m_bClipboard && ::IsClipboardFormatAvailable(cfFormat);
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) {
    if (!m_bClipboard || !::OpenClipboard(nullptr)) return nullptr;
    HGLOBAL hCopy = nullptr;
    if (HANDLE hData = ::GetClipboardData(cfFormat)) {
        SIZE_T nSize = ::GlobalSize(hData);
        const void* pSource = ::GlobalLock(hData);
        hCopy = ::GlobalAlloc(GMEM_MOVEABLE, nSize);
        void* pTarget = hCopy ? ::GlobalLock(hCopy) : nullptr;
        if (pSource && pTarget) {
            std::memcpy(pTarget, pSource, nSize);
        } else if (hCopy) {
            ::GlobalFree(hCopy);
            hCopy = nullptr;
        }
        if (pTarget && hCopy) ::GlobalUnlock(hCopy);
        if (pSource) ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    if (hCopy) m_blocks.push_back(hCopy);
    return hCopy;
}

void COleDataObject::Release() {
    for (HGLOBAL hBlock : m_blocks)
        ::GlobalFree(hBlock);
    m_blocks.clear();
    m_bClipboard = false;
}
