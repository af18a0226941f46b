// Singular value decomposition and the weighted linear least-squares fit built on it (SvdFit).
#pragma once

#include "numeric/matrix.h"
#include "numeric/numeric_error.h"
#include "numeric/vector.h"

// Fills afunc[0 .. ma-1] with the values of the basis functions at x.
using BasisFunction = void (*)(double x, Vector& afunc);

// Decomposes the m x n matrix a in place: on return a holds U (m x n), w the n singular values
// (non-negative, in the algorithm's own order, not sorted) and v the n x n matrix V, with
// input = U * diag(w) * V^T. w and v are given that shape if they have another.
// Ends the process through NumericFatalError when a singular value does not converge.
void SvdDecompose(Matrix& a, Vector& w, Matrix& v);

// Solves U * diag(w) * V^T * x = b in the least-squares sense, skipping zero singular values.
// m = u.rows, n = u.cols; b needs m elements; x is given n elements if it has another length.
void SvdBackSubstitute(const Matrix& u, const Vector& w, const Matrix& v, const Vector& b,
                       Vector& x);

// Row indices 0, 1, .. n - 1 as doubles: the x of SvdFit when the basis callback reads the rows of
// a design matrix.
Vector RowIndices(uint32_t n);

// Weighted least squares over ndata = x.length points (y and sig need as many) for the
// ma = a.length coefficients a. Out: u (ndata x ma, U), v (ma x ma, V), w (ma singular values,
// those below 1e-13 of the largest set to 0), chisq (weighted sum of squared residuals).
void SvdFit(const Vector& x, const Vector& y, const Vector& sig, Vector& a, Matrix& u, Matrix& v,
            Vector& w, double& chisq, BasisFunction basis);
