// The screen areas to calibrate: one per monitor or per tile of a monitor, each with its targets
// in pixels, plus the list's own target array used by three-point calibration.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "config/calibration_config.h"
#include "display/monitor_glass.h"
#include "display/monitors.h"
#include "display/tile_layout.h"

// One target of an area: position in pixels from the area's top-left corner, and the raw touch.
struct AreaTarget {
    int32_t ScreenX = 100, ScreenY = 75, RawV = 100, RawW = 75, Z = 255;
};

// One screen area (a monitor or a tile of one) and its targets.
struct CalibrationArea {
    int32_t Height = 600, Width = 800, Left = 0, Top = 0, MonitorNumber = 1, DuplicateWord1 = 1,
            DuplicateWord2 = 0, ScreenNumber = 1, Calibrated = 0;
    std::vector<AreaTarget> Targets;
    AreaGlass Glass;  // 0 x 0 mm until assigned: the passes then use the file's size
};

// The areas in creation order, the current one and the pass counters.
struct CalibrationAreaList {
    std::list<CalibrationArea> Areas;
    CalibrationArea* Current = nullptr;
    int32_t AreaCount = 0;
    int32_t CurrentMonitor = 1;
    int32_t ScreenCounter = 1;
    int32_t AcceptedCount = 0;
    int32_t TouchScreenCount = 0;
    std::vector<AreaTarget> Targets;
};

// Area number index (0-based) in list order, clamped to the first and last area; none when the
// list is empty.
CalibrationArea* AreaByNumber(CalibrationAreaList& list, int index);

// Selects area number monitor - 1 (clamped) as the current area and records the monitor.
CalibrationArea* SelectMonitorArea(CalibrationAreaList& list, int32_t monitor);

// Writes the mini-target slots, then converts target i (1..TargetCount) of the configuration to
// the area's pixels (truncated toward zero).
void PlaceAreaTargets(CalibrationArea& area, CalibrationConfig& config);

// Appends one area per monitor, or per tile when a video mode divides the monitor exactly;
// records the count and makes the first area current. Monitors with no size are skipped.
// Returns the number of areas appended.
int32_t BuildAreaList(CalibrationAreaList& list, const std::vector<MonitorRect>& monitors,
                      const std::vector<VideoMode>& modes, CalibrationConfig& config);

// Sizes the list's own target array to count entries, keeping the entries it holds.
void SizeListTargets(CalibrationAreaList& list, uint32_t count);

// Appends an exact copy of the current area (words and targets), sets the copy's two further
// words to the current monitor number + 1 and makes it current; none when there is no area.
CalibrationArea* DuplicateCurrentArea(CalibrationAreaList& list);
