// The registry list operations on the Win32 registry.
#include <cwchar>
#include <vector>

#include "config/debug_trace.h"
#include "config/registry_values.h"

namespace {

constexpr DWORD kMaxValueNameLength = 127;  // characters, without the terminator
constexpr DWORD kMaxValueDataSize = 520;    // bytes
constexpr int kMaxDeletedValues = 31;
constexpr int kMaxEnumerations = 32;
constexpr int kMaxCopiedValues = 32;

bool IsListEnd(const RegistryValueSpec& entry) {
    return entry.Name == nullptr || entry.Name[0] == L'\0';
}

// The name to hand to the registry: null for the unnamed default value.
const wchar_t* RegistryName(const RegistryValueSpec& entry) {
    return std::wcscmp(entry.Name, L"(Default)") == 0 ? nullptr : entry.Name;
}

void StoreKeyPath(RegistryStatus& status, const wchar_t* keyPath) {
    std::wcsncpy(status.KeyPath, keyPath, kRegistryKeyPathCapacity - 1);
    status.KeyPath[kRegistryKeyPathCapacity - 1] = L'\0';
}

// Asks for the stored size, gives the entry a zero-filled buffer two bytes larger (so text is
// always terminated) and reads into it.
LONG ReadIntoNewBuffer(HKEY key, RegistryValueSpec& entry) {
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, RegistryName(entry), nullptr, &entry.Type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    entry.Data = new BYTE[size + 2]();
    entry.Size = size + 2;
    status = RegQueryValueExW(key, RegistryName(entry), nullptr, &entry.Type,
                              static_cast<BYTE*>(entry.Data), &entry.Size);
    if (status != ERROR_SUCCESS) entry.Size = size + 2;
    return status;
}

// Reads into the entry's own buffer; on failure the entry keeps its capacity.
LONG ReadIntoBuffer(HKEY key, RegistryValueSpec& entry) {
    DWORD capacity = entry.Size;
    DWORD type = entry.Type;
    LONG status = RegQueryValueExW(key, RegistryName(entry), nullptr, &type,
                                   static_cast<BYTE*>(entry.Data), &entry.Size);
    if (status == ERROR_SUCCESS) {
        entry.Type = type;
    } else {
        entry.Size = capacity;
    }
    return status;
}

}  // namespace

int ReadRegistryValues(HKEY hive, const wchar_t* keyPath, RegistryValueSpec* list,
                       RegistryStatus& status) {
    StoreKeyPath(status, keyPath);
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(hive, keyPath, 0, KEY_QUERY_VALUE, &key);
    if (result != ERROR_SUCCESS) {
        status.LastError = result;
        return 0;
    }
    status.LastError = 0;
    int count = 0;
    for (RegistryValueSpec* entry = list; !IsListEnd(*entry); ++entry) {
        result = entry->Size == 0 ? ReadIntoNewBuffer(key, *entry) : ReadIntoBuffer(key, *entry);
        entry->Found = result == ERROR_SUCCESS ? 1 : 0;
        if (result == ERROR_SUCCESS) {
            ++count;
        } else {
            status.LastError = result;
        }
    }
    RegCloseKey(key);
    return count;
}

int WriteRegistryValues(HKEY hive, RegistryValueSpec* list, RegistryStatus& status) {
    const wchar_t* system = std::wcsstr(status.KeyPath, L"System");
    const wchar_t* keyPath = system != nullptr ? system : status.KeyPath;
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(hive, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        status.LastError = result;
        return 0;
    }
    status.LastError = 0;
    int count = 0;
    for (RegistryValueSpec* entry = list; !IsListEnd(*entry); ++entry) {
        if (entry->Found != 1) continue;
        result = RegSetValueExW(key, RegistryName(*entry), 0, entry->Type,
                                static_cast<const BYTE*>(entry->Data), entry->Size);
        if (result == ERROR_SUCCESS) {
            ++count;
        } else {
            status.LastError = result;
        }
    }
    RegCloseKey(key);
    return count;
}

void DeleteRegistryValues(RegistryStatus& status) {
    if (status.Key == nullptr) return;
    std::vector<std::wstring> names;
    for (DWORD index = 0; index < kMaxEnumerations && names.size() < kMaxDeletedValues; ++index) {
        wchar_t name[kMaxValueNameLength + 1];
        DWORD length = kMaxValueNameLength + 1;
        LONG result =
            RegEnumValueW(status.Key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result == ERROR_SUCCESS) names.emplace_back(name, length);
    }
    for (const std::wstring& name : names) {
        LONG result = RegDeleteValueW(status.Key, name.c_str());
        if (result != ERROR_SUCCESS) status.LastError = result;
    }
    RegCloseKey(status.Key);
    status.Key = nullptr;
}

namespace {

// Copies the source values one by one; returns how many were copied.
int CopyValues(HKEY from, HKEY to, RegistryStatus& status) {
    int copied = 0;
    for (DWORD index = 0; copied < kMaxCopiedValues; ++index) {
        wchar_t name[kMaxValueNameLength + 1];
        DWORD nameLength = kMaxValueNameLength + 1;
        BYTE data[kMaxValueDataSize];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        LONG result =
            RegEnumValueW(from, index, name, &nameLength, nullptr, &type, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result == ERROR_MORE_DATA) continue;  // name or data too large: skipped
        if (result != ERROR_SUCCESS) {
            status.LastError = result;
            break;
        }
        result = RegSetValueExW(to, name, 0, type, data, dataSize);
        if (result == ERROR_SUCCESS) {
            ++copied;
        } else {
            status.LastError = result;
        }
    }
    return copied;
}

}  // namespace

void RegCopyValues(RegistryStatus& status, const wchar_t* toKey, const wchar_t* fromKey) {
    HKEY from = nullptr;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, fromKey, 0, KEY_QUERY_VALUE, &from);
    if (result != ERROR_SUCCESS) {
        status.LastError = result;
        DebugPrint(L"RegCopyValues: Error opening from key");
        return;
    }
    HKEY to = nullptr;
    result = RegOpenKeyExW(HKEY_CURRENT_USER, toKey, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &to);
    if (result != ERROR_SUCCESS) {
        status.LastError = result;
        RegCloseKey(from);
        DebugPrint(L"RegCopyValues: Error opening to key");
        return;
    }
    int copied = CopyValues(from, to, status);
    DebugPrint(L"RegCopyValues: Success copy key cnt%d", copied);
    RegCloseKey(from);
    RegCloseKey(to);
}
