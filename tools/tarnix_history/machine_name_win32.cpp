// The computer's name on Windows: its DNS host name, else its NetBIOS name, as UTF-8.
#include <windows.h>

#include "tools/tarnix_history/machine_name.h"

namespace {

std::string Utf8(const wchar_t* text, DWORD length) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, int(length), out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

std::string MachineName() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (GetComputerNameExW(ComputerNameDnsHostname, name, &size) && size > 0)
        return Utf8(name, size);
    size = 256;
    if (GetComputerNameW(name, &size)) return Utf8(name, size);
    return std::string();
}

std::string MachineNameText(const std::wstring& given) {
    return Utf8(given.c_str(), DWORD(given.size()));
}
