// What the fuzz targets share: a catalog manager with the sample catalogs, loaded once per process.
#pragma once
#include <Quarnel.h>

#include <string>

// SAMPLES: the folder of the sample catalogs, given by the build.
inline std::string SampleFile(const char* name) { return std::string(SAMPLES) + "/" + name; }

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
