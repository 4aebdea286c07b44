// Signal names: the two forms, index normalisation, the manager calls and what they decide, and
// the keep-filter flag.
#include "CatalogFixture.h"
#include "support/FakeCatalogManager.h"
#include "selection/SignalNames.h"

namespace {

// A library that finds every id and name but "Missing", answers its name lookups in one buffer
// (as a library may), and records its calls and the messages it hands out.
class OneBufferManager : public FakeCatalogManager {
public:
    int LookupIds(int, const std::string&, const std::string& fblock, std::uint32_t,
                  const std::string& function, const std::string& opType, std::string& catalog,
                  std::int32_t& fb, std::int32_t& fn, std::int32_t& op, int) const override {
        catalog = "Cars";
        fb = fblock == "Missing" ? -1 : 0x22;
        fn = function == "Missing" ? -1 : 0x400;
        op = opType == "Missing" ? -1 : 0xC;
        return 0;
    }
    bool GetParameterName(std::string& name, int, const std::string&, std::int32_t, std::uint32_t,
                          std::int32_t, std::int32_t, const std::string&) const override {
        name = "Pos";
        return true;
    }
    int messages = 0, deleted = 0;
    std::vector<std::string> calls;
    KQRNMessage* CreateMessage(int f, std::int32_t, std::uint32_t instance, std::int32_t,
                               std::int32_t) const override;
    const std::string& LookupFBlockName(int f, std::int32_t fb) override {
        calls.push_back("fblock " + std::to_string(f) + " " + std::to_string(fb));
        return buffer_ = "Amp";
    }
    const std::string& LookupFunctionName(int, std::int32_t, std::uint32_t instance, std::int32_t,
                                          const std::string* c) override {
        calls.push_back("function " + std::to_string(instance) + (c ? " catalog" : " any"));
        return buffer_ = "Vol";
    }
    const std::string& LookupOpTypeName(int, std::int32_t, std::uint32_t, std::int32_t, std::int32_t,
                                        const std::string*) override {
        return buffer_ = "Status";
    }
    bool LookupParameterPath(std::string& result, int, const std::string& catalog, std::int32_t,
                             std::uint32_t, std::int32_t, std::int32_t,
                             const std::string& text) const override {
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

KQRNMessage* OneBufferManager::CreateMessage(int f, std::int32_t, std::uint32_t instance, std::int32_t,
                                             std::int32_t) const {
    auto* self = const_cast<OneBufferManager*>(this);
    self->calls.push_back("message " + std::to_string(f) + " " + std::to_string(instance));
    ++self->messages;
    return new CountedMessage(self);
}

// What a check makes of a signal: the normalised name, "rejected" (and nothing written), and
// " drop-filter" when it clears the keep-filter flag.
std::string checked(KQRNFCatManager* m, const std::string& signal) {
    std::string out = "untouched";
    bool keep = true;
    const bool ok = CheckSignalName(m, signal, &out, keep);
    return (ok                   ? out
            : out == "untouched" ? "rejected"
                                 : "rejected, wrote " + out) +
           (keep ? "" : " drop-filter");
}

} // namespace

using SignalTest = CatalogFixture;

TEST_F(SignalTest, SymbolicAndNumericNamesAreNormalisedAndNameTheCatalog) {
    const std::pair<const char*, const char*> cases[] = {
        {"AudioDiskPlayer.TrackList.Status.Data[7].Pos",
         "Infotainment.AudioDiskPlayer.TrackList.Status.Data[1].Pos"},
        // another OpType than Status, or exactly "Pos", clears the flag
        {"AudioAmplifier.Volume.Set.Volume", "Infotainment.AudioAmplifier.Volume.Set.Volume drop-filter"},
        {"AudioAmplifier.Volume.Error.ErrorCode",
         "Infotainment.AudioAmplifier.Volume.Error.ErrorCode drop-filter"},
        {"AudioAmplifier.Volume.Set.NoSuchParameter", "rejected"},
        {"NoBlock.Volume.Set.Volume", "rejected"},
        // numeric parts are read as hexadecimal ids and looked up
        {"22.400.C.Volume", "Infotainment.AudioAmplifier.Volume.Status.Volume"},
        {"0x31.0x402.0xC.Pos", "Infotainment.AudioDiskPlayer.TrackList.Status.Pos drop-filter"},
        {"zz.400.C.Volume", "rejected"},
        {"FB.400.C.Volume", "rejected"}, // 0xFB, which no catalog has
        {"22.999.C.Volume", "rejected"},
        {"22.400.C.NoSuchParameter", "rejected"},
        // "Result" anywhere makes a text symbolic: its numbers are then looked up as names
        {"22.400.C.Result", "rejected"},
        // hidden FBlocks and functions are not selectable in either form
        {"AudioAmplifier.AmpDiagnosis.Status.Temperature", "rejected"},
        {"22.E00.C.Temperature", "rejected"},
        {"Debug.Trace.Status.Line", "rejected"},
        {"F0.1.C.Line", "rejected"},
        // fewer than three dots
        {"A.B.C", "rejected"},
        {"AudioAmplifier.Volume.Status", "rejected"},
        {"", "rejected"}};
    for (const auto& [signal, result] : cases)
        EXPECT_EQ(checked(manager, signal), result) << signal;
    EXPECT_EQ(checked(nullptr, "22.400.C.Volume"), "rejected");
    bool keep = true;
    EXPECT_FALSE(CheckSignalName(manager, "22.400.C.Volume", nullptr, keep));
    // a longer path ending in Pos keeps the filter
    std::string name;
    EXPECT_TRUE(CheckSignalName(manager, "31.402.C.Data[3].Pos", &name, keep));
    EXPECT_TRUE(keep);
}

TEST(SignalNames, IndicesBecomeOneAndAnUnclosedIndexStaysAsWritten) {
    const std::pair<const char*, const char*> cases[] = {{"Data[3].Item[12].Pos", "Data[1].Item[1].Pos"},
                                                         {"Data[].Pos", "Data[1].Pos"},
                                                         {"Pos", "Pos"},
                                                         {"", ""},
                                                         {"A[2].B[7", "A[1].B[7"},
                                                         {"A]x[3]", "A]x[1]"},
                                                         {"A][2]", "A][1]"}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(NormaliseIndices(in), out) << in;
}

TEST(SignalNames, APartTheLibraryDoesNotFindRejectsASymbolicName) {
    OneBufferManager m;
    EXPECT_EQ(checked(&m, "Amp.Vol.Status.Pos"), "Cars.Amp.Vol.Status.Pos drop-filter");
    // a part it does not find rejects the name; so does a missing dot, though every name is found
    for (const char* signal :
         {"Missing.Vol.Status.Pos", "Amp.Missing.Status.Pos", "Amp.Vol.Missing.Status", "Amp.Vol.Status"})
        EXPECT_EQ(checked(&m, signal), "rejected") << signal;
}

TEST(SignalNames, ManagerCallsUseAnyInstanceAndEveryMessageIsDeleted) {
    OneBufferManager m;
    // the three names survive the library answering every lookup in one buffer
    EXPECT_EQ(checked(&m, "22.400.C.anything"), "Cars.Amp.Vol.Status.Data[1].Pos");
    EXPECT_EQ(m.messages, 1);
    EXPECT_EQ(m.deleted, 1);
    EXPECT_EQ(m.calls, (std::vector<std::string>{"fblock 0 34", "function 4294967295 any",
                                                 "message 0 4294967295", "path Cars anything"}));
    EXPECT_EQ(checked(&m, "22.400.C.none"), "rejected");
    EXPECT_EQ(m.deleted, 2); // also on the rejecting path
    // a part that is no hexadecimal number names nothing
    for (const char* signal : {"zz.400.C.anything", "22.qq.C.anything", "22.400.x.anything", "22.400.C"})
        EXPECT_EQ(checked(&m, signal), "rejected") << signal;
}
