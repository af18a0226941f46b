// The symmetric harmonic (Laplace) model from screen to controller coordinates: its evaluation at
// the fit's targets and the sum of squared residuals against the collected touches.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Terms the model uses for a configured term count: 1 .. 4 (odd powers 1, 3, 5, 7).
int32_t LaplaceModelTerms(int32_t termCount);

// PredictedV[i] = sum over the model terms k of cV[k] * Re(((x - xoff) + i a (y - yoff)) e^(-i
// theta))^(2k+1) for the first count targets (TargetX, TargetY), a = the sensor's aspect.
// PredictedV is given count entries (reusing its storage when it has them already). count is
// limited to the targets present and the terms to the coefficients present.
void EvaluateLaplaceV(CalibrationFit& fit, int32_t count, int32_t termCount, double theta,
                      double xoff, double yoff, const Vector& cV);

// The same for W with the axes exchanged: w = (y - yoff) + i (x - xoff) / a, turned by +theta.
void EvaluateLaplaceW(CalibrationFit& fit, int32_t count, int32_t termCount, double theta,
                      double xoff, double yoff, const Vector& cW);

// Evaluates both models with ActiveLaplaceTermCount terms and returns the sum over the first count
// points of (PredictedW - TouchW)^2 + (PredictedV - TouchV)^2, in index order (0 for no points).
double LaplaceSumOfSquares(CalibrationFit& fit, int32_t count, double theta, double xoff,
                           double yoff, const Vector& cV, const Vector& cW);
