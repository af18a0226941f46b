// The plausibility rule for an EDID's image size and the share of a tile.
#include "display/monitor_glass.h"

#include <algorithm>
#include <utility>

namespace {

bool PitchPlausible(double mm, int32_t pixels) {
    const double pitch = mm / pixels;
    return pitch >= kMinPixelPitchMm && pitch <= kMaxPixelPitchMm;
}

}  // namespace

const char* GlassVerdictText(GlassVerdict verdict) {
    switch (verdict) {
        case GlassVerdict::Plausible:
            return "plausible";
        case GlassVerdict::NoEdid:
            return "no EDID";
        case GlassVerdict::NoSize:
            return "no size in the EDID";
        case GlassVerdict::AspectDisagrees:
            return "aspect ratio disagrees with the pixels";
        case GlassVerdict::PitchImplausible:
            return "pixel pitch out of range";
    }
    return "";
}

GlassVerdict JudgeMonitorGlass(const EdidInfo& edid, int32_t widthPx, int32_t heightPx,
                               double& widthMm, double& heightMm) {
    if (!edid.Valid) return GlassVerdict::NoEdid;
    if (!(edid.WidthMm > 0.0) || !(edid.HeightMm > 0.0) || widthPx <= 0 || heightPx <= 0)
        return GlassVerdict::NoSize;
    double width = edid.WidthMm, height = edid.HeightMm;
    if ((width > height) != (widthPx > heightPx) && width != height && widthPx != heightPx)
        std::swap(width, height);
    const double ratio = (width / height) / (double(widthPx) / heightPx);
    if (std::max(ratio, 1.0 / ratio) > kMaxAspectDisagreement) return GlassVerdict::AspectDisagrees;
    if (!PitchPlausible(width, widthPx) || !PitchPlausible(height, heightPx))
        return GlassVerdict::PitchImplausible;
    widthMm = width;
    heightMm = height;
    return GlassVerdict::Plausible;
}

AreaGlass GlassOfMonitor(const EdidInfo& edid, int32_t widthPx, int32_t heightPx,
                         double fileWidthMm, double fileHeightMm) {
    AreaGlass glass;
    glass.WidthMm = fileWidthMm;
    glass.HeightMm = fileHeightMm;
    glass.FromMonitor = JudgeMonitorGlass(edid, widthPx, heightPx, glass.WidthMm, glass.HeightMm) ==
                        GlassVerdict::Plausible;
    if (edid.Valid) {
        glass.Maker = edid.Maker;
        glass.Model = EdidModelText(edid);
        glass.Serial = EdidSerialText(edid);
    }
    return glass;
}

AreaGlass GlassOfTile(const AreaGlass& monitor, int32_t monitorWidthPx, int32_t monitorHeightPx,
                      int32_t tileWidthPx, int32_t tileHeightPx) {
    AreaGlass tile = monitor;
    if (!monitor.FromMonitor || monitorWidthPx <= 0 || monitorHeightPx <= 0) return tile;
    tile.WidthMm = monitor.WidthMm * tileWidthPx / monitorWidthPx;
    tile.HeightMm = monitor.HeightMm * tileHeightPx / monitorHeightPx;
    return tile;
}
