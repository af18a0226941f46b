// Test support for cursor hiding: whole-key snapshots and small registry edits of the current user.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// One value: its type and bytes.
struct StoredValue {
    DWORD Type = 0;
    std::vector<BYTE> Data;
    bool operator==(const StoredValue& other) const = default;
};
using KeySnapshot = std::map<std::wstring, StoredValue>;

// Every value of hive\path (an empty map when the key is missing); the default value is named "".
KeySnapshot SnapshotKey(HKEY hive, const wchar_t* path);
bool KeyExists(HKEY hive, const wchar_t* path);

// Removes the key and its subkeys; true when it is gone.
bool DeleteKeyTree(HKEY hive, const wchar_t* path);
void DeleteValue(HKEY hive, const wchar_t* path, const wchar_t* name);

// Writes a text or 32-bit value, creating the key; name null for the default value.
void SetText(HKEY hive, const wchar_t* path, const wchar_t* name, const std::wstring& text);
void SetNumber(HKEY hive, const wchar_t* path, const wchar_t* name, DWORD value);

// The text of a snapshot value, or "<absent>".
std::wstring TextOf(const KeySnapshot& snapshot, const std::wstring& name);

// Places the shipped null.cur into the support folder, as the installation does.
bool InstallNullCursorIntoSupportFolder();

// Windows paths compare without regard to case.
bool SamePath(const std::wstring& a, const std::wstring& b);
