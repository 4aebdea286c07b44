// The terminal editor's reading of terminal keys as key strokes of the window system.
#include "host/Text.h"
#include "host/TuiKeys.h"

#include <windows.h>
#include <w32drv.h>
#include <curses.h>

#include <gtest/gtest.h>

namespace {

TermKey byte(int c, bool alt = false) {
    TermKey k;
    k.kind = TermKey::Byte;
    k.code = c;
    k.alt = alt;
    return k;
}

TermKey cursesKey(int code, const char* name = "") {
    TermKey k;
    k.kind = TermKey::Curses;
    k.code = code;
    k.name = name;
    return k;
}

TermKey text(const char* utf8) {
    TermKey k;
    k.kind = TermKey::Text;
    k.text = utf8;
    return k;
}

::testing::AssertionResult isKey(const TermKey& key, unsigned vk, unsigned modifiers) {
    KeyAction a;
    if (!TranslateTermKey(key, a)) return ::testing::AssertionFailure() << "no translation";
    if (a.kind != KeyAction::Key || a.vk != vk || a.modifiers != modifiers)
        return ::testing::AssertionFailure() << "kind " << a.kind << " vk " << a.vk << " modifiers " << a.modifiers;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult isChar(const TermKey& key, char ch) {
    KeyAction a;
    if (!TranslateTermKey(key, a)) return ::testing::AssertionFailure() << "no translation";
    if (a.kind != KeyAction::Char || a.ch != ch)
        return ::testing::AssertionFailure() << "kind " << a.kind << " char " << static_cast<int>(a.ch);
    return ::testing::AssertionSuccess();
}

bool translates(const TermKey& key) {
    KeyAction a;
    return TranslateTermKey(key, a);
}

TEST(TuiKeys, PrintableCharactersAreTyped) {
    EXPECT_TRUE(isChar(byte('a'), 'a'));
    EXPECT_TRUE(isChar(byte('A'), 'A'));
    EXPECT_TRUE(isChar(byte(' '), ' '));
    EXPECT_TRUE(isChar(byte('('), '('));
    EXPECT_TRUE(isChar(byte('~'), '~'));
}

TEST(TuiKeys, ControlBytesAreTheirKeys) {
    EXPECT_TRUE(isKey(byte(9), VK_TAB, 0));
    EXPECT_TRUE(isKey(byte(13), VK_RETURN, 0));
    EXPECT_TRUE(isKey(byte(10), VK_RETURN, 0));
    EXPECT_TRUE(isKey(byte(127), VK_BACK, 0));
    EXPECT_TRUE(isKey(byte(8), VK_BACK, 0));
    EXPECT_TRUE(isKey(byte(27), VK_ESCAPE, 0));
    EXPECT_TRUE(isKey(byte(0), VK_SPACE, w32drv::Control));
    EXPECT_TRUE(isKey(byte(1), 'A', w32drv::Control));
    EXPECT_TRUE(isKey(byte(3), 'C', w32drv::Control));
    EXPECT_TRUE(isKey(byte(22), 'V', w32drv::Control));
    EXPECT_FALSE(translates(byte(28)));
    EXPECT_FALSE(translates(byte(31)));
}

TEST(TuiKeys, OnlyControlQIsTheQuitKey) {
    KeyAction a;
    ASSERT_TRUE(TranslateTermKey(byte(17), a));
    EXPECT_TRUE(IsQuitKey(a));
    ASSERT_TRUE(TranslateTermKey(byte('q'), a));
    EXPECT_FALSE(IsQuitKey(a));
    ASSERT_TRUE(TranslateTermKey(byte('Q'), a));
    EXPECT_FALSE(IsQuitKey(a));
    ASSERT_TRUE(TranslateTermKey(byte(17, true), a)); // Alt+Ctrl+Q
    EXPECT_FALSE(IsQuitKey(a));
    ASSERT_TRUE(TranslateTermKey(byte(27), a));
    EXPECT_FALSE(IsQuitKey(a));
}

TEST(TuiKeys, CursesKeys) {
    EXPECT_TRUE(isKey(cursesKey(KEY_LEFT), VK_LEFT, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_RIGHT), VK_RIGHT, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_UP), VK_UP, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_DOWN), VK_DOWN, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_HOME), VK_HOME, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_END), VK_END, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_PPAGE), VK_PRIOR, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_NPAGE), VK_NEXT, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_DC), VK_DELETE, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_BACKSPACE), VK_BACK, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_ENTER), VK_RETURN, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_BTAB), VK_TAB, w32drv::Shift));
    EXPECT_TRUE(isKey(cursesKey(KEY_SLEFT), VK_LEFT, w32drv::Shift));
    EXPECT_TRUE(isKey(cursesKey(KEY_SEND), VK_END, w32drv::Shift));
    EXPECT_TRUE(isKey(cursesKey(KEY_F(1)), VK_F1, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_F(2)), VK_F2, 0));
    EXPECT_TRUE(isKey(cursesKey(KEY_F(12)), VK_F12, 0));
    EXPECT_FALSE(translates(cursesKey(KEY_F(13))));
    EXPECT_FALSE(translates(cursesKey(KEY_MOUSE)));
}

TEST(TuiKeys, ExtendedKeyNamesCarryTheirModifiers) {
    // codes above KEY_MAX depend on the terminal; the name tells the key
    const int code = KEY_MAX + 10;
    EXPECT_TRUE(isKey(cursesKey(code, "kLFT5"), VK_LEFT, w32drv::Control));
    EXPECT_TRUE(isKey(cursesKey(code, "kRIT6"), VK_RIGHT, w32drv::Control | w32drv::Shift));
    EXPECT_TRUE(isKey(cursesKey(code, "kUP3"), VK_UP, w32drv::Alt));
    EXPECT_TRUE(isKey(cursesKey(code, "kDN2"), VK_DOWN, w32drv::Shift));
    EXPECT_TRUE(isKey(cursesKey(code, "kHOM5"), VK_HOME, w32drv::Control));
    EXPECT_TRUE(isKey(cursesKey(code, "kEND5"), VK_END, w32drv::Control));
    EXPECT_TRUE(isKey(cursesKey(code, "kDC5"), VK_DELETE, w32drv::Control));
    EXPECT_TRUE(isKey(cursesKey(code, "kNXT8"), VK_NEXT, w32drv::Control | w32drv::Shift | w32drv::Alt));
    EXPECT_FALSE(translates(cursesKey(code, "kLFT9")));
    EXPECT_FALSE(translates(cursesKey(code, "kLFT")));
    EXPECT_FALSE(translates(cursesKey(code, "kxIN")));
    EXPECT_FALSE(translates(cursesKey(code, "")));
}

TEST(TuiKeys, CharactersBeyondAsciiAreTypedInTheSystemsCodePage) {
    EXPECT_TRUE(isChar(text("\xC3\xA9"), '\xE9'));     // e acute
    EXPECT_TRUE(isChar(text("\xC3\x9F"), '\xDF'));     // sharp s
    EXPECT_TRUE(isChar(text("\xE2\x82\xAC"), '\x80')); // euro sign
    EXPECT_FALSE(translates(text("\xE4\xB8\xAD")));     // not in Windows-1252
    EXPECT_FALSE(translates(text("\xF0\x9F\x98\x80")));
}

TEST(TuiKeys, AltCombinations) {
    EXPECT_TRUE(isKey(byte('x', true), 'X', w32drv::Alt));
    EXPECT_TRUE(isKey(byte('X', true), 'X', w32drv::Alt | w32drv::Shift));
    EXPECT_TRUE(isKey(byte('1', true), '1', w32drv::Alt));
    EXPECT_TRUE(isKey(byte(13, true), VK_RETURN, w32drv::Alt));
    TermKey left = cursesKey(KEY_LEFT);
    left.alt = true;
    EXPECT_TRUE(isKey(left, VK_LEFT, w32drv::Alt));
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
    TermKey left;
    left.kind = TermKey::Curses;
    left.code = KEY_LEFT;
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
    TermKey k;
    k.kind = TermKey::Curses;
    k.code = KEY_LEFT;
    d.key(k);
    k.kind = TermKey::Resize;
    d.key(k);
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

TEST(TuiKeys, ResizeAndClosedAreNoKeys) {
    TermKey k;
    k.kind = TermKey::Resize;
    EXPECT_FALSE(translates(k));
    k.kind = TermKey::Closed;
    EXPECT_FALSE(translates(k));
}

} // namespace
