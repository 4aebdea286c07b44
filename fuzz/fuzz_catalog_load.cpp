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

namespace {

void walkNodes(const std::vector<KQRNNode*>& nodes, int depth) {
    if (depth > 32) return;
    for (KQRNNode* node : nodes) {
        (void)node->GetPath();
        (void)node->GetDescription();
        std::vector<KQRNNode*> children;
        node->GetChildren(children);
        walkNodes(children, depth + 1);
    }
}

} // namespace

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
        std::vector<IdName> fblocks, functions, opTypes;
        m->ListFBlocks(fblocks, QRN_FLAG_WITH_HIDDEN, catalog);
        for (const IdName& fb : fblocks) {
            m->ListFunctions(functions, QRN_FLAG_WITH_HIDDEN, catalog, fb.id, QRN_ANY_INSTANCE);
            for (const IdName& fn : functions) {
                m->ListOpTypes(opTypes, QRN_FLAG_WITH_HIDDEN, catalog, fb.id, QRN_ANY_INSTANCE, fn.id);
                for (const IdName& op : opTypes) {
                    std::unique_ptr<KQRNMessageContainer> c(
                        m->GetMessageContainer(QRN_FLAG_WITH_HIDDEN, catalog, fb.id, QRN_ANY_INSTANCE, fn.id, op.id, 1));
                    std::vector<KQRNNode*> nodes;
                    if (c) c->GetNodes(nodes);
                    walkNodes(nodes, 0);
                }
            }
        }
    }
    gQRNDestroyFCatManager(handle);
    return 0;
}
