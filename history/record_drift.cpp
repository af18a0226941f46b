// The driver's polynomial mapping of a record, its inversion and the move between two records.
#include "history/record_drift.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double kCoefficientScale = 16384.0;
constexpr int kNewtonSteps = 50;
constexpr double kNewtonTolerance = 1e-12;  // normalised screen units

int32_t TermsOfOrder(int32_t order) {
    return order >= 1 && order <= 7 ? (order + 1) * (order + 2) / 2 : 0;
}

// The record is byte-packed: its arrays are copied out before use.
struct Polynomial {
    int32_t Order = 0;
    double X[kRecordCoefficientCount] = {};
    double Y[kRecordCoefficientCount] = {};
};

Polynomial PolynomialOf(const CalibrationDataRecord& record) {
    Polynomial p;
    p.Order = record.PolynomialOrder;
    int32_t x[kRecordCoefficientCount], y[kRecordCoefficientCount];
    std::memcpy(x,
                reinterpret_cast<const uint8_t*>(&record) + offsetof(CalibrationDataRecord, CoeffX),
                sizeof x);
    std::memcpy(y,
                reinterpret_cast<const uint8_t*>(&record) + offsetof(CalibrationDataRecord, CoeffY),
                sizeof y);
    for (int k = 0; k < kRecordCoefficientCount; ++k) {
        p.X[k] = x[k] / kCoefficientScale;
        p.Y[k] = y[k] / kCoefficientScale;
    }
    return p;
}

// Value and partial derivatives of both polynomials at normalised (v, w); terms by degree d,
// within a degree v^(d-k) w^k.
struct Evaluation {
    double X = 0, Y = 0, XdV = 0, XdW = 0, YdV = 0, YdW = 0;
};

double Power(double base, int32_t exponent) {
    double value = 1.0;
    for (int32_t i = 0; i < exponent; ++i) value *= base;
    return value;
}

Evaluation Evaluate(const Polynomial& p, double v, double w) {
    Evaluation e;
    int32_t term = 0;
    for (int32_t degree = 0; degree <= p.Order; ++degree) {
        for (int32_t k = 0; k <= degree; ++k, ++term) {
            const int32_t a = degree - k;
            const double value = Power(v, a) * Power(w, k);
            const double dv = a > 0 ? a * Power(v, a - 1) * Power(w, k) : 0.0;
            const double dw = k > 0 ? k * Power(v, a) * Power(w, k - 1) : 0.0;
            e.X += p.X[term] * value;
            e.Y += p.Y[term] * value;
            e.XdV += p.X[term] * dv;
            e.XdW += p.X[term] * dw;
            e.YdV += p.Y[term] * dv;
            e.YdW += p.Y[term] * dw;
        }
    }
    return e;
}

bool HasMapping(const CalibrationDataRecord& r) {
    return TermsOfOrder(r.PolynomialOrder) > 0 && r.InverseScaleFactor != 0 && r.AreaWidth > 0 &&
           r.AreaHeight > 0;
}

double Normalised(const CalibrationDataRecord& r, double counts) {
    return (counts - r.ControllerOffset) / r.InverseScaleFactor;
}

// Solves the 2 x 2 system [a b; c d] (s, t) = (e, f); false when singular.
bool Solve(double a, double b, double c, double d, double e, double f, double& s, double& t) {
    const double det = a * d - b * c;
    if (!std::isfinite(det) || std::fabs(det) < 1e-300) return false;
    s = (e * d - b * f) / det;
    t = (a * f - e * c) / det;
    return true;
}

}  // namespace

bool MapRecordCounts(const CalibrationDataRecord& record, double v, double w, double& x,
                     double& y) {
    if (!HasMapping(record)) return false;
    const Evaluation e =
        Evaluate(PolynomialOf(record), Normalised(record, v), Normalised(record, w));
    x = e.X;
    y = e.Y;
    return true;
}

std::optional<std::pair<double, double>> InvertRecordMapping(const CalibrationDataRecord& record,
                                                             double x, double y) {
    if (!HasMapping(record)) return std::nullopt;
    const Polynomial p = PolynomialOf(record);
    double v = 0.0, w = 0.0;  // normalised counts
    for (int step = 0; step < kNewtonSteps; ++step) {
        const Evaluation e = Evaluate(p, v, w);
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

GlassScale GlassScaleOfRecord(const CalibrationDataRecord& record, double screenWidthMm,
                              double screenHeightMm) {
    return GlassScaleFor(screenWidthMm, screenHeightMm, record.AreaWidth, record.AreaHeight);
}

std::optional<DriftResult> MeasureDrift(const CalibrationDataRecord& newer,
                                        const CalibrationDataRecord& earlier,
                                        const GlassScale& scale, int32_t steps) {
    if (!HasMapping(newer) || !HasMapping(earlier) || !SameScreenAndArea(newer, earlier) ||
        !scale.Usable() || steps < 2)
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
