// The touches' own frame, and the table of the models a pass weighs.
#include "fit/fit_model.h"

#include <algorithm>
#include <cmath>

#include "fit/least_squares.h"

namespace {

constexpr double kNone = 1e300;

bool Invert2x3(const double a[6], double out[6]) {
    const double det = a[1] * a[5] - a[2] * a[4];
    if (!std::isfinite(det) || det == 0.0) return false;
    out[1] = a[5] / det, out[2] = -a[2] / det;
    out[4] = -a[4] / det, out[5] = a[1] / det;
    out[0] = -(out[1] * a[0] + out[2] * a[3]);
    out[3] = -(out[4] * a[0] + out[5] * a[3]);
    return true;
}

}  // namespace

bool TouchFrame::Fit(const std::vector<BasisPoint>& points) {
    std::vector<double> rows, targets;
    double lo[2] = {kNone, kNone}, hi[2] = {-kNone, -kNone};
    for (const BasisPoint& p : points) {
        rows.insert(rows.end(), {1.0, p.V, p.W});
        targets.insert(targets.end(), {p.X, p.Y});
        lo[0] = std::min(lo[0], p.X), hi[0] = std::max(hi[0], p.X);
        lo[1] = std::min(lo[1], p.Y), hi[1] = std::max(hi[1], p.Y);
    }
    LeastSquares affine;
    if (!affine.Fit(rows, 3, targets)) return false;
    for (int axis = 0; axis < 2; ++axis) {
        if (!(hi[axis] > lo[axis])) return false;
        centre_[axis] = (lo[axis] + hi[axis]) / 2;
        scale_[axis] = 2.0 / (hi[axis] - lo[axis]);
        affine_[axis * 3] = (affine.Coefficient(0, axis) - centre_[axis]) * scale_[axis];
        affine_[axis * 3 + 1] = affine.Coefficient(1, axis) * scale_[axis];
        affine_[axis * 3 + 2] = affine.Coefficient(2, axis) * scale_[axis];
    }
    return Invert2x3(affine_, inverse_);
}

void TouchFrame::TouchToFrame(double v, double w, double& x, double& y) const {
    x = affine_[0] + affine_[1] * v + affine_[2] * w;
    y = affine_[3] + affine_[4] * v + affine_[5] * w;
}

void TouchFrame::FrameToTouch(double x, double y, double& v, double& w) const {
    v = inverse_[0] + inverse_[1] * x + inverse_[2] * y;
    w = inverse_[3] + inverse_[4] * x + inverse_[5] * y;
}

void TouchFrame::TargetToFrame(double X, double Y, double& x, double& y) const {
    x = (X - centre_[0]) * scale_[0];
    y = (Y - centre_[1]) * scale_[1];
}

void TouchFrame::FrameToTarget(double x, double y, double& X, double& Y) const {
    X = centre_[0] + x / scale_[0];
    Y = centre_[1] + y / scale_[1];
}

std::vector<std::string> FitModelNames() {
    return {"affine",     "polynomial-2", "polynomial-3", "polynomial-4",
            "harmonic-3", "harmonic-5",   "sheet",        "smooth-5"};
}

std::unique_ptr<FitModel> MakeFitModel(const std::string& name) {
    if (name == "affine") return MakePolynomialModel(1);
    if (name == "sheet") return MakeSheetModel();
    const size_t dash = name.rfind('-');
    if (dash == std::string::npos || dash + 2 != name.size()) return nullptr;
    const int order = name.back() - '0';
    if (order < 1 || order > 7) return nullptr;
    const std::string family = name.substr(0, dash);
    if (family == "polynomial") return MakePolynomialModel(order);
    if (family == "harmonic") return MakeHarmonicModel(order);
    if (family == "smooth") return MakeSmoothModel(order);
    return nullptr;
}
