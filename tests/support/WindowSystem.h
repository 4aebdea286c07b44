// Which window system the tests run on: the headless one, Windows, or Wine where it departs from
// what Windows documents.
#pragma once
#include <w32drv.h>
#include <windows.h>

#include <gtest/gtest.h>

// Wine, where it departs from what Windows documents; the reason names the documented behaviour.
inline bool underWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

// A test that needs what only the headless window system has (the virtual clock's exact ticks,
// the drawing record, the fixed font metric) says why and is skipped on Windows.
#define HEADLESS_ONLY(why)                                                                         \
    do {                                                                                           \
        if (!w32drv::kHeadless) GTEST_SKIP() << "headless only: " << why;                          \
    } while (0)
