// The expected error of a new touch anywhere on the area: the pass's own scatter and the fit's
// leverage there, in millimetres on the glass.
#pragma once

#include <cstdint>
#include <vector>

#include "fit/calibration_fit.h"
#include "fit/glass_scale.h"
#include "numeric/matrix.h"
#include "numeric/vector.h"

// The touch-display requirement's edge band: the inner area lies this far or more from every edge.
inline constexpr double kExpectedErrorEdgeBandMm = 3.5;

// The leverage of a least-squares fit, h = t^T (A^T A)^-1 t for the terms t of a normalised raw
// point in the fit's basis: with A = U diag(W) V^T, (A^T A)^-1 = V diag(W)^-2 V^T.
struct FitLeverage {
    Matrix V;
    Vector W;  // singular values; those below 1e-13 of the largest count as zero
    int32_t Terms = 0;
    FitBasis Basis;
};

// The leverage of the design matrix (one row of the basis's terms per data point).
FitLeverage LeverageOfDesign(const Matrix& design, const FitBasis& basis);
// The leverage of the PointCount grid touches of a prepared or fitted polynomial pass, in the
// terms it was fitted with.
FitLeverage LeverageOfFit(const CalibrationFit& fit);
// h at a normalised raw point (v, w): 1 at every point of a fit with as many points as terms,
// summing to the rank over the data points, growing away from them.
double LeverageAt(const FitLeverage& leverage, double v, double w);

// The touch scatter per axis in mm that the residuals of the grid targets show: 1.4826 times the
// median of |r| / sqrt(1 - h) over both axes (each residual corrected for the degrees of freedom
// its own point took), robust against a stray touch. NaN when no point has leverage below 1 (as
// many terms as points: the residuals say nothing).
double PassScatterMm(const CalibrationFit& fit, const FitLeverage& leverage, GlassScale scale);

// The normalised raw point (v, w) that the fitted mapping sends to the area fraction (fx, fy),
// found by Newton's method from the mapping's affine part. False when it does not converge.
bool RawPointForArea(const CalibrationFit& fit, double fx, double fy, double& v, double& w);

// Expected error, per axis, of a new touch at the area fraction (fx, fy): scatter * sqrt(1 + h).
// NaN where the mapping cannot be inverted.
double ExpectedErrorAt(const CalibrationFit& fit, const FitLeverage& leverage, double scatterMm,
                       double fx, double fy);

// The expected error over the area, sampled at Columns x Rows points from edge to edge (corners
// included), with the worst value inside (kExpectedErrorEdgeBandMm or more from every edge,
// sampled on its own grid so its border is included) and in the edge band.
struct ExpectedErrorMap {
    double ScatterMm = 0.0;
    int32_t Columns = 0;
    int32_t Rows = 0;
    std::vector<double> Mm;  // row by row; sample (i, j) at fraction (i / (Columns - 1), ...)
    double WorstInsideMm = 0.0;
    double WorstEdgeMm = 0.0;
};

// The map of a fitted polynomial pass (grid of at least 2 x 2). No samples when the pass has no
// degrees of freedom left (ScatterMm NaN) or the mapping cannot be inverted somewhere on the area
// (a dead sensor's fit).
ExpectedErrorMap ComputeExpectedErrorMap(const CalibrationFit& fit, GlassScale scale,
                                         int32_t columns, int32_t rows);

// The map of a finished pass as the window and tarnix-fit give it: 65 columns from edge to edge and
// rows in the area's proportion. None (NaN scatter) for the Laplace kinds: their final fit is not
// made on the touches.
ExpectedErrorMap ExpectedErrorOfPass(const CalibrationFit& fit, GlassScale scale);
