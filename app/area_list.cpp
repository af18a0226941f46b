// The screen areas: building them from monitors and tiles, placing targets in pixels, choosing
// and duplicating areas.
#include "app/area_list.h"

#include <cmath>
#include <iterator>

#include "display/target_layout.h"

namespace {

// extent x fraction, truncated toward zero and kept inside the 32-bit range.
int32_t PixelOf(int32_t extent, double fraction) {
    double pixel = std::trunc(double(extent) * fraction);
    if (!(pixel == pixel)) return 0;  // not a number
    if (pixel > double(INT32_MAX)) return INT32_MAX;
    if (pixel < double(INT32_MIN)) return INT32_MIN;
    return int32_t(pixel);
}

}  // namespace

CalibrationArea* AreaByNumber(CalibrationAreaList& list, int index) {
    if (list.Areas.empty()) return nullptr;
    if (index <= 0) return &list.Areas.front();
    if (size_t(index) >= list.Areas.size()) return &list.Areas.back();
    return &*std::next(list.Areas.begin(), index);
}

CalibrationArea* SelectMonitorArea(CalibrationAreaList& list, int32_t monitor) {
    list.CurrentMonitor = monitor;
    int64_t index = int64_t(monitor) - 1;
    list.Current = AreaByNumber(list, index < 0 ? 0 : index > INT32_MAX ? INT32_MAX : int(index));
    return list.Current;
}

void PlaceAreaTargets(CalibrationArea& area, CalibrationConfig& config) {
    PlaceMiniTargets(config);
    size_t count = config.TargetCount;
    if (count > area.Targets.size()) count = area.Targets.size();
    if (count > config.Targets.size()) count = config.Targets.size();
    for (size_t i = 0; i < count; ++i) {
        area.Targets[i].ScreenX = PixelOf(area.Width, config.Targets[i].X);
        area.Targets[i].ScreenY = PixelOf(area.Height, config.Targets[i].Y);
    }
}

int32_t BuildAreaList(CalibrationAreaList& list, const std::vector<MonitorRect>& monitors,
                      const std::vector<VideoMode>& modes, CalibrationConfig& config) {
    int32_t appended = 0;
    for (size_t m = 0; m < monitors.size(); ++m) {
        const MonitorRect& monitor = monitors[m];
        int64_t width = int64_t(monitor.Right) - monitor.Left;
        int64_t height = int64_t(monitor.Bottom) - monitor.Top;
        if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) continue;
        int32_t tileWidth = int32_t(width), tileHeight = int32_t(height), columns = 1, rows = 1;
        MatchTileLayout(modes, tileWidth, tileHeight, columns, rows);
        for (int32_t row = 0; row < rows; ++row) {
            for (int32_t column = 0; column < columns; ++column) {
                CalibrationArea& area = list.Areas.emplace_back();
                area.Height = tileHeight;
                area.Width = tileWidth;
                area.Left = int32_t(monitor.Left + int64_t(column) * tileWidth);
                area.Top = int32_t(monitor.Top + int64_t(row) * tileHeight);
                area.MonitorNumber = int32_t(m + 1);
                area.Targets.assign(config.TargetCount, AreaTarget());
                PlaceAreaTargets(area, config);
                ++appended;
            }
        }
    }
    SizeListTargets(list, config.TargetCount);
    list.AreaCount = int32_t(list.Areas.size());
    list.Current = list.Areas.empty() ? nullptr : &list.Areas.front();
    return appended;
}

void SizeListTargets(CalibrationAreaList& list, uint32_t count) {
    if (list.Targets.size() < count) list.Targets.resize(count, AreaTarget());
}

CalibrationArea* DuplicateCurrentArea(CalibrationAreaList& list) {
    if (list.Current == nullptr) return nullptr;
    CalibrationArea& copy = list.Areas.emplace_back(*list.Current);
    copy.DuplicateWord1 = list.CurrentMonitor + 1;
    copy.DuplicateWord2 = list.CurrentMonitor + 1;
    list.AreaCount = int32_t(list.Areas.size());
    list.Current = &copy;
    return list.Current;
}
