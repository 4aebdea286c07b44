// Parameter texts to data bytes and data bytes to decoded nodes.

#include "QuarnelTestSupport.h"

using namespace qtest;

namespace {
struct Encoded {
    int status;
    int index;
    std::string bytes;
};
} // namespace

class QuarnelCodec : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    }
    std::unique_ptr<KQRNMessage> message(std::int32_t fb, std::int32_t fn, std::int32_t op) {
        std::unique_ptr<KQRNMessage> m(mgr->CreateMessage(0, fb, QRN_ANY_INSTANCE, fn, op));
        EXPECT_NE(nullptr, m);
        return m;
    }
    Encoded encode(std::int32_t fb, std::int32_t fn, std::int32_t op,
                   const std::vector<std::string>& tokens) {
        auto m = message(fb, fn, op);
        if (!m) return {-1, -1, ""};
        Encoded e{-1, -2, ""};
        m->SetParameterTexts(tokens, e.status, e.index);
        std::vector<std::uint8_t> data;
        m->GetData(data);
        e.bytes = hex(data);
        return e;
    }
    // Encodes, then decodes the same bytes.
    std::unique_ptr<KQRNMessage> roundTrip(std::int32_t fb, std::int32_t fn, std::int32_t op,
                                           const std::vector<std::string>& tokens) {
        auto m = message(fb, fn, op);
        int status = -1, index = -1;
        m->SetParameterTexts(tokens, status, index);
        EXPECT_EQ(QRN_TEXT_OK, status);
        EXPECT_TRUE(m->Decode());
        return m;
    }
    static std::vector<KQRNNode*> parameters(const KQRNMessage& m) {
        std::vector<KQRNNode*> v;
        m.GetParameters(v);
        return v;
    }
};

#define EXPECT_ENCODED(expectStatus, expectIndex, expectBytes, e)                                            \
    do {                                                                                                     \
        const Encoded got = (e);                                                                             \
        EXPECT_EQ(expectStatus, got.status);                                                                 \
        EXPECT_EQ(expectIndex, got.index);                                                                   \
        EXPECT_EQ(expectBytes, got.bytes);                                                                   \
    } while (0)

TEST_F(QuarnelCodec, NumbersAreRangeCheckedAndWrittenBigEndian) {
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "00 01 7E D0", encode(0x40, 0x400, 0x0, {"98000"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "00 01 7E D0", encode(0x40, 0x400, 0x0, {" 0x17eD0 "}));
    EXPECT_ENCODED(QRN_TEXT_RANGE, 0, "", encode(0x40, 0x400, 0x0, {"98010"})); // step 50
    EXPECT_ENCODED(QRN_TEXT_RANGE, 0, "", encode(0x40, 0x400, 0x0, {"87450"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "40", encode(0x22, 0x400, 0x0, {"+64"}));
    EXPECT_ENCODED(QRN_TEXT_RANGE, 0, "", encode(0x22, 0x400, 0x0, {"65"}));
    EXPECT_ENCODED(QRN_TEXT_RANGE, 0, "", encode(0x22, 0x400, 0x0, {"-1"}));
    EXPECT_ENCODED(QRN_TEXT_NOT_NUMBER, 0, "", encode(0x22, 0x400, 0x0, {"loud"}));
    EXPECT_ENCODED(QRN_TEXT_NOT_NUMBER, 0, "", encode(0x22, 0x400, 0x0, {"0x"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "F4", encode(0x22, 0x202, 0x0, {"-12"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "F4", encode(0x22, 0x202, 0x0, {"0xF4"})); // hex is the bit pattern
    EXPECT_ENCODED(QRN_TEXT_RANGE, 0, "", encode(0x22, 0x202, 0x0, {"3"}));    // step 2 from -12
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "05 00 FF EC", encode(0x22, 0x421, 0xC, {"5", "-20"}));
    EXPECT_ENCODED(QRN_TEXT_RANGE, 0, "", encode(0x22, 0x421, 0xC, {"16", "0"})); // mask 0x0F00 holds 0 to 15
    EXPECT_ENCODED(QRN_TEXT_NOT_NUMBER, 0, "", encode(0x22, 0x421, 0xC, {"-1", "0"}));
    // In a signed byte 0x7F is the largest number and 0x80 the smallest.
    std::unique_ptr<KQRNMessage> temperature(mgr->CreateMessage(QRN_FLAG_WITH_HIDDEN, 0x22, 0, 0xE00, 0xC));
    const std::pair<const char*, const char*> signedBytes[] = {
        {"0x7F", "7F"}, {"0x80", "80"}, {"0XFF", "FF"}, {"-128", "80"}};
    for (const auto& [text, bytes] : signedBytes) {
        int status = -1, index = -1;
        temperature->SetParameterTexts({text}, status, index);
        std::vector<std::uint8_t> data;
        temperature->GetData(data);
        EXPECT_EQ(QRN_TEXT_OK, status) << text;
        EXPECT_EQ(bytes, hex(data)) << text;
    }
}

TEST_F(QuarnelCodec, EnumsBooleansAndBitsAcceptNamesOrCodes) {
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "02", encode(0x31, 0x200, 0x0, {"Pause"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "00", encode(0x31, 0x200, 0x0, {"Play"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "06", encode(0x31, 0x200, 0x0, {"0x06"}));
    EXPECT_ENCODED(QRN_TEXT_NOT_ENUM, 0, "", encode(0x31, 0x200, 0x0, {"5"})); // no value 5
    EXPECT_ENCODED(QRN_TEXT_NOT_ENUM, 0, "", encode(0x31, 0x200, 0x0, {"pause"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "04 00", encode(0x52, 0x410, 0x0, {"Country"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "01", encode(0x22, 0x401, 0x0, {"TRUE"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "00", encode(0x22, 0x401, 0x0, {"false"}));
    EXPECT_ENCODED(QRN_TEXT_NOT_BOOL, 0, "", encode(0x22, 0x401, 0x0, {"2"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "81", encode(0x22, 0x420, 0xC, {"FrontLeft | Subwoofer"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "03", encode(0x22, 0x420, 0xC, {"3"}));
    EXPECT_ENCODED(QRN_TEXT_NOT_BOOL, 0, "", encode(0x22, 0x420, 0xC, {"0x20"})); // bit 5 has no name
    EXPECT_ENCODED(QRN_TEXT_NOT_BOOL, 0, "", encode(0x22, 0x420, 0xC, {"FrontLeft|Front"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "41 01 02", encode(0x01, 0x000, 0xF, {"Busy", "0x0102"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "41 01 02", encode(0x31, 0x110, 0xF, {"Busy", "0102"})); // no MaxLength
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "06", encode(0x01, 0x000, 0xF, {"6", ""}));
    EXPECT_ENCODED(QRN_TEXT_NOT_ENUM, 0, "", encode(0x01, 0x000, 0xF, {"Sleepy", ""}));
}

TEST_F(QuarnelCodec, StringsStreamsAndTokenCounts) {
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "05 01 41 42 43 00",
                   encode(0x01, 0x011, 0xC, {"SerialNumber", "\"ABC\""}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "05 01 " + hex(std::vector<std::uint8_t>(40, 'x')) + " 00",
                   encode(0x01, 0x011, 0xC, {"SerialNumber", std::string(40, 'x')}));
    EXPECT_ENCODED(QRN_TEXT_STRING, 1, "05",
                   encode(0x01, 0x011, 0xC, {"SerialNumber", std::string(41, 'x')}));
    EXPECT_ENCODED(QRN_TEXT_STREAM, 1, "41", encode(0x01, 0x000, 0xF, {"Busy", "zz"}));
    EXPECT_ENCODED(
        QRN_TEXT_STREAM, 1, "41",
        encode(0x01, 0x000, 0xF, {"Busy", std::string(34, '1')})); // ErrorInfo holds at most 16 bytes
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "02 01 02 0F", encode(0x52, 0x430, 0xC, {"0102", "F"}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "00 04 00 40 10", encode(0x01, 0x000, 0xC, {"0x000 0x400 0x401"}));
    EXPECT_ENCODED(QRN_TEXT_STREAM, 0, "", encode(0x01, 0x000, 0xC, {"0x1000"}));
    EXPECT_ENCODED(QRN_TEXT_STREAM, 0, "", encode(0x01, 0x000, 0xC, {"-1"}));
    // Array elements while tokens last, up to MaxIndex.
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "00 4D 61 69 6E 00 00 64 00 41 00 00 14",
                   encode(0x52, 0x420, 0xC, {"Main", "100", "A", "20"}));
    EXPECT_ENCODED(QRN_TEXT_TOO_MANY, 1, "40", encode(0x22, 0x400, 0x0, {"64", "0"}));
    EXPECT_ENCODED(QRN_TEXT_TOO_MANY, 0, "", encode(0x31, 0x110, 0x0, {"0"})); // Start takes nothing
    EXPECT_ENCODED(QRN_TEXT_TOO_FEW, 1, "FE 00 00 00", encode(0x22, 0x210, 0x2, {"-2"}));
    EXPECT_ENCODED(QRN_TEXT_TOO_FEW, 0, "00", encode(0x01, 0x000, 0xF, {}));
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "", encode(0x31, 0x110, 0x0, {}));
}

TEST_F(QuarnelCodec, ArraysOfRecordsDecodeWithIndexedPaths) {
    auto m = roundTrip(0x31, 0x402, 0xC, {"0", "1", "Intro", "300", "2", "Song", "0x00010000"});
    std::vector<std::uint8_t> data;
    m->GetData(data);
    EXPECT_EQ("00 01 00 49 6E 74 72 6F 00 00 00 01 2C 02 00 53 6F 6E 67 00 00 01 00 00", hex(data));
    const auto ps = parameters(*m);
    ASSERT_EQ(2u, ps.size());
    EXPECT_EQ("Pos", ps[0]->GetName());
    EXPECT_EQ((std::vector<std::string>{"0"}), valueTexts(ps[0]));
    EXPECT_EQ(QRN_TYPE_ARRAY, ps[1]->GetType());
    const auto elements = children(ps[1]);
    ASSERT_EQ(2u, elements.size());
    EXPECT_EQ("Data[2]", elements[1]->GetPath());
    EXPECT_EQ("", elements[1]->GetDisplayName());
    KQRNNode* length = findPath(ps, "Data[2].Length");
    ASSERT_NE(nullptr, length);
    EXPECT_EQ("Length = 65536", length->GetLabel(false));
    EXPECT_EQ("Length = 0x00010000", length->GetLabel(true));
    EXPECT_EQ(20, attr(length, QRN_ATTR_OFFSET));
    EXPECT_EQ(4, attr(length, QRN_ATTR_SIZE));
    EXPECT_EQ((std::vector<std::string>{"Song"}), valueTexts(findPath(ps, "Data[2].Title")));

    // Word limits the elements; the rest is surplus.
    m->SetWord(1);
    EXPECT_FALSE(m->Decode());
    EXPECT_TRUE(parameters(*m).empty());
    m->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ(1u, children(parameters(*m)[1]).size());
}

TEST_F(QuarnelCodec, StreamCasesFollowTheirSelector) {
    auto caller = roundTrip(0x50, 0x200, 0xC, {"Active", "00 31 32 00 00 42 6F 62 00"});
    KQRNNode* number = findPath(parameters(*caller), "Details.Caller.Number");
    ASSERT_NE(nullptr, number);
    EXPECT_EQ((std::vector<std::string>{"12"}), valueTexts(number));
    EXPECT_EQ(QRN_TYPE_STREAMCASE, children(parameters(*caller)[1])[0]->GetType());

    auto conference = roundTrip(0x50, 0x200, 0xC, {"Conference", "01 00 02 01"});
    const auto ps = parameters(*conference);
    EXPECT_EQ((std::vector<std::string>{"FALSE"}), valueTexts(findPath(ps, "Details.Members[1].Held")));
    EXPECT_EQ((std::vector<std::string>{"2"}), valueTexts(findPath(ps, "Details.Members[2].Line")));
    EXPECT_EQ((std::vector<std::string>{"TRUE"}), valueTexts(findPath(ps, "Details.Members[2].Held")));

    auto idle = roundTrip(0x50, 0x200, 0xC, {"Idle", ""});
    KQRNNode* padding = findPath(parameters(*idle), "Details.Nothing.Padding");
    ASSERT_NE(nullptr, padding);
    EXPECT_EQ(QRN_KIND_PADDING, padding->GetKind());
    EXPECT_TRUE(padding->IsAbstract());

    auto plain = roundTrip(0x52, 0x440, 0xC, {"AB CD"});
    EXPECT_EQ((std::vector<std::string>{"AB CD"}), valueTexts(parameters(*plain)[0]));
}

TEST_F(QuarnelCodec, DecodeNamesValuesOfEveryValueType) {
    auto fkt = roundTrip(0x01, 0x000, 0xC, {"0x000 0x400 0x401"});
    EXPECT_EQ((std::vector<std::string>{"0x000 0x400 0x401"}), valueTexts(parameters(*fkt)[0]));
    auto err = roundTrip(0x01, 0x000, 0xF, {"0x41", "0102"});
    EXPECT_EQ((std::vector<std::string>{"Busy"}), valueTexts(parameters(*err)[0]));
    EXPECT_EQ((std::vector<std::string>{"01 02"}), valueTexts(parameters(*err)[1]));
    auto map = roundTrip(0x52, 0x430, 0xC, {"0102", "AABB"});
    EXPECT_EQ((std::vector<std::string>{"01 02"}), valueTexts(parameters(*map)[0]));
    EXPECT_EQ(QRN_TYPE_UNDEFINED, parameters(*map)[1]->GetType());
    EXPECT_EQ((std::vector<std::string>{"AA BB"}), valueTexts(parameters(*map)[1]));
    auto speakers = roundTrip(0x22, 0x420, 0xC, {"FrontRight|RearRight"});
    EXPECT_EQ((std::vector<std::string>{"FrontRight|RearRight"}), valueTexts(parameters(*speakers)[0]));
    auto bits = roundTrip(0x22, 0x421, 0xC, {"9", "-5"});
    EXPECT_EQ((std::vector<std::string>{"9"}), valueTexts(parameters(*bits)[0]));
    EXPECT_EQ((std::vector<std::string>{"-5"}), valueTexts(parameters(*bits)[1]));
    EXPECT_EQ("Gain = 0xFFFB", parameters(*bits)[1]->GetLabel(true));
    auto text = roundTrip(0x40, 0x430, 0xC, {"Hello radio"});
    EXPECT_EQ((std::vector<std::string>{"Hello radio"}), valueTexts(parameters(*text)[0]));
    auto done = roundTrip(0x31, 0x110, 0xC, {});
    ASSERT_EQ(1u, parameters(*done).size());
    EXPECT_EQ(QRN_TYPE_VOID, parameters(*done)[0]->GetType());
    EXPECT_TRUE(valueTexts(parameters(*done)[0]).empty());

    // Unnamed bits show the whole field as a number, no bits a 0.
    auto m = message(0x22, 0x420, 0xC);
    m->SetData({0x21});
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ((std::vector<std::string>{"0x21"}), valueTexts(parameters(*m)[0]));
    std::vector<KQRNNode*> listed;
    m->GetParameters(listed);
    m->GetParameters(listed);
    EXPECT_EQ(1u, listed.size());
    // New data or texts drop the decoded nodes until the next Decode.
    m->SetData({0x00});
    EXPECT_FALSE(m->IsDecoded());
    EXPECT_TRUE(parameters(*m).empty());
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ((std::vector<std::string>{"0"}), valueTexts(parameters(*m)[0]));
    int status = -1, index = -1;
    m->SetParameterTexts({"FrontLeft"}, status, index);
    EXPECT_FALSE(m->IsDecoded());
    EXPECT_TRUE(parameters(*m).empty());
    // Too few bytes.
    m->SetData({});
    EXPECT_FALSE(m->Decode());
    EXPECT_FALSE(m->IsDecoded());
    auto deck = message(0x31, 0x200, 0xC);
    EXPECT_FALSE(deck->Decode());
    auto channels = message(0x22, 0x421, 0xC);
    channels->SetData({0x05, 0x00, 0xFF});
    channels->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    EXPECT_FALSE(channels->Decode()) << "surplus bytes may be left over, missing ones never";
    // A string cut short after its coding byte is the empty string.
    auto radio = message(0x40, 0x430, 0xC);
    radio->SetData({0x00});
    ASSERT_TRUE(radio->Decode());
    EXPECT_EQ((std::vector<std::string>{""}), valueTexts(parameters(*radio)[0]));
}

TEST_F(QuarnelCodec, LengthsIndexesAndSelectorsAtTheirEdges) {
    ASSERT_EQ(QRN_OK, loadText(kEdgeCatalog)) << readFile(logPath());
    EXPECT_ENCODED(QRN_TEXT_OK, -1, "01 AB 07", encode(0x70, 0x002, 0xC, {"AB", "7"}));
    EXPECT_ENCODED(QRN_TEXT_STREAM, 0, "", encode(0x70, 0x002, 0xC, {"AB CD", "7"})); // MaxLength 1
    EXPECT_ENCODED(QRN_TEXT_TOO_MANY, 2, "01 AB 07",
                   encode(0x70, 0x002, 0xC, {"AB", "7", "8"})); // MaxIndex 1
    auto limits = message(0x70, 0x002, 0xC);
    limits->SetData({0x01, 0xAB});
    ASSERT_TRUE(limits->Decode()) << "a short stream may end the data";
    EXPECT_EQ((std::vector<std::string>{"AB"}), valueTexts(parameters(*limits)[0]));
    EXPECT_TRUE(children(parameters(*limits)[1]).empty());
    limits->SetData({0x02, 0xAB});
    limits->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    EXPECT_FALSE(limits->Decode()) << "a short stream longer than the data";

    // A bit field selects by its value, not by its bits in place; function ids after other data.
    auto ids = roundTrip(0x70, 0x003, 0xC, {"2", "00 04 00"});
    std::vector<std::uint8_t> data;
    ids->GetData(data);
    EXPECT_EQ("20 00 04 00", hex(data));
    KQRNNode* list = findPath(parameters(*ids), "Body.Ids.List");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ((std::vector<std::string>{"0x000 0x400"}), valueTexts(list));
    // An element without data ends an array, however many elements the limit allows.
    auto voids = message(0x70, 0x004, 0xC);
    voids->SetData({0x05, 0x00});
    voids->SetWord(3);
    voids->SetFlags(QRN_MSG_ALLOW_SURPLUS);
    ASSERT_TRUE(voids->Decode());
    EXPECT_EQ((std::vector<std::string>{"5"}), valueTexts(parameters(*voids)[1]))
        << "a bit field without Mask";
    EXPECT_EQ(1u, children(parameters(*voids)[2]).size());
    // A boolean selector; a selector inside a record.
    auto flag = roundTrip(0x70, 0x003, 0x1, {"true", "07"});
    KQRNNode* n = findPath(parameters(*flag), "Body.On.N");
    ASSERT_NE(nullptr, n);
    EXPECT_EQ((std::vector<std::string>{"7"}), valueTexts(n));
    auto wrapped = roundTrip(0x70, 0x003, 0x0, {"1", "00 68 69 00"});
    KQRNNode* value = findPath(parameters(*wrapped), "Wrapped.Body.Text.Value");
    ASSERT_NE(nullptr, value);
    EXPECT_EQ((std::vector<std::string>{"hi"}), valueTexts(value));
}

TEST_F(QuarnelCodec, ChoicesListEnumValuesByCode) {
    auto m = roundTrip(0x31, 0x200, 0xC, {"Pause"});
    EXPECT_EQ((std::vector<std::string>{"Pause"}), valueTexts(parameters(*m)[0]));
    m->SetFlags(QRN_MSG_VALUE_CHOICES);
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ(
        (std::vector<std::string>{"Play", "Stop", "Pause", "FastForward", "FastRewind", "0x05", "Eject"}),
        valueTexts(parameters(*m)[0]));
    auto big = roundTrip(0x52, 0x410, 0x0, {"City"});
    big->SetFlags(QRN_MSG_VALUE_CHOICES);
    ASSERT_TRUE(big->Decode());
    EXPECT_EQ((std::vector<std::string>{"Street", "City", "Country"}), valueTexts(parameters(*big)[0]))
        << "codes above 255 are not spread out";
    auto mute = roundTrip(0x22, 0x401, 0xC, {"1"});
    mute->SetFlags(QRN_MSG_VALUE_CHOICES);
    ASSERT_TRUE(mute->Decode());
    EXPECT_EQ((std::vector<std::string>{"FALSE", "TRUE"}), valueTexts(parameters(*mute)[0]));
}

// The retry loop the input assistance runs: texts padded with twenty "0", refused tokens
// replaced by "0", surplus tokens dropped, then the data padded with twenty zero bytes.
TEST_F(QuarnelCodec, PaddedTextsConvergeToADecodableMessage) {
    struct Case {
        std::int32_t fb, fn, op;
        std::vector<std::string> typed;
        std::vector<std::string> expectNames;
    };
    const Case cases[] = {
        {0x22, 0x400, 0x0, {"70"}, {"Volume"}},
        {0x01, 0x011, 0xC, {"Nope", "text"}, {"InfoKind", "Text"}},
        {0x31, 0x110, 0x0, {}, {}},
        {0x22, 0x210, 0x2, {"1", "2"}, {"Tone", "Reserved"}},
        {0x31, 0x200, 0x0, {"Eject"}, {"Status"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> tokens = c.typed;
        tokens.insert(tokens.end(), 20, "0");
        std::unique_ptr<KQRNMessage> m;
        int lastFailing = -1;
        for (int attempt = 0; attempt < 100; ++attempt) {
            m = message(c.fb, c.fn, c.op);
            int status = 0, index = 0;
            m->SetParameterTexts(tokens, status, index);
            if (status < 10 || status > 16) break;
            if (status == QRN_TEXT_TOO_MANY) {
                tokens.pop_back();
                if (tokens.empty()) break;
                continue;
            }
            if (index == lastFailing) break;
            lastFailing = index;
            tokens[index] = "0";
        }
        m->SetWord(0xFFFF);
        m->SetFlags(QRN_MSG_ALLOW_SURPLUS | QRN_MSG_VALUE_CHOICES);
        std::vector<std::uint8_t> data;
        m->GetData(data);
        data.insert(data.end(), 20, 0);
        m->SetData(data);
        ASSERT_TRUE(m->Decode()) << c.fb << "." << c.fn;
        std::vector<std::string> got;
        for (KQRNNode* n : parameters(*m))
            got.push_back(n->GetName());
        EXPECT_EQ(c.expectNames, got);
    }
}
