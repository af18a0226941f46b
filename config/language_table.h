// Language ids of the user's locale ("0409", "040c", ...) mapped to the suffix of the language
// library "QuvaStrings_XXX".
#pragma once

#include <string>
#include <vector>

// The suffix for an exact, case-sensitive id; "ENG" for none or an unknown id.
const wchar_t* LanguageSuffixForId(const wchar_t* languageId);

// The language libraries to try, in order: the one for the id, then English; English alone when
// the locale query failed (languageId none).
std::vector<std::wstring> LanguageLibraryNames(const wchar_t* languageId);
