// Window facts read through the Win32 API alone, shared by the drivers of both window systems.
#pragma once
#include <windows.h>
#include <w32drv.h>

#include <string>
#include <vector>

namespace w32drv {

std::string classOf(HWND hwnd);
std::string windowText(HWND hwnd);
DWORD styleOf(HWND hwnd);
DWORD exStyleOf(HWND hwnd);
// The parent window, or null for a top-level window (whose parent is the desktop).
HWND parentOf(HWND hwnd);
RECT windowOnScreen(HWND hwnd);
RECT clientOnScreen(HWND hwnd);
// Every top-level window of this process, visible or not, top first.
std::vector<HWND> topLevelWindowsOfThisProcess();
// Asks a window for its description (see w32drv.h) and reads its rows; false when it has none.
bool describeWindow(HWND hwnd, std::vector<TreeRow>& rows, int& top, int& page);

} // namespace w32drv
