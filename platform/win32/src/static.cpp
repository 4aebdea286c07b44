// The STATIC control: text, frames, rectangles and icons; transparent to the mouse unless
// SS_NOTIFY.
#include "core.h"
#include "controls.h"

namespace w32 {

namespace {
struct StaticState {
    HFONT font = nullptr;
    HANDLE image = nullptr;
};
} // namespace

LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = controlState<StaticState>(hwnd);
    if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE:
        setControlState(hwnd, new StaticState);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
        delete s;
        setControlState<StaticState>(hwnd, nullptr);
        return 0;
    case WM_NCHITTEST:
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY)) return HTTRANSPARENT;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY)
            notifyParent(hwnd, msg == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK);
        return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
        HANDLE old = s->image;
        s->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wParam : static_cast<WPARAM>(lParam));
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE: return reinterpret_cast<LRESULT>(s->image);
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
        if (HWND parent = GetParent(hwnd))
            SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
        char text[1024];
        int n = GetWindowTextA(hwnd, text, sizeof text);
        RECT r = ps.rcPaint;
        DrawTextA(dc, text, n, &r, DT_WORDBREAK);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace w32
