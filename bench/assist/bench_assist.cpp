// The work of one caret move in the input assistance on a large catalog set (500 FBlocks of 50
// functions each, in two catalogs): the analysis up to the caret plus the list it shows.
#include "assist/AddressAnalysis.h"
#include "catalog/MostFCatContainer.h"

#include <CatalogGenerator.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Catalogs {
    KMostFCatContainer container;
    std::string fblock, function, opType;

    Catalogs() {
        namespace fs = std::filesystem;
        fs::path dir = fs::temp_directory_path() / ("pelorin-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        for (const auto& o : quarnel_gen::spreadOverCatalogs(500, 50)) {
            std::string file = (dir / (o.catalogName + ".xml")).string();
            quarnel_gen::writeCatalogFile(file, quarnel_gen::generateCatalog(o));
            container.AddFCat(file);
        }
        container.LoadFCats();
        fs::remove_all(dir);
        const ListEntry& fb = container.fblocks[container.fblocks.size() / 2];
        fblock = GetEntryHead(fb.text);
        auto fns = container.BuildFunctionList(fb, kNameFirst);
        const ListEntry fn = fns[fns.size() / 2];
        function = GetEntryHead(fn.text);
        auto ops = container.BuildOpTypeList(fb, fn, kNameFirst);
        opType = GetEntryHead(ops.front().text);
    }
};

Catalogs& catalogs() {
    static Catalogs c;
    return c;
}

// What the list shows: every text, and the first item whose head begins with the typed word.
int fill(const std::vector<ListEntry>& list, const std::string& word, std::vector<std::string>& shown) {
    shown.clear();
    int match = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        shown.push_back(list[i].text);
        if (match < 0 && list[i].text.compare(0, word.size(), word) == 0) match = static_cast<int>(i);
    }
    return match;
}

void CaretInFBlockSegment(benchmark::State& state) {
    auto& c = catalogs();
    KAddressAnalysis a;
    a.container = &c.container;
    a.addressText = c.fblock.substr(0, c.fblock.size() - 2);
    std::vector<std::string> shown;
    for (auto _ : state) {
        benchmark::DoNotOptimize(a.LocateCaret(static_cast<int>(a.addressText.size())));
        benchmark::DoNotOptimize(fill(c.container.fblocks, a.addressText, shown));
    }
    state.counters["items"] = static_cast<double>(shown.size());
}

void CaretInFunctionSegment(benchmark::State& state) {
    auto& c = catalogs();
    KAddressAnalysis a;
    a.container = &c.container;
    a.addressText = c.fblock + "." + c.function.substr(0, 3);
    std::vector<std::string> shown;
    for (auto _ : state) {
        a.LocateCaret(static_cast<int>(a.addressText.size()));
        fill(c.container.BuildFunctionList(*a.fblockEntry, kNameFirst), "", shown);
    }
    state.counters["items"] = static_cast<double>(shown.size());
}

void CaretInOpTypeSegment(benchmark::State& state) {
    auto& c = catalogs();
    KAddressAnalysis a;
    a.container = &c.container;
    a.addressText = c.fblock + "." + c.function + "." + c.opType.substr(0, 1);
    std::vector<std::string> shown;
    for (auto _ : state) {
        a.LocateCaret(static_cast<int>(a.addressText.size()));
        fill(c.container.BuildOpTypeList(*a.fblockEntry, *a.functionEntry, kNameFirst), "", shown);
    }
    state.counters["items"] = static_cast<double>(shown.size());
}

void CaretInParameterSegment(benchmark::State& state) {
    auto& c = catalogs();
    KAddressAnalysis a;
    a.container = &c.container;
    a.addressText = c.fblock + "." + c.function + "." + c.opType + "(1, ";
    for (auto _ : state) {
        a.LocateCaret(static_cast<int>(a.addressText.size()));
        if (a.fblockEntry && a.functionEntry && a.opTypeEntry)
            benchmark::DoNotOptimize(c.container.BuildParameterList("1, ", *a.fblockEntry, *a.functionEntry, *a.opTypeEntry));
    }
}

} // namespace

BENCHMARK(CaretInFBlockSegment)->Unit(benchmark::kMicrosecond);
BENCHMARK(CaretInFunctionSegment)->Unit(benchmark::kMicrosecond);
BENCHMARK(CaretInOpTypeSegment)->Unit(benchmark::kMicrosecond);
BENCHMARK(CaretInParameterSegment)->Unit(benchmark::kMicrosecond);
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv); // prints its usage and ends for --help
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
