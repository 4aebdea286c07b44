#include "host/TuiScreen.h"

#include <curses.h>
#include <langinfo.h>

#include <clocale>
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
    return true;
}

void TuiScreen::close() {
    if (!screen_) return;
    endwin();
    delscreen(screen_);
    screen_ = nullptr;
}

TermKey TuiScreen::readKey() {
    TermKey key;
    // a closed terminal makes every read fail at once; a blocking read fails only then
    for (int failures = 0;;) {
        int c = wgetch(stdscr);
        if (c == ERR) {
            if (++failures >= 16) {
                key.kind = TermKey::Closed;
                return key;
            }
            continue;
        }
        if (c == KEY_RESIZE) {
            key.kind = TermKey::Resize;
            return key;
        }
        if (c == 27 && !key.alt) {
            // Alt combinations arrive as Escape and the key together
            wtimeout(stdscr, 0);
            int next = wgetch(stdscr);
            wtimeout(stdscr, -1);
            if (next != ERR && next != 27 && next != KEY_RESIZE) {
                key.alt = true;
                ungetch(next);
                continue;
            }
            if (next != ERR) ungetch(next);
        }
        if (c >= KEY_MIN) {
            key.kind = TermKey::Curses;
            key.code = c;
            const char* name = keyname(c);
            key.name = name ? name : "";
            return key;
        }
        if (c < 0x80) {
            key.kind = TermKey::Byte;
            key.code = c;
            return key;
        }
        // the rest of a UTF-8 sequence follows at once
        int length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (!length) continue;
        std::string text(1, static_cast<char>(c));
        wtimeout(stdscr, 100);
        while (static_cast<int>(text.size()) < length) {
            int more = wgetch(stdscr);
            if (more == ERR || (more & 0xC0) != 0x80) break;
            text.push_back(static_cast<char>(more));
        }
        wtimeout(stdscr, -1);
        if (static_cast<int>(text.size()) != length) continue;
        key.kind = TermKey::Text;
        key.text = text;
        return key;
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
