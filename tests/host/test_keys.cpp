// Key scripts in the SendKeys brace syntax, and the text conversions of the host.
#include "host/Keys.h"
#include "host/Text.h"

#include <windows.h>
#include <w32drv.h>

#include <gtest/gtest.h>

TEST(KeyScripts, CharactersNamedKeysModifiersAndCommands) {
    std::vector<KeyAction> a;
    std::string error;
    ASSERT_TRUE(ParseKeys("Ab{TAB}^a+{F2}{WAIT 500}{CLICK 1000}{CLICKITEM 3}", a, error)) << error;
    ASSERT_EQ(a.size(), 8u);
    EXPECT_EQ(a[0].kind, KeyAction::Char);
    EXPECT_EQ(a[0].ch, 'A');
    EXPECT_EQ(a[2].kind, KeyAction::Key);
    EXPECT_EQ(a[2].vk, static_cast<unsigned>(VK_TAB));
    EXPECT_EQ(a[2].modifiers, 0u);
    EXPECT_EQ(a[3].kind, KeyAction::Key); // ^a is Control+A
    EXPECT_EQ(a[3].vk, static_cast<unsigned>('A'));
    EXPECT_EQ(a[3].modifiers, static_cast<unsigned>(w32drv::Control));
    EXPECT_EQ(a[4].vk, static_cast<unsigned>(VK_F2));
    EXPECT_EQ(a[4].modifiers, static_cast<unsigned>(w32drv::Shift)); // + applies to the braced key alone
    EXPECT_EQ(a[5].kind, KeyAction::Wait);
    EXPECT_EQ(a[5].value, 500);
    EXPECT_EQ(a[6].kind, KeyAction::Click);
    EXPECT_EQ(a[6].value, 1000);
    EXPECT_EQ(a[7].kind, KeyAction::ClickItem);
    EXPECT_EQ(a[7].value, 3);
}

TEST(KeyScripts, BracedSpecialCharactersAreTypedAsThemselves) {
    std::vector<KeyAction> a;
    std::string error;
    ASSERT_TRUE(ParseKeys("{^}{+}{{}{}}x", a, error)) << error;
    ASSERT_EQ(a.size(), 5u);
    std::string typed;
    for (auto& k : a) {
        EXPECT_EQ(k.kind, KeyAction::Char);
        typed.push_back(k.ch);
    }
    EXPECT_EQ(typed, "^+{}x");
    ASSERT_TRUE(ParseKeys("^+{LEFT}", a, error));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].modifiers, static_cast<unsigned>(w32drv::Control | w32drv::Shift));
    ASSERT_TRUE(ParseKeys("", a, error));
    EXPECT_TRUE(a.empty());
}

TEST(KeyScripts, ScriptsThatCannotBeReadSayWhy) {
    std::vector<KeyAction> a;
    std::string error;
    for (const char* bad : {"{NOPE}", "{WAIT x}", "{WAIT}", "abc{", "a}b", "^", "x+", "^{WAIT 5}", "{CLICK -1}"}) {
        error.clear();
        EXPECT_FALSE(ParseKeys(bad, a, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    ParseKeys("{F13}", a, error);
    EXPECT_NE(error.find("F13"), std::string::npos);
}

TEST(HostText, Windows1252AndUtf8RoundTrip) {
    EXPECT_EQ(Utf8FromCp1252("Einf\xfcgemarke \x80"), "Einfügemarke €");
    EXPECT_EQ(Cp1252FromUtf8("Einfügemarke €"), "Einf\xfcgemarke \x80");
    EXPECT_EQ(Cp1252FromUtf8("plain"), "plain");
    EXPECT_EQ(Cp1252FromUtf8("\xe4\xb8\xad"), "?"); // no such character in the code page
}
