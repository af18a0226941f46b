// Linear models in the touches' frame: least squares, or ridge shrinkage of the higher terms with
// the strength whose deleted residuals are least, kept within the touches' budget of terms.
#include "fit/linear_model.h"

#include <cmath>
#include <utility>

namespace {

// Shrinkage strengths tried, relative to the touch count.
constexpr double kWeakest = 1e-7, kStrongest = 10.0, kStep = 3.1622776601683795;

}  // namespace

LinearModel::LinearModel(std::string name, size_t termCount, LinearModel::RowOf terms,
                         std::vector<double> penalty)
    : name_(std::move(name)),
      terms_(termCount),
      row_(std::move(terms)),
      penalty_(std::move(penalty)) {}

std::vector<double> LinearModel::Row(double v, double w) const {
    double x, y;
    frame_.TouchToFrame(v, w, x, y);
    std::vector<double> row(terms_);
    row_(x, y, row.data());
    return row;
}

bool LinearModel::FitWith(double strength) {
    std::vector<double> rows, targets;
    for (const BasisPoint& p : points_) {
        const std::vector<double> row = Row(p.V, p.W);
        rows.insert(rows.end(), row.begin(), row.end());
        double x, y;
        frame_.TargetToFrame(p.X, p.Y, x, y);
        targets.insert(targets.end(), {x, y});
    }
    // Shrinkage as extra rows that pull each penalised coefficient towards zero.
    for (size_t k = 0; k < penalty_.size() && strength > 0.0; ++k) {
        if (penalty_[k] == 0.0) continue;
        std::vector<double> row(terms_, 0.0);
        row[k] = std::sqrt(strength * penalty_[k]);
        rows.insert(rows.end(), row.begin(), row.end());
        targets.insert(targets.end(), {0.0, 0.0});
    }
    if (!fit_.Fit(rows, terms_, targets)) return false;
    effective_ = 0.0;
    for (size_t i = 0; i < points_.size(); ++i) effective_ += fit_.Leverage(i);
    return true;
}

double LinearModel::DeletedMeanSquare() const {
    double sum = 0.0;
    for (size_t i = 0; i < points_.size(); ++i) {
        const double room = 1.0 - fit_.Leverage(i);
        if (!(room > 1e-9)) return HUGE_VAL;
        double x, y;
        frame_.TargetToFrame(points_[i].X, points_[i].Y, x, y);
        const double dx = (fit_.Fitted(i, 0) - x) / room, dy = (fit_.Fitted(i, 1) - y) / room;
        sum += dx * dx + dy * dy;
    }
    return sum / double(points_.size());
}

bool LinearModel::Fit(const std::vector<BasisPoint>& points, const TouchFrame& frame) {
    points_ = points;
    frame_ = frame;
    if (penalty_.empty()) return points.size() > terms_ && FitWith(0.0);
    size_t free = 0;
    for (double p : penalty_) free += p == 0.0 ? 1 : 0;
    if (points.size() <= free) return false;
    const double budget = double(points.size()) / kTouchesPerTerm;
    double best = HUGE_VAL, chosen = -1.0;
    for (double s = kWeakest; s <= kStrongest * 1.0001; s *= kStep) {
        const double strength = s * double(points.size());
        if (!FitWith(strength) || effective_ > budget) continue;
        const double score = DeletedMeanSquare();
        if (score < best) best = score, chosen = strength;
    }
    return chosen > 0.0 && FitWith(chosen);
}

void LinearModel::Predict(double v, double w, double& x, double& y) const {
    const std::vector<double> row = Row(v, w);
    frame_.FrameToTarget(fit_.Predict(row.data(), 0), fit_.Predict(row.data(), 1), x, y);
}

void LinearModel::Deleted(size_t i, double& dx, double& dy) const {
    const double room = 1.0 - fit_.Leverage(i);
    double X, Y;
    frame_.FrameToTarget(fit_.Fitted(i, 0), fit_.Fitted(i, 1), X, Y);
    dx = (X - points_[i].X) / room;
    dy = (Y - points_[i].Y) / room;
}

double LinearModel::LeverageAt(double v, double w) const {
    const std::vector<double> row = Row(v, w);
    return fit_.LeverageOf(row.data());
}
