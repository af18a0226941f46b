// The display monitors the system reports: their count, the virtual desktop and each monitor's
// rectangle, kept in one process-wide list between enumerations.
#pragma once

#include <cstdint>
#include <vector>

// EnumerateMonitors status bits (0 = the enumeration ran).
constexpr uint32_t kMonitorNoUser32 = 2;
constexpr uint32_t kMonitorNoGetMonitorInfo = 4;
constexpr uint32_t kMonitorNoEnumDisplayMonitors = 8;
constexpr uint32_t kMonitorNoMemory = 16;

// A monitor's rectangle on the virtual desktop (right and bottom exclusive).
struct MonitorRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct MonitorSummary {
    int32_t MonitorCount = 1;  // as the system reports it; 1 when it reports 0
    uint32_t Status = 0;
    int32_t VirtualLeft = 0, VirtualTop = 0, VirtualRight = 0, VirtualBottom = 0;
};

// Releases the previous list and fills a new one of MonitorCount + 1 entries: entries
// 1..MonitorCount hold the monitors in enumeration order; monitors beyond that are ignored.
uint32_t EnumerateMonitors(MonitorSummary& summary);

// Releases the monitor list if there is one.
void ReleaseMonitorList();

// Rectangle of entry 1..MonitorCount of the list (right and bottom exclusive); false for an entry
// the enumeration did not fill or that does not exist.
bool MonitorListRectangle(int32_t entry, int32_t& left, int32_t& top, int32_t& right,
                          int32_t& bottom);

// Enumerates the monitors (summary as EnumerateMonitors fills it) and gives the rectangles of those
// the enumeration filled, in its order (monitor number = position + 1); the list is released.
std::vector<MonitorRect> MonitorRectangles(MonitorSummary& summary);

// A monitor's rectangle and the EDID its device keeps (empty when none).
struct MonitorDescription {
    MonitorRect Rect;
    std::vector<uint8_t> Edid;
};

// As MonitorRectangles, each rectangle with its monitor's EDID.
std::vector<MonitorDescription> DescribeMonitors(MonitorSummary& summary);
