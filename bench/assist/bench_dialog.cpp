// The input assistance dialog on 1,000 FBlocks (four catalogs of 250): opening it until its
// first update, and the work of one timer tick after a caret move in the FBlock, function and
// parameter segments, list refill included.
#include "assist/MostFCatDlg.h"
#include "catalog/MostFCatContainer.h"
#include "base/LanguageResources.h"
#include "facade/Pelorin.h"

#include <CatalogGenerator.h>
#include <benchmark/benchmark.h>
#include <w32drv.h>

#include <filesystem>
#include <unistd.h>

namespace {

std::vector<std::string>& catalogFiles() {
    static std::vector<std::string> files = [] {
        namespace fs = std::filesystem;
        fs::path dir = fs::temp_directory_path() / ("pelorin-bench-dialog-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::vector<std::string> out;
        for (const auto& o : quarnel_gen::spreadOverCatalogs(1000, 50)) {
            std::string file = (dir / (o.catalogName + ".xml")).string();
            quarnel_gen::writeCatalogFile(file, quarnel_gen::generateCatalog(o));
            out.push_back(file);
        }
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                            ("pelorin-bench-dialog-" + std::to_string(::getpid())),
                                        ec);
        });
        return out;
    }();
    return files;
}

HWND hostWindow() {
    static HWND host = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "BenchHost";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "BenchHost", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 400, nullptr, nullptr,
                               nullptr, nullptr);
    }();
    return host;
}

void OpenToFirstUpdate(benchmark::State& state) {
    KPelorin selector(hostWindow());
    for (const auto& f : catalogFiles()) selector.AddFCat(f.c_str());
    selector.ShowEx(hostWindow(), "\"\"", 100, 100, 1, -1, -1); // loads once; later openings reload from the cache
    for (auto _ : state) {
        w32drv::Wait(200); // the first tick after the dialog shows
        benchmark::DoNotOptimize(selector.ShowEx(hostWindow(), "\"\"", 100, 100, 1, -1, -1));
    }
}

// The dialog, modeless, so that a benchmark can drive its ticks.
class TickedDialog : public KMostFCatDlg {
public:
    TickedDialog() : KMostFCatDlg(nullptr) {}
    void Tick() { OnTimer(1); }
};

struct Open {
    KMostFCatContainer container;
    TickedDialog dialog;
    Open() {
        LoadLanguageResources();
        for (const auto& f : catalogFiles()) container.AddFCat(f);
        container.LoadFCats();
        dialog.SetContainer(&container);
        dialog.Create(102, CWnd::FromHandle(hostWindow()));
    }
};

Open& opened() {
    static Open o;
    return o;
}

// Alternates the caret between two positions; each tick then analyses and refills.
void tickBetween(benchmark::State& state, const std::string& address, int a, int b) {
    TickedDialog& d = opened().dialog;
    d.addressEdit.SetWindowText(address);
    bool first = true;
    for (auto _ : state) {
        int at = first ? a : b;
        first = !first;
        d.addressEdit.SetSel(at, at);
        d.Tick();
    }
}

std::string sampleAddress(bool withParameters) {
    auto& c = opened().container;
    const ListEntry& fb = c.fblocks[c.fblocks.size() / 2];
    auto fns = c.BuildFunctionList(fb, 0);
    std::string address = GetEntryHead(fb.text) + "." + GetEntryHead(fns[fns.size() / 2].text);
    if (withParameters) {
        auto ops = c.BuildOpTypeList(fb, fns[fns.size() / 2], 0);
        address += "." + GetEntryHead(ops.front().text) + "(1, 2";
    }
    return address;
}

void CaretMoveFBlockSegment(benchmark::State& state) {
    std::string a = sampleAddress(false);
    tickBetween(state, a, 3, static_cast<int>(a.find('.')) + 2); // FBlock list, then function list
}

void CaretMoveFunctionSegment(benchmark::State& state) {
    std::string a = sampleAddress(false);
    tickBetween(state, a, static_cast<int>(a.find('.')) + 2, 3);
}

void CaretMoveParameterSegment(benchmark::State& state) {
    std::string a = sampleAddress(true);
    tickBetween(state, a, static_cast<int>(a.size()), static_cast<int>(a.size()) - 2);
}

} // namespace

BENCHMARK(OpenToFirstUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(CaretMoveFBlockSegment)->Unit(benchmark::kMicrosecond);
BENCHMARK(CaretMoveFunctionSegment)->Unit(benchmark::kMicrosecond);
BENCHMARK(CaretMoveParameterSegment)->Unit(benchmark::kMicrosecond);
