// Window procedures of the predefined control classes. Each control keeps its state in a
// structure whose pointer sits in the first pointer-sized slot of the window's extra bytes.
#pragma once
#include <windows.h>

namespace w32 {

LRESULT CALLBACK buttonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK staticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK editProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK listBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK comboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK toolTipProc(HWND, UINT, WPARAM, LPARAM);

// Default colours of WM_CTLCOLOR* (what DefWindowProc answers).
LRESULT defaultColor(HDC dc, UINT msg);

// The state pointer of a control.
template <class T> T* controlState(HWND hwnd) {
    return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, 0));
}
template <class T> void setControlState(HWND hwnd, T* state) {
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
}

// Sends a WM_COMMAND notification to the control's parent.
inline void notifyParent(HWND hwnd, WORD code) {
    HWND parent = GetParent(hwnd);
    if (parent)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

} // namespace w32
