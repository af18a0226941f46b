// Registry values of one key: enumerated, and lists read, written, cleared and copied (Win32 only).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The largest value the whole-key operations handle: longer names and larger data are passed over.
constexpr DWORD kMaxRegistryValueName = 127;  // characters, without the terminator
constexpr DWORD kMaxRegistryValueData = 520;  // bytes
// The most values of one key that are copied, saved or put back.
constexpr int kMaxRegistryKeyValues = 32;

// One value of a list; a list ends at the first entry whose Name is empty (or null).
struct RegistryValueSpec {
    DWORD Found;  // set by ReadRegistryValues; WriteRegistryValues writes only entries with 1
    const wchar_t* Name;  // "(Default)" stands for the key's unnamed value
    DWORD Type;           // REG_SZ, REG_DWORD, ...
    DWORD Size;           // bytes of Data; 0 before a read asks for a buffer of the stored size
    void* Data;
};

constexpr size_t kRegistryKeyPathCapacity = 260;

// The key the last list operation worked on and how it ended.
struct RegistryStatus {
    wchar_t KeyPath[kRegistryKeyPathCapacity];
    DWORD LastError;  // registry error of the last failed call; 0 after a successful open
    HKEY Key;         // an open key for DeleteRegistryValues
};

// Stores keyPath, cut to the capacity, as the key of the next list operation.
void SetRegistryKeyPath(RegistryStatus& status, const wchar_t* keyPath);

// One value of a key as enumerated; the key's unnamed value has an empty Name.
struct RegistryValue {
    std::wstring Name;
    DWORD Type = 0;
    std::vector<BYTE> Data;  // empty when only the names are enumerated
};

// Hands the values of the open key to visit in index order until visit returns false or the
// values end; with withData false only the names are read. A value whose name or data exceed the
// limits above is passed over. ERROR_SUCCESS, or the registry error that ended the enumeration.
LONG VisitRegistryValues(HKEY key, bool withData,
                         const std::function<bool(const RegistryValue&)>& visit);

// The first maxValues values of the open key that VisitRegistryValues hands over.
std::vector<RegistryValue> ListRegistryValues(HKEY key, bool withData, size_t maxValues);

// Reads every value of the list from hive\keyPath; returns the number read. An entry whose
// buffer is too small for the stored value is not read (Found 0) and keeps its Size. An entry
// with Size 0 gets a zero-filled buffer (new BYTE[]) two bytes larger than the stored value; it
// belongs to the entry from then on.
int ReadRegistryValues(HKEY hive, const wchar_t* keyPath, RegistryValueSpec* list,
                       RegistryStatus& status);

// Writes the entries with Found 1 into hive\status.KeyPath (from "System" on, when the path holds
// it), creating the key; returns the number written.
int WriteRegistryValues(HKEY hive, RegistryValueSpec* list, RegistryStatus& status);

// Deletes the values of status.Key (at most 31 of them) and closes it.
void DeleteRegistryValues(RegistryStatus& status);

// Copies up to kMaxRegistryKeyValues values of HKCU\fromKey into the existing HKCU\toKey; values
// beyond the limits are skipped. Traces the outcome.
void RegCopyValues(RegistryStatus& status, const wchar_t* toKey, const wchar_t* fromKey);
