#include "Catalog.h"

#include <cctype>

namespace quarnel {

bool equalNames(std::string_view a, std::string_view b, bool ignoreCase) {
    if (a.size() != b.size()) return false;
    if (!ignoreCase) return a == b;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

namespace {
bool hasInstance(const Catalog& c, const FBlockDef& fb, std::uint32_t instance) {
    // 0 and 0xFF address whichever instance is there; -1 is any.
    if (instance == 0xFFFFFFFFu || instance == 0 || instance == 0xFF || fb.instances.count == 0) return true;
    for (std::uint32_t i = fb.instances.first; i < fb.instances.end(); ++i) {
        if (c.instances[i] == instance) return true;
    }
    return false;
}
} // namespace

const FBlockDef* Catalog::findFBlock(std::int32_t id, bool withHidden, std::uint32_t instance) const {
    for (const FBlockDef& fb : fblocks) {
        if (fb.id == id && (withHidden || !fb.hidden) && hasInstance(*this, fb, instance)) return &fb;
    }
    return nullptr;
}

const FBlockDef* Catalog::findFBlock(std::string_view name, bool withHidden, std::uint32_t instance,
                                     bool ignoreCase) const {
    for (const FBlockDef& fb : fblocks) {
        if ((withHidden || !fb.hidden) && equalNames(view(fb.name), name, ignoreCase) &&
            hasInstance(*this, fb, instance))
            return &fb;
    }
    return nullptr;
}

const FunctionDef* Catalog::findFunction(const FBlockDef& fb, std::int32_t id, bool withHidden) const {
    for (std::uint32_t i = fb.functions.first; i < fb.functions.end(); ++i) {
        const FunctionDef& fn = functions[i];
        if (fn.id == id && (withHidden || !fn.hidden)) return &fn;
    }
    return nullptr;
}

const FunctionDef* Catalog::findFunction(const FBlockDef& fb, std::string_view name, bool withHidden,
                                         bool ignoreCase) const {
    for (std::uint32_t i = fb.functions.first; i < fb.functions.end(); ++i) {
        const FunctionDef& fn = functions[i];
        if ((withHidden || !fn.hidden) && equalNames(view(fn.name), name, ignoreCase)) return &fn;
    }
    return nullptr;
}

const OpTypeDef* Catalog::findOpType(const FunctionDef& fn, std::int32_t id, bool withHidden) const {
    for (std::uint32_t i = fn.opTypes.first; i < fn.opTypes.end(); ++i) {
        const OpTypeDef& op = opTypes[i];
        if (op.id == id && (withHidden || !op.hidden)) return &op;
    }
    return nullptr;
}

const OpTypeDef* Catalog::findOpType(const FunctionDef& fn, std::string_view name, bool withHidden,
                                     bool ignoreCase) const {
    for (std::uint32_t i = fn.opTypes.first; i < fn.opTypes.end(); ++i) {
        const OpTypeDef& op = opTypes[i];
        if ((withHidden || !op.hidden) && equalNames(view(op.name), name, ignoreCase)) return &op;
    }
    return nullptr;
}

} // namespace quarnel
