// The catalog tree and the selection dialog on 1,000 FBlocks (four catalogs of 250): a rebuild
// that restores 200 saved rows, opening an OpType with 500 parameter nodes, opening the dialog
// with 200 saved rows, and a selection change with the details refreshed.
#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/MXSDialog.h"
#include "selection/MXSSelection.h"
#include "selection/CatalogTree.h"
#include "selection/SelectFlags.h"

#include <CatalogGenerator.h>
#include <Quarnel.h>
#include <benchmark/benchmark.h>
#include <w32drv.h>

#include <filesystem>
#include <unistd.h>

namespace {

std::filesystem::path benchDir() {
    return std::filesystem::temp_directory_path() / ("pelorin-bench-tree-" + std::to_string(::getpid()));
}

// One OpType with 500 number parameters.
std::string wideCatalog() {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FunctionCatalog Name=\"Wide\">\n"
                       "  <FBlock ID=\"0x01\" Name=\"Wide\">\n    <Function ID=\"0x001\" Name=\"Many\" Kind=\"Property\">\n"
                       "      <OPType ID=\"0xC\">\n";
    for (int i = 0; i < 500; ++i)
        text += "        <Parameter Name=\"P" + std::to_string(i) + "\"><TNumber Type=\"UByte\"/></Parameter>\n";
    return text + "      </OPType>\n    </Function>\n  </FBlock>\n</FunctionCatalog>\n";
}

struct Fixture {
    QRNHandle handle = 0;
    HWND frame = nullptr;
    SECTreeCtrl tree;
    std::vector<std::string> savedPaths;

    Fixture() {
        namespace fs = std::filesystem;
        fs::create_directories(benchDir());
        gQRNCreateFCatManager(&handle, "bench");
        KQRNFCatManager* m = gQRNFCatManager(handle);
        for (const auto& o : quarnel_gen::spreadOverCatalogs(1000, 20))
            load(m, o.catalogName + ".xml", quarnel_gen::generateCatalog(o));
        load(m, "wide.xml", wideCatalog());
        // 200 function rows spread over the catalogs: each opens its catalog and FBlock
        std::vector<std::string> catalogs;
        m->ListCatalogs(catalogs, 0);
        for (int i = 0; i < 200; ++i) {
            const std::string& catalog = catalogs[static_cast<size_t>(i) % 4];
            std::vector<IdName> fblocks, functions;
            m->ListFBlocks(fblocks, 0, catalog);
            const IdName& fb = fblocks[static_cast<size_t>(i * 7) % fblocks.size()];
            m->ListFunctions(functions, 0, catalog, fb.id, QRN_ANY_INSTANCE);
            savedPaths.push_back(catalog + "." + fb.name + "." + functions[static_cast<size_t>(i) % functions.size()].name);
        }
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "BenchTreeFrame";
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, "BenchTreeFrame", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 600, nullptr, nullptr,
                                nullptr, nullptr);
        tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0x00900200,
                    CRect(8, 8, 392, 592), CWnd::FromHandle(frame), 19157);
    }
    ~Fixture() {
        tree.DestroyWindow();
        DestroyWindow(frame);
        gQRNDestroyFCatManager(handle);
        std::error_code ec;
        std::filesystem::remove_all(benchDir(), ec);
    }
    static void load(KQRNFCatManager* m, const std::string& name, const std::string& text) {
        std::string file = (benchDir() / name).string();
        quarnel_gen::writeCatalogFile(file, text);
        std::string catalog;
        m->LoadFCat(file, QRN_LOAD_REPLACE, catalog, QRN_LOG_NONE, "");
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void RebuildRestoring200Rows(benchmark::State& st) {
    Fixture& f = fixture();
    KMXSSessionState state;
    state.firstOpen = false;
    state.visibleRowPaths.insert(f.savedPaths.begin(), f.savedPaths.end());
    state.topRowPath = f.savedPaths[100];
    for (auto _ : st) {
        KMXSCatalogTree t(f.tree, f.handle, kSelectSignalMode, state);
        t.RebuildTree();
        benchmark::DoNotOptimize(t.topRow);
    }
}

void OpenOpTypeWith500Nodes(benchmark::State& st) {
    Fixture& f = fixture();
    KMXSSessionState state;
    state.firstOpen = false;
    for (auto _ : st) {
        st.PauseTiming();
        KMXSCatalogTree t(f.tree, f.handle, kSelectSignalMode, state);
        t.RebuildTree();
        HTREEITEM wide = t.FindItemByPath("Wide", TVI_ROOT);
        t.ExpandCatalog(wide, *t.ItemOf(wide));
        HTREEITEM fb = t.FindItemByPath("Wide.Wide", wide);
        t.ExpandFBlock(fb, *t.ItemOf(fb));
        HTREEITEM fn = t.FindItemByPath("Wide.Wide.Many", fb);
        t.ExpandFunction(fn, *t.ItemOf(fn));
        HTREEITEM op = t.FindItemByPath("Wide.Wide.Many.Status", fn);
        st.ResumeTiming();
        t.ExpandOpType(op, *t.ItemOf(op));
        benchmark::DoNotOptimize(f.tree.GetChildItem(op));
    }
}

// Opening the selection dialog in signal mode with 200 saved rows, to the end of OnInitDialog.
void OpenSignalDialogWith200SavedRows(benchmark::State& st) {
    Fixture& f = fixture();
    LoadLanguageResources();
    KMXSSelection owner(f.handle);
    for (auto _ : st) {
        KMXSSessionState state;
        state.firstOpen = false;
        state.visibleRowPaths.insert(f.savedPaths.begin(), f.savedPaths.end());
        state.topRowPath = f.savedPaths[100];
        auto* d = new KMXSDialog(f.handle, nullptr, &state, kSelectSignalMode | kSelectDetails, &owner, nullptr);
        d->channelCount = 4;
        owner.modelessOpen = true;
        owner.modelessDialog = d;
        d->Create(IDD_SELECTION, nullptr);
        st.PauseTiming();
        owner.CloseModelessDialog();
        st.ResumeTiming();
    }
}

// A selection change in the tree with the details area refreshed.
void SelectionChangeWithDetails(benchmark::State& st) {
    Fixture& f = fixture();
    LoadLanguageResources();
    KMXSSelection owner(f.handle);
    KMXSSessionState state;
    auto* d = new KMXSDialog(f.handle, nullptr, &state, kSelectSignalMode | kSelectDetails, &owner, nullptr);
    owner.modelessOpen = true;
    owner.modelessDialog = d;
    d->Create(IDD_SELECTION, nullptr);
    KMXSCatalogTree& t = *d->catalogTree;
    HTREEITEM wide = t.FindItemByPath("Wide", TVI_ROOT);
    d->tree.Expand(wide, TVE_EXPAND);
    HTREEITEM fb = t.FindItemByPath("Wide.Wide", wide);
    d->tree.Expand(fb, TVE_EXPAND);
    HTREEITEM fn = t.FindItemByPath("Wide.Wide.Many", fb);
    d->tree.Expand(fn, TVE_EXPAND);
    HTREEITEM op = t.FindItemByPath("Wide.Wide.Many.Status", fn);
    d->tree.Expand(op, TVE_EXPAND);
    HTREEITEM rows[2] = {d->tree.GetChildItem(op), d->tree.GetNextSiblingItem(d->tree.GetChildItem(op))};
    int i = 0;
    for (auto _ : st) d->tree.SelectItem(rows[i++ & 1]);
    owner.CloseModelessDialog();
}

} // namespace

BENCHMARK(OpenSignalDialogWith200SavedRows)->Unit(benchmark::kMillisecond);
BENCHMARK(SelectionChangeWithDetails)->Unit(benchmark::kMicrosecond);
BENCHMARK(RebuildRestoring200Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenOpTypeWith500Nodes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv); // prints its usage and ends for --help
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
