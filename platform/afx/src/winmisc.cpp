// CWnd: wrappers that need more than one call, default message handlers, data exchange and the
// modal loop.
#include "afximpl.h"

#include <vector>

namespace {

BOOL ModifyWindowLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLong(hWnd, nIndex));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle) return FALSE;
    ::SetWindowLong(hWnd, nIndex, static_cast<LONG>(dwNewStyle));
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

std::string TextOf(HWND hWnd) {
    int nLength = ::GetWindowTextLength(hWnd);
    if (nLength <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
    int nCopied = ::GetWindowText(hWnd, buffer.data(), nLength + 1);
    return std::string(buffer.data(), static_cast<size_t>(nCopied > 0 ? nCopied : 0));
}

} // namespace

// ---- styles, text, relatives ----

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyWindowLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::GetWindowText(std::string& rString) const {
    rString = TextOf(m_hWnd);
}

int CWnd::GetDlgItemText(int nID, std::string& rString) const {
    rString = TextOf(::GetDlgItem(m_hWnd, nID));
    return static_cast<int>(rString.size());
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND hWnd = m_hWnd;
    if (!hWnd) return nullptr;
    while (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) {
        HWND hWndParent = ::GetParent(hWnd);
        if (!hWndParent) break;
        hWnd = hWndParent;
    }
    return FromHandle(hWnd);
}

// ---- font, device contexts, message boxes ----

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    ::SendMessage(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0)));
}

CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC() {
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC) {
    return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    return ::MessageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

// ---- data exchange ----

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.HasFailed();
}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---- the modal loop ----

int CWnd::RunModalLoop(DWORD dwFlags) {
    bool bShowOnIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWnd = m_hWnd;
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    int nResult = -1;
    for (;;) {
        if (bShowOnIdle) {
            // shown once the start-up messages are handled, before the user's first input
            MSG msg;
            if (!::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowOnIdle = false;
            }
        }
        if (!AfxPumpMessage()) {
            // WM_QUIT ends every loop: leave it for the next one out
            ::PostQuitMessage(static_cast<int>(AfxGetModuleThreadState()->m_msgCur.wParam));
            m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
            return -1;
        }
        if (!ContinueModal()) break;
        if (!::IsWindow(hWnd)) break; // destroyed without ending the loop
    }
    nResult = m_nModalResult;
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return nResult;
}

BOOL CWnd::ContinueModal() {
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL); // wakes the loop
    }
}

// ---- default handlers ----

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnMoving(UINT, LPRECT) {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnActivateApp(BOOL, DWORD) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
BOOL CWnd::OnHelpInfo(HELPINFO*) {
    return static_cast<BOOL>(Default());
}
