// Loading the language library of the user's locale, with the English and built-in fallbacks.
#pragma once

#include <windows.h>

#include <string>

// The library for the user's default language id, else "QuvaStrings_ENG"; none when neither
// loads (the window then shows its own texts 130 and 131).
HMODULE LoadLanguageLibrary();

// The text of string id in module, cut to 1023 characters; empty when module is null or has none.
std::wstring ModuleText(HMODULE module, UINT id);
