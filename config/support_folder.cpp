// GetSupportFolder: the support folder in a process-wide buffer of 260 characters.
#include "config/support_folder.h"

#include <cwchar>
#include <string>

#include "platform/platform.h"

namespace {

wchar_t SupportFolder[kSupportFolderCapacity];

// A folder that does not fit is left empty rather than cut into another path.
void CopyFolder(const std::wstring& folder, wchar_t* out) {
    out[0] = L'\0';
    if (folder.size() < kSupportFolderCapacity) std::wcscpy(out, folder.c_str());
}

}  // namespace

const wchar_t* GetSupportFolder(wchar_t* buffer) {
    CopyFolder(PlatformSupportFolder(), SupportFolder);
    if (buffer == nullptr) return SupportFolder;
    std::wcscpy(buffer, SupportFolder);
    return buffer;
}
