// A pass's model written into the record's polynomial: the order whose coefficients the record
// holds and that follows the model over the whole area most closely, and how closely.
#pragma once

#include <cstdint>

#include "fit/fit_model.h"
#include "numeric/vector.h"

struct RecordProjection {
    uint32_t Order = 0;     // of the polynomial written (its higher record terms are zero)
    double MisfitMm = 0.0;  // the farthest the polynomial strays from the model over the area
    Vector CoeffX, CoeffY;  // termCount each
};

// unitX, unitY: millimetres per normalised target unit. False when no order up to the record's
// can be fitted with coefficients the record holds.
bool ProjectIntoRecord(const FitModel& model, const TouchFrame& frame, const FitArea& area,
                       int32_t termCount, double unitX, double unitY, RecordProjection& out);
