// The quality gate of a pass: each refusal on its edge, the residual bound taken exactly, and a
// sound fit passing with the figures the window shows.
#include "fit/fit_gate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fit/fit_evaluation.h"
#include "fit/polynomial_fit.h"
#include "tests/fit/fit_test_support.h"

namespace {

GridSetup Grid5x5() { return GridSetup{}; }

FitGateLimits Limits(double maxResidual) {
    return FitGateLimitsFor(0, 4095, maxResidual, kDefaultMaxTouchScatterMm);
}

// Every touch at the same raw point, as a dead sensor delivers them.
void DeadSensor(double, double, double& v, double& w) {
    v = 1200.0;
    w = 2900.0;
}

}  // namespace

TEST(FitGate, ASoundFitPassesWithTheResidualOfItsGridTargets) {
    ReportFolder reports;
    FitBench bench(Grid5x5());
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const FitJudgement j = JudgeFit(*bench.Fit, Limits(kDefaultMaxFitResidual));
    EXPECT_EQ(j.Verdict, FitVerdict::Sound);
    EXPECT_EQ(j.Rank, 10);
    EXPECT_DOUBLE_EQ(j.BoundPixels, 0.0);  // no residual bound unless one is set
    EXPECT_DOUBLE_EQ(j.BoundScatterMm, 3.0);
    const GridResiduals residuals = ComputeGridResiduals(*bench.Fit);
    EXPECT_DOUBLE_EQ(j.RmsPixels, residuals.RmsPixels);
    EXPECT_DOUBLE_EQ(j.MaxPixels, residuals.MaxPixels);
    EXPECT_GT(j.RmsPixels, 0.0);
    EXPECT_LT(j.MaxPixels, 0.5);
}

TEST(FitGate, TheResidualBoundIsInclusiveAndZeroTurnsItOff) {
    ReportFolder reports;
    FitBench bench(Grid5x5(), [](double x, double y, double& v, double& w) {
        BowedSensor(x, y, v, w);
        v += 24.0 * std::sin(9.0 * x * y);  // a ripple no cubic follows: some pixels of residual
    });
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const double rms = JudgeFit(*bench.Fit, Limits(0.0)).RmsPixels;
    ASSERT_GT(rms, 0.5);
    EXPECT_EQ(JudgeFit(*bench.Fit, Limits(rms)).Verdict, FitVerdict::Sound);
    EXPECT_EQ(JudgeFit(*bench.Fit, Limits(std::nextafter(rms, 0.0))).Verdict,
              FitVerdict::ResidualTooLarge);
    EXPECT_EQ(JudgeFit(*bench.Fit, Limits(0.0)).Verdict, FitVerdict::Sound);
    EXPECT_DOUBLE_EQ(FitGateLimitsFor(0, 4095, 2.5, 3.0).MaxResidualPixels, 2.5);
}

TEST(FitGate, ADeadSensorGivesARankDeficientFit) {
    ReportFolder reports;
    FitBench bench(Grid5x5(), DeadSensor);
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);  // the numeric core fits it, as it always did
    const FitJudgement j = JudgeFit(*bench.Fit, Limits(0.0));
    EXPECT_EQ(j.Verdict, FitVerdict::RankDeficient);
    EXPECT_EQ(j.Rank, 1);
}

TEST(FitGate, ATouchOutsideTheControllerRangeIsRefusedTheRangeEndsAreNot) {
    ReportFolder reports;
    FitBench bench(Grid5x5());
    bench.Config.Touches[7].V = 4095.0;
    bench.Config.Touches[8].W = 0.0;
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    EXPECT_NE(JudgeFit(*bench.Fit, Limits(0.0)).Verdict, FitVerdict::TouchOutOfRange);
    bench.Config.Touches[7].V = 4095.5;
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    EXPECT_EQ(JudgeFit(*bench.Fit, Limits(0.0)).Verdict, FitVerdict::TouchOutOfRange);
    // A narrower configured range, given the other way round, still holds the touches: two touches
    // at the range ends, far from their targets, fold the mapping over part of the screen, and the
    // pass is refused for that, not for the range.
    EXPECT_EQ(JudgeFit(*bench.Fit, FitGateLimitsFor(4096, -1, 0.0, 0.0)).Verdict,
              FitVerdict::ExpectedErrorTooLarge);
}

TEST(FitGate, EnabledMiniTargetsCountAsStoredTouches) {
    ReportFolder reports;
    GridSetup setup = Grid5x5();
    setup.MiniTargetRadius = 0.02;
    FitBench bench(setup);
    bench.Config.Touches[25 + 3].W = -1.0;
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    EXPECT_EQ(JudgeFit(*bench.Fit, Limits(0.0)).Verdict, FitVerdict::TouchOutOfRange);
    bench.Config.MiniTargetEnabled[3] = false;
    EXPECT_NE(JudgeFit(*bench.Fit, Limits(0.0)).Verdict, FitVerdict::TouchOutOfRange);
}

TEST(FitGate, ARecordFieldThatIsNotAFinite32BitNumberIsRefused) {
    ReportFolder reports;
    FitBench bench(Grid5x5());
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    CalibrationFit& fit = *bench.Fit;
    const double rotation = fit.RotationDegrees;
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), 131072.0, -131072.1}) {
        fit.RotationDegrees = bad;
        EXPECT_EQ(JudgeFit(fit, Limits(0.0)).Verdict, FitVerdict::RecordOverflow) << bad;
    }
    fit.RotationDegrees = 131071.9;  // 2147482009.6 after scaling: still a field
    EXPECT_EQ(JudgeFit(fit, Limits(0.0)).Verdict, FitVerdict::Sound);
    fit.RotationDegrees = rotation;
    fit.MiniTargetDeltaX[10] = 3e9;
    EXPECT_EQ(JudgeFit(fit, Limits(0.0)).Verdict, FitVerdict::RecordOverflow);
    fit.MiniTargetDeltaX[10] = 0.0;
    bench.Config.InfluenceRadius[0] = 40000.0;  // x 65536 leaves the field
    EXPECT_EQ(JudgeFit(fit, Limits(0.0)).Verdict, FitVerdict::RecordOverflow);
}

TEST(FitGate, AFitThatDidNotRunOrRefusedIsNeverSound) {
    ReportFolder reports;
    FitBench bench(Grid5x5());
    EXPECT_EQ(JudgeFit(*bench.Fit, Limits(0.0)).Verdict, FitVerdict::FitFailed);
    bench.Config.Touches[3].V = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RunPolynomialPass(*bench.Fit), 0);
    EXPECT_EQ(JudgeFit(*bench.Fit, Limits(0.0)).Verdict, FitVerdict::FitFailed);
    EXPECT_STREQ(FitVerdictName(FitVerdict::RankDeficient), "rank-deficient");
}

TEST(FitGate, TheScatterBoundRefusesAHurriedPassAndTheFiguresAreInMillimetres) {
    ReportFolder reports;
    FitBench bench(Grid5x5());
    bench.Parameters.ScreenWidth = 344.2;  // 0.179 mm a pixel on 1920 x 1080
    bench.Parameters.ScreenHeight = 193.6;
    uint32_t seed = 7;
    for (uint32_t i = 0; i < 25; ++i) {  // about 46 counts of scatter: some 4 mm on the glass
        seed = seed * 1103515245u + 12345u;
        bench.Config.Touches[i].V += double(int(seed >> 16) % 161 - 80);
        seed = seed * 1103515245u + 12345u;
        bench.Config.Touches[i].W += double(int(seed >> 16) % 161 - 80);
    }
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const FitJudgement j = JudgeFit(*bench.Fit, Limits(0.0));
    EXPECT_GT(j.ScatterMm, 3.0);
    EXPECT_GT(j.ExpectedWorstMm, j.ExpectedRmsMm);
    EXPECT_EQ(j.Verdict, FitVerdict::ScatterTooLarge);
    // Let through the scatter bound, such a pass is still refused: the calibration it gives is
    // expected to miss by more than 5 mm somewhere.
    const FitJudgement loose = JudgeFit(*bench.Fit, FitGateLimitsFor(0, 4095, 0.0, j.ScatterMm));
    EXPECT_EQ(loose.Verdict, FitVerdict::ExpectedErrorTooLarge);
    EXPECT_GT(loose.ExpectedWorstMm, kMostExpectedWorstMm);
    EXPECT_EQ(JudgeFit(*bench.Fit, FitGateLimitsFor(0, 4095, 0.0, 0.0)).Verdict,
              FitVerdict::ExpectedErrorTooLarge);
}
