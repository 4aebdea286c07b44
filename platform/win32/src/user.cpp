// Message boxes, beeps, cursors, icons, the caret, scroll bars and rectangle helpers.
#include "core.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace w32 {

static std::vector<int> boxButtons(UINT type) {
    std::vector<int> b;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: b = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: b = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: b = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: b = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: b = {IDRETRY, IDCANCEL}; break;
    case MB_CANCELTRYCONTINUE: b = {IDCANCEL, IDTRYAGAIN, IDCONTINUE}; break;
    default: b = {IDOK}; break;
    }
    if (type & MB_HELP) b.push_back(IDHELP);
    return b;
}

// Predefined cursors and icons are fixed handles derived from their resource numbers.
static HCURSOR predefined(UINT_PTR id, UINT_PTR base) { return reinterpret_cast<HCURSOR>(base + id * 4); }
constexpr UINT_PTR kCursorBase = 0x30000000;
constexpr UINT_PTR kIconBase = 0x31000000;

} // namespace w32

using namespace w32;

extern "C" {

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    auto& s = sys();
    std::vector<int> buttons = boxButtons(type);
    size_t def = (type & MB_DEFMASK) >> 8;
    int answer = def < buttons.size() ? buttons[def] : buttons.front();
    System::MessageBoxRecord box{owner, text ? text : "", caption ? caption : "Error", type, answer};
    if (!s.answers.empty()) {
        box.answer = s.answers.front();
        s.answers.pop_front();
    } else if (s.answerer) {
        // copied: the answerer may end up in a nested message box of its own
        auto answerer = s.answerer;
        int chosen = answerer(box);
        if (std::find(buttons.begin(), buttons.end(), chosen) != buttons.end()) box.answer = chosen;
    }
    noteActivity();
    s.messageBoxes.push_back(box);
    return box.answer;
}

BOOL WINAPI MessageBeep(UINT type) {
    noteActivity();
    sys().beeps.push_back(type);
    return TRUE;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (!instance && IS_INTRESOURCE(name)) {
        UINT_PTR id = reinterpret_cast<UINT_PTR>(name);
        if (id >= 32512 && id <= 32651) return predefined(id, kCursorBase);
    }
    setLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    auto& s = sys();
    HCURSOR old = s.cursor;
    if (cursor != old) {
        s.cursor = cursor;
        s.cursorChanges.push_back(cursor);
    }
    return old;
}

HCURSOR WINAPI GetCursor(void) { return sys().cursor; }

BOOL WINAPI DestroyIcon(HICON) { return TRUE; }

BOOL WINAPI CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
    if (!win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto& c = sys().caret;
    c = Caret{hwnd, width ? width : GetSystemMetrics(SM_CXBORDER), height ? height : GetSystemMetrics(SM_CYBORDER),
              POINT{0, 0}, 1};
    return TRUE;
}

BOOL WINAPI DestroyCaret(void) {
    auto& c = sys().caret;
    if (!c.hwnd) return FALSE;
    c.hwnd = nullptr;
    c.hideCount = 1;
    return TRUE;
}

BOOL WINAPI ShowCaret(HWND hwnd) {
    auto& c = sys().caret;
    if (!c.hwnd || (hwnd && hwnd != c.hwnd) || c.hideCount == 0) return FALSE;
    --c.hideCount;
    return TRUE;
}

BOOL WINAPI HideCaret(HWND hwnd) {
    auto& c = sys().caret;
    if (!c.hwnd || (hwnd && hwnd != c.hwnd)) return FALSE;
    ++c.hideCount;
    return TRUE;
}

BOOL WINAPI SetCaretPos(int x, int y) {
    auto& c = sys().caret;
    if (!c.hwnd) return FALSE;
    c.pos = POINT{x, y};
    return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = sys().caret.pos;
    return TRUE;
}

// ---- scroll bars of windows with WS_VSCROLL / WS_HSCROLL ----

static ScrollState* scrollOf(HWND hwnd, int bar) {
    Window* w = win(hwnd);
    if (!w) return nullptr;
    if (bar == SB_VERT) return &w->vscroll;
    if (bar == SB_HORZ) return &w->hscroll;
    return nullptr;
}

static void clampScroll(ScrollState* s) {
    int maxPos = s->max - std::max<int>(static_cast<int>(s->page) - 1, 0);
    if (s->pos > maxPos) s->pos = maxPos;
    if (s->pos < s->min) s->pos = s->min;
}

int WINAPI SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL) {
    ScrollState* s = scrollOf(hwnd, bar);
    if (!s || !info) return 0;
    if (info->fMask & SIF_RANGE) {
        s->min = info->nMin;
        s->max = info->nMax;
    }
    if (info->fMask & SIF_PAGE) s->page = info->nPage;
    if (info->fMask & SIF_POS) s->pos = info->nPos;
    clampScroll(s);
    // a standard scroll bar that has nothing to scroll disappears, unless asked to stay disabled
    if ((info->fMask & (SIF_RANGE | SIF_PAGE)) && !(info->fMask & SIF_DISABLENOSCROLL)) {
        bool needed = s->page ? s->max - s->min + 1 > static_cast<int>(s->page) : s->max > s->min;
        ShowScrollBar(hwnd, bar, needed);
    }
    return s->pos;
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    ScrollState* s = scrollOf(hwnd, bar);
    if (!s || !info) return FALSE;
    if (info->fMask & SIF_RANGE) {
        info->nMin = s->min;
        info->nMax = s->max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = s->page;
    if (info->fMask & SIF_POS) info->nPos = s->pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->trackPos;
    return TRUE;
}

int WINAPI SetScrollPos(HWND hwnd, int bar, int pos, BOOL) {
    ScrollState* s = scrollOf(hwnd, bar);
    if (!s) return 0;
    int old = s->pos;
    s->pos = pos;
    clampScroll(s);
    return old;
}

int WINAPI GetScrollPos(HWND hwnd, int bar) {
    ScrollState* s = scrollOf(hwnd, bar);
    return s ? s->pos : 0;
}

BOOL WINAPI SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL) {
    ScrollState* s = scrollOf(hwnd, bar);
    if (!s) return FALSE;
    s->min = minPos;
    s->max = maxPos;
    clampScroll(s);
    return TRUE;
}

BOOL WINAPI ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    Window* w = win(hwnd);
    if (!w) return FALSE;
    DWORD bits = bar == SB_VERT ? WS_VSCROLL : bar == SB_HORZ ? WS_HSCROLL : bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL) : 0;
    DWORD style = show ? (w->style | bits) : (w->style & ~bits);
    if (style != w->style) {
        w->style = style;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return TRUE;
}

// ---- rectangles ----

BOOL WINAPI SetRect(LPRECT r, int left, int top, int right, int bottom) {
    if (!r) return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}
BOOL WINAPI SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }
BOOL WINAPI CopyRect(LPRECT dst, const RECT* src) {
    if (!dst || !src) return FALSE;
    *dst = *src;
    return TRUE;
}
BOOL WINAPI IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL WINAPI PtInRect(const RECT* r, POINT p) {
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left += dx;
    r->right += dx;
    r->top += dy;
    r->bottom += dy;
    return TRUE;
}
BOOL WINAPI InflateRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
    return TRUE;
}
BOOL WINAPI IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}
BOOL WINAPI UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b) return FALSE;
    if (IsRectEmpty(a)) return CopyRect(dst, b) && !IsRectEmpty(b);
    if (IsRectEmpty(b)) return CopyRect(dst, a);
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    return TRUE;
}
BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

void WINAPI InitCommonControls(void) { ensureInit(); }
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX*) {
    ensureInit();
    return TRUE;
}

} // extern "C"

namespace w32 {
HICON predefinedIcon(UINT_PTR id) { return reinterpret_cast<HICON>(kIconBase + id * 4); }
} // namespace w32
