// Putting the saved cursor values back so that the hidden marker goes last.
#include <windows.h>

#include <string>
#include <vector>

#include "config/cursor_hiding.h"
#include "config/registry_values.h"

bool RestoreSavedCursorValues() {
    HKEY user = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kUserCursorsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &user, nullptr) != ERROR_SUCCESS)
        return false;
    HKEY saved = nullptr;
    std::vector<RegistryValue> savedValues;
    const bool savedOpen = RegOpenKeyExW(HKEY_CURRENT_USER, kSavedCursorsKey, 0, KEY_QUERY_VALUE,
                                         &saved) == ERROR_SUCCESS;
    if (savedOpen) {
        savedValues = ListRegistryValues(saved, true, kMaxRegistryKeyValues);
        RegCloseKey(saved);
    }
    bool whole = savedOpen;
    // Every value but the scheme name first: until that is written the cursors count as hidden,
    // so a run that dies in here is restored again by the next one.
    for (const RegistryValue& value : ListRegistryValues(user, false, 2 * kMaxRegistryKeyValues)) {
        if (!value.Name.empty() && RegDeleteValueW(user, value.Name.c_str()) != ERROR_SUCCESS)
            whole = false;
    }
    const RegistryValue* schemeName = nullptr;
    for (const RegistryValue& value : savedValues) {
        if (value.Name.empty()) {
            schemeName = &value;
            continue;
        }
        if (RegSetValueExW(user, value.Name.c_str(), 0, value.Type, value.Data.data(),
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
