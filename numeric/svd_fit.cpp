// SvdFit, weighted linear least squares by decomposing the design matrix, and its row indices.
#include "numeric/svd.h"

namespace {

constexpr double kRelativeThreshold = 1.0e-13;

// Zeroes every singular value strictly below kRelativeThreshold times the largest.
void DiscardWeakSingularValues(Vector& w) {
    double wmax = 0.0;
    for (uint32_t j = 0; j < w.length; ++j) {
        if (w[j] > wmax) wmax = w[j];
    }
    const double thresh = kRelativeThreshold * wmax;
    for (uint32_t j = 0; j < w.length; ++j) {
        if (w[j] < thresh) w[j] = 0.0;
    }
}

double WeightedResidualSquares(const Vector& x, const Vector& y, const Vector& sig, const Vector& a,
                               Vector& afunc, BasisFunction basis) {
    double chisq = 0.0;
    for (uint32_t i = 0; i < x.length; ++i) {
        basis(x[i], afunc);
        double model = 0.0;
        for (uint32_t j = 0; j < a.length; ++j) model += a[j] * afunc[j];
        const double residual = (y[i] - model) / sig[i];
        chisq += residual * residual;
    }
    return chisq;
}

// Without data or coefficients there is nothing to decompose: zero coefficients, V = identity.
void FitNothing(Vector& a, Matrix& v, Vector& w, double& chisq) {
    const int32_t ma = static_cast<int32_t>(a.length);
    v.Reshape(ma, ma);
    w.Resize(a.length);
    for (int32_t j = 0; j < ma; ++j) {
        a[j] = 0.0;
        w[j] = 0.0;
        for (int32_t k = 0; k < ma; ++k) v[j][k] = j == k ? 1.0 : 0.0;
    }
    chisq = 0.0;
}

}  // namespace

void SvdFit(const Vector& x, const Vector& y, const Vector& sig, Vector& a, Matrix& u, Matrix& v,
            Vector& w, double& chisq, BasisFunction basis) {
    const uint32_t ndata = x.length;
    const uint32_t ma = a.length;
    u.Reshape(static_cast<int32_t>(ndata), static_cast<int32_t>(ma));
    if (ndata == 0 || ma == 0) return FitNothing(a, v, w, chisq);
    Vector b(ndata);
    Vector afunc(ma);
    for (uint32_t i = 0; i < ndata; ++i) {
        basis(x[i], afunc);
        const double t = 1.0 / sig[i];
        double* row = u[static_cast<int32_t>(i)];
        for (uint32_t j = 0; j < ma; ++j) row[j] = afunc[j] * t;
        b[i] = y[i] * t;
    }
    SvdDecompose(u, w, v);
    DiscardWeakSingularValues(w);
    SvdBackSubstitute(u, w, v, b, a);
    chisq = WeightedResidualSquares(x, y, sig, a, afunc, basis);
}

Vector RowIndices(uint32_t n) {
    Vector x(n);
    for (uint32_t i = 0; i < n; ++i) x[i] = static_cast<double>(i);
    return x;
}
