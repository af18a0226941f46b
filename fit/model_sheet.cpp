// A resistive sheet: its potentials, the touch, are harmonic functions of the position on the
// glass, compressed next to the electrodes. Each axis of the touch (in the touches' frame, where x
// follows the target's x whatever the cabling) is fitted to the harmonic polynomials of order 3
// of the target and to that axis's edge term; a touch's target is found by inverting the fit.
#include <algorithm>
#include <cmath>

#include "fit/design_matrix_builders.h"
#include "fit/least_squares.h"
#include "fit/linear_model.h"

namespace {

constexpr int kHarmonic = 7;  // 1, Re z, Im z, ... Im z^3
constexpr size_t kTerms = kHarmonic + 1;

class SheetModel : public FitModel {
  public:
    std::string Name() const override { return "sheet"; }

    bool Fit(const std::vector<BasisPoint>& points, const TouchFrame& frame) override {
        frame_ = frame;
        points_ = points;
        if (points.size() <= kTerms) return false;
        std::vector<double> touches;
        for (const BasisPoint& p : points) {
            double a, b;
            frame.TouchToFrame(p.V, p.W, a, b);
            touches.insert(touches.end(), {a, b});
        }
        for (int axis = 0; axis < 2; ++axis) {
            std::vector<double> rows(points.size() * kTerms);
            for (size_t i = 0; i < points.size(); ++i) {
                double x, y;
                frame.TargetToFrame(points[i].X, points[i].Y, x, y);
                GlassRow(x, y, axis, &rows[i * kTerms]);
            }
            if (!axis_[axis].Fit(rows, kTerms, touches)) return false;
        }
        return true;
    }

    double Terms() const override { return double(kTerms); }

    void Predict(double v, double w, double& x, double& y) const override {
        double a, b, gx, gy;
        frame_.TouchToFrame(v, w, a, b);
        Invert(a, b, gx, gy);
        frame_.FrameToTarget(gx, gy, x, y);
    }

    double Leverage(size_t i) const override {
        return (axis_[0].Leverage(i) + axis_[1].Leverage(i)) / 2;
    }

    // The deleted touch residual of each axis carried back to the glass through the sheet's slope.
    void Deleted(size_t i, double& dx, double& dy) const override {
        double x, y, a, b;
        frame_.TargetToFrame(points_[i].X, points_[i].Y, x, y);
        frame_.TouchToFrame(points_[i].V, points_[i].W, a, b);
        const double ra = (axis_[0].Fitted(i, 0) - a) / (1.0 - axis_[0].Leverage(i));
        const double rb = (axis_[1].Fitted(i, 1) - b) / (1.0 - axis_[1].Leverage(i));
        double j[4];
        Slope(x, y, j);
        const double det = j[0] * j[3] - j[1] * j[2];
        const double gx = -(j[3] * ra - j[1] * rb) / det, gy = -(-j[2] * ra + j[0] * rb) / det;
        double X, Y, X0, Y0;
        frame_.FrameToTarget(x + gx, y + gy, X, Y);
        frame_.FrameToTarget(x, y, X0, Y0);
        dx = X - X0, dy = Y - Y0;
    }

    double LeverageAt(double v, double w) const override {
        double a, b, x, y, row[kTerms];
        frame_.TouchToFrame(v, w, a, b);
        Invert(a, b, x, y);
        double h = 0.0;
        for (int axis = 0; axis < 2; ++axis) {
            GlassRow(x, y, axis, row);
            h += axis_[axis].LeverageOf(row) / 2;
        }
        return h;
    }

  private:
    static void GlassRow(double x, double y, int axis, double* row) {
        double all[kGeneralHarmonicTerms];
        GeneralHarmonicTerms(x, y, all);
        std::copy(all, all + kHarmonic, row);
        const double t = axis == 0 ? x : y, t2 = t * t;
        row[kHarmonic] = t2 * t2 * t;
    }

    void Touch(double x, double y, double& a, double& b) const {
        double row[kTerms];
        GlassRow(x, y, 0, row);
        a = axis_[0].Predict(row, 0);
        GlassRow(x, y, 1, row);
        b = axis_[1].Predict(row, 1);
    }

    // d(touch)/d(glass): a_x, a_y, b_x, b_y.
    void Slope(double x, double y, double j[4]) const {
        constexpr double h = 1e-6;
        double a1, b1, a0, b0;
        Touch(x + h, y, a1, b1), Touch(x - h, y, a0, b0);
        j[0] = (a1 - a0) / (2 * h), j[2] = (b1 - b0) / (2 * h);
        Touch(x, y + h, a1, b1), Touch(x, y - h, a0, b0);
        j[1] = (a1 - a0) / (2 * h), j[3] = (b1 - b0) / (2 * h);
    }

    // The glass position whose touch is (a, b), by Newton's method from (a, b).
    void Invert(double a, double b, double& x, double& y) const {
        x = a, y = b;
        for (int iteration = 0; iteration < 30; ++iteration) {
            double ta, tb, j[4];
            Touch(x, y, ta, tb);
            Slope(x, y, j);
            const double det = j[0] * j[3] - j[1] * j[2];
            if (!std::isfinite(det) || det == 0.0) return;
            const double ea = a - ta, eb = b - tb;
            const double dx = (j[3] * ea - j[1] * eb) / det, dy = (-j[2] * ea + j[0] * eb) / det;
            x += dx, y += dy;
            if (std::fabs(dx) + std::fabs(dy) < 1e-13) return;
        }
    }

    TouchFrame frame_;
    std::vector<BasisPoint> points_;
    LeastSquares axis_[2];
};

}  // namespace

std::unique_ptr<FitModel> MakeSheetModel() { return std::make_unique<SheetModel>(); }
