// Manager handles, the default manager and interface versions.

#include "QuarnelTestSupport.h"

using namespace qtest;

// The default manager exists from the first call on and comes back anew after its destruction.
TEST(QuarnelRegistry, DefaultManagerVersionsAndHandles) {
    const QRNHandle h = gQRNFCatMngr();
    ASSERT_NE(0u, h);
    EXPECT_EQ(h, gQRNFCatMngr());
    EXPECT_EQ(0, gQRNDestroyFCatManager(h));
    const QRNHandle again = gQRNFCatMngr();
    EXPECT_NE(h, again);

    // Compatible: the same major version up to our minor one.
    EXPECT_EQ(1, gQRNIsCompatibleInterface(1, 52));
    EXPECT_EQ(1, gQRNIsCompatibleInterface(1, 0));
    EXPECT_EQ(0, gQRNIsCompatibleInterface(1, 53));
    EXPECT_EQ(0, gQRNIsCompatibleInterface(2, 52));
    EXPECT_EQ(0, gQRNIsCompatibleInterface(0, 52));

    int value = -1;
    EXPECT_NE(0, gQRTGetAttrInt(nullptr, QRN_ATTR_OFFSET, &value));
    EXPECT_EQ(-1, value);

    // Managers are independent, and destroyed handles find nothing.
    QRNHandle a = 0, b = 0, c = 0;
    ASSERT_EQ(0, gQRNCreateFCatManager(&a, "one"));
    ASSERT_EQ(0, gQRNCreateFCatManager(&b, "two"));
    KQRNFCatManager* ma = gQRNFCatManager(a);
    ASSERT_NE(nullptr, ma);
    ASSERT_NE(ma, gQRNFCatManager(b));

    std::string name;
    ASSERT_EQ(QRN_OK, ma->LoadFCat(sample("single.xml"), QRN_LOAD_REPLACE, name, QRN_LOG_NONE, ""));
    std::vector<std::string> cats;
    gQRNFCatManager(b)->ListCatalogs(cats, 0);
    EXPECT_TRUE(cats.empty());

    EXPECT_EQ(0, gQRNDestroyFCatManager(a));
    EXPECT_EQ(nullptr, gQRNFCatManager(a));
    EXPECT_EQ(1, gQRNDestroyFCatManager(a));
    EXPECT_EQ(nullptr, gQRNFCatManager(0));
    ASSERT_EQ(0, gQRNCreateFCatManager(&c, "three"));
    EXPECT_NE(a, c) << "a destroyed handle must not come back";
    EXPECT_EQ(1, gQRNCreateFCatManager(nullptr, "none"));
    gQRNDestroyFCatManager(b);
    gQRNDestroyFCatManager(c);
}
