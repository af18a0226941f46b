// Test helpers for the numeric core: random and structured design matrices, fits over them.
#pragma once

#include <cstdint>
#include <random>

#include "numeric/design_matrices.h"
#include "numeric/svd.h"

// Fills an m x n matrix with independent standard normal values.
inline Matrix RandomMatrix(int32_t m, int32_t n, std::mt19937& rng) {
    std::normal_distribution<double> normal;
    Matrix a(m, n);
    for (int32_t i = 0; i < m; ++i)
        for (int32_t j = 0; j < n; ++j) a[i][j] = normal(rng);
    return a;
}

struct FitResult {
    Vector a;
    Matrix u;
    Matrix v;
    Vector w;
    double chisq = -1.0;
};

// Fits y against the columns of design through PolynomialBasisRow, with unit weights.
inline FitResult FitDesign(const Matrix& design, const Vector& y) {
    PolynomialDesignMatrix = design;
    PolynomialTermCount = design.cols;
    FitResult r;
    r.a = Vector(static_cast<uint32_t>(design.cols));
    const Vector x = RowIndices(static_cast<uint32_t>(design.rows));
    const Vector sig = Filled(static_cast<uint32_t>(design.rows), 1.0);
    SvdFit(x, y, sig, r.a, r.u, r.v, r.w, r.chisq, PolynomialBasisRow);
    return r;
}
