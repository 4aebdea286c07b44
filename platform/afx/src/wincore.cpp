// CWnd core: the handle map, attachment at creation, subclassing, the window procedure and the
// routing of messages to message maps.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

// clang-format off
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()
// clang-format on

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

CHandleMap& WindowMap() {
    return AfxGetModuleThreadState()->m_mapHWND;
}

CObject* NewTemporaryWindow() {
    return new CWnd;
}

// The default class of windows created without one.
const char kAfxWndClass[] = "AfxWnd";

BOOL RegisterDefaultClass(HINSTANCE hInstance) {
    WNDCLASS wc{};
    if (::GetClassInfo(hInstance, kAfxWndClass, &wc)) return TRUE;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kAfxWndClass;
    return ::RegisterClass(&wc) != 0;
}

} // namespace

// ---- handle map ----

CWnd* CWnd::FromHandle(HWND hWnd) {
    return static_cast<CWnd*>(WindowMap().FromHandle(hWnd, RUNTIME_CLASS(CWnd), NewTemporaryWindow));
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return hWnd ? static_cast<CWnd*>(WindowMap().LookupPermanent(hWnd)) : nullptr;
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd || WindowMap().LookupPermanent(hWndNew)) return FALSE;
    WindowMap().SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd && WindowMap().LookupPermanent(hWnd) == this) WindowMap().RemoveHandle(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

CWnd::~CWnd() {
    if (m_hWnd && WindowMap().LookupPermanent(m_hWnd) == this) {
        // an object that goes before its window takes the window with it, as in MFC
        CWnd::DestroyWindow();
        if (m_hWnd) {
            if (m_pfnSuper && ::IsWindow(m_hWnd) &&
                reinterpret_cast<WNDPROC>(::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC)) == AfxWndProc)
                ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
            Detach();
        }
    }
}

// ---- creation ----

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    HHOOK hHook = pState->m_hHookCbtFilter;
    CWnd* pWndInit = pState->m_pWndInit;
    if (code != HCBT_CREATEWND || !pWndInit) return ::CallNextHookEx(hHook, code, wParam, lParam);

    HWND hWnd = reinterpret_cast<HWND>(wParam);
    pState->m_pWndInit = nullptr;
    if (!pWndInit->Attach(hWnd)) return ::CallNextHookEx(hHook, code, wParam, lParam);
    pWndInit->PreSubclassWindow();
    auto pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
    if (pfnOld != AfxGetAfxWndProc()) pWndInit->m_pfnSuper = pfnOld;

    LRESULT lResult = ::CallNextHookEx(hHook, code, wParam, lParam);
    if (lResult) {
        // another hook vetoed the creation: the window never existed for the object
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
        pWndInit->m_pfnSuper = nullptr;
        pWndInit->Detach();
        pState->m_pWndInit = pWndInit;
    }
    return lResult;
}

void AfxHookWindowCreate(CWnd* pWnd) {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    pState->m_pWndInit = pWnd;
    if (pState->m_nCreateDepth++ == 0)
        pState->m_hHookCbtFilter =
            ::SetWindowsHookEx(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
}

BOOL AfxUnhookWindowCreate() {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    if (pState->m_nCreateDepth > 0 && --pState->m_nCreateDepth == 0 && pState->m_hHookCbtFilter) {
        ::UnhookWindowsHookEx(pState->m_hHookCbtFilter);
        pState->m_hHookCbtFilter = nullptr;
    }
    if (pState->m_pWndInit) {
        pState->m_pWndInit = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        if (!RegisterDefaultClass(cs.hInstance)) return FALSE;
        cs.lpszClass = kAfxWndClass;
    }
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd) return FALSE;
    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd =
        ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                         cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // Without attachment the window never existed and WM_NCDESTROY never came: end the object
    // the same way. With it, a failed creation has already ended it. Either way it may be gone.
    if (!AfxUnhookWindowCreate()) PostNcDestroy();
    return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

// ---- subclassing ----

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    auto pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxGetAfxWndProc())));
    if (pfnOld != AfxGetAfxWndProc()) m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (!pParent) return FALSE;
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd) return nullptr;
    if (m_pfnSuper) ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// ---- destruction ----

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    HWND hWnd = m_hWnd;
    bool bPermanent = WindowMap().LookupPermanent(hWnd) == this;
    BOOL bResult = ::DestroyWindow(hWnd);
    // A permanent object was detached at WM_NCDESTROY (and may be deleted by now); any other
    // wrapper just lets go of the handle.
    if (!bPermanent) m_hWnd = nullptr;
    return bResult;
}

void CWnd::PostNcDestroy() {}

void CWnd::OnNcDestroy() {
    if ((m_nFlags & WF_MODALLOOP) && (m_nFlags & WF_CONTINUEMODAL))
        EndModalLoop(IDABORT); // its loop would wait forever
    HWND hWnd = m_hWnd;
    Default();
    // give the window its own procedure back before it goes, if nobody subclassed it after us
    if (m_pfnSuper && ::IsWindow(hWnd) &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC)) == AfxGetAfxWndProc())
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

// ---- the window procedure ----

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

WNDPROC AfxGetAfxWndProc() {
    return AfxWndProc;
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    AFX_MODULE_THREAD_STATE* pState = AfxGetModuleThreadState();
    MSG previous = pState->m_lastSentMsg;
    pState->m_lastSentMsg = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
    LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    pState->m_lastSentMsg = previous;
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        lResult = 1;
    } else if (message == WM_NOTIFY) {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (!pNMHDR || !pNMHDR->hwndFrom || !OnNotify(wParam, lParam, &lResult)) return FALSE;
    } else {
        // every WM_CTLCOLOR* message goes to the one WM_CTLCOLOR entry
        UINT nMapMessage =
            message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC ? WM_CTLCOLOR : message;
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(nMapMessage, 0, 0);
        if (!pEntry) return FALSE;
        lResult = pEntry->pfn(this, message, wParam, lParam);
    }
    if (pResult) *pResult = lResult;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetModuleThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (!lParam) nCode = CN_COMMAND; // a menu item or an accelerator
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    UINT nID = static_cast<UINT>(pNMHDR->idFrom);
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_NOTIFY, pNMHDR->code, nID);
    if (!pEntry) return FALSE;
    LRESULT lResult = 0;
    pEntry->pfn(this, WM_NOTIFY, reinterpret_cast<WPARAM>(&lResult), lParam);
    if (pResult) *pResult = lResult;
    return TRUE;
}

// ---- pre-translation ----

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd))
            if (pWnd->PreTranslateMessage(pMsg)) return TRUE;
        if (hWnd == hWndStop) break;
    }
    return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg) {
    bool bKey = lpMsg->message >= WM_KEYFIRST && lpMsg->message <= WM_KEYLAST;
    bool bMouse = lpMsg->message >= WM_MOUSEFIRST && lpMsg->message <= WM_MOUSELAST;
    return (bKey || bMouse) ? IsDialogMessage(lpMsg) : FALSE;
}

BOOL CWnd::IsDialogMessage(LPMSG lpMsg) {
    return ::IsDialogMessage(m_hWnd, lpMsg);
}
