// Loading the language library of the user's locale, with the English and built-in fallbacks.
#pragma once

#include <windows.h>

// The library for the user's default language id, else "QuvaStrings_ENG"; none when neither
// loads (the window then shows its own texts 130 and 131).
HMODULE LoadLanguageLibrary();
