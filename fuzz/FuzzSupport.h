// What the fuzz targets share: a catalog manager with the sample catalogs, loaded once per process.
#pragma once
#include <Quarnel.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

// A copy of a sample catalog (SAMPLES: their folder, given by the build) in a folder of this
// process: loading writes a log beside the catalog, which must not land in the source tree.
inline std::string SampleFile(const char* name) {
    namespace fs = std::filesystem;
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("pelorin-fuzz-samples-" + std::to_string(::getpid()));
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(fs::temp_directory_path() / ("pelorin-fuzz-samples-" + std::to_string(::getpid())), ignored);
        });
        return d;
    }();
    const fs::path copy = dir / name;
    std::error_code ignored;
    fs::copy_file(fs::path(SAMPLES) / name, copy, fs::copy_options::skip_existing, ignored);
    return copy.string();
}

inline QRNHandle SampleManager() {
    static const QRNHandle handle = [] {
        QRNHandle h = 0;
        gQRNCreateFCatManager(&h, "fuzz");
        for (const char* name : {"standard.xml", "rearseat.xml"}) {
            std::string catalog;
            gQRNFCatManager(h)->LoadFCat(SampleFile(name), QRN_LOAD_REPLACE, catalog, QRN_LOG_NONE, "");
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
