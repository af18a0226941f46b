// Evaluation of a fitted mapping: the value of a design row, the screen position of a raw touch,
// the mean touch offset and the residuals of the grid targets of a pass.
#pragma once

#include <vector>

#include "fit/calibration_fit.h"

// Predicted value of point row: sum of coeff[k] * design[row][k] for k below termCount (limited to
// the coefficients and columns present).
double PredictPoint(const Vector& coeff, const Matrix& design, int32_t row, int32_t termCount);

// Normalised screen position (x, y) that the fitted coefficients give for a raw touch (V, W),
// normalised with the fit's ControllerOffset and ScaleFactor. False when no coefficients exist.
bool PredictNormalisedPosition(const CalibrationFit& fit, double rawV, double rawW, double& x,
                               double& y);

struct PointResidual {
    double DeltaX = 0.0;  // predicted minus target, normalised units
    double DeltaY = 0.0;
    double Pixels = 0.0;  // distance in pixels of the monitor (RangeX, RangeY applied)
};

struct GridResiduals {
    std::vector<PointResidual> Points;
    double RmsNormalised = 0.0;  // root mean square of the normalised distances
    double MaxNormalised = 0.0;
    double RmsPixels = 0.0;
    double MaxPixels = 0.0;
};

// Residuals of the PointCount grid targets against the configuration's touches and targets
// (empty for an unlinked record or one without coefficients).
GridResiduals ComputeGridResiduals(const CalibrationFit& fit);

// Mean raw touch of the PointCount grid points minus the controller offset, per axis. 1; 0 with
// offsets 0 for an unlinked record or no points.
int ComputeTouchOffset(CalibrationFit& fit, double& offV, double& offW);
