// Display texts of catalog entries: the three formats, reading identifiers back, and texts too
// short for the fixed offsets.
#include "catalog/CatalogTexts.h"

#include <gtest/gtest.h>

TEST(CatalogTexts, EachFormatCarriesNameAndIdentifierWithItsLevelsDigitsAndReadsBack) {
    struct Case {
        const char* name;
        std::int32_t id;
        int format, digits;
        const char* text;
    } cases[] = {
        {"AudioAmplifier", 0x22, kNameFirst, kFBlockDigits, "AudioAmplifier (0x22)"},
        {"AudioAmplifier", 0x22, kHexFirst, kFBlockDigits, "0x22 (AudioAmplifier)"},
        {"AudioAmplifier", 0x22, kDecimalFirst, kFBlockDigits, "34 (AudioAmplifier)"},
        {"Mute", 0x200, kNameFirst, kFunctionDigits, "Mute (0x200)"},
        {"Mute", 0x2, kHexFirst, kFunctionDigits, "0x002 (Mute)"},
        {"Get", 0xC, kNameFirst, kOpTypeDigits, "Get (0xC)"},
        {"Get", 2, kDecimalFirst, kOpTypeDigits, "2 (Get)"},
        {"Big", 0x1A0, kNameFirst, kFBlockDigits, "Big (0x1A0)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatEntryText(c.name, c.id, c.format, c.digits), c.text);
        EXPECT_EQ(ParseEntryId(c.text, c.format), c.id) << c.text;
    }
    EXPECT_EQ(FormatEntryText("Any", 7, 9, kFBlockDigits), "7 (Any)"); // other formats count as 2
    // the number ends where its digits end, a space before the name or not
    EXPECT_EQ(ParseEntryId("0x200(Mute)", kHexFirst), 512);
    EXPECT_EQ(ParseEntryId("512(Mute)", kDecimalFirst), 512);
    EXPECT_EQ(ParseEntryId("0x1F", kHexFirst), 0x1F);
    // the first "(" counts: a name must not contain one
    EXPECT_EQ(ParseEntryId("Odd(1) (0x22)", kNameFirst), 1);
    EXPECT_EQ(GetEntryHead("0x22 (AudioAmplifier)"), "0x22");
    EXPECT_EQ(GetEntryHead("NoParenthesis"), "NoParenthesis");
}

TEST(CatalogTexts, TextsTooShortForTheFixedOffsetsGiveZero) {
    for (const char* t : {"", "(", "0", "0x", "0x(", " (", "x", "()", "(0x"}) {
        for (int f : {kNameFirst, kHexFirst, kDecimalFirst}) {
            EXPECT_EQ(ParseEntryId(t, f), 0) << t << " in format " << f;
            std::string name;
            std::int32_t id = -1;
            ParseFBlockText(t, f, name, id);
            EXPECT_EQ(id, 0) << t << " in format " << f;
        }
    }
}

TEST(CatalogTexts, FBlockTextsRewriteBetweenFormatsWithoutLoss) {
    std::string text = FormatEntryText("AmFmTuner", 0x40, kNameFirst, kFBlockDigits), name;
    std::int32_t id = 0;
    int from = kNameFirst;
    for (int to : {kHexFirst, kDecimalFirst, kNameFirst, kDecimalFirst, kHexFirst, kNameFirst}) {
        ParseFBlockText(text, from, name, id);
        EXPECT_EQ(name, "AmFmTuner");
        EXPECT_EQ(id, 0x40);
        text = FormatEntryText(name, id, to, kFBlockDigits);
        from = to;
    }
    EXPECT_EQ(text, "AmFmTuner (0x40)");
    // without a name in parentheses only the number is read
    ParseFBlockText("0x40", kHexFirst, name, id);
    EXPECT_EQ(name, "");
    EXPECT_EQ(id, 0x40);
    ParseFBlockText("64 (", kDecimalFirst, name, id);
    EXPECT_EQ(name, "");
    EXPECT_EQ(id, 64);
}

TEST(CatalogTexts, TypeNamesCoverTheCodesAndNameAnythingElseUnknown) {
    EXPECT_STREQ(GetParameterTypeName(0), "Undefined");
    EXPECT_STREQ(GetParameterTypeName(11), "Bit field");
    EXPECT_STREQ(GetParameterTypeName(14), "Raw stream");
    EXPECT_STREQ(GetParameterTypeName(15), "Unknown");
    EXPECT_STREQ(GetParameterTypeName(-1), "Unknown");
}
