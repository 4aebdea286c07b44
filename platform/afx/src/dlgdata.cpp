// Dialog data exchange: CDataExchange and control binding.
#include "afximpl.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!hWndCtrl) {
        Fail();
        return nullptr;
    }
    m_idLastControl = static_cast<UINT>(nIDC);
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    return PrepareCtrl(nIDC);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return; // bound once
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!hWndCtrl) return;
    if (!rControl.SubclassWindow(hWndCtrl)) pDX->Fail();
}
