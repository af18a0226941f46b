// Replacing and reloading the system cursors, and the Windows-folder and environment services they
// use.
#include <windows.h>

#include <cwchar>
#include <string>

#include "cursors/cursor_hiding.h"
#include "cursors/cursor_scheme.h"
#include "platform/platform.h"
#include "platform/registry_values.h"

namespace {

constexpr DWORD kMaxEnvironmentValue = 519;  // characters

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The text of a string value, up to its first terminator.
std::wstring TextOf(const RegistryValue& value) {
    std::wstring text(reinterpret_cast<const wchar_t*>(value.Data.data()),
                      value.Data.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::wstring EnvironmentValue(const std::wstring& name) {
    wchar_t value[kMaxEnvironmentValue + 1];
    DWORD length = GetEnvironmentVariableW(name.c_str(), value, kMaxEnvironmentValue + 1);
    if (length == 0 || length > kMaxEnvironmentValue) return std::wstring();
    return std::wstring(value, length);
}

// The "Quva" scheme list of the machine; the default list (stored for the next run when the
// hive is writable) when it is missing or not text.
std::wstring ReadSchemeList() {
    RegistryValueSpec list[2] = {{0, kHiddenSchemeName, REG_SZ, 0, nullptr},
                                 {0, L"", 0, 0, nullptr}};
    RegistryStatus status{};
    std::wstring scheme;
    const bool read =
        ReadRegistryValues(HKEY_LOCAL_MACHINE, kCursorSchemesKey, list, status) == 1 &&
        IsText(list[0].Type);
    if (read) {
        const wchar_t* text = static_cast<const wchar_t*>(list[0].Data);
        scheme.assign(text, wcsnlen(text, list[0].Size / sizeof(wchar_t)));
    }
    delete[] static_cast<BYTE*>(list[0].Data);
    if (read) return scheme;
    scheme = BuildNullCursorScheme(WindowsFolder());
    RegistryValueSpec store[2] = {
        {1, kHiddenSchemeName, REG_SZ, static_cast<DWORD>((scheme.size() + 1) * sizeof(wchar_t)),
         scheme.data()},
        {0, L"", 0, 0, nullptr}};
    SetRegistryKeyPath(status, kCursorSchemesKey);
    WriteRegistryValues(HKEY_LOCAL_MACHINE, store, status);
    return scheme;
}

void WriteUserCursorValue(const wchar_t* name, const std::wstring& path) {
    RegistryValueSpec list[2] = {
        {1, name, REG_SZ, static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)),
         const_cast<wchar_t*>(path.c_str())},
        {0, L"", 0, 0, nullptr}};
    RegistryStatus status{};
    SetRegistryKeyPath(status, kUserCursorsKey);
    WriteRegistryValues(HKEY_CURRENT_USER, list, status);
}

// Installs a cursor loaded from path as the system cursor id; the system owns it on success.
void InstallSystemCursor(HCURSOR cursor, uint32_t id) {
    if (cursor != nullptr && !SetSystemCursor(cursor, id)) DestroyCursor(cursor);
}

}  // namespace

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(folder, length);
}

bool ExpandPathVariables(std::wstring& path) { return ExpandPathVariables(path, EnvironmentValue); }

bool InstallNullCursor() {
    const std::wstring windows = WindowsFolder();
    if (windows.empty()) return false;
    const std::wstring target = NullCursorPath(windows);
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    CreateDirectoryW((windows + L"\\cursors").c_str(), nullptr);
    // The seam's folder, not the shared support-folder buffer: this may run on any thread.
    const std::wstring source = PlatformJoinPath(PlatformSupportFolder(), kNullCursorFileName);
    CopyFileW(source.c_str(), target.c_str(), TRUE);
    return GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void HideSystemCursors() {
    const std::wstring windows = WindowsFolder();
    SchemeListReader reader(ReadSchemeList());
    for (const CursorTableEntry& row : CursorTable) {
        std::wstring path;
        if (!NextSchemeCursorFile(reader, windows, path)) break;
        HCURSOR loaded = LoadCursorFromFileW(path.c_str());
        if (loaded == nullptr) continue;
        InstallSystemCursor(CopyCursor(loaded), row.Id);
        DestroyCursor(loaded);
        WriteUserCursorValue(row.Name, path);
    }
}

std::vector<RegistryValue> ReadUserCursorValues() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserCursorsKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return {};
    std::vector<RegistryValue> values = ListRegistryValues(key, true, kMaxRegistryKeyValues);
    RegCloseKey(key);
    return values;
}

void RestoreSystemCursors() {
    // Fails under some environments; the per-cursor pass below does the same work.
    SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    for (const RegistryValue& value : ReadUserCursorValues()) {
        const uint32_t id = FindCursorId(value.Name.c_str());
        if (id == 0 || !IsText(value.Type)) continue;
        std::wstring path = TextOf(value);
        if (!ExpandPathVariables(path)) continue;
        InstallSystemCursor(LoadCursorFromFileW(path.c_str()), id);
    }
}
