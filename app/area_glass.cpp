// Each area's glass size from its monitor's EDID or the file, and its use in a pass.
#include "app/area_glass.h"

#include <cstdio>

#include "display/edid.h"

void AssignAreaGlass(CalibrationAreaList& list, const std::vector<MonitorDescription>& monitors,
                     const ControllerParameters& parameters) {
    for (CalibrationArea& area : list.Areas) {
        area.Glass = AreaGlass();
        area.Glass.WidthMm = parameters.ScreenWidth;
        area.Glass.HeightMm = parameters.ScreenHeight;
        const size_t index = size_t(area.MonitorNumber - 1);
        if (!parameters.GlassFromMonitor || area.MonitorNumber < 1 || index >= monitors.size())
            continue;
        const MonitorDescription& monitor = monitors[index];
        const int32_t width = monitor.Rect.Right - monitor.Rect.Left;
        const int32_t height = monitor.Rect.Bottom - monitor.Rect.Top;
        const EdidInfo edid = ParseEdid(monitor.Edid.data(), monitor.Edid.size());
        area.Glass = GlassOfTile(
            GlassOfMonitor(edid, width, height, parameters.ScreenWidth, parameters.ScreenHeight),
            width, height, area.Width, area.Height);
    }
}

void UseAreaGlass(ControllerParameters& parameters, const CalibrationArea& area) {
    if (!(area.Glass.WidthMm > 0.0) || !(area.Glass.HeightMm > 0.0)) return;
    parameters.ScreenWidth = area.Glass.WidthMm;
    parameters.ScreenHeight = area.Glass.HeightMm;
}

std::string GlassSizeText(const AreaGlass& glass) {
    char text[96];
    std::snprintf(text, sizeof text, "%.1f x %.1f mm (%s)", glass.WidthMm, glass.HeightMm,
                  glass.FromMonitor ? "monitor EDID" : "Tarnix.cfg");
    return text;
}

std::vector<std::pair<std::string, std::string>> GlassHeaderLines(const AreaGlass& glass) {
    std::vector<std::pair<std::string, std::string>> lines = {{"Glass size", GlassSizeText(glass)}};
    if (!glass.Maker.empty()) lines.emplace_back("Monitor maker", glass.Maker);
    if (!glass.Model.empty()) lines.emplace_back("Monitor model", glass.Model);
    if (!glass.Serial.empty()) lines.emplace_back("Monitor serial", glass.Serial);
    return lines;
}
