// Tooltip texts of tree rows: descriptions, function type and class, value tables with their
// limit, and the cleaning and cutting of the text.
#include "CatalogFixture.h"
#include "selection/FunctionInfoText.h"

using InfoTextTest = CatalogFixture;

TEST_F(InfoTextTest, FunctionRowsShowTypeClassAndDescription) {
    KMXSTreeItem fn("Infotainment", "AudioAmplifier", 0x22, -1, "Volume", 0x400);
    EXPECT_EQ(BuildInfoText(fn, handle), "Function type: Property\nFunction class: Number\n\nMain volume of the zone.");
    KMXSTreeItem op("Infotainment", "AudioAmplifier", 0x22, -1, "Volume", 0x400, "Status", 0xC);
    EXPECT_EQ(BuildInfoText(op, handle), BuildInfoText(fn, handle)); // an OpType shows its function
    KMXSTreeItem method("Infotainment", "NetBlock", 0x01, -1, "ShutDown", 0x203);
    EXPECT_EQ(BuildInfoText(method, handle).rfind("Function type: Method\nFunction class: Trigger", 0), 0u);
    EXPECT_STREQ(FunctionClassText(-1), "Undefined");
    EXPECT_STREQ(FunctionClassText(0), "Unclassified Method");
    EXPECT_STREQ(FunctionClassText(5), "Undefined");
    EXPECT_STREQ(FunctionClassText(29), "Map");
    EXPECT_STREQ(FunctionClassText(30), "Undefined");
}

TEST_F(InfoTextTest, DescriptionsLoseTabsAndCarriageReturnsButKeepLineFeeds) {
    KMXSTreeItem fb("Infotainment", "AudioAmplifier", 0x22);
    EXPECT_EQ(BuildInfoText(fb, handle), "Amplifier of the front zone.Volume,tone andspeakers.\nSecond line of the description.");
    KMXSTreeItem catalog("Infotainment");
    std::string text = BuildInfoText(catalog, handle);
    EXPECT_EQ(text.find('\t'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find('\n'), std::string::npos);
    EXPECT_EQ(BuildInfoText(KMXSTreeItem::Predefined(3), handle), "");
    EXPECT_EQ(BuildInfoText(KMXSTreeItem(std::string()), handle), "");
}

TEST_F(InfoTextTest, EnumValueTablesStopAfterTwentySevenLines) {
    FakeEnum thirty(30);
    KMXSTreeItem row(nullptr, &thirty);
    std::string text = BuildInfoText(row, handle);
    EXPECT_EQ(text.rfind("Value table:\n0x0: Value0\n", 0), 0u); // no description: no leading break
    EXPECT_NE(text.find("0x26: Value26\n..."), std::string::npos);
    EXPECT_EQ(text.find("Value27"), std::string::npos);
    FakeEnum few(2);
    few.description = "Drive state";
    KMXSTreeItem small(nullptr, &few);
    EXPECT_EQ(BuildInfoText(small, handle), "Drive state\nValue table:\n0x0: Value0\n0x1: Value1");
    // a bool field shows its description and its first two bits, without a separator before them
    FakeEnum doors(2);
    doors.type = QRN_TYPE_BOOLFIELD;
    doors.description = "Doors";
    EXPECT_EQ(BuildInfoText(KMXSTreeItem(nullptr, &doors), handle), "Doors0x0: Value0\n0x1: Value1");
    // a real bool field (without a description): its first two bits
    KQRNNode* speakers = node("AudioAmplifier", "SpeakerState", "Status", "Speakers");
    ASSERT_NE(speakers, nullptr);
    std::string t = BuildInfoText(KMXSTreeItem(nullptr, speakers), handle);
    EXPECT_EQ(t, "0: FrontLeft\n1: FrontRight"); // of its five bits
}

TEST_F(InfoTextTest, LongTextsAreCutToTenTwentyFourCharacters) {
    FakeNumber longOne(QRN_NUMBER_UBYTE, 0, 1);
    longOne.description = "Head " + std::string(2000, 'x');
    std::string text = BuildInfoText(KMXSTreeItem(nullptr, &longOne), handle);
    EXPECT_EQ(text.size(), 1024u);
    EXPECT_EQ(text.substr(0, 6), "Head x"); // the end goes, not the start
    EXPECT_EQ(text.substr(1021), "...");
    longOne.description = std::string(1024, 'y');
    EXPECT_EQ(BuildInfoText(KMXSTreeItem(nullptr, &longOne), handle).size(), 1024u);
    EXPECT_EQ(BuildInfoText(KMXSTreeItem(nullptr, &longOne), handle).back(), 'y');
}
