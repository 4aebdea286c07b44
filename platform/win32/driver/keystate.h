// A key pressed or released in a keyboard state array as Windows keeps it: bit 0x80 while down,
// bit 0x01 toggled on each new press, and the generic and left/right modifier keys together.
// The headless input system and the driver on Windows keep key state the same way.
#pragma once
#include <windows.h>

namespace w32drv {

inline void applyKey(BYTE* keys, UINT vk, bool down) {
    auto apply = [&](UINT k) {
        if (down) {
            if (!(keys[k] & 0x80)) keys[k] ^= 0x01;
            keys[k] |= 0x80;
        } else {
            keys[k] &= static_cast<BYTE>(~0x80);
        }
    };
    apply(vk & 0xFF);
    switch (vk) {
    case VK_SHIFT: apply(VK_LSHIFT); break;
    case VK_CONTROL: apply(VK_LCONTROL); break;
    case VK_MENU: apply(VK_LMENU); break;
    case VK_LSHIFT: case VK_RSHIFT: apply(VK_SHIFT); break;
    case VK_LCONTROL: case VK_RCONTROL: apply(VK_CONTROL); break;
    case VK_LMENU: case VK_RMENU: apply(VK_MENU); break;
    }
}

} // namespace w32drv
