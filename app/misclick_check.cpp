// The misclick check: an affine predictor fitted to the stored touches, the previous-touch rule
// before it exists, and three consistent refusals that make a touch real.
#include "app/misclick_check.h"

#include <algorithm>
#include <cmath>

namespace {

// Thinnest over widest spread (eigenvalues of the raw scatter) below which touches count as
// collinear; 0.01 is a spread ratio of one tenth.
constexpr double kMinimumSpreadRatio = 0.01;
constexpr size_t kConsistentRefusals = 3;

double Hypotenuse(double a, double b) { return std::sqrt(a * a + b * b); }

// Smallest gap between distinct sorted values, or 0.
double SmallestGap(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    double gap = 0.0;
    for (size_t i = 1; i < values.size(); ++i) {
        const double d = values[i] - values[i - 1];
        if (d >= 0.5 && (gap == 0.0 || d < gap)) gap = d;
    }
    return gap;
}

}  // namespace

bool AffineTouchMap::Fit(const std::vector<RawPoint>& raw, const std::vector<ScreenPoint>& screen) {
    const size_t n = std::min(raw.size(), screen.size());
    if (n < 3) return false;
    double mv = 0, mw = 0, mx = 0, my = 0;
    for (size_t i = 0; i < n; ++i) {
        mv += raw[i].V, mw += raw[i].W, mx += screen[i].X, my += screen[i].Y;
    }
    mv /= n, mw /= n, mx /= n, my /= n;
    double svv = 0, svw = 0, sww = 0, svx = 0, swx = 0, svy = 0, swy = 0;
    for (size_t i = 0; i < n; ++i) {
        const double dv = raw[i].V - mv, dw = raw[i].W - mw;
        const double dx = screen[i].X - mx, dy = screen[i].Y - my;
        svv += dv * dv, svw += dv * dw, sww += dw * dw;
        svx += dv * dx, swx += dw * dx, svy += dv * dy, swy += dw * dy;
    }
    const double det = svv * sww - svw * svw;
    const double trace = svv + sww;
    if (!(trace > 0.0) || !(det > kMinimumSpreadRatio * trace * trace)) return false;
    x_[1] = (sww * svx - svw * swx) / det;
    x_[2] = (svv * swx - svw * svx) / det;
    y_[1] = (sww * svy - svw * swy) / det;
    y_[2] = (svv * swy - svw * svy) / det;
    x_[0] = mx - x_[1] * mv - x_[2] * mw;
    y_[0] = my - y_[1] * mv - y_[2] * mw;
    return true;
}

ScreenPoint AffineTouchMap::Map(RawPoint t) const {
    return ScreenPoint{x_[0] + x_[1] * t.V + x_[2] * t.W, y_[0] + y_[1] * t.V + y_[2] * t.W};
}

double AffineTouchMap::Distance(RawPoint a, RawPoint b) const {
    const double dv = a.V - b.V, dw = a.W - b.W;
    return Hypotenuse(x_[1] * dv + x_[2] * dw, y_[1] * dv + y_[2] * dw);
}

double SmallerGridStep(const std::vector<ScreenPoint>& gridTargets) {
    std::vector<double> xs, ys;
    for (const ScreenPoint& p : gridTargets) {
        xs.push_back(p.X);
        ys.push_back(p.Y);
    }
    const double x = SmallestGap(xs), y = SmallestGap(ys);
    if (x == 0.0 || y == 0.0) return std::max(x, y);
    return std::min(x, y);
}

void MisclickCheck::Start(const MisclickSettings& settings) {
    settings_ = settings;
    raw_.clear();
    screen_.clear();
    refusedTarget_ = 0;
    refused_.clear();
}

double MisclickCheck::Distance(RawPoint a, RawPoint b) const {
    AffineTouchMap map;
    if (map.Fit(raw_, screen_)) return map.Distance(a, b);
    if (!(settings_.CountsPerPixel > 0.0)) return 0.0;
    return Hypotenuse(a.V - b.V, a.W - b.W) / settings_.CountsPerPixel;
}

bool MisclickCheck::Refuses(ScreenPoint targetAt, RawPoint touch, double tolerance) const {
    AffineTouchMap map;
    if (map.Fit(raw_, screen_)) {
        const ScreenPoint at = map.Map(touch);
        return !(Hypotenuse(at.X - targetAt.X, at.Y - targetAt.Y) <= tolerance);
    }
    return !raw_.empty() && Distance(touch, raw_.back()) <= tolerance;
}

bool MisclickCheck::RefusalsAgree(double tolerance) const {
    for (size_t i = 0; i < refused_.size(); ++i)
        for (size_t j = i + 1; j < refused_.size(); ++j)
            if (!(Distance(refused_[i], refused_[j]) <= tolerance)) return false;
    return true;
}

MisclickVerdict MisclickCheck::Judge(int32_t target, ScreenPoint targetAt, RawPoint touch,
                                     double scale) {
    const double tolerance = settings_.TolerancePixels * scale;
    if (!(tolerance > 0.0) || !Refuses(targetAt, touch, tolerance)) return MisclickVerdict::Store;
    if (refusedTarget_ != target) refused_.clear();
    refusedTarget_ = target;
    refused_.push_back(touch);
    if (refused_.size() > kConsistentRefusals) refused_.erase(refused_.begin());
    if (refused_.size() == kConsistentRefusals && RefusalsAgree(tolerance))
        return MisclickVerdict::StoreConsistent;
    return MisclickVerdict::Refuse;
}

void MisclickCheck::Stored(ScreenPoint targetAt, RawPoint touch) {
    raw_.push_back(touch);
    screen_.push_back(targetAt);
    refusedTarget_ = 0;
    refused_.clear();
}
