// The tooltip control: tools, activation, delays on the virtual clock, relayed mouse moves,
// text (fixed, from a resource string or asked for by callback) and the maximum width.
#include "core.h"
#include "controls.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace w32 {

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kHideTimer = 2;

struct Tool {
    UINT flags;
    HWND hwnd;
    UINT_PTR id;
    RECT rect;
    HINSTANCE hinst;
    std::string text;
    bool callback;
    LPARAM lParam;
};

struct TipState {
    std::vector<Tool> tools;
    bool active = true;
    int initial = 500, autopop = 5000, reshow = 100;
    int maxWidth = -1;
    COLORREF bk = GetSysColor(COLOR_INFOBK), fg = GetSysColor(COLOR_INFOTEXT);
    int current = -1;
    bool shown = false;
    HFONT font = nullptr;
    POINT lastPoint{};
};

Tool* findTool(TipState* s, HWND hwnd, UINT_PTR id) {
    for (auto& t : s->tools)
        if (t.hwnd == hwnd && t.id == id) return &t;
    return nullptr;
}

void storeText(Tool& t, const TOOLINFOA* ti) {
    t.callback = ti->lpszText == LPSTR_TEXTCALLBACKA;
    t.text.clear();
    if (t.callback || !ti->lpszText) return;
    if (IS_INTRESOURCE(ti->lpszText)) {
        char buf[1024];
        int n = LoadStringA(ti->hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(ti->lpszText)), buf, sizeof buf);
        t.text.assign(buf, static_cast<size_t>(n));
    } else {
        t.text = ti->lpszText;
    }
}

void fillInfo(const Tool& t, TOOLINFOA* ti) {
    ti->uFlags = t.flags;
    ti->hwnd = t.hwnd;
    ti->uId = t.id;
    ti->rect = t.rect;
    ti->hinst = t.hinst;
    ti->lParam = t.lParam;
    if (ti->lpszText && ti->lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(ti->lpszText)) {
        if (t.callback)
            ti->lpszText = LPSTR_TEXTCALLBACKA;
        else {
            size_t n = std::min<size_t>(t.text.size(), 79);
            std::memcpy(ti->lpszText, t.text.data(), n);
            ti->lpszText[n] = 0;
        }
    }
}

std::string textOf(HWND tip, const Tool& t) {
    if (!t.callback) return t.text;
    NMTTDISPINFOA di{};
    di.hdr.hwndFrom = tip;
    di.hdr.idFrom = t.id;
    di.hdr.code = TTN_GETDISPINFOA;
    di.uFlags = t.flags;
    di.lParam = t.lParam;
    di.lpszText = di.szText;
    SendMessageA(t.hwnd, WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&di));
    if (!di.lpszText) return "";
    if (IS_INTRESOURCE(di.lpszText)) {
        char buf[1024];
        int n = LoadStringA(di.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(di.lpszText)), buf, sizeof buf);
        return std::string(buf, static_cast<size_t>(n));
    }
    return di.lpszText;
}

// Lines of the tip: line breaks and wrapping count only with a maximum width, as on Windows.
std::vector<std::string> layout(const std::string& text, int maxWidth, int charWidth) {
    std::vector<std::string> lines;
    if (maxWidth < 0) {
        std::string one = text;
        std::replace(one.begin(), one.end(), '\n', ' ');
        one.erase(std::remove(one.begin(), one.end(), '\r'), one.end());
        lines.push_back(one);
        return lines;
    }
    size_t perLine = static_cast<size_t>(std::max(1, maxWidth / charWidth));
    size_t start = 0;
    while (start <= text.size()) {
        size_t nl = text.find('\n', start);
        std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        para.erase(std::remove(para.begin(), para.end(), '\r'), para.end());
        while (para.size() > perLine) {
            size_t cut = para.rfind(' ', perLine);
            if (cut == std::string::npos || cut == 0) cut = perLine;
            lines.push_back(para.substr(0, cut));
            para.erase(0, cut == perLine ? cut : cut + 1);
        }
        lines.push_back(para);
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return lines;
}

void hide(HWND tip, TipState* s) {
    KillTimer(tip, kShowTimer);
    KillTimer(tip, kHideTimer);
    if (s->shown) {
        s->shown = false;
        ShowWindow(tip, SW_HIDE);
        if (s->current >= 0 && s->current < static_cast<int>(s->tools.size())) {
            const Tool& t = s->tools[static_cast<size_t>(s->current)];
            NMHDR nm{tip, t.id, TTN_POP};
            SendMessageA(t.hwnd, WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&nm));
        }
    }
}

void show(HWND tip, TipState* s) {
    if (s->current < 0 || s->current >= static_cast<int>(s->tools.size())) return;
    const Tool& t = s->tools[static_cast<size_t>(s->current)];
    std::string text = textOf(tip, t);
    if (!IsWindow(tip) || text.empty()) return;
    SIZE cell = textCellOf(s->font ? s->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    auto lines = layout(text, s->maxWidth, cell.cx);
    size_t longest = 0;
    for (auto& l : lines) longest = std::max(longest, l.size());
    int width = static_cast<int>(longest) * cell.cx + 8;
    int height = static_cast<int>(lines.size()) * cell.cy + 6;
    std::string shownText;
    for (size_t i = 0; i < lines.size(); ++i) shownText += (i ? "\n" : "") + lines[i];
    SetWindowTextA(tip, shownText.c_str());
    POINT p;
    GetCursorPos(&p);
    int x = std::min(p.x, GetSystemMetrics(SM_CXSCREEN) - width);
    int y = p.y + 20 + height > GetSystemMetrics(SM_CYSCREEN) ? p.y - height : p.y + 20;
    SetWindowPos(tip, HWND_TOPMOST, std::max(0, x), std::max(0, y), width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    s->shown = true;
    NMHDR nm{tip, t.id, TTN_SHOW};
    SendMessageA(t.hwnd, WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&nm));
    if (IsWindow(tip)) SetTimer(tip, kHideTimer, static_cast<UINT>(s->autopop), nullptr);
}

int toolAt(TipState* s, HWND hwnd, POINT client) {
    for (size_t i = 0; i < s->tools.size(); ++i) {
        const Tool& t = s->tools[i];
        if (t.flags & TTF_IDISHWND) {
            if (reinterpret_cast<HWND>(t.id) == hwnd) return static_cast<int>(i);
        } else if (t.hwnd == hwnd && PtInRect(&t.rect, client)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void relay(HWND tip, TipState* s, const MSG* m) {
    if (!m || !s->active) return;
    switch (m->message) {
    case WM_MOUSEMOVE: {
        POINT client{static_cast<SHORT>(LOWORD(m->lParam)), static_cast<SHORT>(HIWORD(m->lParam))};
        int tool = toolAt(s, m->hwnd, client);
        if (tool == s->current && (s->shown || tool < 0)) return;
        bool wasShown = s->shown;
        if (tool != s->current) hide(tip, s);
        s->current = tool;
        if (tool >= 0) SetTimer(tip, kShowTimer, static_cast<UINT>(wasShown ? s->reshow : s->initial), nullptr);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: hide(tip, s); break;
    }
}

} // namespace

LRESULT CALLBACK toolTipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = controlState<TipState>(hwnd);
    if (!s && msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE: {
        setControlState(hwnd, new TipState);
        SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_NCDESTROY:
        delete s;
        setControlState<TipState>(hwnd, nullptr);
        return 0;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER:
        KillTimer(hwnd, wParam);
        if (wParam == kShowTimer) show(hwnd, s);
        if (wParam == kHideTimer) hide(hwnd, s);
        return 0;
    case TTM_ACTIVATE:
        s->active = wParam != 0;
        if (!s->active) hide(hwnd, s);
        return 0;
    case TTM_SETDELAYTIME: {
        int ms = static_cast<SHORT>(LOWORD(lParam));
        switch (wParam) {
        case TTDT_AUTOMATIC:
            if (ms < 0) ms = 500;
            s->initial = ms;
            s->autopop = ms * 10;
            s->reshow = ms / 5;
            break;
        case TTDT_RESHOW: s->reshow = ms < 0 ? 100 : ms; break;
        case TTDT_AUTOPOP: s->autopop = ms < 0 ? 5000 : ms; break;
        case TTDT_INITIAL: s->initial = ms < 0 ? 500 : ms; break;
        }
        return 0;
    }
    case TTM_GETDELAYTIME:
        switch (wParam) {
        case TTDT_RESHOW: return s->reshow;
        case TTDT_AUTOPOP: return s->autopop;
        case TTDT_INITIAL:
        case TTDT_AUTOMATIC: return s->initial;
        }
        return 0;
    case TTM_ADDTOOLA: {
        auto* ti = reinterpret_cast<const TOOLINFOA*>(lParam);
        if (!ti) return FALSE;
        if (findTool(s, ti->hwnd, ti->uId)) return FALSE;
        Tool t{ti->uFlags, ti->hwnd, ti->uId, ti->rect, ti->hinst, "", false, ti->lParam};
        storeText(t, ti);
        s->tools.push_back(t);
        return TRUE;
    }
    case TTM_DELTOOLA: {
        auto* ti = reinterpret_cast<const TOOLINFOA*>(lParam);
        if (!ti) return 0;
        for (size_t i = 0; i < s->tools.size(); ++i)
            if (s->tools[i].hwnd == ti->hwnd && s->tools[i].id == ti->uId) {
                if (s->current == static_cast<int>(i)) hide(hwnd, s);
                s->tools.erase(s->tools.begin() + static_cast<long>(i));
                s->current = -1;
                break;
            }
        return 0;
    }
    case TTM_NEWTOOLRECTA: {
        auto* ti = reinterpret_cast<const TOOLINFOA*>(lParam);
        if (ti)
            if (Tool* t = findTool(s, ti->hwnd, ti->uId)) t->rect = ti->rect;
        return 0;
    }
    case TTM_GETTOOLINFOA: {
        auto* ti = reinterpret_cast<TOOLINFOA*>(lParam);
        Tool* t = ti ? findTool(s, ti->hwnd, ti->uId) : nullptr;
        if (!t) return FALSE;
        fillInfo(*t, ti);
        return TRUE;
    }
    case TTM_SETTOOLINFOA: {
        auto* ti = reinterpret_cast<const TOOLINFOA*>(lParam);
        Tool* t = ti ? findTool(s, ti->hwnd, ti->uId) : nullptr;
        if (!t) return 0;
        t->flags = ti->uFlags;
        t->rect = ti->rect;
        t->hinst = ti->hinst;
        t->lParam = ti->lParam;
        storeText(*t, ti);
        return 0;
    }
    case TTM_UPDATETIPTEXTA: {
        auto* ti = reinterpret_cast<const TOOLINFOA*>(lParam);
        Tool* t = ti ? findTool(s, ti->hwnd, ti->uId) : nullptr;
        if (!t) return 0;
        t->hinst = ti->hinst;
        storeText(*t, ti);
        if (s->shown && s->current >= 0 && &s->tools[static_cast<size_t>(s->current)] == t) show(hwnd, s);
        return 0;
    }
    case TTM_GETTEXTA: {
        auto* ti = reinterpret_cast<TOOLINFOA*>(lParam);
        Tool* t = ti ? findTool(s, ti->hwnd, ti->uId) : nullptr;
        if (!ti || !ti->lpszText) return 0;
        size_t size = wParam ? static_cast<size_t>(wParam) : 80;
        std::string text = t ? textOf(hwnd, *t) : "";
        size_t n = std::min(text.size(), size - 1);
        std::memcpy(ti->lpszText, text.data(), n);
        ti->lpszText[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(s->tools.size());
    case TTM_ENUMTOOLSA: {
        auto* ti = reinterpret_cast<TOOLINFOA*>(lParam);
        if (!ti || wParam >= s->tools.size()) return FALSE;
        fillInfo(s->tools[wParam], ti);
        return TRUE;
    }
    case TTM_GETCURRENTTOOLA: {
        if (!s->shown || s->current < 0) return FALSE;
        if (auto* ti = reinterpret_cast<TOOLINFOA*>(lParam)) fillInfo(s->tools[static_cast<size_t>(s->current)], ti);
        return TRUE;
    }
    case TTM_HITTESTA: {
        auto* ht = reinterpret_cast<TTHITTESTINFOA*>(lParam);
        if (!ht) return FALSE;
        int i = toolAt(s, ht->hwnd, ht->pt);
        if (i < 0) return FALSE;
        fillInfo(s->tools[static_cast<size_t>(i)], &ht->ti);
        return TRUE;
    }
    case TTM_RELAYEVENT: relay(hwnd, s, reinterpret_cast<const MSG*>(lParam)); return 0;
    case TTM_SETMAXTIPWIDTH: {
        int old = s->maxWidth;
        s->maxWidth = static_cast<int>(lParam);
        return old;
    }
    case TTM_GETMAXTIPWIDTH: return s->maxWidth;
    case TTM_SETTIPBKCOLOR: s->bk = static_cast<COLORREF>(wParam); return 0;
    case TTM_SETTIPTEXTCOLOR: s->fg = static_cast<COLORREF>(wParam); return 0;
    case TTM_GETTIPBKCOLOR: return s->bk;
    case TTM_GETTIPTEXTCOLOR: return s->fg;
    case TTM_POP: hide(hwnd, s); return 0;
    case TTM_UPDATE:
        if (s->shown) show(hwnd, s);
        return 0;
    case WM_SETFONT: s->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace w32
