// The fit of a finished pass, chosen by the model kind, and the text that explains a refusal.
#pragma once

#include <cstdint>
#include <string>

#include "fit/calibration_fit.h"
#include "fit/fit_gate.h"

// Sets the monitor size of the fit to the area's and runs the fit of its model kind: the Laplace
// fit for kinds 3 and 4, else the polynomial fit. True when the coefficients may be committed.
bool RunPassFit(CalibrationFit& fit, int32_t areaWidth, int32_t areaHeight);

// The gate's judgement of a fitted pass (linked to its configuration and parameters) with the
// bounds of its configuration and controller, traced; a sound polynomial pass also gets the worst
// expected error of a new touch inside and at the edges, from the map tarnix-fit prints.
FitJudgement JudgePass(const CalibrationFit& fit);

// The language library's text id that gives the reason of a refused pass (0 for a sound one);
// touches that disagree name the place of the area they are near.
uint32_t RefusalTextId(const FitJudgement& judgement);
