// First-use set-up: the desktop window and the predefined window classes.
#include "core.h"
#include "controls.h"

namespace w32 {

static HWND desktop = nullptr;
static bool initialised = false;

static void addSystemClass(LPCSTR name, WNDPROC proc, UINT style, int wndExtra, LPCSTR cursor,
                           HBRUSH background) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpszClassName = name;
    wc.lpfnWndProc = proc;
    wc.style = style | CS_GLOBALCLASS;
    wc.cbWndExtra = wndExtra;
    wc.hCursor = cursor ? LoadCursorA(nullptr, cursor) : nullptr;
    wc.hbrBackground = background;
    registerSystemClass(wc);
}

void ensureInit() {
    if (initialised) return;
    initialised = true;
    auto& s = sys();
    addSystemClass("#32769", DefWindowProcA, 0, 0, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1));
    auto d = std::make_unique<Window>();
    d->handle = reinterpret_cast<HWND>(0x10000);
    d->cls = findClass("#32769", nullptr);
    d->proc = DefWindowProcA;
    d->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    d->rect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    d->normalRect = d->rect;
    desktop = d->handle;
    s.windows.emplace(reinterpret_cast<UINT_PTR>(desktop), std::move(d));

    addSystemClass("#32770", DefDlgProcA, CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA, IDC_ARROW, nullptr);
    addSystemClass("Button", buttonProc, CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC, sizeof(void*),
                   IDC_ARROW, nullptr);
    addSystemClass("Static", staticProc, CS_DBLCLKS | CS_PARENTDC, sizeof(void*), IDC_ARROW, nullptr);
    addSystemClass("Edit", editProc, CS_DBLCLKS | CS_PARENTDC, sizeof(void*), IDC_IBEAM, nullptr);
    addSystemClass("ListBox", listBoxProc, CS_DBLCLKS | CS_PARENTDC, sizeof(void*), IDC_ARROW, nullptr);
    addSystemClass("ComboLBox", listBoxProc, CS_DBLCLKS | CS_SAVEBITS, sizeof(void*), IDC_ARROW, nullptr);
    addSystemClass("ComboBox", comboBoxProc, CS_DBLCLKS | CS_PARENTDC | CS_VREDRAW | CS_HREDRAW, sizeof(void*),
                   IDC_ARROW, nullptr);
    addSystemClass(TOOLTIPS_CLASSA, toolTipProc, CS_DBLCLKS | CS_SAVEBITS, sizeof(void*), IDC_ARROW, nullptr);
}

// Forget every window, class and queue: the driver's reset for tests.
void forgetDialogs();

void resetSystem() {
    auto& s = sys();
    for (HWND h : std::vector<HWND>(s.topLevels)) DestroyWindow(h);
    forgetDialogs();
    s.windows.clear();
    s.topLevels.clear();
    s.classes.clear();
    s.posted.clear();
    s.input.clear();
    s.quitPosted = false;
    s.timers.clear();
    s.timedCalls.clear();
    s.focus = s.active = s.capture = nullptr;
    s.appActive = true;
    for (auto& k : s.keyState) k = 0;
    s.cursorPos = POINT{0, 0};
    s.cursor = nullptr;
    s.lastClickWindow = nullptr;
    s.caret = Caret{};
    s.hooks.clear();
    s.clipboardOpen = false;
    s.clipboardOpener = nullptr;
    for (auto& c : s.clipboard) GlobalFree(c.second);
    s.clipboard.clear();
    s.pendingInput.clear();
    s.inputSource = nullptr;
    s.answers.clear();
    s.messageBoxes.clear();
    s.answerer = nullptr;
    s.beeps.clear();
    s.cursorChanges.clear();
    s.inputExhausted.clear();
    s.cancelledForStarvation = nullptr;
    initialised = false;
    desktop = nullptr;
    ensureInit();
}

} // namespace w32

extern "C" HWND WINAPI GetDesktopWindow(void) {
    w32::ensureInit();
    return w32::desktop;
}
