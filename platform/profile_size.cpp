// The size limit of a profile file and the words that refuse one over it.
#include "platform/profile_size.h"

#include "platform/platform.h"

uint64_t OversizedProfileBytes(const std::wstring& path) {
    uint64_t bytes = 0;
    if (!PlatformFileSize(path, bytes) || bytes <= kMaxProfileBytes) return 0;
    return bytes;
}

std::wstring OversizedProfileText(const std::wstring& path, uint64_t bytes) {
    return L"the profile file " + path + L" holds " + std::to_wstring(bytes) +
           L" bytes, more than the limit of " + std::to_wstring(kMaxProfileBytes) +
           L": it is not read";
}
