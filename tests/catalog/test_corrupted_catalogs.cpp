// Damaged catalog files: whatever a file holds, loading either takes it or says so for that file
// alone, and the other catalogs still load. Crashes and leaks are the sanitizers' to find.
#include "catalog/MostFCatContainer.h"
#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "support/SampleCatalogs.h"

#include <w32drv.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One damage of the kinds files suffer: bytes changed or lost, a cut, a piece doubled, markup
// characters and bytes that are no UTF-8 where text was.
std::string damage(std::string text, std::mt19937& rnd) {
    auto at = [&](size_t size) { return size ? std::uniform_int_distribution<size_t>(0, size - 1)(rnd) : 0; };
    static const std::string inserts[] = {"<", ">", "&", "\"", "'", "]]>", "<!--", "\xC3", "\xFF\xFE", "&#0;",
                                          "&#x110000;", "<!ENTITY x \"y\">", "\0", "</FBlock>", "<FBlock>"};
    const int edits = 1 + static_cast<int>(at(3));
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const size_t p = at(text.size());
        switch (at(6)) {
        case 0: text[p] = static_cast<char>(at(256)); break;
        case 1: text.erase(p, 1 + at(40)); break;
        case 2: text.resize(p); break;
        case 3: text.insert(p, text.substr(at(text.size()), 1 + at(200))); break;
        case 4: {
            const std::string& piece = inserts[at(std::size(inserts))];
            text.insert(p, piece.empty() ? std::string(1, '\0') : piece);
            break;
        }
        default: std::swap(text[p], text[at(text.size())]); break;
        }
    }
    return text;
}

class CorruptedCatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        w32drv::Reset();
        ASSERT_EQ(LoadLanguageResources(), 0);
        dir = std::filesystem::temp_directory_path() / ("pelorin-corrupted-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        ResetProcessStateForTests();
    }
    std::filesystem::path dir;
};

} // namespace

TEST_F(CorruptedCatalogTest, EachDamagedFileLoadsOrIsReportedAloneAndTheOthersStillLoad) {
    const std::string good[] = {SampleCatalog("standard.xml"), SampleCatalog("rearseat.xml")};
    const std::string texts[] = {readAll(good[0]), readAll(good[1])};
    std::mt19937 rnd(20261207);
    const int variants = 500;
    int refused = 0;
    for (int v = 0; v < variants; ++v) {
        // the damaged copy of one sample, listed before or after the other sample as it is
        const int which = v % 2;
        const std::string damaged = (dir / ("variant" + std::to_string(v) + ".xml")).string();
        std::ofstream(damaged, std::ios::binary) << damage(texts[which], rnd);
        KMostFCatContainer c;
        c.AddFCat(which ? good[0] : damaged);
        c.AddFCat(which ? damaged : good[1]);
        w32drv::ClearRecords();
        c.LoadFCats();
        const auto boxes = w32drv::MessageBoxes();
        const std::string other = which ? "Infotainment" : "RearSeat";
        bool otherLoaded = false;
        for (const auto& f : c.fcats) otherLoaded = otherLoaded || f.text == other;
        EXPECT_TRUE(otherLoaded) << damaged;
        if (boxes.empty()) {
            EXPECT_EQ(c.fcats.size(), 2u) << damaged; // taken as it is
        } else {
            ++refused;
            ASSERT_EQ(boxes.size(), 1u) << damaged;
            const std::string expected = LoadResourceText(IDS_LOAD_FAILED);
            EXPECT_EQ(boxes[0].text, expected.substr(0, expected.find("%s")) + damaged +
                                         expected.substr(expected.find("%s") + 2));
            EXPECT_EQ(c.fcats.size(), 1u) << damaged;
        }
        if (HasFailure()) break; // one variant's story is enough
        std::filesystem::remove(damaged);
    }
    // the damage must mostly be refused, or the test is not damaging much
    EXPECT_GT(refused, variants / 2);
    RecordProperty("refused", refused);
}
