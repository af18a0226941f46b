// Private-profile lookup on Win32: GetPrivateProfileStringW.
#include <windows.h>

#include <climits>

#include "platform/platform.h"

size_t PlatformReadProfileString(const wchar_t* section, const wchar_t* key,
                                 const wchar_t* defaultValue, wchar_t* out, size_t capacity,
                                 const wchar_t* path) {
    if (out == nullptr || capacity == 0) return 0;
    DWORD size = capacity > UINT_MAX ? UINT_MAX : static_cast<DWORD>(capacity);
    return GetPrivateProfileStringW(section, key, defaultValue, out, size, path);
}

// The platform keeps its own cache of profile files.
ProfileReadingPass::ProfileReadingPass() = default;
ProfileReadingPass::~ProfileReadingPass() = default;
