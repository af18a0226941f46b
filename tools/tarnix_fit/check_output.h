// The check touches of a pass file: read from their keys, measured against the fitted record.
#pragma once

#include <cstdio>
#include <vector>

#include "fit/check_touches.h"
#include "tools/tarnix_fit/fit_session.h"

// CheckPlaceXnn and CheckPlaceYnn (the place, fractions of the area) with CheckTouchXnn and
// CheckTouchYnn (the touch, controller counts as TouchGrid keys are), nn from 00, in order up to
// the first place whose four keys are not all there.
std::vector<CheckTouch> ReadCheckTouches(const CalibrationConfig& config);

// A check touch measured: its miss and the bound the calibration window holds it to.
struct MeasuredCheck {
    double MissMm = 0.0;
    double BoundMm = 0.0;
};

// Each check touch mapped by the record the session's fit packs, its miss on the glass and its
// bound from the pass's scatter and expected error there; none when the fit has no record or no
// expected-error map.
std::vector<MeasuredCheck> MeasureCheckTouches(const FitSession& session, GlassScale glass,
                                               const std::vector<CheckTouch>& checks);

// "Check touches: 3, missed by (mm): 0.30 0.16 0.11; bounds (mm): 1.00 1.00 1.00; all within",
// or the first beyond its bound; "not known" when they could not be measured.
void PrintCheckTouches(std::FILE* out, const std::vector<MeasuredCheck>& measured,
                       size_t checkCount);
