// Process-wide state, window lookup, geometry helpers and window classes.
#include "core.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace w32 {

System& sys() {
    static System* instance = [] {
        auto* s = new System;
        return s;
    }();
    return *instance;
}

Window* win(HWND hwnd) {
    auto& windows = sys().windows;
    auto it = windows.find(reinterpret_cast<UINT_PTR>(hwnd));
    return it == windows.end() ? nullptr : it->second.get();
}

HWND root(HWND hwnd) {
    Window* w = win(hwnd);
    while (w && w->parent) w = win(w->parent);
    return w ? w->handle : nullptr;
}

RECT screenRect(const Window* w) {
    RECT r = w->rect;
    if (w->parent) {
        if (Window* p = win(w->parent)) {
            RECT pc = clientScreenRect(p);
            OffsetRect(&r, pc.left, pc.top);
        }
    }
    return r;
}

RECT frameInsets(DWORD style, DWORD exStyle) {
    int adjust = 0;
    if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
        adjust = 1;
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME)))
        adjust = 2;
    if (style & WS_THICKFRAME) adjust += GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME);
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) adjust++;
    RECT in{adjust, adjust, adjust, adjust};
    if ((style & WS_CAPTION) == WS_CAPTION)
        in.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (exStyle & WS_EX_CLIENTEDGE) {
        in.left += GetSystemMetrics(SM_CXEDGE);
        in.right += GetSystemMetrics(SM_CXEDGE);
        in.top += GetSystemMetrics(SM_CYEDGE);
        in.bottom += GetSystemMetrics(SM_CYEDGE);
    }
    return in;
}

RECT clientScreenRect(const Window* w) {
    RECT r = screenRect(w);
    if (w->style & WS_MINIMIZE) return RECT{r.left, r.top, r.left, r.top};
    RECT in = frameInsets(w->style, w->exStyle);
    r.left += in.left;
    r.top += in.top;
    r.right -= in.right;
    r.bottom -= in.bottom;
    if (w->style & WS_VSCROLL) r.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (w->style & WS_HSCROLL) r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

bool isVisibleChain(HWND hwnd) {
    for (Window* w = win(hwnd); w; w = w->parent ? win(w->parent) : nullptr)
        if (!(w->style & WS_VISIBLE)) return false;
    return win(hwnd) != nullptr;
}

void setLastError(DWORD code) { sys().lastError = code; }

// The narrow code page is Windows-1252: Latin-1 with printable characters in 0x80..0x9F.
std::string narrow(const WCHAR* text, size_t count) {
    static const WCHAR high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::string out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        WCHAR c = text[i];
        char b = '?';
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            b = static_cast<char>(c);
        } else {
            for (int k = 0; k < 32; ++k)
                if (high[k] == c) b = static_cast<char>(0x80 + k);
        }
        out.push_back(b);
    }
    return out;
}

// ---- classes ----

static bool sameName(const std::string& a, LPCSTR b) { return strcasecmp(a.c_str(), b) == 0; }

static WndClass* classByAtom(ATOM atom) {
    for (auto& c : sys().classes)
        if (c->atom == atom) return c.get();
    return nullptr;
}

WndClass* findClass(LPCSTR name, HINSTANCE instance) {
    if (!name) return nullptr;
    if (IS_INTRESOURCE(name)) return classByAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(name)));
    WndClass* global = nullptr;
    for (auto& c : sys().classes) {
        if (!sameName(c->name, name)) continue;
        if (!c->global && c->instance == instance) return c.get();
        if (c->global && !global) global = c.get();
    }
    if (global) return global;
    // Windows also finds a local class of another module when none matches the instance.
    for (auto& c : sys().classes)
        if (sameName(c->name, name)) return c.get();
    return nullptr;
}

static ATOM addClass(const WNDCLASSEXA& wc, bool system) {
    if (!wc.lpszClassName || !wc.lpfnWndProc || wc.cbClsExtra < 0 || wc.cbWndExtra < 0) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool global = system || (wc.style & CS_GLOBALCLASS);
    for (auto& c : sys().classes) {
        if (IS_INTRESOURCE(wc.lpszClassName) || !sameName(c->name, wc.lpszClassName)) continue;
        if (c->instance == wc.hInstance || (global && c->global)) {
            setLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    }
    auto c = std::make_unique<WndClass>();
    c->name = wc.lpszClassName;
    c->style = wc.style;
    c->proc = wc.lpfnWndProc;
    c->clsExtra = wc.cbClsExtra;
    c->wndExtra = wc.cbWndExtra;
    c->instance = wc.hInstance;
    c->icon = wc.hIcon;
    c->iconSm = wc.hIconSm;
    c->cursor = wc.hCursor;
    c->background = wc.hbrBackground;
    c->menuName = wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName) ? wc.lpszMenuName : "";
    c->global = global;
    c->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
    // the desktop and dialog classes have the fixed atoms that WC_DIALOG and friends name
    if (system && c->name == "#32769")
        c->atom = 0x8001;
    else if (system && c->name == "#32770")
        c->atom = 0x8002;
    else
        c->atom = sys().nextAtom++;
    ATOM atom = c->atom;
    sys().classes.push_back(std::move(c));
    return atom;
}

ATOM registerSystemClass(const WNDCLASSEXA& wc) { return addClass(wc, true); }

} // namespace w32

using namespace w32;

extern "C" {

DWORD WINAPI GetLastError(void) { return sys().lastError; }
void WINAPI SetLastError(DWORD code) { sys().lastError = code; }

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA)) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    registerSystemClasses();
    return addClass(*wc, false);
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (!wc) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof ex;
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassExA(&ex);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    auto& classes = sys().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        WndClass* c = it->get();
        bool match = IS_INTRESOURCE(className) ? c->atom == (ATOM)(UINT_PTR)className
                                               : (className && sameName(c->name, className));
        if (!match || c->global || c->instance != instance) continue;
        for (auto& w : sys().windows)
            if (w.second->cls == c) {
                setLastError(ERROR_CLASS_HAS_WINDOWS);
                return FALSE;
            }
        classes.erase(it);
        return TRUE;
    }
    setLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR className, LPWNDCLASSEXA wc) {
    registerSystemClasses();
    WndClass* c = findClass(className, instance);
    if (!c || !wc) {
        setLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wc->style = c->style;
    wc->lpfnWndProc = c->proc;
    wc->cbClsExtra = c->clsExtra;
    wc->cbWndExtra = c->wndExtra;
    wc->hInstance = c->global ? nullptr : c->instance;
    wc->hIcon = c->icon;
    wc->hIconSm = c->iconSm;
    wc->hCursor = c->cursor;
    wc->hbrBackground = c->background;
    wc->lpszMenuName = c->menuName.empty() ? nullptr : c->menuName.c_str();
    wc->lpszClassName = c->name.c_str();
    return c->atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wc) {
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof ex;
    if (!wc || !GetClassInfoExA(instance, className, &ex)) return FALSE;
    wc->style = ex.style;
    wc->lpfnWndProc = ex.lpfnWndProc;
    wc->cbClsExtra = ex.cbClsExtra;
    wc->cbWndExtra = ex.cbWndExtra;
    wc->hInstance = ex.hInstance;
    wc->hIcon = ex.hIcon;
    wc->hCursor = ex.hCursor;
    wc->hbrBackground = ex.hbrBackground;
    wc->lpszMenuName = ex.lpszMenuName;
    wc->lpszClassName = ex.lpszClassName;
    return TRUE;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR className, int maxCount) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!className || maxCount <= 0) return 0;
    int n = std::min<int>(static_cast<int>(w->cls->name.size()), maxCount - 1);
    std::memcpy(className, w->cls->name.data(), static_cast<size_t>(n));
    className[n] = 0;
    return n;
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND hwnd, int index) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WndClass* c = w->cls;
    switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c->icon);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c->proc);
    case GCL_STYLE: return c->style;
    case GCW_ATOM: return c->atom;
    default:
        if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= c->extra.size()) {
            ULONG_PTR v;
            std::memcpy(&v, c->extra.data() + index, sizeof v);
            return v;
        }
        setLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}


} // extern "C"
