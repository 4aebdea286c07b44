#include "CatalogGenerator.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>

namespace quarnel_gen {

namespace {

// Small deterministic generator (xorshift), so outputs do not depend on the library's rand.
struct Random {
    std::uint32_t state;
    explicit Random(std::uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
};

const char* const kWords[] = {"Audio", "Video", "Level",  "Mode", "Source",  "Target", "Status", "Info",
                              "Track", "Disk",  "Tuner",  "Band", "Phone",   "Route",  "Map",    "Signal",
                              "Power", "Bass",  "Treble", "Fade", "Balance", "Scan",   "Store",  "Preset"};

class Writer {
public:
    Writer(const GenOptions& o) : o_(o), rnd_(o.seed) {}

    std::string run() {
        out_.reserve(static_cast<std::size_t>(o_.fblocks) * o_.functionsPerFBlock * 1400 + 512);
        out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FunctionCatalog Name=\"";
        out_ += o_.catalogName;
        out_ += "\">\n  <CatalogVersion Release=\"1.0\" Date=\"2026-01-01\" Author=\"quarnel-gen\"/>\n";
        out_ += "  <Description>Synthetic catalog&#13;&#10;\tgenerated for load tests.</Description>\n";
        for (int b = 0; b < o_.fblocks; ++b)
            fblock(b);
        out_ += "</FunctionCatalog>\n";
        return std::move(out_);
    }

private:
    const GenOptions& o_;
    Random rnd_;
    std::string out_;

    void add(const char* fmt, long a = 0, long b = 0, long c = 0) {
        char buf[512];
        int n = std::snprintf(buf, sizeof buf, fmt, a, b, c);
        out_.append(buf, static_cast<std::size_t>(std::min(n, static_cast<int>(sizeof buf) - 1)));
    }
    std::string word() { return kWords[rnd_.below(static_cast<int>(sizeof kWords / sizeof *kWords))]; }
    // Real catalogs describe nearly everything in prose, so the text carries much of the size.
    void description(const char* indent, int minWords, int spread) {
        out_ += indent;
        out_ += "<Description>";
        const int words = minWords + rnd_.below(spread);
        for (int i = 0; i < words; ++i) {
            if (i) out_ += (i % 9 == 0) ? "&#13;&#10;\t" : " ";
            out_ += word();
        }
        out_ += ".</Description>\n";
    }

    void fblock(int b) {
        add("  <FBlock ID=\"0x%02lX\" Name=\"", b);
        out_ += o_.fblockPrefix;
        add("%03ld\">\n", b);
        description("    ", 10, 40);
        add("    <Device Name=\"Device%ld\"><Description>Device of block %ld</Description></Device>\n", b, b);
        for (int f = 0; f < o_.functionsPerFBlock; ++f)
            function(f);
        out_ += "  </FBlock>\n";
    }

    void function(int f) {
        const int shape = f % 8;
        const bool method = shape == 6;
        add("    <Function ID=\"0x%03lX\" Name=\"", f);
        out_ += word();
        add("Fn%ld\" Kind=\"", f);
        out_ += method ? "Method\" Class=\"Trigger\">\n" : "Property\">\n";
        description("      ", 20, 60);
        if (method) {
            out_ += "      <OPType ID=\"0x0\">\n";
            param("Handle", 6);
            param("Data", 9 + rnd_.below(5));
            out_ += "      </OPType>\n      <OPType ID=\"0xC\">\n";
            param("Handle", 1);
            out_ += "      </OPType>\n";
        } else {
            out_ += "      <OPType ID=\"0x0\">\n";
            param("Value", shape);
            out_ += "      </OPType>\n      <OPType ID=\"0x1\"/>\n      <OPType ID=\"0xC\">\n";
            param("Value", shape);
            param("Extra", 8 + rnd_.below(6));
            out_ += "      </OPType>\n      <OPType ID=\"0xF\">\n";
            out_ += "        <Parameter Name=\"ErrorCode\"><TErrorCode/></Parameter>\n";
            out_ += "        <Parameter Name=\"ErrorInfo\"><TRawStream MaxLength=\"64\"/></Parameter>\n";
            out_ += "      </OPType>\n";
        }
        out_ += "    </Function>\n";
    }

    // Shapes 0 to 13; the ones that take the rest of the data come last in their OPType.
    void param(const char* name, int shape) {
        out_ += "        <Parameter Name=\"";
        out_ += name;
        out_ += "\">\n";
        description("          ", 6, 24);
        switch (shape) {
        case 0: {
            const int max = 10 + rnd_.below(240);
            add("          <TNumber Type=\"UByte\" Min=\"0\" Max=\"%ld\" Step=\"1\" Unit=\"dB\"/>\n", max);
            break;
        }
        case 1:
            add("          <TNumber Type=\"SWord\" Min=\"-%ld\" Max=\"%ld\" Exponent=\"-1\"/>\n",
                100 + rnd_.below(900), 100 + rnd_.below(900));
            break;
        case 2: {
            const int values = 2 + rnd_.below(40);
            out_ += "          <TEnum>\n";
            for (int v = 0; v < values; ++v) {
                add("            <TEnumValue Code=\"0x%02lX\" Name=\"", v);
                out_ += word();
                if (v % 2) {
                    add("%ld\">\n", v);
                    description("              ", 3, 12);
                    out_ += "            </TEnumValue>\n";
                } else {
                    add("%ld\"/>\n", v);
                }
            }
            out_ += "          </TEnum>\n";
            break;
        }
        case 3:
            out_ += "          <TBool/>\n";
            break;
        case 4:
            out_ += "          <TBoolField Size=\"2\">\n";
            for (int bit = 0; bit < 6; ++bit)
                add("            <TBit Pos=\"%ld\" Name=\"Flag%ld\"/>\n", bit * 2, bit);
            out_ += "          </TBoolField>\n";
            break;
        case 5:
            add("          <TString MaxLength=\"%ld\"/>\n", 16 + rnd_.below(48));
            break;
        case 6:
            out_ += "          <TBitField Size=\"1\" Mask=\"0x3C\"/>\n";
            break;
        case 7:
            out_ += "          <TShortStream MaxLength=\"32\"/>\n";
            break;
        case 8:
            out_ += "          <TVoid/>\n";
            break;
        case 9:
            add("          <TArray MaxIndex=\"%ld\">\n            <Parameter>\n              <TRecord>\n",
                8 + rnd_.below(56));
            out_ += "                <Parameter Name=\"Pos\" Role=\"position\"><TNumber "
                    "Type=\"UWord\"/></Parameter>\n";
            out_ += "                <Parameter Name=\"Label\"><TString MaxLength=\"40\"/></Parameter>\n";
            out_ += "              </TRecord>\n            </Parameter>\n          </TArray>\n";
            break;
        case 10:
            out_ += "          <TStream>\n            <TStreamCase Name=\"Entries\" MaxIndex=\"16\">\n";
            out_ += "              <Parameter Name=\"Id\"><TNumber Type=\"ULong\"/></Parameter>\n";
            out_ += "            </TStreamCase>\n          </TStream>\n";
            break;
        case 11:
            out_ += "          <TRawStream/>\n";
            break;
        case 12:
            out_ += "          <TFunctionIDs/>\n";
            break;
        default:
            out_ += "          <TUndefined/>\n";
            break;
        }
        out_ += "        </Parameter>\n";
    }
};

} // namespace

std::string generateCatalog(const GenOptions& options) {
    GenOptions o = options;
    o.fblocks = std::clamp(o.fblocks, 1, 256);
    o.functionsPerFBlock = std::clamp(o.functionsPerFBlock, 1, 4096);
    if (o.catalogName.empty()) o.catalogName = "Synthetic";
    return Writer(o).run();
}

std::vector<GenOptions> spreadOverCatalogs(int fblocks, int functionsPerFBlock) {
    static const char* const prefixes[] = {"SynthBlock", "OtherBlock", "ThirdBlock", "FinalBlock",
                                           "FifthBlock", "SixthBlock", "SeventhBlock", "EighthBlock"};
    std::vector<GenOptions> out;
    for (int i = 0; fblocks > 0 && i < 8; ++i, fblocks -= 250) {
        GenOptions o;
        o.fblocks = std::min(fblocks, 250);
        o.functionsPerFBlock = functionsPerFBlock;
        o.seed = static_cast<unsigned>(i + 1);
        o.catalogName = std::string("Synthetic") + static_cast<char>('A' + i);
        o.fblockPrefix = prefixes[i];
        out.push_back(o);
    }
    return out;
}

GenOptions optionsForSize(std::size_t targetBytes, unsigned seed) {
    GenOptions probe;
    probe.fblocks = 1;
    probe.functionsPerFBlock = 256;
    probe.seed = seed;
    const double perFunction = static_cast<double>(generateCatalog(probe).size()) / 256.0;
    const long functions = std::max(1L, static_cast<long>(static_cast<double>(targetBytes) / perFunction));
    GenOptions o;
    o.seed = seed;
    o.fblocks = static_cast<int>(std::clamp(functions / 200 + 1, 1L, 256L));
    o.functionsPerFBlock = static_cast<int>(std::clamp((functions + o.fblocks - 1) / o.fblocks, 1L, 4096L));
    return o;
}

bool writeCatalogFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

} // namespace quarnel_gen
