// Set-up shared by the framework tests: a clean window system and an attached module per test,
// and plain Win32 windows that the framework does not own.
#pragma once
#include <afxwin.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <string>

#include "templates.h"

inline LRESULT CALLBACK plainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class AfxTest : public ::testing::Test {
protected:
    void SetUp() override {
        w32drv::Reset();
        ASSERT_TRUE(AfxModuleAttach(AfxFindModuleInstance()));
        WNDCLASSA wc{};
        wc.lpfnWndProc = plainWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PlainWindow";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
    }
    void TearDown() override {
        w32drv::Reset();
        AfxModuleDetach();
    }

    // A visible top-level window that no framework object wraps.
    static HWND PlainTopLevel(const char* title = "Host") {
        return CreateWindowExA(0, "PlainWindow", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static HWND PlainChild(HWND parent, int id) {
        return CreateWindowExA(0, "PlainWindow", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }
    static std::string TextOf(HWND hwnd) {
        char buf[512] = "";
        GetWindowTextA(hwnd, buf, sizeof buf);
        return buf;
    }
    static AFX_MODULE_THREAD_STATE* Maps() { return AfxGetModuleThreadState(); }
};
