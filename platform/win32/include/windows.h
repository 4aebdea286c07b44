// Headless Win32 subset: the part of the Windows API that this project uses, with Windows'
// names, values and type sizes. On Windows the real <windows.h> is used instead (this folder is
// not on the include path there).
#pragma once
#ifdef _WIN32
#error "use the platform's own <windows.h> on Windows"
#endif

#include "w32/wintypes.h"
#include "w32/winbase.h"
#include "w32/winuser.h"
#include "w32/wingdi.h"
