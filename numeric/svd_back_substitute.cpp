// Back-substitution through a singular value decomposition; zero singular values drop out.
#include "numeric/svd.h"

void SvdBackSubstitute(const Matrix& u, const Vector& w, const Matrix& v, const Vector& b,
                       Vector& x) {
    const int32_t m = u.rows, n = u.cols;
    x.Resize(static_cast<uint32_t>(n));
    if (n == 0) return;
    Vector tmp(static_cast<uint32_t>(n));
    for (int32_t j = 0; j < n; ++j) tmp[j] = 0.0;
    for (int32_t i = 0; i < m; ++i) {
        const double* row = u[i];
        const double bi = b[i];
        for (int32_t j = 0; j < n; ++j) tmp[j] += row[j] * bi;
    }
    for (int32_t j = 0; j < n; ++j) tmp[j] = w[j] != 0.0 ? tmp[j] / w[j] : 0.0;
    for (int32_t j = 0; j < n; ++j) {
        const double* row = v[j];
        double s = 0.0;
        for (int32_t k = 0; k < n; ++k) s += row[k] * tmp[k];
        x[j] = s;
    }
}
