// Shared set-up of the window-system tests: a clean window system per test, a plain top-level
// window class, and a record of the messages a window receives.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include "../support/WindowSystem.h"

#include <string>
#include <vector>

#define WINE_DEVIATION(why)                                                                                  \
    do {                                                                                                     \
        if (underWine()) GTEST_SKIP() << "Wine deviation: " << why;                                          \
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
        return CreateWindowExA(0, "TestWindow", "Top", style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    HWND child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
               int id) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }
    static std::string text(HWND hwnd) {
        char buf[1024];
        GetWindowTextA(hwnd, buf, sizeof buf);
        return buf;
    }
    static LRESULT send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(hwnd, msg, wParam, lParam);
    }
    // Messages whose lParam points at a string or a structure.
    template <class T> static LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, T* lParam) {
        return SendMessageA(hwnd, msg, wParam, reinterpret_cast<LPARAM>(lParam));
    }
    // A key pressed and released, with the input processed.
    static void press(UINT vk, unsigned modifiers = w32drv::None) {
        w32drv::Key(vk, modifiers);
        w32drv::Pump();
    }
    // WM_COMMAND notification codes a parent received from one control, in order.
    static std::vector<WORD> codesFrom(HWND parent, HWND control) {
        std::vector<WORD> out;
        for (const Received& r : Log::all())
            if (r.hwnd == parent && r.msg == WM_COMMAND && reinterpret_cast<HWND>(r.lParam) == control)
                out.push_back(HIWORD(r.wParam));
        return out;
    }
    static int countOf(const std::vector<WORD>& codes, WORD code) {
        int n = 0;
        for (WORD c : codes)
            n += c == code;
        return n;
    }
    // Screen point at the middle of a list box item.
    static POINT itemPoint(HWND list, int index) {
        RECT r{};
        send(list, LB_GETITEMRECT, index, &r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(list, &p);
        return p;
    }
};

using Codes = std::vector<WORD>;
