// What a verification of one touch screen works with: the calibration the driver holds (the
// history's live entry, the record Tarnix sent last), the places to touch and their bound.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/quva_records.h"
#include "fit/check_touches.h"
#include "fit/glass_scale.h"
#include "fit/verification.h"

struct VerifyPlan {
    int32_t Screen = 0;
    std::string Entry;  // the live entry's name
    CalibrationDataRecord Record{};
    std::vector<CheckPlace> Places;
    GlassScale Scale;
    double BoundMm = 0.0;
};

// Why a screen cannot be verified.
enum class VerifyRefusal { NoCalibration, NoGlassSize, NoPlaces };

// The plan of screen from the history in folder: the places away from the grid of the live
// entry's configuration, the glass from its screen size. A refusal when the history holds no
// calibration of the screen, the entry names no usable screen size or its area leaves no room.
struct VerifyPlanning {
    std::optional<VerifyPlan> Plan;
    VerifyRefusal Refusal = VerifyRefusal::NoCalibration;
};
VerifyPlanning PlanVerification(const std::wstring& folder, int32_t screen);

// The miss (mm) of a raw touch (controller units) at place k of the plan; NaN when the record
// cannot map it.
double VerifyMissMm(const VerifyPlan& plan, size_t k, RawPoint raw);
