// Random input for the dialog fuzz targets: each byte of the input becomes a user action queued
// with the driver (a typed character, a command key, a wait, a click or a wheel turn at a point
// the next bytes give, inside the area given).
#pragma once
#include <windows.h>
#include <w32drv.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

inline void QueueActions(const std::uint8_t* data, std::size_t size, RECT area) {
    static const char typed[] = "abcdefghijklmnopqrstuvwxyzAVSU0123456789.,()\"* []-+_;=\x80\xE4\xFF";
    static const UINT keys[] = {VK_DOWN, VK_UP,     VK_LEFT,   VK_RIGHT, VK_HOME,     VK_END,  VK_PRIOR,
                                VK_NEXT, VK_TAB,    VK_RETURN, VK_ESCAPE, VK_BACK,    VK_DELETE, VK_F1,
                                VK_SPACE, VK_ADD,   VK_SUBTRACT, VK_MULTIPLY, VK_F2, VK_F4};
    const int width = std::max<int>(1, area.right - area.left), height = std::max<int>(1, area.bottom - area.top);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        if (b < 128) {
            w32drv::Type(std::string(1, typed[b % (sizeof typed - 1)]));
        } else if (b < 176) {
            const unsigned n = sizeof keys / sizeof *keys, k = b - 128u;
            static const unsigned modifiers[] = {w32drv::None, w32drv::Shift, w32drv::Control};
            w32drv::Key(keys[k % n], modifiers[k / n % 3]);
        } else if (b < 200) {
            w32drv::Wait(static_cast<DWORD>((b - 175) * 100));
        } else if (i + 2 < size) {
            POINT at{area.left + data[i + 1] * width / 256, area.top + data[i + 2] * height / 256};
            if (b < 230)
                w32drv::Click(at);
            else if (b < 245)
                w32drv::Wheel(at, (b & 1) ? 120 : -120);
            else
                w32drv::MouseMove(at);
            i += 2;
        }
    }
}
