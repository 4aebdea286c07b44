// Resources of a module in the headless build. A build step turns a module's .rc script into one
// table of this form, exported under the name w32ResourceTable; FindResource and the functions
// built on it read it. Data is laid out as the Windows resource compiler lays it out (dialog
// templates, string blocks of sixteen counted UTF-16 strings, icon groups).
#pragma once
#include <windows.h>

struct W32Resource {
    LPCSTR type; // MAKEINTRESOURCE number or upper-case name
    LPCSTR name; // MAKEINTRESOURCE number or upper-case name
    WORD language;
    const void* data;
    DWORD size;
};

struct W32ResourceTable {
    const W32Resource* entries;
    size_t count;
};

#define W32_RESOURCE_TABLE_SYMBOL "w32ResourceTable"
