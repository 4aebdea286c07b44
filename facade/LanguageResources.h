// Module start-up: the host's settings folder, the language number, the language resource module
// next to this module, and numbered texts from it.
#pragma once
#include <windows.h>

#include <string>

// The settings folder: the path named by "SettingsFolder" in [UserSelection] of kcustom.ini in the
// folder above this module's folder, when it exists; otherwise this module's folder. False only
// when this module's path holds no separator.
bool GetSettingsFolder(std::string& folder);

// 49 when Country in [Language] of tolmar.ini in the settings folder is 49, else 1; fixed for the
// process once asked.
unsigned GetLanguageNumber();

// Loads PelorinNN next to this module once: 0 when loaded (now or before) or when this module's
// path holds no separator, -1 when it is not available (and will not be tried again).
int LoadLanguageResources();

HMODULE GetLanguageModule();

// The text of a numbered string of the language module (at most 255 characters); empty when no
// language module is loaded or the string does not exist.
std::string LoadResourceText(UINT number);

// Frees the language module at module end.
void FreeLanguageResources();

// This module's own handle.
HMODULE ThisModule();
