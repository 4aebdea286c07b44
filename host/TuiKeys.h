// Keys as a terminal delivers them, and their meaning as key strokes of the window system.
#pragma once
#include "host/Keys.h"

#include <string>

struct TermKey {
    enum Kind {
        Byte,   // code: a character or control byte (0-127)
        Text,   // text: one character beyond ASCII, in UTF-8
        Curses, // code: a curses key code (KEY_LEFT, ...); name: curses' name for it (kLFT5, ...)
        Resize, // the terminal changed its size
        Closed  // no more input will come
    };
    Kind kind = Byte;
    int code = 0;
    std::string text;
    std::string name;
    bool alt = false; // arrived after a lone Escape, as terminals send Alt combinations
};

// The key stroke or character the key stands for; false for keys without a meaning here.
bool TranslateTermKey(const TermKey& key, KeyAction& action);

// Whether the action is the editor's quit key (Ctrl+Q).
bool IsQuitKey(const KeyAction& action);
