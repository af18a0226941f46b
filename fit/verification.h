// A verification of the calibration a screen holds: where to touch, how far off a touch may be and
// what the misses say.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/calibration_config.h"
#include "fit/check_touches.h"

// The person's scatter per axis that the requirement allows for (mm).
inline constexpr double kVerifyScatterMm = 1.0;

// The places of a verification (fractions of the area): the one nearest each corner and the one
// nearest the centre, each half the grid's step from every grid target and a step from the
// others, inside the check touches' margin and edgePx pixels or more from every edge (so that
// the target drawn there shows whole). Fewer when the area leaves no room.
std::vector<CheckPlace> VerificationPlaces(const std::vector<TargetPoint>& grid, int32_t areaWidth,
                                           int32_t areaHeight, double edgePx);

// The bound of a verification touch's miss (mm): a check touch's bound with kVerifyScatterMm,
// pixelMm being a pixel's diagonal on the glass.
double VerificationBoundMm(double pixelMm);

// The misses of a verification (mm, in the order asked) and its bound.
struct VerificationResult {
    std::vector<double> MissesMm;
    double BoundMm = 0.0;
    // Every place was touched and missed by no more than the bound.
    bool Within(size_t places) const;
};

// "Verified at 4 places: 0.4, 0.7, 0.6 and 0.9 mm: within the requirement" (or "not within").
std::string VerificationSentence(const VerificationResult& result, size_t places);
