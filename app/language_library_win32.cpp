// The language library: locale id, suffix table, English fallback, with their traces. Libraries
// are loaded as data only, by full path from the program's own folder: a library of the same name
// elsewhere (the working folder, the search path) is never loaded, and no code of one ever runs.
#include <cwchar>
#include <string>

#include "app/language_library.h"
#include "config/language_table.h"
#include "platform/debug_trace.h"

namespace {

// The folder of Tarnix.exe, without a trailing backslash; empty when it cannot be found.
std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

HMODULE LoadResourceLibrary(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return nullptr;
    const std::wstring path = folder + L"\\" + name + L".dll";
    return LoadLibraryExW(path.c_str(), nullptr,
                          LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
}

}  // namespace

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
    const std::wstring folder = ProgramFolder();
    bool first = true;
    for (const std::wstring& name : LanguageLibraryNames(id)) {
        if (!first) DebugPrint(L"Tarnix.exe: %s", L"Tarnix: Default Loading QuvaStrings_ENG\n");
        first = false;
        if (HMODULE library = LoadResourceLibrary(folder, name)) {
            DebugPrint(L"Tarnix.exe: language library %s loaded", name.c_str());
            return library;
        }
    }
    DebugPrint(L"Tarnix.exe: %s", L"no language library: using the program's own texts");
    return nullptr;
}

std::wstring ModuleText(HMODULE module, UINT id) {
    wchar_t buffer[1024] = {};
    if (module != nullptr) LoadStringW(module, id, buffer, 1024);
    return buffer;
}
