// Loading catalogs, the lists in catalog order, reload, unload and the log file.

#include "QuarnelTestSupport.h"

using namespace qtest;

using QuarnelLoading = ManagerTest;

namespace {
// A log with the time of each load ("after 12.5 ms") as "after T ms": the time varies from load
// to load, and with it the log's length.
std::string withoutTimes(std::string log) {
    for (std::size_t at = log.find(" after "); at != std::string::npos; at = log.find(" after ", at + 1)) {
        const std::size_t from = at + 7, to = log.find(" ms\n", from);
        if (to == std::string::npos) break;
        log.replace(from, to - from, "T");
    }
    return log;
}
} // namespace

TEST_F(QuarnelLoading, ListsFollowCatalogOrderAndHideHiddenEntries) {
    std::string name;
    ASSERT_EQ(QRN_OK, load(sample("standard.xml"), &name));
    EXPECT_EQ("Infotainment", name);

    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, "Infotainment");
    EXPECT_EQ((std::vector<std::string>{"NetBlock", "NetworkMaster", "ConnectionMaster", "AudioAmplifier",
                                        "AudioDiskPlayer", "AmFmTuner", "Telephone", "Navigation"}),
              names(fbs));
    EXPECT_EQ((std::vector<std::int32_t>{0x01, 0x02, 0x03, 0x22, 0x31, 0x40, 0x50, 0x52}), ids(fbs));
    mgr->ListFBlocks(fbs, QRN_FLAG_WITH_HIDDEN, "Infotainment");
    ASSERT_EQ(9u, fbs.size());
    EXPECT_EQ("Debug", fbs.back().name);

    std::vector<IdName> fns;
    mgr->ListFunctions(fns, 0, "Infotainment", 0x22, QRN_ANY_INSTANCE);
    EXPECT_EQ((std::vector<std::string>{"FktIDs", "Volume", "Mute", "Bass", "ToneSettings", "SpeakerState",
                                        "ChannelConfig"}),
              names(fns));
    mgr->ListFunctions(fns, QRN_FLAG_WITH_HIDDEN, "Infotainment", 0x22, QRN_ANY_INSTANCE);
    EXPECT_EQ("AmpDiagnosis", fns.back().name);
    EXPECT_EQ(0xE00, fns.back().id);

    std::vector<IdName> ops;
    mgr->ListOpTypes(ops, 1, "Infotainment", 0x22, QRN_ANY_INSTANCE, 0x400);
    EXPECT_EQ((std::vector<std::string>{"Set", "Get", "Increment", "Decrement", "Status", "Error"}),
              names(ops));
    EXPECT_EQ((std::vector<std::int32_t>{0x0, 0x1, 0x3, 0x4, 0xC, 0xF}), ids(ops));
    mgr->ListOpTypes(ops, 1, "Infotainment", 0x31, QRN_ANY_INSTANCE, 0x110);
    EXPECT_EQ((std::vector<std::string>{"Start", "StartResultAck", "Result", "ResultAck", "Error"}),
              names(ops));

    std::vector<std::string> texts;
    mgr->ListFunctionNames(texts, 0, "Infotainment", "Telephone", QRN_ANY_INSTANCE);
    EXPECT_EQ((std::vector<std::string>{"CallState", "Dial", "SignalStrength"}), texts);
    mgr->ListOpTypeNames(texts, 0, "Infotainment", "Telephone", QRN_ANY_INSTANCE, "Dial");
    EXPECT_EQ((std::vector<std::string>{"StartResult", "StartAck", "ErrorAck", "Result", "Error"}), texts);
    // Names are matched as the catalog spells them.
    mgr->ListFunctionNames(texts, 0, "Infotainment", "telephone", QRN_ANY_INSTANCE);
    EXPECT_TRUE(texts.empty());
    mgr->ListOpTypeNames(texts, 0, "Infotainment", "telephone", QRN_ANY_INSTANCE, "Dial");
    EXPECT_TRUE(texts.empty());
    mgr->ListOpTypeNames(texts, 0, "Infotainment", "Telephone", QRN_ANY_INSTANCE, "dial");
    EXPECT_TRUE(texts.empty());
    mgr->ListFBlocks(fbs, 0, "NoSuchCatalog");
    EXPECT_TRUE(fbs.empty());
    mgr->ListFunctionNames(texts, 0, "NoSuchCatalog", "Telephone", QRN_ANY_INSTANCE);
    EXPECT_TRUE(texts.empty());
}

TEST_F(QuarnelLoading, InstancesRestrictTheFBlocksFound) {
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    std::vector<IdName> fns;
    for (std::uint32_t any : {QRN_ANY_INSTANCE, 0u, 0xFFu, 1u, 2u}) {
        mgr->ListFunctions(fns, 0, "Infotainment", 0x22, any);
        EXPECT_FALSE(fns.empty()) << "instance " << any;
    }
    mgr->ListFunctions(fns, 0, "Infotainment", 0x22, 3);
    EXPECT_TRUE(fns.empty()) << "AudioAmplifier lists instances 1 and 2 only";
    mgr->ListFunctions(fns, 0, "Infotainment", 0x31, 3);
    EXPECT_FALSE(fns.empty()) << "an FBlock without an instance list takes any";
}

TEST_F(QuarnelLoading, ReloadKeepsOrderKeepNameRefusesAndUnloadRemoves) {
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    ASSERT_EQ(QRN_OK, load(sample("rearseat.xml")));
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    std::vector<std::string> cats;
    mgr->ListCatalogs(cats, 0);
    EXPECT_EQ((std::vector<std::string>{"Infotainment", "RearSeat"}), cats);

    // Another file with a catalog of the same name.
    const auto copy = tmp.path("copy.xml");
    writeFile(copy, readFile(sample("standard.xml")));
    std::string name;
    EXPECT_EQ(QRN_ERR_NAME_TAKEN,
              mgr->LoadFCat(copy.string(), QRN_LOAD_KEEP_NAME, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("already loaded"));
    EXPECT_EQ(QRN_OK, mgr->LoadFCat(copy.string(), QRN_LOAD_REPLACE, name, QRN_LOG_NONE, ""));
    mgr->ListCatalogs(cats, 0);
    EXPECT_EQ((std::vector<std::string>{"Infotainment", "RearSeat"}), cats);

    EXPECT_EQ(QRN_OK,
              mgr->LoadFCat(sample("rearseat.xml"), QRN_LOAD_UNLOAD, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_EQ("RearSeat", name);
    EXPECT_NE(std::string::npos, readFile(logPath()).find("unloaded catalog \"RearSeat\""));
    mgr->ListCatalogs(cats, 0);
    EXPECT_EQ((std::vector<std::string>{"Infotainment"}), cats);
    EXPECT_EQ(QRN_ERR_NOT_LOADED,
              mgr->LoadFCat(sample("rearseat.xml"), QRN_LOAD_UNLOAD, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("error: no catalog of this file is loaded"));
    EXPECT_EQ(QRN_ERR_ARGUMENT, mgr->LoadFCat("", QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("error: no file name or an unknown mode"));
    EXPECT_EQ(QRN_ERR_ARGUMENT, mgr->LoadFCat(sample("single.xml"), 7, name, QRN_LOG_NONE, ""));
}

TEST_F(QuarnelLoading, LogFileTellsTheResultAndAppendModeKeepsEarlierText) {
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    const std::string first = readFile(logPath());
    EXPECT_NE(std::string::npos, first.find("loaded catalog \"Diagnosis\": 1 FBlocks, 2 functions"));
    EXPECT_NE(std::string::npos, first.find("client tests"));
    std::string name;
    ASSERT_EQ(QRN_OK, mgr->LoadFCat(sample("single.xml"), QRN_LOAD_REPLACE, name, QRN_LOG_APPEND, logPath()));
    const std::string both = readFile(logPath());
    EXPECT_EQ(0u, both.find(first));
    EXPECT_GT(both.size(), first.size());
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    EXPECT_EQ(withoutTimes(first), withoutTimes(readFile(logPath()))) << "rewrite mode starts the log anew";
}

TEST_F(QuarnelLoading, DescriptionsKeepTabsAndEscapedLineEnds) {
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    EXPECT_EQ(
        "Standard infotainment FBlocks of the sample car.\r\n\tRelease 2.4, for tests and demonstrations.",
        mgr->GetFCatDescription("Infotainment"));
    EXPECT_EQ("", mgr->GetFCatDescription("RearSeat"));
    std::unique_ptr<KQRNMessageContainer> c(
        mgr->GetMessageContainer(0, "Infotainment", 0x22, QRN_ANY_INSTANCE, -1, -1, 0));
    EXPECT_EQ("Amplifier of the front zone.\tVolume,\ttone and\tspeakers.\r\nSecond line of the description.",
              c->GetFBlockDescription());
    EXPECT_EQ("Amplifier", c->GetDeviceName());
    EXPECT_EQ("External amplifier\r\nin the boot", c->GetDeviceDescription());
}

TEST_F(QuarnelLoading, TheFormatDocumentExampleLoadsAndEncodesAsDescribed) {
    const std::string doc = readFile(std::string(QUARNEL_SAMPLES) + "/../FORMAT.md");
    const std::size_t start = doc.find("```xml\n");
    ASSERT_NE(std::string::npos, start);
    const std::size_t end = doc.find("```", start + 7);
    const auto file = tmp.path("example.xml");
    writeFile(file, doc.substr(start + 7, end - start - 7));
    std::string name;
    ASSERT_EQ(QRN_OK, load(file.string(), &name)) << readFile(logPath());
    EXPECT_EQ("Example", name);
    std::unique_ptr<KQRNMessage> m(mgr->CreateMessage(0, 0x22, 1, 0x402, 0xC));
    ASSERT_NE(nullptr, m);
    int status = -1, index = -1;
    m->SetParameterTexts({"0", "Intro", "Normal", "Song", "Bonus"}, status, index);
    EXPECT_EQ(QRN_TEXT_OK, status);
    std::vector<std::uint8_t> data;
    m->GetData(data);
    EXPECT_EQ("00 00 49 6E 74 72 6F 00 00 00 53 6F 6E 67 00 01", hex(data));
}
