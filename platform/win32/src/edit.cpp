// placeholder until the control lands
#include "core.h"
#include "controls.h"
namespace w32 {
LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcA(hwnd, msg, wParam, lParam); }
}
