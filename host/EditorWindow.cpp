#include "host/Host.h"

#include <windows.h>

namespace {
LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // the editor writes in the dialog font; the assistance measures the typed text with it
    if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
} // namespace

void* CreateEditorWindow(const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = editorProc;
    wc.lpszClassName = "PelorinHostEditor";
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    return CreateWindowExA(0, "PelorinHostEditor", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 900, 300, nullptr,
                           nullptr, nullptr, nullptr);
}
