// The terminal under curses: one session per run, key reading and clipped drawing.
#pragma once
#include "host/TuiKeys.h"

#include <string>

class TuiScreen {
public:
    TuiScreen() = default;
    TuiScreen(const TuiScreen&) = delete;
    TuiScreen& operator=(const TuiScreen&) = delete;
    // Restores the terminal.
    ~TuiScreen();

    // Takes over the terminal; false with a message when it cannot be used.
    bool open(std::string& error);
    void close();

    // Blocks until the next key.
    TermKey readKey();

    int rows() const;
    int cols() const;
    void blank();
    // Text in UTF-8, one cell a character, clipped to the screen.
    void put(int row, int col, const std::string& utf8, bool reverse = false);
    // A whole row in reverse video.
    void bar(int row, const std::string& utf8);
    // Shows the cursor there, or hides it for a negative row.
    void cursor(int row, int col);
    void present();

private:
    struct screen* screen_ = nullptr;
    TermKeyDecoder decoder_;
    bool utf8_ = false; // the terminal's locale takes UTF-8
};
