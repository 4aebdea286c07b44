// Name and id lookups across catalogs, messages found by address, parameter paths.

#include "QuarnelTestSupport.h"

#include <sstream>

using namespace qtest;

class QuarnelLookup : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
        ASSERT_EQ(QRN_OK, load(sample("rearseat.xml")));
        ASSERT_EQ(QRN_OK, loadText(kEdgeCatalog)) << log();
    }
    std::string parameterName(std::int32_t fb, std::int32_t fn, std::int32_t op, const std::string& path) {
        std::string r = "stale";
        const bool ok = mgr->GetParameterName(r, 0, "Infotainment", fb, QRN_ANY_INSTANCE, fn, op, path);
        EXPECT_EQ(ok, !r.empty());
        return r;
    }
    std::string parameterPath(std::int32_t fb, std::int32_t fn, std::int32_t op, const std::string& text) {
        std::string r = "stale";
        mgr->LookupParameterPath(r, 0, "Infotainment", fb, QRN_ANY_INSTANCE, fn, op, text);
        return r;
    }
};

TEST_F(QuarnelLookup, NamesByIdsComeFromTheFirstCatalogAndStayValid) {
    const std::string& fb = mgr->LookupFBlockName(0, 0x22);
    const std::string& fn = mgr->LookupFunctionName(0, 0x22, QRN_ANY_INSTANCE, 0x400, nullptr);
    const std::string& op = mgr->LookupOpTypeName(0, 0x22, QRN_ANY_INSTANCE, 0x400, 0xC, nullptr);
    // Other manager calls in between must not disturb the references.
    std::unique_ptr<KQRNMessage> m(mgr->CreateMessage(0, 0x22, QRN_ANY_INSTANCE, 0x400, 0xC));
    std::string path;
    mgr->LookupParameterPath(path, 0, "Infotainment", 0x22, QRN_ANY_INSTANCE, 0x400, 0xC, "1");
    EXPECT_EQ("AudioAmplifier", fb);
    EXPECT_EQ("Volume", fn);
    EXPECT_EQ("Status", op);

    EXPECT_EQ("AudioAmplifier", mgr->LookupFBlockName(0, 0x23)) << "only the rear-seat catalog has 0x23";
    EXPECT_EQ("", mgr->LookupFBlockName(0, 0xF0)) << "hidden";
    EXPECT_EQ("Debug", mgr->LookupFBlockName(QRN_FLAG_WITH_HIDDEN, 0xF0));
    const std::string rear = "RearSeat";
    EXPECT_EQ("", mgr->LookupFunctionName(0, 0x22, QRN_ANY_INSTANCE, 0x400, &rear));
    EXPECT_EQ("HeadphoneMode", mgr->LookupFunctionName(0, 0x23, QRN_ANY_INSTANCE, 0x430, &rear));
    EXPECT_EQ("", mgr->LookupFunctionName(0, 0x22, QRN_ANY_INSTANCE, 0x200, nullptr)) << "0x31 has it";
    EXPECT_EQ("", mgr->LookupOpTypeName(0, 0x22, QRN_ANY_INSTANCE, 0x202, 0x2, nullptr)) << "0x210 has it";
    EXPECT_EQ("Report", mgr->LookupOpTypeName(0, 0x52, QRN_ANY_INSTANCE, 0x450, 0xC, nullptr));
    EXPECT_EQ("", mgr->LookupOpTypeName(0, 0x52, QRN_ANY_INSTANCE, 0x450, 0x0, nullptr));

    // Messages by address; asked of one catalog, only that catalog answers.
    EXPECT_EQ("RearSeat", message(0x23, 0x430, 0xC)->GetCatalog());
    EXPECT_EQ(nullptr, mgr->CreateMessage(0, 0x22, QRN_ANY_INSTANCE, 0xE00, 0xC)) << "hidden function";
    EXPECT_EQ(nullptr, mgr->CreateMessage(0, 0x22, 5, 0x400, 0xC)) << "no instance 5";
    std::unique_ptr<KQRNMessage> one(mgr->CreateCatalogMessage(0, rear, 0x23, QRN_ANY_INSTANCE, 0x430, 0xC));
    EXPECT_EQ("RearSeat", one->GetCatalog());
    EXPECT_EQ(nullptr, mgr->CreateCatalogMessage(0, "Infotainment", 0x23, QRN_ANY_INSTANCE, 0x430, 0xC));
}

TEST_F(QuarnelLookup, LookupIdsPrefersTheCatalogWhereAllNamesResolve) {
    const struct {
        const char *catalog, *fb, *fn, *op;
        int ignoreCase;
        const char* expect; // names found, the catalog, the ids in hexadecimal
    } cases[] = {
        {"", "AudioAmplifier", "Volume", "Status", 0, "3 Infotainment 22 400 c"},
        {"", "AudioAmplifier", "HeadphoneMode", "Status", 0, "3 RearSeat 23 430 c"},
        {"RearSeat", "AudioAmplifier", "Volume", "Set", 0, "3 RearSeat 23 400 0"},
        {"", "AudioAmplifier", "Treble", "Status", 0, "1 Infotainment 22 -1 -1"},
        {"", "audioamplifier", "Volume", "Status", 0, "0  -1 -1 -1"},
        {"", "audioamplifier", "volume", "STATUS", 1, "3 Infotainment 22 400 c"},
        // Ignoring case, every letter still counts.
        {"", "AUDIOAMPLIFIER", "volumes", "Status", 1, "1 Infotainment 22 -1 -1"},
        {"", "AUDIOAMPLIFIER", "VOLUME", "xtatus", 1, "2 Infotainment 22 400 -1"},
    };
    for (const auto& c : cases) {
        std::string cat = "x";
        std::int32_t ids[3] = {0, 0, 0};
        std::ostringstream got;
        got << mgr->LookupIds(0, c.catalog, c.fb, QRN_ANY_INSTANCE, c.fn, c.op, cat, ids[0], ids[1], ids[2],
                              c.ignoreCase)
            << " " << cat << std::hex;
        for (std::int32_t id : ids)
            (id < 0 ? got << " -1" : got << " " << id);
        EXPECT_EQ(c.expect, got.str());
    }
}

TEST_F(QuarnelLookup, ParameterNamesFollowStrictPaths) {
    EXPECT_EQ("Pos", parameterName(0x31, 0x402, 0xC, "Pos"));
    EXPECT_EQ("Data", parameterName(0x31, 0x402, 0xC, "Data"));
    EXPECT_EQ("Data", parameterName(0x31, 0x402, 0xC, "Data[1]"));
    EXPECT_EQ("Title", parameterName(0x31, 0x402, 0xC, "Data[99].Title"));
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, "Data[100].Title")) << "MaxIndex 99";
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, "Data[0].Title"));
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, "Data.Title"));
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, "Data[1].Title."));
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, "Data[1.Title"));
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, "Data[].Title"));
    EXPECT_EQ("", parameterName(0x50, 0x200, 0xC, "Details.Members[2]x"));
    EXPECT_EQ("", parameterName(0x50, 0x200, 0xC, "Details.Members[2"));
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, "Pos[1]"));
    EXPECT_EQ("", parameterName(0x31, 0x402, 0xC, ""));
    EXPECT_EQ("Leg", parameterName(0x52, 0x420, 0xC, "Legs[7]")) << "a named element";
    EXPECT_EQ("Held", parameterName(0x50, 0x200, 0xC, "Details.Members[2].Held"));
    EXPECT_EQ("Number", parameterName(0x50, 0x200, 0xC, "Details.Caller.Number"));
    EXPECT_EQ("", parameterName(0x50, 0x200, 0xC, "Details.Members[7].Held")) << "MaxIndex 6";
    EXPECT_EQ("", parameterName(0x31, 0x402, 0x7, "Pos")) << "no such OpType";
    std::string name;
    EXPECT_TRUE(mgr->GetParameterName(name, 0, "Edges", 0x70, QRN_ANY_INSTANCE, 0x002, 0xC, "One[1]"));
    EXPECT_FALSE(mgr->GetParameterName(name, 0, "Edges", 0x70, QRN_ANY_INSTANCE, 0x002, 0xC, "One[2]"));
}

TEST_F(QuarnelLookup, ParameterTextsResolveLeniently) {
    EXPECT_EQ("Volume", parameterPath(0x22, 0x400, 0xC, "Volume"));
    EXPECT_EQ("Data[1].Title", parameterPath(0x31, 0x402, 0xC, "Data.Title"));
    EXPECT_EQ("Data[4].Title", parameterPath(0x31, 0x402, 0xC, "Data[4].Title"));
    EXPECT_EQ("Data[1].Title", parameterPath(0x31, 0x402, 0xC, "Data[n].Title"));
    EXPECT_EQ("Data[1].Title", parameterPath(0x31, 0x402, 0xC, "Data[].Title"));
    EXPECT_EQ("Data", parameterPath(0x31, 0x402, 0xC, "Data")) << "the array, not its element";
    EXPECT_EQ("Data[1].Length", parameterPath(0x31, 0x402, 0xC, "2.3"));
    EXPECT_EQ("Volume", parameterPath(0x22, 0x400, 0xC, "1"));
    EXPECT_EQ("", parameterPath(0x22, 0x400, 0xC, "2"));
    EXPECT_EQ("", parameterPath(0x22, 0x400, 0xC, "Loudness"));
    EXPECT_EQ("Details.Members[1].Line", parameterPath(0x50, 0x200, 0xC, "Details.Members.Line"));
}
