// Message boxes answered at the terminal: which buttons a box has, where the focus starts and
// which keys answer it.
#include "host/TuiMessageBox.h"

#include <windows.h>
#include <w32drv.h>

#include <gtest/gtest.h>

namespace {

KeyAction key(unsigned vk, unsigned modifiers = 0) {
    KeyAction a;
    a.kind = KeyAction::Key;
    a.vk = vk;
    a.modifiers = modifiers;
    return a;
}

KeyAction chr(char c) {
    KeyAction a;
    a.kind = KeyAction::Char;
    a.ch = c;
    return a;
}

} // namespace

TEST(TuiMessageBox, TheFocusStartsOnTheDefaultButtonAndMovesAroundTheRow) {
    BoxChoice c = MakeBoxChoice(MB_YESNOCANCEL | MB_DEFBUTTON2);
    EXPECT_EQ(BoxButtonsRow(c), "[Yes]  [[No]]  [Cancel]");
    int answer = 0;
    EXPECT_FALSE(ApplyBoxKey(c, key(VK_TAB), answer));
    EXPECT_FALSE(ApplyBoxKey(c, key(VK_RIGHT), answer)); // wraps to the first
    EXPECT_EQ(BoxButtonsRow(c), "[[Yes]]  [No]  [Cancel]");
    EXPECT_FALSE(ApplyBoxKey(c, key(VK_TAB, w32drv::Shift), answer));
    EXPECT_TRUE(ApplyBoxKey(c, key(VK_RETURN), answer));
    EXPECT_EQ(answer, IDCANCEL);
    // a default beyond the buttons falls back to the first
    EXPECT_EQ(MakeBoxChoice(MB_YESNO | MB_DEFBUTTON3).focus, 0u);
    EXPECT_EQ(BoxButtonsRow(MakeBoxChoice(MB_OK)), "[[OK]]");
}

TEST(TuiMessageBox, EscapeAndLettersAnswerOnlyWhereTheBoxAllowsIt) {
    struct Case {
        unsigned style;
        KeyAction key;
        bool answers;
        int answer;
    } cases[] = {
        {MB_YESNO, key(VK_ESCAPE), false, 0}, // neither Cancel nor a lone OK
        {MB_YESNOCANCEL, key(VK_ESCAPE), true, IDCANCEL},
        {MB_OK, key(VK_ESCAPE), true, IDOK},
        {MB_YESNO, chr('n'), true, IDNO},
        {MB_YESNO, chr('Y'), true, IDYES},
        {MB_OKCANCEL, chr('o'), false, 0}, // OK and Cancel have no letter
        {MB_ABORTRETRYIGNORE, chr('i'), true, IDIGNORE},
        {MB_CANCELTRYCONTINUE, chr('c'), true, IDCONTINUE},
        {MB_YESNO | MB_DEFBUTTON2, chr(' '), true, IDNO},
        {MB_YESNO, key(VK_F1), false, 0},
    };
    for (const Case& t : cases) {
        BoxChoice c = MakeBoxChoice(t.style);
        int answer = 0;
        EXPECT_EQ(ApplyBoxKey(c, t.key, answer), t.answers) << "style " << t.style;
        EXPECT_EQ(answer, t.answer) << "style " << t.style;
    }
}
