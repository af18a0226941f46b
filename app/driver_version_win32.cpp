// Reading the driver library's version resource.
#include <windows.h>

#include <cwchar>
#include <vector>

#include "app/driver_version.h"
#include "config/support_folder.h"
#include "platform/platform.h"

namespace {

constexpr size_t kMaxVersionLength = 260;

struct Translation {
    WORD Language;
    WORD CodePage;
};

}  // namespace

std::wstring DriverLibraryPath() { return PlatformJoinPath(GetSupportFolder(), L"QuvaIntf.dll"); }

bool ReadProductVersion(const std::wstring& path, std::wstring& version) {
    version.clear();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) return false;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return false;
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        translation == nullptr || length < sizeof(Translation))
        return false;
    wchar_t query[64];
    std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->Language,
                  translation->CodePage, L"ProductVersion");
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &length) ||
        text == nullptr || length == 0)
        return false;
    size_t count = wcsnlen(text, length < kMaxVersionLength ? length : kMaxVersionLength);
    version.assign(text, count);
    return !version.empty();
}
