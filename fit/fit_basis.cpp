// The judge's terms: the polynomial of an order, or the harmonic polynomials in the touches' frame.
#include "fit/fit_basis.h"

#include <algorithm>

#include "fit/calibration_fit.h"
#include "fit/design_matrix_builders.h"
#include "fit/fit_model.h"

namespace {

uint32_t UsableOrder(uint32_t order) {
    return std::clamp<uint32_t>(order, 1, uint32_t(kMaxPolynomialDegree));
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
    TouchFrame frame;
    basis.valid_ = frame.Fit(points);
    if (!basis.valid_) return basis;
    // The frame is affine: its coefficients are its values at the origin and its unit steps.
    double x0, y0, xv, yv, xw, yw;
    frame.TouchToFrame(0, 0, x0, y0);
    frame.TouchToFrame(1, 0, xv, yv);
    frame.TouchToFrame(0, 1, xw, yw);
    const double f[6] = {x0, xv - x0, xw - x0, y0, yv - y0, yw - y0};
    std::copy(f, f + 6, basis.frame_);
    return basis;
}

int32_t FitBasis::Terms() const {
    return harmonic_ ? int32_t(2 * order_ + 1) : TermCountForOrder(order_);
}

void FitBasis::Row(double v, double w, double* row) const {
    if (!harmonic_) {
        PolynomialTerms(v, w, Terms(), row);
        return;
    }
    double all[kGeneralHarmonicTerms];
    GeneralHarmonicTerms(frame_[0] + frame_[1] * v + frame_[2] * w,
                         frame_[3] + frame_[4] * v + frame_[5] * w, all);
    std::copy(all, all + Terms(), row);
}
