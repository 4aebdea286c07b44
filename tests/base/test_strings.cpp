// Letter case and blanks as the lists and lookups of the system treat them.
#include "base/Strings.h"

#include <gtest/gtest.h>

// Names are code page 1252: a user typing "rä" means "RÄDER" as much as "räder".
TEST(Strings, LetterCaseFollowsCodePage1252) {
    EXPECT_TRUE(EqualsNoCase("R\xE4" "der", "R\xC4" "DER"));
    EXPECT_TRUE(EqualsNoCase("\x9A\x9C\x9E\xFF\xFE", "\x8A\x8C\x8E\x9F\xDE")); // š œ ž ÿ þ
    EXPECT_FALSE(EqualsNoCase("\xF7", "\xD7"));                         // ÷ and × are no letters
    EXPECT_FALSE(EqualsNoCase("\xDF", "SS"));                           // ß stays one letter
    EXPECT_FALSE(EqualsNoCase("ab", "abc"));
    EXPECT_EQ(ToUpper("stra\xDF" "e \xE9t\xE9 \x80"), "STRA\xDF" "E \xC9T\xC9 \x80");
    EXPECT_TRUE(StartsWithNoCase("AudioAmplifier (0x22)", "aUDIO"));
    EXPECT_TRUE(StartsWithNoCase("\xC4rger", "\xE4"));
    EXPECT_FALSE(StartsWithNoCase("Au", "Audio"));
    EXPECT_FALSE(StartsWithNoCase("Audio", "Ab"));
    EXPECT_TRUE(StartsWithNoCase("zone", "ZONE")); // the whole text, and the last letter
    EXPECT_EQ(ToUpper("az{"), "AZ{");
    EXPECT_TRUE(StartsWithNoCase("x", ""));
}

TEST(Strings, TrimTakesOnlyTheGivenBlanksAtEitherEnd) {
    EXPECT_EQ(Trim(" \t 1, 2 \r\n"), "1, 2");
    EXPECT_EQ(Trim(" \t\r\n "), "");
    EXPECT_EQ(Trim("\r 7 \n", " \t"), "\r 7 \n");
    EXPECT_EQ(Trim(" a b ", " "), "a b");
}
