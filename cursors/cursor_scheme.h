// The text rules of cursor hiding: the cursor table, scheme lists, the hidden marker and path
// variables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// One row of the cursor table: a value name under "Control Panel\Cursors" and the system cursor
// identifier it replaces.
struct CursorTableEntry {
    const wchar_t* Name;
    uint32_t Id;
};

inline constexpr size_t kCursorTableSize = 13;
extern const CursorTableEntry CursorTable[kCursorTableSize];

// The scheme name that marks the cursors as hidden, and the invisible cursor's file name.
inline constexpr const wchar_t* kHiddenSchemeName = L"Quva";
inline constexpr const wchar_t* kNullCursorFileName = L"null.cur";

// Longest scheme list, in characters, and longest path, in characters with the terminator.
inline constexpr size_t kSchemeListCapacity = 3900;
inline constexpr size_t kCursorPathCapacity = 260;

// The system cursor identifier of a cursor value name (exact, case-sensitive); 0 when none.
uint32_t FindCursorId(const wchar_t* valueName);

// True when the active scheme name, lower-cased, contains "quva".
bool IsHiddenSchemeName(const wchar_t* schemeName);

// The invisible cursor inside the Windows cursors folder: windowsFolder + "\cursors\null.cur".
std::wstring NullCursorPath(const std::wstring& windowsFolder);

// The default scheme list: 14 entries from the pattern "E,N,E,E,E,E,N,E,E,E,E,E,E,E", each "E" the
// invisible cursor inside the cursors folder, each "N" empty. Its 12 files serve rows 1 to 12.
std::wstring BuildNullCursorScheme(const std::wstring& windowsFolder);

// Reads a scheme list entry by entry. Consecutive commas are passed over, so an empty entry
// serves no row; an entry is usable only when it holds "\cursors" (case-sensitive), and its file
// is the Windows folder joined with the entry's text from "\cursors" on.
struct SchemeListReader {
    explicit SchemeListReader(std::wstring list) : List(std::move(list)) {}
    std::wstring List;
    size_t Position = 0;
};

// The next cursor file of the list, or false at the end of the list or at an unusable entry
// (which is consumed).
bool NextSchemeCursorFile(SchemeListReader& reader, const std::wstring& windowsFolder,
                          std::wstring& path);

// Looks a variable up in the environment; an empty text when it is not set.
using EnvironmentLookup = std::function<std::wstring(const std::wstring& name)>;

// Expands the first %VARIABLE% of path in place (the name upper-cased, its value joined to the
// text before it as a path component, then the rest joined likewise). A path without "%" is kept.
// False for an empty result, an unmatched "%" or a result longer than kCursorPathCapacity - 1.
bool ExpandPathVariables(std::wstring& path, const EnvironmentLookup& lookup);

// Joins two path components with exactly one backslash between them; an empty side adds nothing.
std::wstring JoinPathComponent(const std::wstring& head, const std::wstring& tail);
