// The glass size of a monitor taken from its EDID when it is plausible for the monitor's pixels,
// and a tile's share of it.
#pragma once

#include <cstdint>
#include <string>

#include "display/edid.h"

// Bounds of the plausibility rule: the image's aspect ratio within 10 % of the pixels' and a
// pixel pitch that real panels have.
inline constexpr double kMaxAspectDisagreement = 1.10;
inline constexpr double kMinPixelPitchMm = 0.05;
inline constexpr double kMaxPixelPitchMm = 2.0;

enum class GlassVerdict { Plausible, NoEdid, NoSize, AspectDisagrees, PitchImplausible };

// Why the EDID's size was not taken, in a word or two for the trace ("plausible" when it was).
const char* GlassVerdictText(GlassVerdict verdict);

// The glass size of an area in millimetres, where it comes from and the monitor it belongs to.
struct AreaGlass {
    double WidthMm = 0.0, HeightMm = 0.0;
    bool FromMonitor = false;  // the monitor's EDID, else the ScreenWidth / ScreenHeight keys
    std::string Maker, Model, Serial;  // empty when not known
};

// The EDID's size for a monitor of widthPx x heightPx pixels, turned a quarter when the pixels are
// in portrait and the EDID in landscape or the other way round; the verdict says whether it
// stands. widthMm and heightMm are set only for a plausible size.
GlassVerdict JudgeMonitorGlass(const EdidInfo& edid, int32_t widthPx, int32_t heightPx,
                               double& widthMm, double& heightMm);

// The glass of a monitor: the EDID's size when plausible, else fileWidthMm x fileHeightMm; the
// maker, model and serial whenever the EDID is valid.
AreaGlass GlassOfMonitor(const EdidInfo& edid, int32_t widthPx, int32_t heightPx,
                         double fileWidthMm, double fileHeightMm);

// A tile's share of its monitor's glass, in proportion to its pixels. The file's size is the
// size of each area and stays whole.
AreaGlass GlassOfTile(const AreaGlass& monitor, int32_t monitorWidthPx, int32_t monitorHeightPx,
                      int32_t tileWidthPx, int32_t tileHeightPx);
