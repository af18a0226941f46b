// Polynomial and Laplace design matrices: columns, term order, harmonics and their reports.
#include <gtest/gtest.h>

#include "fit/design_matrix_builders.h"
#include "fit/term_names.h"
#include "numeric/design_matrices.h"
#include "tests/fit/fit_test_support.h"

namespace {

CalibrationFit FitWithTouches(int32_t termCount,
                              std::initializer_list<std::pair<double, double>> vw) {
    CalibrationFit fit;
    fit.TermCount = termCount;
    fit.TouchV = Vector(uint32_t(vw.size()));
    fit.TouchW = Vector(uint32_t(vw.size()));
    uint32_t i = 0;
    for (auto [v, w] : vw) {
        fit.TouchV[i] = v;
        fit.TouchW[i++] = w;
    }
    return fit;
}

CalibrationFit FitWithTargets(ControllerParameters& parameters,
                              std::initializer_list<std::pair<double, double>> xy) {
    CalibrationFit fit;
    fit.Parameters = &parameters;
    fit.TargetX = Vector(uint32_t(xy.size()));
    fit.TargetY = Vector(uint32_t(xy.size()));
    uint32_t i = 0;
    for (auto [x, y] : xy) {
        fit.TargetX[i] = x;
        fit.TargetY[i++] = y;
    }
    return fit;
}

TEST(PolynomialDesignMatrix, OrderOneRowsAndHeading) {
    ReportFolder reports;
    CalibrationFit fit = FitWithTouches(3, {{0.25, -0.5}});
    BuildPolynomialDesignMatrix(fit, 1);
    ASSERT_EQ(PolynomialDesignMatrix.rows, 1);
    ASSERT_EQ(PolynomialDesignMatrix.cols, 3);
    EXPECT_EQ(PolynomialDesignMatrix[0][0], 1.0);
    EXPECT_EQ(PolynomialDesignMatrix[0][1], 0.25);
    EXPECT_EQ(PolynomialDesignMatrix[0][2], -0.5);
    EXPECT_EQ(reports.Read("Coefficients.txt"),
              "Computed X coefficients\r\n\r\n"
              "             1      v      w \r\n"
              "    0    1.000  0.250 -0.500 \r\n");
}

TEST(PolynomialDesignMatrix, OrderThreeRowFollowsTermNames) {
    ReportFolder reports;
    CalibrationFit fit = FitWithTouches(10, {{2.0, 3.0}});
    BuildPolynomialDesignMatrix(fit, 1);
    const double expected[10] = {1, 2, 3, 4, 6, 9, 8, 12, 18, 27};
    for (int k = 0; k < 10; ++k) EXPECT_EQ(PolynomialDesignMatrix[0][k], expected[k]) << k;
    EXPECT_EQ(PolynomialTermCount, 10);
    EXPECT_NE(reports.Read("Coefficients.txt").find("  v^2w   vw^2    w^3 "), std::string::npos);
}

TEST(PolynomialDesignMatrix, ZeroToThePowerZeroIsOne) {
    ReportFolder reports;
    CalibrationFit fit = FitWithTouches(36, {{0.0, 0.0}, {0.0, 2.0}});
    BuildPolynomialDesignMatrix(fit, 2);
    EXPECT_EQ(PolynomialDesignMatrix[0][0], 1.0);
    for (int k = 1; k < 36; ++k) EXPECT_EQ(PolynomialDesignMatrix[0][k], 0.0) << k;
    // With v = 0 only the pure powers of w survive: columns 0, 2, 5, 9, 14, 20, 27, 35.
    const int pureW[] = {0, 2, 5, 9, 14, 20, 27, 35};
    double power = 1.0;
    for (int column : pureW) {
        EXPECT_EQ(PolynomialDesignMatrix[1][column], power) << column;
        power *= 2.0;
    }
    EXPECT_EQ(PolynomialDesignMatrix[1][1], 0.0);
    EXPECT_EQ(PolynomialDesignMatrix[1][34], 0.0);
}

TEST(PolynomialDesignMatrix, OrderSevenMatchesTheTermTable) {
    ReportFolder reports;
    CalibrationFit fit = FitWithTouches(36, {{1.5, -0.75}});
    BuildPolynomialDesignMatrix(fit, 1);
    int column = 0;
    for (int degree = 0; degree <= 7; ++degree) {
        for (int k = 0; k <= degree; ++k, ++column) {
            std::string label = std::string(PolynomialTermNames[column]);
            EXPECT_DOUBLE_EQ(PolynomialDesignMatrix[0][column],
                             std::pow(1.5, degree - k) * std::pow(-0.75, k))
                << label;
        }
    }
    EXPECT_STREQ(PolynomialTermNames[35], "w^7");
    EXPECT_STREQ(PolynomialTermNames[17], "v^3w^2");
    EXPECT_STREQ(LaplaceTermNames[14], "Coef14");
}

TEST(PolynomialDesignMatrix, TwoBuildsKeepOneMatrixAndAppendTwoBlocks) {
    ReportFolder reports;
    CalibrationFit fit = FitWithTouches(6, {{0.1, 0.2}, {0.3, 0.4}, {0.5, 0.6}});
    BuildPolynomialDesignMatrix(fit, 3);
    BuildPolynomialDesignMatrix(fit, 2);
    EXPECT_EQ(PolynomialDesignMatrix.rows, 2);
    EXPECT_EQ(PolynomialDesignMatrix.cols, 6);
    const std::string report = reports.Read("Coefficients.txt");
    EXPECT_EQ(CountOf(report, "Computed X coefficients\r\n\r\n"), 2u);
    EXPECT_EQ(CountOf(report, "\r\n    2   "), 1u);  // row 2 only in the first block
}

TEST(PolynomialDesignMatrix, RowsNeverExceedTheTouches) {
    ReportFolder reports;
    CalibrationFit fit = FitWithTouches(3, {{0.1, 0.2}});
    BuildPolynomialDesignMatrix(fit, 5);
    EXPECT_EQ(PolynomialDesignMatrix.rows, 1);
}

TEST(LaplaceDesignMatrix, GeneralRowsAtAspectThreeQuarters) {
    ReportFolder reports;
    ControllerParameters parameters;
    parameters.ScreenHeight = 3.0;
    parameters.ScreenWidth = 4.0;
    CalibrationFit fit = FitWithTargets(parameters, {{0.5, 0.4}});
    ActiveLaplaceTermCount = 4;
    BuildLaplaceDesignMatrixX(L"LcoeffsP1.txt", 1, fit);
    BuildLaplaceDesignMatrixY(L"LcoeffsP1.txt", 1, fit);
    ASSERT_EQ(LaplaceDesignMatrixX.cols, 4);
    const double rowX[4] = {1.0, 0.5, 0.3, 0.16};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(LaplaceDesignMatrixX[0][k], rowX[k], 1e-15) << k;
    // Y axis: x = 0.4, y = 0.5 / 0.75.
    const double y = 0.5 / 0.75;
    const double rowY[4] = {1.0, 0.4, y, 0.16 - y * y};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(LaplaceDesignMatrixY[0][k], rowY[k], 1e-15) << k;
    EXPECT_EQ(reports.Read("LcoeffsP1.txt"),
              "\r\nComputed Laplace X coefficients\r\n\r\n"
              "        Coef 0 Coef 1 Coef 2 Coef 3 \r\n"
              "    0    1.000  0.500  0.300  0.160 \r\n"
              "\r\nComputed Laplace Y coefficients\r\n\r\n"
              "        Coef 0 Coef 1 Coef 2 Coef 3 \r\n"
              "    0    1.000  0.400  0.667 -0.284 \r\n");
}

TEST(LaplaceDesignMatrix, HarmonicsArePowersOfZ) {
    const double x = 0.3, y = -0.7;
    double terms[kGeneralHarmonicTerms];
    GeneralHarmonicTerms(x, y, terms);
    double re = 1.0, im = 0.0;
    EXPECT_EQ(terms[0], 1.0);
    for (int n = 1; n <= 7; ++n) {
        const double nextRe = re * x - im * y, nextIm = re * y + im * x;
        re = nextRe;
        im = nextIm;
        EXPECT_NEAR(terms[2 * n - 1], re, 1e-14) << n;
        EXPECT_NEAR(terms[2 * n], im, 1e-14) << n;
    }
}

TEST(LaplaceDesignMatrix, OddTermCountsAndTheColumnLimit) {
    ReportFolder reports;
    ControllerParameters parameters;
    CalibrationFit fit = FitWithTargets(parameters, {{0.2, 0.1}});
    ActiveLaplaceTermCount = 3;
    BuildLaplaceDesignMatrixX(L"LcoeffsP2.txt", 1, fit);
    EXPECT_EQ(LaplaceDesignMatrixX.cols, 3);
    ActiveLaplaceTermCount = 17;  // beyond the 15 harmonics: extra columns stay zero
    BuildLaplaceDesignMatrixX(L"LcoeffsP2.txt", 1, fit);
    ASSERT_EQ(LaplaceDesignMatrixX.cols, 17);
    EXPECT_EQ(LaplaceDesignMatrixX[0][15], 0.0);
    EXPECT_EQ(LaplaceDesignMatrixX[0][16], 0.0);
    EXPECT_NE(LaplaceDesignMatrixX[0][14], 0.0);
}

TEST(SymmetricLaplaceDesignMatrix, UnitPointGivesOnes) {
    ReportFolder reports;
    ControllerParameters parameters;
    parameters.ScreenHeight = parameters.ScreenWidth = 1.0;
    CalibrationFit fit = FitWithTargets(parameters, {{1.0, 0.0}, {0.5, 0.25}});
    ActiveLaplaceTermCount = 4;
    BuildSymmetricLaplaceDesignMatrixX(fit, 2);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(LaplaceDesignMatrixX[0][k], 1.0) << k;
    double general[kGeneralHarmonicTerms];
    GeneralHarmonicTerms(0.5, 0.25, general);
    EXPECT_EQ(LaplaceDesignMatrixX[1][1], general[5]);
    EXPECT_EQ(LaplaceDesignMatrixX[1][3], general[13]);
    ActiveLaplaceTermCount = 2;
    BuildSymmetricLaplaceDesignMatrixY(fit, 2);
    EXPECT_EQ(LaplaceDesignMatrixY.cols, 2);
    EXPECT_EQ(LaplaceDesignMatrixY[0][0], 0.0);  // Y axis: x = TargetY = 0
    const std::string report = reports.Read("LcoeffsP1.txt");
    EXPECT_EQ(CountOf(report, "Computed Laplace X coefficients"), 1u);
    EXPECT_EQ(CountOf(report, "Computed Laplace Y coefficients"), 1u);
}

TEST(DesignMatrixReports, UnopenableFolderStillBuildsTheMatrix) {
    ReportFolder reports;
    const auto blocked = reports.Path() / "not-a-folder";
    std::ofstream(blocked) << "file";
    SetReportFolderOverride(blocked.wstring().c_str());
    CalibrationFit fit = FitWithTouches(3, {{0.5, 0.25}});
    BuildPolynomialDesignMatrix(fit, 1);
    EXPECT_EQ(PolynomialDesignMatrix.rows, 1);
    EXPECT_EQ(PolynomialDesignMatrix[0][1], 0.5);
}

}  // namespace
