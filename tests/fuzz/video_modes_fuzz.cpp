// Fuzz target: arbitrary "QuvaVideo.txt" text through the tiling rule and the area list of a
// few monitors; no monitor may be cut into tiles under 64 x 64 pixels or more than 64 tiles.
#include <string>

#include "app/area_list.h"
#include "display/tile_layout.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<VideoMode> modes =
        ParseVideoModes(std::string(reinterpret_cast<const char*>(data), size));
    static const std::vector<MonitorRect> monitors = {{0, 0, 1920, 1080},  {1920, 0, 5760, 2160},
                                                      {-1024, 0, 0, 768},  {0, 1080, 64, 1144},
                                                      {0, -4096, 4096, 0}, {100, 100, 100, 300}};
    CalibrationConfig config;
    config.NumGridRows = config.NumGridColumns = 2;
    config.NumGridPoints = config.TargetCount = 4;
    config.Targets.assign(4 + kMiniTargetSlots, TargetPoint{0.25, 0.75});
    CalibrationAreaList list;
    BuildAreaList(list, monitors, modes, config);
    int32_t perMonitor[7] = {};
    for (const CalibrationArea& area : list.Areas) {
        FUZZ_CHECK(area.MonitorNumber >= 1 && area.MonitorNumber <= 6);
        const MonitorRect& m = monitors[area.MonitorNumber - 1];
        const bool whole = area.Width == m.Right - m.Left && area.Height == m.Bottom - m.Top;
        FUZZ_CHECK(whole || (area.Width >= kMinTileSide && area.Height >= kMinTileSide));
        FUZZ_CHECK(++perMonitor[area.MonitorNumber] <= kMaxTilesPerMonitor);
        FUZZ_CHECK(area.Left >= m.Left && area.Left + area.Width <= m.Right);
        FUZZ_CHECK(area.Top >= m.Top && area.Top + area.Height <= m.Bottom);
    }
    return 0;
}
