// Keyboard and mouse input: key state, a US keyboard layout for TranslateMessage and VkKeyScan,
// and the conversion of the driver's queued actions into input messages.
#include "core.h"
#include "../driver/keystate.h"

#include <cstdlib>
#include <cstring>

namespace w32 {

static const char* kShiftedDigits = ")!@#$%^&*(";

struct OemKey {
    UINT vk;
    char plain;
    char shifted;
    BYTE scan;
};
static const OemKey kOemKeys[] = {
    {VK_OEM_1, ';', ':', 39},     {VK_OEM_PLUS, '=', '+', 13},  {VK_OEM_COMMA, ',', '<', 51},
    {VK_OEM_MINUS, '-', '_', 12}, {VK_OEM_PERIOD, '.', '>', 52}, {VK_OEM_2, '/', '?', 53},
    {VK_OEM_3, '`', '~', 41},     {VK_OEM_4, '[', '{', 26},     {VK_OEM_5, '\\', '|', 43},
    {VK_OEM_6, ']', '}', 27},     {VK_OEM_7, '\'', '"', 40},
};

static BYTE scanCode(UINT vk, bool* extended) {
    *extended = false;
    static const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static const BYTE rowStart[] = {16, 30, 44};
    if (vk >= 'A' && vk <= 'Z')
        for (int r = 0; r < 3; ++r)
            if (const char* p = std::strchr(rows[r], static_cast<int>(vk))) return static_cast<BYTE>(rowStart[r] + (p - rows[r]));
    if (vk >= '1' && vk <= '9') return static_cast<BYTE>(2 + vk - '1');
    if (vk == '0') return 11;
    if (vk >= VK_F1 && vk <= VK_F1 + 9) return static_cast<BYTE>(59 + vk - VK_F1);
    for (const auto& k : kOemKeys)
        if (k.vk == vk) return k.scan;
    switch (vk) {
    case VK_ESCAPE: return 1;
    case VK_BACK: return 14;
    case VK_TAB: return 15;
    case VK_RETURN: return 28;
    case VK_CONTROL: case VK_LCONTROL: return 29;
    case VK_SHIFT: case VK_LSHIFT: return 42;
    case VK_RSHIFT: return 54;
    case VK_MENU: case VK_LMENU: return 56;
    case VK_SPACE: return 57;
    case VK_CAPITAL: return 58;
    case VK_F11: return 87;
    case VK_F12: return 88;
    }
    *extended = true;
    switch (vk) {
    case VK_HOME: return 71;
    case VK_UP: return 72;
    case VK_PRIOR: return 73;
    case VK_LEFT: return 75;
    case VK_RIGHT: return 77;
    case VK_END: return 79;
    case VK_DOWN: return 80;
    case VK_NEXT: return 81;
    case VK_INSERT: return 82;
    case VK_DELETE: return 83;
    }
    *extended = false;
    return 0;
}

static bool down(int vk) { return sys().keyState[vk & 0xFF] & 0x80; }

// The character a key produces under the current modifier state, or -1 for none.
static int keyToChar(UINT vk) {
    bool shift = down(VK_SHIFT), ctrl = down(VK_CONTROL), alt = down(VK_MENU);
    bool caps = sys().keyState[VK_CAPITAL] & 0x01;
    if (ctrl && !alt) {
        if (vk >= 'A' && vk <= 'Z') return static_cast<int>(vk - 'A' + 1);
        switch (vk) {
        case VK_OEM_4: return 27;
        case VK_OEM_5: return 28;
        case VK_OEM_6: return 29;
        case VK_RETURN: return 10;
        case VK_BACK: return 127;
        case VK_SPACE: return ' ';
        case VK_ESCAPE: return 27;
        case '2': return shift ? 0 : -1;
        case '6': return shift ? 30 : -1;
        case VK_OEM_MINUS: return shift ? 31 : -1;
        default: return -1;
        }
    }
    if (vk >= 'A' && vk <= 'Z') return (shift != caps) ? static_cast<int>(vk) : static_cast<int>(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<int>(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<int>('0' + vk - VK_NUMPAD0);
    for (const auto& k : kOemKeys)
        if (k.vk == vk) return shift ? k.shifted : k.plain;
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    default: return -1;
    }
}

static void setKey(UINT vk, bool isDown) { w32drv::applyKey(sys().keyState, vk, isDown); }

static void keyEvent(UINT vk, bool isDown) {
    auto& s = sys();
    bool wasDown = down(static_cast<int>(vk));
    setKey(vk, isDown);
    HWND target = s.focus ? s.focus : s.active;
    if (!target) return;
    bool alt = down(VK_MENU);
    bool sysKey = !s.focus || vk == VK_MENU || vk == VK_F10 || (alt && !down(VK_CONTROL));
    UINT msg = isDown ? (sysKey ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sysKey ? WM_SYSKEYUP : WM_KEYUP);
    bool extended;
    BYTE scan = scanCode(vk, &extended);
    DWORD lp = 1u | (static_cast<DWORD>(scan) << 16);
    if (extended) lp |= 1u << 24;
    if (alt && msg != WM_KEYDOWN && msg != WM_KEYUP) lp |= 1u << 29;
    if (isDown ? wasDown : true) lp |= 1u << 30;
    if (!isDown) lp |= 1u << 31;
    postInput(target, msg, vk, static_cast<LPARAM>(lp));
    // F1 asks for help: the input system follows the key with the message DefWindowProc turns
    // into WM_HELP
    if (isDown && vk == VK_F1 && !alt && !down(VK_CONTROL)) postInput(target, kKeyF1Message, 0, 0);
}

static WPARAM mouseKeys() {
    WPARAM mk = 0;
    if (down(VK_LBUTTON)) mk |= MK_LBUTTON;
    if (down(VK_RBUTTON)) mk |= MK_RBUTTON;
    if (down(VK_SHIFT)) mk |= MK_SHIFT;
    if (down(VK_CONTROL)) mk |= MK_CONTROL;
    return mk;
}

// The deepest visible, enabled window under a screen point that does not let the mouse through.
static HWND childAt(HWND parent, POINT pt) {
    Window* p = win(parent);
    if (!p) return parent;
    RECT pc = clientScreenRect(p);
    if (!PtInRect(&pc, pt)) return parent;
    for (HWND c : std::vector<HWND>(p->children)) {
        Window* w = win(c);
        if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) continue;
        RECT r = screenRect(w);
        if (!PtInRect(&r, pt)) continue;
        if (send(c, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTTRANSPARENT) continue;
        return childAt(c, pt);
    }
    return parent;
}

HWND windowAt(POINT pt) {
    for (HWND h : std::vector<HWND>(sys().topLevels)) {
        Window* w = win(h);
        if (!w || !(w->style & WS_VISIBLE)) continue;
        RECT r = screenRect(w);
        if (PtInRect(&r, pt)) return childAt(h, pt);
    }
    return nullptr;
}

static void mouseEvent(InputEvent::Kind kind, POINT pt, int delta) {
    auto& s = sys();
    s.cursorPos = pt;
    if (kind == InputEvent::Wheel) {
        HWND target = s.focus ? s.focus : s.active;
        if (target)
            postInput(target, WM_MOUSEWHEEL, MAKEWPARAM(mouseKeys(), static_cast<WORD>(static_cast<SHORT>(delta))),
                      MAKELPARAM(pt.x, pt.y));
        return;
    }
    HWND target = s.capture ? s.capture : windowAt(pt);
    if (kind == InputEvent::MouseDown) setKey(VK_LBUTTON, true);
    if (kind == InputEvent::MouseUp) setKey(VK_LBUTTON, false);
    if (!target) return;
    LRESULT hit = s.capture ? HTCLIENT : send(target, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    UINT clientMsg = kind == InputEvent::MouseDown ? WM_LBUTTONDOWN : kind == InputEvent::MouseUp ? WM_LBUTTONUP
                                                                                                    : WM_MOUSEMOVE;
    bool eat = false;
    if (kind == InputEvent::MouseDown && !s.capture) {
        HWND top = root(target);
        Window* tw = win(top);
        if (tw && (top != s.active || !s.appActive) && !(tw->exStyle & WS_EX_NOACTIVATE)) {
            LRESULT ma = send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, clientMsg));
            if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) activate(top, true);
            eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
        }
    }
    if (!IsWindow(target)) return;
    if (!s.capture) send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, clientMsg));
    if (eat || !IsWindow(target)) return;
    if (hit == HTCLIENT) {
        POINT c = pt;
        ScreenToClient(target, &c);
        UINT msg = clientMsg;
        if (kind == InputEvent::MouseDown) {
            Window* w = win(target);
            bool dbl = (w->cls->style & CS_DBLCLKS) && s.lastClickWindow == target &&
                       s.clock - s.lastClickTime <= GetDoubleClickTime() && std::abs(s.lastClickPos.x - pt.x) <= 2 &&
                       std::abs(s.lastClickPos.y - pt.y) <= 2;
            if (dbl) {
                msg = WM_LBUTTONDBLCLK;
                s.lastClickWindow = nullptr;
            } else {
                s.lastClickWindow = target;
                s.lastClickTime = s.clock;
                s.lastClickPos = pt;
            }
        }
        postInput(target, msg, mouseKeys(), MAKELPARAM(c.x, c.y));
    } else {
        UINT msg = kind == InputEvent::MouseDown ? WM_NCLBUTTONDOWN : kind == InputEvent::MouseUp ? WM_NCLBUTTONUP
                                                                                                    : WM_NCMOUSEMOVE;
        postInput(target, msg, static_cast<WPARAM>(hit), MAKELPARAM(pt.x, pt.y));
    }
}

// Timers that fired this many times in a row without changing anything are taken to go on
// doing nothing: the rest of the wait is skipped. Short waits still see every tick.
constexpr unsigned kQuietTimersBeforeSkip = 1000;

// Moves every timer due by the end of a wait to the tick it would reach next after it.
static void skipQuietTimers(std::uint64_t until) {
    for (auto& t : sys().timers)
        if (t.due <= until) t.due += ((until - t.due) / t.elapse + 1) * t.elapse;
}

static std::uint64_t nextTimerDue() {
    std::uint64_t best = UINT64_MAX;
    for (const auto& t : sys().timers)
        if (t.due > sys().clock && t.due < best) best = t.due;
    return best;
}

void dropInput() {
    auto& s = sys();
    for (const InputEvent& e : s.pendingInput) {
        if (e.kind == InputEvent::KeyUp) setKey(e.vk, false);
        if (e.kind == InputEvent::MouseUp) setKey(VK_LBUTTON, false);
    }
    s.pendingInput.clear();
}

bool feedInput() {
    auto& s = sys();
    if (s.pendingInput.empty()) {
        if (!s.inputSource) return false;
        auto source = s.inputSource; // the source may replace itself
        if (!source() || s.pendingInput.empty()) return false;
    }
    InputEvent& ev = s.pendingInput.front();
    if (ev.kind == InputEvent::Wait) {
        if (!ev.started) {
            ev.started = true;
            ev.until = s.clock + ev.ms;
            ev.activitySeen = s.activity;
        }
        if (s.activity != ev.activitySeen) {
            ev.activitySeen = s.activity;
            ev.quietTimers = 0;
        }
        std::uint64_t next = nextTimerDue();
        if (next <= ev.until && ev.quietTimers < kQuietTimersBeforeSkip) {
            s.clock = next;
            ++ev.quietTimers;
        } else {
            if (next <= ev.until) skipQuietTimers(ev.until);
            s.clock = ev.until;
            s.pendingInput.pop_front();
        }
        return true;
    }
    InputEvent e = ev;
    s.pendingInput.pop_front();
    switch (e.kind) {
    case InputEvent::KeyDown: keyEvent(e.vk, true); break;
    case InputEvent::KeyUp: keyEvent(e.vk, false); break;
    case InputEvent::Char: {
        HWND target = s.focus ? s.focus : s.active;
        if (target) postInput(target, WM_CHAR, static_cast<BYTE>(e.ch), 1);
        break;
    }
    case InputEvent::MouseMove:
    case InputEvent::MouseDown:
    case InputEvent::MouseUp:
    case InputEvent::Wheel: mouseEvent(e.kind, e.pt, e.delta); break;
    case InputEvent::SwitchAway: deactivateApp(); break;
    case InputEvent::SwitchBack: {
        HWND h = e.hwnd && IsWindow(e.hwnd) ? root(e.hwnd) : nullptr;
        if (!h)
            for (HWND t : s.topLevels)
                if (IsWindowVisible(t) && IsWindowEnabled(t)) {
                    h = t;
                    break;
                }
        if (h) activate(h, false, true);
        break;
    }
    case InputEvent::Call: {
        // what the action queues goes before the rest of the queue
        std::deque<InputEvent> rest;
        rest.swap(s.pendingInput);
        if (e.action) e.action();
        for (auto& r : rest) s.pendingInput.push_back(std::move(r));
        break;
    }
    case InputEvent::Wait: break;
    }
    return true;
}

} // namespace w32

using namespace w32;

extern "C" {

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
        return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    }
    int ch = keyToChar(static_cast<UINT>(msg->wParam));
    if (ch >= 0) {
        UINT charMsg = msg->message == WM_SYSKEYDOWN && down(VK_MENU) ? WM_SYSCHAR : WM_CHAR;
        post(msg->hwnd, charMsg, static_cast<WPARAM>(ch), msg->lParam);
    }
    return TRUE;
}

SHORT WINAPI GetKeyState(int virtKey) {
    BYTE st = sys().keyState[virtKey & 0xFF];
    return static_cast<SHORT>(((st & 0x80) ? 0xFF80 : 0) | (st & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int virtKey) {
    return static_cast<SHORT>((sys().keyState[virtKey & 0xFF] & 0x80) ? 0x8000 : 0);
}

SHORT WINAPI VkKeyScanA(CHAR c) {
    unsigned char ch = static_cast<unsigned char>(c);
    if (ch >= 'a' && ch <= 'z') return static_cast<SHORT>(ch - 'a' + 'A');
    if (ch >= 'A' && ch <= 'Z') return static_cast<SHORT>(0x100 | ch);
    if (ch >= '0' && ch <= '9') return static_cast<SHORT>(ch);
    for (int d = 0; d < 10; ++d)
        if (kShiftedDigits[d] == ch) return static_cast<SHORT>(0x100 | ('0' + d));
    for (const auto& k : kOemKeys) {
        if (k.plain == ch) return static_cast<SHORT>(k.vk);
        if (k.shifted == ch) return static_cast<SHORT>(0x100 | k.vk);
    }
    switch (ch) {
    case ' ': return VK_SPACE;
    case '\r': return VK_RETURN;
    case '\n': return 0x200 | VK_RETURN;
    case '\t': return VK_TAB;
    case 8: return VK_BACK;
    case 27: return VK_ESCAPE;
    }
    if (ch >= 1 && ch <= 26) return static_cast<SHORT>(0x200 | ('A' + ch - 1));
    return -1;
}

UINT WINAPI GetDoubleClickTime(void) { return 500; } // the system's default

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = sys().cursorPos;
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    sys().cursorPos = POINT{x, y};
    return TRUE;
}

HWND WINAPI WindowFromPoint(POINT point) { return windowAt(point); }

HWND WINAPI ChildWindowFromPoint(HWND parent, POINT point) {
    Window* p = win(parent);
    if (!p) return nullptr;
    RECT c{0, 0, 0, 0};
    GetClientRect(parent, &c);
    if (!PtInRect(&c, point)) return nullptr;
    POINT screen = point;
    ClientToScreen(parent, &screen);
    for (HWND h : p->children) {
        Window* w = win(h);
        RECT r = screenRect(w);
        if (PtInRect(&r, screen)) return h;
    }
    return parent;
}

} // extern "C"
