// The move between two calibration records of one area: where a touch on the same spot of the
// sensor lands under the earlier record, compared with the newer one, over the whole area.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/quva_records.h"
#include "driver/record_mapping.h"
#include "fit/glass_scale.h"

// The controller counts that the record maps to the normalised screen position (x, y), by Newton's
// method from the linear part; nothing when it does not converge.
std::optional<std::pair<double, double>> InvertRecordMapping(const CalibrationDataRecord& record,
                                                             double x, double y);

// True when both records cover the same screen index and area rectangle.
bool SameScreenAndArea(const CalibrationDataRecord& a, const CalibrationDataRecord& b);

// The record's area: "1024x768 at (0,0)".
std::string AreaOf(const CalibrationDataRecord& record);

// The move at one point of the area: from where the newer record puts a touch to where the
// earlier one put it, in millimetres on the glass.
struct DriftSample {
    double X = 0.0, Y = 0.0;    // the point, normalised -0.5 .. 0.5 over the area
    double Dx = 0.0, Dy = 0.0;  // the move, millimetres
    double Mm = 0.0;            // its length
};

struct DriftResult {
    std::vector<DriftSample> Samples;  // a grid of Steps x Steps points, edges and corners included
    int32_t Steps = 0;
    double MaxMm = 0.0;
    double WidthMm = 0.0, HeightMm = 0.0;  // of the glass the area covers
};

inline constexpr int32_t kDriftGridSteps = 21;

// The millimetres a pixel of the record's area covers on a glass of ScreenWidth x ScreenHeight mm.
GlassScale GlassScaleOfRecord(const CalibrationDataRecord& record, double screenWidthMm,
                              double screenHeightMm);

// Nothing when either record has no mapping, they are of different areas, the scale is unusable,
// or the newer mapping cannot be inverted somewhere on the grid.
std::optional<DriftResult> MeasureDrift(const CalibrationDataRecord& newer,
                                        const CalibrationDataRecord& earlier,
                                        const GlassScale& scale, int32_t steps = kDriftGridSteps);
