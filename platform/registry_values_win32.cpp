// The registry list operations on the Win32 registry.
#include <cwchar>
#include <vector>

#include "platform/debug_trace.h"
#include "platform/registry_values.h"

namespace {

constexpr size_t kMaxDeletedValues = 31;

bool IsListEnd(const RegistryValueSpec& entry) {
    return entry.Name == nullptr || entry.Name[0] == L'\0';
}

// The name to hand to the registry: null for "(Default)", the key's unnamed value.
const wchar_t* RegistryName(const RegistryValueSpec& entry) {
    return std::wcscmp(entry.Name, L"(Default)") == 0 ? nullptr : entry.Name;
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

// The result of an entry that an operation does not touch.
constexpr LONG kPassedOver = -1;

// Applies operation to every entry of the list and closes key: the number of entries it
// succeeded on, with the last failure in status.LastError (0 when there was none).
int ApplyToEntries(HKEY key, RegistryValueSpec* list, RegistryStatus& status,
                   const std::function<LONG(RegistryValueSpec&)>& operation) {
    status.LastError = 0;
    int count = 0;
    for (RegistryValueSpec* entry = list; !IsListEnd(*entry); ++entry) {
        const LONG result = operation(*entry);
        if (result == ERROR_SUCCESS) {
            ++count;
        } else if (result != kPassedOver) {
            status.LastError = result;
        }
    }
    RegCloseKey(key);
    return count;
}

}  // namespace

void SetRegistryKeyPath(RegistryStatus& status, const wchar_t* keyPath) {
    std::wcsncpy(status.KeyPath, keyPath, kRegistryKeyPathCapacity - 1);
    status.KeyPath[kRegistryKeyPathCapacity - 1] = L'\0';
}

LONG VisitRegistryValues(HKEY key, bool withData,
                         const std::function<bool(const RegistryValue&)>& visit) {
    RegistryValue value;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kMaxRegistryValueName + 1];
        DWORD nameLength = kMaxRegistryValueName + 1;
        BYTE data[kMaxRegistryValueData];
        DWORD size = sizeof data;
        LONG result =
            RegEnumValueW(key, index, name, &nameLength, nullptr, withData ? &value.Type : nullptr,
                          withData ? data : nullptr, withData ? &size : nullptr);
        if (result == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (result == ERROR_MORE_DATA) continue;  // name or data beyond the limits: passed over
        if (result != ERROR_SUCCESS) return result;
        value.Name.assign(name, nameLength);
        value.Data.assign(data, data + (withData ? size : 0));
        if (!visit(value)) return ERROR_SUCCESS;
    }
}

std::vector<RegistryValue> ListRegistryValues(HKEY key, bool withData, size_t maxValues) {
    std::vector<RegistryValue> values;
    if (maxValues == 0) return values;
    VisitRegistryValues(key, withData, [&](const RegistryValue& value) {
        values.push_back(value);
        return values.size() < maxValues;
    });
    return values;
}

int ReadRegistryValues(HKEY hive, const wchar_t* keyPath, RegistryValueSpec* list,
                       RegistryStatus& status) {
    SetRegistryKeyPath(status, keyPath);
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(hive, keyPath, 0, KEY_QUERY_VALUE, &key);
    if (result != ERROR_SUCCESS) {
        status.LastError = result;
        return 0;
    }
    return ApplyToEntries(key, list, status, [key](RegistryValueSpec& entry) {
        const LONG read =
            entry.Size == 0 ? ReadIntoNewBuffer(key, entry) : ReadIntoBuffer(key, entry);
        entry.Found = read == ERROR_SUCCESS ? 1 : 0;
        return read;
    });
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
    return ApplyToEntries(key, list, status, [key](RegistryValueSpec& entry) {
        if (entry.Found != 1) return kPassedOver;
        return RegSetValueExW(key, RegistryName(entry), 0, entry.Type,
                              static_cast<const BYTE*>(entry.Data), entry.Size);
    });
}

void DeleteRegistryValues(RegistryStatus& status) {
    if (status.Key == nullptr) return;
    for (const RegistryValue& value : ListRegistryValues(status.Key, false, kMaxDeletedValues)) {
        LONG result = RegDeleteValueW(status.Key, value.Name.c_str());
        if (result != ERROR_SUCCESS) status.LastError = result;
    }
    RegCloseKey(status.Key);
    status.Key = nullptr;
}

namespace {

// Copies the source values one by one; returns how many were copied.
int CopyValues(HKEY from, HKEY to, RegistryStatus& status) {
    int copied = 0;
    const LONG ended = VisitRegistryValues(from, true, [&](const RegistryValue& value) {
        const LONG result = RegSetValueExW(to, value.Name.c_str(), 0, value.Type, value.Data.data(),
                                           DWORD(value.Data.size()));
        if (result == ERROR_SUCCESS) {
            ++copied;
        } else {
            status.LastError = result;
        }
        return copied < kMaxRegistryKeyValues;
    });
    if (ended != ERROR_SUCCESS) status.LastError = ended;
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
