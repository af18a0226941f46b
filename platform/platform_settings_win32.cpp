// Settings on Win32: machine-wide numbers under HKLM, per-user texts under HKCU, and the system's
// caption height in twips of the screen's logical resolution.
#include <windows.h>

#include <vector>

#include "platform/platform.h"

bool PlatformReadMachineNumber(const wchar_t* keyPath, const wchar_t* valueName, uint32_t* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD number = 0;
    DWORD size = sizeof number;
    LONG status =
        RegQueryValueExW(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return false;
    *value = number;
    return true;
}

bool PlatformReadUserText(const wchar_t* keyPath, const wchar_t* valueName, wchar_t* out,
                          size_t capacity) {
    if (out == nullptr || capacity == 0) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    // Room for a terminator the stored text may lack.
    std::vector<wchar_t> text(capacity + 1, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>((capacity - 1) * sizeof(wchar_t));
    LONG status = RegQueryValueExW(key, valueName, nullptr, &type,
                                   reinterpret_cast<BYTE*>(text.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    text[size / sizeof(wchar_t)] = L'\0';
    wcsncpy(out, text.data(), capacity - 1);
    out[capacity - 1] = L'\0';
    return true;
}

int PlatformDefaultCaptionHeightTwips() {
    int pixels = GetSystemMetrics(SM_CYCAPTION);
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (pixels <= 0) pixels = 22;
    if (dpi <= 0) dpi = 96;
    return MulDiv(pixels, 1440, dpi);
}
