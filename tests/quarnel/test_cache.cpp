// The process-wide cache of unchanged catalog files.

#include "QuarnelTestSupport.h"

#include <chrono>

using namespace qtest;

using QuarnelCache = ManagerTest;

TEST_F(QuarnelCache, UnchangedFilesComeFromTheCacheOfAnyManagerThatAsks) {
    const std::string file = tmp.path("cat.xml").string();
    writeFile(file, readFile(sample("single.xml")));
    ASSERT_EQ(QRN_OK, load(file));
    ASSERT_EQ(QRN_OK, load(file));
    EXPECT_FALSE(logged("from the cache")) << "without the option every load reads the file";
    EXPECT_EQ(0, mgr->SetOption(QRN_OPT_LOAD_CACHE));
    EXPECT_EQ(QRN_OPT_LOAD_CACHE, mgr->SetOption(QRN_OPT_LOAD_CACHE));
    ASSERT_EQ(QRN_OK, load(file));
    EXPECT_FALSE(logged("from the cache"));

    QRNHandle other = 0;
    ASSERT_EQ(0, gQRNCreateFCatManager(&other, "other"));
    KQRNFCatManager* second = gQRNFCatManager(other);
    second->SetOption(QRN_OPT_LOAD_CACHE);
    std::string name;
    auto fromCache = [&] {
        EXPECT_EQ(QRN_OK, second->LoadFCat(file, QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, logPath()));
        return logged("from the cache");
    };
    EXPECT_TRUE(fromCache());
    // A file of another size is read again, even with its old modification time; so is a file
    // of the same size with another time.
    const auto stamp = std::filesystem::last_write_time(file);
    std::string text = readFile(file);
    text.replace(text.find("FaultCount"), 10, "FaultTotal");
    writeFile(file, text + "<!-- changed -->\n");
    std::filesystem::last_write_time(file, stamp);
    EXPECT_FALSE(fromCache());
    std::vector<std::string> fns;
    second->ListFunctionNames(fns, 0, "Diagnosis", "Diagnosis", QRN_ANY_INSTANCE);
    EXPECT_EQ("FaultTotal", fns.at(0));
    EXPECT_TRUE(fromCache());
    writeFile(file, text + "<!-- CHANGED -->\n");
    std::filesystem::last_write_time(file, stamp + std::chrono::seconds(1));
    EXPECT_FALSE(fromCache());
    gQRNDestroyFCatManager(other);
}

// The cache holds 64 files. Beyond that it drops the one used longest ago among those no
// manager holds any more; a file a manager holds stays however old it is.
TEST_F(QuarnelCache, AFullCacheDropsTheLeastRecentlyUsedFileNoManagerHolds) {
    auto path = [&](const std::string& file) { return tmp.path(file + ".xml").string(); };
    std::vector<std::string> files; // c10 to c63, then c00 to c09: the oldest is not the first by name
    for (int i = 0; i < 64; ++i)
        files.push_back("c" + std::to_string((i + 10) % 64 / 10) + std::to_string((i + 10) % 64 % 10));
    // Each of the files of catalog C replaces the one before in mgr, which only the cache then holds.
    for (const std::string& f : files)
        writeFile(path(f), "<FunctionCatalog Name=\"C\"/>");
    writeFile(path("c64"), "<FunctionCatalog Name=\"C\"/>");
    writeFile(path("a-held"), "<FunctionCatalog Name=\"Held\"/>");

    QRNHandle holderHandle = 0, probeHandle = 0;
    ASSERT_EQ(0, gQRNCreateFCatManager(&holderHandle, "holder"));
    ASSERT_EQ(0, gQRNCreateFCatManager(&probeHandle, "probe"));
    KQRNFCatManager* holder = gQRNFCatManager(holderHandle);
    KQRNFCatManager* probe = gQRNFCatManager(probeHandle);
    for (KQRNFCatManager* m : {mgr, holder, probe})
        m->SetOption(QRN_OPT_LOAD_CACHE);
    std::string name;
    ASSERT_EQ(QRN_OK, holder->LoadFCat(path("a-held"), QRN_LOAD_REPLACE, name, QRN_LOG_NONE, ""));
    for (const std::string& f : files) // the 65th file drops c10
        ASSERT_EQ(QRN_OK, mgr->LoadFCat(path(f), QRN_LOAD_REPLACE, name, QRN_LOG_NONE, ""));
    for (const char* f : {"c11", "c12", "c64"}) // c11 used again, so c64 drops c13
        ASSERT_EQ(QRN_OK, mgr->LoadFCat(path(f), QRN_LOAD_REPLACE, name, QRN_LOG_NONE, ""));

    auto cached = [&](const std::string& f) {
        EXPECT_EQ(QRN_OK, probe->LoadFCat(path(f), QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, logPath()));
        return logged("from the cache");
    };
    for (const char* f : {"a-held", "c00", "c11", "c12", "c14", "c63", "c64"})
        EXPECT_TRUE(cached(f)) << f;
    EXPECT_FALSE(cached("c13"));
    EXPECT_FALSE(cached("c10"));
    gQRNDestroyFCatManager(holderHandle);
    gQRNDestroyFCatManager(probeHandle);
}
