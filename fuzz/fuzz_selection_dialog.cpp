// Random keys, clicks, wheel turns and catalog changes against the modeless selection dialog in
// every mode over the sample catalogs: no crash, no hang, and every report names objects of the
// dialog's mode.
#include "FuzzSupport.h"
#include "KeyScript.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "selection/MXSSelection.h"
#include "selection/SelectFlags.h"

#include <cstdlib>
#include <vector>

namespace {

class CheckingListener : public KMXSListener {
public:
    unsigned flags = 0;
    void OnObjectsSelected(const std::vector<KMXSObject>& objects, bool) override {
        const bool signalMode = (flags & (kSelectSignalMode | kSelectFixedSignal)) != 0;
        for (const KMXSObject& o : objects) {
            if (o.predefined) {
                if (!(flags & kSelectPredefined)) std::abort(); // predefined objects were not offered
            } else if (signalMode) {
                if (!o.IsParameter() || o.fcat.empty()) std::abort(); // a signal report names a parameter
            } else if (o.fcat.empty() || !o.parameterPath.empty()) {
                std::abort(); // an address report names a catalog object
            }
        }
        if (signalMode && objects.size() > 1) std::abort(); // one signal at a time
    }
    void OnHelp(int) override {}
};

} // namespace

// Input: two bytes choose the flags; the rest is the user's input, with catalog changes where the
// byte 0xFF stands.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const unsigned modes[] = {kSelectAddressMode, kSelectAddressMode | kSelectReportOpTypes,
                                     kSelectSignalMode, kSelectFixedSignal};
    static const bool ready = [] { return LoadLanguageResources() == 0; }();
    if (!ready || size < 2) return 0;
    static KMXSSelection selection(SampleManager());
    static CheckingListener listener;
    listener.flags = modes[data[0] % 4] | (data[1] & (kSelectTreeVariant | kSelectDetails | kSelectStringsAndStreams |
                                                      kSelectPredefined | kSelectNoInstanceRow));
    selection.SetPredefinedObjects({KMXSPredefObjectCfg(1, "Ignition", "Terminal 15", false, true),
                                    KMXSPredefObjectCfg(2, "Macros", "", true, false)});
    std::string signal = "AudioAmplifier.Volume.Status.Volume";
    selection.SetPreSelectSignal(&signal, 1, 1, nullptr, false);
    selection.SelectObject(&listener, nullptr, listener.flags, data[1] & 0x80, 2, true);
    RECT area{0, 0, 800, 700};
    for (std::size_t from = 2; from < size && selection.IsModelessDialogOpened();) {
        std::size_t end = from;
        while (end < size && data[end] != 0xFF) ++end;
        QueueActions(data + from, std::min<std::size_t>(end - from, 200), area);
        w32drv::Pump();
        if (end < size) { // a catalog change announced to the open dialog
            std::string catalog;
            gQRNFCatManager(SampleManager())->LoadFCat(SampleCatalog("rearseat.xml"), QRN_LOAD_REPLACE, catalog,
                                                       QRN_LOG_NONE, "");
        }
        from = end + 1;
    }
    w32drv::ClearInput();
    selection.CloseModelessDialog();
    w32drv::Pump();
    return 0;
}
