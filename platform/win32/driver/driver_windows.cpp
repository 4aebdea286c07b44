// The driver on real Windows: the same interface as the headless one, over the real API.
//
// Input is kept in a queue of the driver's own and handed to the thread one event at a time, when
// the thread has nothing else to do: Pump does it between messages, and any other message loop
// (a modal dialog's, a message box's) through a thread timer whose messages reach every loop that
// dispatches. Each event becomes the messages the system would post for it (key state set with
// SetKeyboardState, the target found by hit testing), so no window needs the real keyboard focus
// of the display. Message boxes are found with a CBT hook when they activate and answered with the
// command of the chosen button.
#include "inspect.h"
#include "keystate.h"
#include <w32drv.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <set>

namespace w32drv {
namespace {

struct Event {
    enum Kind { KeyDown, KeyUp, Char, MouseMove, MouseDown, MouseUp, Wheel, Wait, SwitchAway, SwitchBack, Call };
    Kind kind = KeyDown;
    UINT vk = 0;
    char ch = 0;
    POINT pt{};
    int delta = 0;
    DWORD ms = 0;
    HWND hwnd = nullptr;
    std::function<void()> action;
};

Event event(Event::Kind kind, UINT vk = 0) {
    Event e;
    e.kind = kind;
    e.vk = vk;
    return e;
}

constexpr UINT kFeedPeriod = USER_TIMER_MINIMUM;

struct Driver {
    std::deque<Event> input;
    std::function<bool()> source;
    bool waiting = false;
    DWORD waitUntil = 0;
    DWORD waitMs = 0;
    DWORD clock = 0; // the waits consumed since Reset
    std::multimap<DWORD, std::function<void()>> timedCalls; // CallAt, by clock
    std::deque<int> answers;
    std::function<int(const MessageBoxRecord&)> answerer;
    std::vector<MessageBoxRecord> boxes;
    std::set<HWND> answeredBoxes;
    std::vector<HWND> boxesToAnswer; // activated, answered at the next tick (set up by then)
    std::set<HWND> unseenDialogs;     // created, not shown yet
    int unseenTicks = 0;
    std::vector<HWND> exhausted;
    HWND cancelled = nullptr; // the dialog the last starvation went to, and how often
    int cancelAttempts = 0;
    HHOOK cbt = nullptr;
    UINT_PTR timer = 0;
    HWND lastClickWindow = nullptr;
    DWORD lastClickTime = 0;
    POINT lastClickPos{};
};

Driver& drv() {
    static Driver d;
    return d;
}

void CALLBACK feedTick(HWND, UINT, UINT_PTR, DWORD);
LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam);

// The hook and the timer, installed on first use (and again after a Reset that lost them).
Driver& ready() {
    Driver& d = drv();
    if (!d.cbt) d.cbt = SetWindowsHookExA(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
    if (!d.timer) d.timer = SetTimer(nullptr, 0, kFeedPeriod, feedTick);
    return d;
}

bool isFeedTick(const MSG& m) { return m.message == WM_TIMER && !m.hwnd && m.wParam == drv().timer; }

// ---- keyboard ----

bool keyDown(const BYTE* keys, int vk) { return (keys[vk & 0xFF] & 0x80) != 0; }

void changeKey(UINT vk, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    applyKey(keys, vk, down);
    SetKeyboardState(keys);
}

bool extendedKey(UINT vk) {
    switch (vk) {
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT: case VK_LEFT: case VK_RIGHT: case VK_UP:
    case VK_DOWN: case VK_INSERT: case VK_DELETE: case VK_RCONTROL: case VK_RMENU: return true;
    default: return false;
    }
}

HWND keyTarget() {
    HWND focus = GetFocus();
    return focus ? focus : GetActiveWindow();
}

void keyEvent(UINT vk, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    bool wasDown = keyDown(keys, static_cast<int>(vk));
    applyKey(keys, vk, down);
    SetKeyboardState(keys);
    HWND target = keyTarget();
    if (!target) return;
    bool alt = keyDown(keys, VK_MENU);
    bool sysKey = !GetFocus() || vk == VK_MENU || vk == VK_F10 || (alt && !keyDown(keys, VK_CONTROL));
    UINT msg = down ? (sysKey ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sysKey ? WM_SYSKEYUP : WM_KEYUP);
    DWORD lp = 1u | (MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16);
    if (extendedKey(vk)) lp |= 1u << 24;
    if (alt && sysKey) lp |= 1u << 29;
    if (down ? wasDown : true) lp |= 1u << 30;
    if (!down) lp |= 1u << 31;
    PostMessageA(target, msg, vk, static_cast<LPARAM>(lp));
    // the system follows F1 with the message DefWindowProc turns into WM_HELP (its headers do not
    // name it)
    if (down && vk == VK_F1 && !alt && !keyDown(keys, VK_CONTROL)) PostMessageA(target, 0x004D, 0, 0);
}

// ---- mouse ----

WPARAM mouseKeys() {
    BYTE keys[256];
    GetKeyboardState(keys);
    WPARAM mk = 0;
    if (keyDown(keys, VK_LBUTTON)) mk |= MK_LBUTTON;
    if (keyDown(keys, VK_RBUTTON)) mk |= MK_RBUTTON;
    if (keyDown(keys, VK_SHIFT)) mk |= MK_SHIFT;
    if (keyDown(keys, VK_CONTROL)) mk |= MK_CONTROL;
    return mk;
}

void activate(HWND top) {
    SetForegroundWindow(top);
    SetActiveWindow(top);
}

void mouseEvent(Event::Kind kind, POINT pt, int delta) {
    SetCursorPos(pt.x, pt.y);
    if (kind == Event::Wheel) {
        if (HWND target = keyTarget())
            PostMessageA(target, WM_MOUSEWHEEL, MAKEWPARAM(mouseKeys(), static_cast<WORD>(static_cast<SHORT>(delta))),
                         MAKELPARAM(pt.x, pt.y));
        return;
    }
    HWND capture = GetCapture();
    HWND target = capture ? capture : WindowFromPoint(pt);
    if (kind == Event::MouseDown) changeKey(VK_LBUTTON, true);
    if (kind == Event::MouseUp) changeKey(VK_LBUTTON, false);
    if (!target) return;
    LRESULT hit = capture ? HTCLIENT : SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    UINT clientMsg = kind == Event::MouseDown ? WM_LBUTTONDOWN : kind == Event::MouseUp ? WM_LBUTTONUP : WM_MOUSEMOVE;
    bool eat = false;
    if (kind == Event::MouseDown && !capture) {
        HWND top = GetAncestor(target, GA_ROOT);
        if (top && top != GetActiveWindow() && !(exStyleOf(top) & WS_EX_NOACTIVATE)) {
            LRESULT ma = SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, clientMsg));
            if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) activate(top);
            eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
        }
    }
    if (!IsWindow(target)) return;
    if (!capture) SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, clientMsg));
    if (eat || !IsWindow(target)) return;
    Driver& d = drv();
    if (hit == HTCLIENT) {
        POINT c = pt;
        ScreenToClient(target, &c);
        UINT msg = clientMsg;
        if (kind == Event::MouseDown) {
            DWORD now = GetTickCount();
            bool dbl = (GetClassLongA(target, GCL_STYLE) & CS_DBLCLKS) && d.lastClickWindow == target &&
                       now - d.lastClickTime <= GetDoubleClickTime() &&
                       std::abs(d.lastClickPos.x - pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                       std::abs(d.lastClickPos.y - pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            if (dbl) {
                msg = WM_LBUTTONDBLCLK;
                d.lastClickWindow = nullptr;
            } else {
                d.lastClickWindow = target;
                d.lastClickTime = now;
                d.lastClickPos = pt;
            }
        }
        PostMessageA(target, msg, mouseKeys(), MAKELPARAM(c.x, c.y));
    } else {
        UINT msg = kind == Event::MouseDown ? WM_NCLBUTTONDOWN : kind == Event::MouseUp ? WM_NCLBUTTONUP : WM_NCMOUSEMOVE;
        PostMessageA(target, msg, static_cast<WPARAM>(hit), MAKELPARAM(pt.x, pt.y));
    }
}

// ---- feeding ----

// The queued wait is over: the clock of CallAt moves on by it.
void endWait() {
    Driver& d = drv();
    d.waiting = false;
    d.clock += d.waitMs;
    d.waitMs = 0;
}

// Hands the next event to the thread; false when there is none and none will come.
bool feed() {
    Driver& d = ready();
    if (d.waiting) {
        if (static_cast<LONG>(GetTickCount() - d.waitUntil) < 0) return true;
        endWait();
    }
    if (!d.timedCalls.empty() && d.timedCalls.begin()->first <= d.clock) {
        auto action = std::move(d.timedCalls.begin()->second);
        d.timedCalls.erase(d.timedCalls.begin());
        Event e = event(Event::Call);
        e.action = std::move(action);
        d.input.push_front(std::move(e));
    }
    if (d.input.empty()) {
        if (!d.source) return false;
        auto source = d.source; // the source may replace itself
        if (!source() || d.input.empty()) return false;
    }
    Event e = std::move(d.input.front());
    d.input.pop_front();
    d.cancelled = nullptr;
    switch (e.kind) {
    case Event::KeyDown: keyEvent(e.vk, true); break;
    case Event::KeyUp: keyEvent(e.vk, false); break;
    case Event::Char:
        if (HWND target = keyTarget()) PostMessageA(target, WM_CHAR, static_cast<BYTE>(e.ch), 1);
        break;
    case Event::MouseMove:
    case Event::MouseDown:
    case Event::MouseUp:
    case Event::Wheel: mouseEvent(e.kind, e.pt, e.delta); break;
    case Event::Wait:
        d.waiting = true;
        d.waitUntil = GetTickCount() + e.ms;
        d.waitMs = e.ms;
        break;
    case Event::SwitchAway: SetForegroundWindow(GetDesktopWindow()); break;
    case Event::SwitchBack: {
        HWND h = e.hwnd && IsWindow(e.hwnd) ? GetAncestor(e.hwnd, GA_ROOT) : nullptr;
        if (!h)
            for (HWND t : topLevelWindowsOfThisProcess())
                if (IsWindowVisible(t) && IsWindowEnabled(t)) {
                    h = t;
                    break;
                }
        if (h) activate(h);
        break;
    }
    case Event::Call: {
        // what the action queues goes before the rest of the queue
        std::deque<Event> rest;
        rest.swap(d.input);
        if (e.action) e.action();
        for (auto& r : rest) d.input.push_back(std::move(r));
        break;
    }
    }
    return true;
}

// The innermost modal window: visible and enabled, its owner disabled; else an active dialog.
HWND modalWindow() {
    for (HWND h : topLevelWindowsOfThisProcess()) {
        if (!IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
        HWND owner = GetWindow(h, GW_OWNER);
        if (owner && !IsWindowEnabled(owner)) return h;
    }
    HWND active = GetActiveWindow();
    if (active && classOf(active) == "#32770" && IsWindowVisible(active)) return active;
    return nullptr;
}

// Nothing to do and no input left inside a loop other than Pump's: a person who stops typing.
// The innermost modal dialog is cancelled (recorded); a dialog that ignores the command is ended
// with IDCANCEL by the dialog manager; when that does not end it either, or there is none, the
// loop gets WM_QUIT.
void starve() {
    Driver& d = drv();
    HWND dlg = modalWindow();
    if (dlg && dlg != d.cancelled) {
        d.cancelled = dlg;
        d.cancelAttempts = 1;
        d.exhausted.push_back(dlg);
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
        return;
    }
    if (dlg && d.cancelAttempts == 1) {
        d.cancelAttempts = 2;
        EndDialog(dlg, IDCANCEL);
        return;
    }
    PostQuitMessage(0);
}

// Messages other than timers waiting for the thread: the last event is not handled yet.
bool busy() {
    return (HIWORD(GetQueueStatus(QS_ALLINPUT)) &
            (QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT)) != 0;
}

void answerBox(HWND box);

// A dialog is shown once its modal loop finds the queue empty; a due tick keeps it from that, so
// input waits until the person could have seen it and it has the keyboard.
// A dialog kept hidden on purpose holds the input up for a few ticks only.
bool dialogAboutToShow() {
    Driver& d = drv();
    // shown and, unless disabled, active: the window system hands out activation after the show
    auto seen = [](HWND h) {
        return !IsWindow(h) || (IsWindowVisible(h) && (GetActiveWindow() == h || !IsWindowEnabled(h)));
    };
    for (auto it = d.unseenDialogs.begin(); it != d.unseenDialogs.end();)
        it = seen(*it) ? d.unseenDialogs.erase(it) : std::next(it);
    if (d.unseenDialogs.empty() || ++d.unseenTicks > 20) {
        d.unseenDialogs.clear();
        d.unseenTicks = 0;
        return false;
    }
    return true;
}

void CALLBACK feedTick(HWND, UINT, UINT_PTR, DWORD) {
    Driver& d = drv();
    if (!d.boxesToAnswer.empty()) {
        std::vector<HWND> boxes;
        boxes.swap(d.boxesToAnswer);
        for (HWND b : boxes)
            if (IsWindow(b)) answerBox(b);
        return;
    }
    if (busy() || dialogAboutToShow()) return;
    if (!feed()) starve();
}

// ---- message boxes ----

// A message box is a dialog holding only its text, its icon and standard buttons.
bool isMessageBox(HWND hwnd) {
    if (classOf(hwnd) != "#32770") return false;
    bool text = false;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(c);
        std::string cls = classOf(c);
        if (cls == "Static" || cls == "STATIC") {
            if (id == 0xFFFF || id == 100) text = true;
            continue;
        }
        if ((cls == "Button" || cls == "BUTTON") && id >= IDOK && id <= IDCONTINUE) continue;
        return false;
    }
    return text;
}

std::vector<HWND> boxButtons(HWND box) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (classOf(c) == "Button" || classOf(c) == "BUTTON") out.push_back(c);
    return out;
}

// The MB_ style the box shows: its buttons, icon and default button.
UINT boxStyle(HWND box, int& defaultAnswer) {
    std::vector<HWND> buttons = boxButtons(box);
    std::set<int> ids;
    for (HWND b : buttons) ids.insert(GetDlgCtrlID(b));
    UINT style = MB_OK;
    if (ids.count(IDABORT)) style = MB_ABORTRETRYIGNORE;
    else if (ids.count(IDYES)) style = ids.count(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    else if (ids.count(IDTRYAGAIN)) style = MB_CANCELTRYCONTINUE;
    else if (ids.count(IDRETRY)) style = MB_RETRYCANCEL;
    else if (ids.count(IDCANCEL)) style = MB_OKCANCEL;
    defaultAnswer = buttons.empty() ? IDOK : GetDlgCtrlID(buttons.front());
    LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID && ids.count(LOWORD(def))) defaultAnswer = LOWORD(def);
    HWND focus = GetFocus(); // the box puts the focus on its default button
    if (focus && GetParent(focus) == box && ids.count(GetDlgCtrlID(focus))) defaultAnswer = GetDlgCtrlID(focus);
    for (size_t i = 0; i < buttons.size(); ++i)
        if (GetDlgCtrlID(buttons[i]) == defaultAnswer) style |= static_cast<UINT>(std::min<size_t>(i, 3)) * MB_DEFBUTTON2;
    static const struct {
        LPCSTR icon;
        UINT style;
    } icons[] = {{IDI_HAND, MB_ICONHAND}, {IDI_QUESTION, MB_ICONQUESTION}, {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                 {IDI_ASTERISK, MB_ICONASTERISK}};
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((styleOf(c) & SS_TYPEMASK) != SS_ICON) continue;
        HICON shown = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
        for (auto& i : icons)
            if (shown && shown == LoadIconA(nullptr, i.icon)) style |= i.style;
    }
    return style;
}

void answerBox(HWND box) {
    Driver& d = drv();
    MessageBoxRecord r;
    r.owner = GetWindow(box, GW_OWNER);
    r.caption = windowText(box);
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetDlgCtrlID(c) == 0xFFFF || GetDlgCtrlID(c) == 100) && (styleOf(c) & SS_TYPEMASK) != SS_ICON)
            r.text = windowText(c);
    int defaultAnswer = IDOK;
    r.style = boxStyle(box, defaultAnswer);
    r.answer = defaultAnswer;
    int answer = defaultAnswer;
    if (!d.answers.empty()) {
        answer = d.answers.front();
        d.answers.pop_front();
    } else if (d.answerer) {
        answer = d.answerer(r);
    }
    HWND button = GetDlgItem(box, answer);
    if (!button) {
        answer = defaultAnswer;
        button = GetDlgItem(box, answer);
    }
    r.answer = answer;
    d.boxes.push_back(r);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    Driver& d = drv();
    if (code == HCBT_ACTIVATE) {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (!d.answeredBoxes.count(h) && isMessageBox(h)) {
            d.answeredBoxes.insert(h);
            d.boxesToAnswer.push_back(h);
        }
    } else if (code == HCBT_CREATEWND) {
        HWND h = reinterpret_cast<HWND>(wParam);
        const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        if (!(create->lpcs->style & WS_CHILD) && classOf(h) == "#32770") d.unseenDialogs.insert(h);
    } else if (code == HCBT_DESTROYWND) {
        d.answeredBoxes.erase(reinterpret_cast<HWND>(wParam));
        d.unseenDialogs.erase(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(d.cbt, code, wParam, lParam);
}

// Windows of other threads, and those the system keeps for this one (input method, OLE), are
// not the program's to destroy.
bool systemWindow(HWND h) {
    if (GetWindowThreadProcessId(h, nullptr) != GetCurrentThreadId()) return true;
    std::string cls = classOf(h);
    return cls == "IME" || cls == "MSCTFIME UI" || cls == "OleMainThreadWndClass" || cls.rfind("Wine", 0) == 0 ||
           cls.rfind("__wine", 0) == 0;
}

void queue(Event e) { ready().input.push_back(std::move(e)); }

} // namespace

// ---- input ----

void KeyDown(UINT vk) { queue(event(Event::KeyDown, vk)); }
void KeyUp(UINT vk) { queue(event(Event::KeyUp, vk)); }

void QueueChar(char ch) {
    Event e = event(Event::Char);
    e.ch = ch;
    queue(e);
}

void Wait(DWORD ms) {
    Event e = event(Event::Wait);
    e.ms = ms;
    queue(e);
}

static void mouse(Event::Kind kind, POINT pt) {
    Event e = event(kind);
    e.pt = pt;
    queue(e);
}

void MouseMove(POINT screen) { mouse(Event::MouseMove, screen); }
void MouseDown(POINT screen) { mouse(Event::MouseDown, screen); }
void MouseUp(POINT screen) { mouse(Event::MouseUp, screen); }

void Wheel(POINT screen, int delta) {
    Event e = event(Event::Wheel);
    e.pt = screen;
    e.delta = delta;
    queue(e);
}

void SwitchAway() { queue(event(Event::SwitchAway)); }

void SwitchBack(HWND hwnd) {
    Event e = event(Event::SwitchBack);
    e.hwnd = hwnd;
    queue(e);
}

void Call(std::function<void()> action) {
    Event e = event(Event::Call);
    e.action = std::move(action);
    queue(std::move(e));
}

void CallAt(DWORD ms, std::function<void()> action) {
    Driver& d = ready();
    d.timedCalls.emplace(d.clock + ms, std::move(action));
}

void SetInputSource(std::function<bool()> source) { ready().source = std::move(source); }
size_t PendingInput() { return drv().input.size(); }

void ClearInput() {
    Driver& d = drv();
    for (const Event& e : d.input) {
        if (e.kind == Event::KeyUp) changeKey(e.vk, false);
        if (e.kind == Event::MouseUp) changeKey(VK_LBUTTON, false);
    }
    d.input.clear();
    d.waiting = false;
}

// ---- pumping ----

// Dispatches what is ready; false when WM_QUIT came (left in the queue for the loop outside).
// The driver's own ticks are dropped: here the driver feeds input itself.
static bool dispatchReady() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return false;
        }
        if (isFeedTick(m)) continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return true;
}

void PumpReady() {
    ready();
    dispatchReady();
}

void Pump() {
    Driver& d = ready();
    for (;;) {
        if (!dispatchReady()) return;
        if (d.waiting) {
            LONG left = static_cast<LONG>(d.waitUntil - GetTickCount());
            if (left > 0) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
                continue;
            }
            endWait();
        }
        if (!feed()) return;
    }
}

DWORD Now() { return GetTickCount(); }

// ---- message boxes and records ----

void AnswerMessageBox(int answer) { ready().answers.push_back(answer); }
void SetMessageBoxAnswerer(std::function<int(const MessageBoxRecord& box)> answerer) {
    ready().answerer = std::move(answerer);
}
std::vector<MessageBoxRecord> MessageBoxes() { return drv().boxes; }
std::vector<UINT> Beeps() { return {}; }
std::vector<HCURSOR> CursorChanges() { return {}; }
std::vector<HWND> InputExhaustedDialogs() { return drv().exhausted; }

void ClearRecords() {
    Driver& d = drv();
    d.boxes.clear();
    d.exhausted.clear();
}

void RecordDrawing(bool) {}
std::vector<Drawing> Drawings() { return {}; }
GdiObjects LiveGdiObjects() { return {}; }
size_t InstalledHooks() { return 0; }

void Reset() {
    Driver& d = ready();
    for (int round = 0; round < 4; ++round) {
        std::vector<HWND> tops;
        for (HWND h : topLevelWindowsOfThisProcess())
            if (!systemWindow(h)) tops.push_back(h);
        if (tops.empty()) break;
        for (HWND h : tops)
            if (IsWindow(h)) DestroyWindow(h);
    }
    if (GetCapture()) ReleaseCapture();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    d.input.clear();
    d.source = nullptr;
    d.waiting = false;
    d.waitMs = 0;
    d.clock = 0;
    d.timedCalls.clear();
    d.answers.clear();
    d.answerer = nullptr;
    d.boxes.clear();
    d.exhausted.clear();
    d.cancelled = nullptr;
    d.boxesToAnswer.clear();
    d.unseenDialogs.clear();
    d.unseenTicks = 0;
    d.lastClickWindow = nullptr;
    SetCursorPos(0, 0);
}

} // namespace w32drv
