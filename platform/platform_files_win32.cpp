// Folders, paths and whole small files on Win32: program files and common application data,
// plus Zeph\Touch; files read as bytes.
#include <shlobj.h>
#include <windows.h>

#include "platform/platform.h"

namespace {

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
    return path;
}

std::wstring ZephTouchUnder(const std::wstring& base) {
    return base.empty() ? std::wstring() : PlatformJoinPath(base, L"Zeph\\Touch");
}

}  // namespace

std::wstring PlatformSupportFolder() { return ZephTouchUnder(ShellFolder(CSIDL_PROGRAM_FILES)); }

std::wstring PlatformReportFolder() {
    return ZephTouchUnder(ShellFolder(CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE));
}

std::wstring PlatformJoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    wchar_t last = folder.back();
    if (last == L'\\' || last == L'/') return folder + name;
    return folder + L'\\' + name;
}

bool PlatformFileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool PlatformFileSize(const std::wstring& path, uint64_t& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    bytes = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool PlatformCreateFolders(const std::wstring& path) {
    if (path.empty()) return false;
    SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PlatformReadTextFile(const std::wstring& path, std::string& contents, size_t maxBytes) {
    contents.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    char buffer[4096];
    while (contents.size() < maxBytes) {
        DWORD wanted = DWORD(maxBytes - contents.size() < sizeof buffer ? maxBytes - contents.size()
                                                                        : sizeof buffer);
        DWORD got = 0;
        if (!ReadFile(file, buffer, wanted, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        contents.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}
