// Display texts of catalog entries: an FBlock, function or OpType shown with its name and its
// identifier in one of three formats, and the names of parameter type codes.
#pragma once
#include <cstdint>
#include <string>

// One line of the input assistance lists: a display text and a key whose meaning depends on the
// list.
struct ListEntry {
    std::string text;
    std::int32_t key = 0;
};

// Display formats: name first, hexadecimal first, decimal first.
enum DisplayFormat { kNameFirst = 0, kHexFirst = 1, kDecimalFirst = 2 };

// Minimum hexadecimal digits of the identifiers of each level.
enum IdWidth { kFBlockDigits = 2, kFunctionDigits = 3, kOpTypeDigits = 1 };

// "AudioAmplifier (0x22)", "0x22 (AudioAmplifier)" or "34 (AudioAmplifier)"; any format other than
// 0 and 1 counts as 2.
std::string FormatEntryText(const std::string& name, std::int32_t id, int format, int digits);

// The identifier carried by a display text in the given format; 0 when none can be read.
int ParseEntryId(const std::string& text, int format);

// The text before the first " (": the name in format 0, the number in formats 1 and 2.
std::string GetEntryHead(const std::string& text);

// "Undefined", "Error", ... for the type codes 0 to 14; "Unknown" for any other.
const char* GetParameterTypeName(int code);

// Reads name and identifier back out of an FBlock text standing in the given format.
void ParseFBlockText(const std::string& text, int format, std::string& name, std::int32_t& id);
