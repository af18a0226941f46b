// Putting the saved cursor values back so that the hidden marker goes last.
#include <windows.h>

#include <string>
#include <vector>

#include "cursors/cursor_hiding.h"
#include "platform/registry_values.h"

namespace {

// The values of the user's key that restoring deletes. A saved copy with room to spare holds every
// value the user had, so every value goes and the key becomes the copy again (values added while
// hidden go too). A full copy may have been cut short: then only the values it puts back go.
std::vector<std::wstring> NamesToDelete(HKEY user, const std::vector<RegistryValue>& saved) {
    const bool whole = saved.size() < size_t(kMaxRegistryKeyValues);
    std::vector<std::wstring> names;
    for (const RegistryValue& value :
         whole ? ListRegistryValues(user, false, 2 * kMaxRegistryKeyValues) : saved)
        names.push_back(value.Name);
    return names;
}

}  // namespace

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
    for (const std::wstring& name : NamesToDelete(user, savedValues)) {
        const LONG result = name.empty() ? ERROR_SUCCESS : RegDeleteValueW(user, name.c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) whole = false;
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
