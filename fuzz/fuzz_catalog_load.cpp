// Catalog files of any content through LoadFCat: refused with a code, or loaded and then walked
// down to the parameter nodes of every OpType, without a crash, a leak or a hang.
#include "FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string file = "/tmp/pelorin-fuzz-catalog-" + std::to_string(::getpid()) + ".xml";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    QRNHandle handle = 0;
    if (gQRNCreateFCatManager(&handle, "fuzz") != 0) return 0;
    KQRNFCatManager* m = gQRNFCatManager(handle);
    std::string catalog;
    if (m->LoadFCat(file, QRN_LOAD_REPLACE, catalog, QRN_LOG_NONE, "") == 0) {
        ForEachOpType(*m, catalog, [&](std::int32_t fb, std::int32_t fn, std::int32_t op) {
            std::unique_ptr<KQRNMessageContainer> c(
                m->GetMessageContainer(QRN_FLAG_WITH_HIDDEN, catalog, fb, QRN_ANY_INSTANCE, fn, op, 1));
            std::vector<KQRNNode*> nodes;
            if (c) c->GetNodes(nodes);
            ReadNodes(nodes);
        });
    }
    gQRNDestroyFCatManager(handle);
    return 0;
}
