// Internal state of the headless window system: one per process, shared by every module that
// links the win32 library. Nothing above platform/win32 includes this header.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace w32 {

// Posted after an F1 key-down, as Windows does; DefWindowProc answers it with WM_HELP. Windows'
// headers do not name it, so the system above the subset cannot use it.
constexpr UINT kKeyF1Message = 0x004D;

struct WndClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSm = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::string menuName;
    bool global = false; // predefined or CS_GLOBALCLASS: found whatever the instance
    std::vector<unsigned char> extra;
};

struct ScrollState {
    int min = 0, max = 0, pos = 0, trackPos = 0;
    UINT page = 0;
    bool shown = false;
};

struct Window {
    HWND handle = nullptr;
    WndClass* cls = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr; // children only
    HWND owner = nullptr;  // top-level windows only
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0; // control ID (children) or menu handle (top-level)
    LONG_PTR userData = 0;
    std::string text;
    RECT rect{};       // window rectangle: parent client coordinates, screen for top-level windows
    RECT normalRect{}; // restored rectangle of a top-level window (placement)
    std::vector<unsigned char> extra;
    std::vector<HWND> children; // z-order, topmost first
    bool destroying = false;
    bool needsPaint = false;
    bool needsErase = false;
    bool redraw = true;
    HICON iconSmall = nullptr;
    HICON iconBig = nullptr;
    ScrollState vscroll, hscroll;
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    std::uint64_t due;
    std::uint64_t order; // ties between timers due at the same time go by creation
};

struct Hook {
    HHOOK handle;
    int type;
    HOOKPROC proc;
    bool removed;
};

// One queued action of the person in front of the screen.
struct InputEvent {
    enum Kind { KeyDown, KeyUp, Char, MouseMove, MouseDown, MouseUp, Wheel, Wait, SwitchAway, SwitchBack, Call };
    explicit InputEvent(Kind k, UINT key = 0) : kind(k), vk(key) {}
    Kind kind;
    UINT vk = 0;
    char ch = 0;
    POINT pt{};
    int delta = 0;
    DWORD ms = 0;
    HWND hwnd = nullptr;
    bool started = false; // waits: the clock target is set
    std::uint64_t until = 0;
    std::uint64_t activitySeen = 0; // waits: activity count when the last timer fell due
    unsigned quietTimers = 0;        // waits: timers in a row that changed nothing
    std::function<void()> action; // calls
};

struct Caret {
    HWND hwnd = nullptr;
    int width = 0, height = 0;
    POINT pos{};
    int hideCount = 1;
};

struct System {
    // windows
    std::map<UINT_PTR, std::unique_ptr<Window>> windows;
    UINT_PTR nextHandle = 0x10002;
    std::vector<HWND> topLevels; // z-order, topmost first
    std::vector<std::unique_ptr<WndClass>> classes;
    ATOM nextAtom = 0xC000;

    // queues and time
    std::deque<MSG> posted;
    std::deque<MSG> input; // hardware messages, after posted ones
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    std::uint64_t timerOrder = 0;
    UINT_PTR nextTimerId = 0x7FFF0000;
    std::uint64_t clock = 100000; // GetTickCount shows its low 32 bits, wrapping as on Windows
    MSG lastMsg{};

    // focus, activation, capture, keyboard, mouse
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    bool appActive = true;
    BYTE keyState[256]{};
    POINT cursorPos{0, 0};
    HCURSOR cursor = nullptr;
    HWND lastClickWindow = nullptr;
    std::uint64_t lastClickTime = 0;
    POINT lastClickPos{};
    UINT lastClickButton = 0;
    Caret caret;

    // hooks
    std::vector<Hook> hooks;
    UINT_PTR nextHook = 0x100;

    // clipboard
    bool clipboardOpen = false;
    HWND clipboardOpener = nullptr;
    std::map<UINT, HANDLE> clipboard;

    // errors
    DWORD lastError = 0;

    // driver
    std::deque<InputEvent> pendingInput;
    // Counts what a timer could have changed (messages posted, windows drawn, created or
    // destroyed, timers set, focus, texts, boxes, beeps): a long wait skips ahead once
    // timers keep firing without changing anything.
    std::uint64_t activity = 0;
    std::function<bool()> inputSource;
    std::map<UINT_PTR, std::function<void()>> timedCalls; // CallAt, by thread timer
    std::deque<int> answers;
    struct MessageBoxRecord {
        HWND owner;
        std::string text, caption;
        UINT style;
        int answer;
    };
    std::vector<MessageBoxRecord> messageBoxes;
    // asked for a box without a queued answer; record.answer holds the default button
    std::function<int(const MessageBoxRecord&)> answerer;
    std::vector<UINT> beeps;
    std::vector<HCURSOR> cursorChanges;
    std::vector<HWND> inputExhausted;
    HWND cancelledForStarvation = nullptr;
};

System& sys();

// Window lookup: null for an invalid or destroyed handle.
Window* win(HWND hwnd);
// Top-level ancestor (the window itself when top-level).
HWND root(HWND hwnd);
// Window rectangle in screen coordinates and client rectangle in screen coordinates.
RECT screenRect(const Window* w);
RECT clientScreenRect(const Window* w);
// Non-client insets of a style combination: left, top, right, bottom.
RECT frameInsets(DWORD style, DWORD exStyle);
bool isVisibleChain(HWND hwnd); // the window and every ancestor visible

// The desktop window and the predefined classes come into being on first use.
void ensureInit();
ATOM registerSystemClass(const WNDCLASSEXA& wc);

// Class lookup for creation.
WndClass* findClass(LPCSTR name, HINSTANCE instance);
inline void registerSystemClasses() { ensureInit(); }

// Messages
LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline void noteActivity() { ++sys().activity; }
void postInput(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Calls the CBT hooks; a non-zero result vetoes the action.
LRESULT callCbtHook(int code, WPARAM wParam, LPARAM lParam);
// Takes one step of the queued driver input; false when none is left.
bool feedInput();
// Drops the queued input; the keys and buttons it would have released are released.
void dropInput();

// Focus and activation internals
// An application in the background activates nothing until it is brought to the foreground
// (a click on one of its windows, the person switching back, SetForegroundWindow).
void activate(HWND hwnd, bool byMouse, bool foreground = false);
void deactivateApp();
void setFocusWindow(HWND hwnd);
void windowHiddenOrDestroyed(HWND hwnd);

// Painting
void invalidate(HWND hwnd, bool erase, bool children);

// Geometry changes with their messages (SetWindowPos core) and their default handling.
BOOL setWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags);
void windowPosChanged(HWND hwnd, const WINDOWPOS* wp);

void setLastError(DWORD code);


// Cell size (character width, line height) of a font's fixed text metric; null: the system font.
SIZE textCellOf(HFONT font);

// Predefined cursors and icons.
HICON predefinedIcon(UINT_PTR id);

// Text conversions between dialog template UTF-16 and the narrow code page.
std::string narrow(const WCHAR* text, size_t count);

} // namespace w32
