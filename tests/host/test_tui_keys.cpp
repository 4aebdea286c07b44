// The terminal editor's reading of terminal keys as key strokes of the window system.
#include "host/Text.h"
#include "host/TuiKeys.h"

#include <windows.h>
#include <w32drv.h>
#include <curses.h>

#include <gtest/gtest.h>

namespace {

TermKey termKey(TermKey::Kind kind, int code = 0, const char* name = "", bool alt = false) {
    TermKey k;
    k.kind = kind;
    k.code = code;
    k.name = name;
    k.alt = alt;
    return k;
}

TermKey byte(int c, bool alt = false) { return termKey(TermKey::Byte, c, "", alt); }

TermKey curses(int code, const char* name = "") { return termKey(TermKey::Curses, code, name); }

TermKey text(const char* utf8) {
    TermKey k = termKey(TermKey::Text);
    k.text = utf8;
    return k;
}

// Feeds the bytes to the decoder and returns every key it has read, a pause after each chunk
// where asked.
std::vector<TermKey> decode(TermKeyDecoder& d, const std::vector<std::string>& chunks, bool pauses = false) {
    std::vector<TermKey> keys;
    for (const auto& chunk : chunks) {
        for (char c : chunk) d.byte(static_cast<unsigned char>(c));
        if (pauses) d.pause();
    }
    for (TermKey k; d.next(k);) keys.push_back(k);
    return keys;
}

std::vector<TermKey> decode(const std::string& bytes) {
    TermKeyDecoder d;
    return decode(d, {bytes});
}

// What the keys type and press, as text: characters as themselves, keys as <vk+modifiers>.
std::string typed(const std::vector<TermKey>& keys) {
    std::string out;
    for (const auto& k : keys) {
        KeyAction a;
        if (k.kind == TermKey::Paste) {
            out += "[paste " + k.text + "]";
        } else if (!TranslateTermKey(k, a)) {
            out += "<none>";
        } else if (a.kind == KeyAction::Char) {
            out += a.ch;
        } else {
            out += "<" + std::to_string(a.vk) + "+" + std::to_string(a.modifiers) + ">";
        }
    }
    return out;
}

std::string stroke(unsigned vk, unsigned modifiers = 0) {
    return "<" + std::to_string(vk) + "+" + std::to_string(modifiers) + ">";
}

TEST(TuiKeys, TerminalKeysAreKeyStrokesOrCharactersOfTheWindowSystem) {
    const unsigned ctrl = w32drv::Control, shift = w32drv::Shift, alt = w32drv::Alt;
    const int ext = KEY_MAX + 10; // codes above KEY_MAX depend on the terminal; the name tells the key
    const std::string none = "<none>";
    const std::vector<std::pair<TermKey, std::string>> cases = {
        {byte('a'), "a"},
        {byte('A'), "A"},
        {byte(' '), " "},
        {byte('~'), "~"},
        {byte(9), stroke(VK_TAB)},
        {byte(13), stroke(VK_RETURN)},
        {byte(10), stroke(VK_RETURN)},
        {byte(127), stroke(VK_BACK)},
        {byte(8), stroke(VK_BACK)},
        {byte(27), stroke(VK_ESCAPE)},
        {byte(0), stroke(VK_SPACE, ctrl)},
        {byte(1), stroke('A', ctrl)},
        {byte(26), stroke('Z', ctrl)},
        {byte(28), none},
        {byte(31), none},
        {curses(KEY_LEFT), stroke(VK_LEFT)},
        {curses(KEY_RIGHT), stroke(VK_RIGHT)},
        {curses(KEY_UP), stroke(VK_UP)},
        {curses(KEY_DOWN), stroke(VK_DOWN)},
        {curses(KEY_HOME), stroke(VK_HOME)},
        {curses(KEY_END), stroke(VK_END)},
        {curses(KEY_PPAGE), stroke(VK_PRIOR)},
        {curses(KEY_NPAGE), stroke(VK_NEXT)},
        {curses(KEY_DC), stroke(VK_DELETE)},
        {curses(KEY_BACKSPACE), stroke(VK_BACK)},
        {curses(KEY_ENTER), stroke(VK_RETURN)},
        {curses(KEY_BTAB), stroke(VK_TAB, shift)},
        {curses(KEY_SEND), stroke(VK_END, shift)},
        {curses(KEY_F(1)), stroke(VK_F1)},
        {curses(KEY_F(12)), stroke(VK_F12)},
        {curses(KEY_F(13)), none},
        {curses(KEY_MOUSE), none},
        {curses(ext, "kLFT5"), stroke(VK_LEFT, ctrl)},
        {curses(ext, "kRIT6"), stroke(VK_RIGHT, ctrl | shift)},
        {curses(ext, "kUP3"), stroke(VK_UP, alt)},
        {curses(ext, "kDN2"), stroke(VK_DOWN, shift)},
        {curses(ext, "kNXT8"), stroke(VK_NEXT, ctrl | shift | alt)},
        {curses(ext, "kLFT9"), none},
        {curses(ext, "kLFT"), none},
        {curses(ext, "kxIN"), none},
        {curses(ext, ""), none},
        // characters beyond ASCII in the system's code page, or none
        {text("\xC3\xA9"), "\xE9"},
        {text("\xE2\x82\xAC"), "\x80"},
        {text("\xE4\xB8\xAD"), none},
        {text("\xF0\x9F\x98\x80"), none},
        // after a lone Escape: Alt with the key
        {byte('x', true), stroke('X', alt)},
        {byte('X', true), stroke('X', alt | shift)},
        {byte('1', true), stroke('1', alt)},
        {byte(13, true), stroke(VK_RETURN, alt)},
        {termKey(TermKey::Curses, KEY_LEFT, "", true), stroke(VK_LEFT, alt)},
        {termKey(TermKey::Resize), none},
        {termKey(TermKey::Closed), none},
    };
    for (const auto& [key, expected] : cases) EXPECT_EQ(typed({key}), expected) << key.kind << " " << key.code;
}

TEST(TuiKeys, OnlyControlQIsTheQuitKey) {
    for (const auto& [key, quits] : std::vector<std::pair<TermKey, bool>>{
             {byte(17), true}, {byte('q'), false}, {byte('Q'), false}, {byte(17, true), false}, {byte(27), false}}) {
        KeyAction a;
        ASSERT_TRUE(TranslateTermKey(key, a));
        EXPECT_EQ(IsQuitKey(a), quits) << key.code;
    }
}

TEST(TuiKeyDecoder, UnknownAndMalformedSequencesAreDroppedWhole) {
    // cursor reports, private modes, focus events, an intermediate byte, mouse reports
    EXPECT_EQ(typed(decode("a\x1b[999;999Hb")), "ab");
    EXPECT_EQ(typed(decode("\x1b[?2004h\x1b[I\x1b[O\x1b[2 q\x1b[<0;3;4M\x1bOx")), "");
    // a parameter byte after an intermediate one breaks the shape: dropped up to the final byte
    EXPECT_EQ(typed(decode("\x1b[1 2;3mz")), "z");
    // far too long: still dropped whole
    EXPECT_EQ(typed(decode("\x1b[" + std::string(100000, '9') + "Hk")), "k");
    // a control byte cuts a sequence off; the byte itself still counts
    EXPECT_EQ(typed(decode("\x1b[12\r")), stroke(VK_RETURN));
    EXPECT_EQ(typed(decode("\x1b[12\x1b[Ax")), stroke(VK_UP) + "x");
}

TEST(TuiKeyDecoder, SequencesCursesMayNotKnowAreTheirKeys) {
    EXPECT_EQ(typed(decode("\x1b[A\x1bOB\x1b[1;5D\x1b[1;2C")),
              stroke(VK_UP) + stroke(VK_DOWN) + stroke(VK_LEFT, w32drv::Control) + stroke(VK_RIGHT, w32drv::Shift));
    EXPECT_EQ(typed(decode("\x1b[3~\x1b[5;3~\x1b[15;2~\x1b[24~")),
              stroke(VK_DELETE) + stroke(VK_PRIOR, w32drv::Alt) + stroke(VK_F5, w32drv::Shift) + stroke(VK_F12));
    EXPECT_EQ(typed(decode("\x1bOP\x1b[1;5S\x1b[Z\x1b[H\x1bOF")),
              stroke(VK_F1) + stroke(VK_F4, w32drv::Control) + stroke(VK_TAB, w32drv::Shift) + stroke(VK_HOME) +
                  stroke(VK_END));
    // numbers no key has, or a modifier past Ctrl+Alt+Shift
    EXPECT_EQ(typed(decode("\x1b[99~\x1b[1;9A\x1b[2A\x1b[P")), "");
}

TEST(TuiKeyDecoder, SplitInputReadsTheSameAndAPauseEndsWhatIsUnfinished) {
    TermKeyDecoder d;
    EXPECT_EQ(d.wait(), -1);
    // one byte at a time, nothing comes out before the sequence is complete
    for (char c : std::string("\x1b[1;5")) {
        d.byte(static_cast<unsigned char>(c));
        TermKey k;
        EXPECT_FALSE(d.next(k));
        EXPECT_GE(d.wait(), 0);
    }
    EXPECT_EQ(typed(decode(d, {"D"})), stroke(VK_LEFT, w32drv::Control));
    EXPECT_EQ(d.wait(), -1);
    // a character beyond ASCII split between reads
    EXPECT_EQ(typed(decode(d, {"\xC3", "\xBC"})), "\xFC");
    // a pause: a lone Escape is the key, a cut sequence or character is nothing
    EXPECT_EQ(typed(decode(d, {"\x1b", "\x1b[12", "\xE2\x82", "q"}, true)), stroke(VK_ESCAPE) + "q");
    // Escape before a key is Alt with it, also before a key curses read
    EXPECT_EQ(typed(decode(d, {"\x1bx"})), stroke('X', w32drv::Alt));
    d.byte(27);
    const TermKey left = curses(KEY_LEFT);
    d.key(left);
    EXPECT_EQ(typed(decode(d, {})), stroke(VK_LEFT, w32drv::Alt));
    // a key curses read ends an unfinished sequence, which is dropped
    d.byte(27);
    d.byte('[');
    d.byte('1');
    d.key(left);
    EXPECT_EQ(typed(decode(d, {"\x1b\x1b"}, true)), stroke(VK_LEFT) + stroke(VK_ESCAPE) + stroke(VK_ESCAPE));
    // malformed UTF-8 types nothing
    EXPECT_EQ(typed(decode(d, {"\xC0\xAF\xE0\x80\x80\xFF\x80", "\xC3(", "ok"})), "(ok");
}

TEST(TuiKeyDecoder, ABracketedPasteIsOneTextWithoutItsMarkers) {
    const std::string pasted = "R\xC3\xA4" "der.Gr\xC3\xB6\xC3\x9F" "e\t\xE2\x82\xAC\r\nx\x1b[Ay\x01\x1b\x7Fz\nw";
    const std::string inserted = "R\xE4" "der.Gr\xF6\xDF" "e\t\x80 xyz w";
    for (bool byteByByte : {false, true}) {
        TermKeyDecoder d;
        std::vector<std::string> chunks;
        const std::string input = "a\x1b[200~" + pasted + "\x1b[201~b";
        if (byteByByte)
            for (char c : input) chunks.emplace_back(1, c);
        else
            chunks.push_back(input);
        std::vector<TermKey> keys = decode(d, chunks);
        ASSERT_EQ(keys.size(), 3u) << typed(keys);
        EXPECT_EQ(typed({keys[0]}), "a");
        ASSERT_EQ(keys[1].kind, TermKey::Paste);
        EXPECT_EQ(typed({keys[2]}), "b");
        std::string text, problem;
        ASSERT_TRUE(PastedText(keys[1].text, text, problem)) << problem;
        // line breaks are spaces, the tab stays, controls and the sequence inside are gone
        EXPECT_EQ(text, inserted);
    }
    // keys curses read inside a paste are no part of it; a resize still comes through
    TermKeyDecoder d;
    decode(d, {"\x1b[200~ab"});
    d.key(curses(KEY_LEFT));
    d.key(termKey(TermKey::Resize));
    std::vector<TermKey> keys = decode(d, {"c\x1b[201~"});
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].kind, TermKey::Resize);
    EXPECT_EQ(keys[1].text, "abc");
    // without its end marker a paste ends at a pause, with what came
    keys = decode(d, {"\x1b[200~abc\x1b[20"}, true);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].text, "abc");
    EXPECT_EQ(typed(decode(d, {"\x1b[201~q"})), "q");
}

TEST(TuiKeyDecoder, PastedTextTheSystemCannotHoldIsRefusedWhole) {
    std::string text = "unchanged", problem;
    EXPECT_FALSE(PastedText("ab\xD1\x84", text, problem)); // Cyrillic
    EXPECT_NE(problem.find("U+0444"), std::string::npos) << problem;
    EXPECT_FALSE(PastedText("ab\xFF", text, problem));
    EXPECT_NE(problem.find("UTF-8"), std::string::npos) << problem;
    EXPECT_TRUE(IsUtf8(problem));
    ASSERT_TRUE(PastedText("\r\r\n\n", text, problem));
    EXPECT_EQ(text, "   ");
}

} // namespace
