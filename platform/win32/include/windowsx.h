// Message cracker helpers of the subset.
#pragma once
#ifdef _WIN32
#error "use the platform's own <windowsx.h> on Windows"
#endif
#include "windows.h"

#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
