// Signal names: the two forms, index normalisation, the manager calls and what they decide, the
// keep-filter flag and the pre-selection that a selectable signal makes.
#include "CatalogFixture.h"
#include "support/FakeCatalogManager.h"
#include "selection/MXSSelection.h"
#include "selection/SignalNames.h"

namespace {

class SignalTest : public CatalogFixture {
protected:
    bool check(const std::string& signal, std::string* normalised = nullptr) {
        std::string out = "untouched";
        bool ok = CheckSignalName(manager, signal, &out, keepFilter);
        if (normalised) *normalised = out;
        return ok;
    }
    bool keepFilter = true;
};

// A manager whose name lookups all answer in one buffer, as a library may, and which records
// the messages it hands out.
class OneBufferManager : public FakeCatalogManager {
public:
    int messages = 0, deleted = 0;
    std::vector<std::string> calls;
    KQRNMessage* CreateMessage(int f, std::int32_t, std::uint32_t instance, std::int32_t, std::int32_t) const override;
    const std::string& LookupFBlockName(int f, std::int32_t fb) override {
        calls.push_back("fblock " + std::to_string(f) + " " + std::to_string(fb));
        return buffer_ = "Amp";
    }
    const std::string& LookupFunctionName(int, std::int32_t, std::uint32_t instance, std::int32_t, const std::string* c) override {
        calls.push_back("function " + std::to_string(instance) + (c ? " catalog" : " any"));
        return buffer_ = "Vol";
    }
    const std::string& LookupOpTypeName(int, std::int32_t, std::uint32_t, std::int32_t, std::int32_t, const std::string*) override {
        return buffer_ = "Status";
    }
    bool LookupParameterPath(std::string& result, int, const std::string& catalog, std::int32_t, std::uint32_t,
                             std::int32_t, std::int32_t, const std::string& text) const override {
        const_cast<OneBufferManager*>(this)->calls.push_back("path " + catalog + " " + text);
        result = text == "none" ? "" : "Data[1].Pos";
        return !result.empty();
    }

private:
    std::string buffer_;
};

class CountedMessage : public FakeMessage {
public:
    explicit CountedMessage(OneBufferManager* m) : m_(m) { catalog = "Cars"; }
    ~CountedMessage() override { ++m_->deleted; }

private:
    OneBufferManager* m_;
};

KQRNMessage* OneBufferManager::CreateMessage(int f, std::int32_t, std::uint32_t instance, std::int32_t, std::int32_t) const {
    auto* self = const_cast<OneBufferManager*>(this);
    self->calls.push_back("message " + std::to_string(f) + " " + std::to_string(instance));
    ++self->messages;
    return new CountedMessage(self);
}

} // namespace

TEST_F(SignalTest, SymbolicNamesNormaliseTheirIndicesAndNameTheCatalog) {
    std::string n;
    ASSERT_TRUE(check("AudioDiskPlayer.TrackList.Status.Data[7].Pos", &n));
    EXPECT_EQ(n, "Infotainment.AudioDiskPlayer.TrackList.Status.Data[1].Pos");
    EXPECT_TRUE(keepFilter);
    ASSERT_TRUE(check("AudioAmplifier.Volume.Set.Volume", &n));
    EXPECT_EQ(n, "Infotainment.AudioAmplifier.Volume.Set.Volume");
    EXPECT_FALSE(keepFilter); // another OpType than Status
    keepFilter = true;
    EXPECT_TRUE(check("AudioAmplifier.Volume.Error.ErrorCode"));
    EXPECT_FALSE(keepFilter);
    keepFilter = true;
    EXPECT_FALSE(check("AudioAmplifier.Volume.Set.NoSuchParameter", &n));
    EXPECT_FALSE(check("NoBlock.Volume.Set.Volume", &n));
    EXPECT_EQ(n, "untouched"); // a rejection writes nothing
    EXPECT_TRUE(keepFilter);
}

TEST_F(SignalTest, NumericNamesAreResolvedThroughTheLibrary) {
    std::string n;
    ASSERT_TRUE(check("22.400.C.Volume", &n));
    EXPECT_EQ(n, "Infotainment.AudioAmplifier.Volume.Status.Volume");
    EXPECT_TRUE(keepFilter);
    ASSERT_TRUE(check("0x31.0x402.0xC.Pos", &n));
    EXPECT_EQ(n, "Infotainment.AudioDiskPlayer.TrackList.Status.Pos");
    EXPECT_FALSE(keepFilter); // exactly "Pos"
    keepFilter = true;
    ASSERT_TRUE(check("31.402.C.Data[3].Pos", &n));
    EXPECT_TRUE(keepFilter); // a longer path ending in Pos does not count
    EXPECT_FALSE(check("zz.400.C.Volume"));
    EXPECT_FALSE(check("FB.400.C.Volume")); // FB reads as 0xFB, which no catalog has
    EXPECT_FALSE(check("22.999.C.Volume"));
    EXPECT_FALSE(check("22.400.C.NoSuchParameter"));
    // "Result" anywhere makes a text symbolic: its numbers are then looked up as names
    EXPECT_FALSE(check("22.400.C.Result"));
}

TEST_F(SignalTest, HiddenFBlocksAndFunctionsAreNotSelectableInEitherForm) {
    ASSERT_TRUE(check("AudioAmplifier.Volume.Status.Volume")); // its visible neighbour
    EXPECT_FALSE(check("AudioAmplifier.AmpDiagnosis.Status.Temperature"));
    EXPECT_FALSE(check("22.E00.C.Temperature"));
    EXPECT_FALSE(check("Debug.Trace.Status.Line"));
    EXPECT_FALSE(check("F0.1.C.Line"));
}

TEST_F(SignalTest, TextsWithFewerThanThreeDotsAreRejectedInEitherForm) {
    EXPECT_FALSE(check("A.B.C"));
    EXPECT_FALSE(check("AudioAmplifier.Volume.Status"));
    EXPECT_FALSE(check(""));
    EXPECT_FALSE(CheckSignalName(nullptr, "22.400.C.Volume", nullptr, keepFilter));
    EXPECT_TRUE(keepFilter);
}

TEST(SignalNames, IndicesBecomeOneAndAnUnclosedIndexStaysAsWritten) {
    EXPECT_EQ(NormaliseIndices("Data[3].Item[12].Pos"), "Data[1].Item[1].Pos");
    EXPECT_EQ(NormaliseIndices("Data[].Pos"), "Data[1].Pos");
    EXPECT_EQ(NormaliseIndices("Pos"), "Pos");
    EXPECT_EQ(NormaliseIndices(""), "");
    EXPECT_EQ(NormaliseIndices("A[2].B[7"), "A[1].B[7");
    EXPECT_EQ(NormaliseIndices("A]x[3]"), "A]x[1]");
    EXPECT_EQ(NormaliseIndices("A][2]"), "A][1]");
}

// A library that names a parameter whatever ids it is asked with, and finds every name but "Missing".
class AnyParameterManager : public FakeCatalogManager {
public:
    int LookupIds(int, const std::string&, const std::string& fblock, std::uint32_t, const std::string& function,
                  const std::string& opType, std::string& catalog, std::int32_t& fb, std::int32_t& fn, std::int32_t& op,
                  int) const override {
        catalog = "Cars";
        fb = fblock == "Missing" ? -1 : 0x22;
        fn = function == "Missing" ? -1 : 0x400;
        op = opType == "Missing" ? -1 : 0xC;
        return 0;
    }
    bool GetParameterName(std::string& name, int, const std::string&, std::int32_t, std::uint32_t, std::int32_t,
                          std::int32_t, const std::string&) const override {
        name = "Pos";
        return true;
    }
};

TEST(SignalNames, APartTheLibraryDoesNotFindRejectsASymbolicName) {
    AnyParameterManager m;
    bool keep = true;
    std::string n;
    ASSERT_TRUE(CheckSignalName(&m, "Amp.Vol.Status.Pos", &n, keep));
    EXPECT_EQ(n, "Cars.Amp.Vol.Status.Pos");
    for (const char* signal : {"Missing.Vol.Status.Pos", "Amp.Missing.Status.Pos", "Amp.Vol.Missing.Status"})
        EXPECT_FALSE(CheckSignalName(&m, signal, &n, keep)) << signal;
}

TEST(SignalNames, ManagerCallsUseAnyInstanceAndEveryMessageIsDeleted) {
    OneBufferManager m;
    bool keep = true;
    std::string n;
    ASSERT_TRUE(CheckSignalName(&m, "22.400.C.anything", &n, keep));
    // the three names survive the library answering every lookup in one buffer
    EXPECT_EQ(n, "Cars.Amp.Vol.Status.Data[1].Pos");
    EXPECT_EQ(m.messages, 1);
    EXPECT_EQ(m.deleted, 1);
    EXPECT_NE(std::find(m.calls.begin(), m.calls.end(), "fblock 0 34"), m.calls.end());
    EXPECT_NE(std::find(m.calls.begin(), m.calls.end(), "function 4294967295 any"), m.calls.end());
    EXPECT_NE(std::find(m.calls.begin(), m.calls.end(), "message 0 4294967295"), m.calls.end());
    EXPECT_NE(std::find(m.calls.begin(), m.calls.end(), "path Cars anything"), m.calls.end());
    EXPECT_FALSE(CheckSignalName(&m, "22.400.C.none", &n, keep));
    EXPECT_EQ(m.deleted, 2); // also on the rejecting path
    // ids the library does not write count as not found
    EXPECT_FALSE(CheckSignalName(&m, "Amp.Vol.Status.Pos", &n, keep));
    // a part that is no hexadecimal number names nothing, even to a library that finds every id
    for (const char* unreadable : {"zz.400.C.anything", "22.qq.C.anything", "22.400.x.anything"})
        EXPECT_FALSE(CheckSignalName(&m, unreadable, &n, keep)) << unreadable;
}

TEST_F(SignalTest, APreSelectionIsStoredOnlyForASelectableSignal) {
    KMXSSelection selection(handle);
    std::string signal = "AudioDiskPlayer.TrackList.Status.Data[4].Title";
    std::string value = "Track 4";
    ASSERT_TRUE(selection.SetPreSelectSignal(&signal, 0x12, 2, &value, false));
    EXPECT_EQ(selection.prePath, "Infotainment.AudioDiskPlayer.TrackList.Status.Data[1].Title");
    EXPECT_EQ(selection.preParameter, "Data[4].Title"); // as the caller wrote it
    EXPECT_EQ(selection.preValueText, "Track 4");
    EXPECT_EQ(selection.preInstance, 0x12u);
    EXPECT_EQ(selection.preChannel, 2u);
    EXPECT_TRUE(selection.LastDlgState().topRowPath.empty()); // applied only by the next opening
    std::string bad = "AudioDiskPlayer.TrackList.Status.Nothing";
    EXPECT_FALSE(selection.SetPreSelectSignal(&bad, 1, 1, nullptr, false));
    EXPECT_EQ(selection.preParameter, "Data[4].Title"); // the earlier one stays pending
    EXPECT_FALSE(selection.IsSignalSelectable(nullptr));
    std::string error = "AudioAmplifier.Volume.Error.ErrorCode";
    EXPECT_TRUE(selection.IsSignalSelectable(&error));
    EXPECT_FALSE(selection.keepFilter);
}
