// The polynomial fit of a pass: normalisation, the fits, refusals and the round trip.
#include "fit/polynomial_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fit/calibration_record.h"
#include "fit/fit_evaluation.h"
#include "numeric/design_matrices.h"
#include "tests/fit/fit_test_support.h"

namespace {

GridSetup Grid(uint32_t rows, uint32_t columns, uint32_t order, double miniRadius = 0.0) {
    GridSetup setup;
    setup.Rows = rows;
    setup.Columns = columns;
    setup.Order = order;
    setup.MiniTargetRadius = miniRadius;
    return setup;
}

TEST(PolynomialFit, RoundTripOfASmoothSensorWithinHalfAPixel) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    EXPECT_EQ(bench.Fit->LastStatus, FitStatus::Fitted);
    const GridResiduals residuals = ComputeGridResiduals(*bench.Fit);
    ASSERT_EQ(residuals.Points.size(), 25u);
    EXPECT_LT(residuals.MaxPixels, 0.5);
    // The bow is real: an affine fit of the same touches misses by many pixels.
    FitBench affine(Grid(5, 5, 1));
    ASSERT_EQ(RunPolynomialPass(*affine.Fit), 1);
    EXPECT_GT(ComputeGridResiduals(*affine.Fit).MaxPixels, 5.0);
}

TEST(PolynomialFit, IdealSensorGivesTheIdentity) {
    ReportFolder reports;
    FitBench bench(Grid(4, 6, 2), IdealSensor);
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const CalibrationFit& fit = *bench.Fit;
    ASSERT_EQ(fit.TermCount, 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_NEAR(fit.CoeffX[k], k == 1 ? 1.0 : 0.0, 1e-12) << k;
        EXPECT_NEAR(fit.CoeffY[k], k == 2 ? 1.0 : 0.0, 1e-12) << k;
    }
    EXPECT_NEAR(fit.OffsetV, 0.0, 1e-9);
    EXPECT_NEAR(fit.RotationDegrees, 0.0, 1e-9);
}

TEST(PolynomialFit, NormalisationOfTheCentre) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3));
    bench.Config.Touches[12].V = bench.Config.Touches[12].W = 2047.5;
    ASSERT_EQ(PreparePolynomialFit(*bench.Fit), 1);
    EXPECT_EQ(bench.Fit->TargetX[12], 0.0);
    EXPECT_EQ(bench.Fit->TargetY[12], 0.0);
    EXPECT_EQ(bench.Fit->TouchV[12], 0.0);
    EXPECT_EQ(bench.Fit->TouchW[12], 0.0);
    EXPECT_EQ(bench.Fit->ControllerOffset, 2047.5);
    EXPECT_DOUBLE_EQ(bench.Fit->ScaleFactor, 1.0 / 4095.0);
    EXPECT_DOUBLE_EQ(bench.Fit->TargetX[0], -0.4);
}

TEST(PolynomialFit, DefaultGridReportCounts) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    EXPECT_EQ(bench.Fit->FitU.rows, 25);
    EXPECT_EQ(PolynomialDesignMatrix.rows, 25);
    const std::string outputs = reports.Read("SvdFitOutputs.txt");
    EXPECT_EQ(outputs.rfind(" Current Monitor Resolution is 1920 by 1080\r\n\r\n", 0), 0u);
    EXPECT_EQ(CountOf(outputs, "  \r\n"), 10u);  // the coefficient lines end in two blanks
    EXPECT_EQ(CountOf(outputs, "\r\n[   24]  "), 2u);
    EXPECT_EQ(CountOf(outputs, "\r\n[   25]  "), 0u);
    EXPECT_EQ(CountOf(outputs, "\r\n[  24]  ("), 3u);
    EXPECT_EQ(CountOf(outputs, "MiniTarget"), 0u);
    const std::string inputs = reports.Read("SvdFitInputs.txt");
    EXPECT_EQ(CountOf(inputs, "  \r\n"), 50u);
    EXPECT_TRUE(reports.Exists("Coefficients.txt"));
    EXPECT_TRUE(reports.Exists("symmetrized.txt"));
}

TEST(PolynomialFit, MiniTargetsAreReportedButNotFitted) {
    ReportFolder plainReports;
    FitBench plain(Grid(5, 5, 3));
    ASSERT_EQ(RunPolynomialPass(*plain.Fit), 1);
    ReportFolder reports;
    FitBench mini(Grid(5, 5, 3, 0.05));
    // Mini-target touches far off the sensor model must not move the fit.
    for (int k = 0; k < 11; ++k) mini.Config.Touches[25 + k].V += 300.0;
    ASSERT_EQ(RunPolynomialPass(*mini.Fit), 1);
    for (int k = 0; k < 10; ++k) EXPECT_DOUBLE_EQ(mini.Fit->CoeffX[k], plain.Fit->CoeffX[k]) << k;
    EXPECT_EQ(mini.Fit->Weights.length, 25u);
    EXPECT_EQ(PolynomialDesignMatrix.rows, 36);
    const std::string outputs = reports.Read("SvdFitOutputs.txt");
    EXPECT_EQ(CountOf(outputs, "\r\n[   35]  "), 2u);
    EXPECT_EQ(CountOf(outputs, "\r\n[  35]  ("), 3u);
    EXPECT_EQ(CountOf(outputs, "Delta distance is"), 11u);
    EXPECT_NE(outputs.find("Distance of Influence =   0.050 \r\n"), std::string::npos);
    EXPECT_NE(outputs.find("[10] "), std::string::npos);
    EXPECT_EQ(CountOf(reports.Read("SvdFitInputs.txt"), "  \r\n"), 72u);
    // 300 counts of V at a scale of 1/4095 are about 0.073 of the screen, about 4800 mickeys.
    FitBench unshifted(Grid(5, 5, 3, 0.05));
    ASSERT_EQ(RunPolynomialPass(*unshifted.Fit), 1);
    EXPECT_GT(std::fabs(mini.Fit->MiniTargetDeltaX[0] - unshifted.Fit->MiniTargetDeltaX[0]),
              4000.0);
    EXPECT_EQ(mini.Fit->MiniTargetX[0], unshifted.Fit->MiniTargetX[0]);
}

TEST(PolynomialFit, MoreThanEightyNineGridPointsWithMiniTargets) {
    ReportFolder reports;
    FitBench bench(Grid(10, 10, 3, 0.02));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const std::string outputs = reports.Read("SvdFitOutputs.txt");
    EXPECT_EQ(CountOf(outputs, "\r\n[  110]  "), 2u);
    EXPECT_EQ(CountOf(outputs, "\r\n[ 110]  ("), 3u);
    EXPECT_LT(ComputeGridResiduals(*bench.Fit).MaxPixels, 0.5);
}

TEST(PolynomialFit, TwoRunsAppendTwoCompleteBlocks) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3, 0.05));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const std::string first = reports.Read("SvdFitOutputs.txt");
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    EXPECT_EQ(reports.Read("SvdFitOutputs.txt"), first + first);
    EXPECT_EQ(CountOf(reports.Read("SvdFitInputs.txt"), "Scale Factor"), 2u);
    EXPECT_EQ(CountOf(reports.Read("Coefficients.txt"), "Computed X coefficients"), 2u);
    EXPECT_EQ(CountOf(reports.Read("symmetrized.txt"), "Rotation ="), 2u);
}

TEST(PolynomialFit, UnopenableReportsChangeNothing) {
    ReportFolder reports;
    FitBench reference(Grid(5, 5, 4, 0.05));
    ASSERT_EQ(RunPolynomialPass(*reference.Fit), 1);
    const auto blocked = reports.Path() / "blocked";
    std::ofstream(blocked) << "a file where the folder should be";
    SetReportFolderOverride(blocked.wstring().c_str());
    FitBench bench(Grid(5, 5, 4, 0.05));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    for (int k = 0; k < 15; ++k) EXPECT_EQ(bench.Fit->CoeffX[k], reference.Fit->CoeffX[k]) << k;
    EXPECT_EQ(bench.Fit->RotationDegrees, reference.Fit->RotationDegrees);
    EXPECT_EQ(bench.Fit->MiniTargetSpacing[10][3], reference.Fit->MiniTargetSpacing[10][3]);
    EXPECT_NE(bench.Fit->MiniTargetSpacing[10][3], 0);
}

TEST(PolynomialFit, NonFiniteTouchIsRefusedAndKeepsTheResults) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const Vector goodX = bench.Fit->CoeffX;
    const std::string before = reports.Read("SvdFitOutputs.txt");
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        bench.Config.Touches[7].W = bad;
        EXPECT_EQ(RunPolynomialPass(*bench.Fit), 0);
        EXPECT_EQ(bench.Fit->LastStatus, FitStatus::NonFiniteTouch);
        for (int k = 0; k < 10; ++k) EXPECT_EQ(bench.Fit->CoeffX[k], goodX[k]);
        CalibrationDataRecord record;
        EXPECT_FALSE(PackCalibrationRecord(RecordArea{}, 0, kPlainControllerType,
                                           VirtualScreenMetrics{}, bench.Fit.get(), record));
    }
    EXPECT_EQ(reports.Read("SvdFitOutputs.txt"), before);  // nothing reported for a refusal
    bench.Config.Touches[7].W = 2000.0;
    EXPECT_EQ(RunPolynomialPass(*bench.Fit), 1);  // Retry with good touches fits again
}

TEST(PolynomialFit, NonFiniteMiniTargetTouchIsRefused) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3, 0.05));
    bench.Config.Touches[30].V = -std::numeric_limits<double>::infinity();
    EXPECT_EQ(PreparePolynomialFit(*bench.Fit), 0);
    EXPECT_EQ(bench.Fit->LastStatus, FitStatus::NonFiniteTouch);
}

TEST(PolynomialFit, NonFiniteNormalisationIsRefusedBeforeTheDecomposition) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const Vector goodY = bench.Fit->CoeffY;
    bench.Config.Touches[3].V = 1e300;  // finite, but its normalised powers overflow
    EXPECT_EQ(RunPolynomialPass(*bench.Fit), 0);
    EXPECT_EQ(bench.Fit->LastStatus, FitStatus::NonFiniteResult);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(bench.Fit->CoeffY[k], goodY[k]) << k;
}

TEST(PolynomialFit, InconsistentInputIsRefused) {
    ReportFolder reports;
    CalibrationFit unlinked;
    EXPECT_EQ(PreparePolynomialFit(unlinked), 0);
    EXPECT_EQ(unlinked.LastStatus, FitStatus::BadInput);
    FitBench bench(Grid(3, 3, 3));  // 9 points for 10 terms
    EXPECT_EQ(PreparePolynomialFit(*bench.Fit), 0);
    FitBench shortArrays(Grid(5, 5, 3));
    shortArrays.Config.Touches.resize(24);
    EXPECT_EQ(PreparePolynomialFit(*shortArrays.Fit), 0);
    FitBench unprepared(Grid(5, 5, 3));
    EXPECT_EQ(RunPolynomialFit(*unprepared.Fit), 0);
    EXPECT_EQ(unprepared.Fit->LastStatus, FitStatus::BadInput);
}

TEST(PolynomialFit, TouchOffsetIsTheMeanRawTouchMinusTheControllerOffset) {
    FitBench bench(Grid(5, 5, 3));
    double sumV = 0.0, sumW = 0.0;
    for (int i = 0; i < 25; ++i) {
        sumV += bench.Config.Touches[i].V;
        sumW += bench.Config.Touches[i].W;
    }
    double offV = 0.0, offW = 0.0;
    EXPECT_EQ(ComputeTouchOffset(*bench.Fit, offV, offW), 1);
    EXPECT_DOUBLE_EQ(offV, sumV / 25.0 - 2047.5);
    EXPECT_DOUBLE_EQ(offW, sumW / 25.0 - 2047.5);
}

TEST(PolynomialFit, GridPreparationSizesTheFinalFit) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 2));
    bench.Fit->TouchV = Vector(81);
    bench.Fit->TouchW = Vector(81);
    for (uint32_t m = 0; m < 81; ++m) bench.Fit->TouchV[m] = bench.Fit->TouchW[m] = 0.01 * m;
    EXPECT_EQ(PrepareGridPolynomialFit(*bench.Fit, 81), 1);
    EXPECT_EQ(bench.Fit->GridWeights.length, 81u);
    EXPECT_EQ(bench.Fit->GridWeights[80], 1.0);
    EXPECT_EQ(bench.Fit->GridFitU.rows, 81);
    EXPECT_EQ(bench.Fit->GridFitV.cols, 6);
    EXPECT_EQ(bench.Fit->GridSingularValues.length, 6u);
    EXPECT_EQ(bench.Fit->CoeffY[5], 0.0);
    EXPECT_EQ(PolynomialDesignMatrix.rows, 81);
    EXPECT_DOUBLE_EQ(PolynomialDesignMatrix[80][4], 0.8 * 0.8);
}

TEST(CalibrationFitRecord, CreationAndLinking) {
    auto fit = CreateCalibrationFit(5, 2, 30);
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->TermCount, 21);
    EXPECT_EQ(fit->PointCount, 30);
    EXPECT_EQ(fit->ModelKind, 2u);
    EXPECT_TRUE(fit->CoeffX.empty());
    EXPECT_TRUE(fit->FitU.empty());
    CalibrationConfig config;
    ControllerParameters parameters;
    EXPECT_TRUE(LinkCalibrationFit(*fit, config, parameters));
    EXPECT_EQ(PolynomialTermCount, 21);
    EXPECT_EQ(fit->Config, &config);
    auto odd = CreateCalibrationFit(9, 1, 25);
    EXPECT_EQ(odd->TermCount, 0);
    EXPECT_FALSE(LinkCalibrationFit(*odd, config, parameters));
    EXPECT_EQ(PolynomialTermCount, 3);
    EXPECT_EQ(odd->Config, nullptr);
    const int32_t expected[] = {3, 6, 10, 15, 21, 28, 36};
    for (uint32_t order = 1; order <= 7; ++order)
        EXPECT_EQ(TermCountForOrder(order), expected[order - 1]);
    EXPECT_EQ(TermCountForOrder(0), 0);
    // Start-up refuses a grid with fewer points than terms; an unknown order needs 3.
    EXPECT_EQ(MinimumGridPoints(1), 3);
    EXPECT_EQ(MinimumGridPoints(2), 6);
    EXPECT_EQ(MinimumGridPoints(3), 10);
    EXPECT_EQ(MinimumGridPoints(7), 36);
    EXPECT_EQ(MinimumGridPoints(0), 3);
    EXPECT_EQ(MinimumGridPoints(8), 3);
}

}  // namespace
