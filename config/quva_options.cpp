// getQuvaOptions: the Transparent option, read at every call.
#include "config/quva_options.h"

#include <cwchar>

#include "config/support_folder.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"

int getQuvaOptions() {
    const std::wstring path = PlatformJoinPath(GetSupportFolder(), L"QuvaOptions.ini");
    if (!PlatformFileExists(path)) {
        DebugPrint(
            L"getQuvaOptions() failed! pszSection=%s pszKey=%s nDefault=%d pszIniFile=%s "
            L"csidl=%d err=%d",
            L"Calibration", L"Transparent", 0, L"QuvaOptions.ini", 64,
            static_cast<int>(PlatformLastError()));
        return 0;
    }
    wchar_t text[32];
    PlatformReadProfileString(L"Calibration", L"Transparent", L"0", text, 32, path.c_str());
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}
