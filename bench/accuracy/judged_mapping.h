// The true error of a fitted mapping: screen points from edge to edge through the sensor and the
// fit, judged by zone in millimetres on the glass.
#pragma once

#include <functional>

#include "config/calibration_config.h"
#include "fit/calibration_fit.h"
#include "fit/glass_scale.h"
#include "simcontroller/error_field.h"

// The touch the program stores for a screen point (raw counts shifted right by 4).
using StoredTouchAt = std::function<RawPoint(double x, double y)>;

// The fit's error at 97 x 55 points of the screen, the outermost on its edge pixels.
AccuracyZones JudgeMapping(const CalibrationFit& fit, const CalibrationConfig& c,
                           const ScreenRect& screen, const PanelSize& panel,
                           const StoredTouchAt& touchAt);
