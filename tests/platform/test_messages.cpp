// The message queue: priorities, filters, WM_QUIT, keyboard translation, timers on the virtual
// clock and message hooks.
#include "fixture.h"

namespace {

std::vector<MSG> drain() {
    std::vector<MSG> out;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        out.push_back(m);
        DispatchMessageA(&m); // a paint request stays queued until it is handled
    }
    return out;
}

std::vector<DWORD> timerProcTimes;
void CALLBACK recordTimer(HWND, UINT, UINT_PTR, DWORD time) { timerProcTimes.push_back(time); }

// Changes a window on every tick: a timer that keeps doing something.
HWND busyTarget = nullptr;
int busyTicks = 0;
void CALLBACK busyTimer(HWND, UINT, UINT_PTR, DWORD) {
    ++busyTicks;
    SetWindowTextA(busyTarget, std::to_string(busyTicks).c_str());
}

std::vector<UINT> hookedMessages;
HHOOK hook = nullptr;
LRESULT CALLBACK swallowKeys(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        hookedMessages.push_back(m->message);
        if (m->message == WM_KEYDOWN) {
            m->message = WM_NULL;
            m->wParam = 0;
            m->lParam = 0;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

TEST_F(Win32Test, PostedMessagesComeFirstInOrderThenInputThenQuit) {
    HEADLESS_ONLY("input read by a raw message loop");
    HWND w = topLevel();
    SetFocus(w);
    drain();
    w32drv::Key('A');
    MSG m;
    // queued input is not consumed by PeekMessage: a person's keystroke arrives when the loop waits
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    PostMessageA(w, WM_USER + 1, 1, 0);
    PostMessageA(w, WM_USER + 2, 2, 0);
    PostQuitMessage(7);
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 7u);
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(m.hwnd, w);
    EXPECT_EQ(m.wParam, static_cast<WPARAM>('A'));
}

TEST_F(Win32Test, PeekFiltersByWindowAndRangeAndAPaintRequestComesOnceAfterOtherMessages) {
    HWND a = topLevel();
    HWND b = topLevel();
    HWND childOfA = child(a, "TestWindow", "", 0, 0, 0, 5, 5, 1);
    drain();
    PostMessageA(b, WM_USER, 0, 0);
    PostMessageA(childOfA, WM_USER + 5, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, a, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.hwnd, childOfA);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER + 1, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 5));
    EXPECT_FALSE(PeekMessageA(&m, a, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.hwnd, b);

    HWND w = topLevel();
    drain();
    InvalidateRect(w, nullptr, TRUE);
    PostMessageA(w, WM_USER, 0, 0);
    std::vector<MSG> got;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.hwnd == w) got.push_back(m); // the driver and the system have their own
        DispatchMessageA(&m);
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(got[1].message, static_cast<UINT>(WM_PAINT));
    EXPECT_TRUE(Log::saw(w, WM_ERASEBKGND));
}

TEST_F(Win32Test, KeysGoToTheFocusWindowAndTranslateMessageMakesCharactersWithModifiers) {
    HWND w = topLevel();
    SetFocus(w);
    drain();
    w32drv::Type("aB1!");
    w32drv::Key('C', w32drv::Control);
    w32drv::Key(VK_RETURN);
    w32drv::Key(VK_LEFT);
    w32drv::Pump();
    std::string chars;
    for (auto& r : Log::all())
        if (r.hwnd == w && r.msg == WM_CHAR) chars.push_back(static_cast<char>(r.wParam));
    EXPECT_EQ(chars, std::string("aB1!\x03\r"));
    // the Control key state is what a handler sees while the key is held
    const Received* down = Log::last(w, WM_KEYDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_TRUE(down->lParam & (1 << 24)); // arrow keys are extended keys
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
    // a character without a key arrives as WM_CHAR alone
    HWND a = child(w, "TestWindow", "", 0, 0, 0, 5, 5, 1);
    SetFocus(a);
    Log::clear();
    w32drv::Type("\xe4");
    w32drv::Pump();
    EXPECT_EQ(Log::count(a, WM_KEYDOWN), 0);
    ASSERT_EQ(Log::count(a, WM_CHAR), 1);
    EXPECT_EQ(Log::last(a, WM_CHAR)->wParam, 0xE4u);
    EXPECT_EQ(Log::count(w, WM_CHAR), 0);
}

TEST_F(Win32Test, TimersFireOnTheVirtualClockWithoutCatchingUpAndRestartWhenSetAgain) {
    HEADLESS_ONLY("the virtual clock");
    HWND w = topLevel();
    drain();
    DWORD start = GetTickCount();
    ASSERT_EQ(SetTimer(w, 5, 200, nullptr), 5u);
    w32drv::Wait(650);
    w32drv::Pump();
    std::vector<DWORD> times;
    for (auto& r : Log::all())
        if (r.hwnd == w && r.msg == WM_TIMER) {
            EXPECT_EQ(r.wParam, 5u);
            times.push_back(0);
        }
    EXPECT_EQ(times.size(), 3u); // at 200, 400 and 600 ms
    EXPECT_EQ(GetTickCount() - start, 650u);
    // a long pause delivers one WM_TIMER, not one per missed period
    Log::clear();
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    ASSERT_TRUE(KillTimer(w, 5));
    EXPECT_FALSE(KillTimer(w, 5));
    w32drv::Wait(1000);
    w32drv::Pump();
    EXPECT_EQ(Log::count(w, WM_TIMER), 0);

    SetTimer(w, 1, 500, nullptr);
    w32drv::Wait(300);
    w32drv::Pump();
    SetTimer(w, 1, 500, nullptr); // restart: due 500 ms from now
    w32drv::Wait(300);
    w32drv::Pump();
    EXPECT_EQ(Log::count(w, WM_TIMER), 0);
    w32drv::Wait(200);
    w32drv::Pump();
    EXPECT_EQ(Log::count(w, WM_TIMER), 1);

    timerProcTimes.clear();
    UINT_PTR id = SetTimer(nullptr, 0, 100, recordTimer);
    EXPECT_NE(id, 0u);
    w32drv::Wait(100);
    w32drv::Pump();
    ASSERT_EQ(timerProcTimes.size(), 1u);
    EXPECT_EQ(timerProcTimes[0], GetTickCount());
    KillTimer(nullptr, id);
}

// A wait of days costs the ticks that change something, not one step per period; the skipped
// timer keeps its phase.
TEST_F(Win32Test, LongWaitsSkipTimersThatChangeNothingButNotBusyOnes) {
    HEADLESS_ONLY("the virtual clock");
    HWND w = topLevel();
    drain();
    busyTarget = w;
    busyTicks = 0;
    UINT_PTR busy = SetTimer(nullptr, 0, 10, busyTimer);
    w32drv::Wait(30000);
    w32drv::Pump();
    EXPECT_EQ(busyTicks, 3000);
    KillTimer(nullptr, busy);

    timerProcTimes.clear();
    const DWORD start = GetTickCount();
    UINT_PTR quiet = SetTimer(nullptr, 0, 10, recordTimer);
    const DWORD tenDays = 10u * 24 * 3600 * 1000;
    w32drv::Wait(tenDays + 5);
    w32drv::Pump();
    EXPECT_EQ(GetTickCount() - start, tenDays + 5);
    EXPECT_GE(timerProcTimes.size(), 1000u);
    EXPECT_LE(timerProcTimes.size(), 1001u);
    timerProcTimes.clear();
    w32drv::Wait(5);
    w32drv::Pump();
    ASSERT_EQ(timerProcTimes.size(), 1u);
    EXPECT_EQ(timerProcTimes[0] - start, tenDays + 10);
    KillTimer(nullptr, quiet);

    // timers go on across the wrap of the tick count
    timerProcTimes.clear();
    quiet = SetTimer(nullptr, 0, 100, recordTimer);
    w32drv::Wait(0xFFFFFFFF);
    w32drv::Pump();
    EXPECT_EQ(GetTickCount(), start + tenDays + 10 - 1); // wrapped
    timerProcTimes.clear();
    w32drv::Wait(100);
    w32drv::Pump();
    EXPECT_EQ(timerProcTimes.size(), 1u);
    KillTimer(nullptr, quiet);
}

TEST_F(Win32Test, GetMessageHookSeesRemovedMessagesAndCanNullThem) {
    HWND w = topLevel();
    SetFocus(w);
    drain();
    hookedMessages.clear();
    hook = SetWindowsHookExA(WH_GETMESSAGE, swallowKeys, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Log::clear();
    w32drv::Key('X');
    w32drv::Pump();
    EXPECT_NE(std::find(hookedMessages.begin(), hookedMessages.end(), static_cast<UINT>(WM_KEYDOWN)), hookedMessages.end());
    EXPECT_EQ(Log::count(w, WM_KEYDOWN), 0);
    EXPECT_EQ(Log::count(w, WM_CHAR), 0);
    EXPECT_EQ(Log::count(w, WM_KEYUP), 1);
    EXPECT_TRUE(UnhookWindowsHookEx(hook));
    EXPECT_FALSE(UnhookWindowsHookEx(hook));
    w32drv::Key('X');
    w32drv::Pump();
    EXPECT_EQ(Log::count(w, WM_KEYDOWN), 1);
}

TEST_F(Win32Test, QueuedCallsRunInOrderWithTheirInputAndAnInputSourceIsAskedWhenTheQueueRunsDry) {
    HWND w = topLevel();
    SetFocus(w);
    std::vector<std::string> order;
    w32drv::Type("a");
    w32drv::Call([&] {
        order.push_back("call at " + std::to_string(Log::count(w, WM_CHAR)));
        w32drv::Type("b"); // before the "c" queued earlier
    });
    w32drv::Type("c");
    w32drv::Pump();
    std::string chars;
    for (auto& r : Log::all())
        if (r.hwnd == w && r.msg == WM_CHAR) chars.push_back(static_cast<char>(r.wParam));
    EXPECT_EQ(chars, "abc");
    ASSERT_EQ(order.size(), 1u);
    EXPECT_EQ(order[0], "call at 1");

    int asked = 0;
    w32drv::SetInputSource([&] {
        ++asked;
        if (asked > 2) return false;
        w32drv::Type("x");
        return true;
    });
    MSG m;
    int sourced = 0;
    while (GetMessageA(&m, nullptr, 0, 0)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
        if (m.message == WM_CHAR) ++sourced;
    }
    EXPECT_EQ(sourced, 2);
    EXPECT_EQ(asked, 3); // the third time it had nothing: the loop ended
    w32drv::SetInputSource(nullptr);
}

// Drops the queued input on the first key-down of 'A', as a window that closes on a key does.
static LRESULT CALLBACK clearingOnA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && wParam == 'A') w32drv::ClearInput();
    return testWindowProc(hwnd, msg, wParam, lParam);
}

TEST_F(Win32Test, ClearingTheQueueMidKeyLeavesNoModifierHeld) {
    HWND w = topLevel();
    SetFocus(w);
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(clearingOnA));
    w32drv::Type("A"); // Shift down, A down, A up, Shift up
    w32drv::Pump();
    EXPECT_FALSE(Log::saw(w, WM_KEYUP)); // the key-ups were dropped with the queue
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState('A') & 0x8000);
    // a Shift still held would turn the next "1" into "!"
    w32drv::Type("1");
    w32drv::Pump();
    const Received* ch = Log::last(w, WM_CHAR);
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(ch->wParam, static_cast<WPARAM>('1'));
}

