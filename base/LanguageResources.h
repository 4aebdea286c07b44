// Module start-up: the host's settings folder, the language number, the language resource module
// next to this module, and numbered texts from it.
#pragma once
#include "base/PelorinApi.h"

#include <windows.h>

#include <string>

// The settings folder: the path named by "SettingsFolder" in [UserSelection] of kcustom.ini in the
// folder above this module's folder, when it exists; otherwise this module's folder. False only
// when this module's path holds no separator.
PELORIN_API bool GetSettingsFolder(std::string& folder);

// 49 when Country in [Language] of tolmar.ini in the settings folder is 49, else 1; fixed for the
// process once asked.
PELORIN_API unsigned GetLanguageNumber();

// Loads PelorinNN next to this module once: 0 when loaded (now or before) or when this module's
// path holds no separator, -1 when it is not available (and will not be tried again).
PELORIN_API int LoadLanguageResources();

PELORIN_API HMODULE GetLanguageModule();

// The text of a numbered string of the language module (at most 255 characters); empty when no
// language module is loaded or the string does not exist.
PELORIN_API std::string LoadResourceText(UINT number);

// Frees the language module at module end.
void FreeLanguageResources();

// This module's own handle.
HMODULE ThisModule();

// The settings folder for a module path (the rule of GetSettingsFolder); false when the path
// holds no separator.
bool SettingsFolderFor(const std::string& modulePath, std::string& folder);
// The language module's file name for a module path and a language number; empty when the path
// holds no separator.
std::string LanguageModuleFor(const std::string& modulePath, unsigned number);
