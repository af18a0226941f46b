// Language ids of the user's locale ("0409", "040c", ...) mapped to the suffix of the language
// library "QuvaStrings_XXX".
#pragma once

// The suffix for an exact, case-sensitive id; "ENG" for none or an unknown id.
const wchar_t* LanguageSuffixForId(const wchar_t* languageId);
