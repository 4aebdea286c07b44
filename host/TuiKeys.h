// Keys as a terminal delivers them, and their meaning as key strokes of the window system.
#pragma once
#include "host/Keys.h"

#include <deque>
#include <string>

struct TermKey {
    enum Kind {
        Byte,   // code: a character or control byte (0-127)
        Text,   // text: one character beyond ASCII, in UTF-8
        Curses, // code: a curses key code (KEY_LEFT, ...); name: curses' name for it (kLFT5, ...)
        Stroke, // code: a virtual key with modifiers, from an escape sequence curses did not know
        Paste,  // text: what the terminal pasted (bracketed paste), as it sent it
        Resize, // the terminal changed its size
        Closed  // no more input will come
    };
    Kind kind = Byte;
    int code = 0;
    unsigned modifiers = 0; // Stroke: w32drv::Modifier bits
    std::string text;
    std::string name;
    bool alt = false; // arrived after a lone Escape, as terminals send Alt combinations
};

// Reads the terminal's input as curses hands it out (bytes, and key codes for the escape
// sequences it knows) into keys. Other escape sequences are read by their standard shape (CSI:
// ESC [, parameter bytes 0x30-0x3F, intermediate bytes 0x20-0x2F, a final byte 0x40-0x7E; SS3:
// ESC O and the same) and dropped whole unless they name a key; a bracketed paste (ESC [200~ ...
// ESC [201~) becomes one Paste key. Nothing here looks at a clock: the reader says when input
// paused.
class TermKeyDecoder {
public:
    // One byte from the terminal.
    void byte(unsigned char c);
    // A key curses decoded, a resize or the end of input: an unfinished sequence before it is dropped.
    void key(const TermKey& key);
    // No byte came within wait() milliseconds: what is unfinished ends here (a lone Escape is
    // the Escape key, a paste ends with what came, a cut sequence is dropped).
    void pause();
    // How long the reader waits for the next byte before pause(); -1 when nothing is unfinished.
    int wait() const;
    // The next key read; false when none is complete.
    bool next(TermKey& key);

private:
    enum State { Ground, Escape, Sequence, Character, Paste, PasteEscape, PasteSequence };
    void ground(unsigned char c);
    void finishSequence(unsigned char final);
    void emit(TermKey key);
    void emitByte(int c);
    void dropSequence();

    State state_ = Ground;
    bool alt_ = false;        // an Escape came before the next key
    bool ss3_ = false;        // the sequence began with ESC O
    bool intermediate_ = false; // an intermediate byte came: no more parameter bytes may
    std::string params_;      // parameter and intermediate bytes of the sequence
    std::string character_;   // bytes of a UTF-8 character so far
    size_t characterLength_ = 0;
    std::string paste_;
    bool invalid_ = false;    // the sequence broke its shape or ran too long: dropped at its end
    std::deque<TermKey> ready_;
};

// Pasted text (UTF-8) for a one-line editor in Windows-1252: a line break (CR LF, CR or LF)
// becomes a space, a tab stays, other control characters are dropped. False with a message when
// the text is not UTF-8 or holds a character Windows-1252 lacks: nothing of it is inserted then.
bool PastedText(const std::string& utf8, std::string& cp1252, std::string& problem);

// The key stroke or character the key stands for; false for keys without a meaning here.
bool TranslateTermKey(const TermKey& key, KeyAction& action);

// Whether the action is the editor's quit key (Ctrl+Q).
bool IsQuitKey(const KeyAction& action);
