// Input made of simpler input, the same for both window systems: a key with its modifiers, typed
// text as the key strokes of a US keyboard, clicks.
#include "inspect.h"

namespace w32drv {

void Key(UINT vk, unsigned modifiers) {
    if (modifiers & Control) KeyDown(VK_CONTROL);
    if (modifiers & Shift) KeyDown(VK_SHIFT);
    if (modifiers & Alt) KeyDown(VK_MENU);
    KeyDown(vk);
    KeyUp(vk);
    if (modifiers & Alt) KeyUp(VK_MENU);
    if (modifiers & Shift) KeyUp(VK_SHIFT);
    if (modifiers & Control) KeyUp(VK_CONTROL);
}

void Type(const std::string& text) {
    for (char c : text) {
        SHORT k = VkKeyScanA(c);
        if (k == -1) {
            QueueChar(c);
            continue;
        }
        unsigned mods = ((k & 0x100) ? unsigned(Shift) : 0u) | ((k & 0x200) ? unsigned(Control) : 0u) |
                        ((k & 0x400) ? unsigned(Alt) : 0u);
        Key(static_cast<UINT>(k & 0xFF), mods);
    }
}

void Click(POINT screen) {
    MouseMove(screen);
    MouseDown(screen);
    MouseUp(screen);
}

void ClickWindow(HWND hwnd) {
    RECT r = windowOnScreen(hwnd);
    Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void ClickClient(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    Click(p);
}

} // namespace w32drv
