// Builders of the polynomial and Laplace design matrices, each writing its table to a report.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

inline constexpr int kMaxPolynomialDegree = 7;
inline constexpr int kGeneralHarmonicTerms = 15;
inline constexpr int kSymmetricHarmonicTerms = 4;

// Replaces PolynomialDesignMatrix by pointCount x TermCount terms v^i w^j of TouchV, TouchW
// (and sets PolynomialTermCount to TermCount); appends the table to "Coefficients.txt".
void BuildPolynomialDesignMatrix(CalibrationFit& fit, int32_t pointCount);

// Replace LaplaceDesignMatrixX / Y by pointCount x ActiveLaplaceTermCount general harmonic terms
// of TargetX, TargetY and append the table to the report reportName.
void BuildLaplaceDesignMatrixX(const wchar_t* reportName, int32_t pointCount, CalibrationFit& fit);
void BuildLaplaceDesignMatrixY(const wchar_t* reportName, int32_t pointCount, CalibrationFit& fit);

// The same with the odd real harmonics (at most four; further columns are zero), reported to
// "LcoeffsP1.txt".
void BuildSymmetricLaplaceDesignMatrixX(CalibrationFit& fit, int32_t pointCount);
void BuildSymmetricLaplaceDesignMatrixY(CalibrationFit& fit, int32_t pointCount);

// base^exponent by repeated multiplication (1 for exponent 0, also for base 0), so that every
// build computes bit-identical terms whatever its math library.
double IntegerPower(double base, int exponent);

// The termCount terms v^(d-k) w^k, degree by degree (the order of PolynomialTermNames); columns
// beyond degree 7 are 0.
void PolynomialTerms(double v, double w, int32_t termCount, double* row);

// 1, Re z, Im z, Re z^2, Im z^2, ... Im z^7 of z = x + iy.
void GeneralHarmonicTerms(double x, double y, double terms[kGeneralHarmonicTerms]);
// Re z, Re z^3, Re z^5, Re z^7 of z = x + iy.
void SymmetricHarmonicTerms(double x, double y, double terms[kSymmetricHarmonicTerms]);

// Screen height over width of the linked controller parameters (1 when the record is unlinked).
double FitAspect(const CalibrationFit& fit);
