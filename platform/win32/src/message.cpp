// Messages: sending, posting, the message queue with its priorities, timers and hooks.
#include "core.h"

#include <algorithm>
#include <string>

namespace w32 {

LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = win(hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WNDPROC proc = w->proc;
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

static MSG makeMsg(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MSG m{hwnd, msg, wParam, lParam, static_cast<DWORD>(sys().clock), sys().cursorPos};
    return m;
}

void post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    noteActivity();
    sys().posted.push_back(makeMsg(hwnd, msg, wParam, lParam));
}

void postInput(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    sys().input.push_back(makeMsg(hwnd, msg, wParam, lParam));
}

// Messages for a window filter also take those of its children.
static bool matchesWindow(HWND filter, HWND target) {
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
    return target == filter || IsChild(filter, target);
}

static bool matchesRange(UINT msg, UINT min, UINT max) {
    if (min == 0 && max == 0) return true;
    if (min <= max) return msg >= min && msg <= max;
    return msg >= min || msg <= max;
}

static bool takeFrom(std::deque<MSG>& q, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!matchesWindow(filter, it->hwnd) || !matchesRange(it->message, min, max)) continue;
        *out = *it;
        if (remove) q.erase(it);
        return true;
    }
    return false;
}

static bool paintMessage(MSG* out, HWND filter, UINT min, UINT max) {
    if (!matchesRange(WM_PAINT, min, max)) return false;
    for (auto& entry : sys().windows) {
        Window* w = entry.second.get();
        if (!w->needsPaint || !matchesWindow(filter, w->handle)) continue;
        if (!isVisibleChain(w->handle)) continue;
        *out = makeMsg(w->handle, WM_PAINT, 0, 0);
        return true;
    }
    return false;
}

static bool timerMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    if (!matchesRange(WM_TIMER, min, max)) return false;
    auto& s = sys();
    Timer* best = nullptr;
    for (auto& t : s.timers) {
        if (t.due > s.clock || !matchesWindow(filter, t.hwnd)) continue;
        if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
    }
    if (!best) return false;
    *out = makeMsg(best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc));
    if (remove) best->due = s.clock + best->elapse;
    return true;
}

static bool callGetMessageHooks(MSG* msg, UINT removeFlag) {
    auto hooks = sys().hooks; // a hook may unhook itself
    for (auto& h : hooks) {
        if (h.type != WH_GETMESSAGE || h.removed) continue;
        bool stillThere = std::any_of(sys().hooks.begin(), sys().hooks.end(),
                                      [&](const Hook& x) { return x.handle == h.handle && !x.removed; });
        if (!stillThere) continue;
        h.proc(HC_ACTION, removeFlag & PM_REMOVE, reinterpret_cast<LPARAM>(msg));
        break; // the hook calls the next one itself through CallNextHookEx
    }
    return true;
}

// One pass over the queue in Windows' order: posted, quit, input, paint, timers.
static bool peekReady(MSG* out, HWND filter, UINT min, UINT max, UINT flags) {
    auto& s = sys();
    bool remove = flags & PM_REMOVE;
    if (takeFrom(s.posted, out, filter, min, max, remove)) return true;
    if (s.quitPosted) {
        *out = makeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0);
        if (remove) s.quitPosted = false;
        return true;
    }
    if (takeFrom(s.input, out, filter, min, max, remove)) return true;
    if (paintMessage(out, filter, min, max)) return true;
    return timerMessage(out, filter, min, max, remove);
}

static bool peek(MSG* out, HWND filter, UINT min, UINT max, UINT flags, bool consumeInput) {
    for (;;) {
        if (peekReady(out, filter, min, max, flags)) {
            callGetMessageHooks(out, flags);
            sys().lastMsg = *out;
            return true;
        }
        if (!consumeInput || !feedInput()) return false;
    }
}

// The innermost modal window: an enabled, visible top-level window whose owner is disabled.
static HWND modalWindow() {
    auto& s = sys();
    for (HWND h : s.topLevels) {
        Window* w = win(h);
        if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED) || w->destroying) continue;
        Window* owner = win(w->owner);
        if (owner && (owner->style & WS_DISABLED)) return h;
    }
    return nullptr;
}

extern HWND currentDialogBoxLoop();

// Nothing queued and no input left: a person who stops typing. The innermost modal dialog is
// cancelled (recorded); when that does not end it, or there is none, the loop gets WM_QUIT.
static void starve() {
    auto& s = sys();
    HWND dlg = currentDialogBoxLoop();
    if (!dlg) dlg = modalWindow();
    if (!dlg && s.active) {
        // a modal loop of a framework may run a dialog that has no owner
        char cls[16] = "";
        GetClassNameA(s.active, cls, sizeof cls);
        if (std::string(cls) == "#32770" && IsWindowVisible(s.active)) dlg = s.active;
    }
    if (dlg && dlg != s.cancelledForStarvation) {
        s.cancelledForStarvation = dlg;
        s.inputExhausted.push_back(dlg);
        post(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
        return;
    }
    s.quitPosted = true;
    s.quitCode = 0;
}

LRESULT callCbtHook(int code, WPARAM wParam, LPARAM lParam) {
    auto hooks = sys().hooks;
    for (auto& h : hooks)
        if (h.type == WH_CBT) return h.proc(code, wParam, lParam); // the hook chains on itself
    return 0;
}

bool getMessage(MSG* msg, HWND filter, UINT min, UINT max) {
    for (;;) {
        if (peek(msg, filter, min, max, PM_REMOVE, true)) return true;
        starve();
    }
}

} // namespace w32

using namespace w32;

extern "C" {

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { return send(hwnd, msg, wParam, lParam); }

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    post(hwnd, msg, wParam, lParam);
    return TRUE;
}

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (threadId != GetCurrentThreadId()) {
        setLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    post(nullptr, msg, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    sys().quitPosted = true;
    sys().quitCode = exitCode;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) {
        setLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    getMessage(msg, hwnd, filterMin, filterMax);
    return msg->message != WM_QUIT;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (!msg) return FALSE;
    return peek(msg, hwnd, filterMin, filterMax, removeMsg, false);
}

BOOL WINAPI WaitMessage(void) {
    MSG m;
    while (!peek(&m, nullptr, 0, 0, PM_NOREMOVE, false)) {
        if (!feedInput()) starve();
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        // only a timer that still exists runs its procedure
        bool alive = std::any_of(sys().timers.begin(), sys().timers.end(), [&](const Timer& t) {
            return t.hwnd == msg->hwnd && t.id == msg->wParam && t.proc == proc;
        });
        if (alive) proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd) return 0;
    Window* w = win(msg->hwnd);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LRESULT r = send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT)
        if ((w = win(msg->hwnd))) w->needsPaint = false; // a handler that never validates must not loop
    return r;
}

DWORD WINAPI GetMessagePos(void) {
    const POINT& p = sys().lastMsg.pt;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y))));
}

LONG WINAPI GetMessageTime(void) { return static_cast<LONG>(sys().lastMsg.time); }

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return 0;
    return proc(hwnd, msg, wParam, lParam);
}

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    auto& s = sys();
    if (hwnd && !win(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    noteActivity();
    if (elapse < 10) elapse = 10;
    if (elapse > 0x7FFFFFFF) elapse = 0x7FFFFFFF;
    if (!hwnd) id = s.nextTimerId++;
    for (auto& t : s.timers)
        if (t.hwnd == hwnd && t.id == id) {
            t.elapse = elapse;
            t.proc = proc;
            t.due = s.clock + elapse;
            t.order = s.timerOrder++;
            return id ? id : 1;
        }
    s.timers.push_back(Timer{hwnd, id, elapse, proc, s.clock + elapse, s.timerOrder++});
    return id ? id : 1;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = sys().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) return FALSE;
    noteActivity();
    timers.erase(it);
    return TRUE;
}

HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId) {
    if (!proc || (idHook != WH_GETMESSAGE && idHook != WH_MSGFILTER && idHook != WH_CBT)) {
        setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (threadId == 0 && !module) {
        setLastError(ERROR_HOOK_NEEDS_HMOD);
        return nullptr;
    }
    auto& s = sys();
    HHOOK h = reinterpret_cast<HHOOK>(s.nextHook);
    s.nextHook += 4;
    s.hooks.insert(s.hooks.begin(), Hook{h, idHook, proc, false}); // the newest hook is called first
    return h;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) {
    auto& hooks = sys().hooks;
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == hooks.end()) {
        setLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    hooks.erase(it);
    return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    auto hooks = sys().hooks;
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == hooks.end()) return 0;
    int type = it->type;
    for (++it; it != hooks.end(); ++it)
        if (it->type == type) return it->proc(code, wParam, lParam);
    return 0;
}

BOOL WINAPI CallMsgFilterA(LPMSG msg, int code) {
    auto hooks = sys().hooks;
    for (auto& h : hooks)
        if (h.type == WH_MSGFILTER) return h.proc(code, 0, reinterpret_cast<LPARAM>(msg)) != 0;
    return FALSE;
}

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(sys().clock); }
ULONGLONG WINAPI GetTickCount64(void) { return sys().clock; }

} // extern "C"
