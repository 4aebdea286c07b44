// Message-map entry macros. Each entry holds a captureless thunk that unpacks the message's
// parameters and calls the handler with MFC's signature; the handler is named through ThisClass,
// so a wrong signature or a handler of an unrelated class does not compile.
#pragma once

// clang-format off

#define AFX_MSG_THUNK(body)                                                                                  \
    [](CCmdTarget * _afxTarget, [[maybe_unused]] UINT _afxMsg, [[maybe_unused]] WPARAM _afxW,                \
       [[maybe_unused]] LPARAM _afxL) -> LRESULT {                                                           \
        [[maybe_unused]] ThisClass* _afxThis = static_cast<ThisClass*>(_afxTarget);                          \
        body                                                                                                 \
    }

// ---- commands and control notifications (WM_COMMAND) ----
#define ON_COMMAND(id, memberFxn)                                                                            \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id),                                   \
     AFX_MSG_THUNK(void (ThisClass::*_afxPfn)() = memberFxn; (_afxThis->*_afxPfn)(); return 0;)},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
    {WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id),               \
     AFX_MSG_THUNK(void (ThisClass::*_afxPfn)() = memberFxn; (_afxThis->*_afxPfn)(); return 0;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)

// ---- notifications (WM_NOTIFY): void memberFxn(NMHDR* pNMHDR, LRESULT* pResult) ----
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
    {WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id),                \
     AFX_MSG_THUNK(void (ThisClass::*_afxPfn)(NMHDR*, LRESULT*) = memberFxn;                                 \
                   (_afxThis->*_afxPfn)(reinterpret_cast<NMHDR*>(_afxL), reinterpret_cast<LRESULT*>(_afxW)); \
                   return 0;)},

// ---- any message: LRESULT memberFxn(WPARAM, LPARAM) ----
#define ON_MESSAGE(message, memberFxn)                                                                       \
    {static_cast<UINT>(message), 0, 0, 0,                                                                    \
     AFX_MSG_THUNK(LRESULT (ThisClass::*_afxPfn)(WPARAM, LPARAM) = memberFxn;                                \
                   return (_afxThis->*_afxPfn)(_afxW, _afxL);)},

// ---- window messages with their MFC handler names and signatures ----
#define AFX_ON_WM(message, call) {message, 0, 0, 0, AFX_MSG_THUNK(call)},

#define ON_WM_CREATE()                                                                                       \
    AFX_ON_WM(WM_CREATE, return _afxThis->OnCreate(reinterpret_cast<LPCREATESTRUCT>(_afxL));)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, _afxThis->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY() AFX_ON_WM(WM_NCDESTROY, _afxThis->OnNcDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, _afxThis->OnClose(); return 0;)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, _afxThis->OnPaint(); return 0;)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, _afxThis->OnTimer(static_cast<UINT_PTR>(_afxW)); return 0;)
// Every WM_CTLCOLOR* message, with nCtlColor = CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC.
#define ON_WM_CTLCOLOR()                                                                                     \
    AFX_ON_WM(WM_CTLCOLOR,                                                                                   \
              HBRUSH _afxBrush = _afxThis->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(_afxW)),         \
                                                      CWnd::FromHandle(reinterpret_cast<HWND>(_afxL)),       \
                                                      _afxMsg - WM_CTLCOLORMSGBOX);                          \
              return reinterpret_cast<LRESULT>(_afxBrush);)
#define ON_WM_SHOWWINDOW()                                                                                   \
    AFX_ON_WM(WM_SHOWWINDOW,                                                                                 \
              _afxThis->OnShowWindow(static_cast<BOOL>(_afxW), static_cast<UINT>(_afxL)); return 0;)
#define ON_WM_MOVING()                                                                                       \
    AFX_ON_WM(WM_MOVING,                                                                                     \
              _afxThis->OnMoving(static_cast<UINT>(_afxW), reinterpret_cast<LPRECT>(_afxL)); return TRUE;)
#define ON_WM_SIZE()                                                                                         \
    AFX_ON_WM(WM_SIZE, _afxThis->OnSize(static_cast<UINT>(_afxW), static_cast<short>(LOWORD(_afxL)),         \
                                        static_cast<short>(HIWORD(_afxL)));                                  \
              return 0;)
#define AFX_ON_MOUSE(message, handler)                                                                       \
    AFX_ON_WM(message, _afxThis->handler(static_cast<UINT>(_afxW), CPoint(_afxL)); return 0;)
#define ON_WM_MOUSEMOVE() AFX_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_SYSCOMMAND()                                                                                   \
    AFX_ON_WM(WM_SYSCOMMAND, _afxThis->OnSysCommand(static_cast<UINT>(_afxW), _afxL); return 0;)
#define ON_WM_SETFOCUS()                                                                                     \
    AFX_ON_WM(WM_SETFOCUS, _afxThis->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(_afxW))); return 0;)
#define ON_WM_KILLFOCUS()                                                                                    \
    AFX_ON_WM(WM_KILLFOCUS, _afxThis->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(_afxW))); return 0;)
#define ON_WM_ACTIVATEAPP()                                                                                  \
    AFX_ON_WM(WM_ACTIVATEAPP,                                                                                \
              _afxThis->OnActivateApp(static_cast<BOOL>(_afxW), static_cast<DWORD>(_afxL)); return 0;)
// pScrollBar: the framework object of the scroll-bar control that sent it, else null.
#define ON_WM_VSCROLL()                                                                                      \
    AFX_ON_WM(WM_VSCROLL,                                                                                    \
              CWnd* _afxBar = CWnd::FromHandlePermanent(reinterpret_cast<HWND>(_afxL));                      \
              _afxThis->OnVScroll(LOWORD(_afxW), HIWORD(_afxW), DYNAMIC_DOWNCAST(CScrollBar, _afxBar));      \
              return 0;)
#define AFX_ON_KEY(message, handler)                                                                         \
    AFX_ON_WM(message, _afxThis->handler(static_cast<UINT>(_afxW), LOWORD(_afxL), HIWORD(_afxL)); return 0;)
#define ON_WM_CHAR() AFX_ON_KEY(WM_CHAR, OnChar)
#define ON_WM_KEYDOWN() AFX_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_HELPINFO() AFX_ON_WM(WM_HELP, return _afxThis->OnHelpInfo(reinterpret_cast<HELPINFO*>(_afxL));)
// clang-format on
