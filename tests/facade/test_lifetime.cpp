// Lifetime under repetition: many openings and closings of each dialog leave no window, no hook and
// no growing memory behind in the host's process (leaks are LeakSanitizer's to find).
#include "facade/SelDialogClient.h"

#include "base/ProcessState.h"
#include "catalog/MostFCatContainer.h"
#include "selection/MXSDialog.h"
#include "selection/MXSSelection.h"
#include "selection/SelectFlags.h"
#include "support/AssistSession.h"

#include <w32drv.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#ifdef _WIN32
#include <psapi.h>
#else
#include <unistd.h>
#endif

namespace {

// A thousand; on Windows every cycle waits in real time, so fewer there with the same allowance
// of memory growth per cycle (2 MB over 900 cycles).
const int kCycles = w32drv::kHeadless ? 1000 : 300;
const long kAllowedGrowthKb = 2048L * (kCycles - kCycles / 10) / 900;

// Resident memory of the process in kilobytes (the working set on Windows).
long residentKb() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.WorkingSetSize / 1024);
#else
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
#endif
}

class NullListener : public KMXSListener {
public:
    void OnObjectsSelected(const std::vector<KMXSObject>&, bool) override {}
    void OnHelp(int) override {}
};

class NullClient : public KPelorinClient {
public:
    void OnSelectionText(const char*) override {}
    void OnHelp(int) override {}
};

class LifetimeTest : public AssistSession {
protected:
    // Runs cycle kCycles times; the process must look as it did after the first tenth.
    template <typename Cycle> void repeat(const char* what, Cycle cycle) {
        const size_t windows = w32drv::TopLevelWindows().size();
        long settled = 0;
        for (int i = 0; i < kCycles; ++i) {
            cycle(i);
            if (i == kCycles / 10 - 1) settled = residentKb();
        }
        const long grown = residentKb() - settled;
        RecordProperty(std::string(what) + "_rss_growth_kb", static_cast<int>(grown));
        std::printf("%s: resident memory %+ld kB over the last %d cycles\n", what, grown, kCycles - kCycles / 10);
        EXPECT_EQ(w32drv::InstalledHooks(), 0u) << what;
        EXPECT_EQ(w32drv::TopLevelWindows().size(), windows) << what;
#if !defined(__SANITIZE_ADDRESS__)
        // the sanitizer's quarantine holds freed memory back, so only plain builds can tell
        EXPECT_LT(grown, kAllowedGrowthKb) << what;
#endif
    }
};

} // namespace

TEST_F(LifetimeTest, ModelessSelectionDialogsOpenedAndClosedOverAndOver) {
    const unsigned long handle = [this] {
        selector->container->LoadFCats();
        return selector->container->GetManagerHandle();
    }();
    NullListener listener;
    KMXSSelection selection(handle);
    repeat("selection", [&](int i) {
        selection.SelectObject(&listener, nullptr, kSelectSignalMode | kSelectDetails, true, 2, true);
        ASSERT_TRUE(selection.IsModelessDialogOpened());
        w32drv::Pump();
        if (i % 2) {
            selection.CloseModelessDialog();
        } else {
            // the user's way: Cancel posts the close that ends the dialog
            selection.modelessDialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
            w32drv::Pump();
        }
        ASSERT_FALSE(selection.IsModelessDialogOpened()) << i;
    });
}

TEST_F(LifetimeTest, BridgeDialogsAndInputAssistanceOpenedOverAndOver) {
    NullClient client;
    repeat("bridge", [&](int i) {
        selector->ShowXMSSelection(&client, nullptr, "AudioAmplifier.", 15, 0, 0, i % 2 == 0);
        KMXSSelection* s = SelectionBridge().selection.get();
        ASSERT_TRUE(s && s->IsModelessDialogOpened());
        w32drv::Pump(); // the host's loop runs while the dialog is open
        selector->Close();
        ASSERT_FALSE(s->IsModelessDialogOpened()) << i;
    });
    repeat("assistance", [&](int i) {
        w32drv::Key(VK_ESCAPE);
        EXPECT_EQ(open(i % 2 ? "AudioAmplifier.Vol" : "x = "), IDCANCEL) << i;
    });
}
