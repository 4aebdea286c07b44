// Focus, activation and capture, and how clicks reach windows.
#include "fixture.h"

#include <algorithm>

namespace {
HWND focusDuringKill = nullptr;
LRESULT CALLBACK noteFocusOnKill(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KILLFOCUS) focusDuringKill = GetFocus();
    return testWindowProc(hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(Win32Test, FocusChangesSendKillFocusThenSetFocusAndAHiddenFocusGoesToTheParent) {
    HWND top = topLevel();
    HWND a = child(top, "TestWindow", "", 0, 0, 0, 10, 10, 1);
    HWND b = child(top, "TestWindow", "", 0, 20, 0, 10, 10, 2);
    SetFocus(a);
    SetWindowLongPtrA(a, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(noteFocusOnKill));
    Log::clear();
    EXPECT_EQ(SetFocus(b), a);
    // only the focus messages: Windows adds input method messages around them
    auto& all = Log::all();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [](const Received& r) { return r.msg != WM_KILLFOCUS && r.msg != WM_SETFOCUS; }),
              all.end());
    ASSERT_EQ(Log::all().size(), 2u);
    EXPECT_EQ(Log::all()[0].hwnd, a);
    EXPECT_EQ(Log::all()[0].msg, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(reinterpret_cast<HWND>(Log::all()[0].wParam), b);
    EXPECT_EQ(focusDuringKill, b); // the focus has already moved when the old window hears of it
    EXPECT_EQ(Log::all()[1].msg, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(reinterpret_cast<HWND>(Log::all()[1].wParam), a);
    // hiding or destroying the focus window gives the focus to its parent
    SetFocus(a);
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    SetFocus(b);
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(Win32Test, ActivatingAnotherWindowDeactivatesTheFirstAndHidingItActivatesItsOwner) {
    HWND a = topLevel();
    HWND b = topLevel();
    SetActiveWindow(a);
    Log::clear();
    SetActiveWindow(b);
    const Received* off = Log::last(a, WM_ACTIVATE);
    const Received* on = Log::last(b, WM_ACTIVATE);
    ASSERT_NE(off, nullptr);
    ASSERT_NE(on, nullptr);
    EXPECT_EQ(LOWORD(off->wParam), WA_INACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(off->lParam), b);
    EXPECT_EQ(LOWORD(on->wParam), WA_ACTIVE);
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(GetFocus(), b); // DefWindowProc gives the activated window the focus
    EXPECT_FALSE(Log::saw(a, WM_ACTIVATEAPP));
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), b);

    HWND owner = topLevel();
    HWND popup = CreateWindowExA(0, "TestWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, owner, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetActiveWindow(), popup);
    ShowWindow(popup, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
}

TEST_F(Win32Test, SwitchingApplicationsTakesTheFocusWhichTheBackgroundCannotTakeBack) {
    HWND a = topLevel();
    HWND b = topLevel(100, 100, WS_POPUP); // hidden windows hear it too
    HWND c = child(a, "TestWindow", "", 0, 0, 0, 10, 10, 1);
    SetFocus(c);
    Log::clear();
    w32drv::SwitchAway();
    w32drv::Pump();
    ASSERT_TRUE(Log::saw(a, WM_ACTIVATEAPP));
    EXPECT_EQ(Log::last(a, WM_ACTIVATEAPP)->wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(Log::last(b, WM_ACTIVATEAPP)->wParam, static_cast<WPARAM>(FALSE));
    EXPECT_TRUE(Log::saw(c, WM_KILLFOCUS));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    Log::clear();
    w32drv::SwitchBack(a);
    w32drv::Pump();
    EXPECT_EQ(Log::last(a, WM_ACTIVATEAPP)->wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(GetActiveWindow(), a);

    // an application in the background cannot take the focus back (SetActiveWindow: "activates a
    // window, but not if the application is in the background"; Wine activates it)
    SetFocus(c);
    w32drv::SwitchAway();
    w32drv::Pump();
    Log::clear();
    if (!underWine()) {
        EXPECT_EQ(SetFocus(c), nullptr);
        EXPECT_EQ(GetFocus(), nullptr);
    }
    HWND late = CreateWindowExA(0, "TestWindow", "", WS_POPUP | WS_VISIBLE, 900, 700, 50, 50, nullptr, nullptr,
                                nullptr, nullptr); // a new window shows but does not come to the foreground
    EXPECT_TRUE(IsWindowVisible(late));
    if (!underWine()) {
        EXPECT_EQ(GetActiveWindow(), nullptr);
        EXPECT_FALSE(Log::saw(a, WM_ACTIVATEAPP));
    }
    // a click brings the application back
    w32drv::ClickClient(c, 2, 2);
    w32drv::Pump();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(Log::last(a, WM_ACTIVATEAPP)->wParam, static_cast<WPARAM>(TRUE));
}

TEST_F(Win32Test, ClickActivatesTheTopLevelWindowAndDeliversClientCoordinates) {
    HWND a = topLevel();
    HWND b = CreateWindowExA(0, "TestWindow", "", WS_POPUP | WS_VISIBLE, 700, 100, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND c = child(a, "TestWindow", "", 0, 10, 10, 50, 50, 1);
    ASSERT_EQ(GetActiveWindow(), b);
    Log::clear();
    w32drv::ClickClient(c, 5, 7);
    w32drv::Pump();
    EXPECT_TRUE(Log::saw(c, WM_MOUSEACTIVATE));
    EXPECT_EQ(GetActiveWindow(), a);
    const Received* down = Log::last(c, WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(LOWORD(down->lParam), 5);
    EXPECT_EQ(HIWORD(down->lParam), 7);
    EXPECT_EQ(down->wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
    const Received* up = Log::last(c, WM_LBUTTONUP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->wParam & MK_LBUTTON, 0u);
    EXPECT_TRUE(Log::saw(c, WM_SETCURSOR));
}

TEST_F(Win32Test, CaptureRoutesTheMouseToOneWindow) {
    HWND top = topLevel();
    HWND a = child(top, "TestWindow", "", 0, 0, 0, 50, 50, 1);
    HWND b = child(top, "TestWindow", "", 0, 100, 0, 50, 50, 2);
    SetCapture(a);
    Log::clear();
    w32drv::ClickClient(b, 5, 5);
    w32drv::Pump();
    EXPECT_FALSE(Log::saw(b, WM_LBUTTONDOWN));
    const Received* down = Log::last(a, WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(down->lParam)), 105); // in a's client coordinates
    Log::clear();
    SetCapture(b);
    EXPECT_TRUE(Log::saw(a, WM_CAPTURECHANGED));
    ReleaseCapture();
    EXPECT_TRUE(Log::saw(b, WM_CAPTURECHANGED));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Win32Test, DoubleClickNeedsTheClassStyleAndTheTimeWindow) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = testWindowProc;
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = "Dbl";
    RegisterClassA(&wc);
    HWND top = topLevel();
    HWND d = child(top, "Dbl", "", 0, 0, 0, 50, 50, 1);
    HWND plain = child(top, "TestWindow", "", 0, 100, 0, 50, 50, 2);
    w32drv::ClickClient(d, 5, 5);
    w32drv::ClickClient(d, 5, 5);
    w32drv::ClickClient(plain, 5, 5);
    w32drv::ClickClient(plain, 5, 5);
    w32drv::ClickClient(d, 5, 5);
    w32drv::Wait(600);
    w32drv::ClickClient(d, 5, 5);
    w32drv::Pump();
    EXPECT_EQ(Log::count(d, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(Log::count(d, WM_LBUTTONDOWN), 3);
    EXPECT_EQ(Log::count(plain, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(Log::count(plain, WM_LBUTTONDOWN), 2);
}

TEST_F(Win32Test, DraggingByTheCaptionMovesTheWindowWithMovingMessages) {
    HWND w = topLevel(200, 100, WS_POPUP | WS_CAPTION | WS_VISIBLE);
    RECT before;
    GetWindowRect(w, &before);
    POINT grab{before.left + 50, before.top + 8};
    Log::clear();
    w32drv::MouseDown(grab);
    w32drv::MouseMove(POINT{grab.x + 30, grab.y + 40});
    w32drv::MouseUp(POINT{grab.x + 30, grab.y + 40});
    w32drv::Pump();
    RECT after;
    GetWindowRect(w, &after);
    EXPECT_EQ(after.left, before.left + 30);
    EXPECT_EQ(after.top, before.top + 40);
    EXPECT_TRUE(Log::saw(w, WM_MOVING));
    EXPECT_TRUE(Log::saw(w, WM_ENTERSIZEMOVE));
    EXPECT_TRUE(Log::saw(w, WM_EXITSIZEMOVE));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Win32Test, ClickingAScrollBarScrollsAndItDisappearsWhenNothingIsHidden) {
    HWND top = topLevel();
    HWND list = child(top, "ListBox", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 10, 120, 60, 1);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL); // empty: nothing to scroll
    for (int i = 0; i < 20; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(100 + i)).c_str()));
    ASSERT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    RECT r;
    GetWindowRect(list, &r);
    w32drv::Click(POINT{r.right - 5, r.bottom - 5}); // the down arrow
    w32drv::Pump();
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1);
    w32drv::Click(POINT{r.right - 5, r.bottom - 25}); // the track below the thumb: a page
    w32drv::Pump();
    EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 2);
}
