// What the fuzz targets share: a catalog manager with the sample catalogs, loaded once per process.
#pragma once
#include <Quarnel.h>

#include "tests/support/SampleCatalogs.h" // copies: loading writes logs beside them

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

inline QRNHandle SampleManager() {
    static const QRNHandle handle = [] {
        QRNHandle h = 0;
        gQRNCreateFCatManager(&h, "fuzz");
        for (const char* name : {"standard.xml", "rearseat.xml"}) {
            std::string catalog;
            gQRNFCatManager(h)->LoadFCat(SampleCatalog(name), QRN_LOAD_REPLACE, catalog, QRN_LOG_NONE, "");
        }
        return h;
    }();
    return handle;
}

// Every OpType of a catalog, hidden ones too: (FBlock id, function id, OpType id).
inline void ForEachOpType(KQRNFCatManager& m, const std::string& catalog,
                          const std::function<void(std::int32_t, std::int32_t, std::int32_t)>& visit) {
    std::vector<IdName> fblocks, functions, opTypes;
    m.ListFBlocks(fblocks, QRN_FLAG_WITH_HIDDEN, catalog);
    for (const IdName& fb : fblocks) {
        m.ListFunctions(functions, QRN_FLAG_WITH_HIDDEN, catalog, fb.id, QRN_ANY_INSTANCE);
        for (const IdName& fn : functions) {
            m.ListOpTypes(opTypes, QRN_FLAG_WITH_HIDDEN, catalog, fb.id, QRN_ANY_INSTANCE, fn.id);
            for (const IdName& op : opTypes) visit(fb.id, fn.id, op.id);
        }
    }
}

// Reads every node below nodes (paths and descriptions), as a dialog showing them would.
inline void ReadNodes(const std::vector<KQRNNode*>& nodes, int depth = 0) {
    if (depth > 32) return;
    for (KQRNNode* node : nodes) {
        (void)node->GetPath();
        (void)node->GetDescription();
        std::vector<KQRNNode*> children;
        node->GetChildren(children);
        ReadNodes(children, depth + 1);
    }
}
