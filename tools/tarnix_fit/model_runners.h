// The fit of each model kind that tarnix-fit can run.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

struct ModelRunner {
    uint32_t Kind;
    const char* Name;
    int (*Run)(CalibrationFit& fit);  // 1 when fitted
    bool LaplaceMembers;              // the JSON output lists the Laplace results too
};

// The runner of a model kind, or nullptr when this build has none for it.
const ModelRunner* FindModelRunner(uint32_t kind);
