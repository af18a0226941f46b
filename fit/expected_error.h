// The expected error of the committed mapping anywhere on the area: the pass's own scatter
// carried by the fit's leverage there, the model's misfit and the record's, in millimetres.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "fit/calibration_fit.h"
#include "fit/fit_model.h"
#include "fit/glass_scale.h"

// The touch-display requirement's edge band: the inner area lies this far or more from every edge.
inline constexpr double kExpectedErrorEdgeBandMm = 3.5;

// The model a pass's expected error is figured from: the model it chose, or for the fit of every
// term of an order that polynomial (the same mapping, fitted again in the touches' own frame).
// Null when it cannot be fitted with room to judge it (as many terms as touches).
std::shared_ptr<const FitModel> ModelOfFit(const CalibrationFit& fit);

// The touch scatter per axis in mm that the model's residuals of the grid targets show: 1.4826
// times the median of |r| / sqrt(1 - h) over both axes (each residual corrected for the degrees of
// freedom its own point took), robust against a stray touch. NaN when no point has leverage
// below 1.
double PassScatterMm(const CalibrationFit& fit, const FitModel& model, GlassScale scale);

// What the model misses besides the scatter, in mm (radial, RMS over the touches): the part of
// its deleted residuals that the scatter does not explain.
double PassMisfitMm(const CalibrationFit& fit, const FitModel& model, GlassScale scale,
                    double scatterMm);

// The normalised raw point (v, w) that the fitted mapping sends to the area fraction (fx, fy),
// found by Newton's method from the mapping's affine part. False when it does not converge.
bool RawPointForArea(const CalibrationFit& fit, double fx, double fy, double& v, double& w);

// What the committed mapping is expected to miss by at the area fraction (fx, fy), in mm (radial,
// RMS): the scatter the fit carries there, sqrt(2 h) * scatter, with the model's misfit (grown by
// h over the touches' mean leverage) and the record's departure from the model. NaN where the
// mapping cannot be inverted.
struct ErrorSources {
    double ScatterMm = 0.0;     // per axis
    double MisfitMm = 0.0;      // the model's, radial
    double ProjectionMm = 0.0;  // the record's polynomial against the model, at worst
    double MeanLeverage = 0.0;  // of the touches (0: the misfit alike everywhere)
};
double ExpectedErrorAt(const CalibrationFit& fit, const FitModel& model, const ErrorSources& e,
                       double fx, double fy);

// The bound shown for the worst error over a zone: this many times the largest expected (RMS)
// error there, so that the true worst lies below it in nine passes out of ten, and a pixel's
// diagonal for the driver's truncation.
inline constexpr double kWorstErrorFactor = 2.0;

// The expected error over the area, sampled at Columns x Rows points from edge to edge (corners
// included), with the worst value inside (kExpectedErrorEdgeBandMm or more from every edge,
// sampled on its own grid so its border is included) and in the edge band.
struct ExpectedErrorMap {
    double ScatterMm = 0.0;
    double MisfitMm = 0.0;
    double RmsMm = 0.0;  // over the whole area, the driver's truncation to pixels included
    int32_t Columns = 0;
    int32_t Rows = 0;
    std::vector<double> Mm;      // row by row; sample (i, j) at fraction (i / (Columns - 1), ...)
    double WorstInsideMm = 0.0;  // bounds: kWorstErrorFactor times the largest sample
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
