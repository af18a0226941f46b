// The inversion of the driver's mapping of a record, and the move between two records.
#include "history/record_drift.h"

#include <cmath>

namespace {

constexpr int kNewtonSteps = 50;
constexpr double kNewtonTolerance = 1e-12;  // normalised screen units

// Solves the 2 x 2 system [a b; c d] (s, t) = (e, f); false when singular.
bool Solve(double a, double b, double c, double d, double e, double f, double& s, double& t) {
    const double det = a * d - b * c;
    if (!std::isfinite(det) || std::fabs(det) < 1e-300) return false;
    s = (e * d - b * f) / det;
    t = (a * f - e * c) / det;
    return true;
}

}  // namespace

std::optional<std::pair<double, double>> InvertRecordMapping(const CalibrationDataRecord& record,
                                                             double x, double y) {
    if (!RecordHasMapping(record)) return std::nullopt;
    double v = 0.0, w = 0.0;  // normalised counts
    for (int step = 0; step < kNewtonSteps; ++step) {
        const RecordMappingPoint e = EvaluateRecordMapping(record, v, w);
        const double rx = e.X - x, ry = e.Y - y;
        if (std::fabs(rx) < kNewtonTolerance && std::fabs(ry) < kNewtonTolerance)
            return std::make_pair(v * record.InverseScaleFactor + record.ControllerOffset,
                                  w * record.InverseScaleFactor + record.ControllerOffset);
        double dv = 0.0, dw = 0.0;
        if (!Solve(e.XdV, e.XdW, e.YdV, e.YdW, rx, ry, dv, dw)) return std::nullopt;
        v -= dv;
        w -= dw;
        if (!std::isfinite(v) || !std::isfinite(w)) return std::nullopt;
    }
    return std::nullopt;
}

bool SameScreenAndArea(const CalibrationDataRecord& a, const CalibrationDataRecord& b) {
    return a.ScreenIndex == b.ScreenIndex && a.AreaWidth == b.AreaWidth &&
           a.AreaHeight == b.AreaHeight && a.AreaLeft == b.AreaLeft && a.AreaTop == b.AreaTop;
}

std::string AreaOf(const CalibrationDataRecord& r) {
    return std::to_string(r.AreaWidth) + "x" + std::to_string(r.AreaHeight) + " at (" +
           std::to_string(r.AreaLeft) + "," + std::to_string(r.AreaTop) + ")";
}

GlassScale GlassScaleOfRecord(const CalibrationDataRecord& record, double screenWidthMm,
                              double screenHeightMm) {
    return GlassScaleFor(screenWidthMm, screenHeightMm, record.AreaWidth, record.AreaHeight);
}

std::optional<DriftResult> MeasureDrift(const CalibrationDataRecord& newer,
                                        const CalibrationDataRecord& earlier,
                                        const GlassScale& scale, int32_t steps) {
    if (!RecordHasMapping(newer) || !RecordHasMapping(earlier) ||
        !SameScreenAndArea(newer, earlier) || !scale.Usable() || steps < 2)
        return std::nullopt;
    DriftResult result;
    result.Steps = steps;
    result.WidthMm = newer.AreaWidth * scale.MmPerPixelX;
    result.HeightMm = newer.AreaHeight * scale.MmPerPixelY;
    for (int32_t row = 0; row < steps; ++row) {
        for (int32_t column = 0; column < steps; ++column) {
            DriftSample s;
            s.X = double(column) / (steps - 1) - 0.5;
            s.Y = double(row) / (steps - 1) - 0.5;
            const auto counts = InvertRecordMapping(newer, s.X, s.Y);
            double x = 0.0, y = 0.0;
            if (!counts || !MapRecordCounts(earlier, counts->first, counts->second, x, y))
                return std::nullopt;
            s.Dx = (x - s.X) * result.WidthMm;
            s.Dy = (y - s.Y) * result.HeightMm;
            s.Mm = std::hypot(s.Dx, s.Dy);
            if (s.Mm > result.MaxMm) result.MaxMm = s.Mm;
            result.Samples.push_back(s);
        }
    }
    return result;
}
