// quarnel-gen: writes a synthetic catalog.
//   quarnel-gen OUT.xml --size MEGABYTES [--seed N] [--name NAME]
//   quarnel-gen OUT.xml --fblocks N --functions M [--seed N] [--name NAME]

#include "CatalogGenerator.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kUsage[] =
    "usage: quarnel-gen OUT.xml [--size MB | --fblocks N --functions M] [--seed S] [--name NAME]\n"
    "       quarnel-gen --help\n"
    "Writes a synthetic catalog of about MB megabytes, or of N FBlocks (1 to 256) of M functions\n"
    "(1 to 4096) each; 8 of 16 without either. S varies names, ranges and descriptions (default 1).\n"
    "An output file whose name begins with - follows --.\n";

int refuse(const std::string& message) {
    std::fprintf(stderr, "quarnel-gen: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// The whole text as a number from lo to hi.
bool number(const char* text, double lo, double hi, double& out) {
    errno = 0;
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end != text && *end == 0 && errno == 0 && std::isfinite(out) && out >= lo && out <= hi;
}

} // namespace

int main(int argc, char** argv) {
    quarnel_gen::GenOptions options;
    double megabytes = 0;
    std::string out;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            if (!out.empty()) return refuse("more than one output file: " + out + " and " + arg);
            out = arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const bool known = arg == "--size" || arg == "--fblocks" || arg == "--functions" || arg == "--seed" ||
                           arg == "--name";
        if (!known) return refuse("unknown option " + arg);
        if (i + 1 >= argc) return refuse(arg + " needs a value");
        const char* value = argv[++i];
        double v = 0;
        if (arg == "--name") {
            if (!*value) return refuse("--name needs a value");
            options.catalogName = value;
        } else if (arg == "--size") {
            if (!number(value, 1e-6, 4096, v))
                return refuse("--size takes megabytes above 0, not " + std::string(value));
            megabytes = v;
        } else if (arg == "--fblocks") {
            if (!number(value, 1, 256, v) || v != std::floor(v))
                return refuse("--fblocks takes 1 to 256, not " + std::string(value));
            options.fblocks = static_cast<int>(v);
        } else if (arg == "--functions") {
            if (!number(value, 1, 4096, v) || v != std::floor(v))
                return refuse("--functions takes 1 to 4096, not " + std::string(value));
            options.functionsPerFBlock = static_cast<int>(v);
        } else { // --seed
            if (!number(value, 0, 4294967295.0, v) || v != std::floor(v))
                return refuse("--seed takes a whole number, not " + std::string(value));
            options.seed = static_cast<unsigned>(v);
        }
    }
    if (out.empty()) return refuse("no output file");
    if (megabytes > 0) {
        const std::string name = options.catalogName;
        options =
            quarnel_gen::optionsForSize(static_cast<std::size_t>(megabytes * 1024 * 1024), options.seed);
        options.catalogName = name;
    }
    const std::string text = quarnel_gen::generateCatalog(options);
    if (!quarnel_gen::writeCatalogFile(out, text)) {
        std::fprintf(stderr, "quarnel-gen: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %zu bytes, %d FBlocks x %d functions\n", out.c_str(), text.size(), options.fblocks,
                options.functionsPerFBlock);
    return 0;
}
