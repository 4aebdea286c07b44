// Whether the tests run under Wine, for checks where Wine departs from what Windows documents.
#pragma once
#include <windows.h>

inline bool underWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}
