// Random keys, waits and clicks against the input assistance over the sample catalogs: no crash,
// no hang, and what GetSelection hands back afterwards is a whole line.
#include "FuzzSupport.h"
#include "KeyScript.h"

#include "base/ProcessState.h"
#include "facade/Pelorin.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Host {
    HWND editor = nullptr;
    std::unique_ptr<KPelorin> selector;
    Host() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "FuzzEditor";
        RegisterClassA(&wc);
        editor = CreateWindowExA(0, "FuzzEditor", "Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 900, 500,
                                 nullptr, nullptr, nullptr, nullptr);
        selector = std::make_unique<KPelorin>(editor);
        selector->AddFCat(SampleCatalog("standard.xml").c_str());
        selector->AddFCat(SampleCatalog("rearseat.xml").c_str());
    }
};

} // namespace

// Input: one byte picks the line, one the caret; the rest is the user's input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    static const char* const lines[] = {"", "x = ", "output(msg = \"\");", "\"AudioAmplifier.Volume.Set(10)\"",
                                        "setTimer(t, 10); AudioDiskPlayer.0x12.TrackList.Status(1, 2"};
    if (size < 2) return 0;
    const std::string line = lines[data[0] % (sizeof lines / sizeof *lines)];
    const int caret = static_cast<int>(data[1] % (line.size() + 1));
    QueueActions(data + 2, std::min<std::size_t>(size - 2, 200), RECT{250, 250, 750, 650});
    host.selector->ShowEx(host.editor, line.c_str(), 300, 300, caret, -1, -1);
    w32drv::ClearInput();
    w32drv::Pump();
    std::vector<char> buffer(65536, '\x7F');
    host.selector->GetSelection(buffer.data(), static_cast<int>(buffer.size()));
    if (strnlen(buffer.data(), buffer.size()) == buffer.size()) std::abort(); // no whole line
    return 0;
}
