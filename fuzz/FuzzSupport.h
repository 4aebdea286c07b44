// What the fuzz targets share: a catalog manager with the sample catalogs, loaded once per process.
#pragma once
#include <Quarnel.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
