// The tree control with 100,000 rows: a paint scrolled to the middle and a caret move by the arrow
// key must cost what they cost in a short tree (the control lays out and draws only the rows in
// view and finds rows by index).
#include "treectrl/SECTreeCtrl.h"

#include <w32drv.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kGroups = 1000;
constexpr int kRowsPerGroup = 99; // with the group rows: 100,000 rows, all open

struct BigTree {
    HWND frame = nullptr;
    SECTreeCtrl tree;

    explicit BigTree(DWORD exStyle = 0, int groups = kGroups, int rowsPerGroup = kRowsPerGroup) {
        w32drv::Reset();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "BenchFrame";
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, "BenchFrame", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 400,
                                nullptr, nullptr, nullptr, nullptr);
        tree.Create(WS_VISIBLE | WS_BORDER | WS_VSCROLL | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                    exStyle, CRect(0, 0, 300, 300), CWnd::FromHandle(frame), 1);
        for (int g = 0; g < groups; ++g) {
            HTREEITEM group = tree.InsertItem(("Group " + std::to_string(g)).c_str());
            for (int i = 0; i < rowsPerGroup; ++i)
                tree.InsertItem(("Row " + std::to_string(i)).c_str(), group);
            tree.Expand(group, TVE_EXPAND);
        }
        tree.SetFocus();
        HTREEITEM middle = tree.GetRootItem();
        for (int g = 0; g < kGroups / 2; ++g)
            middle = tree.GetNextSiblingItem(middle);
        tree.SelectItem(middle);
        tree.SelectSetFirstVisible(middle);
        w32drv::PumpReady();
    }
    ~BigTree() {
        tree.DestroyWindow();
        w32drv::Reset();
    }
};

void paints(benchmark::State& state, BigTree& big, UINT rows) {
    if (big.tree.GetCount() != rows) state.SkipWithError("the tree has not the rows it should");
    InvalidateRect(big.tree, nullptr, FALSE);
    UpdateWindow(big.tree);
    if (GetUpdateRect(big.tree, nullptr, FALSE)) state.SkipWithError("the tree did not paint");
    for (auto _ : state) {
        InvalidateRect(big.tree, nullptr, FALSE);
        UpdateWindow(big.tree);
    }
}

void BM_PaintMiddleOf100kRows(benchmark::State& state) {
    BigTree big;
    paints(state, big, 100000);
}
BENCHMARK(BM_PaintMiddleOf100kRows)->Unit(benchmark::kMicrosecond);

// The same paint in a tree of 10 rows, for comparison.
void BM_PaintTenRows(benchmark::State& state) {
    BigTree small(0, 2, 4);
    paints(state, small, 10);
}
BENCHMARK(BM_PaintTenRows)->Unit(benchmark::kMicrosecond);

// Down and Up in turn, so the caret stays in the middle; each is one caret move with its
// notifications and the scroll that keeps the caret in view.
void caretMoves(benchmark::State& state, DWORD exStyle) {
    BigTree big(exStyle);
    HTREEITEM start = big.tree.GetSelectedItem();
    SendMessageA(big.tree, WM_KEYDOWN, VK_DOWN, 0);
    if (big.tree.GetSelectedItem() != big.tree.GetChildItem(start))
        state.SkipWithError("the caret did not move");
    SendMessageA(big.tree, WM_KEYDOWN, VK_UP, 0);
    UINT key = VK_DOWN;
    for (auto _ : state) {
        SendMessageA(big.tree, WM_KEYDOWN, key, 0);
        key = key == VK_DOWN ? VK_UP : VK_DOWN;
    }
}

void BM_CaretMoveIn100kRows(benchmark::State& state) {
    caretMoves(state, 0);
}
BENCHMARK(BM_CaretMoveIn100kRows)->Unit(benchmark::kMicrosecond);

void BM_CaretMoveIn100kRowsMultipleSelection(benchmark::State& state) {
    caretMoves(state, SECTVS_EX_MULTISEL);
}
BENCHMARK(BM_CaretMoveIn100kRowsMultipleSelection)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv); // prints its usage and ends for --help
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
