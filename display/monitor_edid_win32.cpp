// EDID lookup on Win32: the display device's monitor interface (EnumDisplayDevicesW), matched to
// the monitor interfaces SetupAPI lists, and the "EDID" value of that device's registry key.
#include <windows.h>
// after windows.h
#include <initguid.h>
#include <setupapi.h>

#include <string>

#include "display/monitor_edid.h"

namespace {

// GUID_DEVINTERFACE_MONITOR.
DEFINE_GUID(kMonitorInterface, 0xe6f07b5f, 0xee97, 0x4a90, 0xb0, 0x76, 0x33, 0xf5, 0x7b, 0xf4, 0xea,
            0xa7);

constexpr DWORD kMaxEdidBytes = 32768;

// The interface paths of the monitors shown on the display device.
std::vector<std::wstring> MonitorInterfacePaths(const wchar_t* displayName) {
    std::vector<std::wstring> paths;
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    for (DWORD i = 0; EnumDisplayDevicesW(displayName, i, &device, EDD_GET_DEVICE_INTERFACE_NAME);
         ++i) {
        paths.emplace_back(device.DeviceID);
        device = DISPLAY_DEVICEW{};
        device.cb = sizeof device;
    }
    return paths;
}

std::wstring InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& entry, SP_DEVINFO_DATA& info) {
    DWORD bytes = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &entry, nullptr, 0, &bytes, nullptr);
    if (bytes < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return std::wstring();
    std::vector<BYTE> buffer(bytes);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    info.cbSize = sizeof info;
    if (!SetupDiGetDeviceInterfaceDetailW(set, &entry, detail, bytes, nullptr, &info))
        return std::wstring();
    return detail->DevicePath;
}

std::vector<uint8_t> EdidValue(HDEVINFO set, SP_DEVINFO_DATA& info) {
    HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    std::vector<uint8_t> edid(kMaxEdidBytes);
    DWORD type = 0, bytes = kMaxEdidBytes;
    if (RegQueryValueExW(key, L"EDID", nullptr, &type, edid.data(), &bytes) != ERROR_SUCCESS ||
        type != REG_BINARY)
        bytes = 0;
    RegCloseKey(key);
    edid.resize(bytes);
    return edid;
}

}  // namespace

std::vector<uint8_t> ReadMonitorEdid(const wchar_t* displayName) {
    const std::vector<std::wstring> wanted = MonitorInterfacePaths(displayName);
    if (wanted.empty()) return {};
    HDEVINFO set = SetupDiGetClassDevsW(&kMonitorInterface, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return {};
    std::vector<uint8_t> edid;
    SP_DEVICE_INTERFACE_DATA entry{};
    entry.cbSize = sizeof entry;
    for (DWORD i = 0;
         edid.empty() && SetupDiEnumDeviceInterfaces(set, nullptr, &kMonitorInterface, i, &entry);
         ++i) {
        SP_DEVINFO_DATA info{};
        const std::wstring path = InterfacePath(set, entry, info);
        for (const std::wstring& w : wanted)
            if (!path.empty() && _wcsicmp(path.c_str(), w.c_str()) == 0)
                edid = EdidValue(set, info);
    }
    SetupDiDestroyDeviceInfoList(set);
    return edid;
}
