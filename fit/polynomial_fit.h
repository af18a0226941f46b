// The polynomial fit of a pass: normalisation, fit containers, the two SVD fits and the set-up of
// the final polynomial fit of the Laplace path.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Normalises touches and targets (grid points, plus the 11 mini targets when configured), writes
// "SvdFitInputs.txt", allocates the fit containers and builds the design matrix. 1; 0 (with
// LastStatus set and a trace, the coefficients untouched) when the record is unlinked, the arrays
// are too short, PointCount is below TermCount, a touch is not finite, or the normalised data or
// their powers are not (a ControllerMax equal to ControllerMin, a touch of 1e300).
int PreparePolynomialFit(CalibrationFit& fit);

// The fits of X and Y over the PointCount grid points, "SvdFitOutputs.txt" and, with mini targets,
// EvaluateMiniTargets. 1 with LastStatus Fitted; 0 when the preparation did not succeed or the
// result is not finite (LastStatus tells which).
int RunPolynomialFit(CalibrationFit& fit);

// Weights, U, V and singular values for a final fit over count points, zero coefficients and the
// design matrix of the first count entries of TouchV, TouchW. Always 1.
int PrepareGridPolynomialFit(CalibrationFit& fit, int32_t count);

// False (tracing the first bad entry and setting LastStatus NonFiniteTouch) when one of the first
// count touches of the configuration has a NaN or infinite coordinate.
bool CheckTouchesFinite(CalibrationFit& fit, uint32_t count);

// Sets LastStatus Fitted when CoeffX, CoeffY (TermCount each), ControllerOffset, ScaleFactor,
// OffsetV and OffsetW are finite, else NonFiniteResult with a trace. Returns whether fitted.
bool AcceptFitResults(CalibrationFit& fit);

// PreparePolynomialFit, then RunPolynomialFit: the polynomial fit of a pass. 1 when fitted.
int RunPolynomialPass(CalibrationFit& fit);
