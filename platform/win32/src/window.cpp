// Windows: creation and destruction, the window tree, geometry, visibility, window longs.
#include "core.h"

#include <algorithm>
#include <cstring>

namespace w32 {

// Internal SetWindowPos flags that tell WM_WINDOWPOSCHANGED handling whether the client area moved
// or changed size (the values Windows uses).
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

static std::vector<HWND>& siblingsOf(Window* w) {
    if (w->parent) return win(w->parent)->children;
    return sys().topLevels;
}

static void unlink(Window* w) {
    auto& list = siblingsOf(w);
    list.erase(std::remove(list.begin(), list.end(), w->handle), list.end());
}

static bool isTopmost(HWND h) {
    Window* w = win(h);
    return w && (w->exStyle & WS_EX_TOPMOST);
}

// Top-level z-order: topmost windows first, owned windows above their owners.
static void raiseTopLevel(HWND hwnd) {
    auto& list = sys().topLevels;
    list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
    auto pos = list.begin();
    if (!isTopmost(hwnd))
        while (pos != list.end() && isTopmost(*pos)) ++pos;
    list.insert(pos, hwnd);
    std::vector<HWND> owned;
    for (HWND h : list)
        if (Window* o = win(h); o && o->owner == hwnd && h != hwnd) owned.push_back(h);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) raiseTopLevel(*it);
}

static void placeInZOrder(Window* w, HWND after) {
    if (!w->parent && (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST)) {
        if (after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
        if (after == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
        raiseTopLevel(w->handle);
        return;
    }
    auto& list = siblingsOf(w);
    list.erase(std::remove(list.begin(), list.end(), w->handle), list.end());
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        list.insert(list.begin(), w->handle);
    } else if (after == HWND_BOTTOM) {
        list.push_back(w->handle);
    } else {
        auto it = std::find(list.begin(), list.end(), after);
        list.insert(it == list.end() ? list.end() : it + 1, w->handle);
    }
}

static SIZE clientSize(const Window* w) {
    RECT c = clientScreenRect(w);
    return SIZE{c.right - c.left, c.bottom - c.top};
}

static POINT clientOrigin(const Window* w) {
    // relative to the parent's client area (screen for top-level windows)
    RECT c = clientScreenRect(w);
    POINT p{c.left, c.top};
    if (w->parent)
        if (Window* parent = win(w->parent)) {
            RECT pc = clientScreenRect(parent);
            p.x -= pc.left;
            p.y -= pc.top;
        }
    return p;
}

void invalidate(HWND hwnd, bool erase, bool children) {
    Window* w = win(hwnd);
    if (!w) return;
    noteActivity();
    w->needsPaint = true;
    w->needsErase = w->needsErase || erase;
    if (children)
        for (HWND c : std::vector<HWND>(w->children)) invalidate(c, erase, true);
}

BOOL setWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        wp.x = w->rect.left;
        wp.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        wp.cx = w->rect.right - w->rect.left;
        wp.cy = w->rect.bottom - w->rect.top;
    }
    if (wp.cx < 0) wp.cx = 0;
    if (wp.cy < 0) wp.cy = 0;
    bool visible = w->style & WS_VISIBLE;
    if ((flags & SWP_SHOWWINDOW) && visible) wp.flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !visible) wp.flags &= ~SWP_HIDEWINDOW;
    if (!(wp.flags & SWP_NOSENDCHANGING)) send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(w = win(hwnd))) return FALSE;

    SIZE oldClient = clientSize(w);
    POINT oldOrigin = clientOrigin(w);
    RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    if (newRect.right - newRect.left != w->rect.right - w->rect.left ||
        newRect.bottom - newRect.top != w->rect.bottom - w->rect.top || (wp.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS nc{{newRect, w->rect, w->rect}, &wp};
        send(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&nc));
        if (!(w = win(hwnd))) return FALSE;
    }
    if (newRect.left == w->rect.left && newRect.top == w->rect.top) wp.flags |= SWP_NOMOVE;
    if (newRect.right - newRect.left == w->rect.right - w->rect.left &&
        newRect.bottom - newRect.top == w->rect.bottom - w->rect.top)
        wp.flags |= SWP_NOSIZE;
    w->rect = newRect;
    if (!w->parent && !(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = newRect;
    if (!(wp.flags & SWP_NOZORDER)) placeInZOrder(w, wp.hwndInsertAfter);
    if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    SIZE newClient = clientSize(w);
    POINT newOrigin = clientOrigin(w);
    if (newClient.cx == oldClient.cx && newClient.cy == oldClient.cy) wp.flags |= SWP_NOCLIENTSIZE;
    if (newOrigin.x == oldOrigin.x && newOrigin.y == oldOrigin.y) wp.flags |= SWP_NOCLIENTMOVE;
    if (!(wp.flags & SWP_NOREDRAW) && (w->style & WS_VISIBLE) &&
        (!(wp.flags & SWP_NOSIZE) || (wp.flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED))))
        invalidate(hwnd, true, true);
    if (wp.flags & SWP_HIDEWINDOW) windowHiddenOrDestroyed(hwnd);
    if (!IsWindow(hwnd)) return TRUE;
    send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(wp.flags & SWP_NOACTIVATE) && IsWindow(hwnd)) {
        w = win(hwnd);
        if (w->parent)
            send(hwnd, WM_CHILDACTIVATE, 0, 0);
        else if ((w->style & WS_VISIBLE) && !(w->exStyle & WS_EX_NOACTIVATE))
            activate(hwnd, false);
    }
    return TRUE;
}

// WM_WINDOWPOSCHANGED default handling: WM_MOVE and WM_SIZE.
void windowPosChanged(HWND hwnd, const WINDOWPOS* wp) {
    Window* w = win(hwnd);
    if (!w || !wp) return;
    if (!(wp->flags & SWP_NOCLIENTMOVE)) {
        POINT o = clientOrigin(w);
        send(hwnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
    }
    if (!(w = win(hwnd))) return;
    if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_FRAMECHANGED)) {
        WPARAM type = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SIZE s = clientSize(w);
        send(hwnd, WM_SIZE, type, MAKELPARAM(s.cx, s.cy));
    }
}

static void parentNotify(HWND child, UINT event) {
    for (Window* w = win(child); w && (w->style & WS_CHILD) && !(w->exStyle & WS_EX_NOPARENTNOTIFY);) {
        HWND parent = w->parent;
        if (!parent) break;
        int id = static_cast<int>(w->id);
        send(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, id), reinterpret_cast<LPARAM>(child));
        w = win(parent);
    }
}

static void removeQueuedFor(HWND hwnd) {
    auto drop = [hwnd](std::deque<MSG>& q) {
        q.erase(std::remove_if(q.begin(), q.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }), q.end());
    };
    drop(sys().posted);
    drop(sys().input);
    auto& timers = sys().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

static void sendDestroy(HWND hwnd) {
    Window* w = win(hwnd);
    if (!w) return;
    w->destroying = true;
    if (sys().caret.hwnd == hwnd) DestroyCaret();
    send(hwnd, WM_DESTROY, 0, 0);
    if (!(w = win(hwnd))) return;
    for (HWND c : std::vector<HWND>(w->children)) sendDestroy(c);
}

static void freeWindow(HWND hwnd) {
    Window* w = win(hwnd);
    if (!w) return;
    for (HWND c : std::vector<HWND>(w->children)) freeWindow(c);
    if (!(w = win(hwnd))) return;
    send(hwnd, WM_NCDESTROY, 0, 0);
    if (!(w = win(hwnd))) return;
    auto& s = sys();
    if (s.focus == hwnd) s.focus = nullptr;
    if (s.active == hwnd) s.active = nullptr;
    if (s.capture == hwnd) s.capture = nullptr;
    if (s.caret.hwnd == hwnd) s.caret = Caret{};
    if (s.clipboardOpener == hwnd) s.clipboardOpener = nullptr;
    for (auto& other : s.windows)
        if (other.second->owner == hwnd) other.second->owner = nullptr;
    removeQueuedFor(hwnd);
    unlink(w);
    s.windows.erase(reinterpret_cast<UINT_PTR>(hwnd));
    noteActivity();
}

// Focus and activation leave a window that is hidden or about to go.
void windowHiddenOrDestroyed(HWND hwnd) {
    Window* w = win(hwnd);
    if (!w) return;
    auto& s = sys();
    if (s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture))) ReleaseCapture();
    if (w->parent) {
        if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) {
            HWND parent = w->parent;
            SetFocus(parent == GetDesktopWindow() ? nullptr : parent);
        }
        return;
    }
    if (s.active != hwnd) {
        if (s.focus && IsChild(hwnd, s.focus)) SetFocus(nullptr);
        return;
    }
    auto canActivate = [hwnd](HWND h) {
        Window* c = win(h);
        return c && h != hwnd && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) &&
               !(c->exStyle & WS_EX_NOACTIVATE) && !c->destroying;
    };
    HWND next = nullptr;
    if ((w->style & WS_POPUP) && w->owner && canActivate(w->owner)) next = w->owner;
    if (!next)
        for (HWND h : s.topLevels)
            if (canActivate(h)) {
                next = h;
                break;
            }
    activate(next, false);
}

} // namespace w32

using namespace w32;

extern "C" {

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    registerSystemClasses();
    WndClass* cls = findClass(className, instance);
    if (!cls) {
        setLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    HWND owner = nullptr;
    if (parent == HWND_MESSAGE) parent = nullptr;
    if (style & WS_CHILD) {
        if (!parent) {
            setLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        if (!win(parent)) {
            setLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (parent == GetDesktopWindow()) {
            style &= ~WS_CHILD;
            parent = nullptr;
        }
    } else if (parent) {
        if (!win(parent)) {
            setLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        owner = parent == GetDesktopWindow() ? nullptr : root(parent);
        parent = nullptr;
    }
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION;
    if (!(style & WS_CHILD)) style |= WS_CLIPSIBLINGS; // top-level windows always clip their siblings

    bool overlapped = !(style & (WS_CHILD | WS_POPUP));
    if (x == CW_USEDEFAULT) {
        x = overlapped ? 64 : 0;
        if (overlapped) y = 64;
        else if (y == CW_USEDEFAULT) y = 0;
    }
    if (y == CW_USEDEFAULT) y = 0;
    if (width == CW_USEDEFAULT) {
        width = overlapped ? 960 : 0;
        height = overlapped ? 720 : 0;
    }
    if (height == CW_USEDEFAULT) height = 0;
    if (width < 0) width = 0;
    if (height < 0) height = 0;

    auto& s = sys();
    auto wnd = std::make_unique<Window>();
    Window* w = wnd.get();
    w->handle = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 2;
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->parent = parent;
    w->owner = owner;
    w->instance = instance;
    w->id = reinterpret_cast<LONG_PTR>(menu);
    w->rect = RECT{x, y, x + width, y + height};
    w->normalRect = w->rect;
    w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
    HWND hwnd = w->handle;
    s.windows.emplace(reinterpret_cast<UINT_PTR>(hwnd), std::move(wnd));
    noteActivity();
    if (parent)
        win(parent)->children.push_back(hwnd); // later children lie below earlier ones
    else
        raiseTopLevel(hwnd);

    CREATESTRUCTA cs{param, instance, menu, parent ? parent : owner, height, width, y, x,
                     static_cast<LONG>(style), windowName, className, exStyle};
    CBT_CREATEWNDA cbt{&cs, HWND_TOP};
    if (callCbtHook(HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt))) {
        if (win(hwnd)) {
            unlink(win(hwnd));
            sys().windows.erase(reinterpret_cast<UINT_PTR>(hwnd));
        }
        return nullptr;
    }
    if (!win(hwnd)) return nullptr;
    if (!send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        freeWindow(hwnd);
        return nullptr;
    }
    if (!(w = win(hwnd))) return nullptr;
    {
        // asked, as Windows asks; the client area here follows from the styles alone
        RECT r = w->rect;
        send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
        if (!win(hwnd)) return nullptr;
    }
    if (send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!(w = win(hwnd))) return nullptr;
    {
        POINT o = clientOrigin(w);
        SIZE c = clientSize(w);
        send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.cx, c.cy));
        if (!win(hwnd)) return nullptr;
        send(hwnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
        if (!win(hwnd)) return nullptr;
    }
    parentNotify(hwnd, WM_CREATE);
    if (!win(hwnd)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return win(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    Window* w = win(hwnd);
    if (!w || hwnd == GetDesktopWindow()) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (w->destroying) return TRUE;
    if (callCbtHook(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0)) return FALSE;
    if (!(w = win(hwnd))) return TRUE;
    if (w->parent) parentNotify(hwnd, WM_DESTROY);
    if (!(w = win(hwnd))) return TRUE;
    if (w->style & WS_VISIBLE) {
        if (w->parent)
            ShowWindow(hwnd, SW_HIDE);
        else
            setWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        windowHiddenOrDestroyed(hwnd);
    }
    if (!(w = win(hwnd))) return TRUE;
    if (!w->parent) {
        std::vector<HWND> owned;
        for (auto& other : sys().windows)
            if (other.second->owner == hwnd && !other.second->destroying) owned.push_back(other.second->handle);
        for (HWND o : owned) DestroyWindow(o);
    }
    sendDestroy(hwnd);
    freeWindow(hwnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return win(hwnd) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND hwnd) { return isVisibleChain(hwnd); }

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    Window* w = win(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
    Window* w = win(hwnd);
    while (w && w->parent) {
        if (w->parent == parent) return TRUE;
        w = win(w->parent);
    }
    return FALSE;
}

BOOL WINAPI IsIconic(HWND hwnd) {
    Window* w = win(hwnd);
    return w && (w->style & WS_MINIMIZE);
}

BOOL WINAPI IsZoomed(HWND hwnd) {
    Window* w = win(hwnd);
    return w && (w->style & WS_MAXIMIZE);
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        send(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        send(hwnd, WM_CANCELMODE, 0, 0);
        if (!(w = win(hwnd))) return FALSE;
        w->style |= WS_DISABLED;
        auto& s = sys();
        if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus))) SetFocus(nullptr);
        if (s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture))) ReleaseCapture();
        send(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

static RECT iconicRect(const Window* w) {
    (void)w;
    return RECT{-32000, -32000, -32000 + 160, -32000 + 28};
}

BOOL WINAPI ShowWindow(HWND hwnd, int cmd) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
    UINT flags = SWP_NOZORDER | SWP_NOSIZE | SWP_NOMOVE;
    bool showing = true;
    bool activateIt = !w->parent;
    RECT target = w->rect;
    bool placeIt = false;
    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible) return FALSE;
        showing = false;
        activateIt = false;
        break;
    case SW_SHOWMINNOACTIVE:
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
        if (!(w->style & WS_MINIMIZE)) {
            if (!(w->style & WS_MAXIMIZE) && !w->parent) w->normalRect = w->rect;
            w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
            target = iconicRect(w);
            placeIt = true;
        }
        activateIt = false;
        break;
    case SW_SHOWMAXIMIZED:
        if (!(w->style & WS_MAXIMIZE)) {
            if (!(w->style & WS_MINIMIZE) && !w->parent) w->normalRect = w->rect;
            w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
            RECT in = frameInsets(w->style, w->exStyle);
            target = RECT{-in.left, -in.left, GetSystemMetrics(SM_CXSCREEN) + in.right,
                          GetSystemMetrics(SM_CYSCREEN) + in.bottom};
            placeIt = true;
        }
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            target = w->normalRect;
            placeIt = true;
        }
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        activateIt = false;
        break;
    case SW_SHOW:
    default:
        break;
    }
    if (showing != static_cast<bool>(wasVisible)) {
        send(hwnd, WM_SHOWWINDOW, showing, 0);
        if (!(w = win(hwnd))) return wasVisible;
    }
    flags |= showing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    if (placeIt) flags &= ~(SWP_NOSIZE | SWP_NOMOVE);
    if (!activateIt || !showing) flags |= SWP_NOACTIVATE;
    setWindowPos(hwnd, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 flags);
    return wasVisible;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = win(hwnd);
    if (!w || hwnd == GetDesktopWindow()) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if ((flags & SWP_SHOWWINDOW) && !(w->style & WS_VISIBLE)) {
        // Windows does not send WM_SHOWWINDOW here; only the visibility bit changes.
    }
    return setWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!repaint) flags |= SWP_NOREDRAW;
    return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

BOOL WINAPI BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = win(hwnd);
    if (!w || !rect) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = screenRect(w);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = win(hwnd);
    if (!w || !rect) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SIZE s = clientSize(w);
    *rect = RECT{0, 0, s.cx, s.cy};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
    Window* w = win(hwnd);
    if (!w || !point) return FALSE;
    RECT c = clientScreenRect(w);
    point->x += c.left;
    point->y += c.top;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
    Window* w = win(hwnd);
    if (!w || !point) return FALSE;
    RECT c = clientScreenRect(w);
    point->x -= c.left;
    point->y -= c.top;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT off{0, 0};
    if (from && from != GetDesktopWindow()) {
        Window* w = win(from);
        if (!w) {
            setLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        RECT c = clientScreenRect(w);
        off.x += c.left;
        off.y += c.top;
    }
    if (to && to != GetDesktopWindow()) {
        Window* w = win(to);
        if (!w) {
            setLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        RECT c = clientScreenRect(w);
        off.x -= c.left;
        off.y -= c.top;
    }
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += off.x;
        points[i].y += off.y;
    }
    return MAKELONG(static_cast<WORD>(static_cast<SHORT>(off.x)), static_cast<WORD>(static_cast<SHORT>(off.y)));
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect) return FALSE;
    RECT in = frameInsets(style, exStyle);
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    if (menu) rect->top -= GetSystemMetrics(SM_CYMENU);
    return TRUE;
}

BOOL WINAPI GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp) {
    Window* w = win(hwnd);
    if (!w || !wp) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    wp->length = sizeof(WINDOWPLACEMENT);
    wp->flags = 0;
    wp->showCmd = (w->style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                                                          : SW_SHOWNORMAL;
    wp->ptMinPosition = POINT{-1, -1};
    wp->ptMaxPosition = POINT{-1, -1};
    wp->rcNormalPosition = (w->parent || !(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) ? w->rect : w->normalRect;
    return TRUE;
}

BOOL WINAPI SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp) {
    Window* w = win(hwnd);
    if (!w || !wp) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    w->normalRect = wp->rcNormalPosition;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        const RECT& r = wp->rcNormalPosition;
        setWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (IsWindow(hwnd)) ShowWindow(hwnd, static_cast<int>(wp->showCmd));
    return TRUE;
}

HWND WINAPI GetParent(HWND hwnd) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (w->style & WS_CHILD) return w->parent;
    if (w->style & WS_POPUP) return w->owner;
    return nullptr;
}

HWND WINAPI SetParent(HWND child, HWND newParent) {
    Window* w = win(child);
    if (!w || (newParent && !win(newParent))) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (newParent == GetDesktopWindow()) newParent = nullptr;
    HWND old = w->parent ? w->parent : GetDesktopWindow();
    bool wasVisible = w->style & WS_VISIBLE;
    if (wasVisible) ShowWindow(child, SW_HIDE);
    if (!(w = win(child))) return nullptr;
    unlink(w);
    w->parent = newParent;
    if (newParent) {
        win(newParent)->children.insert(win(newParent)->children.begin(), child);
    } else {
        raiseTopLevel(child);
    }
    if (wasVisible) ShowWindow(child, SW_SHOW);
    return old;
}

HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
    Window* w = win(hwnd);
    if (!w || hwnd == GetDesktopWindow()) return nullptr;
    switch (flags) {
    case GA_PARENT: return w->parent ? w->parent : GetDesktopWindow();
    case GA_ROOT: return root(hwnd);
    case GA_ROOTOWNER: {
        HWND h = root(hwnd);
        while (Window* r = win(h)) {
            if (!r->owner) break;
            h = root(r->owner);
        }
        return h;
    }
    default: return nullptr;
    }
}

HWND WINAPI GetWindow(HWND hwnd, UINT cmd) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (cmd == GW_CHILD) {
        const auto& list = hwnd == GetDesktopWindow() ? sys().topLevels : w->children;
        return list.empty() ? nullptr : list.front();
    }
    if (cmd == GW_OWNER) return w->owner;
    if (hwnd == GetDesktopWindow()) return nullptr;
    const auto& list = siblingsOf(w);
    auto it = std::find(list.begin(), list.end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST: return list.empty() ? nullptr : list.front();
    case GW_HWNDLAST: return list.empty() ? nullptr : list.back();
    case GW_HWNDNEXT: return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list.end() || it == list.begin()) ? nullptr : *(it - 1);
    case GW_ENABLEDPOPUP:
        for (HWND h : sys().topLevels)
            if (Window* p = win(h); p && p->owner == hwnd && (p->style & WS_VISIBLE) && !(p->style & WS_DISABLED))
                return h;
        return nullptr;
    default: return nullptr;
    }
}

HWND WINAPI GetTopWindow(HWND hwnd) {
    if (!hwnd) hwnd = GetDesktopWindow();
    return GetWindow(hwnd, GW_CHILD);
}

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (!parent) return EnumWindows(proc, lParam);
    Window* w = win(parent);
    if (!w || !proc) return FALSE;
    for (HWND c : std::vector<HWND>(w->children)) {
        if (!IsWindow(c)) continue;
        if (!proc(c, lParam)) return FALSE;
        if (IsWindow(c) && !win(c)->children.empty() && !EnumChildWindows(c, proc, lParam)) return FALSE;
    }
    return TRUE;
}

BOOL WINAPI EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) return FALSE;
    for (HWND h : std::vector<HWND>(sys().topLevels))
        if (IsWindow(h) && !proc(h, lParam)) return FALSE;
    return TRUE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
    if (!win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        if (text && maxCount > 0) text[0] = 0;
        return 0;
    }
    if (!text || maxCount <= 0) return 0;
    text[0] = 0;
    return static_cast<int>(send(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
    if (!win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return static_cast<BOOL>(send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA: return w->userData;
    default:
        if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
            LONG_PTR v;
            std::memcpy(&v, w->extra.data() + index, sizeof v);
            return v;
        }
        setLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        if (value) w->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(value);
        return old;
    case GWLP_HWNDPARENT:
        if (w->parent) return reinterpret_cast<LONG_PTR>(w->parent);
        old = reinterpret_cast<LONG_PTR>(w->owner);
        w->owner = value ? root(reinterpret_cast<HWND>(value)) : nullptr;
        return old;
    case GWLP_ID:
        old = w->id;
        w->id = value;
        return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
        STYLESTRUCT ss{field, static_cast<DWORD>(value)};
        if (index == GWL_STYLE) ss.styleNew = (ss.styleNew & ~WS_VISIBLE) | (field & WS_VISIBLE) | (ss.styleNew & WS_VISIBLE);
        if (index == GWL_STYLE && !(field & WS_CHILD)) ss.styleNew |= WS_CLIPSIBLINGS;
        old = static_cast<LONG>(field);
        send(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (!(w = win(hwnd))) return old;
        DWORD& f = index == GWL_STYLE ? w->style : w->exStyle;
        f = ss.styleNew;
        send(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        return old;
    }
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        return old;
    default:
        if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
            std::memcpy(&old, w->extra.data() + index, sizeof old);
            std::memcpy(w->extra.data() + index, &value, sizeof value);
            return old;
        }
        setLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
    Window* w = win(hwnd);
    if (w && index >= 0) {
        if (static_cast<size_t>(index) + sizeof(LONG) > w->extra.size()) {
            setLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        LONG v;
        std::memcpy(&v, w->extra.data() + index, sizeof v);
        return v;
    }
    return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) {
    Window* w = win(hwnd);
    if (w && index >= 0) {
        if (static_cast<size_t>(index) + sizeof(LONG) > w->extra.size()) {
            setLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        LONG old;
        std::memcpy(&old, w->extra.data() + index, sizeof old);
        std::memcpy(w->extra.data() + index, &value, sizeof value);
        return old;
    }
    if (index == GWL_STYLE || index == GWL_EXSTYLE || index == GWLP_ID)
        return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, static_cast<LONG_PTR>(static_cast<DWORD>(value))));
    return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, value));
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return w->parent ? static_cast<int>(w->id) : 0;
}

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
    if (!hwnd) {
        for (HWND h : sys().topLevels) invalidate(h, erase, true);
        return TRUE;
    }
    if (!win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    invalidate(hwnd, erase, false);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT*) {
    Window* w = win(hwnd);
    if (!w) return FALSE;
    w->needsPaint = false;
    w->needsErase = false;
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    Window* w = win(hwnd);
    if (!w) return FALSE;
    if (w->needsPaint && isVisibleChain(hwnd)) {
        send(hwnd, WM_PAINT, 0, 0);
        if ((w = win(hwnd))) w->needsPaint = false;
    }
    return TRUE;
}

BOOL WINAPI RedrawWindow(HWND hwnd, const RECT*, HRGN, UINT flags) {
    if (!hwnd) hwnd = GetDesktopWindow();
    if (!win(hwnd)) return FALSE;
    if (flags & RDW_INVALIDATE) invalidate(hwnd, flags & RDW_ERASE, flags & RDW_ALLCHILDREN);
    if (flags & RDW_VALIDATE) ValidateRect(hwnd, nullptr);
    if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
    Window* w = win(hwnd);
    if (!w) return FALSE;
    if (rect) {
        if (w->needsPaint)
            GetClientRect(hwnd, rect);
        else
            *rect = RECT{0, 0, 0, 0};
    }
    return w->needsPaint;
}

} // extern "C"
