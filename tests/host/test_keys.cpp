// Key scripts in the SendKeys brace syntax, the text conversions of the host, and the splitting
// of batch lines into words.
#include "host/Keys.h"
#include "host/Text.h"
#include "host/Words.h"

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

TEST(KeyScripts, ScriptsThatCannotBeReadOrTypedSayWhyInOneLine) {
    std::vector<KeyAction> a;
    std::string error;
    // the last ones: not in Windows-1252; not UTF-8 at all; a modifier before a character no key types
    for (const char* bad : {"{NOPE}", "{F13}", "{WAIT x}", "{WAIT}", "abc{", "a}b", "^", "x+", "^{WAIT 5}", "{CLICK -1}",
                            "{CLICKROW}", "{CLICKROW }", "^{DBLCLICK}", "{DBLCLICK 2}", "{CLICKROW a", "ab\xD1\x84",
                            "\xF0\x9F\x98\x80", "ab\xFF", "\xC3", "\xC0\xAF", "^\xC3\xBC"}) {
        error.clear();
        EXPECT_FALSE(ParseKeys(bad, a, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
        EXPECT_TRUE(IsUtf8(error)) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    // the message names the key, the character or the place; positions count characters, not bytes
    ParseKeys("{F13}", a, error);
    EXPECT_NE(error.find("F13"), std::string::npos);
    ParseKeys("ab\xD1\x84", a, error);
    EXPECT_NE(error.find("U+0444"), std::string::npos) << error;
    EXPECT_FALSE(ParseKeys("\xC3\xBC\xC3\xBC}", a, error));
    EXPECT_NE(error.find("position 3"), std::string::npos) << error;
    // a long unknown key is quoted in part
    std::string script = "{" + std::string(100000, 'K') + "}";
    EXPECT_FALSE(ParseKeys(script, a, error));
    EXPECT_LT(error.size(), 200u) << error;
    EXPECT_NE(error.find("100002 bytes"), std::string::npos) << error;
}

TEST(KeyScripts, TreeClicksTakeARowPathAndModifiers) {
    std::vector<KeyAction> a;
    std::string error;
    ASSERT_TRUE(ParseKeys("{DBLCLICK}{CLICKROW Infotainment.Audio Amp.Data[1].Pos}^{CLICKROW A}+{CLICKROW R\xC3\xA4}", a, error))
        << error;
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0].kind, KeyAction::DoubleClick);
    EXPECT_EQ(a[1].kind, KeyAction::ClickRow);
    EXPECT_EQ(a[1].path, "Infotainment.Audio Amp.Data[1].Pos"); // spaces and all
    EXPECT_EQ(a[1].modifiers, 0u);
    EXPECT_EQ(a[2].modifiers, static_cast<unsigned>(w32drv::Control));
    EXPECT_EQ(a[3].modifiers, static_cast<unsigned>(w32drv::Shift));
    EXPECT_EQ(a[3].path, "R\xE4"); // in the system's code page, as the rows are named
}

TEST(KeyScripts, EveryActionWritesBackAsTheScriptThatMakesIt) {
    std::vector<KeyAction> a, again;
    std::string error;
    const std::string script = "a{^}{+}{{}{}}{ENTER}^+{LEFT}^a+b^ {F12}{WAIT 7}{CLICK 3}{CLICKITEM 2}{DBLCLICK}"
                               "^{CLICKROW X.Y}{CLICKROW Z}";
    ASSERT_TRUE(ParseKeys(script, a, error)) << error;
    std::string written;
    for (const auto& k : a) written += KeyScript(k);
    ASSERT_TRUE(ParseKeys(written, again, error)) << written << ": " << error;
    ASSERT_EQ(again.size(), a.size()) << written;
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(again[i].kind, a[i].kind) << i;
        EXPECT_EQ(again[i].ch, a[i].ch) << i;
        EXPECT_EQ(again[i].vk, a[i].vk) << i;
        EXPECT_EQ(again[i].modifiers, a[i].modifiers) << i;
        EXPECT_EQ(again[i].value, a[i].value) << i;
        EXPECT_EQ(again[i].path, a[i].path) << i;
    }
    EXPECT_EQ(KeyScript(a[5]), "{ENTER}");
    EXPECT_EQ(KeyScript(a[6]), "^+{LEFT}");
}

TEST(BatchWords, LinesSplitAsAShellSplitsThem) {
    std::vector<std::string> w;
    std::string error;
    ASSERT_TRUE(SplitWords("  select\t" R"(--keys '{CLICKROW A B}'  "x \"y\\ \$ \n" a\ b '' ""c)", w, error)) << error;
    EXPECT_EQ(w, (std::vector<std::string>{"select", "--keys", "{CLICKROW A B}", R"(x "y\ $ \n)", "a b", "", "c"}));
    ASSERT_TRUE(SplitWords(R"(it's'"'\"\\"\')", w, error)) << error;
    EXPECT_EQ(w, (std::vector<std::string>{R"(its'"\')"}));
    ASSERT_TRUE(SplitWords(" \t ", w, error));
    EXPECT_TRUE(w.empty());
    for (const char* bad : {"a 'b", R"(a "b\")", "a\\"}) {
        error.clear();
        EXPECT_FALSE(SplitWords(bad, w, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(KeyScripts, CharactersBeyondAsciiAreTypedOnceInTheSystemsCodePage) {
    std::vector<KeyAction> a;
    std::string error;
    ASSERT_TRUE(ParseKeys("R\xC3\xA4{TAB}\xE2\x82\xAC\xC3\x9F", a, error)) << error; // "Rä{TAB}€ß"
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0].ch, 'R');
    EXPECT_EQ(a[1].kind, KeyAction::Char);
    EXPECT_EQ(a[1].ch, '\xE4');
    EXPECT_EQ(a[2].kind, KeyAction::Key);
    EXPECT_EQ(a[3].ch, '\x80');
    EXPECT_EQ(a[4].ch, '\xDF');
}

TEST(HostText, EveryWindows1252CharacterRoundTrips) {
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    std::string utf8 = Utf8FromCp1252(all), back;
    EXPECT_TRUE(IsUtf8(utf8));
    ASSERT_EQ(Cp1252FromUtf8(utf8, back), TextProblem::None);
    EXPECT_EQ(back, all);
    EXPECT_EQ(Utf8FromCp1252("Einf\xFCgemarke \x80"), "Einf\xC3\xBCgemarke \xE2\x82\xAC");
}

TEST(HostText, MalformedUtf8AndMissingCharactersAreReportedWhereTheyStart) {
    std::string out;
    size_t at = 99;
    struct Case {
        const char* text;
        TextProblem problem;
        size_t at;
    } cases[] = {
        {"ab\xFF", TextProblem::InvalidUtf8, 2},           // no lead byte
        {"a\x80", TextProblem::InvalidUtf8, 1},            // a stray continuation byte
        {"a\xC3", TextProblem::InvalidUtf8, 1},            // cut off
        {"a\xC3(", TextProblem::InvalidUtf8, 1},           // continuation missing
        {"\xC0\xAF", TextProblem::InvalidUtf8, 0},         // overlong "/"
        {"\xE0\x80\xAF", TextProblem::InvalidUtf8, 0},     // overlong, three bytes
        {"x\xED\xA0\x80", TextProblem::InvalidUtf8, 1},    // a surrogate
        {"\xF4\x90\x80\x80", TextProblem::InvalidUtf8, 0}, // past U+10FFFF
        {"\xC3\xA4\xD1\x84", TextProblem::NotInCp1252, 2}, // Cyrillic
        {"\xC2\x80", TextProblem::NotInCp1252, 0},         // U+0080: 0x80 is the euro sign
        {"\xF0\x9F\x98\x80", TextProblem::NotInCp1252, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1252FromUtf8(c.text, out, &at), c.problem) << c.text;
        EXPECT_EQ(at, c.at) << c.text;
        EXPECT_EQ(IsUtf8(c.text), c.problem != TextProblem::InvalidUtf8) << c.text;
    }
    EXPECT_EQ(Utf8Repaired("a\xFF\xC3\xA4\xC3"), "a\xEF\xBF\xBD\xC3\xA4\xEF\xBF\xBD");
}

TEST(HostText, ExcerptsAreShortOneLineAndValid) {
    EXPECT_EQ(Excerpt("abc"), "\"abc\"");
    EXPECT_EQ(Excerpt("a\nb\xFF"), "\"a\\x0Ab\\xFF\"");
    std::string big(40u << 20, 'x');
    EXPECT_EQ(Excerpt(big), "\"" + std::string(64, 'x') + "...\" (41943040 bytes)");
    // a character is never cut in half: 63 ASCII bytes, then a two-byte character
    std::string edge = std::string(63, 'a') + "\xC3\xA4" + "b";
    EXPECT_EQ(Excerpt(edge), "\"" + std::string(63, 'a') + "...\" (66 bytes)");
    std::string message = Cp1252Argument("--line", big + "\xFF", edge);
    EXPECT_LT(message.size(), 200u);
    EXPECT_NE(message.find("byte 41943041"), std::string::npos) << message;
}
