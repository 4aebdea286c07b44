// The filtered edit: typed characters pass the format or beep, the Control shortcuts keep
// working, and a paste goes through whole or not at all.
#include "controls/SpecialEdit.h"
#include "support/WindowSystem.h"

#include <w32drv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

class SpecialEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        w32drv::Reset();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "Frame";
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, "Frame", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
        HWND e = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 100, 20,
                                 frame, reinterpret_cast<HMENU>(18044), nullptr, nullptr);
        ASSERT_TRUE(edit.SubclassWindow(e));
        edit.SetFormat(&format);
        edit.SetFocus();
    }
    void TearDown() override {
        edit.UnsubclassWindow();
        w32drv::Reset();
    }
    std::string text() {
        std::string t;
        edit.GetWindowText(t);
        return t;
    }
    // n bytes of t, or all of it with its terminator
    static void clipboard(const char* t, UINT format = CF_TEXT, size_t n = 0) {
        OpenClipboard(nullptr);
        EmptyClipboard();
        n = n ? n : std::strlen(t) + 1;
        HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, n);
        std::memcpy(GlobalLock(m), t, n);
        GlobalUnlock(m);
        SetClipboardData(format, m);
        CloseClipboard();
    }

    HWND frame = nullptr;
    HexAndWildcardFormat format;
    CSpecialEdit edit;
};

// Beeps are recorded only by the headless window system.
void expectBeeps(size_t count) {
    if (w32drv::kHeadless) {
        EXPECT_EQ(w32drv::Beeps().size(), count);
    }
}

} // namespace

TEST_F(SpecialEditTest, HexDigitsAndTheWildcardPassOthersBeep) {
    w32drv::Type("aF0*");
    w32drv::Pump();
    EXPECT_EQ(text(), "aF0*"); // no case conversion
    EXPECT_TRUE(w32drv::Beeps().empty());
    w32drv::Type("gx -");
    w32drv::Pump();
    EXPECT_EQ(text(), "aF0*");
    if (w32drv::kHeadless) {
        ASSERT_EQ(w32drv::Beeps().size(), 4u);
        EXPECT_EQ(w32drv::Beeps()[0], 0xFFFFFFFFu); // the simple beep
    }
    w32drv::Key(VK_BACK);
    w32drv::Pump();
    EXPECT_EQ(text(), "aF0"); // backspace is never refused
    expectBeeps(4);
    // nor are Return and Control+Return: the field itself answers them, with its own beep
    w32drv::Key(VK_RETURN);
    w32drv::Key(VK_RETURN, w32drv::Control);
    w32drv::Pump();
    auto beeps = w32drv::Beeps();
    if (w32drv::kHeadless) {
        EXPECT_EQ(std::count(beeps.begin(), beeps.end(), 0xFFFFFFFFu), 4);
    }
    EXPECT_EQ(text(), "aF0");
}

TEST_F(SpecialEditTest, PastingIsAllOrNothing) {
    clipboard("1f");
    w32drv::Key('V', w32drv::Control);
    w32drv::Pump();
    EXPECT_EQ(text(), "1f");
    for (const char* refused : {"1g", "g1"}) {
        clipboard(refused);
        w32drv::Key('V', w32drv::Control);
        w32drv::Pump();
        EXPECT_EQ(text(), "1f") << refused;
    }
    expectBeeps(2);
    w32drv::ClearRecords();
    clipboard("");
    edit.SendMessage(WM_PASTE);
    EXPECT_EQ(text(), "1f");
    EXPECT_TRUE(w32drv::Beeps().empty()); // an empty text is allowed
    // only a non-text format on the clipboard
    clipboard("abc", CF_BITMAP);
    w32drv::Key('V', w32drv::Control);
    w32drv::Pump();
    EXPECT_EQ(text(), "1f");
    expectBeeps(1);
    // a text without its terminator ("a null character signals the end of the data") is read to
    // the end of its block; Wine hands it out cut at its last byte
    clipboard("a*", CF_TEXT, 2);
    w32drv::ClearRecords();
    w32drv::Key('V', w32drv::Control);
    w32drv::Pump();
    if (!underWine()) {
        EXPECT_EQ(text(), "1fa*");
    }
    EXPECT_TRUE(w32drv::Beeps().empty());
}

TEST_F(SpecialEditTest, AClipboardHeldByAnotherProgramPastesNothingWithoutABeep) {
    clipboard("g");
    ASSERT_TRUE(OpenClipboard(frame)); // not closed: the text cannot be looked at
    w32drv::Key('V', w32drv::Control);
    w32drv::Pump();
    // "OpenClipboard fails if another window has the clipboard open"; Wine lets the same thread's
    // other window open it
    if (!underWine()) {
        EXPECT_EQ(text(), "");
    }
    EXPECT_TRUE(w32drv::Beeps().empty());
    CloseClipboard();
}

TEST_F(SpecialEditTest, ControlShortcutsCopyCutAndUndoWhileOtherControlCodesBeep) {
    w32drv::Type("ab");
    w32drv::Pump();
    // how far an undo reaches back into typing is not documented (Wine takes the typing with the paste)
    edit.EmptyUndoBuffer();
    w32drv::Key(VK_HOME, w32drv::Shift);
    w32drv::Key('C', w32drv::Control);
    w32drv::Key(VK_END);
    w32drv::Key('V', w32drv::Control);
    w32drv::Pump();
    EXPECT_EQ(text(), "abab");
    w32drv::Key('Z', w32drv::Control);
    w32drv::Pump();
    EXPECT_EQ(text(), "ab");
    edit.SetSel(0, -1);
    w32drv::Key('X', w32drv::Control);
    w32drv::Pump();
    EXPECT_EQ(text(), "");
    EXPECT_TRUE(w32drv::Beeps().empty());
    w32drv::Key('A', w32drv::Control); // code 1 is in no format
    w32drv::Pump();
    expectBeeps(1);
}

TEST(Formats, AnEmptyFormatRefusesAllButTheEditingControlCodes) {
    class NoCharacters : public BaseFormat {};
    NoCharacters none;
    EXPECT_FALSE(none.IsValidChar('a'));
    EXPECT_FALSE(none.IsValidChar('\0'));
    HexAndWildcardFormat hex;
    for (char c : std::string("0123456789ABCDEFabcdef*")) EXPECT_TRUE(hex.IsValidChar(c)) << c;
    for (char c : std::string("gG x-+.\t")) EXPECT_FALSE(hex.IsValidChar(c)) << c;
    IFormat* owned = new HexAndWildcardFormat;
    delete owned; // formats are deleted through the interface
}
