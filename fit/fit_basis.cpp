// The terms of a pass's mapping, the harmonic frame, the choice by deleted residuals, and the
// mapping written out as the polynomial the driver evaluates.
#include "fit/fit_basis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "fit/calibration_fit.h"
#include "fit/design_matrix_builders.h"
#include "fit/least_squares.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNoFit = std::numeric_limits<double>::infinity();
// Judged passes weigh the full polynomial up to this order: beyond it its terms chase scatter.
constexpr uint32_t kLargestJudgedPolynomial = 3;
// A sheet's harmonic polynomials go up to this order: a resistive sheet's bow needs no more, and
// each further order adds two terms' scatter.
constexpr uint32_t kSheetOrder = 3;

uint32_t UsableOrder(uint32_t order) {
    return std::clamp<uint32_t>(order, 1, uint32_t(kMaxPolynomialDegree));
}

std::vector<double> DesignRows(const FitBasis& basis, const std::vector<BasisPoint>& points) {
    const size_t terms = size_t(basis.Terms());
    std::vector<double> rows(points.size() * terms);
    for (size_t i = 0; i < points.size(); ++i)
        basis.Row(points[i].V, points[i].W, &rows[i * terms]);
    return rows;
}

std::vector<double> TargetValues(const std::vector<BasisPoint>& points) {
    std::vector<double> values;
    for (const BasisPoint& p : points) values.insert(values.end(), {p.X, p.Y});
    return values;
}

bool FitPoints(const FitBasis& basis, const std::vector<BasisPoint>& points, LeastSquares& ls) {
    return basis.Valid() &&
           ls.Fit(DesignRows(basis, points), size_t(basis.Terms()), TargetValues(points));
}

// The mean square of how far the fit without each point puts that point from its target.
double DeletedMeanSquare(const FitBasis& basis, const std::vector<BasisPoint>& points, double unitX,
                         double unitY) {
    LeastSquares ls;
    if (points.size() <= size_t(basis.Terms()) || !FitPoints(basis, points, ls)) return kNoFit;
    double sum = 0.0;
    for (size_t i = 0; i < points.size(); ++i) {
        const double freedom = 1.0 - ls.Leverage(i);
        if (!(freedom > 1e-9)) return kNoFit;
        const double dx = (ls.Fitted(i, 0) - points[i].X) / freedom * unitX;
        const double dy = (ls.Fitted(i, 1) - points[i].Y) / freedom * unitY;
        sum += dx * dx + dy * dy;
    }
    return sum / double(points.size());
}

// A sheet's edge term on one axis of the target frame: the compression of a resistive sheet
// next to its electrodes, which grows steeply towards the outermost targets.
double EdgeTerm(double t) {
    const double t2 = t * t;
    return t2 * t2 * t;
}

// The Chebyshev node k of n over lo .. hi.
double Node(double lo, double hi, int k, int n) {
    return (lo + hi) / 2 + (hi - lo) / 2 * std::cos(kPi * (k + 0.5) / n);
}

// A sheet fitted to the points: each axis's touch as harmonic functions of the target and that
// axis's own edge term.
class SheetModel {
  public:
    explicit SheetModel(const FitBasis& basis) : basis_(basis) {}

    bool Fit(const std::vector<BasisPoint>& points) {
        const size_t terms = size_t(basis_.Terms());
        std::vector<double> touches;
        for (const BasisPoint& p : points) touches.insert(touches.end(), {p.V, p.W});
        for (int axis = 0; axis < 2; ++axis) {
            std::vector<double> rows(points.size() * terms);
            for (size_t i = 0; i < points.size(); ++i)
                basis_.GlassRow(points[i].X, points[i].Y, axis, &rows[i * terms]);
            if (!basis_.Valid() || !axis_[axis].Fit(rows, terms, touches)) return false;
        }
        return true;
    }

    void Touch(double x, double y, double& v, double& w) const {
        double row[kGeneralHarmonicTerms + 1];
        basis_.GlassRow(x, y, 0, row);
        v = axis_[0].Predict(row, 0);
        basis_.GlassRow(x, y, 1, row);
        w = axis_[1].Predict(row, 1);
    }

  private:
    const FitBasis& basis_;
    LeastSquares axis_[2];
};

// The polynomial of termCount terms from touch to glass that inverts a sheet over its area (and
// a little beyond, for touches on the edge pixels): fitted to the sheet's touches of a Chebyshev
// grid of targets.
bool InvertSheet(const FitArea& a, const SheetModel& sheet, size_t termCount,
                 LeastSquares& polynomial) {
    constexpr int nodes = 16;
    const double marginX = 0.03 * (a.HiX - a.LoX), marginY = 0.03 * (a.HiY - a.LoY);
    std::vector<double> rows, values, term(termCount);
    for (int i = 0; i < nodes; ++i)
        for (int j = 0; j < nodes; ++j) {
            const double x = Node(a.LoX - marginX, a.HiX + marginX, i, nodes);
            const double y = Node(a.LoY - marginY, a.HiY + marginY, j, nodes);
            double v, w;
            sheet.Touch(x, y, v, w);
            PolynomialTerms(v, w, int32_t(termCount), term.data());
            rows.insert(rows.end(), term.begin(), term.end());
            values.insert(values.end(), {x, y});
        }
    return polynomial.Fit(rows, termCount, values);
}

// The values of a fitted mapping on a Chebyshev grid over the touches: as many as a polynomial
// of the order needs, and more, so its coefficients follow from them exactly.
bool RewriteAsPolynomial(const FitBasis& basis, const LeastSquares& model,
                         const std::vector<BasisPoint>& points, LeastSquares& polynomial) {
    double loV = kNoFit, hiV = -kNoFit, loW = kNoFit, hiW = -kNoFit;
    for (const BasisPoint& p : points) {
        loV = std::min(loV, p.V), hiV = std::max(hiV, p.V);
        loW = std::min(loW, p.W), hiW = std::max(hiW, p.W);
    }
    const int nodes = int(basis.Order()) + 3;
    const size_t terms = size_t(TermCountForOrder(basis.Order()));
    std::vector<double> rows, values, term(terms), harmonic(size_t(basis.Terms()));
    for (int a = 0; a < nodes; ++a)
        for (int b = 0; b < nodes; ++b) {
            const double v = Node(loV, hiV, a, nodes);
            const double w = Node(loW, hiW, b, nodes);
            PolynomialTerms(v, w, int32_t(terms), term.data());
            rows.insert(rows.end(), term.begin(), term.end());
            basis.Row(v, w, harmonic.data());
            values.insert(values.end(),
                          {model.Predict(harmonic.data(), 0), model.Predict(harmonic.data(), 1)});
        }
    return polynomial.Fit(rows, terms, values);
}

// The record's termCount coefficients of each axis: the fit's own, zero beyond them.
void WriteCoefficients(const LeastSquares& fit, int32_t own, int32_t termCount, Vector& coeffX,
                       Vector& coeffY) {
    coeffX = Vector(uint32_t(termCount));
    coeffY = Vector(uint32_t(termCount));
    for (int32_t k = 0; k < termCount; ++k) {
        coeffX[k] = k < own ? fit.Coefficient(size_t(k), 0) : 0.0;
        coeffY[k] = k < own ? fit.Coefficient(size_t(k), 1) : 0.0;
    }
}

}  // namespace

FitBasis FitBasis::Polynomial(uint32_t order) {
    FitBasis basis;
    basis.order_ = UsableOrder(order);
    return basis;
}

FitBasis FitBasis::Harmonic(uint32_t order, const std::vector<BasisPoint>& points) {
    FitBasis basis;
    basis.harmonic_ = true;
    basis.order_ = UsableOrder(order);
    std::vector<double> rows;
    double lo[2] = {kNoFit, kNoFit}, hi[2] = {-kNoFit, -kNoFit};
    for (const BasisPoint& p : points) {
        rows.insert(rows.end(), {1.0, p.V, p.W});
        lo[0] = std::min(lo[0], p.X), hi[0] = std::max(hi[0], p.X);
        lo[1] = std::min(lo[1], p.Y), hi[1] = std::max(hi[1], p.Y);
    }
    LeastSquares affine;
    basis.valid_ = affine.Fit(rows, 3, TargetValues(points));
    for (int axis = 0; basis.valid_ && axis < 2; ++axis) {
        const double scale = hi[axis] > lo[axis] ? 2.0 / (hi[axis] - lo[axis]) : 1.0;
        const double centre = (lo[axis] + hi[axis]) / 2;
        basis.glass_[axis * 2] = centre;
        basis.glass_[axis * 2 + 1] = scale;
        basis.frame_[axis * 3] = (affine.Coefficient(0, axis) - centre) * scale;
        basis.frame_[axis * 3 + 1] = affine.Coefficient(1, axis) * scale;
        basis.frame_[axis * 3 + 2] = affine.Coefficient(2, axis) * scale;
    }
    return basis;
}

FitBasis FitBasis::Sheet(const std::vector<BasisPoint>& points, const FitArea& area) {
    FitBasis basis = Harmonic(kSheetOrder, points);
    basis.sheet_ = true;
    basis.area_ = area;
    return basis;
}

void FitBasis::GlassRow(double x, double y, int axis, double* row) const {
    const double gx = (x - glass_[0]) * glass_[1], gy = (y - glass_[2]) * glass_[3];
    FrameRow(gx, gy, axis == 0 ? gx : gy, row);
}

// The harmonic polynomials of a point of a frame, then a sheet's edge term of its coordinate.
void FitBasis::FrameRow(double x, double y, double edge, double* row) const {
    double all[kGeneralHarmonicTerms];
    GeneralHarmonicTerms(x, y, all);
    const int32_t h = int32_t(2 * order_ + 1);
    std::copy(all, all + h, row);
    if (sheet_) row[h] = EdgeTerm(edge);
}

const char* FitBasis::Name() const {
    if (sheet_) return "sheet";
    return harmonic_ ? "harmonic" : "polynomial";
}

int32_t FitBasis::Terms() const {
    if (!harmonic_) return TermCountForOrder(order_);
    return int32_t(2 * order_ + 1) + (sheet_ ? 1 : 0);
}

void FitBasis::Row(double v, double w, double* row) const {
    if (!harmonic_) {
        PolynomialTerms(v, w, Terms(), row);
        return;
    }
    const double x = frame_[0] + frame_[1] * v + frame_[2] * w;
    const double y = frame_[3] + frame_[4] * v + frame_[5] * w;
    FrameRow(x, y, x, row);
}

FitBasis ChooseFitBasis(FitTerms terms, uint32_t order, const std::vector<BasisPoint>& points,
                        const FitArea& area, double unitX, double unitY) {
    const FitBasis polynomial = FitBasis::Polynomial(order);
    if (terms == FitTerms::Polynomial) return polynomial;
    if (terms == FitTerms::Sheet) {
        const FitBasis sheet = FitBasis::Sheet(points, area);
        return sheet.Valid() ? sheet : polynomial;
    }
    const FitBasis harmonic = FitBasis::Harmonic(order, points);
    if (terms == FitTerms::Harmonic) return harmonic.Valid() ? harmonic : polynomial;
    const uint32_t low = std::min(polynomial.Order(), kLargestJudgedPolynomial);
    FitBasis best = polynomial;
    double least = kNoFit;
    for (const FitBasis& candidate :
         {FitBasis::Polynomial(low), FitBasis::Harmonic(low, points), harmonic}) {
        const double score = DeletedMeanSquare(candidate, points, unitX, unitY);
        if (score < least) least = score, best = candidate;
    }
    return best;
}

bool FitInBasis(const FitBasis& basis, const std::vector<BasisPoint>& points, int32_t termCount,
                Vector& coeffX, Vector& coeffY) {
    LeastSquares model, polynomial;
    if (basis.IsSheet()) {
        SheetModel sheet(basis);
        if (!sheet.Fit(points) || !InvertSheet(basis.Area(), sheet, size_t(termCount), polynomial))
            return false;
        WriteCoefficients(polynomial, termCount, termCount, coeffX, coeffY);
        return true;
    }
    const int32_t own = TermCountForOrder(basis.Order());
    if (own > termCount || !FitPoints(basis, points, model)) return false;
    const LeastSquares* written = &model;
    if (basis.IsHarmonic()) {
        if (!RewriteAsPolynomial(basis, model, points, polynomial)) return false;
        written = &polynomial;
    }
    WriteCoefficients(*written, own, termCount, coeffX, coeffY);
    return true;
}
