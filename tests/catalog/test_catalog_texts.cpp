// Display texts of catalog entries: the three formats, reading identifiers back, and texts too
// short for the fixed offsets.
#include "catalog/CatalogTexts.h"

#include <gtest/gtest.h>

TEST(CatalogTexts, EachFormatCarriesNameAndIdentifierWithItsLevelsDigits) {
    EXPECT_EQ(FormatEntryText("AudioAmplifier", 0x22, kNameFirst, kFBlockDigits), "AudioAmplifier (0x22)");
    EXPECT_EQ(FormatEntryText("AudioAmplifier", 0x22, kHexFirst, kFBlockDigits), "0x22 (AudioAmplifier)");
    EXPECT_EQ(FormatEntryText("AudioAmplifier", 0x22, kDecimalFirst, kFBlockDigits), "34 (AudioAmplifier)");
    EXPECT_EQ(FormatEntryText("Mute", 0x200, kNameFirst, kFunctionDigits), "Mute (0x200)");
    EXPECT_EQ(FormatEntryText("Mute", 0x2, kHexFirst, kFunctionDigits), "0x002 (Mute)");
    EXPECT_EQ(FormatEntryText("Get", 2, kNameFirst, kOpTypeDigits), "Get (0x2)");
    EXPECT_EQ(FormatEntryText("Get", 2, kDecimalFirst, kOpTypeDigits), "2 (Get)");
    EXPECT_EQ(FormatEntryText("Big", 0x1A0, kNameFirst, kFBlockDigits), "Big (0x1A0)");
    EXPECT_EQ(FormatEntryText("Any", 7, 9, kFBlockDigits), "7 (Any)"); // other formats count as 2
}

TEST(CatalogTexts, IdentifiersAreReadBackFromEveryFormat) {
    EXPECT_EQ(ParseEntryId("Mute (0x200)", kNameFirst), 512);
    EXPECT_EQ(ParseEntryId("0x200 (Mute)", kHexFirst), 512);
    EXPECT_EQ(ParseEntryId("512 (Mute)", kDecimalFirst), 512);
    EXPECT_EQ(ParseEntryId("Get (0xC)", kNameFirst), 12);
    // the number ends where its digits end, a space before the name or not
    EXPECT_EQ(ParseEntryId("0x200(Mute)", kHexFirst), 512);
    EXPECT_EQ(ParseEntryId("512(Mute)", kDecimalFirst), 512);
    // the first "(" counts: a name must not contain one
    EXPECT_EQ(ParseEntryId("Odd(1) (0x22)", kNameFirst), 1);
    EXPECT_EQ(GetEntryHead("AudioAmplifier (0x22)"), "AudioAmplifier");
    EXPECT_EQ(GetEntryHead("0x22 (AudioAmplifier)"), "0x22");
    EXPECT_EQ(GetEntryHead("NoParenthesis"), "NoParenthesis");
}

TEST(CatalogTexts, TextsTooShortForTheFixedOffsetsGiveZero) {
    for (const char* t : {"", "(", "0", "0x", "0x(", " (", "x", "()", "(0x"}) {
        EXPECT_EQ(ParseEntryId(t, kNameFirst), 0) << t;
        EXPECT_EQ(ParseEntryId(t, kHexFirst), 0) << t;
        EXPECT_EQ(ParseEntryId(t, kDecimalFirst), 0) << t;
        std::string name;
        std::int32_t id = -1;
        for (int f : {kNameFirst, kHexFirst, kDecimalFirst}) {
            ParseFBlockText(t, f, name, id);
            EXPECT_EQ(id, 0) << t << " in format " << f;
        }
    }
    EXPECT_EQ(ParseEntryId("0x1F", kHexFirst), 0x1F); // no name part at all
}

TEST(CatalogTexts, FBlockTextsRewriteBetweenFormatsWithoutLoss) {
    std::string text = FormatEntryText("AmFmTuner", 0x40, kNameFirst, kFBlockDigits);
    int from = kNameFirst;
    for (int to : {kHexFirst, kDecimalFirst, kNameFirst, kDecimalFirst, kHexFirst, kNameFirst}) {
        std::string name;
        std::int32_t id = 0;
        ParseFBlockText(text, from, name, id);
        EXPECT_EQ(name, "AmFmTuner");
        EXPECT_EQ(id, 0x40);
        text = FormatEntryText(name, id, to, kFBlockDigits);
        from = to;
    }
    EXPECT_EQ(text, "AmFmTuner (0x40)");
    // without a name in parentheses only the number is read
    std::string name = "x";
    std::int32_t id = 0;
    ParseFBlockText("0x40", kHexFirst, name, id);
    EXPECT_EQ(name, "");
    EXPECT_EQ(id, 0x40);
    ParseFBlockText("64 (", kDecimalFirst, name, id);
    EXPECT_EQ(name, "");
    EXPECT_EQ(id, 64);
}

TEST(CatalogTexts, TypeNamesCoverTheCodesAndNameAnythingElseUnknown) {
    EXPECT_STREQ(GetParameterTypeName(0), "Undefined");
    EXPECT_STREQ(GetParameterTypeName(4), "Parameter Array");
    EXPECT_STREQ(GetParameterTypeName(11), "Bit field");
    EXPECT_STREQ(GetParameterTypeName(14), "Raw stream");
    EXPECT_STREQ(GetParameterTypeName(15), "Unknown");
    EXPECT_STREQ(GetParameterTypeName(-1), "Unknown");
}
