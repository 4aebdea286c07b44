#include "host/TuiMessageBox.h"

#include <windows.h>
#include <w32drv.h>

#include <algorithm>
#include <cctype>

BoxChoice MakeBoxChoice(unsigned style) {
    BoxChoice c;
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: c.buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: c.buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: c.buttons = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: c.buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: c.buttons = {IDRETRY, IDCANCEL}; break;
    case MB_CANCELTRYCONTINUE: c.buttons = {IDCANCEL, IDTRYAGAIN, IDCONTINUE}; break;
    default: c.buttons = {IDOK}; break;
    }
    size_t def = (style & MB_DEFMASK) >> 8;
    c.focus = def < c.buttons.size() ? def : 0;
    return c;
}

std::string BoxButtonLabel(int id) {
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDTRYAGAIN: return "Try Again";
    case IDCONTINUE: return "Continue";
    default: return "?";
    }
}

bool ApplyBoxKey(BoxChoice& c, const KeyAction& key, int& answer) {
    const size_t n = c.buttons.size();
    auto has = [&](int id) { return std::find(c.buttons.begin(), c.buttons.end(), id) != c.buttons.end(); };
    if (key.kind == KeyAction::Char) {
        if (key.ch == ' ') {
            answer = c.buttons[c.focus];
            return true;
        }
        // the mnemonics of the buttons that have one; OK and Cancel have none
        const int lower = std::tolower(static_cast<unsigned char>(key.ch));
        for (int id : c.buttons) {
            if (id == IDOK || id == IDCANCEL) continue;
            if (std::tolower(static_cast<unsigned char>(BoxButtonLabel(id)[0])) == lower) {
                answer = id;
                return true;
            }
        }
        return false;
    }
    if (key.kind != KeyAction::Key) return false;
    const bool shift = (key.modifiers & w32drv::Shift) != 0;
    switch (key.vk) {
    case VK_RETURN: answer = c.buttons[c.focus]; return true;
    case VK_ESCAPE:
        // a box closes on Escape only when it can be cancelled or says nothing but OK
        if (has(IDCANCEL) || (n == 1 && c.buttons[0] == IDOK)) {
            answer = has(IDCANCEL) ? IDCANCEL : IDOK;
            return true;
        }
        return false;
    case VK_TAB: c.focus = shift ? (c.focus + n - 1) % n : (c.focus + 1) % n; return false;
    case VK_LEFT:
    case VK_UP: c.focus = (c.focus + n - 1) % n; return false;
    case VK_RIGHT:
    case VK_DOWN: c.focus = (c.focus + 1) % n; return false;
    default: return false;
    }
}

std::string BoxButtonsRow(const BoxChoice& c) {
    std::string row;
    for (size_t i = 0; i < c.buttons.size(); ++i) {
        if (!row.empty()) row += "  ";
        const std::string label = BoxButtonLabel(c.buttons[i]);
        row += i == c.focus ? "[[" + label + "]]" : "[" + label + "]";
    }
    return row;
}
