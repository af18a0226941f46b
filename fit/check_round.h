// A round of check touches after a fit: its places and what a check touch is measured with.
#pragma once

#include <cstdint>
#include <vector>

#include "fit/calibration_fit.h"
#include "fit/check_touches.h"

struct CheckRound {
    std::vector<CheckPlace> Places;
    double ScatterMm = 0.0;  // the pass's, per axis
    double PixelMm = 0.0;    // a pixel's diagonal on the glass
    CalibrationDataRecord Record{};
    int32_t AreaWidth = 0, AreaHeight = 0;
    GlassScale Scale;
};

// The round of count places for a fitted pass (MonitorWidth and MonitorHeight set), away from its
// grid targets and the places used before. No places when the pass has no expected-error map (the
// Laplace kinds, no glass size, no room to judge) or its record cannot be packed.
CheckRound PlanCheckRound(const CalibrationFit& fit, GlassScale scale,
                          const std::vector<CheckPlace>& used, int32_t count);
