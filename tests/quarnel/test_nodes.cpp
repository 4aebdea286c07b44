// Message containers and their catalog nodes: classes per type, paths, attributes, lifetimes.

#include "QuarnelTestSupport.h"

#include <functional>
#include <set>

using namespace qtest;

class QuarnelNodes : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    }
    std::unique_ptr<KQRNMessageContainer> container(std::int32_t fb, std::int32_t fn, std::int32_t op,
                                                    int loadNodes = 1) {
        return std::unique_ptr<KQRNMessageContainer>(
            mgr->GetMessageContainer(0, "Infotainment", fb, QRN_ANY_INSTANCE, fn, op, loadNodes));
    }
    static std::vector<KQRNNode*> nodes(const KQRNMessageContainer& c) {
        std::vector<KQRNNode*> v;
        c.GetNodes(v);
        return v;
    }
};

TEST_F(QuarnelNodes, ContainersDescribeFBlockFunctionAndOpTypeLevels) {
    auto fb = container(0x50, -1, -1);
    EXPECT_EQ("Telephone", fb->GetFBlockName());
    EXPECT_EQ("Infotainment", fb->GetCatalogName());
    EXPECT_EQ(0x50, fb->GetFBlockId());
    EXPECT_EQ(-1, fb->GetFunctionId());
    EXPECT_EQ("", fb->GetFunctionName());
    EXPECT_EQ(QRN_FUNCTION_UNKNOWN, fb->GetFunctionType());

    auto fn = container(0x50, 0x300, -1);
    EXPECT_EQ("Dial", fn->GetFunctionName());
    EXPECT_EQ(0x300, fn->GetFunctionId());
    EXPECT_EQ(QRN_FUNCTION_METHOD, fn->GetFunctionType());
    EXPECT_EQ(2, fn->GetFunctionClass());
    EXPECT_EQ(-1, fn->GetOpTypeId());
    EXPECT_EQ(0, fn->LoadNodes());
    EXPECT_EQ(5, container(0x52, 0x450, -1)->GetFunctionClass());
    EXPECT_EQ(16, container(0x01, 0x000, -1)->GetFunctionClass());
    EXPECT_EQ(1, container(0x31, 0x110, -1)->GetFunctionClass()) << "Trigger";
    EXPECT_EQ(QRN_FUNCTION_PROPERTY, container(0x22, 0x400, -1)->GetFunctionType());
    EXPECT_EQ("Main volume of the zone.", container(0x22, 0x400, -1)->GetFunctionDescription());

    auto lazy = container(0x31, 0x402, 0xC, 0);
    EXPECT_EQ("Status", lazy->GetOpTypeName());
    EXPECT_EQ(0xC, lazy->GetOpTypeId());
    EXPECT_TRUE(nodes(*lazy).empty()) << "nodes come with LoadNodes";
    EXPECT_EQ(2, lazy->LoadNodes());
    std::vector<KQRNNode*> first, again;
    lazy->GetNodes(first);
    EXPECT_EQ(2, lazy->LoadNodes());
    lazy->GetNodes(again);
    lazy->GetNodes(again);
    EXPECT_EQ(first, again) << "built once, listed once";

    auto missing = container(0x99, 0x1, 0x1);
    ASSERT_NE(nullptr, missing);
    EXPECT_EQ("", missing->GetCatalogName());
    EXPECT_EQ(-1, missing->GetFBlockId());
    EXPECT_EQ(0, missing->LoadNodes());
}

TEST_F(QuarnelNodes, EveryTypeCodeHasItsNodeClass) {
    std::set<int> seen;
    std::vector<IdName> fbs, fns, ops;
    std::function<void(const std::vector<KQRNNode*>&)> visit = [&](const std::vector<KQRNNode*>& list) {
        for (KQRNNode* n : list) {
            const int t = n->GetType();
            seen.insert(t);
            const bool value = t == 6 || t == 7 || t == 8 || t == 9 || t == 10 || t == 11 || t == 14;
            EXPECT_EQ(value, QRNAsData(n) != nullptr) << n->GetPath();
            EXPECT_EQ(t == 7 || t == 9, QRNAsTable(n) != nullptr);
            visit(children(n));
        }
    };
    mgr->ListFBlocks(fbs, 1, "Infotainment");
    for (const IdName& fb : fbs) {
        mgr->ListFunctions(fns, 1, "Infotainment", fb.id, QRN_ANY_INSTANCE);
        for (const IdName& fn : fns) {
            mgr->ListOpTypes(ops, 1, "Infotainment", fb.id, QRN_ANY_INSTANCE, fn.id);
            for (const IdName& op : ops) {
                std::unique_ptr<KQRNMessageContainer> c(
                    mgr->GetMessageContainer(1, "Infotainment", fb.id, QRN_ANY_INSTANCE, fn.id, op.id, 1));
                visit(nodes(*c));
            }
        }
    }
    EXPECT_EQ((std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}), seen);
}

TEST_F(QuarnelNodes, ValueClassesReportTheirRanges) {
    auto volume = container(0x22, 0x400, 0x0);
    KQRNNumberNode* n = QRNAsNumber(nodes(*volume)[0]);
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(0, n->GetNumberType());
    EXPECT_EQ(0.0, n->GetMinimum());
    EXPECT_EQ(64.0, n->GetMaximum());
    EXPECT_EQ(0, n->GetNumberInt());
    EXPECT_EQ(0, n->GetSizeCode());
    EXPECT_EQ("steps", n->GetExtraText());
    EXPECT_EQ("Volume step", n->GetDescription());
    EXPECT_EQ(7, attr(n, 2001));

    auto pos = container(0x52, 0x400, 0xC);
    KQRNNumberNode* lat = QRNAsNumber(findPath(nodes(*pos), "Position.Latitude"));
    ASSERT_NE(nullptr, lat);
    EXPECT_EQ(5, lat->GetNumberType());
    EXPECT_EQ(-90000000.0, lat->GetMinimum());
    EXPECT_EQ(-6, lat->GetNumberInt());
    EXPECT_EQ(2, lat->GetSizeCode());

    auto info = container(0x01, 0x011, 0xC);
    KQRNStringNode* text = QRNAsString(nodes(*info)[1]);
    EXPECT_EQ(40, text->GetStringMaxLength());
    EXPECT_EQ(0, text->GetRawMaxLength());
    EXPECT_EQ(-1, QRNAsString(nodes(*container(0x40, 0x430, 0xC))[0])->GetStringMaxLength());
    auto error = container(0x01, 0x000, 0xF);
    EXPECT_EQ(16, QRNAsData(nodes(*error)[1])->GetRawMaxLength());
    EXPECT_EQ(0, QRNAsData(nodes(*container(0x31, 0x110, 0xF))[1])->GetRawMaxLength());
    EXPECT_EQ(1, QRNAsData(nodes(*container(0x22, 0x421, 0xC))[0])->GetSizeCode());
    EXPECT_EQ(0, QRNAsData(nodes(*container(0x22, 0x401, 0x0))[0])->GetSizeCode());

    auto scaleContainer = container(0x52, 0x410, 0x0);
    KQRNEnumNode* scale = QRNAsEnum(nodes(*scaleContainer)[0]);
    ASSERT_NE(nullptr, scale);
    EXPECT_EQ(1, scale->GetEnumSizeCode());
    EXPECT_EQ(0x400, scale->GetEnumMaximum());
    std::vector<std::string> codes;
    scale->GetInfoTexts(codes, 51);
    EXPECT_EQ("0x0400: Country", codes[2]) << "four digits for a two-byte enum";
    auto ptyContainer = container(0x40, 0x410, 0x0);
    KQRNEnumNode* pty = QRNAsEnum(nodes(*ptyContainer)[0]);
    EXPECT_EQ(0, pty->GetEnumSizeCode());
    EXPECT_EQ(31, pty->GetEnumMaximum());
    std::vector<std::string> lines;
    pty->GetInfoTexts(lines, 51);
    ASSERT_EQ(32u, lines.size());
    EXPECT_EQ("0x02: Current Affairs", lines[2]);
    EXPECT_EQ(32u, valueTexts(pty).size()) << "container nodes list the choices";
}

TEST_F(QuarnelNodes, InfoTextsOfBoolFieldsAndEnums) {
    auto speakerContainer = container(0x22, 0x420, 0xC);
    KQRNTableNode* speakers = QRNAsTable(nodes(*speakerContainer)[0]);
    ASSERT_NE(nullptr, speakers);
    EXPECT_EQ(0, speakers->GetSizeCode());
    std::vector<std::string> lines;
    speakers->GetInfoTexts(lines, 3);
    EXPECT_EQ((std::vector<std::string>{"0: FrontLeft", "1: FrontRight", "2: RearLeft", "3: RearRight",
                                        "7: Subwoofer"}),
              lines);
    speakers->GetInfoTexts(lines, 51);
    EXPECT_EQ("0x00: FrontLeft - Front left speaker works", lines[0]);
    EXPECT_EQ("0x01: FrontRight", lines[1]);
    speakers->GetInfoTexts(lines, QRN_INFO_NAME);
    EXPECT_EQ("Subwoofer", lines[4]);
    auto infoContainer = container(0x01, 0x011, 0x1);
    KQRNTableNode* info = QRNAsTable(nodes(*infoContainer)[0]);
    info->GetInfoTexts(lines, 51);
    EXPECT_EQ("0x05: SerialNumber - Unique per device", lines[3]);
}

TEST_F(QuarnelNodes, PathsDisplayNamesKindsAndAbstractNodes) {
    auto tracks = container(0x31, 0x402, 0xC);
    const auto top = nodes(*tracks);
    ASSERT_EQ(2u, top.size());
    EXPECT_EQ(QRN_KIND_POSITION, top[0]->GetKind());
    EXPECT_FALSE(top[0]->IsAbstract());
    EXPECT_TRUE(top[1]->IsAbstract());
    EXPECT_EQ(99, attr(top[1], QRN_ATTR_ARRAY_MAX_INDEX));
    const auto element = children(top[1]);
    ASSERT_EQ(1u, element.size());
    std::vector<KQRNNode*> listed;
    top[1]->GetChildren(listed);
    top[1]->GetChildren(listed);
    EXPECT_EQ(element, listed);
    EXPECT_EQ("Data[1]", element[0]->GetPath());
    EXPECT_EQ("", element[0]->GetDisplayName())
        << "an unnamed element record shows its fields under the array";
    EXPECT_EQ("Data", element[0]->GetName());
    EXPECT_EQ(QRN_KIND_ELEMENT, element[0]->GetKind());
    KQRNNode* title = findPath(top, "Data[1].Title");
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(QRN_KIND_FIELD, title->GetKind());
    EXPECT_EQ("Title", title->GetLabel(true));
    EXPECT_TRUE(valueTexts(title).empty());

    auto route = container(0x52, 0x420, 0xC);
    KQRNNode* leg = findPath(nodes(*route), "Legs[1]");
    ASSERT_NE(nullptr, leg);
    EXPECT_EQ("Leg", leg->GetDisplayName());
    EXPECT_EQ(-1, attr(nodes(*route)[0], QRN_ATTR_ARRAY_MAX_INDEX)) << "no MaxIndex";

    auto call = container(0x50, 0x200, 0xC);
    const auto cases = children(nodes(*call)[1]);
    ASSERT_EQ(3u, cases.size());
    EXPECT_EQ("Details.Caller", cases[0]->GetPath());
    EXPECT_EQ(-1, attr(cases[0], QRN_ATTR_CASE_INDEXED));
    EXPECT_EQ("Details.Members[1]", cases[1]->GetPath());
    EXPECT_EQ(1, attr(cases[1], QRN_ATTR_CASE_INDEXED));
    EXPECT_EQ(6, attr(cases[1], QRN_ATTR_CASE_MAX_INDEX));
    EXPECT_EQ(QRN_KIND_CASE, cases[1]->GetKind());
    EXPECT_NE(nullptr, findPath(nodes(*call), "Details.Members[1].Held"));
    EXPECT_EQ("Number and name of the other party.", cases[0]->GetDescription());

    auto tone = container(0x22, 0x210, 0x2);
    EXPECT_EQ(QRN_KIND_RESERVED, nodes(*tone)[1]->GetKind());
    EXPECT_TRUE(nodes(*tone)[1]->IsAbstract());
}

// Choices are spread out by code up to code 255; a lone code 0 is an enum of one choice.
TEST_F(QuarnelNodes, EnumAndArrayBoundaries) {
    ASSERT_EQ(QRN_OK, loadText(kEdgeCatalog)) << readFile(logPath());
    std::unique_ptr<KQRNMessageContainer> c(
        mgr->GetMessageContainer(0, "Edges", 0x70, QRN_ANY_INSTANCE, 0x001, 0xC, 1));
    const auto enums = nodes(*c);
    ASSERT_EQ(3u, enums.size());
    EXPECT_EQ(0, QRNAsEnum(enums[0])->GetEnumMaximum());
    EXPECT_EQ((std::vector<std::string>{"Only"}), valueTexts(enums[0]));
    const auto byte = valueTexts(enums[1]);
    ASSERT_EQ(256u, byte.size());
    EXPECT_EQ((std::vector<std::string>{"0x00", "One", "0x02"}),
              std::vector<std::string>(byte.begin(), byte.begin() + 3));
    EXPECT_EQ("Top", byte[255]);
    EXPECT_EQ((std::vector<std::string>{"One", "Top"}), valueTexts(enums[2]));

    std::unique_ptr<KQRNMessageContainer> limits(
        mgr->GetMessageContainer(0, "Edges", 0x70, QRN_ANY_INSTANCE, 0x002, 0xC, 1));
    EXPECT_EQ(1, attr(nodes(*limits)[1], QRN_ATTR_ARRAY_MAX_INDEX));
    std::unique_ptr<KQRNMessageContainer> selectors(
        mgr->GetMessageContainer(0, "Edges", 0x70, QRN_ANY_INSTANCE, 0x003, 0xC, 1));
    EXPECT_EQ(1, attr(findPath(nodes(*selectors), "Body.Once[1]"), QRN_ATTR_CASE_MAX_INDEX));
    std::unique_ptr<KQRNMessageContainer> voids(
        mgr->GetMessageContainer(0, "Edges", 0x70, QRN_ANY_INSTANCE, 0x004, 0xC, 1));
    EXPECT_EQ(0, attr(nodes(*voids)[1], QRN_ATTR_OFFSET)) << "void takes no room";
    EXPECT_EQ(1, attr(nodes(*voids)[2], QRN_ATTR_OFFSET));
}

TEST_F(QuarnelNodes, FixedPositionsCarryOffsetAndSize) {
    auto cfg = container(0x22, 0x421, 0xC);
    EXPECT_EQ(0, attr(nodes(*cfg)[0], QRN_ATTR_OFFSET));
    EXPECT_EQ(2, attr(nodes(*cfg)[0], QRN_ATTR_SIZE));
    EXPECT_EQ(2, attr(nodes(*cfg)[1], QRN_ATTR_OFFSET));
    EXPECT_EQ(2, attr(nodes(*cfg)[1], QRN_ATTR_SIZE));

    auto tracks = container(0x31, 0x402, 0xC);
    const auto top = nodes(*tracks);
    EXPECT_EQ(1, attr(top[1], QRN_ATTR_OFFSET));
    EXPECT_EQ(-1, attr(top[1], QRN_ATTR_SIZE)) << "an array has no fixed size";
    EXPECT_EQ(1, attr(findPath(top, "Data[1].Pos"), QRN_ATTR_OFFSET));
    EXPECT_EQ(2, attr(findPath(top, "Data[1].Title"), QRN_ATTR_OFFSET));
    EXPECT_EQ(-1, attr(findPath(top, "Data[1].Title"), QRN_ATTR_SIZE));
    EXPECT_EQ(-1, attr(findPath(top, "Data[1].Length"), QRN_ATTR_OFFSET))
        << "after a string nothing is fixed";

    auto tone = container(0x22, 0x210, 0x2);
    EXPECT_EQ(3, attr(nodes(*tone)[0], QRN_ATTR_SIZE));
    EXPECT_EQ(2, attr(findPath(nodes(*tone), "Tone.Treble"), QRN_ATTR_OFFSET));
    EXPECT_EQ(3, attr(nodes(*tone)[1], QRN_ATTR_OFFSET));
}

TEST_F(QuarnelNodes, HandedOutObjectsOutliveReloadUnloadAndManager) {
    auto c = container(0x31, 0x402, 0xC);
    std::unique_ptr<KQRNMessage> m(mgr->CreateMessage(0, 0x31, QRN_ANY_INSTANCE, 0x402, 0xC));
    ASSERT_NE(nullptr, m);
    std::string name;
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    ASSERT_EQ(QRN_OK, mgr->LoadFCat(sample("standard.xml"), QRN_LOAD_UNLOAD, name, QRN_LOG_NONE, ""));
    ASSERT_EQ(0, gQRNDestroyFCatManager(handle));
    handle = 0;

    EXPECT_EQ("TrackList", c->GetFunctionName());
    EXPECT_EQ("Data[1].Title", findPath(nodes(*c), "Data[1].Title")->GetPath());
    int status = -1, index = -1;
    m->SetParameterTexts({"1", "4", "Last", "10"}, status, index);
    EXPECT_EQ(QRN_TEXT_OK, status);
    ASSERT_TRUE(m->Decode());
    EXPECT_EQ("Infotainment", m->GetCatalog());
    std::vector<KQRNNode*> ps;
    m->GetParameters(ps);
    EXPECT_EQ((std::vector<std::string>{"Last"}), valueTexts(findPath(ps, "Data[1].Title")));
}
