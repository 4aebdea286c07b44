// The BUTTON control: push buttons, check boxes, radio buttons and group boxes.
#include "core.h"
#include "controls.h"

namespace w32 {

namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    bool spaceDown = false;
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

DWORD kind(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool isCheckable(DWORD k) {
    return k == BS_CHECKBOX || k == BS_AUTOCHECKBOX || k == BS_RADIOBUTTON || k == BS_3STATE || k == BS_AUTO3STATE ||
           k == BS_AUTORADIOBUTTON;
}

bool isPush(DWORD k) { return k == BS_PUSHBUTTON || k == BS_DEFPUSHBUTTON || k == BS_PUSHBOX || k == BS_OWNERDRAW; }

// An automatic radio button unchecks the other radio buttons of its group.
void uncheckGroup(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    HWND start = hwnd;
    while (!(GetWindowLongA(start, GWL_STYLE) & WS_GROUP)) {
        HWND prev = GetWindow(start, GW_HWNDPREV);
        if (!prev) break;
        start = prev;
    }
    for (HWND c = start; c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c != start && (GetWindowLongA(c, GWL_STYLE) & WS_GROUP)) break;
        if (c != hwnd && kind(c) == BS_AUTORADIOBUTTON) SendMessageA(c, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void click(HWND hwnd, ButtonState* s) {
    switch (kind(hwnd)) {
    case BS_AUTOCHECKBOX: s->check = s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED; break;
    case BS_AUTO3STATE: s->check = (s->check + 1) % 3; break;
    case BS_AUTORADIOBUTTON:
        s->check = BST_CHECKED;
        uncheckGroup(hwnd);
        break;
    }
    InvalidateRect(hwnd, nullptr, FALSE);
    notifyParent(hwnd, BN_CLICKED);
}

} // namespace

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = controlState<ButtonState>(hwnd);
    if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE:
        setControlState(hwnd, new ButtonState);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
        delete s;
        setControlState<ButtonState>(hwnd, nullptr);
        return 0;
    case WM_GETDLGCODE: {
        DWORD k = kind(hwnd);
        if (k == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (isPush(k)) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (k == BS_RADIOBUTTON || k == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (k == BS_GROUPBOX) return DLGC_STATIC;
        return DLGC_BUTTON;
    }
    case WM_NCHITTEST:
        if (kind(hwnd) == BS_GROUPBOX) return HTTRANSPARENT;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case BM_GETCHECK: return isCheckable(kind(hwnd)) ? s->check : BST_UNCHECKED;
    case BM_SETCHECK: {
        DWORD k = kind(hwnd);
        if (!isCheckable(k)) return 0;
        UINT v = static_cast<UINT>(wParam);
        if (v == BST_INDETERMINATE && k != BS_3STATE && k != BS_AUTO3STATE) v = BST_CHECKED;
        if (v > BST_INDETERMINATE) v = BST_CHECKED;
        if (v != s->check) {
            s->check = v;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        // a checked radio button joins the tab order, as Windows does
        if ((k == BS_RADIOBUTTON || k == BS_AUTORADIOBUTTON) && v == BST_CHECKED) {
            LONG style = GetWindowLongA(hwnd, GWL_STYLE);
            if (!(style & WS_TABSTOP)) SetWindowLongA(hwnd, GWL_STYLE, style | WS_TABSTOP);
        }
        return 0;
    }
    case BM_GETSTATE:
        return (isCheckable(kind(hwnd)) ? s->check : 0) | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        s->pushed = wParam != 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case BM_SETSTYLE: {
        LONG style = GetWindowLongA(hwnd, GWL_STYLE);
        SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(style) & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK)));
        if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case BM_CLICK:
        if (IsWindowEnabled(hwnd) && IsWindowVisible(hwnd)) {
            SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
        }
        return 0;
    case BM_SETIMAGE: {
        HANDLE old = s->image;
        s->image = reinterpret_cast<HANDLE>(lParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return reinterpret_cast<LRESULT>(s->image);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != hwnd) SetFocus(hwnd);
        if (!IsWindow(hwnd)) return 0;
        SetCapture(hwnd);
        s->pushed = true;
        InvalidateRect(hwnd, nullptr, FALSE);
        if (msg == WM_LBUTTONDBLCLK && (GetWindowLongA(hwnd, GWL_STYLE) & BS_NOTIFY)) notifyParent(hwnd, BN_DOUBLECLICKED);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd) {
            RECT r;
            GetClientRect(hwnd, &r);
            POINT p{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
            bool inside = PtInRect(&r, p);
            if (inside != s->pushed) {
                s->pushed = inside;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
        }
        return 0;
    case WM_LBUTTONUP: {
        bool wasPushed = s->pushed;
        bool captured = GetCapture() == hwnd;
        s->pushed = false;
        if (captured) ReleaseCapture();
        if (wasPushed) click(hwnd, s);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (s->pushed && reinterpret_cast<HWND>(lParam) != hwnd) {
            s->pushed = false;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !s->spaceDown) {
            s->spaceDown = true;
            s->pushed = true;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && s->spaceDown) {
            s->spaceDown = false;
            bool wasPushed = s->pushed;
            s->pushed = false;
            if (wasPushed) click(hwnd, s);
        }
        return 0;
    case WM_CHAR: return 0;
    case WM_SETFOCUS:
        s->focused = true;
        InvalidateRect(hwnd, nullptr, FALSE);
        if (GetWindowLongA(hwnd, GWL_STYLE) & BS_NOTIFY) notifyParent(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        s->spaceDown = false;
        if (s->pushed) {
            s->pushed = false;
            if (GetCapture() == hwnd) ReleaseCapture();
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        if (GetWindowLongA(hwnd, GWL_STYLE) & BS_NOTIFY) notifyParent(hwnd, BN_KILLFOCUS);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
    case WM_ENABLE: {
        LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (s->font) SelectObject(dc, s->font);
        DWORD k = kind(hwnd);
        HWND parent = GetParent(hwnd);
        if (parent)
            SendMessageA(parent, isPush(k) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(hwnd));
        char text[256];
        int n = GetWindowTextA(hwnd, text, sizeof text);
        RECT r = ps.rcPaint;
        DrawTextA(dc, text, n, &r, DT_SINGLELINE | DT_VCENTER);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace w32
