// Parameter texts to data bytes and data bytes to decoded nodes.

#include "QuarnelTestSupport.h"

using namespace qtest;

namespace {
struct Encoding {
    std::int32_t fb, fn, op;
    std::vector<std::string> tokens;
    int status, index;
    std::string bytes;
    int flags = 0;
};
} // namespace

class QuarnelCodec : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    }
    void expectEncodings(const std::vector<Encoding>& cases) {
        for (const Encoding& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << std::hex << c.fb << "." << c.fn << " " << (c.tokens.empty() ? "" : c.tokens[0]));
            auto m = message(c.fb, c.fn, c.op, c.flags);
            int status = -1, index = -2;
            m->SetParameterTexts(c.tokens, status, index);
            EXPECT_EQ(c.status, status);
            EXPECT_EQ(c.index, index);
            EXPECT_EQ(c.bytes, data(*m));
        }
    }
    std::unique_ptr<KQRNMessage> roundTrip(std::int32_t fb, std::int32_t fn, std::int32_t op,
                                           const std::vector<std::string>& tokens) {
        auto m = message(fb, fn, op);
        int status = -1, index = -1;
        m->SetParameterTexts(tokens, status, index);
        EXPECT_EQ(QRN_TEXT_OK, status);
        EXPECT_TRUE(m->Decode());
        return m;
    }
};

// Each type takes its texts or refuses them with a status and the index of the token.
TEST_F(QuarnelCodec, TextsAreEncodedOrRefusedByType) {
    const std::string x40(40, 'x'), x40Bytes = hex({x40.begin(), x40.end()});
    const std::string route = "00 4D 61 69 6E 00 00 64 00 41 00 00 14";
    expectEncodings({
        // numbers are range-checked and written big-endian
        {0x40, 0x400, 0x0, {"98000"}, QRN_TEXT_OK, -1, "00 01 7E D0"},
        {0x40, 0x400, 0x0, {" 0x17eD0 "}, QRN_TEXT_OK, -1, "00 01 7E D0"},
        {0x40, 0x400, 0x0, {"98010"}, QRN_TEXT_RANGE, 0, ""}, // step 50
        {0x40, 0x400, 0x0, {"87450"}, QRN_TEXT_RANGE, 0, ""},
        {0x22, 0x400, 0x0, {"+64"}, QRN_TEXT_OK, -1, "40"},
        {0x22, 0x400, 0x0, {"65"}, QRN_TEXT_RANGE, 0, ""},
        {0x22, 0x400, 0x0, {"-1"}, QRN_TEXT_RANGE, 0, ""},
        {0x22, 0x400, 0x0, {"loud"}, QRN_TEXT_NOT_NUMBER, 0, ""},
        {0x22, 0x400, 0x0, {"0x"}, QRN_TEXT_NOT_NUMBER, 0, ""},
        {0x22, 0x202, 0x0, {"-12"}, QRN_TEXT_OK, -1, "F4"},
        {0x22, 0x202, 0x0, {"0xF4"}, QRN_TEXT_OK, -1, "F4"}, // hex is the bit pattern
        {0x22, 0x202, 0x0, {"3"}, QRN_TEXT_RANGE, 0, ""},    // step 2 from -12
        {0x22, 0x421, 0xC, {"5", "-20"}, QRN_TEXT_OK, -1, "05 00 FF EC"},
        {0x22, 0x421, 0xC, {"16", "0"}, QRN_TEXT_RANGE, 0, ""}, // mask 0x0F00 holds 0 to 15
        {0x22, 0x421, 0xC, {"-1", "0"}, QRN_TEXT_NOT_NUMBER, 0, ""},
        // In a signed byte 0x7F is the largest number and 0x80 the smallest.
        {0x22, 0xE00, 0xC, {"0x7F"}, QRN_TEXT_OK, -1, "7F", QRN_FLAG_WITH_HIDDEN},
        {0x22, 0xE00, 0xC, {"0x80"}, QRN_TEXT_OK, -1, "80", QRN_FLAG_WITH_HIDDEN},
        {0x22, 0xE00, 0xC, {"0XFF"}, QRN_TEXT_OK, -1, "FF", QRN_FLAG_WITH_HIDDEN},
        {0x22, 0xE00, 0xC, {"-128"}, QRN_TEXT_OK, -1, "80", QRN_FLAG_WITH_HIDDEN},
        // enums, booleans and bits take names or codes
        {0x31, 0x200, 0x0, {"Pause"}, QRN_TEXT_OK, -1, "02"},
        {0x31, 0x200, 0x0, {"Play"}, QRN_TEXT_OK, -1, "00"},
        {0x31, 0x200, 0x0, {"0x06"}, QRN_TEXT_OK, -1, "06"},
        {0x31, 0x200, 0x0, {"5"}, QRN_TEXT_NOT_ENUM, 0, ""}, // no value 5
        {0x31, 0x200, 0x0, {"pause"}, QRN_TEXT_NOT_ENUM, 0, ""},
        {0x52, 0x410, 0x0, {"Country"}, QRN_TEXT_OK, -1, "04 00"},
        {0x22, 0x401, 0x0, {"TRUE"}, QRN_TEXT_OK, -1, "01"},
        {0x22, 0x401, 0x0, {"false"}, QRN_TEXT_OK, -1, "00"},
        {0x22, 0x401, 0x0, {"2"}, QRN_TEXT_NOT_BOOL, 0, ""},
        {0x22, 0x420, 0xC, {"FrontLeft | Subwoofer"}, QRN_TEXT_OK, -1, "81"},
        {0x22, 0x420, 0xC, {"0x20"}, QRN_TEXT_NOT_BOOL, 0, ""}, // bit 5 has no name
        {0x22, 0x420, 0xC, {"FrontLeft|Front"}, QRN_TEXT_NOT_BOOL, 0, ""},
        {0x01, 0x000, 0xF, {"Busy", "0x0102"}, QRN_TEXT_OK, -1, "41 01 02"},
        {0x31, 0x110, 0xF, {"Busy", "0102"}, QRN_TEXT_OK, -1, "41 01 02"}, // no MaxLength
        {0x01, 0x000, 0xF, {"6", ""}, QRN_TEXT_OK, -1, "06"},
        {0x01, 0x000, 0xF, {"Sleepy", ""}, QRN_TEXT_NOT_ENUM, 0, ""},
        // strings, streams and token counts
        {0x01, 0x011, 0xC, {"SerialNumber", "\"ABC\""}, QRN_TEXT_OK, -1, "05 01 41 42 43 00"},
        {0x01, 0x011, 0xC, {"SerialNumber", x40}, QRN_TEXT_OK, -1, "05 01 " + x40Bytes + " 00"},
        {0x01, 0x011, 0xC, {"SerialNumber", x40 + "x"}, QRN_TEXT_STRING, 1, "05"},
        {0x01, 0x000, 0xF, {"Busy", "zz"}, QRN_TEXT_STREAM, 1, "41"},
        {0x01, 0x000, 0xF, {"Busy", std::string(34, '1')}, QRN_TEXT_STREAM, 1, "41"}, // at most 16 bytes
        {0x52, 0x430, 0xC, {"0102", "F"}, QRN_TEXT_OK, -1, "02 01 02 0F"},
        {0x01, 0x000, 0xC, {"0x000 0x400 0x401"}, QRN_TEXT_OK, -1, "00 04 00 40 10"},
        {0x01, 0x000, 0xC, {"0x1000"}, QRN_TEXT_STREAM, 0, ""},
        {0x01, 0x000, 0xC, {"-1"}, QRN_TEXT_STREAM, 0, ""},
        // Array elements while tokens last, up to MaxIndex.
        {0x52, 0x420, 0xC, {"Main", "100", "A", "20"}, QRN_TEXT_OK, -1, route},
        {0x22, 0x400, 0x0, {"64", "0"}, QRN_TEXT_TOO_MANY, 1, "40"},
        {0x31, 0x110, 0x0, {"0"}, QRN_TEXT_TOO_MANY, 0, ""},
        {0x22, 0x210, 0x2, {"-2"}, QRN_TEXT_TOO_FEW, 1, "FE 00 00 00"},
        {0x01, 0x000, 0xF, {}, QRN_TEXT_TOO_FEW, 0, "00"},
        {0x31, 0x110, 0x0, {}, QRN_TEXT_OK, -1, ""},
    });
}

TEST_F(QuarnelCodec, ArraysOfRecordsDecodeWithIndexedPaths) {
    auto m = roundTrip(0x31, 0x402, 0xC, {"0", "1", "Intro", "300", "2", "Song", "0x00010000"});
    EXPECT_EQ("00 01 00 49 6E 74 72 6F 00 00 00 01 2C 02 00 53 6F 6E 67 00 00 01 00 00", data(*m));
    const auto ps = parameters(*m);
    ASSERT_EQ(2u, ps.size());
    EXPECT_EQ("Pos", ps[0]->GetName());
    const auto elements = children(ps[1]);
    ASSERT_EQ(2u, elements.size());
    KQRNNode* length = findPath(ps, "Data[2].Length");
    ASSERT_NE(nullptr, length);
    EXPECT_EQ("Length = 65536", length->GetLabel(false));
    EXPECT_EQ("Length = 0x00010000", length->GetLabel(true));
    EXPECT_EQ(20, attr(length, QRN_ATTR_OFFSET));
    EXPECT_EQ(4, attr(length, QRN_ATTR_SIZE));
    EXPECT_EQ("Song", texts(findPath(ps, "Data[2].Title")));

    // A repeated stream case decodes its parameters once per index.
    auto conference = roundTrip(0x50, 0x200, 0xC, {"Conference", "01 00 02 01"});
    EXPECT_EQ("TRUE", texts(findPath(parameters(*conference), "Details.Members[2].Held")));
    // Word limits the elements; the rest is surplus.
    m->SetWord(1);
    EXPECT_FALSE(m->Decode());
    EXPECT_TRUE(parameters(*m).empty());
    m->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ(1u, children(parameters(*m)[1]).size());
}

TEST_F(QuarnelCodec, DecodeNamesValuesOfEveryValueType) {
    const struct {
        std::int32_t fb, fn, op;
        std::vector<std::string> tokens;
        std::vector<std::string> values; // of each parameter
    } cases[] = {
        {0x01, 0x000, 0xC, {"0x000 0x400 0x401"}, {"0x000 0x400 0x401"}},
        {0x01, 0x000, 0xF, {"0x41", "0102"}, {"Busy", "01 02"}},
        {0x52, 0x430, 0xC, {"0102", "AABB"}, {"01 02", "AA BB"}},
        {0x22, 0x420, 0xC, {"FrontRight|RearRight"}, {"FrontRight|RearRight"}},
        {0x22, 0x421, 0xC, {"9", "-5"}, {"9", "-5"}},
        {0x40, 0x430, 0xC, {"Hello radio"}, {"Hello radio"}},
        {0x31, 0x110, 0xC, {}, {""}}, // a void parameter has no value
    };
    for (const auto& c : cases) {
        auto m = roundTrip(c.fb, c.fn, c.op, c.tokens);
        std::vector<std::string> got;
        for (KQRNNode* n : parameters(*m))
            got.push_back(texts(n));
        EXPECT_EQ(c.values, got) << c.fb << "." << c.fn;
    }
    EXPECT_EQ(QRN_TYPE_UNDEFINED, parameters(*roundTrip(0x52, 0x430, 0xC, {"0102", "AABB"}))[1]->GetType());
    EXPECT_EQ("Gain = 0xFFFB", parameters(*roundTrip(0x22, 0x421, 0xC, {"9", "-5"}))[1]->GetLabel(true));

    // Unnamed bits show the whole field as a number, no bits a 0.
    auto m = message(0x22, 0x420, 0xC);
    m->SetData({0x21});
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ("0x21", texts(parameters(*m)[0]));
    std::vector<KQRNNode*> listed; // a second listing replaces the first
    m->GetParameters(listed);
    m->GetParameters(listed);
    EXPECT_EQ(1u, listed.size());
    // New data or texts drop the decoded nodes until the next Decode.
    m->SetData({0x00});
    EXPECT_FALSE(m->IsDecoded());
    EXPECT_TRUE(parameters(*m).empty());
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ("0", texts(parameters(*m)[0]));
    int status = -1, index = -1;
    m->SetParameterTexts({"FrontLeft"}, status, index);
    EXPECT_FALSE(m->IsDecoded());
    EXPECT_TRUE(parameters(*m).empty());
    // Too few bytes.
    m->SetData({});
    EXPECT_FALSE(m->Decode());
    EXPECT_FALSE(m->IsDecoded());
    EXPECT_FALSE(message(0x31, 0x200, 0xC)->Decode());
    auto channels = message(0x22, 0x421, 0xC);
    channels->SetData({0x05, 0x00, 0xFF});
    channels->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    EXPECT_FALSE(channels->Decode()) << "surplus bytes may be left over, missing ones never";
    // With choices asked for, an enum lists its names by code, unnamed codes in hexadecimal.
    auto deck = roundTrip(0x31, 0x200, 0xC, {"Pause"});
    deck->SetFlags(QRN_MSG_VALUE_CHOICES);
    ASSERT_TRUE(deck->Decode());
    EXPECT_EQ("Play; Stop; Pause; FastForward; FastRewind; 0x05; Eject", texts(parameters(*deck)[0]));
    // A string cut short after its coding byte is the empty string.
    auto radio = message(0x40, 0x430, 0xC);
    radio->SetData({0x00});
    ASSERT_TRUE(radio->Decode());
    EXPECT_EQ((std::vector<std::string>{""}), valueTexts(parameters(*radio)[0]));
}

TEST_F(QuarnelCodec, LengthsIndexesAndSelectorsAtTheirEdges) {
    ASSERT_EQ(QRN_OK, loadText(kEdgeCatalog)) << log();
    expectEncodings({
        {0x70, 0x002, 0xC, {"AB", "7"}, QRN_TEXT_OK, -1, "01 AB 07"},
        {0x70, 0x002, 0xC, {"AB CD", "7"}, QRN_TEXT_STREAM, 0, ""},             // MaxLength 1
        {0x70, 0x002, 0xC, {"AB", "7", "8"}, QRN_TEXT_TOO_MANY, 2, "01 AB 07"}, // MaxIndex 1
    });
    auto limits = message(0x70, 0x002, 0xC);
    limits->SetData({0x01, 0xAB});
    ASSERT_TRUE(limits->Decode()) << "a short stream may end the data";
    EXPECT_EQ("AB", texts(parameters(*limits)[0]));
    limits->SetData({0x02, 0xAB});
    limits->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    EXPECT_FALSE(limits->Decode()) << "a short stream longer than the data";

    // A bit field selects by its value, not by its bits in place; function ids after other data.
    auto ids = roundTrip(0x70, 0x003, 0xC, {"2", "00 04 00"});
    EXPECT_EQ("20 00 04 00", data(*ids));
    EXPECT_EQ("0x000 0x400", texts(findPath(parameters(*ids), "Body.Ids.List")));
    // An element without data ends an array, however many elements the limit allows.
    auto voids = message(0x70, 0x004, 0xC);
    voids->SetData({0x05, 0x00});
    voids->SetWord(3);
    voids->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    ASSERT_TRUE(voids->Decode());
    EXPECT_EQ("5", texts(parameters(*voids)[1])) << "a bit field without Mask";
    EXPECT_EQ(1u, children(parameters(*voids)[2]).size());
    // A boolean selector; a selector inside a record.
    EXPECT_EQ("7", texts(findPath(parameters(*roundTrip(0x70, 0x003, 0x1, {"true", "07"})), "Body.On.N")));
    auto wrapped = roundTrip(0x70, 0x003, 0x0, {"1", "00 68 69 00"});
    EXPECT_EQ("hi", texts(findPath(parameters(*wrapped), "Wrapped.Body.Text.Value")));
}
