// The fit report and the mini-target lines: exact lines, the sign rule, spacing truncation.
#include "fit/fit_report.h"

#include <gtest/gtest.h>

#include "fit/fit_evaluation.h"
#include "fit/mini_targets.h"
#include "fit/polynomial_fit.h"
#include "fit/term_names.h"
#include "numeric/design_matrices.h"
#include "tests/fit/fit_test_support.h"

namespace {

Vector Values(std::initializer_list<double> values) {
    Vector v(uint32_t(values.size()));
    uint32_t i = 0;
    for (double value : values) v[i++] = value;
    return v;
}

// A 2 x 2 grid whose normalised data the test sets itself.
struct ReportBench {
    ReportFolder reports;
    FitBench bench{[] {
        GridSetup setup;
        setup.Rows = setup.Columns = 2;
        setup.Order = 1;
        return setup;
    }()};
    CalibrationFit& fit = *bench.Fit;
};

TEST(FitReport, CoefficientAndPredictionLines) {
    ReportBench r;
    r.fit.TouchV = Values({0.1, -0.2, 0.3, 0.0});
    r.fit.TouchW = Values({0.2, 0.1, -0.1, 0.0});
    r.fit.TargetX = Values({0.1, -0.2, 0.3, 0.0});
    r.fit.TargetY = Values({0.25, 0.1, -0.1, 0.0});
    Matrix design(4, 3);
    for (int i = 0; i < 4; ++i) {
        design[i][0] = 1.0;
        design[i][1] = r.fit.TouchV[i];
        design[i][2] = r.fit.TouchW[i];
    }
    const Vector cx = Values({0.0, 1.0, 0.0}), cy = Values({0.0, 0.0, 1.0});
    EXPECT_EQ(WriteFitReport(L"SvdFitOutputs.txt", cx, r.fit, PolynomialTermNames, 4, 3, cy, design,
                             design, 0.0025, 0.5),
              1);
    const std::string text = r.reports.Read("SvdFitOutputs.txt");
    const char* lines[] = {
        " Current Monitor Resolution is 1920 by 1080\r\n\r\n"
        " Coefficient :            CX(k)            CY(k)\r\n"
        "=============  ================ ================\r\n"
        "           1 :          0.00000          0.00000  \r\n"
        "           v :          1.00000          0.00000  \r\n"
        "           w :          0.00000          1.00000  \r\n"
        "\r\n"
        "Target  Predicted Y    Target Y     Delta Y\r\n"
        "======  =========== =========== ===========\r\n"
        "[    0]      0.2000     0.2500    -0.0500\r\n",
        "\r\nChi-Square for Y =   0.500000\r\n\r\nTarget  Predicted X    Target X     Delta X\r\n",
        "[    3]      0.0000     0.0000     0.0000\r\n\r\nChi-Square for X =   0.002500\r\n\r\n"
        "Rotation = ",
        "\r\n\r\nTarget    TouchPoint (V,W)       Target (X,Y)   Distance Pixel Dist\r\n"
        "======  ================== ================== ========== ==========\r\n"
        "[   0]  ( 0.1000,  0.2000) ( 0.1000,  0.2500)   0.0500  54.0000\r\n",
        "\r\n\r\nTarget     Predicted (X,Y)       Target (X,Y)   Distance Pixel Dist\r\n"};
    for (const char* line : lines) EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(CountOf(text, "Target     Predicted (X,Y)"), 2u);
    EXPECT_EQ(text.substr(text.size() - 10), "0.0000\r\n\r\n");
    char offset[64];
    std::snprintf(offset, sizeof offset, "Offset = (%10.6f,%10.6f)\r\n\r\n", r.fit.OffsetV,
                  r.fit.OffsetW);
    EXPECT_NE(text.find(offset), std::string::npos) << offset;
}

TEST(FitReport, SignRuleOfTheTouchTable) {
    ReportBench r;
    r.fit.TouchV = Values({-0.35, 0.2, 0.1, 0.0});
    r.fit.TouchW = Values({0.0, 0.0, -0.31, 0.0});
    r.fit.TargetX = Values({0.4, 0.5, 0.1, 0.0});
    r.fit.TargetY = Values({0.0, 0.0, 0.1, 0.0});
    Matrix design(4, 3);
    for (int i = 0; i < 4; ++i) design[i][0] = design[i][1] = design[i][2] = 0.0;
    const Vector zero = Values({0.0, 0.0, 0.0});
    WriteFitReport(L"SvdFitOutputs.txt", zero, r.fit, PolynomialTermNames, 4, 3, zero, design,
                   design, 0.0, 0.0);
    const std::string text = r.reports.Read("SvdFitOutputs.txt");
    EXPECT_NE(text.find("[   0]  (-0.3500,  0.0000) (-0.4000,  0.0000)   0.0500  96.0000\r\n"),
              std::string::npos);  // 0.75 apart: x is printed as -x
    EXPECT_NE(text.find("[   1]  ( 0.2000,  0.0000) ( 0.5000,  0.0000)   0.3000 576.0000\r\n"),
              std::string::npos);  // exactly the double nearest 0.3: sign kept
    EXPECT_NE(text.find("[   2]  ( 0.1000, -0.3100) ( 0.1000, -0.1000)   0.2100 226.8000\r\n"),
              std::string::npos);  // y on its own
}

TEST(FitReport, PredictionsUseMatrixAForYAndMatrixBForX) {
    ReportBench r;
    r.fit.TouchV = r.fit.TouchW = r.fit.TargetX = r.fit.TargetY = Values({0.0, 0.0, 0.0, 0.0});
    Matrix a(4, 1), b(4, 1);
    for (int i = 0; i < 4; ++i) {
        a[i][0] = 1.0;
        b[i][0] = 2.0;
    }
    const Vector one = Values({1.0});
    WriteFitReport(L"SvdFitOutputs.txt", one, r.fit, LaplaceTermNames, 4, 1, one, a, b, 0.0, 0.0);
    const std::string text = r.reports.Read("SvdFitOutputs.txt");
    EXPECT_NE(text.find("[    3]      1.0000     0.0000     1.0000\r\n\r\nChi-Square for Y"),
              std::string::npos);
    EXPECT_NE(text.find("[    3]      2.0000     0.0000     2.0000\r\n\r\nChi-Square for X"),
              std::string::npos);
    EXPECT_NE(text.find("      Coef00 :  "), std::string::npos);
    EXPECT_EQ(a[2][0], 2.0);  // matrixB was assigned to matrixA
    EXPECT_NE(text.find("[   0]  ( 2.0000,  1.0000)"), std::string::npos);
}

TEST(FitReport, ReportCountIsLimitedToTheData) {
    ReportBench r;
    r.fit.TouchV = r.fit.TouchW = r.fit.TargetX = r.fit.TargetY = Values({0.0, 0.0, 0.0, 0.0});
    Matrix design(4, 3);
    const Vector zero = Values({0.0, 0.0, 0.0});
    for (int i = 0; i < 4; ++i) design[i][0] = design[i][1] = design[i][2] = 0.0;
    WriteFitReport(L"SvdFitOutputs.txt", zero, r.fit, PolynomialTermNames, 150, 3, zero, design,
                   design, 0.0, 0.0);
    const std::string text = r.reports.Read("SvdFitOutputs.txt");
    EXPECT_EQ(CountOf(text, "[    3]"), 2u);
    EXPECT_EQ(CountOf(text, "[    4]"), 0u);
}

TEST(FitReport, SetsOffsetAndRotation) {
    ReportBench r;
    r.fit.TouchV = r.fit.TouchW = r.fit.TargetX = r.fit.TargetY = Values({0.0, 0.0, 0.0, 0.0});
    Matrix design(4, 1);
    const Vector zero = Values({0.0});
    for (int i = 0; i < 4; ++i) design[i][0] = 0.0;
    r.fit.OffsetV = r.fit.OffsetW = r.fit.RotationDegrees = 99.0;
    WriteFitReport(L"SvdFitOutputs.txt", zero, r.fit, PolynomialTermNames, 4, 1, zero, design,
                   design, 0.0, 0.0);
    double offV, offW;
    ComputeTouchOffset(r.fit, offV, offW);
    EXPECT_EQ(r.fit.OffsetV, offV);
    EXPECT_EQ(r.fit.OffsetW, offW);
    EXPECT_NE(r.fit.RotationDegrees, 99.0);
    EXPECT_EQ(r.fit.ScaledSymmetricV.length, 4u);
    EXPECT_TRUE(r.reports.Exists("symmetrized.txt"));
}

// A fit whose eleven mini targets (points 4 .. 14) are predicted from TouchV, TouchW as given.
struct MiniBench : ReportBench {
    MiniBench(double influence) {
        bench.Config.DistanceOfInfluence = influence;
        fit.TargetX = Vector(15);
        fit.TargetY = Vector(15);
        fit.TouchV = Vector(15);
        fit.TouchW = Vector(15);
        for (uint32_t i = 0; i < 15; ++i) {
            fit.TargetX[i] = fit.TouchV[i] = -0.5 + i / 16.0;
            fit.TargetY[i] = fit.TouchW[i] = 0.25 - i / 32.0;
        }
        fit.TermCount = 3;
        PolynomialDesignMatrix = Matrix(15, 3);
        for (uint32_t i = 0; i < 15; ++i) {
            PolynomialDesignMatrix[i][0] = 1.0;
            PolynomialDesignMatrix[i][1] = fit.TouchV[i];
            PolynomialDesignMatrix[i][2] = fit.TouchW[i];
        }
    }
    // The mini targets are data points 4 .. 14; the coefficients map (v, w) to (v, w).
    int Evaluate() {
        fit.CoeffX = Values({0.0, 1.0, 0.0});
        fit.CoeffY = Values({0.0, 0.0, 1.0});
        return EvaluateMiniTargets(fit, {PolynomialDesignMatrix, fit.TargetX, fit.TargetY, 4});
    }
};

TEST(MiniTargets, ExactPredictionsGiveZeroDeltas) {
    MiniBench m(0.05);
    EXPECT_EQ(m.Evaluate(), 1);
    const std::string text = m.reports.Read("SvdFitOutputs.txt");
    EXPECT_EQ(text.rfind(" MiniTarget [0]:  Delta distance is     0.0000,      0.000 mickeys,     "
                         "0.0000 inches\r\n"
                         " MiniTarget [0]: XY delta pair is (     0.00000 ,      0.00000),(       "
                         "0.000 ,        0.000)in mickeys \r\n"
                         " MiniTarget [0]: XY target pair is (    -0.25000 ,      0.12500),(   "
                         "16384.000 ,    40960.000)in mickeys \r\n",
                         0),
              0u)
        << text;
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(m.fit.MiniTargetDistance[k], 0.0);
        EXPECT_EQ(m.fit.MiniTargetX[k], (m.fit.TargetX[4 + k] + 0.5) * 65536.0);
    }
    // Neighbouring mini targets lie sqrt(5) / 32 apart.
    auto spacing = [](int steps) { return int(steps * std::sqrt(5.0) / 32.0 * 65536.0); };
    char rows[160];
    std::snprintf(rows, sizeof rows, "[ 0] \r\n[ 1] %6d \r\n[ 2] %6d %6d \r\n", spacing(1),
                  spacing(2), spacing(1));
    EXPECT_NE(text.find(std::string("Distance of Influence =   0.050 \r\n"
                                    "      [   0] [   1] [   2] [   3] [   4] [   5] [   6] [   7]"
                                    " [   8] [   9]\r\n") +
                        rows),
              std::string::npos)
        << text;
    EXPECT_EQ(m.fit.MiniTargetSpacing[10][0], spacing(10));
    EXPECT_EQ(m.fit.MiniTargetSpacing[10][9], spacing(1));
}

TEST(MiniTargets, SpacingIsTruncated) {
    MiniBench m(0.05);
    // Mini targets 0 and 1 predicted 1000.9 mickeys apart along X.
    PolynomialDesignMatrix[4][1] = 0.0;
    PolynomialDesignMatrix[4][2] = 0.0;
    PolynomialDesignMatrix[5][1] = 1000.9 / 65536.0;
    PolynomialDesignMatrix[5][2] = 0.0;
    m.Evaluate();
    EXPECT_EQ(m.fit.MiniTargetSpacing[1][0], 1000);
    EXPECT_NE(m.reports.Read("SvdFitOutputs.txt").find("[ 1]   1000 \r\n"), std::string::npos);
    EXPECT_EQ(m.fit.MiniTargetSpacing[0][1], 0);  // only the part under the diagonal
}

TEST(MiniTargets, ZeroDistanceOfInfluenceWritesNoTable) {
    MiniBench m(0.0);
    PolynomialDesignMatrix[6][1] += 0.01;  // mini target 2 predicted 0.01 to the right
    EXPECT_EQ(m.Evaluate(), 0);
    const std::string text = m.reports.Read("SvdFitOutputs.txt");
    const std::string last = "Distance of Influence =   0.000 \r\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    EXPECT_NEAR(m.fit.MiniTargetDeltaX[2], -655.36, 1e-9);
    EXPECT_NEAR(m.fit.MiniTargetDistance[2], 655.36, 1e-9);
    EXPECT_EQ(m.fit.MiniTargetSpacing[2][1], 0);
}

TEST(MiniTargets, MissingRowsAreNotRead) {
    MiniBench m(0.05);
    PolynomialDesignMatrix = Matrix(10, 3);  // fewer rows than grid + 11
    EXPECT_EQ(m.Evaluate(), 0);
    EXPECT_EQ(m.fit.MiniTargetX[0], 0.0);
    EXPECT_FALSE(m.reports.Exists("SvdFitOutputs.txt"));
}

}  // namespace
