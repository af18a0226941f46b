// Predictions of the fitted mapping, the mean touch offset and the residuals of the grid targets.
#include "fit/fit_evaluation.h"

#include <cmath>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/design_matrix_builders.h"
#include "fit/fit_inputs.h"

namespace {

constexpr int kMaxTerms = 36;

double Dot(const Vector& coeff, const double* terms, int32_t count) {
    double sum = 0.0;
    for (int32_t k = 0; k < count; ++k) sum += coeff[k] * terms[k];
    return sum;
}

}  // namespace

double PredictPoint(const Vector& coeff, const Matrix& design, int32_t row, int32_t termCount) {
    if (row < 0 || row >= design.rows) return 0.0;
    double sum = 0.0;
    for (int32_t k = 0; k < termCount && k < design.cols && uint32_t(k) < coeff.length; ++k)
        sum += coeff[k] * design[row][k];
    return sum;
}

bool PredictNormalisedPosition(const CalibrationFit& fit, double rawV, double rawW, double& x,
                               double& y) {
    const int32_t terms = fit.TermCount;
    if (terms <= 0 || terms > kMaxTerms || fit.CoeffX.length < uint32_t(terms) ||
        fit.CoeffY.length < uint32_t(terms))
        return false;
    double row[kMaxTerms];
    PolynomialTerms(NormalisedTouch(fit, rawV), NormalisedTouch(fit, rawW), terms, row);
    x = Dot(fit.CoeffX, row, terms);
    y = Dot(fit.CoeffY, row, terms);
    return true;
}

GridResiduals ComputeGridResiduals(const CalibrationFit& fit) {
    GridResiduals result;
    if (fit.Config == nullptr || fit.PointCount <= 0) return result;
    const CalibrationConfig& c = *fit.Config;
    double sumNormalised = 0.0, sumPixels = 0.0;
    for (int32_t i = 0; i < fit.PointCount; ++i) {
        if (size_t(i) >= c.Touches.size() || size_t(i) >= c.Targets.size()) break;
        double x, y;
        if (!PredictNormalisedPosition(fit, c.Touches[i].V, c.Touches[i].W, x, y)) break;
        PointResidual r;
        r.DeltaX = x - NormalisedTargetX(c, c.Targets[i].X);
        r.DeltaY = y - NormalisedTargetY(c, c.Targets[i].Y);
        const double px = r.DeltaX * c.RangeX * fit.MonitorWidth;
        const double py = r.DeltaY * c.RangeY * fit.MonitorHeight;
        r.Pixels = std::sqrt(px * px + py * py);
        const double normalised = std::sqrt(r.DeltaX * r.DeltaX + r.DeltaY * r.DeltaY);
        sumNormalised += normalised * normalised;
        sumPixels += r.Pixels * r.Pixels;
        if (normalised > result.MaxNormalised) result.MaxNormalised = normalised;
        if (r.Pixels > result.MaxPixels) result.MaxPixels = r.Pixels;
        result.Points.push_back(r);
    }
    if (!result.Points.empty()) {
        result.RmsNormalised = std::sqrt(sumNormalised / result.Points.size());
        result.RmsPixels = std::sqrt(sumPixels / result.Points.size());
    }
    return result;
}

int ComputeTouchOffset(CalibrationFit& fit, double& offV, double& offW) {
    offV = offW = 0.0;
    if (fit.Config == nullptr || fit.Parameters == nullptr || fit.PointCount <= 0) return 0;
    const CalibrationConfig& c = *fit.Config;
    double sumV = 0.0, sumW = 0.0;
    for (int32_t i = 0; i < fit.PointCount && size_t(i) < c.Touches.size(); ++i) {
        sumV += c.Touches[i].V;
        sumW += c.Touches[i].W;
    }
    offV = sumV / fit.PointCount - GetControllerOffset(*fit.Parameters);
    offW = sumW / fit.PointCount - GetControllerOffset(*fit.Parameters);
    return 1;
}
