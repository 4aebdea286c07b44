// Tooltips: tools, relayed mouse moves, delays on the virtual clock, text updates, callbacks and
// the maximum width.
#include "fixture.h"

#include <cstdio>

namespace {
LRESULT CALLBACK answerTip(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        auto* di = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (di->hdr.code == TTN_GETDISPINFOA) {
            std::snprintf(di->szText, sizeof di->szText, "asked %u", static_cast<unsigned>(di->hdr.idFrom));
            di->lpszText = di->szText;
        }
    }
    return testWindowProc(hwnd, msg, wParam, lParam);
}

class TooltipTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        top = topLevel();
        area = child(top, "TestWindow", "", 0, 10, 10, 200, 100, 1);
        tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, top, nullptr,
                              nullptr, nullptr);
        ASSERT_NE(tip, nullptr);
    }
    void addTool(LPSTR text) {
        TOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = top;
        ti.uId = reinterpret_cast<UINT_PTR>(area);
        ti.lpszText = text;
        ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
    }
    void relayMove(int x, int y) {
        MSG m{area, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), GetTickCount(), {}};
        POINT screen{x, y};
        ClientToScreen(area, &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    }
    HWND top{}, area{}, tip{};
};
} // namespace

TEST_F(TooltipTest, ARelayedMoveShowsTheTipAfterTheInitialDelay) {
    HEADLESS_ONLY("delays to the millisecond on the virtual clock");
    char description[] = "FBlock description";
    addTool(description);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 600);
    relayMove(20, 20);
    w32drv::Wait(500);
    w32drv::Pump();
    EXPECT_FALSE(IsWindowVisible(tip));
    w32drv::Wait(150);
    w32drv::Pump();
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(text(tip), "FBlock description");
    EXPECT_NE(GetActiveWindow(), tip);
    // the automatic pop-up time is ten times the initial delay
    w32drv::Wait(6000);
    w32drv::Pump();
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, UpdatedTextAndTheMaximumWidthShapeTheTip) {
    char initial[] = "short";
    addTool(initial);
    EXPECT_EQ(SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 300), -1);
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = top;
    ti.uId = reinterpret_cast<UINT_PTR>(area);
    char longer[] = "Function type: Property\nFunction class: Number";
    ti.lpszText = longer;
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    relayMove(30, 30);
    w32drv::Wait(600);
    w32drv::Pump();
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(text(tip), "Function type: Property\nFunction class: Number");
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_LE(r.right - r.left, 300 + 8);
    char buf[80];
    ti.lpszText = buf;
    SendMessageA(tip, TTM_GETTEXTA, sizeof buf, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(buf, longer);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(TooltipTest, AnInactiveTipStaysHiddenAndCallbackTextIsAskedFor) {
    addTool(LPSTR_TEXTCALLBACKA);
    SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answerTip));
    SendMessageA(tip, TTM_ACTIVATE, FALSE, 0);
    relayMove(20, 20);
    w32drv::Wait(1000);
    w32drv::Pump();
    EXPECT_FALSE(IsWindowVisible(tip));
    SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
    relayMove(21, 20);
    w32drv::Wait(1000);
    w32drv::Pump();
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(text(tip), "asked " + std::to_string(reinterpret_cast<UINT_PTR>(area)));
    // a click hides it
    MSG m{area, WM_LBUTTONDOWN, 0, 0, 0, {}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    EXPECT_FALSE(IsWindowVisible(tip));
}
