// The Laplace fit driver: kinds 3 and 4 end to end, their reports, the refusals and the mini
// targets.
#include "laplace/laplace_fit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <vector>

#include "fit/fit_evaluation.h"
#include "fit/fit_gate.h"
#include "laplace/laplace_model.h"
#include "laplace/virtual_grid.h"
#include "numeric/design_matrices.h"
#include "tests/laplace/laplace_test_support.h"

namespace {

const double kGeneralV[] = {0.011, 0.93, 0.021, 0.035};  // c0 + c1 x + c2 y + c3 (x^2 - y^2)
const double kGeneralW[] = {-0.007, 0.91, -0.018, 0.027};

double GeneralV(double x, double y) {
    const double gx = x, gy = kDefaultAspect * y;
    return kGeneralV[0] + kGeneralV[1] * gx + kGeneralV[2] * gy +
           kGeneralV[3] * (gx * gx - gy * gy);
}

double GeneralW(double x, double y) {
    const double gx = y, gy = x / kDefaultAspect;
    return kGeneralW[0] + kGeneralW[1] * gx + kGeneralW[2] * gy +
           kGeneralW[3] * (gx * gx - gy * gy);
}

void GeneralSensor(double x, double y, double& v, double& w) {
    v = RawCount(GeneralV(x, y));
    w = RawCount(GeneralW(x, y));
}

const double kSymmetricV[] = {0.93, 0.03, -0.006, 0.002};
const double kSymmetricW[] = {0.91, -0.025, 0.004, 0.001};
const double kTheta = 1.5 * kDegree, kOffsetX = 0.02, kOffsetY = -0.01;

void ShiftedTurnedSensor(double x, double y, double& v, double& w) {
    v = RawCount(ModelV(kSymmetricV, 4, x, y, kTheta, kOffsetX, kOffsetY));
    w = RawCount(ModelW(kSymmetricW, 4, x, y, kTheta, kOffsetX, kOffsetY));
}

GridSetup LaplaceGrid(uint32_t kind, uint32_t order = 3) {
    GridSetup s;
    s.Kind = kind;
    s.Order = order;
    return s;
}

std::vector<std::string> ReportLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

std::string Format(const char* format, double a, double b) {
    char line[128];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}

TEST(LaplaceFitKind3, RecoversAnExactGeneralHarmonicSensorAndSynthesisesItsGrid) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(3), GeneralSensor);
    CalibrationFit& fit = *bench.Fit;
    ASSERT_EQ(RunLaplaceFit(fit), 1);
    EXPECT_EQ(fit.LastStatus, FitStatus::Fitted);
    ASSERT_EQ(fit.LaplaceCoeffV.length, 4u);
    for (uint32_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(fit.LaplaceCoeffV[k], kGeneralV[k], 1e-9) << k;
        EXPECT_NEAR(fit.LaplaceCoeffW[k], kGeneralW[k], 1e-9) << k;
    }
    ASSERT_EQ(fit.TouchV.length, 81u);
    ASSERT_EQ(fit.TargetX.length, 81u);
    for (uint32_t m = 0; m < 81; ++m) {
        EXPECT_NEAR(fit.TouchV[m], GeneralV(fit.TargetX[m], fit.TargetY[m]), 1e-9) << m;
        EXPECT_NEAR(fit.TouchW[m], GeneralW(fit.TargetX[m], fit.TargetY[m]), 1e-9) << m;
    }
    // Kind 3: no symmetrisation of the inputs, no search, the general table.
    EXPECT_FALSE(reports.Exists("LSSmin.txt"));
    const std::string p2 = reports.Read("LcoeffsP2.txt");
    EXPECT_EQ(CountOf(p2, "Optimal Xoff"), 0u);
    EXPECT_EQ(CountOf(p2, "\r\nNew General Laplace Targets and Touchpoints\r\n"), 1u);
    EXPECT_EQ(CountOf(p2, "New Symmetric"), 0u);
    EXPECT_LT(p2.find("Computed Laplace Y coefficients"), p2.find("New General Laplace"));
    EXPECT_EQ(CountOf(p2, "\r\n  8   8 "), 1u);  // the last of 81 grid lines
    EXPECT_EQ(LaplaceDesignMatrixX.rows, 81);    // the grid's general basis stays
    const std::string inputs = reports.Read("SvdFitInputs.txt");
    EXPECT_NE(
        inputs.find(Format("%15.5f  %15.5f  \r\n", fit.LaplaceCoeffV[0] * 0 + GeneralV(-0.4, -0.4),
                           GeneralW(-0.4, -0.4))),
        std::string::npos);
}

TEST(LaplaceFit, KeepsTheRankOfItsFinalFitForTheGateAfterReleasingTheWorkingStorage) {
    ReportFolder reports;
    FitBench sound(LaplaceGrid(4));
    ASSERT_EQ(RunLaplaceFit(*sound.Fit), 1);
    EXPECT_EQ(sound.Fit->GridSingularValues.length, 0u);
    EXPECT_EQ(sound.Fit->FinalRank, 10);
    FitBench dead(LaplaceGrid(3), [](double, double, double& v, double& w) { v = w = 2500.0; });
    ASSERT_EQ(RunLaplaceFit(*dead.Fit), 1);
    EXPECT_LT(dead.Fit->FinalRank, 10);
    EXPECT_EQ(JudgeFit(*dead.Fit, FitGateLimitsFor(0, 4095, 0.0, 0.0)).Verdict,
              FitVerdict::RankDeficient);
}

TEST(LaplaceFitKind3, LaysAWideVirtualGridRowByRowAndFitsAllOfIt) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(3), GeneralSensor);
    bench.Config.Nxside = 16;
    bench.Config.Nyside = 9;
    CalibrationFit& fit = *bench.Fit;
    ASSERT_EQ(RunLaplaceFit(fit), 1);
    ASSERT_EQ(fit.TargetX.length, 144u);
    const int32_t m = 2 * 16 + 5;  // row 2, column 5
    EXPECT_NEAR(fit.TargetX[m], -4.0 / 9.0 + 5 * 8.0 / 135.0, 1e-15);
    EXPECT_NEAR(fit.TargetY[m], -15.0 / 32.0 + 2 * 15.0 / 128.0, 1e-15);
    EXPECT_NEAR(fit.TouchV[m], GeneralV(fit.TargetX[m], fit.TargetY[m]), 1e-9);
    char line[80];
    std::snprintf(line, sizeof line, "\r\n  2   5 %8.4f %8.4f %8.4f %8.4f\r\n", fit.TargetX[m],
                  fit.TargetY[m], fit.TouchV[m], fit.TouchW[m]);
    EXPECT_EQ(CountOf(reports.Read("LcoeffsP2.txt"), line), 1u);
    // The final fit sees all 144 grid points, whatever the number of targets touched.
    EXPECT_EQ(PolynomialDesignMatrix.rows, 144);
    EXPECT_EQ(CountOf(reports.Read("Coefficients.txt"), "\r\n  143   "), 1u);
}

TEST(LaplaceFitKind4, FitsTheSymmetricComponentsAndSearchesAgainstTheCollectedTouches) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(4));
    CalibrationFit& fit = *bench.Fit;
    ASSERT_EQ(RunLaplaceFit(fit), 1);
    // "SvdFitInputs.txt" lists the scaled symmetric components under V(n), W(n).
    const std::vector<std::string> lines = ReportLines(reports.Read("SvdFitInputs.txt"));
    ASSERT_GE(lines.size(), 31u);
    ASSERT_EQ(lines[4], "           V(n)             W(n)");
    for (uint32_t i = 0; i < 25; ++i)
        EXPECT_EQ(lines[6 + i],
                  Format("%15.5f  %15.5f  ", fit.ScaledSymmetricV[i], fit.ScaledSymmetricW[i]))
            << i;
    // The search compared the model with the collected, unsymmetrised touches.
    CalibrationFit probe;
    probe.Config = &bench.Config;
    probe.Parameters = &bench.Parameters;
    probe.TargetX = probe.TargetY = probe.TouchV = probe.TouchW = Vector(25);
    for (uint32_t i = 0; i < 25; ++i) {
        probe.TargetX[i] = bench.Config.Targets[i].X - 0.5;
        probe.TargetY[i] = bench.Config.Targets[i].Y - 0.5;
        probe.TouchV[i] = (bench.Config.Touches[i].V - 2047.5) / 4095.0;
        probe.TouchW[i] = (bench.Config.Touches[i].W - 2047.5) / 4095.0;
    }
    const double collected =
        LaplaceSumOfSquares(probe, 25, fit.LaplaceRotation, fit.LaplaceOffsetX, fit.LaplaceOffsetY,
                            fit.LaplaceCoeffV, fit.LaplaceCoeffW);
    EXPECT_NEAR(fit.LaplaceMinSS, collected, 1e-9 * collected);
    for (uint32_t i = 0; i < 25; ++i) {
        probe.TouchV[i] = fit.ScaledSymmetricV[i];
        probe.TouchW[i] = fit.ScaledSymmetricW[i];
    }
    const double symmetric =
        LaplaceSumOfSquares(probe, 25, fit.LaplaceRotation, fit.LaplaceOffsetX, fit.LaplaceOffsetY,
                            fit.LaplaceCoeffV, fit.LaplaceCoeffW);
    EXPECT_GT(std::fabs(symmetric - collected), 10.0 * 1e-9 * collected);
    // The sensor's centre lies 35 and -20 counts off: the search moves the screen against it.
    EXPECT_LT(fit.LaplaceOffsetX, -0.004);
    EXPECT_GT(fit.LaplaceOffsetY, 0.002);
    const std::string p2 = reports.Read("LcoeffsP2.txt");
    EXPECT_EQ(p2.find("Optimal Xoff = "), 0u);
    EXPECT_NE(p2.find("\r\n\r\n\r\nNew Symmetric Laplace Targets and Touchpoints\r\n"),
              std::string::npos);
    EXPECT_TRUE(LaplaceDesignMatrixX.empty());
    EXPECT_TRUE(LaplaceDesignMatrixY.empty());
    EXPECT_TRUE(fit.GridFitU.empty());
    EXPECT_EQ(fit.PredictedV.length, 81u);
}

TEST(LaplaceFitKind4, RecoversAKnownOffsetAndRotationAndMapsTheGridBack) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(4), ShiftedTurnedSensor);
    CalibrationFit& fit = *bench.Fit;
    ASSERT_EQ(RunLaplaceFit(fit), 1);
    EXPECT_NEAR(fit.LaplaceOffsetX, kOffsetX, 2 * 0.002);
    EXPECT_NEAR(fit.LaplaceOffsetY, kOffsetY, 2 * 0.002);
    EXPECT_NEAR(fit.LaplaceRotation, kTheta, 2 * 0.2 * kDegree);
    // The final polynomial maps the collected touches back near their targets.
    const GridResiduals residuals = ComputeGridResiduals(fit);
    ASSERT_EQ(residuals.Points.size(), 25u);
    EXPECT_LT(residuals.MaxPixels, 8.0);
}

TEST(LaplaceFit, TwoRunsAppendTwoCompleteSetsOfReports) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(4));
    CalibrationFit& fit = *bench.Fit;
    ASSERT_EQ(RunLaplaceFit(fit), 1);
    const Vector firstX = fit.CoeffX;
    const std::string p2 = reports.Read("LcoeffsP2.txt");
    ASSERT_EQ(RunLaplaceFit(fit), 1);
    for (uint32_t k = 0; k < firstX.length; ++k) EXPECT_EQ(fit.CoeffX[k], firstX[k]);
    EXPECT_EQ(reports.Read("LcoeffsP2.txt"), p2 + p2);
    const struct {
        const char* File;
        const char* Marker;
        size_t PerRun;
    } sets[] = {
        {"SvdFitInputs.txt", "Scale Factor      = ", 1},
        {"LcoeffsP1.txt", "Computed Laplace X coefficients", 1},
        {"LcoeffsP1.txt", "Computed Laplace Y coefficients", 1},
        {"SvdFitLaplaceOutputs.txt", " Current Monitor Resolution is 1920 by 1080", 1},
        {"LSSmin.txt", "      SS     Xoff     Yoff       TD (Deg)  ", 1},
        {"LcoeffsP2.txt", "Optimal Xoff = ", 1},
        {"Coefficients.txt", "Computed X coefficients", 1},
        {"SvdFitOutputsFinal.txt", " Current Monitor Resolution is 1920 by 1080", 1},
        {"symmetrized.txt", "ADC High Reference", 3},
    };
    for (const auto& set : sets)
        EXPECT_EQ(CountOf(reports.Read(set.File), set.Marker), 2 * set.PerRun) << set.File;
    const std::string search = reports.Read("LSSmin.txt");
    EXPECT_EQ(search.substr(search.size() / 2), search.substr(0, search.size() / 2));
}

TEST(LaplaceFit, RefusesAVirtualGridSideBelowTwoWithATrace) {
    for (auto [nx, ny] : {std::pair{1, 9}, {9, 1}, {0, 9}, {9, -2}}) {
        ReportFolder reports;
        FitBench bench(LaplaceGrid(4));
        CalibrationFit& fit = *bench.Fit;
        ASSERT_EQ(RunLaplaceFit(fit), 1);
        const Vector coeffX = fit.CoeffX;
        bench.Config.Nxside = nx;
        bench.Config.Nyside = ny;
        TraceCapture traces;
        EXPECT_EQ(RunLaplaceFit(fit), 0);
        const std::string trace = traces.Take();
        EXPECT_EQ(fit.LastStatus, FitStatus::BadInput);
        if (TraceCapture::kAvailable) {
            EXPECT_NE(trace.find("Laplace fit refused: the virtual grid Nxside " +
                                 std::to_string(nx) + " x Nyside " + std::to_string(ny)),
                      std::string::npos)
                << trace;
        }
        ASSERT_EQ(fit.CoeffX.length, coeffX.length);
        for (uint32_t k = 0; k < coeffX.length; ++k) EXPECT_EQ(fit.CoeffX[k], coeffX[k]);
        for (uint32_t m = 0; m < fit.TargetX.length; ++m)
            EXPECT_TRUE(std::isfinite(fit.TargetX[m]));
        EXPECT_EQ(CountOf(reports.Read("SvdFitInputs.txt"), "Scale Factor"), 1u);
    }
}

TEST(LaplaceFit, RefusesNonFiniteTouchesAndBadRecords) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(3));
    CalibrationFit& fit = *bench.Fit;
    bench.Config.Touches[7].W = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RunLaplaceFit(fit), 0);
    EXPECT_EQ(fit.LastStatus, FitStatus::NonFiniteTouch);
    bench.Config.Touches[7].W = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(RunLaplaceFit(fit), 0);
    EXPECT_EQ(fit.LastStatus, FitStatus::NonFiniteTouch);
    EXPECT_FALSE(reports.Exists("SvdFitInputs.txt"));
    bench.Config.Touches[7].W = 2000.0;
    fit.ModelKind = 1;
    EXPECT_EQ(RunLaplaceFit(fit), 0);
    EXPECT_EQ(fit.LastStatus, FitStatus::BadInput);
    fit.ModelKind = 3;
    bench.Config.Nxside = bench.Config.Nyside = 3;  // 9 grid points for 10 terms
    EXPECT_EQ(RunLaplaceFit(fit), 0);
    EXPECT_EQ(fit.LastStatus, FitStatus::BadInput);
    bench.Config.Nxside = bench.Config.Nyside = 9;
    bench.Config.RangeY = 0.0;  // every target at an infinite Y
    EXPECT_EQ(RunLaplaceFit(fit), 0);
    EXPECT_EQ(fit.LastStatus, FitStatus::BadInput);
    bench.Config.RangeY = 1.0;
    EXPECT_EQ(RunLaplaceFit(fit), 1);
    CalibrationFit unlinked;
    unlinked.ModelKind = 4;
    EXPECT_EQ(RunLaplaceFit(unlinked), 0);
    EXPECT_EQ(unlinked.LastStatus, FitStatus::BadInput);
}

// Values that overflow the terms would keep the decomposition from converging and end the
// process: the fit refuses them first.
TEST(LaplaceFit, RefusesDataWhoseTermsOverflowInsteadOfEndingTheProcess) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(4));
    CalibrationFit& fit = *bench.Fit;
    bench.Config.Touches[3].V = 1e300;  // finite, but its grid's cube is not
    EXPECT_EQ(RunLaplaceFit(fit), 0);
    EXPECT_EQ(fit.LastStatus, FitStatus::NonFiniteResult);
    bench.Config.Touches[3].V = 2000.0;
    bench.Config.Targets[2].X = 1e60;  // its seventh power overflows the Laplace terms
    EXPECT_EQ(RunLaplaceFit(fit), 0);
    EXPECT_EQ(fit.LastStatus, FitStatus::NonFiniteResult);
    bench.Config.Targets[2].X = 0.5;
    EXPECT_EQ(RunLaplaceFit(fit), 1);
}

TEST(LaplaceFit, TheFinalReportListsAtMostTheGridPoints) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(3, 1));
    bench.Config.Nxside = bench.Config.Nyside = 2;
    ASSERT_EQ(RunLaplaceFit(*bench.Fit), 1);
    const std::string final = reports.Read("SvdFitOutputsFinal.txt");
    EXPECT_EQ(CountOf(final, "[    3]"), 2u);  // Y and X prediction tables
    EXPECT_EQ(CountOf(final, "[    4]"), 0u);
    EXPECT_EQ(CountOf(final, "[   3]"), 3u);  // touch table and the predicted table twice
    EXPECT_EQ(CountOf(final, "[   4]"), 0u);
}

// After a Laplace fit each mini target is its own touch predicted by the final polynomial and
// compared with its own position, also when the virtual grid is too small to hold them.
TEST(LaplaceFit, MiniTargetsArePredictedFromTheirOwnTouchesAndPositions) {
    for (int32_t side : {3, 9}) {
        ReportFolder reports;
        GridSetup setup = LaplaceGrid(4, 1);
        setup.MiniTargetRadius = 0.05;
        FitBench bench(setup);
        bench.Config.Nxside = bench.Config.Nyside = side;
        CalibrationFit& fit = *bench.Fit;
        ASSERT_EQ(RunLaplaceFit(fit), 1);
        EXPECT_EQ(fit.TargetX.length, uint32_t(side * side));
        for (int k = 0; k < 11; ++k) {
            const TouchEntry& touch = bench.Config.Touches[25 + k];
            const TargetPoint& target = bench.Config.Targets[25 + k];
            double px, py;
            ASSERT_TRUE(PredictNormalisedPosition(fit, touch.V, touch.W, px, py));
            EXPECT_NEAR(fit.MiniTargetX[k], target.X * 65536.0, 1e-6) << k;
            EXPECT_NEAR(fit.MiniTargetY[k], target.Y * 65536.0, 1e-6) << k;
            EXPECT_NEAR(fit.MiniTargetDeltaX[k], (target.X - 0.5 - px) * 65536.0, 1e-6) << k;
            EXPECT_NEAR(fit.MiniTargetDeltaY[k], (target.Y - 0.5 - py) * 65536.0, 1e-6) << k;
            EXPECT_NEAR(fit.MiniTargetDistance[k],
                        std::hypot(fit.MiniTargetDeltaX[k], fit.MiniTargetDeltaY[k]), 1e-6);
        }
        EXPECT_GT(fit.MiniTargetSpacing[10][0], 0);
        const std::string outputs = reports.Read("SvdFitOutputs.txt");
        EXPECT_EQ(CountOf(outputs, "Delta distance is"), 11u);
        EXPECT_EQ(CountOf(outputs, "Distance of Influence =   0.050 "), 1u);
    }
}

TEST(LaplaceFit, RunsOnWhenNoReportCanBeOpened) {
    ReportFolder reports;
    FitBench bench(LaplaceGrid(4));
    ASSERT_EQ(RunLaplaceFit(*bench.Fit), 1);
    const Vector coeffX = bench.Fit->CoeffX, coeffY = bench.Fit->CoeffY;
    const std::filesystem::path blocker = reports.Path() / "not-a-folder";
    std::ofstream(blocker) << "x";
    SetReportFolderOverride((blocker / "reports").wstring().c_str());
    FitBench again(LaplaceGrid(4));
    ASSERT_EQ(RunLaplaceFit(*again.Fit), 1);
    for (uint32_t k = 0; k < coeffX.length; ++k) {
        EXPECT_EQ(again.Fit->CoeffX[k], coeffX[k]);
        EXPECT_EQ(again.Fit->CoeffY[k], coeffY[k]);
    }
    EXPECT_EQ(again.Fit->LastStatus, FitStatus::Fitted);
}

}  // namespace
