// Mini-target evaluation: predicted offsets of the 11 mini targets and their spacing table.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Predicts mini target k (data point gridPointCount + k) from PolynomialDesignMatrix, stores the
// figures in mickeys and appends them to "SvdFitOutputs.txt", then the spacing table. 1 when the
// table was written; 0 when DistanceOfInfluence is (almost) zero, the record is unlinked or the
// mini-target rows do not exist (their figures are then left 0).
int EvaluateMiniTargets(CalibrationFit& fit, int32_t termCount, int32_t gridPointCount,
                        const Vector& coeffX, const Vector& coeffY);
