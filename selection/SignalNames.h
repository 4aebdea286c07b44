// Signal names: "FBlock.Function.OpType.parameter" by names or by hexadecimal identifiers, checked
// against the catalogs and turned into the normalised name catalog.FBlock.Function.OpType.path.
#pragma once
#include <Quarnel.h>

#include <string>

// The parameter part with every bracketed index written as [1]; text after a '[' that has no
// ']' is copied unchanged.
std::string NormaliseIndices(const std::string& parameterPart);

// True when the signal names a parameter of the catalogs; its normalised name then goes to
// *normalised. May clear keepFilter (a selection of another OpType than Status, or of Pos).
bool CheckSignalName(KQRNFCatManager* manager, const std::string& signal, std::string* normalised, bool& keepFilter);
