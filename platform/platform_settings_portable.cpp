// Settings on the portable build: "machine-settings.ini" and "user-settings.ini" in the support
// folder, one section per key path, one entry per value name; a caption height of 330 twips.
#include <cwchar>
#include <string>

#include "platform/platform.h"

namespace {

// Returned by the profile lookup when the entry is absent (never part of a stored value).
constexpr wchar_t kAbsent[] = L"\x1F";

std::wstring SettingsFile(const wchar_t* name) {
    return PlatformJoinPath(PlatformSupportFolder(), name);
}

}  // namespace

bool PlatformReadMachineNumber(const wchar_t* keyPath, const wchar_t* valueName, uint32_t* value) {
    wchar_t text[32];
    PlatformReadProfileString(keyPath, valueName, kAbsent, text, 32,
                              SettingsFile(L"machine-settings.ini").c_str());
    if (std::wcscmp(text, kAbsent) == 0) return false;
    wchar_t* end = nullptr;
    unsigned long number = std::wcstoul(text, &end, 0);
    if (end == text) return false;
    *value = static_cast<uint32_t>(number);
    return true;
}

bool PlatformReadUserText(const wchar_t* keyPath, const wchar_t* valueName, wchar_t* out,
                          size_t capacity) {
    if (out == nullptr || capacity == 0) return false;
    PlatformReadProfileString(keyPath, valueName, kAbsent, out, capacity,
                              SettingsFile(L"user-settings.ini").c_str());
    if (std::wcscmp(out, kAbsent) == 0) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

// 22 pixels at 96 dots per inch.
int PlatformDefaultCaptionHeightTwips() { return 330; }
