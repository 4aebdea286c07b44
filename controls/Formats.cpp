#include "controls/Formats.h"

#include <algorithm>
#include <cstring>

bool BaseFormat::IsValidChar(char c) { return std::find(allowed.begin(), allowed.end(), c) != allowed.end(); }

HexAndWildcardFormat::HexAndWildcardFormat() {
    const char* chars = "0123456789ABCDEFabcdef*";
    allowed.assign(chars, chars + std::strlen(chars));
}
