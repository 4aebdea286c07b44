// CDialog: modeless and modal dialogs from templates, with the framework's modal loop.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()
// clang-format on

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    // the dialog manager asks for initialisation once the controls exist
    CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    return pDlg ? pDlg->OnInitDialog() : TRUE;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate) {
    SetParentWnd(pParentWnd);
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd) : m_lpszTemplateName(lpszTemplateName) {
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
    SetParentWnd(pParentWnd);
}

void CDialog::SetParentWnd(CWnd* pParentWnd) {
    m_pParentWnd = pParentWnd;
    m_pParentAtCapture = pParentWnd;
    m_hWndParentAtCapture = pParentWnd ? pParentWnd->m_hWnd : nullptr;
}

HWND CDialog::GetParentHandle() const {
    // A handle taken when the parent was given outlives a temporary parent object; an object
    // given before it had a window (or set later) is asked now.
    if (m_pParentWnd == m_pParentAtCapture && m_hWndParentAtCapture)
        return ::IsWindow(m_hWndParentAtCapture) ? m_hWndParentAtCapture : nullptr;
    return m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
}

LPCDLGTEMPLATE CDialog::LoadTemplate(HINSTANCE hInst) const {
    if (!m_lpszTemplateName) return m_lpDialogTemplate;
    HRSRC hResource = ::FindResource(hInst, m_lpszTemplateName, RT_DIALOG);
    if (!hResource) return nullptr;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    return hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, HWND hWndParent, HINSTANCE hInst) {
    if (m_hWnd || !lpDialogTemplate) return FALSE;
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParam(hInst, lpDialogTemplate, hWndParent, AfxDlgProc, 0);
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy(); // never attached: ends like a destroyed window (the object may be gone)
        return FALSE;
    }
    if (!hWnd) return FALSE; // destroyed during creation: PostNcDestroy has run
    if (!(m_nFlags & WF_CONTINUEMODAL)) {
        // EndDialog during OnInitDialog: the dialog ends before it runs
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszTemplateName));
    SetParentWnd(pParentWnd);
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(hInst);
    if (!lpTemplate) return FALSE;
    return CreateDlgIndirect(lpTemplate, GetParentHandle(), hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void*) {
    SetParentWnd(pParentWnd);
    return CreateDlgIndirect(lpDialogTemplate, GetParentHandle(), AfxGetResourceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void*) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpszTemplateName = nullptr;
    if (pParentWnd) SetParentWnd(pParentWnd);
    return lpDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1; // already running (modeless or modal)
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(hInst);
    if (!lpTemplate) return -1;

    // The owner is the top-level window of the parent; it stays disabled while the dialog runs.
    HWND hWndParent = GetParentHandle();
    while (hWndParent && (::GetWindowLong(hWndParent, GWL_STYLE) & WS_CHILD))
        hWndParent = ::GetParent(hWndParent);
    bool bEnableParent = false;
    if (hWndParent && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = true;
    }

    m_bActiveAtEnd = false;
    if (CreateDlgIndirect(lpTemplate, hWndParent, hInst)) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG) dwFlags |= MLF_NOIDLEMSG;
            RunModalLoop(dwFlags);
        }
        if (m_hWnd) {
            if (::GetActiveWindow() == m_hWnd) m_bActiveAtEnd = true;
            SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    if (bEnableParent && ::IsWindow(hWndParent)) ::EnableWindow(hWndParent, TRUE);
    // Hiding the dialog while its owner was disabled moved the activation away (or nowhere).
    HWND hWndActive = ::GetActiveWindow();
    if (hWndParent && ::IsWindow(hWndParent) && (m_bActiveAtEnd || !hWndActive || hWndActive == m_hWnd))
        ::SetActiveWindow(hWndParent);
    DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog() {
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) {
        if (::GetActiveWindow() == m_hWnd) m_bActiveAtEnd = true;
        EndModalLoop(nResult);
    }
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return; // the dialog stays open
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
    if (!m_hWnd) return FALSE;
    return PreTranslateInput(pMsg);
}
