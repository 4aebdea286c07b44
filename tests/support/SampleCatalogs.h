// The bundled sample catalogs, copied into a folder of the test process: loading a catalog
// writes its log file next to it, and the source tree stays clean.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline std::string SampleCatalog(const std::string& name) {
    namespace fs = std::filesystem;
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("pelorin-samples-" + std::to_string(::getpid()));
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("pelorin-samples-" + std::to_string(::getpid())), ec);
        });
        return d;
    }();
    fs::path target = dir / name;
    if (!fs::exists(target)) fs::copy_file(fs::path(SAMPLES) / name, target);
    return target.string();
}
