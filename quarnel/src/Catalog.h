#pragma once
// Immutable in-memory form of one catalog file. Shared (std::shared_ptr<const Catalog>)
// by managers, the load cache, messages and containers, so that any of them may outlive
// the others. Texts live in a pool; records refer to them by position.

#include "ChunkedVector.h"
#include "TextPool.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

// A contiguous run of records in one of the catalog's vectors.
struct Range {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::uint32_t end() const { return first + count; }
};

enum class NumberType : std::uint8_t { UByte, UWord, ULong, SByte, SWord, SLong };

struct NamedValue {        // enum value or bool-field bit
    std::int64_t code = 0; // enum code or bit position
    Text name;
    Text description;
};

struct Attribute {
    std::int32_t id = 0;
    std::int32_t value = 0;
};

// Range and unit of a number parameter, apart from ParamDef to keep that small.
struct NumberDef {
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
    std::int64_t step = 1;
    Text unit;
    std::int8_t exponent = 0;
    NumberType numberType = NumberType::UByte;
};

struct ParamDef {
    Text name;
    Text description;
    Range children; // record fields, array element, stream cases, case parameters
    Range values;   // enum values, bool-field bits, or a stream case's selector values (no names)
    Range attributes;
    std::uint32_t mask = 0;      // bit field
    std::uint32_t number = 0;    // number: index of its NumberDef
    std::uint16_t maxLength = 0; // string or raw stream; 0 none
    std::uint16_t maxIndex = 0;  // array or repeated stream case; 0 none
    std::int16_t selector = -1;  // stream: position of the selecting sibling in its sequence
    std::uint8_t type = 0;       // QRN_TYPE_...
    std::uint8_t role = 0;       // QRN_KIND_...
    std::uint8_t size = 0;       // bytes of fixed-size values (1, 2, 4)
    std::uint8_t coding = 0;     // string coding byte
    bool prefixed = false;       // short stream: one length byte first
    bool named = true;           // false for an array element without a name
    bool indexed = false;        // stream case repeats
};

struct OpTypeDef {
    std::int32_t id = 0;
    Text name;
    bool hidden = false;
    Range params;
};

struct FunctionDef {
    std::int32_t id = 0;
    Text name;
    Text description;
    std::int32_t functionClass = 0;
    std::int32_t type = 0; // QRN_FUNCTION_...
    bool hidden = false;
    Range opTypes;
};

struct FBlockDef {
    std::int32_t id = 0;
    Text name;
    Text description;
    Text deviceName;
    Text deviceDescription;
    bool hidden = false;
    Range functions;
    Range instances;
};

// Characters of the file that code page 1252 lacks, each read as '?': how many, and where
// the first one is.
struct ReplacedCharacters {
    std::size_t count = 0;
    char32_t first = 0;
    unsigned line = 0;
    unsigned column = 0;
};

struct Catalog {
    TextPool pool;
    Text name;
    Text description;
    Text version;
    std::vector<FBlockDef> fblocks;
    ChunkedVector<FunctionDef> functions;
    ChunkedVector<OpTypeDef> opTypes;
    ChunkedVector<ParamDef> params;
    ChunkedVector<NamedValue> values;
    ChunkedVector<NumberDef> numbers;
    std::vector<Attribute> attributes;
    std::vector<std::uint8_t> instances;
    ReplacedCharacters replaced;

    std::string_view view(Text t) const { return pool.view(t); }
    const NumberDef& number(const ParamDef& d) const { return numbers[d.number]; }
    std::string str(Text t) const { return std::string(view(t)); }

    const FBlockDef* findFBlock(std::int32_t id, bool withHidden, std::uint32_t instance) const;
    const FBlockDef* findFBlock(std::string_view name, bool withHidden, std::uint32_t instance,
                                bool ignoreCase) const;
    const FunctionDef* findFunction(const FBlockDef& fb, std::int32_t id, bool withHidden) const;
    const FunctionDef* findFunction(const FBlockDef& fb, std::string_view name, bool withHidden,
                                    bool ignoreCase) const;
    const OpTypeDef* findOpType(const FunctionDef& fn, std::int32_t id, bool withHidden) const;
    const OpTypeDef* findOpType(const FunctionDef& fn, std::string_view name, bool withHidden,
                                bool ignoreCase) const;
};

bool equalNames(std::string_view a, std::string_view b, bool ignoreCase);

} // namespace quarnel
