// The table of language ids and library suffixes.
#include "config/language_table.h"

#include <cwchar>

namespace {

struct LanguageEntry {
    const wchar_t* Id;
    const wchar_t* Suffix;
};

constexpr LanguageEntry kLanguages[] = {
    {L"0409", L"ENG"}, {L"0809", L"ENG"}, {L"0c09", L"ENG"}, {L"1009", L"ENG"}, {L"1409", L"ENG"},
    {L"1809", L"ENG"}, {L"1c09", L"ENG"}, {L"2009", L"ENG"}, {L"2409", L"ENG"}, {L"2809", L"ENG"},
    {L"2c09", L"ENG"}, {L"040c", L"FRE"}, {L"080c", L"FRE"}, {L"0c0c", L"FRE"}, {L"100c", L"FRE"},
    {L"140c", L"FRE"}, {L"0407", L"GER"}, {L"0807", L"GER"}, {L"0c07", L"GER"}, {L"1007", L"GER"},
    {L"1407", L"GER"}, {L"0410", L"ITA"}, {L"0810", L"ITA"}, {L"040a", L"SPA"}, {L"080a", L"SPA"},
    {L"0c0a", L"SPA"}, {L"100a", L"SPA"}, {L"140a", L"SPA"}, {L"180a", L"SPA"}, {L"1c0a", L"SPA"},
    {L"200a", L"SPA"}, {L"240a", L"SPA"}, {L"280a", L"SPA"}, {L"2c0a", L"SPA"}, {L"300a", L"SPA"},
    {L"340a", L"SPA"}, {L"380a", L"SPA"}, {L"3c0a", L"SPA"}, {L"400a", L"SPA"}, {L"440a", L"SPA"},
    {L"480a", L"SPA"}, {L"4c0a", L"SPA"}, {L"500a", L"SPA"}, {L"0411", L"JAP"}, {L"0404", L"CHI"},
    {L"0c04", L"CHI"}, {L"1404", L"CHI"}, {L"0804", L"MDN"}, {L"1004", L"MDN"},
};

}  // namespace

const wchar_t* LanguageSuffixForId(const wchar_t* languageId) {
    if (languageId == nullptr) return L"ENG";
    for (const LanguageEntry& entry : kLanguages)
        if (std::wcscmp(entry.Id, languageId) == 0) return entry.Suffix;
    return L"ENG";
}

std::vector<std::wstring> LanguageLibraryNames(const wchar_t* languageId) {
    std::wstring english = L"QuvaStrings_ENG";
    std::wstring wanted = std::wstring(L"QuvaStrings_") + LanguageSuffixForId(languageId);
    if (wanted == english) return {english};
    return {wanted, english};
}
