// Editor lines, carets and selections through the address analysis over the sample catalogs: no
// crash, and the composed line keeps the text before and after the range it replaces.
#include "FuzzSupport.h"

#include "assist/AddressAnalysis.h"
#include "base/ProcessState.h"
#include "catalog/MostFCatContainer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

KMostFCatContainer& container() {
    static KMostFCatContainer* c = [] {
        auto* made = new KMostFCatContainer;
        made->AddFCat(SampleCatalog("standard.xml"));
        made->AddFCat(SampleCatalog("rearseat.xml"));
        made->LoadFCats();
        return made;
    }();
    return *c;
}

// A position from one input byte: mostly inside the line, sometimes outside it.
int position(std::uint8_t byte, std::size_t length) {
    return static_cast<int>(byte % (length + 3)) - 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::string line(reinterpret_cast<const char*>(data) + 3, std::min<std::size_t>(size - 3, 600));
    const int caret = std::max(0, position(data[0], line.size()));
    KAddressAnalysis a;
    a.container = &container();
    a.SetSourceText(line, std::min(caret, static_cast<int>(line.size())), position(data[1], line.size()),
                    position(data[2], line.size()));
    a.LocateCaret(std::clamp(a.caretInToken, 0, static_cast<int>(a.addressText.size())));
    (void)KAddressAnalysis::CountParameterIndex(line);
    (void)KAddressAnalysis::IsValidInstanceText(line);
    (void)KAddressAnalysis::DisplayFormatOf(line);

    const std::string before = a.sourceLine;
    const std::size_t n = before.size();
    const std::size_t start = static_cast<std::size_t>(std::clamp(a.replaceStart, 0, static_cast<int>(n)));
    const std::size_t end = static_cast<std::size_t>(std::clamp(a.replaceEnd, 0, static_cast<int>(n)));
    std::string composed;
    a.BuildReplacement(composed);
    const std::string head = before.substr(0, start), tail = before.substr(std::max(start, end));
    if (composed.compare(0, head.size(), head) != 0) std::abort(); // the text before the range changed
    if (composed.size() < head.size() + tail.size() ||
        composed.compare(composed.size() - tail.size(), tail.size(), tail) != 0)
        std::abort(); // the text after the range changed
    return 0;
}
