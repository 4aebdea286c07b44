#pragma once
// Synthetic catalogs of any size, for benchmarks and stress tests. The output is valid in the
// catalog format (FORMAT.md) and uses every parameter type; the same options and seed always
// give the same text.

#include <cstddef>
#include <string>
#include <vector>

namespace quarnel_gen {

struct GenOptions {
    int fblocks = 8;             // 1 to 256; ids 0x00, 0x01, ...
    int functionsPerFBlock = 16; // 1 to 4096; ids 0x000, 0x001, ...
    unsigned seed = 1;           // varies names, ranges and description lengths
    std::string catalogName = "Synthetic";
    std::string fblockPrefix = "SynthBlock"; // FBlock names: the prefix and a three-digit number
};

// Options for catalogs that hold fblocks FBlocks between them, 250 in each: FBlock ids have one
// byte, so each catalog names its FBlocks with another prefix ("SyntheticA" has "SynthBlock000",
// "SyntheticB" "OtherBlock000", ...; at most 8 catalogs).
std::vector<GenOptions> spreadOverCatalogs(int fblocks, int functionsPerFBlock);

// Catalog text for the options (clamped to the ranges above).
std::string generateCatalog(const GenOptions& options);

// Options whose catalog is about targetBytes long (never less than one FBlock and function).
GenOptions optionsForSize(std::size_t targetBytes, unsigned seed = 1);

// Writes text to path; false when that fails.
bool writeCatalogFile(const std::string& path, const std::string& text);

} // namespace quarnel_gen
