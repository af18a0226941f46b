// The record's polynomial of a model: least squares on the model's touches of a Chebyshev grid of
// targets over the area (and a little beyond, for touches on the edge pixels), each order tried.
#include "fit/model_projection.h"

#include <cmath>
#include <vector>

#include "fit/calibration_fit.h"
#include "fit/calibration_record.h"
#include "fit/design_matrix_builders.h"
#include "fit/least_squares.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kNodes = 16;
constexpr int kJudged = 25;  // points per side where the polynomial is compared with the model
constexpr double kMargin = 0.03;

struct Sample {
    double V, W, X, Y;
};

double Node(double lo, double hi, int k) {
    return (lo + hi) / 2 + (hi - lo) / 2 * std::cos(kPi * (k + 0.5) / kNodes);
}

// The model's target of the touch the frame puts at target (X, Y).
Sample At(const FitModel& model, const TouchFrame& frame, double X, double Y) {
    Sample s{};
    double x, y;
    frame.TargetToFrame(X, Y, x, y);
    frame.FrameToTouch(x, y, s.V, s.W);
    model.Predict(s.V, s.W, s.X, s.Y);
    return s;
}

std::vector<Sample> Samples(const FitModel& model, const TouchFrame& frame, const FitArea& a,
                            bool chebyshev) {
    const double mx = kMargin * (a.HiX - a.LoX), my = kMargin * (a.HiY - a.LoY);
    std::vector<Sample> samples;
    const int n = chebyshev ? kNodes : kJudged;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double X = chebyshev ? Node(a.LoX - mx, a.HiX + mx, i)
                                       : a.LoX + (a.HiX - a.LoX) * i / (n - 1.0);
            const double Y = chebyshev ? Node(a.LoY - my, a.HiY + my, j)
                                       : a.LoY + (a.HiY - a.LoY) * j / (n - 1.0);
            samples.push_back(At(model, frame, X, Y));
        }
    return samples;
}

bool FitOrder(const std::vector<Sample>& samples, uint32_t order, int32_t termCount, Vector& coeffX,
              Vector& coeffY) {
    const size_t own = size_t(TermCountForOrder(order));
    std::vector<double> rows, values, term(own);
    for (const Sample& s : samples) {
        PolynomialTerms(s.V, s.W, int32_t(own), term.data());
        rows.insert(rows.end(), term.begin(), term.end());
        values.insert(values.end(), {s.X, s.Y});
    }
    LeastSquares ls;
    if (!ls.Fit(rows, own, values)) return false;
    coeffX = Vector(uint32_t(termCount));
    coeffY = Vector(uint32_t(termCount));
    for (size_t k = 0; k < size_t(termCount); ++k) {
        coeffX[uint32_t(k)] = k < own ? ls.Coefficient(k, 0) : 0.0;
        coeffY[uint32_t(k)] = k < own ? ls.Coefficient(k, 1) : 0.0;
        if (!CoefficientFitsRecord(coeffX[uint32_t(k)]) ||
            !CoefficientFitsRecord(coeffY[uint32_t(k)]))
            return false;
    }
    return true;
}

double Misfit(const std::vector<Sample>& judged, int32_t termCount, const Vector& coeffX,
              const Vector& coeffY, double unitX, double unitY) {
    std::vector<double> term = std::vector<double>(size_t(termCount));
    double worst = 0.0;
    for (const Sample& s : judged) {
        PolynomialTerms(s.V, s.W, termCount, term.data());
        double x = 0.0, y = 0.0;
        for (int32_t k = 0; k < termCount; ++k)
            x += coeffX[uint32_t(k)] * term[size_t(k)], y += coeffY[uint32_t(k)] * term[size_t(k)];
        worst = std::max(worst, std::hypot((x - s.X) * unitX, (y - s.Y) * unitY));
    }
    return std::isfinite(worst) ? worst : HUGE_VAL;
}

}  // namespace

bool ProjectIntoRecord(const FitModel& model, const TouchFrame& frame, const FitArea& area,
                       int32_t termCount, double unitX, double unitY, RecordProjection& out) {
    const std::vector<Sample> nodes = Samples(model, frame, area, true);
    const std::vector<Sample> judged = Samples(model, frame, area, false);
    bool found = false;
    for (uint32_t order = 1; TermCountForOrder(order) != 0 && TermCountForOrder(order) <= termCount;
         ++order) {
        RecordProjection p;
        p.Order = order;
        if (!FitOrder(nodes, order, termCount, p.CoeffX, p.CoeffY)) continue;
        p.MisfitMm = Misfit(judged, termCount, p.CoeffX, p.CoeffY, unitX, unitY);
        if (!found || p.MisfitMm < out.MisfitMm) out = std::move(p), found = true;
    }
    return found;
}
