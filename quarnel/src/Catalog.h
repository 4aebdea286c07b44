#pragma once
// Immutable in-memory form of one catalog file. Shared (std::shared_ptr<const Catalog>)
// by managers, the load cache, messages and containers, so that any of them may outlive
// the others. Texts live in one pool; records refer to them by offset.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

struct Text {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    bool empty() const { return length == 0; }
};

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

struct ParamDef {
    Text name;
    Text description;
    Text unit;
    std::uint8_t type = 0; // QRN_TYPE_...
    std::uint8_t role = 0; // QRN_KIND_... given by the catalog, 0 for none
    std::uint8_t size = 0; // bytes of fixed-size values (1, 2, 4)
    NumberType numberType = NumberType::UByte;
    bool prefixed = false; // short stream: one length byte first
    bool named = true;     // false for an array element without a name
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
    std::int64_t step = 1;
    std::int32_t exponent = 0;
    std::int32_t maxLength = -1; // string or raw stream; -1 none
    std::uint32_t maxIndex = 0;  // array or repeated stream case; 0 none
    std::uint32_t mask = 0;      // bit field
    std::uint8_t coding = 0;     // string coding byte
    bool indexed = false;        // stream case repeats
    std::int32_t selector = -1;  // stream: position of the selecting sibling in its sequence
    Text selectorName;
    Range children;   // record fields, array element, stream cases, case parameters
    Range values;     // enum values or bool-field bits
    Range caseValues; // stream case: selector values (empty = default case)
    Range attributes;
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

struct Catalog {
    std::string pool;
    Text name;
    Text description;
    Text version;
    std::vector<FBlockDef> fblocks;
    std::vector<FunctionDef> functions;
    std::vector<OpTypeDef> opTypes;
    std::vector<ParamDef> params;
    std::vector<NamedValue> values;
    std::vector<Attribute> attributes;
    std::vector<std::int64_t> caseValues;
    std::vector<std::uint8_t> instances;

    std::string_view view(Text t) const { return std::string_view(pool.data() + t.offset, t.length); }
    std::string str(Text t) const { return std::string(view(t)); }
    // Heap bytes held, for the memory budget.
    std::size_t memoryUse() const;

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
