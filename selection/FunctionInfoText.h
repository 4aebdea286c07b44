// The tooltip text of a catalog tree row: descriptions, a function's type and class, a
// parameter's value table.
#pragma once
#include "selection/MXSTreeItem.h"

#include <string>

std::string BuildInfoText(const KMXSTreeItem& item, unsigned long managerHandle);

// The text of a function class code (0 to 29; "Undefined" for any other).
const char* FunctionClassText(int code);
