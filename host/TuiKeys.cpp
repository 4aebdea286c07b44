#include "host/TuiKeys.h"
#include "host/Text.h"

#include <windows.h>
#include <w32drv.h>
#include <curses.h>

#include <cctype>
#include <cstring>

namespace {

KeyAction keyStroke(unsigned vk, unsigned modifiers = 0) {
    KeyAction a;
    a.kind = KeyAction::Key;
    a.vk = vk;
    a.modifiers = modifiers;
    return a;
}

bool fromByte(int c, KeyAction& a) {
    switch (c) {
    case 0: a = keyStroke(VK_SPACE, w32drv::Control); return true; // Ctrl+Space sends NUL
    case 8:
    case 127: a = keyStroke(VK_BACK); return true;
    case 9: a = keyStroke(VK_TAB); return true;
    case 10:
    case 13: a = keyStroke(VK_RETURN); return true;
    case 27: a = keyStroke(VK_ESCAPE); return true;
    default: break;
    }
    if (c >= 1 && c <= 26) {
        a = keyStroke(static_cast<unsigned>('A' + c - 1), w32drv::Control);
        return true;
    }
    if (c >= 32 && c < 127) {
        a = KeyAction{};
        a.kind = KeyAction::Char;
        a.ch = static_cast<char>(c);
        return true;
    }
    return false;
}

// Modifier digit of xterm's extended key names (kLFT5 = Ctrl+Left): 1 + Shift(1) + Alt(2) + Ctrl(4).
bool fromExtendedName(const std::string& name, KeyAction& a) {
    static const struct {
        const char* base;
        unsigned vk;
    } bases[] = {{"kUP", VK_UP},    {"kDN", VK_DOWN},  {"kLFT", VK_LEFT},  {"kRIT", VK_RIGHT}, {"kHOM", VK_HOME},
                 {"kEND", VK_END},  {"kDC", VK_DELETE}, {"kIC", VK_INSERT}, {"kNXT", VK_NEXT},  {"kPRV", VK_PRIOR}};
    for (const auto& b : bases) {
        size_t n = std::strlen(b.base);
        if (name.size() != n + 1 || name.compare(0, n, b.base) != 0) continue;
        char digit = name[n];
        if (digit < '2' || digit > '8') return false;
        unsigned bits = static_cast<unsigned>(digit - '1');
        unsigned modifiers = ((bits & 1) ? w32drv::Shift : 0u) | ((bits & 2) ? w32drv::Alt : 0u) |
                             ((bits & 4) ? w32drv::Control : 0u);
        a = keyStroke(b.vk, modifiers);
        return true;
    }
    return false;
}

bool fromCurses(int code, const std::string& name, KeyAction& a) {
    static const struct {
        int code;
        unsigned vk;
        unsigned modifiers;
    } keys[] = {{KEY_LEFT, VK_LEFT, 0},          {KEY_RIGHT, VK_RIGHT, 0},
                {KEY_UP, VK_UP, 0},              {KEY_DOWN, VK_DOWN, 0},
                {KEY_HOME, VK_HOME, 0},          {KEY_END, VK_END, 0},
                {KEY_PPAGE, VK_PRIOR, 0},        {KEY_NPAGE, VK_NEXT, 0},
                {KEY_BACKSPACE, VK_BACK, 0},     {KEY_DC, VK_DELETE, 0},
                {KEY_IC, VK_INSERT, 0},          {KEY_ENTER, VK_RETURN, 0},
                {KEY_BTAB, VK_TAB, w32drv::Shift}, {KEY_SLEFT, VK_LEFT, w32drv::Shift},
                {KEY_SRIGHT, VK_RIGHT, w32drv::Shift}, {KEY_SR, VK_UP, w32drv::Shift},
                {KEY_SF, VK_DOWN, w32drv::Shift}, {KEY_SHOME, VK_HOME, w32drv::Shift},
                {KEY_SEND, VK_END, w32drv::Shift}, {KEY_SDC, VK_DELETE, w32drv::Shift},
                {KEY_SPREVIOUS, VK_PRIOR, w32drv::Shift}, {KEY_SNEXT, VK_NEXT, w32drv::Shift}};
    for (const auto& k : keys)
        if (k.code == code) {
            a = keyStroke(k.vk, k.modifiers);
            return true;
        }
    if (code >= KEY_F(1) && code <= KEY_F(12)) {
        a = keyStroke(static_cast<unsigned>(VK_F1 + (code - KEY_F(1))));
        return true;
    }
    return fromExtendedName(name, a);
}

} // namespace

bool TranslateTermKey(const TermKey& key, KeyAction& a) {
    bool known = false;
    switch (key.kind) {
    case TermKey::Byte: known = fromByte(key.code, a); break;
    case TermKey::Text: {
        std::string c = Cp1252FromUtf8(key.text);
        // a character the system's code page lacks comes back as "?"
        if (c.size() != 1 || (c[0] == '?' && key.text != "?")) return false;
        a = KeyAction{};
        a.kind = KeyAction::Char;
        a.ch = c[0];
        known = true;
        break;
    }
    case TermKey::Curses: known = fromCurses(key.code, key.name, a); break;
    case TermKey::Resize:
    case TermKey::Closed: return false;
    }
    if (!known || !key.alt) return known;
    if (a.kind == KeyAction::Char) {
        SHORT scan = VkKeyScanA(a.ch);
        if (scan == -1) return false;
        a = keyStroke(static_cast<unsigned>(scan & 0xFF), (scan & 0x100) ? w32drv::Shift : 0u);
    }
    a.modifiers |= w32drv::Alt;
    return true;
}

bool IsQuitKey(const KeyAction& a) {
    return a.kind == KeyAction::Key && a.vk == 'Q' && a.modifiers == w32drv::Control;
}
