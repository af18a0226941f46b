// SvdFit and SvdDecompose edge cases: thresholding, degenerate designs, ordering, callbacks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "numeric/hypotenuse.h"
#include "tests/numeric/numeric_test_support.h"

namespace {

// A 4 x 2 design with exact singular values big and small (diagonal, so computed exactly).
Matrix DiagonalDesign(double big, double small) {
    Matrix d(4, 2);
    for (int32_t i = 0; i < 4; ++i) d[i][0] = d[i][1] = 0.0;
    d[0][0] = big;
    d[1][1] = small;
    return d;
}

Vector Ones(uint32_t n) { return Filled(n, 1.0); }

TEST(SvdFitThreshold, ValueEqualToThresholdStays) {
    const double thresh = 1.0e-13 * 2.0;
    const FitResult r = FitDesign(DiagonalDesign(2.0, thresh), Ones(4));
    ASSERT_EQ(r.w.length, 2u);
    EXPECT_EQ(std::fmax(r.w[0], r.w[1]), 2.0);
    EXPECT_EQ(std::fmin(r.w[0], r.w[1]), thresh);
    EXPECT_DOUBLE_EQ(r.a[1], 1.0 / thresh);
}

TEST(SvdFitThreshold, ValueJustBelowThresholdIsZeroed) {
    const double below = std::nextafter(1.0e-13 * 2.0, 0.0);
    const FitResult r = FitDesign(DiagonalDesign(2.0, below), Ones(4));
    EXPECT_EQ(std::fmin(r.w[0], r.w[1]), 0.0);
    EXPECT_EQ(r.a[1], 0.0);
    EXPECT_DOUBLE_EQ(r.a[0], 0.5);
    EXPECT_DOUBLE_EQ(r.chisq, 3.0);
}

TEST(SvdFitDegenerate, IdenticalColumnsGiveOneZeroValueAndFiniteCoefficients) {
    std::mt19937 rng(7);
    Matrix d = RandomMatrix(12, 4, rng);
    for (int32_t i = 0; i < 12; ++i) d[i][3] = d[i][1];
    Vector y(12);
    for (int32_t i = 0; i < 12; ++i) y[i] = d[i][0] + 2.0 * d[i][1];
    const FitResult r = FitDesign(d, y);
    int zeros = 0;
    for (uint32_t j = 0; j < 4; ++j) zeros += r.w[j] == 0.0;
    EXPECT_EQ(zeros, 1);
    for (uint32_t j = 0; j < 4; ++j) EXPECT_TRUE(std::isfinite(r.a[j]));
    // Minimum-norm: the weight of the doubled column is split evenly.
    EXPECT_NEAR(r.a[0], 1.0, 1e-12);
    EXPECT_NEAR(r.a[1], 1.0, 1e-12);
    EXPECT_NEAR(r.a[3], 1.0, 1e-12);
    EXPECT_NEAR(r.a[2], 0.0, 1e-12);
    EXPECT_LT(r.chisq, 1e-24);
}

TEST(SvdFitDegenerate, AllZeroDesignGivesZeroCoefficients) {
    Matrix d(6, 3);
    for (int32_t i = 0; i < 6; ++i)
        for (int32_t j = 0; j < 3; ++j) d[i][j] = 0.0;
    Vector y = Filled(6, 2.0);
    const FitResult r = FitDesign(d, y);
    for (uint32_t j = 0; j < 3; ++j) {
        EXPECT_EQ(r.w[j], 0.0);
        EXPECT_EQ(r.a[j], 0.0);
    }
    EXPECT_DOUBLE_EQ(r.chisq, 24.0);
}

TEST(SvdFitDegenerate, NoDataGivesZeroCoefficientsOfTheRequestedLength) {
    Matrix empty;
    const FitResult r = FitDesign(empty, Vector());
    EXPECT_EQ(r.a.length, 0u);
    PolynomialTermCount = 3;
    Vector a(3), w, none;
    Matrix u, v;
    double chisq = -1.0;
    SvdFit(none, none, none, a, u, v, w, chisq, PolynomialBasisRow);
    ASSERT_EQ(a.length, 3u);
    EXPECT_EQ(a[0], 0.0);
    EXPECT_EQ(chisq, 0.0);
}

TEST(SvdFitWeights, ChisqDividesResidualsBySigma) {
    Matrix d(3, 1);
    d[0][0] = d[1][0] = d[2][0] = 1.0;
    PolynomialDesignMatrix = d;
    PolynomialTermCount = 1;
    Vector y(3), sig(3), a(1), w;
    y[0] = 0.0, y[1] = 0.0, y[2] = 3.0;
    sig[0] = 1.0, sig[1] = 1.0, sig[2] = 1.0;
    Matrix u, v;
    double chisq = 0.0;
    SvdFit(RowIndices(3), y, sig, a, u, v, w, chisq, PolynomialBasisRow);
    EXPECT_DOUBLE_EQ(a[0], 1.0);
    EXPECT_DOUBLE_EQ(chisq, 1.0 + 1.0 + 4.0);
    sig[2] = 0.5;  // weight 4 on the last point: mean of (0, 0, 3, 3, 3, 3) per unit weight
    SvdFit(RowIndices(3), y, sig, a, u, v, w, chisq, PolynomialBasisRow);
    EXPECT_DOUBLE_EQ(a[0], 2.0);
    EXPECT_DOUBLE_EQ(chisq, 4.0 + 4.0 + 4.0);
}

TEST(SvdDecompose, ValuesAreNonNegativeAndInTheAlgorithmsOrder) {
    // diag(1, 3, 2): the decomposition keeps the diagonal order rather than sorting.
    Matrix a(3, 3);
    for (int32_t i = 0; i < 3; ++i)
        for (int32_t j = 0; j < 3; ++j) a[i][j] = 0.0;
    a[0][0] = -1.0, a[1][1] = 3.0, a[2][2] = -2.0;
    Vector w;
    Matrix v;
    SvdDecompose(a, w, v);
    EXPECT_EQ(w[0], 1.0);
    EXPECT_EQ(w[1], 3.0);
    EXPECT_EQ(w[2], 2.0);
    std::mt19937 rng(3);
    bool sawUnsorted = false;
    for (int trial = 0; trial < 20; ++trial) {
        Matrix r = RandomMatrix(9, 6, rng);
        SvdDecompose(r, w, v);
        for (uint32_t j = 0; j < 6; ++j) EXPECT_GE(w[j], 0.0);
        for (uint32_t j = 1; j < 6; ++j) sawUnsorted |= w[j] > w[j - 1];
    }
    EXPECT_TRUE(sawUnsorted);
}

TEST(SvdDecompose, WideMatrixReconstructs) {
    std::mt19937 rng(11);
    const Matrix input = RandomMatrix(3, 5, rng);
    Matrix a = input;
    Vector w;
    Matrix v;
    SvdDecompose(a, w, v);
    for (int32_t i = 0; i < 3; ++i)
        for (int32_t j = 0; j < 5; ++j) {
            double s = 0.0;
            for (int32_t k = 0; k < 5; ++k) s += a[i][k] * w[k] * v[j][k];
            EXPECT_NEAR(s, input[i][j], 1e-13);
        }
}

TEST(Hypotenuse, AvoidsOverflowAndUnderflow) {
    EXPECT_DOUBLE_EQ(Hypotenuse(3.0, -4.0), 5.0);
    EXPECT_DOUBLE_EQ(Hypotenuse(3e200, 4e200), 5e200);
    EXPECT_DOUBLE_EQ(Hypotenuse(3e-200, 4e-200), 5e-200);
    EXPECT_EQ(Hypotenuse(0.0, 0.0), 0.0);
    EXPECT_EQ(Hypotenuse(-7.0, 0.0), 7.0);
}

TEST(BasisCallbacks, TruncateTheIndexTowardZero) {
    Matrix d(6, 3);
    for (int32_t i = 0; i < 6; ++i)
        for (int32_t j = 0; j < 3; ++j) d[i][j] = i * 10 + j;
    PolynomialDesignMatrix = d;
    LaplaceDesignMatrixX = d;
    LaplaceDesignMatrixY = d;
    for (int32_t j = 0; j < 3; ++j) LaplaceDesignMatrixY[4][j] = -1.0 - j;
    PolynomialTermCount = 3;
    ActiveLaplaceTermCount = 2;
    for (double x : {4.0, 4.9}) {
        Vector afunc = Filled(3, 99.0);
        PolynomialBasisRow(x, afunc);
        EXPECT_EQ(afunc[0], 40.0);
        EXPECT_EQ(afunc[2], 42.0);
        afunc = Filled(3, 99.0);
        LaplaceBasisRowX(x, afunc);
        EXPECT_EQ(afunc[1], 41.0);
        EXPECT_EQ(afunc[2], 99.0);  // beyond ActiveLaplaceTermCount
        LaplaceBasisRowY(x, afunc);
        EXPECT_EQ(afunc[0], -1.0);
        EXPECT_EQ(afunc[1], -2.0);
    }
}

TEST(BasisCallbacks, OutOfRangeRowsAndTermsAreNeverRead) {
    Matrix d(2, 2);
    d[0][0] = d[0][1] = d[1][0] = d[1][1] = 1.0;
    PolynomialDesignMatrix = d;
    PolynomialTermCount = 3;  // one more term than the matrix has columns
    Vector afunc = Filled(3, 0.0);
    PolynomialBasisRow(1.0, afunc);
    EXPECT_EQ(afunc[1], 1.0);
    EXPECT_TRUE(std::isnan(afunc[2]));
    for (double x : {2.0, -1.0, 1e300, std::nan("")}) {
        afunc = Filled(3, 0.0);
        PolynomialBasisRow(x, afunc);
        EXPECT_TRUE(std::isnan(afunc[0])) << x;
    }
    Vector shortRow = Filled(1, 0.0);
    PolynomialBasisRow(0.0, shortRow);  // must not write past its single element
    EXPECT_EQ(shortRow[0], 1.0);
}

}  // namespace
