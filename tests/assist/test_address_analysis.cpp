// The address analysis: cutting the token out of the host's line, the keyword setting, walking
// the segments to the caret against real catalogs, and composing the new line.
#include "assist/AddressAnalysis.h"
#include "catalog/MostFCatContainer.h"

#include <w32drv.h>
#include "support/SampleCatalogs.h"

#include <gtest/gtest.h>

namespace {

class AnalysisTest : public ::testing::Test {
protected:
    void SetUp() override { w32drv::Reset(); }
    std::string replaced(KAddressAnalysis& a, int* displacement = nullptr) {
        std::string out;
        int d = a.BuildReplacement(out);
        if (displacement) *displacement = d;
        return out;
    }
};

class CatalogAnalysisTest : public AnalysisTest {
protected:
    void SetUp() override {
        AnalysisTest::SetUp();
        container.AddFCat(SampleCatalog("standard.xml"));
        container.LoadFCats();
        ASSERT_FALSE(container.fblocks.empty());
        a.container = &container;
    }
    CaretPosition locate(const std::string& address, int caret = -1, bool withInstance = false) {
        a.addressText = address;
        a.withInstance = withInstance;
        a.keywordMode = false;
        return a.LocateCaret(caret < 0 ? static_cast<int>(address.size()) : caret);
    }
    KMostFCatContainer container;
    KAddressAnalysis a;
};

} // namespace

TEST_F(AnalysisTest, AQuotedTokenAtTheLineEndGetsItsClosingQuote) {
    KAddressAnalysis a;
    std::string line = "output(\"FB.Fn";
    a.SetSourceText(line, static_cast<int>(line.size()), static_cast<int>(line.size()), static_cast<int>(line.size()));
    EXPECT_FALSE(a.keywordMode);
    EXPECT_EQ(a.addressText, "FB.Fn");
    EXPECT_EQ(a.typedPrefix, "FB.Fn");
    EXPECT_EQ(a.replaceStart, 8);
    EXPECT_EQ(a.replaceEnd, static_cast<int>(line.size()));
    EXPECT_EQ(a.caretInToken, 5);
    int d = 0;
    EXPECT_EQ(replaced(a, &d), "output(\"FB.Fn\"");
    EXPECT_EQ(d, 0); // the caret stays right after the address
}

TEST_F(AnalysisTest, WithoutAQuoteTheAddressIsInsertedAtTheCaretBetweenNewQuotes) {
    KAddressAnalysis a;
    a.SetSourceText("\"abc", 4, 4, 4); // nothing of an earlier line stays
    a.SetSourceText("send();", 5, 5, 5);
    EXPECT_TRUE(a.addressText.empty());
    EXPECT_EQ(a.caretInToken, -1); // the dialog leaves its caret where the person puts it
    EXPECT_EQ(a.replaceStart, 5);
    EXPECT_EQ(a.replaceEnd, 5);
    a.addressText = "AudioAmplifier.Volume.Set(10";
    int d = 0;
    EXPECT_EQ(replaced(a, &d), "send(\"AudioAmplifier.Volume.Set(10)\");");
    EXPECT_EQ(d, static_cast<int>(std::string("AudioAmplifier.Volume.Set(10)").size()) + 1);
}

TEST_F(AnalysisTest, TheTokenRunsThroughTheParameterListAndTheRangeToTheNextQuote) {
    KAddressAnalysis a;
    std::string line = "msg = \"Amp.Vol.Set(1, 2)x\" + y;";
    a.SetSourceText(line, 10, 10, 10);
    EXPECT_EQ(a.addressText, "Amp.Vol.Set(1, 2)");
    EXPECT_EQ(a.typedPrefix, "Amp");
    EXPECT_EQ(a.caretInToken, 3);
    EXPECT_EQ(a.replaceEnd, static_cast<int>(line.find("\" +"))); // up to the closing quote, "x" included
    a.addressText = "Amp.Vol.Get";
    EXPECT_EQ(replaced(a), "msg = \"Amp.Vol.Get\" + y;");
    // a second "(" ends the token; an address that ends with ")" gets no second one
    a.SetSourceText("\"A.B.C(1(2)\"", 3, 3, 3);
    EXPECT_EQ(a.addressText, "A.B.C(1");
    a.addressText = "A.B.C(1)";
    EXPECT_EQ(replaced(a), "\"A.B.C(1)\"");
}

TEST_F(AnalysisTest, ThreeDotsSwitchTheInstanceFormOn) {
    KAddressAnalysis a;
    a.SetSourceText("\"FB.1.Fn.Op\"", 3, 3, 3);
    EXPECT_TRUE(a.withInstance);
    a.SetSourceText("\"FB.Fn.Op\"", 3, 3, 3);
    EXPECT_FALSE(a.withInstance);
    a.withInstance = true;
    a.SetSourceText("no quote at all", 3, 3, 3); // no token found: the setting stays
    EXPECT_TRUE(a.withInstance);
}

TEST_F(AnalysisTest, TheKeywordSettingNeedsTheKeywordBeforeTheCaretInTheStatement) {
    KAddressAnalysis a;
    std::string line = "mostmessage FB.Fn.Op";
    a.SetSourceText(line, 16, 16, 16);
    EXPECT_TRUE(a.keywordMode);
    EXPECT_EQ(a.addressText, "FB.Fn.Op");
    EXPECT_EQ(a.typedPrefix, "FB.F");
    EXPECT_EQ(a.caretInToken, 4);
    EXPECT_EQ(a.replaceStart, 12);
    EXPECT_EQ(a.replaceEnd, 20);
    a.addressText = "FB.Fn.Op(1)";
    EXPECT_EQ(a.LocateCaret(10), kCaretInvalid); // no parameters in the keyword setting
    a.addressText = "AudioAmplifier.Volume.Status";
    int d = 0;
    EXPECT_EQ(replaced(a, &d), "mostmessage AudioAmplifier.Volume.Status"); // no quotes
    EXPECT_EQ(d, 28 - 4);

    a.SetSourceText("x=1; \tMOSTAMSMESSAGE Amp.Vol", 27, 27, 27);
    EXPECT_TRUE(a.keywordMode);
    EXPECT_EQ(a.addressText, "Amp.Vol");
    a.SetSourceText("x=1;MOSTMESSAGE Amp.Vol; y", 20, 20, 20); // the statement starts right after the ";"
    EXPECT_TRUE(a.keywordMode);
    EXPECT_EQ(a.addressText, "Amp.Vol"); // and the word ends at the next one
    // a ";" after the keyword ends its statement; a keyword glued to a word does not count
    a.SetSourceText("MOSTMESSAGE a; \"FB.Fn", 21, 21, 21);
    EXPECT_FALSE(a.keywordMode);
    EXPECT_EQ(a.addressText, "FB.Fn");
    a.SetSourceText("xMOSTMESSAGE FB", 15, 15, 15);
    EXPECT_FALSE(a.keywordMode);
    // the token is the word the caret stands in, even right after a space
    a.SetSourceText("MOSTMESSAGE A B", 14, 14, 14);
    EXPECT_EQ(a.addressText, "B");
    EXPECT_EQ(a.typedPrefix, "");
    a.SetSourceText("MOSTMESSAGE", 11, 11, 11);
    EXPECT_TRUE(a.keywordMode);
    EXPECT_EQ(a.addressText, "");
    // the caret or the selection start inside the keyword: no keyword setting
    a.SetSourceText("MOSTMESSAGE FB", 5, 5, 5);
    EXPECT_FALSE(a.keywordMode);
    a.SetSourceText("MOSTMESSAGE FB", 14, 3, 14);
    EXPECT_FALSE(a.keywordMode);
}

TEST_F(AnalysisTest, ASelectionReachingBeforeTheTokenIsTakenIntoTheReplacedRange) {
    KAddressAnalysis a;
    std::string line = "ab \"FB.Fn\" cd";
    a.SetSourceText(line, 6, 1, 6); // selection from "b" to inside the token
    EXPECT_EQ(a.sourceLine, "aFB.Fn\" cd"); // the selected text before the token goes, its quote too
    EXPECT_EQ(a.replaceStart, 1);
    EXPECT_EQ(a.replaceEnd, 9 - 3);
    int d = 0;
    EXPECT_EQ(replaced(a, &d), "a\"FB.Fn\" cd"); // and the quote comes back with the address
    EXPECT_EQ(d, 5 + 1 - 2); // address, the added quote, less the typed prefix
    a.SetSourceText(line, 6, 5, 12); // starts inside the token, reaches past it
    EXPECT_EQ(a.replaceStart, 4);
    EXPECT_EQ(a.replaceEnd, 12);
}

TEST_F(AnalysisTest, PositionsOutsideTheLineNeverLeaveIt) {
    KAddressAnalysis a;
    a.SetSourceText("", 5, 7, 9);
    EXPECT_EQ(a.replaceStart, 0);
    EXPECT_EQ(a.replaceEnd, 0);
    a.addressText = "FB.Fn";
    EXPECT_EQ(replaced(a), "\"FB.Fn\"");
    a.SetSourceText("\"abc", 99, 99, 99); // beyond: the last character
    EXPECT_EQ(a.addressText, "abc");
    EXPECT_EQ(a.typedPrefix, "ab");
    a.SetSourceText("\"abc", -4, -4, -4);
    EXPECT_EQ(a.addressText, "");
    a.replaceStart = 50;
    a.replaceEnd = -3;
    std::string out;
    a.BuildReplacement(out); // stays inside the line whatever the members say
    EXPECT_EQ(out.find("\"abc"), 0u);
    EXPECT_EQ(KAddressAnalysis::WordEnd("abc", 10), 3);
    EXPECT_EQ(KAddressAnalysis::WordStart("abc", -2), 0);
    EXPECT_EQ(KAddressAnalysis::ParameterEnd("", 1), 0);
}

TEST_F(AnalysisTest, ScannersStopAtTheirDelimiters) {
    std::string t = "Amp.Vol.Set(1, 'x y';3)";
    EXPECT_EQ(KAddressAnalysis::WordStart(t, 6), 4);
    EXPECT_EQ(KAddressAnalysis::WordStart(".ab", 3), 1);
    EXPECT_EQ(KAddressAnalysis::WordEnd(t, 4), 7);
    EXPECT_EQ(KAddressAnalysis::WordEnd(t, 8), 11);
    int inSecond = static_cast<int>(t.find('x'));
    EXPECT_EQ(KAddressAnalysis::ParameterStart(t, inSecond), 14); // after the comma, the space included
    EXPECT_EQ(KAddressAnalysis::ParameterEnd(t, inSecond), static_cast<int>(t.find(';')));
    EXPECT_EQ(KAddressAnalysis::ParameterStart(",ab", 3), 1);
    EXPECT_EQ(KAddressAnalysis::DisplayFormatOf("0x22"), kHexFirst);
    EXPECT_EQ(KAddressAnalysis::DisplayFormatOf("34"), kDecimalFirst);
    EXPECT_EQ(KAddressAnalysis::DisplayFormatOf("Amp"), kNameFirst);
    EXPECT_EQ(KAddressAnalysis::DisplayFormatOf(""), kNameFirst);
}

TEST_F(AnalysisTest, InstanceTextsAndParameterCounting) {
    for (const char* ok : {"", "*", "7", "42", "255", "0x", "0x1", "0xfF"})
        EXPECT_TRUE(KAddressAnalysis::IsValidInstanceText(ok)) << ok;
    for (const char* bad : {"256", "1234", "0X12", "0x123", "12a", "-1", "**", "0xg"})
        EXPECT_FALSE(KAddressAnalysis::IsValidInstanceText(bad)) << bad;
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("1, 2"), 2);
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("1, 'a'"), 2); // a string after the comma
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("'a,b', 3"), 2);
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("'it''s', 3"), 2);
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex(""), 1);
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("1,2,3"), 3);
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("'open, 2"), 1); // an unclosed string swallows the rest
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("'a', 'b,c', 'd'"), 3);
    EXPECT_EQ(KAddressAnalysis::CountParameterIndex("'a' 'b,c'"), 1); // the comma in the later string
}

TEST_F(CatalogAnalysisTest, TheCaretPositionFollowsTheSegments) {
    EXPECT_EQ(locate(""), kCaretNothing);
    EXPECT_EQ(locate("Audio"), kCaretFBlock);
    EXPECT_EQ(locate("AudioAmplifier.Vo"), kCaretFunction);
    EXPECT_EQ(locate("AudioAmplifier.Volume.S"), kCaretOpType);
    EXPECT_EQ(locate("FB.Fn.Op(1,"), kCaretParameters);
    EXPECT_EQ(locate("FB.Fn.Op(1)"), kCaretAfterList);
    EXPECT_EQ(locate("FB.Fn.Op(1)", 10), kCaretParameters);
    EXPECT_EQ(locate("FB Fn"), kCaretInvalid);
    EXPECT_EQ(locate("FB.Fn.Op.X"), kCaretInvalid);
    EXPECT_EQ(locate("FB.Fn(1"), kCaretInvalid); // no OpType before the parameters
    EXPECT_EQ(locate("FB(1"), kCaretInvalid);
    EXPECT_EQ(locate("FB.Fn.Op,1", 8), kCaretInvalid); // an OpType is followed by its "(" only
    EXPECT_EQ(locate("AudioAmplifier.Volume", 5), kCaretFBlock); // only segments up to the caret count
    EXPECT_EQ(locate("FB.1.Fn", -1, true), kCaretFunction);
    EXPECT_EQ(locate("FB.1", -1, true), kCaretInstance);
    EXPECT_EQ(locate("FB.300.Fn", -1, true), kCaretInvalid);
}

TEST_F(CatalogAnalysisTest, SegmentsResolveByNameHexOrDecimalWithoutRegardToCase) {
    locate("audioamplifier.volume.set(");
    ASSERT_TRUE(a.fblockEntry);
    ASSERT_TRUE(a.functionEntry);
    ASSERT_TRUE(a.opTypeEntry);
    EXPECT_EQ(GetEntryHead(a.fblockEntry->text), "AudioAmplifier");
    EXPECT_EQ(a.functionEntry->text, "Volume (0x400)");
    EXPECT_EQ(a.opTypeEntry->text, "Set (0x0)");
    EXPECT_EQ(container.GetFBlockFormat(), kNameFirst);

    locate("0x22.0x400.0x0(");
    ASSERT_TRUE(a.opTypeEntry);
    EXPECT_EQ(a.fblockEntry->text, "0x22 (AudioAmplifier)");
    EXPECT_EQ(a.opTypeEntry->text, "0x0 (Set)");
    EXPECT_EQ(container.GetFBlockFormat(), kHexFirst);

    locate("34.1024.12");
    ASSERT_TRUE(a.opTypeEntry);
    EXPECT_EQ(a.functionEntry->text, "1024 (Volume)");
    EXPECT_EQ(a.opTypeEntry->text, "12 (Status)");

    locate("NoSuchBlock.Volume.Set");
    EXPECT_FALSE(a.fblockEntry);
    EXPECT_FALSE(a.functionEntry); // no FBlock, no function
    EXPECT_FALSE(a.opTypeEntry);
    // entries stay usable after the container rebuilds its lists
    locate("AudioAmplifier.Mute");
    ASSERT_TRUE(a.functionEntry);
    ListEntry before = *a.functionEntry;
    container.BuildFunctionList(*a.fblockEntry, kDecimalFirst);
    EXPECT_EQ(a.functionEntry->text, before.text);
}
