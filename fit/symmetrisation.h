// Antisymmetric touch components under the grid's mirrors and the sensor rotation estimate,
// reported to "symmetrized.txt".
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Mirror lookups for target targetNumber (1-based). Each finds the target's grid cell and the
// mirrored cell and returns that cell's touch with the mirror's signs. A missing cell or touch
// gives false with a = b = 0, never a read outside the arrays.
bool MirrorTouchHorizontal(const CalibrationConfig& config, int32_t targetNumber, double& a,
                           double& b);  // (-V, W) of the cell mirrored left-right
bool MirrorTouchVertical(const CalibrationConfig& config, int32_t targetNumber, double& a,
                         double& b);  // (V, -W) of the cell mirrored top-bottom
bool MirrorTouchCentral(const CalibrationConfig& config, int32_t targetNumber, double& a,
                        double& b);  // (-V, -W) of the cell mirrored through the centre
bool CentredTouch(const CalibrationConfig& config, int32_t targetNumber, double& a,
                  double& b);  // (V - MeanTouchV, W - MeanTouchW) of the target's own cell

// Replaces ScaledSymmetricV/W (NumGridPoints entries) and sets rotationDegrees to the estimated
// sensor rotation, -180 .. 180 degrees from the cross and dot products (0 when both are 0, NaN
// for touches that are not finite). 1, or 0 for an unlinked record; a missing mirror cell counts
// as a zero touch and is traced.
int SymmetriseAndEstimateRotation(CalibrationFit& fit, double& rotationDegrees);

// Truncation toward zero as the x86 conversion does it: NaN and values outside the 32-bit range
// give INT32_MIN.
int32_t TruncateToInt32(double value);
