// CCmdTarget: the message-map root, command routing and the wait cursor.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->pfn; ++p) {
            if (p->nMessage != nMessage || p->nCode != nCode) continue;
            if (nMessage == WM_COMMAND || nMessage == WM_NOTIFY) {
                if (nID >= p->nID && nID <= p->nLastID) return p;
            } else if (p->nID == 0) {
                return p;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nID == 0) return FALSE; // control ID 0 is never routed
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!pEntry) return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = pEntry->pfn;
        return TRUE;
    }
    pEntry->pfn(this, WM_COMMAND, MAKEWPARAM(nID, nCode), 0);
    return TRUE;
}

void CCmdTarget::BeginWaitCursor() {
    AfxDoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
    AfxDoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
    AfxDoWaitCursor(0);
}
