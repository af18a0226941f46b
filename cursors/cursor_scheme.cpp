// The text rules of cursor hiding: table lookup, hidden marker, scheme list reading, path
// variables.
#include "cursors/cursor_scheme.h"

#include <cwchar>
#include <cwctype>

const CursorTableEntry CursorTable[kCursorTableSize] = {
    {L"Arrow", 32512},    {L"AppStarting", 32650}, {L"Wait", 32514},    {L"Crosshair", 32515},
    {L"IBeam", 32513},    {L"No", 32648},          {L"SizeNS", 32645},  {L"SizeWE", 32644},
    {L"SizeNWSE", 32642}, {L"SizeNESW", 32643},    {L"SizeAll", 32646}, {L"UpArrow", 32516},
    {L"Hand", 32649},
};

uint32_t FindCursorId(const wchar_t* valueName) {
    if (valueName == nullptr) return 0;
    for (const CursorTableEntry& entry : CursorTable) {
        if (std::wcscmp(entry.Name, valueName) == 0) return entry.Id;
    }
    return 0;
}

bool IsHiddenSchemeName(const wchar_t* schemeName) {
    if (schemeName == nullptr) return false;
    std::wstring lower(schemeName);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower.find(L"quva") != std::wstring::npos;
}

namespace {

std::wstring WithoutTrailingBackslash(const std::wstring& folder) {
    std::wstring result = folder;
    while (!result.empty() && result.back() == L'\\') result.pop_back();
    return result;
}

}  // namespace

std::wstring NullCursorPath(const std::wstring& windowsFolder) {
    return WithoutTrailingBackslash(windowsFolder) + L"\\cursors\\" + kNullCursorFileName;
}

std::wstring BuildNullCursorScheme(const std::wstring& windowsFolder) {
    static const wchar_t kPattern[] = L"E,N,E,E,E,E,N,E,E,E,E,E,E,E";
    const std::wstring file = NullCursorPath(windowsFolder);
    std::wstring list;
    for (const wchar_t* c = kPattern; *c != L'\0'; ++c) {
        if (*c == L'E') list += file + L",";
        if (*c == L'N') list += L",";
    }
    if (!list.empty()) list.pop_back();
    if (list.size() > kSchemeListCapacity) list.resize(kSchemeListCapacity);
    return list;
}

bool NextSchemeCursorFile(SchemeListReader& reader, const std::wstring& windowsFolder,
                          std::wstring& path) {
    const std::wstring& list = reader.List;
    if (reader.Position >= list.size()) return false;
    size_t start = reader.Position;
    size_t comma = list.find(L',', start + 1);
    while (comma != std::wstring::npos && comma - start <= 1) {
        ++start;
        comma = list.find(L',', start + 1);
    }
    const size_t end = comma == std::wstring::npos ? list.size() : comma;
    reader.Position = comma == std::wstring::npos ? list.size() : comma + 1;
    const std::wstring entry = list.substr(start, end - start);
    const size_t cursors = entry.find(L"\\cursors");
    if (cursors == std::wstring::npos) return false;
    path = WithoutTrailingBackslash(windowsFolder) + entry.substr(cursors);
    return true;
}

std::wstring JoinPathComponent(const std::wstring& head, const std::wstring& tail) {
    size_t skip = 0;
    while (skip < tail.size() && tail[skip] == L'\\') ++skip;
    const std::wstring rest = tail.substr(skip);
    if (head.empty()) return rest;
    if (rest.empty()) return head;
    return head.back() == L'\\' ? head + rest : head + L"\\" + rest;
}

bool ExpandPathVariables(std::wstring& path, const EnvironmentLookup& lookup) {
    const size_t first = path.find(L'%');
    if (first == std::wstring::npos) return !path.empty() && path.size() < kCursorPathCapacity;
    const size_t second = path.find(L'%', first + 1);
    if (second == std::wstring::npos) return false;
    std::wstring name = path.substr(first + 1, second - first - 1);
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    const std::wstring value = lookup ? lookup(name) : std::wstring();
    std::wstring expanded = JoinPathComponent(path.substr(0, first), value);
    expanded = JoinPathComponent(expanded, path.substr(second + 1));
    if (expanded.empty() || expanded.size() >= kCursorPathCapacity) return false;
    path = expanded;
    return true;
}
