// Message containers and their catalog nodes: value classes, paths, attributes, lifetimes.

#include "QuarnelTestSupport.h"

using namespace qtest;

class QuarnelNodes : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    }
    std::unique_ptr<KQRNMessageContainer> info(std::int32_t fb, std::int32_t fn, std::int32_t op,
                                               int loadNodes = 1) {
        return container("Infotainment", fb, fn, op, loadNodes);
    }
};

TEST_F(QuarnelNodes, ContainersDescribeFBlockFunctionAndOpTypeLevels) {
    auto fb = info(0x50, -1, -1);
    EXPECT_EQ("Telephone", fb->GetFBlockName());
    EXPECT_EQ("Infotainment", fb->GetCatalogName());
    EXPECT_EQ(0x50, fb->GetFBlockId());
    EXPECT_EQ(-1, fb->GetFunctionId());
    EXPECT_EQ("", fb->GetFunctionName());
    EXPECT_EQ(QRN_FUNCTION_UNKNOWN, fb->GetFunctionType());
    auto fn = info(0x50, 0x300, -1);
    EXPECT_EQ("Dial", fn->GetFunctionName());
    EXPECT_EQ(0x300, fn->GetFunctionId());
    EXPECT_EQ(QRN_FUNCTION_METHOD, fn->GetFunctionType());
    EXPECT_EQ(2, fn->GetFunctionClass());
    EXPECT_EQ(-1, fn->GetOpTypeId());
    EXPECT_EQ(0, fn->LoadNodes());
    EXPECT_EQ(5, info(0x52, 0x450, -1)->GetFunctionClass());
    EXPECT_EQ(16, info(0x01, 0x000, -1)->GetFunctionClass());
    EXPECT_EQ(1, info(0x31, 0x110, -1)->GetFunctionClass()) << "Trigger";

    auto lazy = info(0x31, 0x402, 0xC, 0);
    EXPECT_EQ("Status", lazy->GetOpTypeName());
    EXPECT_EQ(0xC, lazy->GetOpTypeId());
    EXPECT_TRUE(nodes(*lazy).empty()) << "nodes come with LoadNodes";
    EXPECT_EQ(2, lazy->LoadNodes());
    const auto first = nodes(*lazy);
    EXPECT_EQ(2, lazy->LoadNodes());
    std::vector<KQRNNode*> again;
    lazy->GetNodes(again);
    lazy->GetNodes(again);
    EXPECT_EQ(first, again) << "built once, listed once";

    EXPECT_EQ(0, info(0x99, 0x1, 0x1)->LoadNodes()) << "no such FBlock";
}

TEST_F(QuarnelNodes, ValueClassesReportRangesSizesAndInfoTexts) {
    auto volume = info(0x22, 0x400, 0x0);
    KQRNNumberNode* n = QRNAsNumber(nodes(*volume)[0]);
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(0.0, n->GetMinimum());
    EXPECT_EQ(64.0, n->GetMaximum());
    EXPECT_EQ("Volume step", n->GetDescription());
    EXPECT_EQ(7, attr(n, 2001));
    auto pos = info(0x52, 0x400, 0xC);
    KQRNNumberNode* lat = QRNAsNumber(findPath(nodes(*pos), "Position.Latitude"));
    ASSERT_NE(nullptr, lat);
    EXPECT_EQ(5, lat->GetNumberType());
    EXPECT_EQ(-90000000.0, lat->GetMinimum());
    EXPECT_EQ(-6, lat->GetNumberInt());
    EXPECT_EQ(2, lat->GetSizeCode());

    auto infoKind = info(0x01, 0x011, 0xC);
    EXPECT_EQ(40, QRNAsString(nodes(*infoKind)[1])->GetStringMaxLength());
    EXPECT_EQ(0, QRNAsString(nodes(*infoKind)[1])->GetRawMaxLength());
    EXPECT_EQ(-1, QRNAsString(nodes(*info(0x40, 0x430, 0xC))[0])->GetStringMaxLength());
    EXPECT_EQ(16, QRNAsData(nodes(*info(0x01, 0x000, 0xF))[1])->GetRawMaxLength());
    EXPECT_EQ(0, QRNAsData(nodes(*info(0x31, 0x110, 0xF))[1])->GetRawMaxLength());
    EXPECT_EQ(1, QRNAsData(nodes(*info(0x22, 0x421, 0xC))[0])->GetSizeCode());
    EXPECT_EQ(0, QRNAsData(nodes(*info(0x22, 0x401, 0x0))[0])->GetSizeCode());

    std::vector<std::string> lines;
    auto scaleContainer = info(0x52, 0x410, 0x0);
    KQRNEnumNode* scale = QRNAsEnum(nodes(*scaleContainer)[0]);
    ASSERT_NE(nullptr, scale);
    EXPECT_EQ(1, scale->GetEnumSizeCode());
    EXPECT_EQ(0x400, scale->GetEnumMaximum());
    scale->GetInfoTexts(lines, 51);
    EXPECT_EQ("0x0400: Country", lines[2]) << "four digits for a two-byte enum";
    auto ptyContainer = info(0x40, 0x410, 0x0);
    KQRNEnumNode* pty = QRNAsEnum(nodes(*ptyContainer)[0]);
    EXPECT_EQ(0, pty->GetEnumSizeCode());
    EXPECT_EQ(31, pty->GetEnumMaximum());
    pty->GetInfoTexts(lines, 51);
    ASSERT_EQ(32u, lines.size());
    EXPECT_EQ("0x02: Current Affairs", lines[2]);
    EXPECT_EQ(32u, valueTexts(pty).size()) << "container nodes list the choices";

    auto speakerContainer = info(0x22, 0x420, 0xC);
    KQRNTableNode* speakers = QRNAsTable(nodes(*speakerContainer)[0]);
    ASSERT_NE(nullptr, speakers);
    EXPECT_EQ(0, speakers->GetSizeCode());
    speakers->GetInfoTexts(lines, 3);
    EXPECT_EQ((std::vector<std::string>{"0: FrontLeft", "1: FrontRight", "2: RearLeft", "3: RearRight",
                                        "7: Subwoofer"}),
              lines);
    speakers->GetInfoTexts(lines, 51);
    EXPECT_EQ("0x00: FrontLeft - Front left speaker works", lines[0]);
    EXPECT_EQ("0x01: FrontRight", lines[1]);
    auto infoContainer = info(0x01, 0x011, 0x1);
    QRNAsTable(nodes(*infoContainer)[0])->GetInfoTexts(lines, 51);
    EXPECT_EQ("0x05: SerialNumber - Unique per device", lines[3]);
}

TEST_F(QuarnelNodes, PathsKindsAbstractNodesOffsetsAndSizes) {
    auto tracks = info(0x31, 0x402, 0xC);
    const auto top = nodes(*tracks);
    ASSERT_EQ(2u, top.size());
    EXPECT_EQ(QRN_KIND_POSITION, top[0]->GetKind());
    EXPECT_FALSE(top[0]->IsAbstract());
    EXPECT_TRUE(top[1]->IsAbstract());
    EXPECT_EQ(99, attr(top[1], QRN_ATTR_ARRAY_MAX_INDEX));
    EXPECT_EQ(1, attr(top[1], QRN_ATTR_OFFSET));
    EXPECT_EQ(-1, attr(top[1], QRN_ATTR_SIZE)) << "an array has no fixed size";
    const auto element = children(top[1]);
    ASSERT_EQ(1u, element.size());
    std::vector<KQRNNode*> listed; // a second listing replaces the first
    top[1]->GetChildren(listed);
    top[1]->GetChildren(listed);
    EXPECT_EQ(element, listed);
    EXPECT_EQ("Data[1]", element[0]->GetPath());
    EXPECT_EQ("", element[0]->GetDisplayName())
        << "an unnamed element record shows its fields under the array";
    EXPECT_EQ(QRN_KIND_ELEMENT, element[0]->GetKind());
    KQRNNode* title = findPath(top, "Data[1].Title");
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(QRN_KIND_FIELD, title->GetKind());
    EXPECT_TRUE(valueTexts(title).empty());
    EXPECT_EQ(1, attr(findPath(top, "Data[1].Pos"), QRN_ATTR_OFFSET));
    EXPECT_EQ(2, attr(title, QRN_ATTR_OFFSET));
    EXPECT_EQ(-1, attr(title, QRN_ATTR_SIZE));
    EXPECT_EQ(-1, attr(findPath(top, "Data[1].Length"), QRN_ATTR_OFFSET))
        << "after a string nothing is fixed";

    auto route = info(0x52, 0x420, 0xC);
    EXPECT_EQ("Leg", findPath(nodes(*route), "Legs[1]")->GetDisplayName());
    EXPECT_EQ(-1, attr(nodes(*route)[0], QRN_ATTR_ARRAY_MAX_INDEX)) << "no MaxIndex";

    auto call = info(0x50, 0x200, 0xC);
    const auto cases = children(nodes(*call)[1]);
    ASSERT_EQ(3u, cases.size());
    EXPECT_EQ("Details.Caller", cases[0]->GetPath());
    EXPECT_EQ(-1, attr(cases[0], QRN_ATTR_CASE_INDEXED));
    EXPECT_EQ("Details.Members[1]", cases[1]->GetPath());
    EXPECT_EQ(1, attr(cases[1], QRN_ATTR_CASE_INDEXED));
    EXPECT_EQ(6, attr(cases[1], QRN_ATTR_CASE_MAX_INDEX));
    EXPECT_EQ(QRN_KIND_CASE, cases[1]->GetKind());

    auto tone = info(0x22, 0x210, 0x2);
    EXPECT_TRUE(nodes(*tone)[1]->IsAbstract()) << "reserved";
    EXPECT_EQ(3, attr(nodes(*tone)[0], QRN_ATTR_SIZE));
    EXPECT_EQ(2, attr(findPath(nodes(*tone), "Tone.Treble"), QRN_ATTR_OFFSET));
    EXPECT_EQ(3, attr(nodes(*tone)[1], QRN_ATTR_OFFSET));
    auto cfg = info(0x22, 0x421, 0xC);
    EXPECT_EQ(2, attr(nodes(*cfg)[1], QRN_ATTR_OFFSET));
    EXPECT_EQ(2, attr(nodes(*cfg)[1], QRN_ATTR_SIZE));
}

// Choices are spread out by code up to code 255; a lone code 0 is an enum of one choice.
TEST_F(QuarnelNodes, EnumAndArrayBoundaries) {
    ASSERT_EQ(QRN_OK, loadText(kEdgeCatalog)) << log();
    auto c = container("Edges", 0x70, 0x001, 0xC);
    const auto enums = nodes(*c);
    ASSERT_EQ(3u, enums.size());
    EXPECT_EQ(0, QRNAsEnum(enums[0])->GetEnumMaximum());
    EXPECT_EQ("Only", texts(enums[0]));
    const auto byte = valueTexts(enums[1]);
    ASSERT_EQ(256u, byte.size());
    EXPECT_EQ((std::vector<std::string>{"0x00", "One", "0x02"}),
              std::vector<std::string>(byte.begin(), byte.begin() + 3));
    EXPECT_EQ("Top", byte[255]);
    EXPECT_EQ("One; Top", texts(enums[2]));

    EXPECT_EQ(1, attr(nodes(*container("Edges", 0x70, 0x002, 0xC))[1], QRN_ATTR_ARRAY_MAX_INDEX));
    auto selectors = container("Edges", 0x70, 0x003, 0xC);
    EXPECT_EQ(1, attr(findPath(nodes(*selectors), "Body.Once[1]"), QRN_ATTR_CASE_MAX_INDEX));
    auto voids = container("Edges", 0x70, 0x004, 0xC);
    EXPECT_EQ(0, attr(nodes(*voids)[1], QRN_ATTR_OFFSET)) << "void takes no room";
    EXPECT_EQ(1, attr(nodes(*voids)[2], QRN_ATTR_OFFSET));
}

// Containers and messages keep what they need: reloads and the manager's end do not touch them.
TEST_F(QuarnelNodes, HandedOutObjectsOutliveReloadAndManager) {
    auto c = info(0x31, 0x402, 0xC);
    auto m = message(0x31, 0x402, 0xC);
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    ASSERT_EQ(0, gQRNDestroyFCatManager(handle));
    handle = 0;
    EXPECT_EQ("Data[1].Title", findPath(nodes(*c), "Data[1].Title")->GetPath());
    int status = -1, index = -1;
    m->SetParameterTexts({"1", "4", "Last", "10"}, status, index);
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ("Last", texts(findPath(parameters(*m), "Data[1].Title")));
}
