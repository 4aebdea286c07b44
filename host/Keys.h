// Key scripts in the brace syntax of the Windows SendKeys convention: {TAB}, {ENTER}, {F2}, ...,
// "^" (Control) and "+" (Shift) for the next key, {WAIT n}, {CLICK id}, {CLICKITEM n},
// {DBLCLICK} (the selection tree's caret row) and {CLICKROW path} (a row of the selection tree,
// "^" or "+" before it for a Ctrl- or Shift-click); every other character is typed as itself.
// The script is UTF-8; each of its characters is typed once, as the Windows-1252 character the
// system reads.
#pragma once
#include <string>
#include <vector>

struct KeyAction {
    enum Kind { Char, Key, Wait, Click, ClickItem, DoubleClick, ClickRow };
    Kind kind = Char;
    char ch = 0;            // Windows-1252
    unsigned vk = 0;
    unsigned modifiers = 0; // w32drv::Modifier bits
    int value = 0;          // milliseconds, control ID or item index
    std::string path;       // ClickRow: the row's path (Windows-1252)
};

// False with a message (UTF-8) for a script that cannot be read, is not UTF-8 or holds a
// character that Windows-1252 lacks.
bool ParseKeys(const std::string& script, std::vector<KeyAction>& actions, std::string& error);

// The action as a script writes it (Windows-1252): "a", "{ENTER}", "^+{LEFT}", "{CLICKROW path}".
std::string KeyScript(const KeyAction& action);
