// The check touches of a pass in the report of its fit, after the lines the fit wrote.
#pragma once

#include <cstdint>
#include <vector>

#include "fit/check_touches.h"

// What became of a pass's check touches: the round that passed (each kept touch) or the confirmed
// miss that refused the pass (Region as PlaceOnArea gives it), the refits and the slips.
struct CheckSummary {
    std::vector<CheckTouch> Passed;
    bool Refused = false;
    CheckTouch Failure;
    int32_t Region = 0;
    int32_t Refits = 0;
    int32_t Slips = 0;
};

// Appends the summary to "SvdFitOutputs.txt" (a pass without checks writes nothing there).
void AppendCheckReport(const CheckSummary& summary);
