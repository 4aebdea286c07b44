// The one-line description of a parameter's data type, size and range for the selection
// dialog's type field.
#pragma once
#include <Quarnel.h>

#include <string>

std::string BuildParameterTypeText(KQRNNode* node);
