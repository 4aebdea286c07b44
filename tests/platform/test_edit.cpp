// The EDIT control: typing, selection, keys, clipboard, undo, limits, geometry, mouse and focus.
#include "fixture.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr int kEditId = 100;
constexpr int kMargin = 2;
constexpr int kCharWidth = 6; // the subset's CreateFontA(-11, ...) font

class EditTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        parent = topLevel(400, 300);
        ASSERT_TRUE(parent);
    }

    HWND edit(const char* text, DWORD style = ES_AUTOHSCROLL, int width = 200, int height = 20) {
        HWND e = child(parent, "Edit", text, style, 10, 10, width, height, kEditId);
        EXPECT_TRUE(e);
        return e;
    }

    // An edit with a font of known width and fixed margins, so positions are exact.
    HWND measuredEdit(const char* text, DWORD style = ES_AUTOHSCROLL, int width = 200) {
        HWND e = edit(text, style, width);
        font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
        SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargin, kMargin));
        return e;
    }

    void TearDown() override {
        Win32Test::TearDown();
        if (font) DeleteObject(font);
    }

    static void type(HWND e, const std::string& s) {
        SetFocus(e);
        w32drv::Type(s);
        w32drv::Pump();
    }
    static void key(UINT vk, unsigned mods = w32drv::None) {
        w32drv::Key(vk, mods);
        w32drv::Pump();
    }
    static std::pair<DWORD, DWORD> sel(HWND e) {
        DWORD a = 99, b = 99;
        SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        return {a, b};
    }
    static void setSel(HWND e, int a, int b) { SendMessageA(e, EM_SETSEL, static_cast<WPARAM>(a), b); }
    // EN_* codes the parent received from the edit, in order.
    static std::vector<WORD> notes(HWND e) {
        std::vector<WORD> out;
        for (auto& r : Log::all())
            if (r.msg == WM_COMMAND && reinterpret_cast<HWND>(r.lParam) == e) out.push_back(HIWORD(r.wParam));
        return out;
    }
    static int count(const std::vector<WORD>& codes, WORD code) {
        int n = 0;
        for (WORD c : codes) n += c == code;
        return n;
    }
    static POINT pos(HWND e, int index) {
        LRESULT r = SendMessageA(e, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return POINT{static_cast<SHORT>(LOWORD(r)), static_cast<SHORT>(HIWORD(r))};
    }
    static void setClipboard(const char* s) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, std::strlen(s) + 1);
        std::memcpy(GlobalLock(mem), s, std::strlen(s) + 1);
        GlobalUnlock(mem);
        SetClipboardData(CF_TEXT, mem);
        CloseClipboard();
    }
    static std::string clipboard() {
        std::string s;
        if (!OpenClipboard(nullptr)) return "<not open>";
        if (HANDLE mem = GetClipboardData(CF_TEXT)) {
            s = static_cast<const char*>(GlobalLock(mem));
            GlobalUnlock(mem);
        }
        CloseClipboard();
        return s;
    }

    HWND parent = nullptr;
    HFONT font = nullptr;
};

// ---- text and notifications ----

TEST_F(EditTest, CreationTextIsTheContentWithDefaultsOfWindows) {
    HWND e = edit("hello");
    EXPECT_EQ(text(e), "hello");
    EXPECT_EQ(SendMessageA(e, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 30000);
    EXPECT_FALSE(SendMessageA(e, EM_GETMODIFY, 0, 0));
    EXPECT_FALSE(SendMessageA(e, EM_CANUNDO, 0, 0));
    char small[4];
    EXPECT_EQ(GetWindowTextA(e, small, sizeof small), 3);
    EXPECT_STREQ(small, "hel");
}

TEST_F(EditTest, TypingInsertsTextAndSendsUpdateThenChangePerCharacter) {
    HWND e = edit("");
    Log::clear();
    type(e, "Hi!");
    EXPECT_EQ(text(e), "Hi!");
    EXPECT_EQ(sel(e), std::make_pair(DWORD{3}, DWORD{3}));
    std::vector<WORD> expected{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
    std::vector<WORD> got = notes(e);
    got.erase(std::remove(got.begin(), got.end(), WORD{EN_SETFOCUS}), got.end());
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(SendMessageA(e, EM_GETMODIFY, 0, 0));
}

TEST_F(EditTest, TypingReplacesTheSelection) {
    HWND e = edit("hello world");
    SetFocus(e);
    setSel(e, 0, 5);
    type(e, "J");
    EXPECT_EQ(text(e), "J world");
    EXPECT_EQ(sel(e), std::make_pair(DWORD{1}, DWORD{1}));
}

TEST_F(EditTest, SetTextNotifiesSingleLineEditsAndResetsCaretUndoAndModify) {
    HWND e = edit("");
    type(e, "abc");
    Log::clear();
    SetWindowTextA(e, "new text");
    EXPECT_EQ(notes(e), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_FALSE(SendMessageA(e, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageA(e, EM_GETMODIFY, 0, 0));

    HWND m = child(parent, "Edit", "", ES_MULTILINE, 10, 40, 200, 60, kEditId + 1);
    Log::clear();
    SetWindowTextA(m, "one\r\ntwo");
    EXPECT_TRUE(notes(m).empty());
}

// ---- selection ----

TEST_F(EditTest, SetSelOrdersTheRangeButKeepsTheCaretAtTheEndArgument) {
    HWND e = edit("abcdef");
    SetFocus(e);
    setSel(e, 4, 1);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{1}, DWORD{4}));
    key(VK_LEFT, w32drv::Shift); // the active end is 1
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{4}));

    setSel(e, 0, -1);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{6}));
    setSel(e, 2, 100);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{2}, DWORD{6}));
    setSel(e, -1, 0); // removes the selection, the caret stays
    EXPECT_EQ(sel(e), std::make_pair(DWORD{6}, DWORD{6}));

    setSel(e, 1, 3);
    EXPECT_EQ(SendMessageA(e, EM_GETSEL, 0, 0), MAKELONG(1, 3));
}

TEST_F(EditTest, ArrowsHomeAndEndMoveAndShiftExtends) {
    HWND e = edit("abcdef");
    SetFocus(e);
    key(VK_END);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{6}, DWORD{6}));
    key(VK_LEFT);
    key(VK_LEFT, w32drv::Shift);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{4}, DWORD{5}));
    key(VK_HOME, w32drv::Shift);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{5}));
    key(VK_RIGHT); // an arrow collapses the selection to its edge
    EXPECT_EQ(sel(e), std::make_pair(DWORD{5}, DWORD{5}));
    setSel(e, 2, 4);
    key(VK_LEFT);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{2}, DWORD{2}));
    key(VK_HOME);
    key(VK_LEFT); // nothing before the start
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(EditTest, ControlArrowsMoveByWordsSeparatedBySpaces) {
    HWND e = edit("one two.three  four");
    SetFocus(e);
    key(VK_RIGHT, w32drv::Control);
    EXPECT_EQ(sel(e).second, 4u);
    key(VK_RIGHT, w32drv::Control); // punctuation does not break a word
    EXPECT_EQ(sel(e).second, 15u);
    key(VK_END);
    key(VK_LEFT, w32drv::Control);
    EXPECT_EQ(sel(e).second, 15u);
    key(VK_LEFT, w32drv::Control | w32drv::Shift);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{4}, DWORD{15}));
}

TEST_F(EditTest, ControlASelectsAllInASingleLineEdit) {
    HWND e = edit("select me");
    SetFocus(e);
    key('A', w32drv::Control);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{9}));
    EXPECT_EQ(text(e), "select me");
}

// ---- deleting ----

TEST_F(EditTest, BackspaceAndDeleteRemoveCharactersOrTheSelection) {
    HWND e = edit("abcdef");
    SetFocus(e);
    setSel(e, 3, 3);
    key(VK_BACK);
    EXPECT_EQ(text(e), "abdef");
    key(VK_DELETE);
    EXPECT_EQ(text(e), "abef");
    EXPECT_EQ(sel(e), std::make_pair(DWORD{2}, DWORD{2}));
    setSel(e, 1, 3);
    key(VK_DELETE);
    EXPECT_EQ(text(e), "af");
    setSel(e, 0, 0);
    Log::clear();
    key(VK_BACK); // nothing before the caret: no change, no notification
    EXPECT_EQ(text(e), "af");
    EXPECT_EQ(count(notes(e), EN_CHANGE), 0);
}

TEST_F(EditTest, EnterAndTabAreRefusedWithABeepInASingleLineEdit) {
    HWND e = edit("ab");
    SetFocus(e);
    w32drv::ClearRecords();
    key(VK_RETURN);
    key(VK_TAB);
    EXPECT_EQ(text(e), "ab");
    EXPECT_EQ(w32drv::Beeps().size(), 2u);
}

// ---- limits and input filters ----

TEST_F(EditTest, TextLimitTruncatesInputAndSendsMaxText) {
    HWND e = edit("");
    SendMessageA(e, EM_LIMITTEXT, 5, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 5);
    Log::clear();
    type(e, "abcdefg");
    EXPECT_EQ(text(e), "abcde");
    std::vector<WORD> n = notes(e);
    EXPECT_EQ(count(n, EN_MAXTEXT), 2);
    EXPECT_EQ(count(n, EN_CHANGE), 5);

    setSel(e, 0, 0);
    SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("XYZ"));
    EXPECT_EQ(text(e), "abcde");

    SetWindowTextA(e, "longer than five"); // the limit is for what is entered, not set
    EXPECT_EQ(text(e), "longer than five");

    SendMessageA(e, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, NumberEditsBeepOnNonDigitsAndCaseStylesConvertInput) {
    HWND n = edit("", ES_NUMBER);
    w32drv::ClearRecords();
    type(n, "1a2");
    EXPECT_EQ(text(n), "12");
    EXPECT_EQ(w32drv::Beeps().size(), 1u);

    HWND u = child(parent, "Edit", "", ES_UPPERCASE, 10, 40, 100, 20, kEditId + 1);
    type(u, "abC");
    EXPECT_EQ(text(u), "ABC");
    HWND l = child(parent, "Edit", "", ES_LOWERCASE, 10, 70, 100, 20, kEditId + 2);
    setClipboard("MiXeD");
    SetFocus(l);
    key('V', w32drv::Control);
    EXPECT_EQ(text(l), "mixed");
}

TEST_F(EditTest, ReadOnlyRefusesTheUserButNotThePrograms) {
    HWND e = edit("fixed");
    EXPECT_TRUE(SendMessageA(e, EM_SETREADONLY, TRUE, 0));
    EXPECT_TRUE(GetWindowLongA(e, GWL_STYLE) & ES_READONLY);
    setClipboard("pasted");
    SetFocus(e);
    w32drv::ClearRecords();
    setSel(e, 0, 5);
    type(e, "x");
    key('V', w32drv::Control);
    key('X', w32drv::Control);
    key(VK_DELETE);
    SendMessageA(e, WM_PASTE, 0, 0);
    SendMessageA(e, WM_CUT, 0, 0);
    EXPECT_EQ(text(e), "fixed");
    EXPECT_GE(w32drv::Beeps().size(), 3u);

    key('C', w32drv::Control); // copying is reading
    EXPECT_EQ(clipboard(), "fixed");

    setSel(e, 5, 5);
    SendMessageA(e, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(" log"));
    EXPECT_EQ(text(e), "fixed log");

    SendMessageA(e, EM_SETREADONLY, FALSE, 0);
    EXPECT_FALSE(GetWindowLongA(e, GWL_STYLE) & ES_READONLY);
}

// ---- clipboard and undo ----

TEST_F(EditTest, ControlKeysCopyCutPasteAndUndo) {
    HWND e = edit("hello world");
    SetFocus(e);
    setSel(e, 6, 11);
    key('C', w32drv::Control);
    EXPECT_EQ(clipboard(), "world");
    key('X', w32drv::Control);
    EXPECT_EQ(text(e), "hello ");
    EXPECT_EQ(clipboard(), "world");
    key(VK_HOME);
    key('V', w32drv::Control);
    EXPECT_EQ(text(e), "worldhello ");
    EXPECT_EQ(sel(e), std::make_pair(DWORD{5}, DWORD{5}));
    key('Z', w32drv::Control);
    EXPECT_EQ(text(e), "hello ");
    key('Z', w32drv::Control); // undoing the undo redoes
    EXPECT_EQ(text(e), "worldhello ");
}

TEST_F(EditTest, ClipboardMessagesAndUndoBuffer) {
    HWND e = edit("one two");
    setSel(e, 0, 4);
    SendMessageA(e, WM_COPY, 0, 0);
    EXPECT_EQ(clipboard(), "one ");
    SendMessageA(e, WM_CLEAR, 0, 0);
    EXPECT_EQ(text(e), "two");
    EXPECT_EQ(clipboard(), "one ");
    EXPECT_TRUE(SendMessageA(e, EM_CANUNDO, 0, 0));
    SendMessageA(e, WM_UNDO, 0, 0);
    EXPECT_EQ(text(e), "one two");
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{4})); // the restored text is selected
    SendMessageA(e, WM_CUT, 0, 0);
    SendMessageA(e, EM_SETSEL, 3, 3);
    SendMessageA(e, WM_PASTE, 0, 0);
    EXPECT_EQ(text(e), "twoone ");
    SendMessageA(e, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessageA(e, EM_CANUNDO, 0, 0));
    SendMessageA(e, EM_UNDO, 0, 0);
    EXPECT_EQ(text(e), "twoone ");
}

TEST_F(EditTest, ShiftDeleteCutsShiftInsertPastesControlInsertCopies) {
    HWND e = edit("abc");
    SetFocus(e);
    setSel(e, 0, 1);
    key(VK_INSERT, w32drv::Control);
    EXPECT_EQ(clipboard(), "a");
    setSel(e, 1, 3);
    key(VK_DELETE, w32drv::Shift);
    EXPECT_EQ(text(e), "a");
    EXPECT_EQ(clipboard(), "bc");
    key(VK_INSERT, w32drv::Shift);
    EXPECT_EQ(text(e), "abc");
}

TEST_F(EditTest, UndoTakesBackARunOfTypingAsOneStep) {
    HWND e = edit("");
    type(e, "abc");
    key(VK_BACK);
    type(e, "d");
    EXPECT_EQ(text(e), "abd");
    key('Z', w32drv::Control);
    EXPECT_EQ(text(e), "");
    key(VK_LEFT); // moving ends the run
    type(e, "x");
    key(VK_HOME);
    type(e, "y");
    key('Z', w32drv::Control);
    EXPECT_EQ(text(e), "x");
}

TEST_F(EditTest, PasteIntoASingleLineEditStopsAtTheFirstLineBreak) {
    HWND e = edit("");
    setClipboard("first line\r\nsecond line");
    SendMessageA(e, WM_PASTE, 0, 0);
    EXPECT_EQ(text(e), "first line");

    HWND m = child(parent, "Edit", "", ES_MULTILINE, 10, 40, 200, 60, kEditId + 1);
    SendMessageA(m, WM_PASTE, 0, 0);
    EXPECT_EQ(text(m), "first line\r\nsecond line");

    HWND l = child(parent, "Edit", "", ES_AUTOHSCROLL, 10, 110, 200, 20, kEditId + 2);
    SendMessageA(l, EM_LIMITTEXT, 4, 0);
    Log::clear();
    SendMessageA(l, WM_PASTE, 0, 0);
    EXPECT_EQ(text(l), "firs");
    EXPECT_EQ(count(notes(l), EN_MAXTEXT), 1);
}

TEST_F(EditTest, PasswordEditsShowTheirCharacterAndDoNotCopy) {
    HWND e = edit("secret", ES_PASSWORD);
    EXPECT_EQ(SendMessageA(e, EM_GETPASSWORDCHAR, 0, 0), '*');
    setClipboard("before");
    setSel(e, 0, -1);
    SendMessageA(e, WM_COPY, 0, 0);
    SendMessageA(e, WM_CUT, 0, 0);
    EXPECT_EQ(clipboard(), "before");
    EXPECT_EQ(text(e), "secret");
}

// ---- geometry and scrolling ----

TEST_F(EditTest, PosFromCharAndCharFromPosUseTheFontAndMargins) {
    HWND e = measuredEdit("abcdef");
    EXPECT_EQ(SendMessageA(e, EM_GETMARGINS, 0, 0), MAKELONG(kMargin, kMargin));
    EXPECT_EQ(pos(e, 0).x, kMargin);
    EXPECT_EQ(pos(e, 3).x, kMargin + 3 * kCharWidth);
    EXPECT_EQ(pos(e, 6).x, kMargin + 6 * kCharWidth); // after the last character
    EXPECT_EQ(SendMessageA(e, EM_POSFROMCHAR, 7, 0), -1);
    EXPECT_EQ(pos(e, 3).y, pos(e, 0).y);

    int y = pos(e, 0).y + 2;
    EXPECT_EQ(LOWORD(SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(kMargin + 3 * kCharWidth + 1, y))), 3);
    EXPECT_EQ(LOWORD(SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(kMargin + 3 * kCharWidth + 4, y))), 4);
    EXPECT_EQ(LOWORD(SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(150, y))), 6);
    EXPECT_EQ(SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(500, y)), -1); // outside the control

    RECT r{};
    SendMessageA(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, kMargin);
    EXPECT_EQ(r.right, 200 - kMargin);
    EXPECT_EQ(SendMessageA(e, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
}

TEST_F(EditTest, AutoHScrollKeepsTheCaretVisibleAndHomeScrollsBack) {
    HWND e = measuredEdit("", ES_AUTOHSCROLL, 2 * kMargin + 10 * kCharWidth); // ten characters wide
    type(e, "abcdefghijklmnopqrst");
    EXPECT_EQ(text(e), "abcdefghijklmnopqrst");
    int first = static_cast<int>(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, 0);
    POINT caret = pos(e, 20);
    EXPECT_GE(caret.x, kMargin);
    EXPECT_LE(caret.x, kMargin + 10 * kCharWidth);
    EXPECT_LT(pos(e, 0).x, 0); // scrolled out on the left
    key(VK_HOME);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(pos(e, 0).x, kMargin);
}

TEST_F(EditTest, WithoutAutoHScrollTypingStopsAtTheVisibleWidth) {
    HWND e = measuredEdit("", 0, 2 * kMargin + 10 * kCharWidth);
    Log::clear();
    type(e, "abcdefghijkl");
    EXPECT_EQ(text(e), "abcdefghij");
    EXPECT_EQ(count(notes(e), EN_MAXTEXT), 2);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

// ---- mouse ----

TEST_F(EditTest, ClickPlacesTheCaretAndShiftClickExtends) {
    HWND e = measuredEdit("abcdefgh");
    int y = pos(e, 0).y + 3;
    w32drv::ClickClient(e, kMargin + 2 * kCharWidth + 1, y);
    w32drv::Pump();
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{2}, DWORD{2}));
    w32drv::Wait(1000); // not a double-click
    w32drv::KeyDown(VK_SHIFT);
    w32drv::ClickClient(e, kMargin + 5 * kCharWidth + 5, y);
    w32drv::KeyUp(VK_SHIFT);
    w32drv::Pump();
    EXPECT_EQ(sel(e), std::make_pair(DWORD{2}, DWORD{6}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(EditTest, DraggingSelectsWithCaptureAndDoubleClickSelectsAWord) {
    HWND e = measuredEdit("alpha beta gamma");
    int y = pos(e, 0).y + 3;
    POINT from{kMargin + 1, y}, to{kMargin + 4 * kCharWidth + 1, y};
    ClientToScreen(e, &from);
    ClientToScreen(e, &to);
    w32drv::MouseMove(from);
    w32drv::MouseDown(from);
    w32drv::Pump();
    EXPECT_EQ(GetCapture(), e);
    w32drv::MouseMove(to);
    w32drv::MouseUp(to);
    w32drv::Pump();
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{4}));
    EXPECT_EQ(GetCapture(), nullptr);

    w32drv::Wait(1000);
    w32drv::ClickClient(e, kMargin + 7 * kCharWidth + 2, y);
    w32drv::ClickClient(e, kMargin + 7 * kCharWidth + 2, y);
    w32drv::Pump();
    EXPECT_EQ(sel(e), std::make_pair(DWORD{6}, DWORD{11})); // "beta " with its trailing space
}

// ---- focus and painting ----

TEST_F(EditTest, FocusCreatesTheCaretAtTheCaretCharacterAndNotifies) {
    HWND e = measuredEdit("abc");
    setSel(e, 2, 2);
    Log::clear();
    SetFocus(e);
    EXPECT_EQ(notes(e), std::vector<WORD>{EN_SETFOCUS});
    EXPECT_TRUE(HideCaret(e)); // the caret belongs to the edit
    EXPECT_TRUE(ShowCaret(e));
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, pos(e, 2).x);
    EXPECT_EQ(caret.y, pos(e, 2).y);
    type(e, "Z");
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, pos(e, 3).x);

    setSel(e, 0, 2);
    Log::clear();
    SetFocus(parent);
    EXPECT_EQ(notes(e), std::vector<WORD>{EN_KILLFOCUS});
    EXPECT_FALSE(HideCaret(e)); // the caret went with the focus
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{2})); // kept, only hidden
}

TEST_F(EditTest, PaintAsksTheParentForEditOrStaticColours) {
    HWND e = edit("text");
    w32drv::Pump();
    auto asked = [&](UINT msg) {
        for (auto& r : Log::all())
            if (r.hwnd == parent && r.msg == msg && reinterpret_cast<HWND>(r.lParam) == e) return true;
        return false;
    };
    EXPECT_TRUE(asked(WM_CTLCOLOREDIT));
    Log::clear();
    SendMessageA(e, EM_SETREADONLY, TRUE, 0);
    w32drv::Pump();
    EXPECT_TRUE(asked(WM_CTLCOLORSTATIC));
    EXPECT_FALSE(asked(WM_CTLCOLOREDIT));
    SendMessageA(e, EM_SETREADONLY, FALSE, 0);
    EnableWindow(e, FALSE);
    Log::clear();
    w32drv::Pump();
    EXPECT_TRUE(asked(WM_CTLCOLORSTATIC));
}

TEST_F(EditTest, DialogCodesLetDialogsNavigateAroundEdits) {
    HWND e = edit("");
    EXPECT_EQ(SendMessageA(e, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
    HWND m = child(parent, "Edit", "", ES_MULTILINE, 10, 40, 200, 60, kEditId + 1);
    EXPECT_EQ(SendMessageA(m, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
    MSG tab{m, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_FALSE(SendMessageA(m, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTALLKEYS);
}

// A dialog template in memory: edits and an OK button, laid out in dialog units.
std::vector<WORD> dialogTemplate() {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto item = [&](DWORD style, short y, WORD id, WORD cls, const char* title) {
        if (t.size() % 2) t.push_back(0);
        dword(WS_CHILD | WS_VISIBLE | style);
        dword(0);
        for (short v : {short(5), y, short(100), short(12)}) t.push_back(static_cast<WORD>(v));
        t.push_back(id);
        t.push_back(0xFFFF);
        t.push_back(cls);
        for (const char* c = title; *c; ++c) t.push_back(static_cast<WORD>(*c));
        t.push_back(0);
        t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | DS_MODALFRAME);
    dword(0);
    t.push_back(4);
    for (short v : {short(0), short(0), short(120), short(90)}) t.push_back(static_cast<WORD>(v));
    t.push_back(0); // menu
    for (const char* c = "#32770"; *c; ++c) t.push_back(static_cast<WORD>(*c)); // the dialog class
    t.push_back(0);
    t.push_back(0); // title
    item(WS_TABSTOP | ES_AUTOHSCROLL, 5, 10, 0x81, "first");
    item(WS_TABSTOP | ES_AUTOHSCROLL, 20, 11, 0x81, "second text");
    item(WS_TABSTOP | ES_MULTILINE, 35, 12, 0x81, "");
    item(WS_TABSTOP | BS_DEFPUSHBUTTON, 60, IDOK, 0x80, "OK");
    return t;
}

struct DialogSeen {
    std::string second, multi;
    int okClicks = 0;
};
DialogSeen seen;

INT_PTR CALLBACK recordingDialog(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        char buf[64];
        GetDlgItemTextA(dlg, 11, buf, sizeof buf);
        seen.second = buf;
        GetDlgItemTextA(dlg, 12, buf, sizeof buf);
        seen.multi = buf;
        seen.okClicks += LOWORD(wParam) == IDOK;
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

TEST_F(EditTest, InADialogTabSelectsAnEditsTextAndEnterInAMultiLineEditPressesTheDefaultButton) {
    std::vector<WORD> tmpl = dialogTemplate();
    seen = DialogSeen{};
    w32drv::Key(VK_TAB);  // to the second edit, its text selected
    w32drv::Type("X");    // replaces the selection
    w32drv::Key(VK_TAB);  // to the multi-line edit
    w32drv::Type("ab");
    w32drv::Key(VK_RETURN); // without ES_WANTRETURN: the default button
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                             parent, recordingDialog, 0);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seen.okClicks, 1);
    EXPECT_EQ(seen.second, "X");
    EXPECT_EQ(seen.multi, "ab");
}

// ---- multi-line ----

TEST_F(EditTest, MultiLineEditsStoreLinesAndAnswerLineQueries) {
    HWND m = child(parent, "Edit", "first\r\nsecond\r\n", ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 10, 40, 200,
                   100, kEditId + 1);
    EXPECT_EQ(SendMessageA(m, EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(m, EM_LINEINDEX, 1, 0), 7);
    EXPECT_EQ(SendMessageA(m, EM_LINEINDEX, 3, 0), -1);
    EXPECT_EQ(SendMessageA(m, EM_LINELENGTH, 7, 0), 6);
    EXPECT_EQ(SendMessageA(m, EM_LINEFROMCHAR, 9, 0), 1);
    char buf[16];
    WORD size = sizeof buf;
    std::memcpy(buf, &size, sizeof size);
    EXPECT_EQ(SendMessageA(m, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buf)), 6);
    EXPECT_EQ(std::string(buf, 6), "second");

    setSel(m, 15, 15);
    type(m, "third");
    key(VK_RETURN);
    EXPECT_EQ(text(m), "first\r\nsecond\r\nthird\r\n");
    EXPECT_EQ(SendMessageA(m, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 3);
    key(VK_BACK); // the line break goes as one
    EXPECT_EQ(text(m), "first\r\nsecond\r\nthird");
    key(VK_UP);
    EXPECT_EQ(SendMessageA(m, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
}

TEST_F(EditTest, WithoutAutoVScrollAMultiLineEditStopsAtItsHeight) {
    HWND m = child(parent, "Edit", "", ES_MULTILINE, 10, 40, 200, 0, kEditId + 1);
    font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    SendMessageA(m, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetWindowTextA(m, "x\r\nx");
    int lineHeight = pos(m, 3).y - pos(m, 0).y;
    ASSERT_GT(lineHeight, 0);
    SetWindowTextA(m, "");
    MoveWindow(m, 10, 40, 200, 2 * lineHeight, TRUE); // room for two lines
    Log::clear();
    setClipboard("one\r\ntwo\r\nthree");
    SendMessageA(m, WM_PASTE, 0, 0);
    EXPECT_EQ(text(m), "one\r\ntwo");
    EXPECT_EQ(count(notes(m), EN_MAXTEXT), 1);
    EXPECT_EQ(SendMessageA(m, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditTest, EscapeInAMultiLineEditClosesItsParentAsWindowsDoes) {
    HWND m = child(parent, "Edit", "", ES_MULTILINE, 10, 40, 200, 60, kEditId + 1);
    SetFocus(m);
    Log::clear();
    key(VK_ESCAPE);
    EXPECT_TRUE(Log::saw(parent, WM_CLOSE));
}

// ---- misuse ----

TEST_F(EditTest, BadArgumentsAreHarmless) {
    HWND e = edit("abc");
    EXPECT_EQ(SendMessageA(e, WM_GETTEXT, 10, 0), 0);
    char buf[4] = "xyz";
    EXPECT_EQ(SendMessageA(e, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buf)), 0);
    EXPECT_STREQ(buf, "xyz");
    EXPECT_EQ(SendMessageA(e, EM_GETLINE, 0, 0), 0);
    SendMessageA(e, EM_GETRECT, 0, 0);
    SendMessageA(e, EM_GETSEL, 0, 0);
    SendMessageA(e, EM_REPLACESEL, TRUE, 0);
    EXPECT_EQ(SendMessageA(e, EM_POSFROMCHAR, static_cast<WPARAM>(-5), 0), -1);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 5, 0), -1);
    EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 99, 0), 0);
    setSel(e, 1000, -7);
    EXPECT_EQ(sel(e), std::make_pair(DWORD{3}, DWORD{3}));
    SendMessageA(e, WM_UNDO, 0, 0);
    EXPECT_EQ(text(e), "abc");
    SendMessageA(e, WM_SETTEXT, 0, 0);
    EXPECT_EQ(text(e), "");
    EXPECT_EQ(sel(e), std::make_pair(DWORD{0}, DWORD{0}));
}

} // namespace
