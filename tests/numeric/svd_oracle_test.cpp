// SvdDecompose and SvdFit against LAPACK (dgesvd singular values, dgelsd minimum-norm solution).
#include <gtest/gtest.h>
#include <lapacke.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "tests/numeric/numeric_test_support.h"

namespace {

std::vector<double> ColumnMajor(const Matrix& a) {
    std::vector<double> out(static_cast<size_t>(a.rows) * a.cols);
    for (int32_t j = 0; j < a.cols; ++j)
        for (int32_t i = 0; i < a.rows; ++i) out[j * a.rows + i] = a[i][j];
    return out;
}

std::vector<double> LapackSingularValues(const Matrix& a) {
    std::vector<double> col = ColumnMajor(a);
    std::vector<double> s(std::min(a.rows, a.cols)), superb(s.size() + 1);
    const int info = LAPACKE_dgesvd(LAPACK_COL_MAJOR, 'N', 'N', a.rows, a.cols, col.data(), a.rows,
                                    s.data(), nullptr, 1, nullptr, 1, superb.data());
    EXPECT_EQ(info, 0);
    return s;
}

std::vector<double> LapackMinimumNorm(const Matrix& a, const Vector& y) {
    const int32_t m = a.rows, n = a.cols, ldb = std::max(m, n);
    std::vector<double> col = ColumnMajor(a), b(ldb, 0.0), s(std::min(m, n));
    for (int32_t i = 0; i < m; ++i) b[i] = y[i];
    int rank = 0;
    const int info = LAPACKE_dgelsd(LAPACK_COL_MAJOR, m, n, 1, col.data(), m, b.data(), ldb,
                                    s.data(), 1.0e-13, &rank);
    EXPECT_EQ(info, 0);
    b.resize(n);
    return b;
}

double Norm(const std::vector<double>& v) {
    double s = 0.0;
    for (double x : v) s += x * x;
    return std::sqrt(s);
}

// Checks one problem against every oracle property. Coefficients are compared after
// multiplying by columnScale (when given): the well-conditioned unknowns of a column-scaled design.
void CheckAgainstLapack(const Matrix& design, const Vector& y,
                        const std::vector<double>& columnScale = {}) {
    const int32_t m = design.rows, n = design.cols;
    const FitResult r = FitDesign(design, y);

    Matrix u = design;
    Vector w;
    Matrix v;
    SvdDecompose(u, w, v);
    std::vector<double> ours(w.data, w.data + n), theirs = LapackSingularValues(design);
    std::sort(ours.rbegin(), ours.rend());
    const double wmax = std::max(ours[0], 1e-300);
    for (size_t j = 0; j < theirs.size(); ++j) EXPECT_NEAR(ours[j], theirs[j], 1e-12 * wmax);
    for (size_t j = theirs.size(); j < ours.size(); ++j) EXPECT_LE(ours[j], 1e-12 * wmax);

    for (int32_t i = 0; i < m; ++i)
        for (int32_t j = 0; j < n; ++j) {
            double s = 0.0;
            for (int32_t k = 0; k < n; ++k) s += u[i][k] * w[k] * v[j][k];
            ASSERT_NEAR(s, design[i][j], 1e-12 * wmax) << i << "," << j;
        }
    for (int32_t p = 0; p < n; ++p)
        for (int32_t q = 0; q < n; ++q) {
            double uu = 0.0, vv = 0.0;
            for (int32_t i = 0; i < m; ++i) uu += u[i][p] * u[i][q];
            for (int32_t k = 0; k < n; ++k) vv += v[k][p] * v[k][q];
            ASSERT_NEAR(vv, p == q ? 1.0 : 0.0, 1e-12);
            if (w[p] != 0.0 && w[q] != 0.0) {
                ASSERT_NEAR(uu, p == q ? 1.0 : 0.0, 1e-12);
            }
        }

    const std::vector<double> expected = LapackMinimumNorm(design, y);
    std::vector<double> diff(n);
    std::vector<double> scaledExpected(n);
    for (int32_t j = 0; j < n; ++j) {
        const double scale = columnScale.empty() ? 1.0 : columnScale[j];
        diff[j] = (r.a[j] - expected[j]) * scale;
        scaledExpected[j] = expected[j] * scale;
    }
    EXPECT_LE(Norm(diff), 1e-10 * std::max(Norm(scaledExpected), 1e-300)) << m << "x" << n;

    double rss = 0.0;
    for (int32_t i = 0; i < m; ++i) {
        double model = 0.0;
        for (int32_t j = 0; j < n; ++j) model += design[i][j] * r.a[j];
        rss += (y[i] - model) * (y[i] - model);
    }
    EXPECT_NEAR(r.chisq, rss, 1e-12 * std::max(rss, 1.0));
}

Vector RandomVector(uint32_t n, std::mt19937& rng) {
    std::normal_distribution<double> normal;
    Vector v(n);
    for (uint32_t i = 0; i < n; ++i) v[i] = normal(rng);
    return v;
}

// The order-7 polynomial terms v^i w^j (i + j <= 7) over a 9 x 9 grid: 81 rows, 36 columns.
Matrix PolynomialGridDesign() {
    Matrix d(81, 36);
    for (int32_t p = 0; p < 81; ++p) {
        const double gv = (p % 9) / 8.0 - 0.5, gw = (p / 9) / 8.0 - 0.5;
        int32_t term = 0;
        for (int32_t order = 0; order <= 7; ++order)
            for (int32_t j = 0; j <= order; ++j)
                d[p][term++] = std::pow(gv, order - j) * std::pow(gw, j);
    }
    return d;
}

TEST(SvdOracle, RandomTallAndSquare) {
    std::mt19937 rng(21);
    const int32_t shapes[][2] = {{25, 10}, {36, 36}, {10, 10}, {40, 3}, {81, 36}, {7, 1}, {2, 2}};
    for (int trial = 0; trial < 4; ++trial)
        for (const auto& shape : shapes) {
            SCOPED_TRACE(testing::Message() << shape[0] << "x" << shape[1] << " #" << trial);
            CheckAgainstLapack(RandomMatrix(shape[0], shape[1], rng), RandomVector(shape[0], rng));
        }
}

TEST(SvdOracle, RankDeficient) {
    std::mt19937 rng(22);
    for (int32_t rank : {1, 3, 7}) {
        const Matrix left = RandomMatrix(30, rank, rng), right = RandomMatrix(rank, 12, rng);
        Matrix d(30, 12);
        for (int32_t i = 0; i < 30; ++i)
            for (int32_t j = 0; j < 12; ++j) {
                double s = 0.0;
                for (int32_t k = 0; k < rank; ++k) s += left[i][k] * right[k][j];
                d[i][j] = s;
            }
        SCOPED_TRACE(rank);
        CheckAgainstLapack(d, RandomVector(30, rng));
    }
}

TEST(SvdOracle, BadlyScaledColumnsAndRows) {
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> columnExponent(-2.0, 2.0), rowExponent(-1.0, 1.0);
    for (int trial = 0; trial < 5; ++trial) {
        Matrix d = RandomMatrix(30, 8, rng);
        std::vector<double> columnScale(8);
        for (int32_t j = 0; j < 8; ++j) {
            columnScale[j] = std::pow(10.0, columnExponent(rng));
            for (int32_t i = 0; i < 30; ++i) d[i][j] *= columnScale[j];
        }
        for (int32_t i = 0; i < 30; ++i) {
            const double scale = std::pow(10.0, rowExponent(rng));
            for (int32_t j = 0; j < 8; ++j) d[i][j] *= scale;
        }
        SCOPED_TRACE(trial);
        CheckAgainstLapack(d, RandomVector(30, rng), columnScale);
    }
}

TEST(SvdOracle, PolynomialGrid81By36) {
    std::mt19937 rng(24);
    CheckAgainstLapack(PolynomialGridDesign(), RandomVector(81, rng));
}

TEST(SvdOracle, AllZero) {
    Matrix d(12, 5);
    for (int32_t i = 0; i < 12; ++i)
        for (int32_t j = 0; j < 5; ++j) d[i][j] = 0.0;
    std::mt19937 rng(25);
    CheckAgainstLapack(d, RandomVector(12, rng));
}

}  // namespace
