// Driver of the window system: the stand-in for a person at the keyboard and mouse and for the
// eyes on the screen. Tests and the host program queue input here, pump messages, answer message
// boxes, read the record of what the system showed, inspect windows and draw them as text
// pictures. The headless window system has it built in; on Windows a library of its own drives
// the real system with the same interface, and what real Windows cannot offer is marked
// "headless only" below (on Windows those calls do nothing or answer nothing).
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#define W32DRV
#else
#define W32DRV __attribute__((visibility("default")))
#endif

namespace w32drv {

// False on Windows: checks that need the virtual clock, the drawing record, beeps, cursor
// changes, the hook count, the fixed font metric or the headless control look are skipped there.
#ifdef _WIN32
constexpr bool kHeadless = false;
#else
constexpr bool kHeadless = true;
#endif

// Modifier bits for key strokes.
enum Modifier : unsigned { None = 0, Shift = 1, Control = 2, Alt = 4 };

// ---- input (queued; consumed by the message loops as a person's actions would be) ----
// Each event is handed over when the thread has nothing else to do, as the messages the system
// would post for it (key state, hit testing, activation, double clicks). On Windows they are
// posted the same way, so no window needs the display's keyboard focus; a modal loop gets its
// input through a thread timer of the driver.
W32DRV void KeyDown(UINT vk);
W32DRV void KeyUp(UINT vk);
// Press and release a key with modifiers held around it.
W32DRV void Key(UINT vk, unsigned modifiers = None);
// Type text: each character as the key strokes of a US keyboard; characters without a key
// arrive as WM_CHAR alone.
W32DRV void Type(const std::string& text);
// Let time pass: the virtual clock advances by ms, timers fall due on the way. Once timers
// have fired a thousand times in a row without changing anything (no message posted, nothing
// drawn, created, destroyed or set), the rest of the wait is skipped with the timers kept in
// phase. GetTickCount wraps after 49.7 days as on Windows; timers go on across the wrap.
// On Windows the wait is real time, messages handled meanwhile: exact ticks are headless only.
W32DRV void Wait(DWORD ms);
// Mouse, in screen coordinates.
W32DRV void MouseMove(POINT screen);
W32DRV void MouseDown(POINT screen);
W32DRV void MouseUp(POINT screen);
W32DRV void Click(POINT screen);
// Click the centre of a window, or a point in its client area.
W32DRV void ClickWindow(HWND hwnd);
W32DRV void ClickClient(HWND hwnd, int x, int y);
W32DRV void Wheel(POINT screen, int delta);
// The user switches to another application, or back to this one (activating hwnd).
W32DRV void SwitchAway();
W32DRV void SwitchBack(HWND hwnd);
// Runs a function when the queued input reaches this point (from inside whatever message loop is
// running then); input it queues comes right after it, before the rest of the queue.
W32DRV void Call(std::function<void()> action);
// Runs a function once the clock has run ms further, from inside whatever loop runs then. Headless
// that is the virtual clock (a thread timer); on Windows it is the waits of the queue: the function
// runs when the waits consumed from now add up to ms, in turn with the input, so it sees what the
// input before it made. Running out of input does not run it; Reset drops it.
W32DRV void CallAt(DWORD ms, std::function<void()> action);
// Asked for more input when the queue runs dry, before a modal loop counts as out of input: a
// source that queues input returns true; false means no more input will come.
W32DRV void SetInputSource(std::function<bool()> source);
// Number of queued input events not yet consumed.
W32DRV size_t PendingInput();
// Drops the queued input; keys and buttons it would have released count as released (no messages).
W32DRV void ClearInput();

// ---- pumping ----
// Dispatch messages (feeding queued input and waits) until nothing is left to do.
W32DRV void Pump();
// Dispatch what is ready now without consuming queued input.
W32DRV void PumpReady();

// ---- the clock ----
W32DRV DWORD Now();

// ---- message boxes, beeps, cursors ----
struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
    int answer;
};
// Queue the answers of the next message boxes (IDYES, IDNO, IDOK, ...). Without an answer a box
// takes its default button.
W32DRV void AnswerMessageBox(int answer);
// Asked for the answer of a box that has no queued answer (box.answer holds its default button);
// a value that is not one of the box's buttons takes the default. Empty: boxes take the default.
W32DRV void SetMessageBoxAnswerer(std::function<int(const MessageBoxRecord& box)> answerer);
W32DRV std::vector<MessageBoxRecord> MessageBoxes();
W32DRV std::vector<UINT> Beeps();                // headless only
W32DRV std::vector<HCURSOR> CursorChanges();      // headless only
// The dialogs that a modal loop ended with IDCANCEL because the queued input ran out.
W32DRV std::vector<HWND> InputExhaustedDialogs();
W32DRV void ClearRecords();
// Name of a predefined cursor handle ("IDC_WAIT", ...) or "" for others.
W32DRV std::string CursorName(HCURSOR cursor);

// ---- drawing ----
constexpr COLORREF kNoColour = 0xFFFFFFFF; // CLR_NONE of commctrl.h

// What GDI drew, for tests to read instead of pixels. While recording, each FillRect, TextOutA,
// DrawTextA (not DT_CALCRECT), LineTo, DrawFocusRect, BitBlt and Rectangle appends a record, on
// window and memory DCs alike.
struct Drawing {
    enum Kind { Fill, Text, Line, FocusRect, Blit, Box }; // Box: Rectangle
    Kind kind = Fill;
    HDC dc = nullptr;
    HWND window = nullptr; // the DC's window; null for a memory DC
    // Fill, FocusRect, Box: the rectangle; Blit: the destination; Line: from (left, top) to
    // (right, bottom); Text: DrawTextA's rectangle, or TextOutA's point as an empty rectangle.
    RECT rect{};
    COLORREF color = 0;        // Fill: the brush; Text: the text colour; Line, Box: the pen
    COLORREF back = kNoColour; // Text: the background colour, none if transparent; Box: the brush
    int width = 0;             // Line, Box: the pen's width
    std::string text;          // Text
    HDC source = nullptr;      // Blit: the source DC and the point copied from
    POINT from{};
};
// Starts recording (forgetting earlier records) or stops it. Reset stops it. Headless only.
W32DRV void RecordDrawing(bool on);
W32DRV std::vector<Drawing> Drawings();

// GDI objects created and not deleted, and DCs not released or deleted, as GetGuiResources counts
// them on Windows (stock objects and system colour brushes do not count). DeleteObject refuses an
// object still selected into a DC, as Windows does, so it stays counted. Headless only.
struct GdiObjects {
    int pens = 0, brushes = 0, bitmaps = 0, fonts = 0, dcs = 0;
    bool operator==(const GdiObjects& o) const {
        return pens == o.pens && brushes == o.brushes && bitmaps == o.bitmaps && fonts == o.fonts &&
               dcs == o.dcs;
    }
};
W32DRV GdiObjects LiveGdiObjects();

// ---- inspection ----
// Windows of classes the driver does not know describe themselves: the driver sends them the
// registered message named by kDescribeMessage (RegisterWindowMessageA) with wParam the size of
// a char buffer and lParam the buffer. A window that answers copies as much of its description
// as fits (null-terminated) and returns the whole description's length; 0 means no description
// (what DefWindowProc answers). The description is text, one item a line, unknown lines ignored:
//   top N                  index of the first row in view among the rows that follow
//   page N                 how many rows the view shows wholly
//   row DEPTH FLAGS TEXT   one displayed row of a tree (a row whose ancestors are all open), in
//                          display order, DEPTH 0 for a root row; FLAGS is '+' (closed, has
//                          children), '-' (open) or '.' (no children), then any of
//                          's' selected, 'c' caret, 'f' focus rectangle, 'd' disabled
// Only the Win32 API is involved, so a control answers the same way on Windows.
constexpr const char* kDescribeMessage = "W32DRV_DESCRIBE";

// A displayed row of a tree control.
struct TreeRow {
    int depth = 0;
    std::string text;
    bool hasChildren = false;
    bool expanded = false;
    bool selected = false;
    bool caret = false;
    bool focused = false; // the row with the focus rectangle
    bool disabled = false;
};

struct WindowInfo {
    HWND hwnd = nullptr;
    std::string className;
    int id = 0;
    std::string text;
    RECT rect{};   // window rectangle, screen coordinates
    RECT client{}; // client rectangle, screen coordinates
    DWORD style = 0;
    DWORD exStyle = 0;
    bool visible = false;
    bool enabled = false;
    bool focused = false;
    bool active = false;
    int check = -1;                 // buttons: BST_ state
    std::vector<std::string> items; // list and combo boxes
    int selection = -1;             // list and combo boxes: selected index
    int topIndex = 0;               // list boxes: first visible item; trees: first row in view
    int selStart = -1, selEnd = -1; // edits
    std::vector<TreeRow> rows;      // windows that describe themselves: their displayed rows
};
W32DRV WindowInfo Inspect(HWND hwnd);
// Children in z-order (top first), optionally the whole subtree depth-first.
W32DRV std::vector<HWND> Children(HWND hwnd, bool recursive = false);
// Visible top-level windows in z-order (top first).
W32DRV std::vector<HWND> TopLevelWindows();
// Hooks of any type still installed (a closed dialog must leave none behind). Headless only.
W32DRV size_t InstalledHooks();
// A text picture of the window, its visible children and the visible pop-ups it owns. A window
// that describes itself with rows draws the rows in view inside its rectangle:
//   >*-Parent      column 1: '>' the caret row; column 2: '*' selected, '~' disabled; then two
//    ~  +Child     spaces a level of depth, '+' closed / '-' open / ' ' no children, the text;
//                  '^' and 'v' at the right edge: rows scrolled out above and below.
W32DRV std::string Picture(HWND hwnd);

// Destroy every window and forget all state (tests start from a clean window system).
W32DRV void Reset();

} // namespace w32drv
