// Whole small text files on Win32 (the tiling list), read as bytes.
#include <windows.h>

#include "config/platform.h"

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
