// Putting the saved cursor values back so that the hidden marker goes last.
#include <windows.h>

#include <string>
#include <vector>

#include "config/cursor_hiding.h"

namespace {

constexpr DWORD kMaxValueName = 127;  // characters
constexpr DWORD kMaxValueData = 520;  // bytes
constexpr DWORD kMaxValues = 32;

struct SavedValue {
    std::wstring Name;
    DWORD Type = 0;
    std::vector<BYTE> Data;
};

// The values of key (at most kMaxValues; those too large for the buffers are passed over).
std::vector<SavedValue> ValuesOf(HKEY key) {
    std::vector<SavedValue> values;
    for (DWORD index = 0; index < 2 * kMaxValues && values.size() < kMaxValues; ++index) {
        wchar_t name[kMaxValueName + 1];
        DWORD nameLength = kMaxValueName + 1;
        BYTE data[kMaxValueData];
        DWORD size = sizeof data;
        DWORD type = 0;
        LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) break;
        values.push_back(
            SavedValue{std::wstring(name, nameLength), type, std::vector<BYTE>(data, data + size)});
    }
    return values;
}

// The value names of key (at most 2 x kMaxValues), whatever the size of their data.
std::vector<std::wstring> NamesOf(HKEY key) {
    std::vector<std::wstring> names;
    for (DWORD index = 0; index < 2 * kMaxValues; ++index) {
        wchar_t name[kMaxValueName + 1];
        DWORD nameLength = kMaxValueName + 1;
        LONG result =
            RegEnumValueW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(name, nameLength);
    }
    return names;
}

const wchar_t* RegistryName(const SavedValue& value) {
    return value.Name.empty() ? nullptr : value.Name.c_str();
}

}  // namespace

bool RestoreSavedCursorValues() {
    HKEY user = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUserCursorsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &user, nullptr) != ERROR_SUCCESS)
        return false;
    HKEY saved = nullptr;
    std::vector<SavedValue> savedValues;
    const bool savedOpen = RegOpenKeyExW(HKEY_CURRENT_USER, kSavedCursorsKey, 0, KEY_QUERY_VALUE,
                                         &saved) == ERROR_SUCCESS;
    if (savedOpen) {
        savedValues = ValuesOf(saved);
        RegCloseKey(saved);
    }
    bool whole = savedOpen;
    // Every value but the scheme name first: until that is written the cursors count as hidden,
    // so a run that dies in here is restored again by the next one.
    for (const std::wstring& name : NamesOf(user)) {
        if (!name.empty() && RegDeleteValueW(user, name.c_str()) != ERROR_SUCCESS) whole = false;
    }
    const SavedValue* schemeName = nullptr;
    for (const SavedValue& value : savedValues) {
        if (value.Name.empty()) {
            schemeName = &value;
            continue;
        }
        if (RegSetValueExW(user, RegistryName(value), 0, value.Type, value.Data.data(),
                           DWORD(value.Data.size())) != ERROR_SUCCESS)
            whole = false;
    }
    const LONG last = schemeName != nullptr
                          ? RegSetValueExW(user, nullptr, 0, schemeName->Type,
                                           schemeName->Data.data(), DWORD(schemeName->Data.size()))
                          : RegDeleteValueW(user, nullptr);
    if (last != ERROR_SUCCESS && !(schemeName == nullptr && last == ERROR_FILE_NOT_FOUND))
        whole = false;
    RegCloseKey(user);
    return whole;
}
