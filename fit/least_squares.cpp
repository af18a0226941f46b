// Least squares by modified Gram-Schmidt applied twice, for the judge and the touch predictor.
#include "fit/least_squares.h"

#include <cmath>

namespace {

// A column whose remainder is below this share of its length adds nothing new.
constexpr double kRankTolerance = 1e-10;

}  // namespace

bool LeastSquares::Fit(const std::vector<double>& rows, size_t p,
                       const std::vector<double>& outputs) {
    p_ = p;
    n_ = p == 0 ? 0 : rows.size() / p;
    if (n_ < p || p == 0) return false;
    q_.assign(p * n_, 0.0);
    r_.assign(p * p, 0.0);
    for (size_t j = 0; j < p; ++j) {
        double* v = &q_[j * n_];
        for (size_t i = 0; i < n_; ++i) v[i] = rows[i * p + j];
        const double length = Norm(v);
        for (int pass = 0; pass < 2; ++pass)
            for (size_t k = 0; k < j; ++k) {
                const double* qk = &q_[k * n_];
                double d = 0.0;
                for (size_t i = 0; i < n_; ++i) d += qk[i] * v[i];
                r_[k * p + j] += d;
                for (size_t i = 0; i < n_; ++i) v[i] -= d * qk[i];
            }
        const double rest = Norm(v);
        if (!(length > 0.0) || !(rest > kRankTolerance * length)) return false;
        r_[j * p + j] = rest;
        for (size_t i = 0; i < n_; ++i) v[i] /= rest;
    }
    fitted_.assign(n_ * 2, 0.0);
    coeff_.assign(p * 2, 0.0);
    for (int axis = 0; axis < 2; ++axis) {
        std::vector<double> qty(p, 0.0);
        for (size_t k = 0; k < p; ++k) {
            const double* qk = &q_[k * n_];
            for (size_t i = 0; i < n_; ++i) qty[k] += qk[i] * outputs[i * 2 + axis];
            for (size_t i = 0; i < n_; ++i) fitted_[i * 2 + axis] += qk[i] * qty[k];
        }
        for (size_t k = p; k-- > 0;) {
            double sum = qty[k];
            for (size_t m = k + 1; m < p; ++m) sum -= r_[k * p + m] * coeff_[m * 2 + axis];
            coeff_[k * 2 + axis] = sum / r_[k * p + k];
        }
    }
    return true;
}

double LeastSquares::Leverage(size_t i) const {
    double h = 0.0;
    for (size_t k = 0; k < p_; ++k) h += q_[k * n_ + i] * q_[k * n_ + i];
    return h;
}

double LeastSquares::Predict(const double* row, int axis) const {
    double sum = 0.0;
    for (size_t k = 0; k < p_; ++k) sum += row[k] * coeff_[k * 2 + axis];
    return sum;
}

double LeastSquares::LeverageOf(const double* row) const {
    std::vector<double> z(p_, 0.0);
    double h = 0.0;
    for (size_t k = 0; k < p_; ++k) {
        double sum = row[k];
        for (size_t m = 0; m < k; ++m) sum -= r_[m * p_ + k] * z[m];
        z[k] = sum / r_[k * p_ + k];
        h += z[k] * z[k];
    }
    return h;
}

double LeastSquares::Norm(const double* v) const {
    double s = 0.0;
    for (size_t i = 0; i < n_; ++i) s += v[i] * v[i];
    return std::sqrt(s);
}
