#include "host/Keys.h"

#include <windows.h>
#include <w32drv.h>

#include <cctype>
#include <cstdlib>
#include <map>

namespace {

const std::map<std::string, unsigned>& namedKeys() {
    static const std::map<std::string, unsigned> keys = [] {
        std::map<std::string, unsigned> k{{"TAB", VK_TAB},     {"ENTER", VK_RETURN}, {"ESC", VK_ESCAPE}, {"UP", VK_UP},
                                          {"DOWN", VK_DOWN},   {"LEFT", VK_LEFT},    {"RIGHT", VK_RIGHT}, {"HOME", VK_HOME},
                                          {"END", VK_END},     {"PGUP", VK_PRIOR},   {"PGDN", VK_NEXT},   {"BS", VK_BACK},
                                          {"DEL", VK_DELETE}};
        for (int i = 1; i <= 12; ++i) k["F" + std::to_string(i)] = static_cast<unsigned>(VK_F1 + i - 1);
        return k;
    }();
    return keys;
}

bool number(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = std::atoi(text.c_str());
    return true;
}

// A character with modifiers becomes its key stroke; a plain one is typed.
KeyAction character(char c, unsigned modifiers) {
    KeyAction a;
    if (!modifiers) {
        a.kind = KeyAction::Char;
        a.ch = c;
        return a;
    }
    SHORT scan = VkKeyScanA(c);
    a.kind = KeyAction::Key;
    a.vk = scan == -1 ? static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c))) : static_cast<unsigned>(scan & 0xFF);
    a.modifiers = modifiers | (scan != -1 && (scan & 0x100) ? w32drv::Shift : 0u);
    return a;
}

} // namespace

bool ParseKeys(const std::string& script, std::vector<KeyAction>& actions, std::string& error) {
    actions.clear();
    unsigned pending = 0;
    for (size_t i = 0; i < script.size(); ++i) {
        char c = script[i];
        if (c == '^') {
            pending |= w32drv::Control;
            continue;
        }
        if (c == '+') {
            pending |= w32drv::Shift;
            continue;
        }
        if (c == '}') {
            error = "unmatched \"}\" at position " + std::to_string(i + 1);
            return false;
        }
        if (c != '{') {
            actions.push_back(character(c, pending));
            pending = 0;
            continue;
        }
        // "{}}" names the closing brace itself
        size_t close = script.compare(i, 3, "{}}") == 0 ? i + 2 : script.find('}', i + 1);
        if (close == std::string::npos) {
            error = "unclosed \"{\" at position " + std::to_string(i + 1);
            return false;
        }
        std::string name = script.substr(i + 1, close - i - 1);
        i = close;
        if (name.size() == 1 && (name == "^" || name == "+" || name == "{" || name == "}")) {
            actions.push_back(character(name[0], pending));
            pending = 0;
            continue;
        }
        size_t space = name.find(' ');
        std::string word = name.substr(0, space);
        std::string arg = space == std::string::npos ? "" : name.substr(space + 1);
        KeyAction a;
        if (word == "WAIT" || word == "CLICK" || word == "CLICKITEM") {
            if (!number(arg, a.value)) {
                error = "{" + name + "} needs a number";
                return false;
            }
            if (pending) {
                error = "\"^\" or \"+\" before {" + word + "}";
                return false;
            }
            a.kind = word == "WAIT" ? KeyAction::Wait : word == "CLICK" ? KeyAction::Click : KeyAction::ClickItem;
            actions.push_back(a);
            continue;
        }
        auto key = namedKeys().find(name);
        if (key == namedKeys().end()) {
            error = "unknown key {" + name + "}";
            return false;
        }
        a.kind = KeyAction::Key;
        a.vk = key->second;
        a.modifiers = pending;
        pending = 0;
        actions.push_back(a);
    }
    if (pending) {
        error = "\"^\" or \"+\" at the end with no key after it";
        return false;
    }
    return true;
}
