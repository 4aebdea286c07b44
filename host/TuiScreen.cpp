#include "host/TuiScreen.h"

#include <curses.h>
#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

TuiScreen::~TuiScreen() { close(); }

bool TuiScreen::open(std::string& error) {
#ifdef __SANITIZE_ADDRESS__
    // a newterm that fails keeps no pointer to what it allocated, and there is nothing to free it with
    __lsan_disable();
#endif
    // only the character type: numbers and messages elsewhere keep the C conventions
    std::setlocale(LC_CTYPE, "");
    utf8_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    screen_ = newterm(nullptr, stdout, stdin);
#ifdef __SANITIZE_ADDRESS__
    __lsan_enable();
#endif
    if (!screen_) {
        error = "tui cannot use this terminal (TERM is unset or unknown)";
        return false;
    }
    set_term(screen_);
    raw(); // Ctrl+Q, Ctrl+S, Ctrl+C and Ctrl+Z reach the program as keys
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    meta(stdscr, TRUE);
    intrflush(stdscr, FALSE);
    set_escdelay(25); // a lone Escape closes the dialog without a noticeable pause
    // bracketed paste: pasted text arrives marked, so that it is inserted instead of run as keys
    std::fputs("\033[?2004h", stdout);
    std::fflush(stdout);
    return true;
}

void TuiScreen::close() {
    if (!screen_) return;
    std::fflush(stdout);
    std::fputs("\033[?2004l", stdout);
    std::fflush(stdout);
    endwin();
    delscreen(screen_);
    screen_ = nullptr;
}

TermKey TuiScreen::readKey() {
    TermKey key;
    // a closed terminal makes every read fail at once; a blocking read fails only then
    for (int failures = 0;;) {
        if (decoder_.next(key)) return key;
        const int wait = decoder_.wait();
        wtimeout(stdscr, wait);
        int c = wgetch(stdscr);
        if (c == ERR) {
            if (wait >= 0) {
                decoder_.pause();
            } else if (++failures >= 16) {
                key.kind = TermKey::Closed;
                decoder_.key(key);
            }
            continue;
        }
        failures = 0;
        TermKey k;
        if (c == KEY_RESIZE) {
            k.kind = TermKey::Resize;
            decoder_.key(k);
        } else if (c >= KEY_MIN) {
            k.kind = TermKey::Curses;
            k.code = c;
            const char* name = keyname(c);
            k.name = name ? name : "";
            decoder_.key(k);
        } else {
            decoder_.byte(static_cast<unsigned char>(c));
        }
    }
}

int TuiScreen::rows() const { return LINES; }
int TuiScreen::cols() const { return COLS; }

void TuiScreen::blank() { werase(stdscr); }

void TuiScreen::put(int row, int col, const std::string& utf8, bool reverse) {
    if (row < 0 || row >= LINES) return;
    if (reverse) attron(A_REVERSE);
    for (size_t i = 0; i < utf8.size() && col < COLS; ++col) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        i += length;
        if (col < 0) continue;
        if (c >= 0x20 && c < 0x7F) {
            mvaddch(row, col, c);
        } else if (c == '\t') {
            mvaddch(row, col, ' '); // a tab in the line takes one cell, as every character does
        } else if (c >= 0xC0 && utf8_ && i <= utf8.size()) {
            // every character the line can hold (Windows-1252) is one cell wide
            mvaddnstr(row, col, utf8.data() + i - length, static_cast<int>(length));
        } else {
            mvaddch(row, col, '?');
        }
    }
    if (reverse) attroff(A_REVERSE);
}

void TuiScreen::bar(int row, const std::string& utf8) {
    put(row, 0, utf8 + std::string(static_cast<size_t>(COLS > 0 ? COLS : 0), ' '), true);
}

void TuiScreen::cursor(int row, int col) {
    if (row < 0 || row >= LINES || col < 0 || col >= COLS) {
        curs_set(0);
        return;
    }
    curs_set(1);
    move(row, col);
}

void TuiScreen::present() { refresh(); }
