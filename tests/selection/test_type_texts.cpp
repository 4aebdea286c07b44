// Parameter type descriptions: exact texts with their spacing, ranges cut toward zero, attributes
// read from the catalog, and the labels from the language module.
#include "CatalogFixture.h"
#include "selection/ParameterTypeText.h"

using TypeTextTest = CatalogFixture;

TEST_F(TypeTextTest, NumbersShowNameRangeExponentAndUnitWithTwoSpacesAfterEachComma) {
    FakeNumber byte(QRN_NUMBER_UBYTE, 0, 255);
    EXPECT_EQ(BuildParameterTypeText(&byte), "Unsigned byte,  Range: 0 - 255,  Exponent: 0");
    FakeNumber same(QRN_NUMBER_UWORD, 5, 5);
    EXPECT_EQ(BuildParameterTypeText(&same), "Unsigned word,  Range:,  Exponent: 0");
    FakeNumber odd(7, 0, 9);
    EXPECT_EQ(BuildParameterTypeText(&odd), ",  Range:,  Exponent: 0");
    FakeNumber sbyte(QRN_NUMBER_SBYTE, -128.9, 127.9, -1);
    EXPECT_EQ(BuildParameterTypeText(&sbyte), "Signed byte,  Range: -128 - 127,  Exponent: -1");
    FakeNumber slong(QRN_NUMBER_SLONG, -70000, 70000);
    slong.extra = "mV";
    EXPECT_EQ(BuildParameterTypeText(&slong), "Signed long,  Range:-70000 - 70000,  Exponent: 0,  Unit: mV");
    FakeNumber ulong(QRN_NUMBER_ULONG, 0, 4294967295.0);
    EXPECT_EQ(BuildParameterTypeText(&ulong), "Unsigned long,  Range: 0 - 4294967295,  Exponent: 0");
    // a real catalog node with a unit
    KQRNNode* volume = node("AudioAmplifier", "Volume", "Set", "Volume");
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(BuildParameterTypeText(volume), "Unsigned byte,  Range: 0 - 64,  Exponent: 0,  Unit: steps");
}

TEST_F(TypeTextTest, EnumsBooleansStringsAndStreams) {
    FakeEnum e(6, QRN_SIZE_1_BYTE);
    EXPECT_EQ(BuildParameterTypeText(&e), "Enum (1 byte), Range: 0 - 5");
    FakeEnum wide(300, QRN_SIZE_2_BYTES);
    EXPECT_EQ(BuildParameterTypeText(&wide), "Enum (2 byte), Range: 0 - 299");
    FakeData b(QRN_TYPE_BOOLEAN, QRN_SIZE_1_BYTE), bits(QRN_TYPE_BITFIELD, QRN_SIZE_4_BYTES), odd(QRN_TYPE_BOOLEAN, 7);
    EXPECT_EQ(BuildParameterTypeText(&b), "Bool (1 byte)");
    EXPECT_EQ(BuildParameterTypeText(&bits), "Bitfield (4 byte)");
    EXPECT_EQ(BuildParameterTypeText(&odd), "Bool ");
    FakeString unlimited(-1), limited(32);
    EXPECT_EQ(BuildParameterTypeText(&unlimited), "String, max. length: - ");
    EXPECT_EQ(BuildParameterTypeText(&limited), "String, max. length: 32");
    FakeData raw(QRN_TYPE_RAWSTREAM, 0, 0), raw8(QRN_TYPE_RAWSTREAM, 0, 8);
    EXPECT_EQ(BuildParameterTypeText(&raw), "Raw stream, Max. length: - ");
    EXPECT_EQ(BuildParameterTypeText(&raw8), "Raw stream, Max. length: 8");
    for (int code : std::initializer_list<int>{QRN_TYPE_UNDEFINED, QRN_TYPE_ERROR, QRN_TYPE_VOID, QRN_TYPE_RAWSTREAM + 1, -3}) {
        FakeData plain(code, 0);
        EXPECT_EQ(BuildParameterTypeText(&plain), "") << code;
    }
    EXPECT_EQ(BuildParameterTypeText(nullptr), "");
}

TEST_F(TypeTextTest, ArraysAndStreamCasesReadTheirAttributes) {
    KQRNNode* registry = node("NetworkMaster", "CentralRegistry", "Status", "Registry");
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(BuildParameterTypeText(registry), "Array, Max. index: 64");
    FakeData noAttributes(QRN_TYPE_ARRAY, 0);
    EXPECT_EQ(BuildParameterTypeText(&noAttributes), "Array, Max. index: -");
    FakeData plainCase(QRN_TYPE_STREAMCASE, 0);
    EXPECT_EQ(BuildParameterTypeText(&plainCase), "Streamcase");
}
