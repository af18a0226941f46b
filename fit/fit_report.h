// The fit report: coefficients, predictions, chi-squares, rotation, offset and distance tables.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Appends the report of one fit to reportName. Predictions of point i are the sums of
// coeff[k] * matrix[i][k] over k < termCount: Y from matrixA, then matrixA = matrixB and X from it.
// Also sets OffsetV, OffsetW (ComputeTouchOffset) and RotationDegrees
// (SymmetriseAndEstimateRotation). reportCount is limited to the rows of the matrices and the
// entries of the fit's vectors. Always 1; a report that cannot be opened is skipped.
int WriteFitReport(const wchar_t* reportName, const Vector& coeffX, CalibrationFit& fit,
                   const char* const* termNames, int32_t reportCount, int32_t termCount,
                   const Vector& coeffY, Matrix& matrixA, const Matrix& matrixB, double chisqX,
                   double chisqY);
