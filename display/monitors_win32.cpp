// Monitor enumeration on Win32: GetSystemMetrics, and EnumDisplayMonitors / GetMonitorInfoW looked
// up by name in the loaded USER32.
#include <windows.h>

#include <utility>
#include <vector>

#include "display/monitor_edid.h"
#include "display/monitors.h"

namespace {

using GetMonitorInfoFunction = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
using EnumDisplayMonitorsFunction = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);

// Entry 0 is never filled; entries 1..count receive the monitors.
std::vector<MONITORINFOEXW> MonitorList;
size_t FilledEntries = 0;

struct EnumerationState {
    GetMonitorInfoFunction GetInfo;
    size_t Next;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* state = reinterpret_cast<EnumerationState*>(data);
    if (state->Next >= MonitorList.size()) return TRUE;  // more than the system counted
    MONITORINFOEXW& entry = MonitorList[state->Next];
    entry.cbSize = sizeof(MONITORINFOEXW);
    if (state->GetInfo(monitor, reinterpret_cast<MONITORINFO*>(&entry))) {
        FilledEntries = state->Next;
        ++state->Next;
    }
    return TRUE;
}

}  // namespace

void ReleaseMonitorList() {
    std::vector<MONITORINFOEXW>().swap(MonitorList);
    FilledEntries = 0;
}

uint32_t EnumerateMonitors(MonitorSummary& summary) {
    ReleaseMonitorList();
    summary = MonitorSummary();
    summary.MonitorCount = GetSystemMetrics(SM_CMONITORS);
    if (summary.MonitorCount <= 0) summary.MonitorCount = 1;
    try {
        MonitorList.assign(size_t(summary.MonitorCount) + 1, MONITORINFOEXW{});
    } catch (...) {
        summary.Status |= kMonitorNoMemory;
    }
    summary.VirtualLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    summary.VirtualTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    summary.VirtualRight = summary.VirtualLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    summary.VirtualBottom = summary.VirtualTop + GetSystemMetrics(SM_CYVIRTUALSCREEN);

    HMODULE user32 = GetModuleHandleW(L"USER32");
    GetMonitorInfoFunction getInfo = nullptr;
    EnumDisplayMonitorsFunction enumMonitors = nullptr;
    if (user32 == nullptr) {
        summary.Status = kMonitorNoUser32;
    } else {
        getInfo = reinterpret_cast<GetMonitorInfoFunction>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoW")));
        enumMonitors = reinterpret_cast<EnumDisplayMonitorsFunction>(
            reinterpret_cast<void*>(GetProcAddress(user32, "EnumDisplayMonitors")));
        if (getInfo == nullptr) summary.Status |= kMonitorNoGetMonitorInfo;
        if (enumMonitors == nullptr) summary.Status |= kMonitorNoEnumDisplayMonitors;
    }
    if (summary.Status == 0) {
        EnumerationState state{getInfo, 1};
        enumMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&state));
    }
    return summary.Status;
}

bool MonitorListRectangle(int32_t entry, int32_t& left, int32_t& top, int32_t& right,
                          int32_t& bottom) {
    if (entry < 1 || size_t(entry) > FilledEntries) return false;
    const RECT& r = MonitorList[size_t(entry)].rcMonitor;
    left = r.left;
    top = r.top;
    right = r.right;
    bottom = r.bottom;
    return true;
}

std::vector<MonitorRect> MonitorRectangles(MonitorSummary& summary) {
    EnumerateMonitors(summary);
    std::vector<MonitorRect> monitors;
    for (int32_t entry = 1; entry <= summary.MonitorCount; ++entry) {
        MonitorRect r;
        if (MonitorListRectangle(entry, r.Left, r.Top, r.Right, r.Bottom)) monitors.push_back(r);
    }
    ReleaseMonitorList();
    return monitors;
}

std::vector<MonitorDescription> DescribeMonitors(MonitorSummary& summary) {
    EnumerateMonitors(summary);
    std::vector<MonitorDescription> monitors;
    for (int32_t entry = 1; entry <= summary.MonitorCount; ++entry) {
        MonitorDescription d;
        if (!MonitorListRectangle(entry, d.Rect.Left, d.Rect.Top, d.Rect.Right, d.Rect.Bottom))
            continue;
        d.Edid = ReadMonitorEdid(MonitorList[size_t(entry)].szDevice);
        monitors.push_back(std::move(d));
    }
    ReleaseMonitorList();
    return monitors;
}
