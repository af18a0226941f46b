// Test tool: makes a machine-wide registry key read-only for everyone, as it is for a standard
// user, and probes what a standard user may write. Built for each architecture, so it works on the
// registry view the program of the same build sees.
//   standard_user_tool lock KEY | unlock KEY      (KEY below HKEY_LOCAL_MACHINE)
//   standard_user_tool probe KEY FOLDER            exit 0 when writing to both is denied
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr ACCESS_MASK kReadAndChangePermissions = KEY_READ | WRITE_DAC;

bool SetKeyAccess(const wchar_t* key, const wchar_t* sddl) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, WRITE_DAC, &handle) != ERROR_SUCCESS)
        return false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool done = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                     &descriptor, nullptr) &&
                RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    RegCloseKey(handle);
    return done;
}

bool KeyWritable(const wchar_t* key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool FolderWritable(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\standard-user-probe.tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"lock") == 0) {
        wchar_t sddl[64];
        std::swprintf(sddl, 64, L"D:P(A;;0x%lx;;;WD)", kReadAndChangePermissions);
        return SetKeyAccess(argv[2], sddl) ? 0 : 1;
    }
    if (argc == 3 && std::wcscmp(argv[1], L"unlock") == 0)
        return SetKeyAccess(argv[2], L"D:P(A;;KA;;;WD)") ? 0 : 1;
    if (argc == 4 && std::wcscmp(argv[1], L"probe") == 0) {
        const bool key = KeyWritable(argv[2]);
        const bool folder = FolderWritable(argv[3]);
        std::printf("machine key %s, folder %s\n", key ? "writable" : "read-only",
                    folder ? "writable" : "read-only");
        return key || folder ? 1 : 0;
    }
    return 2;
}
