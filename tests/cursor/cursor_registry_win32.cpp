// Test support for cursor hiding: whole-key snapshots and small registry edits of the current user.
#include "tests/cursor/cursor_registry_win32.h"

#include <shlobj.h>

#include "config/support_folder.h"

KeySnapshot SnapshotKey(HKEY hive, const wchar_t* path) {
    KeySnapshot snapshot;
    HKEY key = nullptr;
    if (RegOpenKeyExW(hive, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return snapshot;
    for (DWORD index = 0; index < 1000; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        BYTE data[8192];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        snapshot[std::wstring(name, nameLength)] =
            StoredValue{type, std::vector<BYTE>(data, data + size)};
    }
    RegCloseKey(key);
    return snapshot;
}

bool KeyExists(HKEY hive, const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(hive, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool DeleteKeyTree(HKEY hive, const wchar_t* path) {
    RegDeleteTreeW(hive, path);
    RegDeleteKeyW(hive, path);
    return !KeyExists(hive, path);
}

void DeleteValue(HKEY hive, const wchar_t* path, const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(hive, path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

namespace {

void SetValue(HKEY hive, const wchar_t* path, const wchar_t* name, DWORD type, const void* data,
              DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(hive, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

}  // namespace

void SetText(HKEY hive, const wchar_t* path, const wchar_t* name, const std::wstring& text) {
    SetValue(hive, path, name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

void SetNumber(HKEY hive, const wchar_t* path, const wchar_t* name, DWORD value) {
    SetValue(hive, path, name, REG_DWORD, &value, sizeof value);
}

std::wstring TextOf(const KeySnapshot& snapshot, const std::wstring& name) {
    auto it = snapshot.find(name);
    if (it == snapshot.end()) return L"<absent>";
    const std::vector<BYTE>& data = it->second.Data;
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

bool InstallNullCursorIntoSupportFolder() {
    wchar_t support[kSupportFolderCapacity] = {};
    GetSupportFolder(support);
    SHCreateDirectoryExW(nullptr, support, nullptr);
    std::wstring source = L"Z:" TARNIX_WIDE_NULL_CURSOR_FILE;
    for (wchar_t& c : source) c = c == L'/' ? L'\\' : c;
    const std::wstring target = std::wstring(support) + L"\\null.cur";
    return CopyFileW(source.c_str(), target.c_str(), FALSE) != 0;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}
