// Golub-Kahan-Reinsch singular value decomposition: Householder bidiagonalisation, accumulation
// of the transformations, and implicit-shift QR diagonalisation of the bidiagonal form.
#include <algorithm>
#include <cmath>

#include "numeric/hypotenuse.h"
#include "numeric/svd.h"
#include "numeric/svd_test_hook.h"

namespace {

constexpr int32_t kDefaultIterationLimit = 30;
int32_t iterationLimit = kDefaultIterationLimit;

double SignOf(double magnitude, double sign) {
    return sign >= 0.0 ? std::fabs(magnitude) : -std::fabs(magnitude);
}

// An element is negligible when adding it to anorm leaves anorm unchanged. For finite values,
// "not greater" is the same test as "equal" (the rounded sum is never below anorm); written this
// way a NaN element counts as negligible too, so bad input ends the sweeps instead of cycling.
bool Negligible(double value, double anorm) { return !(std::fabs(value) + anorm > anorm); }

// One Householder step on column i (rows i..m-1); returns the new diagonal element w[i].
// scratch holds n doubles.
double ReflectColumn(Matrix& a, int32_t i, double* scratch) {
    const int32_t m = a.rows, n = a.cols;
    double scale = 0.0;
    for (int32_t k = i; k < m; ++k) scale += std::fabs(a[k][i]);
    if (scale == 0.0) return 0.0;
    double s = 0.0;
    for (int32_t k = i; k < m; ++k) {
        a[k][i] /= scale;
        s += a[k][i] * a[k][i];
    }
    const double f = a[i][i];
    const double g = -SignOf(std::sqrt(s), f);
    const double h = f * g - s;
    a[i][i] = f - g;
    // Per column j: dot[j] = sum over k of a[k][i] * a[k][j], then a[k][j] += dot[j] / h * a[k][i];
    // walked row by row (each sum keeps its order of k).
    for (int32_t j = i + 1; j < n; ++j) scratch[j] = 0.0;
    for (int32_t k = i; k < m; ++k) {
        const double* row = a[k];
        const double aki = row[i];
        for (int32_t j = i + 1; j < n; ++j) scratch[j] += aki * row[j];
    }
    for (int32_t j = i + 1; j < n; ++j) scratch[j] /= h;
    for (int32_t k = i; k < m; ++k) {
        double* row = a[k];
        const double aki = row[i];
        for (int32_t j = i + 1; j < n; ++j) row[j] += scratch[j] * aki;
    }
    for (int32_t k = i; k < m; ++k) a[k][i] *= scale;
    return scale * g;
}

// One Householder step on row i (columns i+1..n-1); returns the superdiagonal element rv1[i+1].
// rv1[i+1 .. n-1] is used as scratch for the reflector.
double ReflectRow(Matrix& a, int32_t i, double* rv1) {
    const int32_t m = a.rows, n = a.cols, l = i + 1;
    double scale = 0.0;
    for (int32_t k = l; k < n; ++k) scale += std::fabs(a[i][k]);
    if (scale == 0.0) return 0.0;
    double* rowI = a[i];
    double s = 0.0;
    for (int32_t k = l; k < n; ++k) {
        rowI[k] /= scale;
        s += rowI[k] * rowI[k];
    }
    const double f = rowI[l];
    const double g = -SignOf(std::sqrt(s), f);
    const double h = f * g - s;
    rowI[l] = f - g;
    for (int32_t k = l; k < n; ++k) rv1[k] = rowI[k] / h;
    for (int32_t j = l; j < m; ++j) {
        double* rowJ = a[j];
        double dot = 0.0;
        for (int32_t k = l; k < n; ++k) dot += rowJ[k] * rowI[k];
        for (int32_t k = l; k < n; ++k) rowJ[k] += dot * rv1[k];
    }
    for (int32_t k = l; k < n; ++k) rowI[k] *= scale;
    return scale * g;
}

// Reduces a to upper bidiagonal form: diagonal in w, superdiagonal in rv1 (rv1[0] = 0).
// Returns anorm, the largest |w[i]| + |rv1[i]|.
double Bidiagonalise(Matrix& a, Vector& w, double* rv1, double* scratch) {
    const int32_t m = a.rows, n = a.cols;
    double anorm = 0.0;
    double superdiagonal = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        rv1[i] = superdiagonal;
        w[i] = i < m ? ReflectColumn(a, i, scratch) : 0.0;
        superdiagonal = (i < m && i != n - 1) ? ReflectRow(a, i, rv1) : 0.0;
        anorm = std::max(anorm, std::fabs(w[i]) + std::fabs(rv1[i]));
    }
    return anorm;
}

// Builds V from the row reflectors stored in a, last to first.
void AccumulateRight(const Matrix& a, const double* rv1, Matrix& v, double* scratch) {
    const int32_t n = a.cols;
    for (int32_t i = n - 1; i >= 0; --i) {
        const int32_t l = i + 1;
        if (i < n - 1) {
            const double g = rv1[l];
            if (g != 0.0) {
                // Double division avoids a possible underflow.
                for (int32_t j = l; j < n; ++j) v[j][i] = (a[i][j] / a[i][l]) / g;
                for (int32_t j = l; j < n; ++j) scratch[j] = 0.0;
                for (int32_t k = l; k < n; ++k) {
                    const double aik = a[i][k];
                    for (int32_t j = l; j < n; ++j) scratch[j] += aik * v[k][j];
                }
                for (int32_t k = l; k < n; ++k) {
                    const double vki = v[k][i];
                    for (int32_t j = l; j < n; ++j) v[k][j] += scratch[j] * vki;
                }
            }
            for (int32_t j = l; j < n; ++j) v[i][j] = v[j][i] = 0.0;
        }
        v[i][i] = 1.0;
    }
}

// Turns a into U by applying the column reflectors stored in it, last to first.
void AccumulateLeft(Matrix& a, const Vector& w, double* scratch) {
    const int32_t m = a.rows, n = a.cols;
    for (int32_t i = std::min(m, n) - 1; i >= 0; --i) {
        const int32_t l = i + 1;
        for (int32_t j = l; j < n; ++j) a[i][j] = 0.0;
        if (w[i] != 0.0) {
            const double g = 1.0 / w[i];
            for (int32_t j = l; j < n; ++j) scratch[j] = 0.0;
            for (int32_t k = l; k < m; ++k) {
                const double* row = a[k];
                const double aki = row[i];
                for (int32_t j = l; j < n; ++j) scratch[j] += aki * row[j];
            }
            for (int32_t j = l; j < n; ++j) scratch[j] = (scratch[j] / a[i][i]) * g;
            for (int32_t k = i; k < m; ++k) {
                double* row = a[k];
                const double aki = row[i];
                for (int32_t j = l; j < n; ++j) row[j] += scratch[j] * aki;
            }
            for (int32_t j = i; j < m; ++j) a[j][i] *= g;
        } else {
            for (int32_t j = i; j < m; ++j) a[j][i] = 0.0;
        }
        a[i][i] += 1.0;
    }
}

// Applies the plane rotation (c, s) to rows p and q of t. The diagonalisation works on the
// transposes of U and V, so that rotating two of their columns walks contiguous memory.
void RotateRows(Matrix& t, int32_t p, int32_t q, double c, double s) {
    double* rowP = t[p];
    double* rowQ = t[q];
    for (int32_t r = 0; r < t.cols; ++r) {
        const double y = rowP[r];
        const double z = rowQ[r];
        rowP[r] = y * c + z * s;
        rowQ[r] = z * c - y * s;
    }
}

// Writes the transpose of source into target, giving target that shape.
void Transpose(const Matrix& source, Matrix& target) {
    target.Reshape(source.cols, source.rows);
    for (int32_t i = 0; i < source.rows; ++i)
        for (int32_t j = 0; j < source.cols; ++j) target[j][i] = source[i][j];
}

// Finds the start l of the unreduced block ending at k. Sets cancel when w[l-1] is negligible
// (rv1[l] must then be chased out). rv1[0] is zero by construction, so l = 0 always splits.
int32_t FindSplit(const Vector& w, const double* rv1, int32_t k, double anorm, bool& cancel) {
    cancel = false;
    for (int32_t l = k; l > 0; --l) {
        if (Negligible(rv1[l], anorm)) return l;
        if (Negligible(w[l - 1], anorm)) {
            cancel = true;
            return l;
        }
    }
    return 0;
}

// Zeroes rv1[l..k] by rotations against row l-1 when w[l-1] is negligible.
void CancelSuperdiagonal(Matrix& ut, Vector& w, double* rv1, int32_t l, int32_t k, double anorm) {
    const int32_t nm = l - 1;
    double c = 0.0, s = 1.0;
    for (int32_t i = l; i <= k; ++i) {
        const double f = s * rv1[i];
        rv1[i] = c * rv1[i];
        if (Negligible(f, anorm)) break;
        const double g = w[i];
        const double h = Hypotenuse(f, g);
        w[i] = h;
        c = g / h;
        s = -f / h;
        RotateRows(ut, nm, i, c, s);
    }
}

// One implicit-shift QR sweep over the block l..k, shift from its bottom 2 x 2 minor.
void QrSweep(Matrix& ut, Vector& w, Matrix& vt, double* rv1, int32_t l, int32_t k) {
    double x = w[l];
    double y = w[k - 1];
    double z = w[k];
    double g = rv1[k - 1];
    double h = rv1[k];
    double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
    g = Hypotenuse(f, 1.0);
    f = ((x - z) * (x + z) + h * ((y / (f + SignOf(g, f))) - h)) / x;
    double c = 1.0, s = 1.0;
    for (int32_t j = l; j < k; ++j) {
        const int32_t i = j + 1;
        g = rv1[i];
        y = w[i];
        h = s * g;
        g = c * g;
        z = Hypotenuse(f, h);
        rv1[j] = z;
        c = f / z;
        s = h / z;
        f = x * c + g * s;
        g = g * c - x * s;
        h = y * s;
        y *= c;
        RotateRows(vt, j, i, c, s);
        z = Hypotenuse(f, h);
        w[j] = z;
        if (z != 0.0) {
            c = f / z;
            s = h / z;
        }
        f = c * g + s * y;
        x = c * y - s * g;
        RotateRows(ut, j, i, c, s);
    }
    rv1[l] = 0.0;
    rv1[k] = f;
    w[k] = x;
}

// Drives singular value k to convergence, making it non-negative; fatal after the sweep limit.
void ConvergeSingularValue(Matrix& ut, Vector& w, Matrix& vt, double* rv1, int32_t k,
                           double anorm) {
    for (int32_t iteration = 0;; ++iteration) {
        bool cancel = false;
        const int32_t l = FindSplit(w, rv1, k, anorm, cancel);
        if (cancel) CancelSuperdiagonal(ut, w, rv1, l, k, anorm);
        if (l == k) {
            if (w[k] < 0.0) {
                w[k] = -w[k];
                double* column = vt[k];
                for (int32_t j = 0; j < vt.cols; ++j) column[j] = -column[j];
            }
            return;
        }
        if (iteration >= iterationLimit - 1) {
            NumericFatalError("no convergence in 30 svdcmp iterations");
        }
        QrSweep(ut, w, vt, rv1, l, k);
    }
}

}  // namespace

void SetSvdIterationLimitForTesting(int32_t limit) {
    iterationLimit = limit > 0 ? limit : kDefaultIterationLimit;
}

void SvdDecompose(Matrix& a, Vector& w, Matrix& v) {
    const int32_t n = a.cols;
    w.Resize(static_cast<uint32_t>(n));
    v.Reshape(n, n);
    if (n == 0) return;
    Vector work(2 * static_cast<uint32_t>(n));  // superdiagonal rv1, then row scratch
    double* rv1 = work.data;
    double* scratch = work.data + n;
    const double anorm = Bidiagonalise(a, w, rv1, scratch);
    AccumulateRight(a, rv1, v, scratch);
    AccumulateLeft(a, w, scratch);
    Matrix ut, vt;
    Transpose(a, ut);
    Transpose(v, vt);
    for (int32_t k = n - 1; k >= 0; --k) ConvergeSingularValue(ut, w, vt, rv1, k, anorm);
    Transpose(ut, a);
    Transpose(vt, v);
}
