// The expected error of the committed mapping: the pass's robust scatter, the model's leverage and
// misfit, the record's departure from the model, the map.
#include "fit/expected_error.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "config/calibration_config.h"
#include "fit/design_matrix_builders.h"
#include "fit/fit_evaluation.h"
#include "fit/fit_inputs.h"

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
    map.WorstInsideMm = map.WorstEdgeMm = map.RmsMm = kNaN;
    return map;
}

// Millimetres per normalised target unit on each axis.
struct Millimetres {
    double X = 0.0, Y = 0.0;
};

Millimetres MillimetresOf(const CalibrationFit& fit, GlassScale scale) {
    const CalibrationConfig& c = *fit.Config;
    return {c.RangeX * fit.MonitorWidth * scale.MmPerPixelX,
            c.RangeY * fit.MonitorHeight * scale.MmPerPixelY};
}

}  // namespace

std::shared_ptr<const FitModel> ModelOfFit(const CalibrationFit& fit) {
    if (fit.Choice.Model) return fit.Choice.Model;
    if (!Usable(fit)) return nullptr;
    std::vector<BasisPoint> points;
    for (int32_t i = 0; i < fit.PointCount; ++i)
        points.push_back({fit.TouchV[i], fit.TouchW[i], fit.TargetX[i], fit.TargetY[i]});
    TouchFrame frame;
    std::shared_ptr<FitModel> model = MakePolynomialModel(int(fit.PolynomialOrder));
    if (!frame.Fit(points) || !model->Fit(points, frame)) return nullptr;
    return model;
}

double PassScatterMm(const CalibrationFit& fit, const FitModel& model, GlassScale scale) {
    if (!Usable(fit)) return kNaN;
    const Millimetres mm = MillimetresOf(fit, scale);
    std::vector<double> corrected;
    for (int32_t i = 0; i < fit.PointCount; ++i) {
        const double freedom = 1.0 - model.Leverage(size_t(i));
        if (!(freedom > 1e-9)) continue;  // a point the fit passes through says nothing
        double dx, dy;
        model.Deleted(size_t(i), dx, dy);
        corrected.push_back(std::fabs(dx * mm.X) * std::sqrt(freedom));
        corrected.push_back(std::fabs(dy * mm.Y) * std::sqrt(freedom));
    }
    return corrected.empty() ? kNaN : kMadToSigma * Median(corrected);
}

double PassMisfitMm(const CalibrationFit& fit, const FitModel& model, GlassScale scale,
                    double scatterMm) {
    if (!Usable(fit) || !std::isfinite(scatterMm)) return kNaN;
    const Millimetres mm = MillimetresOf(fit, scale);
    double excess = 0.0;
    for (int32_t i = 0; i < fit.PointCount; ++i) {
        const double freedom = 1.0 - model.Leverage(size_t(i));
        if (!(freedom > 1e-9)) return kNaN;
        double dx, dy;
        model.Deleted(size_t(i), dx, dy);
        const double deleted = dx * mm.X * dx * mm.X + dy * mm.Y * dy * mm.Y;
        excess += deleted - 2 * scatterMm * scatterMm / freedom;
    }
    return std::sqrt(std::max(0.0, excess / fit.PointCount));
}

bool RawPointForArea(const CalibrationFit& fit, double fx, double fy, double& v, double& w) {
    if (!Usable(fit) || fit.TermCount < 3) return false;
    const double tx = NormalisedTargetX(*fit.Config, fx);
    const double ty = NormalisedTargetY(*fit.Config, fy);
    // From the touch of the nearest target: the record's own linear terms may lie far from the
    // mapping's slope where the touches span a narrow, offset part of the controller's range.
    double nearest = HUGE_VAL;
    for (int32_t i = 0; i < fit.PointCount; ++i) {
        const double d = std::hypot(fit.TargetX[i] - tx, fit.TargetY[i] - ty);
        if (d < nearest) nearest = d, v = fit.TouchV[i], w = fit.TouchW[i];
    }
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

double ExpectedErrorAt(const CalibrationFit& fit, const FitModel& model, const ErrorSources& e,
                       double fx, double fy) {
    double v, w;
    if (!RawPointForArea(fit, fx, fy, v, w)) return kNaN;
    const double h = model.LeverageAt(v, w);
    // The misfit grows where the model is held by fewer touches, as its variance does: at the
    // touches it averages b^2, beyond them it grows with the leverage.
    const double held = e.MeanLeverage > 0.0 ? h / e.MeanLeverage : 1.0;
    return std::sqrt(2 * h * e.ScatterMm * e.ScatterMm + held * e.MisfitMm * e.MisfitMm +
                     e.ProjectionMm * e.ProjectionMm);
}

ExpectedErrorMap ComputeExpectedErrorMap(const CalibrationFit& fit, GlassScale scale,
                                         int32_t columns, int32_t rows) {
    ExpectedErrorMap map;
    map.ScatterMm = map.MisfitMm = map.RmsMm = kNaN;
    const std::shared_ptr<const FitModel> model = ModelOfFit(fit);
    if (!model) return map;
    ErrorSources sources;
    sources.ScatterMm = map.ScatterMm = PassScatterMm(fit, *model, scale);
    sources.MisfitMm = map.MisfitMm = PassMisfitMm(fit, *model, scale, map.ScatterMm);
    sources.ProjectionMm = fit.ProjectionMisfitMm;
    sources.MeanLeverage = model->Terms() / double(fit.PointCount);
    if (!std::isfinite(map.ScatterMm) || !std::isfinite(map.MisfitMm) || columns < 2 || rows < 2)
        return map;
    map.Columns = columns;
    map.Rows = rows;
    const double widthMm = fit.MonitorWidth * scale.MmPerPixelX;
    const double heightMm = fit.MonitorHeight * scale.MmPerPixelY;
    const double bandX = kExpectedErrorEdgeBandMm / widthMm;
    const double bandY = kExpectedErrorEdgeBandMm / heightMm;
    double sumSquares = 0.0;
    for (int32_t j = 0; j < rows; ++j) {
        for (int32_t i = 0; i < columns; ++i) {
            const double fx = double(i) / (columns - 1), fy = double(j) / (rows - 1);
            const double mm = ExpectedErrorAt(fit, *model, sources, fx, fy);
            map.Mm.push_back(mm);
            sumSquares += mm * mm;
            const bool inBand = fx < bandX || fx > 1 - bandX || fy < bandY || fy > 1 - bandY;
            if (inBand) map.WorstEdgeMm = std::max(map.WorstEdgeMm, kWorstErrorFactor * mm);
            // The inner area on its own grid, its border included.
            const double ix = bandX + (1 - 2 * bandX) * fx, iy = bandY + (1 - 2 * bandY) * fy;
            const double inside = ExpectedErrorAt(fit, *model, sources, ix, iy);
            if (!std::isfinite(mm) || !std::isfinite(inside)) return Uninvertible(map);
            map.WorstInsideMm = std::max(map.WorstInsideMm, kWorstErrorFactor * inside);
        }
    }
    // The driver truncates the mapped position to whole pixels: up to one pixel's diagonal more,
    // a third of its square on average.
    const double pixel = std::hypot(scale.MmPerPixelX, scale.MmPerPixelY);
    map.RmsMm = std::sqrt(sumSquares / double(map.Mm.size()) + pixel * pixel / 3);
    map.WorstInsideMm += pixel;
    map.WorstEdgeMm += pixel;
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
