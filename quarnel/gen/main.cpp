// quarnel-gen: writes a synthetic catalog.
//   quarnel-gen OUT.xml --size MEGABYTES [--seed N]
//   quarnel-gen OUT.xml --fblocks N --functions M [--seed N] [--name NAME]

#include "CatalogGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s OUT.xml [--size MB | --fblocks N --functions M] [--seed N] [--name NAME]\n",
                     argv[0]);
        return 2;
    }
    quarnel_gen::GenOptions options;
    double megabytes = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const char* key = argv[i];
        const char* value = argv[i + 1];
        if (!std::strcmp(key, "--size"))
            megabytes = std::atof(value);
        else if (!std::strcmp(key, "--fblocks"))
            options.fblocks = std::atoi(value);
        else if (!std::strcmp(key, "--functions"))
            options.functionsPerFBlock = std::atoi(value);
        else if (!std::strcmp(key, "--seed"))
            options.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 0));
        else if (!std::strcmp(key, "--name"))
            options.catalogName = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", key);
            return 2;
        }
    }
    if (megabytes > 0) {
        const std::string name = options.catalogName;
        options =
            quarnel_gen::optionsForSize(static_cast<std::size_t>(megabytes * 1024 * 1024), options.seed);
        options.catalogName = name;
    }
    const std::string text = quarnel_gen::generateCatalog(options);
    if (!quarnel_gen::writeCatalogFile(argv[1], text)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %zu bytes, %d FBlocks x %d functions\n", argv[1], text.size(), options.fblocks,
                options.functionsPerFBlock);
    return 0;
}
