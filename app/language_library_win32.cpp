// The language library: locale id, suffix table, English fallback, with their traces.
#include <cwchar>

#include "app/language_library.h"
#include "config/debug_trace.h"
#include "config/language_table.h"

HMODULE LoadLanguageLibrary() {
    wchar_t languageId[12] = {};
    const wchar_t* id = nullptr;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTLANGUAGE, languageId, 12) == 0) {
        DebugPrint(L"Tarnix.exe: %s", L"Tarnix:GetLocaleInfo Failed, Defaulting to English \n");
    } else {
        id = languageId;
        wchar_t line[64];
        std::swprintf(line, 64, L"Tarnix:the Language code is %ls", languageId);
        DebugPrint(L"Tarnix.exe: %s", line);
    }
    bool first = true;
    for (const std::wstring& name : LanguageLibraryNames(id)) {
        if (!first) DebugPrint(L"Tarnix.exe: %s", L"Tarnix: Default Loading QuvaStrings_ENG\n");
        first = false;
        if (HMODULE library = LoadLibraryW(name.c_str())) {
            DebugPrint(L"Tarnix.exe: language library %s loaded", name.c_str());
            return library;
        }
    }
    DebugPrint(L"Tarnix.exe: %s", L"no language library: using the program's own texts");
    return nullptr;
}
