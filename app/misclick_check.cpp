// The misclick check: a predictor fitted to the stored touches that bends as the sensor does,
// the previous-touch rule before it exists, and three consistent refusals that make a touch real.
#include "app/misclick_check.h"

#include <algorithm>
#include <cmath>

#include "fit/design_matrix_builders.h"

namespace {

// Thinnest over widest spread (eigenvalues of the raw scatter) below which touches count as
// collinear; 0.01 is a spread ratio of one tenth.
constexpr double kMinimumSpreadRatio = 0.01;
constexpr size_t kConsistentRefusals = 3;

double Hypotenuse(double a, double b) { return std::sqrt(a * a + b * b); }

// Stored touches the polynomial predictors need: order 2 (6 terms) and order 3 (10 terms).
constexpr size_t kQuadraticTouches = 12;
constexpr size_t kCubicTouches = 16;
// The polynomial predicts only where it is steadier than a touch (leverage below 1) and only
// when no stored touch rules it alone (its leverage at most 0.8); else the affine map serves.
constexpr double kMostQueryLeverage = 1.0;
constexpr double kMostTouchLeverage = 0.8;
// A stored touch is a stray when the fit of the others misses it by this many times their own
// median (studentised) residual, that at least half a pixel: at most this many are left out, and
// only while this many touches beyond the terms remain.
constexpr double kStrayScores = 6.0;
constexpr double kLeastSpreadPixels = 0.5;
constexpr int kMostStrays = 2;
constexpr size_t kStrayRoom = 4;

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

bool BendingTouchMap::Fit(const std::vector<RawPoint>& raw,
                          const std::vector<ScreenPoint>& screen) {
    terms_ = 0;
    const size_t n = std::min(raw.size(), screen.size());
    std::vector<RawPoint> keptRaw(raw.begin(), raw.begin() + std::ptrdiff_t(n));
    std::vector<ScreenPoint> keptScreen(screen.begin(), screen.begin() + std::ptrdiff_t(n));
    if (!affine_.Fit(keptRaw, keptScreen)) return false;
    const int32_t terms = n >= kCubicTouches ? 10 : n >= kQuadraticTouches ? 6 : 3;
    double loV = raw[0].V, hiV = raw[0].V, loW = raw[0].W, hiW = raw[0].W;
    for (size_t i = 0; i < n; ++i) {
        loV = std::min(loV, raw[i].V), hiV = std::max(hiV, raw[i].V);
        loW = std::min(loW, raw[i].W), hiW = std::max(hiW, raw[i].W);
    }
    centreV_ = (loV + hiV) / 2, centreW_ = (loW + hiW) / 2;
    halfV_ = hiV > loV ? (hiV - loV) / 2 : 1.0, halfW_ = hiW > loW ? (hiW - loW) / 2 : 1.0;
    // A stray stored touch must not make honest touches look like misses: the touch that
    // disagrees most with the others is left out while it is plainly one of a kind. Where the
    // touches do not hold a steady curve, the next lower order serves.
    for (int32_t order = terms; order >= 3 && terms_ == 0; order = order == 10 ? 6 : order - 3) {
        terms_ = order;
        keptRaw.assign(raw.begin(), raw.begin() + std::ptrdiff_t(n));
        keptScreen.assign(screen.begin(), screen.begin() + std::ptrdiff_t(n));
        for (int round = 0;; ++round) {
            if (!FitCurve(keptRaw, keptScreen, true)) {
                terms_ = 0;
                break;
            }
            const size_t stray = Stray(keptRaw, keptScreen);
            if (round == kMostStrays || stray == keptRaw.size() ||
                keptRaw.size() <= size_t(order) + kStrayRoom)
                break;
            keptRaw.erase(keptRaw.begin() + std::ptrdiff_t(stray));
            keptScreen.erase(keptScreen.begin() + std::ptrdiff_t(stray));
        }
    }
    if (keptRaw.size() < n) affine_.Fit(keptRaw, keptScreen);
    return true;
}

bool BendingTouchMap::FitCurve(const std::vector<RawPoint>& raw,
                               const std::vector<ScreenPoint>& screen, bool steady) {
    const size_t n = raw.size(), terms = size_t(terms_);
    std::vector<double> rows(n * terms), outputs(n * 2);
    for (size_t i = 0; i < n; ++i) {
        Row(raw[i], &rows[i * terms]);
        outputs[i * 2] = screen[i].X, outputs[i * 2 + 1] = screen[i].Y;
    }
    if (!curve_.Fit(rows, terms, outputs)) return false;
    for (size_t i = 0; i < n && steady; ++i)
        if (curve_.Leverage(i) > kMostTouchLeverage) return false;
    return true;
}

size_t BendingTouchMap::Stray(const std::vector<RawPoint>& raw,
                              const std::vector<ScreenPoint>& screen) {
    const LeastSquares all = curve_;
    size_t worst = raw.size();
    double worstRatio = kStrayScores;
    for (size_t i = 0; i < raw.size(); ++i) {
        // The fit without touch i: how far it puts i, against how the others scatter around it.
        std::vector<RawPoint> otherRaw = raw;
        std::vector<ScreenPoint> otherScreen = screen;
        otherRaw.erase(otherRaw.begin() + std::ptrdiff_t(i));
        otherScreen.erase(otherScreen.begin() + std::ptrdiff_t(i));
        if (!FitCurve(otherRaw, otherScreen, false)) continue;
        std::vector<double> spread;
        for (size_t k = 0; k < otherRaw.size(); ++k)
            spread.push_back(Hypotenuse(curve_.Fitted(k, 0) - otherScreen[k].X,
                                        curve_.Fitted(k, 1) - otherScreen[k].Y) /
                             std::sqrt(std::max(1e-9, 1.0 - curve_.Leverage(k))));
        std::nth_element(spread.begin(), spread.begin() + std::ptrdiff_t(spread.size() / 2),
                         spread.end());
        const double typical = std::max(spread[spread.size() / 2], kLeastSpreadPixels);
        double row[10];
        Row(raw[i], row);
        const double miss =
            Hypotenuse(curve_.Predict(row, 0) - screen[i].X, curve_.Predict(row, 1) - screen[i].Y);
        if (miss / typical > worstRatio) worstRatio = miss / typical, worst = i;
    }
    curve_ = all;
    return worst;
}

void BendingTouchMap::Row(RawPoint t, double* row) const {
    PolynomialTerms((t.V - centreV_) / halfV_, (t.W - centreW_) / halfW_, terms_, row);
}

ScreenPoint BendingTouchMap::Map(RawPoint touch) const {
    if (terms_ == 0) return affine_.Map(touch);
    double row[10];
    Row(touch, row);
    if (!(curve_.LeverageOf(row) <= kMostQueryLeverage)) return affine_.Map(touch);
    return ScreenPoint{curve_.Predict(row, 0), curve_.Predict(row, 1)};
}

namespace {

double ToleranceOf(double share, double step, double floorPixels) {
    return std::min(std::max(share * step, floorPixels), step / 2);
}

}  // namespace

MisclickSettings MisclickSettingsFor(double share, const std::vector<ScreenPoint>& grid,
                                     const std::vector<ScreenPoint>& minis, GlassScale scale,
                                     double countsPerPixel) {
    MisclickSettings s;
    s.CountsPerPixel = countsPerPixel;
    if (!(share > 0.0)) return s;
    const double floorPixels =
        scale.Usable() ? kMisclickFloorMm / std::max(scale.MmPerPixelX, scale.MmPerPixelY) : 0.0;
    s.TolerancePixels = ToleranceOf(share, DesignedStep(grid), floorPixels);
    const double miniStep = DesignedStep(minis);
    if (miniStep > 0.0 && s.TolerancePixels > 0.0)
        s.MiniScale = ToleranceOf(share, miniStep, floorPixels) / s.TolerancePixels;
    return s;
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
    BendingTouchMap map;
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
