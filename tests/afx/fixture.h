// Set-up shared by the framework tests: a clean window system and an attached module per test,
// plain Win32 windows that the framework does not own, and the shared dialog template.
#pragma once
#include <afxwin.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "templates.h"

using Strings = std::vector<std::string>;

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
    // A popup of the framework's own window class.
    static bool Popup(CWnd& wnd, const char* title, HWND owner = nullptr) {
        return wnd.CreateEx(0, nullptr, title, WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, owner, nullptr);
    }
    // The shared dialog, modeless and shown.
    bool ShowModeless(CDialog& dlg) {
        if (!dlg.CreateIndirect(tmpl.Get())) return false;
        dlg.ShowWindow(SW_SHOW);
        w32drv::Pump();
        return true;
    }

    DialogTemplate tmpl = InputDialogTemplate();
};
