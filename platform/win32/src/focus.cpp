// Keyboard focus, activation (with WM_ACTIVATEAPP) and mouse capture.
#include "core.h"

namespace w32 {

void setFocusWindow(HWND hwnd) {
    auto& s = sys();
    HWND previous = s.focus;
    if (previous == hwnd) return;
    s.focus = hwnd;
    noteActivity();
    if (previous && IsWindow(previous)) {
        send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        if (s.focus != hwnd) return; // changed while losing it
    }
    if (hwnd && IsWindow(hwnd)) send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
}

void activate(HWND hwnd, bool byMouse, bool foreground) {
    auto& s = sys();
    if (hwnd && !s.appActive && !byMouse && !foreground) return;
    HWND previous = s.active;
    if (previous == hwnd && (!hwnd || s.appActive)) return;
    if (hwnd && !IsWindow(hwnd)) return;
    if (previous && previous != hwnd && IsWindow(previous)) {
        send(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
        send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous)), reinterpret_cast<LPARAM>(hwnd));
    }
    s.active = hwnd;
    if (!hwnd) {
        if (s.focus) setFocusWindow(nullptr);
        return;
    }
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!s.appActive) {
        s.appActive = true;
        for (HWND h : std::vector<HWND>(s.topLevels))
            if (IsWindow(h)) send(h, WM_ACTIVATEAPP, TRUE, 0);
    }
    if (s.active != hwnd || !IsWindow(hwnd)) return;
    send(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previous));
    send(hwnd, WM_ACTIVATE, MAKEWPARAM(byMouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(hwnd)),
         reinterpret_cast<LPARAM>(previous));
    if (s.active == hwnd && IsWindow(hwnd) && (!s.focus || root(s.focus) != hwnd))
        setFocusWindow(IsIconic(hwnd) ? nullptr : hwnd);
}

void deactivateApp() {
    auto& s = sys();
    HWND previous = s.active;
    if (previous && IsWindow(previous)) {
        send(previous, WM_NCACTIVATE, FALSE, 0);
        send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous)), 0);
    }
    s.active = nullptr;
    if (s.appActive) {
        s.appActive = false;
        for (HWND h : std::vector<HWND>(s.topLevels))
            if (IsWindow(h)) send(h, WM_ACTIVATEAPP, FALSE, 0);
    }
    if (s.capture) ReleaseCapture();
    setFocusWindow(nullptr);
}

} // namespace w32

using namespace w32;

extern "C" {

HWND WINAPI GetFocus(void) { return sys().focus; }

HWND WINAPI SetFocus(HWND hwnd) {
    auto& s = sys();
    HWND previous = s.focus;
    if (!hwnd) {
        setFocusWindow(nullptr);
        return previous;
    }
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (hwnd == previous) return previous;
    for (Window* p = w; p; p = p->parent ? win(p->parent) : nullptr)
        if (p->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
    HWND top = root(hwnd);
    if (top != s.active || !s.appActive) {
        activate(top, false);
        // in the background the window cannot become active, so it cannot take the focus
        if (s.active != top || !IsWindow(hwnd)) return nullptr;
    }
    previous = s.focus;
    setFocusWindow(hwnd);
    return previous;
}

HWND WINAPI GetActiveWindow(void) { return sys().active; }

HWND WINAPI SetActiveWindow(HWND hwnd) {
    HWND previous = sys().active;
    if (hwnd) {
        Window* w = win(hwnd);
        if (!w || w->parent) {
            setLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
    }
    activate(hwnd, false);
    return previous;
}

HWND WINAPI GetForegroundWindow(void) { return sys().appActive ? sys().active : nullptr; }

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    HWND top = root(hwnd);
    if (!top) return FALSE;
    activate(top, false, true);
    return sys().active == top;
}

HWND WINAPI GetCapture(void) { return sys().capture; }

HWND WINAPI SetCapture(HWND hwnd) {
    auto& s = sys();
    HWND previous = s.capture;
    if (hwnd && !win(hwnd)) return previous;
    s.capture = hwnd;
    if (previous && previous != hwnd && IsWindow(previous))
        send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL WINAPI ReleaseCapture(void) {
    auto& s = sys();
    HWND previous = s.capture;
    s.capture = nullptr;
    if (previous && IsWindow(previous)) send(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

} // extern "C"
