// The expected error of a new touch: the pass's robust scatter, the fit's leverage, the map.
#include "fit/expected_error.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "config/calibration_config.h"
#include "fit/design_matrix_builders.h"
#include "fit/fit_evaluation.h"
#include "fit/fit_inputs.h"
#include "numeric/svd.h"

namespace {

constexpr int32_t kMaxTerms = 36;
constexpr int32_t kPassMapColumns = 65;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The standard deviation of a normal distribution over its median absolute deviation.
constexpr double kMadToSigma = 1.4826;

// The mapping of the fit at a normalised raw point, in normalised target units.
void Predict(const CalibrationFit& fit, double v, double w, double& x, double& y) {
    double row[kMaxTerms];
    PolynomialTerms(v, w, fit.TermCount, row);
    x = y = 0.0;
    for (int32_t k = 0; k < fit.TermCount; ++k) {
        x += fit.CoeffX[k] * row[k];
        y += fit.CoeffY[k] * row[k];
    }
}

bool Solve2x2(double a, double b, double c, double d, double e, double f, double& x, double& y) {
    const double det = a * d - b * c;
    if (!std::isfinite(det) || det == 0.0) return false;
    x = (e * d - b * f) / det;
    y = (a * f - e * c) / det;
    return true;
}

double Median(std::vector<double> values) {
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    if (values.size() % 2 == 1) return values[middle];
    return 0.5 * (values[middle] + *std::max_element(values.begin(), values.begin() + middle));
}

bool Usable(const CalibrationFit& fit) {
    return fit.Config != nullptr && fit.TermCount > 0 && fit.TermCount <= kMaxTerms &&
           fit.CoeffX.length >= uint32_t(fit.TermCount) &&
           fit.CoeffY.length >= uint32_t(fit.TermCount) && fit.PointCount > 0 &&
           fit.TouchV.length >= uint32_t(fit.PointCount) &&
           fit.TouchW.length >= uint32_t(fit.PointCount);
}

// A map of a mapping that misses part of the area: no samples, no worst values.
ExpectedErrorMap Uninvertible(ExpectedErrorMap map) {
    map.Mm.clear();
    map.WorstInsideMm = map.WorstEdgeMm = kNaN;
    return map;
}

}  // namespace

FitLeverage LeverageOfDesign(const Matrix& design, const FitBasis& basis) {
    FitLeverage leverage;
    leverage.Terms = design.cols;
    leverage.Basis = basis;
    if (design.rows <= 0 || design.cols <= 0) return leverage;
    Matrix u = design;
    SvdDecompose(u, leverage.W, leverage.V);
    double largest = 0.0;
    for (uint32_t j = 0; j < leverage.W.length; ++j) largest = std::max(largest, leverage.W[j]);
    for (uint32_t j = 0; j < leverage.W.length; ++j)
        if (leverage.W[j] < 1e-13 * largest) leverage.W[j] = 0.0;
    return leverage;
}

FitLeverage LeverageOfFit(const CalibrationFit& fit) {
    if (!Usable(fit)) return FitLeverage();
    Matrix design(fit.PointCount, fit.Basis.Terms());
    for (int32_t i = 0; i < fit.PointCount; ++i)
        fit.Basis.Row(fit.TouchV[i], fit.TouchW[i], design[i]);
    return LeverageOfDesign(design, fit.Basis);
}

double LeverageAt(const FitLeverage& leverage, double v, double w) {
    if (leverage.Terms <= 0 || leverage.Terms > kMaxTerms ||
        leverage.Terms != leverage.Basis.Terms())
        return kNaN;
    double terms[kMaxTerms];
    leverage.Basis.Row(v, w, terms);
    double h = 0.0;
    for (int32_t j = 0; j < leverage.Terms; ++j) {
        if (leverage.W[j] == 0.0) continue;
        double projection = 0.0;
        for (int32_t k = 0; k < leverage.Terms; ++k) projection += leverage.V[k][j] * terms[k];
        projection /= leverage.W[j];
        h += projection * projection;
    }
    return h;
}

double PassScatterMm(const CalibrationFit& fit, const FitLeverage& leverage, GlassScale scale) {
    if (!Usable(fit)) return kNaN;
    const CalibrationConfig& c = *fit.Config;
    const GridResiduals residuals = ComputeGridResiduals(fit);
    std::vector<double> corrected;
    for (size_t i = 0; i < residuals.Points.size(); ++i) {
        const double freedom = 1.0 - LeverageAt(leverage, fit.TouchV[i], fit.TouchW[i]);
        if (!(freedom > 1e-9)) continue;  // a point the fit passes through says nothing
        const PointResidual& r = residuals.Points[i];
        const double dxMm = r.DeltaX * c.RangeX * fit.MonitorWidth * scale.MmPerPixelX;
        const double dyMm = r.DeltaY * c.RangeY * fit.MonitorHeight * scale.MmPerPixelY;
        corrected.push_back(std::fabs(dxMm) / std::sqrt(freedom));
        corrected.push_back(std::fabs(dyMm) / std::sqrt(freedom));
    }
    return corrected.empty() ? kNaN : kMadToSigma * Median(corrected);
}

bool RawPointForArea(const CalibrationFit& fit, double fx, double fy, double& v, double& w) {
    if (!Usable(fit) || fit.TermCount < 3) return false;
    const double tx = NormalisedTargetX(*fit.Config, fx);
    const double ty = NormalisedTargetY(*fit.Config, fy);
    const Vector& cx = fit.CoeffX;
    const Vector& cy = fit.CoeffY;
    if (!Solve2x2(cx[1], cx[2], cy[1], cy[2], tx - cx[0], ty - cy[0], v, w)) return false;
    const double step = 1e-6;
    for (int iteration = 0; iteration < 40; ++iteration) {
        double x, y, xv, yv, xw, yw, xv0, yv0, xw0, yw0;
        Predict(fit, v, w, x, y);
        if (std::fabs(x - tx) < 1e-12 && std::fabs(y - ty) < 1e-12) return true;
        Predict(fit, v + step, w, xv, yv);
        Predict(fit, v - step, w, xv0, yv0);
        Predict(fit, v, w + step, xw, yw);
        Predict(fit, v, w - step, xw0, yw0);
        double dv, dw;
        if (!Solve2x2((xv - xv0) / (2 * step), (xw - xw0) / (2 * step), (yv - yv0) / (2 * step),
                      (yw - yw0) / (2 * step), tx - x, ty - y, dv, dw))
            return false;
        v += dv;
        w += dw;
        if (!std::isfinite(v) || !std::isfinite(w) || std::fabs(v) > 100 || std::fabs(w) > 100)
            return false;
    }
    double x, y;
    Predict(fit, v, w, x, y);
    return std::fabs(x - tx) < 1e-9 && std::fabs(y - ty) < 1e-9;
}

double ExpectedErrorAt(const CalibrationFit& fit, const FitLeverage& leverage, double scatterMm,
                       double fx, double fy) {
    double v, w;
    if (!RawPointForArea(fit, fx, fy, v, w)) return kNaN;
    return scatterMm * std::sqrt(1.0 + LeverageAt(leverage, v, w));
}

ExpectedErrorMap ComputeExpectedErrorMap(const CalibrationFit& fit, GlassScale scale,
                                         int32_t columns, int32_t rows) {
    ExpectedErrorMap map;
    const FitLeverage leverage = LeverageOfFit(fit);
    map.ScatterMm = PassScatterMm(fit, leverage, scale);
    if (!std::isfinite(map.ScatterMm) || columns < 2 || rows < 2) return map;
    map.Columns = columns;
    map.Rows = rows;
    const double widthMm = fit.MonitorWidth * scale.MmPerPixelX;
    const double heightMm = fit.MonitorHeight * scale.MmPerPixelY;
    const double bandX = kExpectedErrorEdgeBandMm / widthMm;
    const double bandY = kExpectedErrorEdgeBandMm / heightMm;
    for (int32_t j = 0; j < rows; ++j) {
        for (int32_t i = 0; i < columns; ++i) {
            const double fx = double(i) / (columns - 1), fy = double(j) / (rows - 1);
            const double mm = ExpectedErrorAt(fit, leverage, map.ScatterMm, fx, fy);
            map.Mm.push_back(mm);
            const bool inBand = fx < bandX || fx > 1 - bandX || fy < bandY || fy > 1 - bandY;
            if (inBand) map.WorstEdgeMm = std::max(map.WorstEdgeMm, mm);
            // The inner area on its own grid, its border included.
            const double ix = bandX + (1 - 2 * bandX) * fx, iy = bandY + (1 - 2 * bandY) * fy;
            const double inside = ExpectedErrorAt(fit, leverage, map.ScatterMm, ix, iy);
            if (!std::isfinite(mm) || !std::isfinite(inside)) return Uninvertible(map);
            map.WorstInsideMm = std::max(map.WorstInsideMm, inside);
        }
    }
    return map;
}

ExpectedErrorMap ExpectedErrorOfPass(const CalibrationFit& fit, GlassScale scale) {
    if (IsLaplaceModel(fit.ModelKind) || fit.MonitorWidth <= 0 || fit.MonitorHeight <= 0) {
        ExpectedErrorMap none;
        none.ScatterMm = kNaN;
        return none;
    }
    const int32_t rows = std::max(
        2,
        int32_t(std::lround((kPassMapColumns - 1) * double(fit.MonitorHeight) / fit.MonitorWidth)) +
            1);
    return ComputeExpectedErrorMap(fit, scale, kPassMapColumns, rows);
}
