// Change notifications of managers.

#include "QuarnelTestSupport.h"

#include <optional>

using namespace qtest;

namespace {
class CountingSink : public KQRNFCatChangedSink {
public:
    void OnFCatChanged() override {
        ++calls;
        if (onCall) onCall();
    }
    int calls = 0;
    std::function<void()> onCall;
};
} // namespace

using QuarnelSinks = ManagerTest;

// Loads, reloads and unloads are told; failed loads and the very same catalog from the cache not.
TEST_F(QuarnelSinks, RegisteredSinksHearChangesOnly) {
    CountingSink sink;
    EXPECT_FALSE(sink.Register(0xFFFFFF));
    ASSERT_TRUE(sink.Register(handle));
    std::string name;
    for (const char* file : {"standard.xml", "standard.xml", "missing.xml"})
        load(sample(file));
    EXPECT_EQ(2, sink.calls);
    mgr->SetOption(QRN_OPT_LOAD_CACHE);
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    EXPECT_EQ(3, sink.calls);
    ASSERT_EQ(QRN_OK, mgr->LoadFCat(sample("single.xml"), QRN_LOAD_UNLOAD, name, QRN_LOG_NONE, ""));
    EXPECT_EQ(4, sink.calls);
    EXPECT_EQ(handle, sink.GetRegisteredHandle());
    sink.Unregister();
    EXPECT_EQ(0u, sink.GetRegisteredHandle());
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    EXPECT_EQ(4, sink.calls);
}

TEST_F(QuarnelSinks, RegistrationMovesBetweenManagersAndEndsWithEither) {
    QRNHandle other = 0;
    ASSERT_EQ(0, gQRNCreateFCatManager(&other, "other"));
    CountingSink sink, first, second, third;
    ASSERT_TRUE(sink.Register(handle));
    ASSERT_TRUE(sink.Register(other));
    // Sinks may unregister others while being told.
    for (CountingSink* s : {&first, &second, &third})
        ASSERT_TRUE(s->Register(handle));
    first.onCall = [&] {
        second.Unregister();
        first.Unregister();
    };
    ASSERT_EQ(QRN_OK, load(sample("single.xml")));
    EXPECT_EQ((std::vector<int>{0, 1, 0, 1}),
              (std::vector<int>{sink.calls, first.calls, second.calls, third.calls}));
    std::string name;
    ASSERT_EQ(QRN_OK, gQRNFCatManager(other)->LoadFCat(sample("single.xml"), 1, name, 0, ""));
    EXPECT_EQ(1, sink.calls);
    ASSERT_EQ(0, gQRNDestroyFCatManager(other));
    EXPECT_EQ(0u, sink.GetRegisteredHandle());

    // A destroyed sink is no longer told: an unregistered sink built in its place hears nothing.
    std::optional<CountingSink> slot;
    slot.emplace();
    ASSERT_TRUE(slot->Register(handle));
    slot.emplace();
    ASSERT_EQ(QRN_OK, load(sample("rearseat.xml")));
    EXPECT_EQ(0, slot->calls);
}
