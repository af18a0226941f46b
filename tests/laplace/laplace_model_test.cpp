// The symmetric Laplace model: evaluation against the complex form and the design rows, its
// special cases and the sum of squares.
#include "laplace/laplace_model.h"

#include <gtest/gtest.h>

#include "fit/design_matrix_builders.h"
#include "fit/fit_evaluation.h"
#include "laplace/virtual_grid.h"
#include "numeric/design_matrices.h"
#include "tests/laplace/laplace_test_support.h"

namespace {

const double kCoeffV[] = {0.93, 0.021, -0.004, 0.0015, 7.0};
const double kCoeffW[] = {0.91, -0.017, 0.003, 0.0009, 9.0};

Vector VectorOf(const double* values, uint32_t n) {
    Vector v(n);
    for (uint32_t i = 0; i < n; ++i) v[i] = values[i];
    return v;
}

struct ModelSetup {
    ControllerParameters Parameters;
    CalibrationConfig Config;
    CalibrationFit Fit;
    ModelSetup() {
        Fit.Config = &Config;
        Fit.Parameters = &Parameters;
        const double xs[] = {-0.45, -0.2, 0.0, 0.13, 0.31, 0.45, -0.38};
        const double ys[] = {0.4, -0.33, 0.0, 0.21, -0.05, -0.45, -0.12};
        Fit.TargetX = VectorOf(xs, 7);
        Fit.TargetY = VectorOf(ys, 7);
    }
    uint32_t Count() const { return Fit.TargetX.length; }
};

TEST(LaplaceModel, MatchesTheTurnedComplexPowersForEveryTermCount) {
    ModelSetup s;
    const Vector cV = VectorOf(kCoeffV, 5), cW = VectorOf(kCoeffW, 5);
    for (int32_t k = 1; k <= 6; ++k) {
        const double theta = 3.7 * kDegree, xoff = 0.013, yoff = -0.021;
        EvaluateLaplaceV(s.Fit, 7, k, theta, xoff, yoff, cV);
        EvaluateLaplaceW(s.Fit, 7, k, theta, xoff, yoff, cW);
        ASSERT_EQ(s.Fit.PredictedV.length, 7u);
        ASSERT_EQ(s.Fit.PredictedW.length, 7u);
        const int terms = k > 4 ? 4 : k;  // five or more use exactly n = 1, 3, 5, 7
        for (uint32_t i = 0; i < s.Count(); ++i) {
            const double x = s.Fit.TargetX[i], y = s.Fit.TargetY[i];
            EXPECT_NEAR(s.Fit.PredictedV[i], ModelV(kCoeffV, terms, x, y, theta, xoff, yoff), 1e-14)
                << "K " << k << " point " << i;
            EXPECT_NEAR(s.Fit.PredictedW[i], ModelW(kCoeffW, terms, x, y, theta, xoff, yoff), 1e-14)
                << "K " << k << " point " << i;
        }
    }
}

TEST(LaplaceModel, OneTermIsAScaledRotation) {
    ModelSetup s;
    const double cv = 0.9, cw = 1.1, theta = -4.0 * kDegree, xoff = -0.03, yoff = 0.02;
    const Vector cV = VectorOf(&cv, 1), cW = VectorOf(&cw, 1);
    EvaluateLaplaceV(s.Fit, 7, 1, theta, xoff, yoff, cV);
    EvaluateLaplaceW(s.Fit, 7, 1, theta, xoff, yoff, cW);
    for (uint32_t i = 0; i < s.Count(); ++i) {
        const double x = s.Fit.TargetX[i] - xoff, y = s.Fit.TargetY[i] - yoff;
        const double a = kDefaultAspect;
        EXPECT_NEAR(s.Fit.PredictedV[i], cv * (x * std::cos(theta) + a * y * std::sin(theta)),
                    1e-15);
        EXPECT_NEAR(s.Fit.PredictedW[i], cw * (y * std::cos(theta) - x / a * std::sin(theta)),
                    1e-15);
    }
}

TEST(LaplaceModel, SquareSensorExchangesTheAxes) {
    ModelSetup s;
    s.Parameters.ScreenHeight = s.Parameters.ScreenWidth = 300.0;
    const Vector c = VectorOf(kCoeffV, 4);
    EvaluateLaplaceW(s.Fit, 7, 4, 0.0, 0.0, 0.0, c);
    const Vector w = s.Fit.PredictedW;
    std::swap(s.Fit.TargetX, s.Fit.TargetY);
    EvaluateLaplaceV(s.Fit, 7, 4, 0.0, 0.0, 0.0, c);
    for (uint32_t i = 0; i < s.Count(); ++i) EXPECT_EQ(w[i], s.Fit.PredictedV[i]);
}

// Unturned and unshifted, the grid's model values are the symmetric design rows times the
// coefficients, bit for bit (what the kind-4 grid holds after a zero search result).
TEST(LaplaceModel, UnturnedModelEqualsTheSymmetricDesignRowsTimesTheCoefficients) {
    ModelSetup s;
    ASSERT_TRUE(FillVirtualGrid(9, 9, s.Fit.TargetX, s.Fit.TargetY));
    ActiveLaplaceTermCount = 4;
    ReportFolder reports;
    BuildSymmetricLaplaceDesignMatrixX(s.Fit, 81);
    BuildSymmetricLaplaceDesignMatrixY(s.Fit, 81);
    const Vector cV = VectorOf(kCoeffV, 4), cW = VectorOf(kCoeffW, 4);
    EvaluateLaplaceV(s.Fit, 81, 4, 0.0, 0.0, 0.0, cV);
    EvaluateLaplaceW(s.Fit, 81, 4, 0.0, 0.0, 0.0, cW);
    for (int32_t m = 0; m < 81; ++m) {
        EXPECT_EQ(s.Fit.PredictedV[m], PredictPoint(cV, LaplaceDesignMatrixX, m, 4)) << m;
        EXPECT_EQ(s.Fit.PredictedW[m], PredictPoint(cW, LaplaceDesignMatrixY, m, 4)) << m;
    }
}

TEST(LaplaceModel, SumOfSquaresIsZeroForAPerfectFitAndAddsEachResidualSquared) {
    ModelSetup s;
    ActiveLaplaceTermCount = 4;
    const Vector cV = VectorOf(kCoeffV, 4), cW = VectorOf(kCoeffW, 4);
    const double theta = 1.5 * kDegree, xoff = 0.02, yoff = -0.01;
    EvaluateLaplaceV(s.Fit, 7, 4, theta, xoff, yoff, cV);
    EvaluateLaplaceW(s.Fit, 7, 4, theta, xoff, yoff, cW);
    s.Fit.TouchV = s.Fit.PredictedV;
    s.Fit.TouchW = s.Fit.PredictedW;
    EXPECT_EQ(LaplaceSumOfSquares(s.Fit, 7, theta, xoff, yoff, cV, cW), 0.0);
    s.Fit.TouchV[2] += 1.0;
    s.Fit.TouchW[5] -= 0.5;
    EXPECT_NEAR(LaplaceSumOfSquares(s.Fit, 7, theta, xoff, yoff, cV, cW), 1.25, 1e-12);
    // Only the first count points are compared.
    EXPECT_NEAR(LaplaceSumOfSquares(s.Fit, 3, theta, xoff, yoff, cV, cW), 1.0, 1e-12);
}

TEST(LaplaceModel, SumOfSquaresUsesTheActiveTermCount) {
    ModelSetup s;
    const Vector cV = VectorOf(kCoeffV, 4), cW = VectorOf(kCoeffW, 4);
    ActiveLaplaceTermCount = 1;
    EvaluateLaplaceV(s.Fit, 7, 1, 0.0, 0.0, 0.0, cV);
    EvaluateLaplaceW(s.Fit, 7, 1, 0.0, 0.0, 0.0, cW);
    s.Fit.TouchV = s.Fit.PredictedV;
    s.Fit.TouchW = s.Fit.PredictedW;
    EXPECT_EQ(LaplaceSumOfSquares(s.Fit, 7, 0.0, 0.0, 0.0, cV, cW), 0.0);
    ActiveLaplaceTermCount = 4;
    EXPECT_GT(LaplaceSumOfSquares(s.Fit, 7, 0.0, 0.0, 0.0, cV, cW), 0.0);
}

TEST(LaplaceModel, NoPointsGiveEmptyPredictionsAndAZeroSum) {
    ModelSetup s;
    ActiveLaplaceTermCount = 4;
    const Vector cV = VectorOf(kCoeffV, 4), cW = VectorOf(kCoeffW, 4);
    s.Fit.TouchV = Vector(7);
    s.Fit.TouchW = Vector(7);
    EXPECT_EQ(LaplaceSumOfSquares(s.Fit, 0, 0.1, 0.0, 0.0, cV, cW), 0.0);
    EXPECT_TRUE(s.Fit.PredictedV.empty());
    EXPECT_TRUE(s.Fit.PredictedW.empty());
}

TEST(LaplaceModel, NeverReadsPastTheTargetsOrTheCoefficients) {
    ModelSetup s;
    const Vector cV = VectorOf(kCoeffV, 2);
    EvaluateLaplaceV(s.Fit, 50, 4, 0.0, 0.0, 0.0, cV);  // 7 targets, 2 coefficients
    ASSERT_EQ(s.Fit.PredictedV.length, 7u);
    for (uint32_t i = 0; i < 7; ++i)
        EXPECT_NEAR(s.Fit.PredictedV[i],
                    ModelV(kCoeffV, 2, s.Fit.TargetX[i], s.Fit.TargetY[i], 0.0, 0.0, 0.0), 1e-15);
}

}  // namespace
