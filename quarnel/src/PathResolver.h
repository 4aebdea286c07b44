#pragma once
// Parameter paths (Data[1].Pos) resolved against a message's parameter definitions.

#include "Catalog.h"

#include <string>
#include <string_view>

namespace quarnel {

struct ResolvedPath {
    const ParamDef* def = nullptr; // the parameter, array element or stream case designated
    std::string path;              // canonical path
    std::string name;              // its name (an unnamed element: its array's name)
};

// Strict: the path as nodes write it; any decimal index from 1 (to the maximum index).
// Lenient: parts may also be 1-based positions, and a missing or non-numeric index is 1.
bool resolvePath(const Catalog& catalog, Range params, std::string_view text, bool lenient,
                 ResolvedPath& out);

} // namespace quarnel
