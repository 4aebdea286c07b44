// Shared set-up of the window-system tests: a clean window system per test, a plain top-level
// window class, and a record of the messages a window receives.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A check that needs what only the headless window system offers (the virtual clock, the drawing
// record, beeps, the fixed font metric); real Windows skips the test.
#define HEADLESS_ONLY(why)                                                                         \
    do {                                                                                           \
        if (!w32drv::kHeadless) GTEST_SKIP() << "headless only: " << why;                          \
    } while (0)

// Wine, where it departs from what Windows documents; the reason names the documented behaviour.
inline bool underWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}
#define WINE_DEVIATION(why)                                                                        \
    do {                                                                                           \
        if (underWine()) GTEST_SKIP() << "Wine deviation: " << why;                                \
    } while (0)

struct Received {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages seen by windows created with the test class or subclassed with Log::watch.
class Log {
public:
    static std::vector<Received>& all() {
        static std::vector<Received> messages;
        return messages;
    }
    static void clear() { all().clear(); }
    static std::vector<UINT> of(HWND hwnd) {
        std::vector<UINT> out;
        for (auto& r : all())
            if (r.hwnd == hwnd) out.push_back(r.msg);
        return out;
    }
    static bool saw(HWND hwnd, UINT msg) {
        for (auto& r : all())
            if (r.hwnd == hwnd && r.msg == msg) return true;
        return false;
    }
    static int count(HWND hwnd, UINT msg) {
        int n = 0;
        for (auto& r : all())
            if (r.hwnd == hwnd && r.msg == msg) ++n;
        return n;
    }
    static const Received* last(HWND hwnd, UINT msg) {
        const Received* found = nullptr;
        for (auto& r : all())
            if (r.hwnd == hwnd && r.msg == msg) found = &r;
        return found;
    }
};

inline LRESULT CALLBACK testWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log::all().push_back(Received{hwnd, msg, wParam, lParam});
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Win32Test : public ::testing::Test {
protected:
    void SetUp() override {
        w32drv::Reset();
        Log::clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = testWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TestWindow";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
    }
    void TearDown() override { w32drv::Reset(); }

    // A visible top-level window with a client area of the given size at (100, 100).
    HWND topLevel(int width = 400, int height = 300, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
        RECT r{100, 100, 100 + width, 100 + height};
        AdjustWindowRectEx(&r, style, FALSE, 0);
        return CreateWindowExA(0, "TestWindow", "Top", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    HWND child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }
    static std::string text(HWND hwnd) {
        char buf[1024];
        GetWindowTextA(hwnd, buf, sizeof buf);
        return buf;
    }
};
