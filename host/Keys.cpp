#include "host/Keys.h"
#include "host/Text.h"

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

// A name or character of the script (Windows-1252) quoted for a message in UTF-8.
std::string quoted(const std::string& cp1252) { return Excerpt(Utf8FromCp1252(cp1252)); }

// A character with modifiers becomes its key stroke; a plain one is typed. False for a character
// with modifiers that no key of the keyboard types.
bool character(char c, unsigned modifiers, KeyAction& a) {
    a = KeyAction{};
    if (!modifiers) {
        a.kind = KeyAction::Char;
        a.ch = c;
        return true;
    }
    SHORT scan = VkKeyScanA(c);
    if (scan == -1) return false;
    a.kind = KeyAction::Key;
    a.vk = static_cast<unsigned>(scan & 0xFF);
    a.modifiers = modifiers | ((scan & 0x100) ? w32drv::Shift : 0u);
    return true;
}

} // namespace

bool ParseKeys(const std::string& utf8, std::vector<KeyAction>& actions, std::string& error) {
    actions.clear();
    // one typed character a character of the script, in the system's code page
    std::string script;
    error = Cp1252Argument("the script", utf8, script);
    if (!error.empty()) return false;
    unsigned pending = 0;
    auto add = [&](char c, size_t position) {
        KeyAction a;
        if (!character(c, pending, a)) {
            error = "\"^\" or \"+\" before " + quoted(std::string(1, c)) + " at position " + std::to_string(position) +
                    ", which no key types";
            return false;
        }
        actions.push_back(a);
        pending = 0;
        return true;
    };
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
            if (!add(c, i + 1)) return false;
            continue;
        }
        // "{}}" names the closing brace itself
        size_t close = script.compare(i, 3, "{}}") == 0 ? i + 2 : script.find('}', i + 1);
        if (close == std::string::npos) {
            error = "unclosed \"{\" at position " + std::to_string(i + 1);
            return false;
        }
        std::string name = script.substr(i + 1, close - i - 1);
        size_t position = i + 1;
        i = close;
        if (name.size() == 1 && (name == "^" || name == "+" || name == "{" || name == "}")) {
            if (!add(name[0], position)) return false;
            continue;
        }
        size_t space = name.find(' ');
        std::string word = name.substr(0, space);
        std::string arg = space == std::string::npos ? "" : name.substr(space + 1);
        KeyAction a;
        if (word == "CLICKROW") {
            // the path is the rest, spaces and all; a click may be a Ctrl- or Shift-click
            if (arg.empty()) {
                error = "{CLICKROW} needs the path of a tree row at position " + std::to_string(position);
                return false;
            }
            a.kind = KeyAction::ClickRow;
            a.path = arg;
            a.modifiers = pending;
            pending = 0;
            actions.push_back(a);
            continue;
        }
        if (name == "DBLCLICK") {
            if (pending) {
                error = "\"^\" or \"+\" before {DBLCLICK}";
                return false;
            }
            a.kind = KeyAction::DoubleClick;
            actions.push_back(a);
            continue;
        }
        if (word == "WAIT" || word == "CLICK" || word == "CLICKITEM") {
            if (!number(arg, a.value)) {
                error = quoted("{" + name + "}") + " needs a number";
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
            error = "unknown key " + quoted("{" + name + "}") + " at position " + std::to_string(position);
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

std::string KeyScript(const KeyAction& a) {
    std::string prefix = std::string((a.modifiers & w32drv::Control) ? "^" : "") + ((a.modifiers & w32drv::Shift) ? "+" : "");
    switch (a.kind) {
    case KeyAction::Char:
        return a.ch == '^' || a.ch == '+' || a.ch == '{' || a.ch == '}' ? std::string("{") + a.ch + "}"
                                                                         : std::string(1, a.ch);
    case KeyAction::Key:
        for (const auto& [name, vk] : namedKeys())
            if (vk == a.vk) return prefix + "{" + name + "}";
        // the character whose key it is, unshifted
        for (int c = ' '; c < 127; ++c)
            if (VkKeyScanA(static_cast<char>(c)) == static_cast<SHORT>(a.vk)) {
                std::string key(1, static_cast<char>(c));
                return prefix + (c == '^' || c == '+' || c == '{' || c == '}' ? "{" + key + "}" : key);
            }
        return prefix + "{VK " + std::to_string(a.vk) + "}";
    case KeyAction::Wait: return "{WAIT " + std::to_string(a.value) + "}";
    case KeyAction::Click: return "{CLICK " + std::to_string(a.value) + "}";
    case KeyAction::ClickItem: return "{CLICKITEM " + std::to_string(a.value) + "}";
    case KeyAction::DoubleClick: return "{DBLCLICK}";
    case KeyAction::ClickRow: return prefix + "{CLICKROW " + a.path + "}";
    }
    return "";
}
