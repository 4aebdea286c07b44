// Loading catalogs, the lists in catalog order, reload, unload and what the log says of them.

#include "QuarnelTestSupport.h"

using namespace qtest;

using QuarnelLoading = ManagerTest;

using Names = std::vector<std::string>;

TEST_F(QuarnelLoading, ListsFollowCatalogOrderHideHiddenEntriesAndHonourInstances) {
    std::string name;
    ASSERT_EQ(QRN_OK, load(sample("standard.xml"), &name));
    EXPECT_EQ("Infotainment", name);

    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, "Infotainment");
    EXPECT_EQ("NetBlock, NetworkMaster, ConnectionMaster, AudioAmplifier, AudioDiskPlayer, AmFmTuner, "
              "Telephone, Navigation",
              join(names(fbs)));
    mgr->ListFBlocks(fbs, QRN_FLAG_WITH_HIDDEN, "Infotainment");
    ASSERT_EQ(9u, fbs.size());
    EXPECT_EQ("Debug", fbs.back().name);

    std::vector<IdName> fns;
    mgr->ListFunctions(fns, 0, "Infotainment", 0x22, QRN_ANY_INSTANCE);
    EXPECT_EQ((Names{"FktIDs", "Volume", "Mute", "Bass", "ToneSettings", "SpeakerState", "ChannelConfig"}),
              names(fns));
    mgr->ListFunctions(fns, QRN_FLAG_WITH_HIDDEN, "Infotainment", 0x22, QRN_ANY_INSTANCE);
    EXPECT_EQ("AmpDiagnosis", fns.back().name);

    std::vector<IdName> ops;
    mgr->ListOpTypes(ops, 1, "Infotainment", 0x22, QRN_ANY_INSTANCE, 0x400);
    EXPECT_EQ((Names{"Set", "Get", "Increment", "Decrement", "Status", "Error"}), names(ops));
    EXPECT_EQ(0xC, ops[4].id);
    mgr->ListOpTypes(ops, 0, "Infotainment", 0x31, QRN_ANY_INSTANCE, 0x110);
    EXPECT_EQ((Names{"Start", "StartResultAck", "Result", "ResultAck", "Error"}), names(ops));

    Names texts;
    mgr->ListFunctionNames(texts, 0, "Infotainment", "Telephone", QRN_ANY_INSTANCE);
    EXPECT_EQ((Names{"CallState", "Dial", "SignalStrength"}), texts);
    mgr->ListOpTypeNames(texts, 0, "Infotainment", "Telephone", QRN_ANY_INSTANCE, "Dial");
    EXPECT_EQ((Names{"StartResult", "StartAck", "ErrorAck", "Result", "Error"}), texts);
    // Names are matched as the catalog spells them.
    mgr->ListFunctionNames(texts, 0, "Infotainment", "telephone", QRN_ANY_INSTANCE);
    EXPECT_TRUE(texts.empty());
    mgr->ListOpTypeNames(texts, 0, "Infotainment", "Telephone", QRN_ANY_INSTANCE, "dial");
    EXPECT_TRUE(texts.empty());
    mgr->ListFBlocks(fbs, 0, "NoSuchCatalog");
    EXPECT_TRUE(fbs.empty());
    mgr->ListFunctionNames(texts, 0, "NoSuchCatalog", "Telephone", QRN_ANY_INSTANCE);
    EXPECT_TRUE(texts.empty());

    // AudioAmplifier lists instances 1 and 2 only; an FBlock without an instance list takes any.
    for (std::uint32_t instance : {QRN_ANY_INSTANCE, 0u, 0xFFu, 1u, 2u}) {
        mgr->ListFunctions(fns, 0, "Infotainment", 0x22, instance);
        EXPECT_FALSE(fns.empty()) << "instance " << instance;
    }
    mgr->ListFunctions(fns, 0, "Infotainment", 0x22, 3);
    EXPECT_TRUE(fns.empty());
    mgr->ListFunctions(fns, 0, "Infotainment", 0x31, 3);
    EXPECT_FALSE(fns.empty());
}

TEST_F(QuarnelLoading, ReloadKeepsOrderKeepNameRefusesAndUnloadRemoves) {
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    ASSERT_EQ(QRN_OK, load(sample("rearseat.xml")));
    ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    EXPECT_EQ("Infotainment, RearSeat", catalogs());

    // Another file with a catalog of the same name.
    const std::string copy = tmp.path("copy.xml").string();
    writeFile(copy, readFile(sample("standard.xml")));
    std::string name;
    EXPECT_EQ(QRN_ERR_NAME_TAKEN, mgr->LoadFCat(copy, QRN_LOAD_KEEP_NAME, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_TRUE(logged("already loaded"));
    EXPECT_EQ(QRN_OK, mgr->LoadFCat(copy, QRN_LOAD_REPLACE, name, QRN_LOG_NONE, ""));
    EXPECT_EQ("Infotainment, RearSeat", catalogs());

    const std::string rear = sample("rearseat.xml");
    EXPECT_EQ(QRN_OK, mgr->LoadFCat(rear, QRN_LOAD_UNLOAD, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_EQ("RearSeat", name);
    EXPECT_TRUE(logged("unloaded catalog \"RearSeat\""));
    EXPECT_EQ("Infotainment", catalogs());
    EXPECT_EQ(QRN_ERR_NOT_LOADED, mgr->LoadFCat(rear, QRN_LOAD_UNLOAD, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_TRUE(logged("error: no catalog of this file is loaded"));
    EXPECT_EQ(QRN_ERR_ARGUMENT, mgr->LoadFCat("", QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, logPath()));
    EXPECT_TRUE(logged("error: no file name or an unknown mode"));
    EXPECT_EQ(QRN_ERR_ARGUMENT, mgr->LoadFCat(rear, 7, name, QRN_LOG_NONE, ""));
}
