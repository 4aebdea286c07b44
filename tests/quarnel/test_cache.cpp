// The process-wide cache of unchanged catalog files.

#include "QuarnelTestSupport.h"

using namespace qtest;

using QuarnelCache = ManagerTest;

TEST_F(QuarnelCache, UnchangedFilesComeFromTheCacheOfAnyManager) {
    const auto file = tmp.path("cat.xml");
    writeFile(file, readFile(sample("single.xml")));
    EXPECT_EQ(0, mgr->SetOption(QRN_OPT_LOAD_CACHE));
    EXPECT_EQ(QRN_OPT_LOAD_CACHE, mgr->SetOption(QRN_OPT_LOAD_CACHE));
    ASSERT_EQ(QRN_OK, load(file.string()));
    EXPECT_EQ(std::string::npos, readFile(logPath()).find("from the cache"));

    QRNHandle other = 0;
    ASSERT_EQ(0, gQRNCreateFCatManager(&other, "other"));
    KQRNFCatManager* second = gQRNFCatManager(other);
    second->SetOption(QRN_OPT_LOAD_CACHE);
    std::string name;
    const std::string otherLog = tmp.path("other.log").string();
    ASSERT_EQ(QRN_OK, second->LoadFCat(file.string(), QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, otherLog));
    EXPECT_NE(std::string::npos, readFile(otherLog).find("from the cache"));

    // A changed file (another size) is read again.
    std::string text = readFile(file);
    text.replace(text.find("FaultCount"), 10, "FaultTotal");
    text += "<!-- changed -->\n";
    writeFile(file, text);
    ASSERT_EQ(QRN_OK, second->LoadFCat(file.string(), QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, otherLog));
    EXPECT_EQ(std::string::npos, readFile(otherLog).find("from the cache"));
    std::vector<std::string> fns;
    second->ListFunctionNames(fns, 0, "Diagnosis", "Diagnosis", QRN_ANY_INSTANCE);
    EXPECT_EQ("FaultTotal", fns.at(0));
    gQRNDestroyFCatManager(other);
}

TEST_F(QuarnelCache, WithoutTheOptionEveryLoadReadsTheFile) {
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    EXPECT_EQ(std::string::npos, readFile(logPath()).find("from the cache"));
}
