// The Laplace fit of a pass (model kinds 3 and 4): a harmonic model from screen to controller
// fitted on the collected points, a virtual grid synthesised with it, and the final polynomial
// fit from controller to screen on that grid.
#pragma once

#include "fit/calibration_fit.h"

// The checks that keep a Laplace pass from fitting data it cannot fit: a linked record of kind
// 3 or 4, touches and targets for every data point, 1 .. 15 Laplace terms and no more than the
// grid points, a virtual grid of at least 2 x 2 points (and at least TermCount of them), finite
// touches and targets. 1; 0 with LastStatus set and a trace.
int CheckLaplaceInput(CalibrationFit& fit);

// The input stage: normalised touches (kind 4: the scaled symmetric components, the collected
// ones kept in SavedV, SavedW) and targets, "SvdFitInputs.txt", the Laplace fit containers and
// design matrices ("LcoeffsP1.txt"), zero coefficients. 1; 0 when CheckLaplaceInput refuses.
int PrepareLaplaceInputs(CalibrationFit& fit);

// The whole Laplace fit with its reports. On success (1, LastStatus Fitted) TargetX, TargetY,
// TouchV, TouchW hold the virtual grid and CoeffX, CoeffY the polynomial mapping; 0 (LastStatus
// tells why, traced) when the input is refused or the result is not finite: the caller keeps the
// calibration it had.
int RunLaplaceFit(CalibrationFit& fit);
