// The terminal editor's reading of terminal keys as key strokes of the window system.
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

TEST(TuiKeys, ResizeAndClosedAreNoKeys) {
    TermKey k;
    k.kind = TermKey::Resize;
    EXPECT_FALSE(translates(k));
    k.kind = TermKey::Closed;
    EXPECT_FALSE(translates(k));
}

} // namespace
