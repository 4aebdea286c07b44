// Signal names of any content through IsSignalSelectable over the sample catalogs: no crash, and a
// name that is selectable stays selectable.
#include "FuzzSupport.h"

#include "selection/MXSSelection.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static KMXSSelection selection(SampleManager());
    const std::string signal(reinterpret_cast<const char*>(data), size);
    const bool first = selection.IsSignalSelectable(&signal);
    if (selection.IsSignalSelectable(&signal) != first) std::abort(); // the answer depends on nothing else
    return 0;
}
