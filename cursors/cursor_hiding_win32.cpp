// The hide/restore state machine of the system cursors, kept in the user's registry.
#include <windows.h>

#include <mutex>

#include "cursors/cursor_hiding.h"
#include "cursors/cursor_scheme.h"
#include "platform/debug_trace.h"
#include "platform/registry_values.h"

namespace {

// Hide and restore run from the dialog thread and from pass workers: one at a time.
std::mutex CursorStateMutex;

constexpr DWORD kSchemeNameBytes = kMaxRegistryValueData;

// "(Default)" and "Scheme Source" of the user's cursor settings.
struct SchemeValues {
    wchar_t Name[kSchemeNameBytes / sizeof(wchar_t) + 1] = {};
    DWORD Source = 0;
    RegistryValueSpec List[3] = {
        {0, L"(Default)", REG_SZ, kSchemeNameBytes, Name},
        {0, L"Scheme Source", REG_DWORD, sizeof(DWORD), &Source},
        {0, L"", 0, 0, nullptr},
    };
    SchemeValues() = default;
    SchemeValues(const SchemeValues&) = delete;
    SchemeValues& operator=(const SchemeValues&) = delete;

    bool NameFound() const {
        return List[0].Found == 1 && (List[0].Type == REG_SZ || List[0].Type == REG_EXPAND_SZ);
    }
    bool Hidden() const { return NameFound() && IsHiddenSchemeName(Name); }
};

int ReadSchemeValues(SchemeValues& values) {
    RegistryStatus status{};
    return ReadRegistryValues(HKEY_CURRENT_USER, kUserCursorsKey, values.List, status);
}

// Creates the key when it is missing and hands it back open, or null.
HKEY CreateUserKey(const wchar_t* path) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return result == ERROR_SUCCESS ? key : nullptr;
}

// Whether the saved copy can hold every value of the user's key: not more values than it keeps,
// none beyond the size limits. A key it cannot hold whole stays as it is: restoring would lose the
// rest.
bool UserValuesFitTheCopy() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserCursorsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return true;  // nothing to lose
    DWORD values = 0, longestName = 0, largestData = 0;
    const LONG result = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         &values, &longestName, &largestData, nullptr, nullptr);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && values <= DWORD(kMaxRegistryKeyValues) &&
           longestName <= kMaxRegistryValueName && largestData <= kMaxRegistryValueData;
}

// Replaces the values of the saved copy by those of the user's key; false when it went wrong.
bool SaveUserValues() {
    const wchar_t* toKey = kSavedCursorsKey;
    const wchar_t* fromKey = kUserCursorsKey;
    RegistryStatus status{};
    SetRegistryKeyPath(status, toKey);
    status.Key = CreateUserKey(toKey);
    if (status.Key == nullptr) return false;
    DeleteRegistryValues(status);
    status.LastError = 0;
    RegCopyValues(status, toKey, fromKey);
    return status.LastError == 0;
}

// Writes the marker, and the scheme source read before (skipped when it could not be read).
bool WriteHiddenMarker(SchemeValues& values) {
    static const wchar_t kMarker[] = L"Quva";
    RegistryValueSpec list[3] = {
        {1, L"(Default)", REG_SZ, sizeof kMarker, const_cast<wchar_t*>(kMarker)},
        {values.List[1].Found, L"Scheme Source", REG_DWORD, sizeof(DWORD), &values.Source},
        {0, L"", 0, 0, nullptr},
    };
    RegistryStatus status{};
    SetRegistryKeyPath(status, kUserCursorsKey);
    WriteRegistryValues(HKEY_CURRENT_USER, list, status);
    return status.LastError == 0;
}

}  // namespace

void HideCursorsIfNeeded() {
    std::lock_guard<std::mutex> lock(CursorStateMutex);
    SchemeValues values;
    if (ReadSchemeValues(values) > 0 && values.Hidden()) return;
    // The saved copy comes first and the marker second, before any cursor is replaced: a run
    // that dies anywhere in here leaves either the user's values untouched or a state that the
    // next restore undoes.
    if (HKEY key = CreateUserKey(kUserCursorsKey)) RegCloseKey(key);
    if (!UserValuesFitTheCopy()) {
        DebugPrint(L"Tarnix.exe: %s",
                   L"HideCursorsIfNeeded(): too many or too large cursor settings to save, "
                   L"cursors stay");
        return;
    }
    if (!SaveUserValues()) {
        DebugPrint(L"Tarnix.exe: %s",
                   L"HideCursorsIfNeeded(): cursor settings not saved, cursors stay");
        return;
    }
    if (!WriteHiddenMarker(values)) {
        DebugPrint(L"Tarnix.exe: %s",
                   L"HideCursorsIfNeeded(): scheme marker not written, cursors stay");
        return;
    }
    InstallNullCursor();
    HideSystemCursors();
}

void RestoreCursorsIfNeeded() {
    std::lock_guard<std::mutex> lock(CursorStateMutex);
    SchemeValues values;
    ReadSchemeValues(values);
    if (!values.Hidden()) return;
    if (!RestoreSavedCursorValues()) {
        DebugPrint(L"Tarnix.exe: %s",
                   L"RestoreCursorsIfNeeded(): saved cursor settings not copied back");
    }
    RestoreSystemCursors();
}
