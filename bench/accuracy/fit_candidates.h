// The candidates a pass is weighed against in hindsight: each fitted alone on the pass's own
// touches, and judged against the sensor's truth.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/calibration_config.h"

// A candidate as the keys that make a pass fit it alone.
struct FitCandidate {
    std::string Name;
    int32_t FitTerms = 0;
    uint32_t FitModelCode = 13;
};

// Every term of orders 1 to 4, the harmonic polynomials of order 3, the sheet's model (order 7).
std::vector<FitCandidate> HindsightCandidates();

// Makes the pass's configuration fit the candidate alone.
void UseCandidate(const FitCandidate& candidate, CalibrationConfig& c);
