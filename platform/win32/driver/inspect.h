// What the drivers of both window systems share: window facts read through the Win32 API alone,
// and the one input primitive the interface does not offer.
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
// Queues a character that has no key on the keyboard: it arrives as WM_CHAR alone.
void QueueChar(char ch);
// Asks a window for its description (see w32drv.h) and reads its rows; false when it has none.
bool describeWindow(HWND hwnd, std::vector<TreeRow>& rows, int& top, int& page);

} // namespace w32drv
