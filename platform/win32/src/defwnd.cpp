// Default window procedure, including the move loop for dragging a window by its caption.
#include "core.h"

#include <algorithm>
#include <cstring>

namespace w32 {

static LRESULT hitTest(HWND hwnd, POINT pt) {
    Window* w = win(hwnd);
    RECT r = screenRect(w);
    if (!PtInRect(&r, pt)) return HTNOWHERE;
    if (w->style & WS_MINIMIZE) return HTCAPTION;
    RECT c = clientScreenRect(w);
    if (PtInRect(&c, pt)) return HTCLIENT;
    if ((w->style & WS_VSCROLL) && pt.x >= c.right && pt.y >= c.top && pt.y < c.bottom) return HTVSCROLL;
    if ((w->style & WS_HSCROLL) && pt.y >= c.bottom && pt.x >= c.left && pt.x < c.right) return HTHSCROLL;
    RECT in = frameInsets(w->style, w->exStyle);
    if ((w->style & WS_CAPTION) == WS_CAPTION && pt.y < c.top && pt.y >= r.top + (in.left))
        return HTCAPTION;
    if (w->style & WS_THICKFRAME) {
        bool left = pt.x < r.left + in.left, right = pt.x >= r.right - in.right;
        bool top = pt.y < r.top + in.left, bottom = pt.y >= r.bottom - in.bottom;
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    return HTBORDER;
}

// Drag the window with the mouse until the button goes up (or the queued input ends).
static void moveLoop(HWND hwnd) {
    auto& s = sys();
    if (!(s.keyState[VK_LBUTTON] & 0x80)) return;
    RECT start;
    GetWindowRect(hwnd, &start);
    POINT origin = s.cursorPos;
    SetCapture(hwnd);
    send(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    for (;;) {
        MSG m;
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!feedInput()) break;
            continue;
        }
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (!IsWindow(hwnd)) break;
        if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
            RECT r = start;
            OffsetRect(&r, s.cursorPos.x - origin.x, s.cursorPos.y - origin.y);
            send(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
            if (!IsWindow(hwnd)) break;
            Window* w = win(hwnd);
            if (w->parent) {
                POINT p{r.left, r.top};
                ScreenToClient(w->parent, &p);
                OffsetRect(&r, p.x - r.left, p.y - r.top);
            }
            SetWindowPos(hwnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (m.message == WM_LBUTTONUP) break;
            continue;
        }
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            SetWindowPos(hwnd, nullptr, start.left, start.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    if (s.capture == hwnd) ReleaseCapture();
    if (IsWindow(hwnd)) send(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

// A click on a window's scroll bar: an arrow scrolls a line, the track a page, the thumb jumps
// there; the window hears the request and the end of scrolling.
static void scrollBarClick(HWND hwnd, bool vertical, POINT pt) {
    Window* w = win(hwnd);
    RECT c = clientScreenRect(w);
    ScrollState& st = vertical ? w->vscroll : w->hscroll;
    int start = vertical ? c.top : c.left;
    int length = vertical ? c.bottom - c.top : c.right - c.left;
    int at = (vertical ? pt.y : pt.x) - start;
    int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    int track = std::max(0, length - 2 * arrow);
    int range = st.max - st.min + 1;
    int thumb = range > 0 && st.page ? std::max(8, track * static_cast<int>(st.page) / range) : 8;
    int span = std::max(1, range - std::max<int>(static_cast<int>(st.page), 1));
    int thumbStart = arrow + (track - thumb) * (st.pos - st.min) / span;
    WORD code;
    WORD pos = 0;
    if (at < arrow)
        code = SB_LINEUP;
    else if (at >= length - arrow)
        code = SB_LINEDOWN;
    else if (at < thumbStart)
        code = SB_PAGEUP;
    else if (at >= thumbStart + thumb)
        code = SB_PAGEDOWN;
    else {
        code = SB_THUMBPOSITION;
        pos = static_cast<WORD>(st.pos);
    }
    UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
    send(hwnd, msg, MAKEWPARAM(code, pos), 0);
    if (IsWindow(hwnd)) send(hwnd, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

LRESULT defaultColor(HDC dc, UINT msg) {
    bool windowLike = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(windowLike ? COLOR_WINDOW : COLOR_3DFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(windowLike ? COLOR_WINDOW : COLOR_3DFACE));
}

} // namespace w32

using namespace w32;

extern "C" LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = win(hwnd);
    if (!w) return 0;
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
        return TRUE;
    }
    case WM_NCHITTEST: return hitTest(hwnd, POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
    case WM_SETTEXT:
        w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        noteActivity();
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam) return 0;
        size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
        reinterpret_cast<char*>(lParam)[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH brush = w->cls->background;
        if (!brush) return 0;
        if (reinterpret_cast<UINT_PTR>(brush) <= COLOR_MENUBAR + 1)
            brush = GetSysColorBrush(static_cast<int>(reinterpret_cast<UINT_PTR>(brush)) - 1);
        RECT c;
        GetClientRect(hwnd, &c);
        FillRect(reinterpret_cast<HDC>(wParam), &c, brush);
        return 1;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd)) SetFocus(hwnd);
        return 0;
    case WM_MOUSEACTIVATE:
        if ((w->style & WS_CHILD) && w->parent) {
            LRESULT r = send(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (r) return r;
        }
        return MA_ACTIVATE;
    case WM_SETCURSOR:
        if ((w->style & WS_CHILD) && w->parent && send(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
        if (LOWORD(lParam) == HTCLIENT) {
            if (w->cls->cursor) SetCursor(w->cls->cursor);
            return TRUE;
        }
        if (static_cast<SHORT>(LOWORD(lParam)) != HTERROR && static_cast<SHORT>(LOWORD(lParam)) != HTNOWHERE) {
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            return TRUE;
        }
        return FALSE;
    case WM_WINDOWPOSCHANGED: windowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) send(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
        if (wParam == HTVSCROLL || wParam == HTHSCROLL)
            scrollBarClick(hwnd, wParam == HTVSCROLL, POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MOVE: moveLoop(hwnd); break;
        case SC_CLOSE: send(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        }
        return 0;
    case kKeyF1Message: {
        HELPINFO hi{sizeof(HELPINFO), HELPINFO_WINDOW, GetDlgCtrlID(hwnd), hwnd, 0, sys().cursorPos};
        send(hwnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&hi));
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (HIWORD(lParam) & 0x2000)) send(root(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_HELP:
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        if ((w->style & WS_CHILD) && w->parent) return send(w->parent, msg, wParam, lParam);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return defaultColor(reinterpret_cast<HDC>(wParam), msg);
    case WM_CANCELMODE:
        if (sys().capture == hwnd) ReleaseCapture();
        return 0;
    case WM_SETREDRAW: w->redraw = wParam != 0; return 0;
    case WM_SETICON: {
        HICON& slot = wParam == ICON_SMALL ? w->iconSmall : w->iconBig;
        HICON old = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: return reinterpret_cast<LRESULT>(wParam == ICON_SMALL ? w->iconSmall : w->iconBig);
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return -1;
    case WM_NCACTIVATE: return TRUE;
    default: return 0;
    }
}
