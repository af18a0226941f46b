// Mini targets after a Laplace fit: the real mini targets predicted with the final polynomial.
#pragma once

#include "fit/calibration_fit.h"

// Predicts each of the 11 mini targets from its own normalised touch with CoeffX, CoeffY and
// compares it with its own normalised target position (not with virtual grid entries), storing
// the figures and appending them to "SvdFitOutputs.txt" as EvaluateMiniTargets does. The fit's
// TargetX, TargetY and PolynomialDesignMatrix are not touched. EvaluateMiniTargets' result.
int EvaluateLaplaceMiniTargets(CalibrationFit& fit);
