// The fit of a finished pass: the model kind chooses the fit, the area sets the monitor size, and
// a refusal is reported so the pass commits nothing.
#include "app/pass_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "fit/expected_error.h"
#include "tests/fit/fit_test_support.h"

namespace {

GridSetup KindSetup(uint32_t kind) {
    GridSetup setup;
    setup.Kind = kind;
    return setup;
}

TEST(PassFit, PolynomialKindFitsWithTheAreaAsMonitor) {
    ReportFolder reports;
    FitBench bench(KindSetup(1));
    EXPECT_TRUE(RunPassFit(*bench.Fit, 1280, 1024));
    EXPECT_EQ(1280, bench.Fit->MonitorWidth);
    EXPECT_EQ(1024, bench.Fit->MonitorHeight);
    EXPECT_EQ(FitStatus::Fitted, bench.Fit->LastStatus);
    EXPECT_EQ(uint32_t(bench.Fit->TermCount), bench.Fit->CoeffX.length);
    EXPECT_TRUE(bench.Fit->LaplaceCoeffV.empty());  // the Laplace fit did not run
    EXPECT_TRUE(reports.Exists("SvdFitOutputs.txt"));
    EXPECT_FALSE(reports.Exists("SvdFitLaplaceOutputs.txt"));
}

TEST(PassFit, LaplaceKindsRunTheLaplaceFit) {
    for (uint32_t kind : {3u, 4u}) {
        ReportFolder reports;
        FitBench bench(KindSetup(kind));
        EXPECT_TRUE(RunPassFit(*bench.Fit, 1920, 1080)) << "kind " << kind;
        EXPECT_FALSE(bench.Fit->LaplaceCoeffV.empty()) << "kind " << kind;
        EXPECT_TRUE(reports.Exists("SvdFitLaplaceOutputs.txt")) << "kind " << kind;
        // The polynomial coefficients the driver gets map the centre near the centre.
        EXPECT_NEAR(0.0, bench.Fit->CoeffX[0], 0.05) << "kind " << kind;
    }
}

TEST(PassFit, NonFiniteTouchIsRefused) {
    ReportFolder reports;
    FitBench bench(KindSetup(1));
    bench.Config.Touches[7].V = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(RunPassFit(*bench.Fit, 1920, 1080));
    EXPECT_EQ(FitStatus::NonFiniteTouch, bench.Fit->LastStatus);
}

TEST(PassFit, RefusedLaplaceGridIsRefused) {
    ReportFolder reports;
    FitBench bench(KindSetup(3));
    bench.Config.Nxside = 1;  // a virtual grid needs at least 2 x 2 points
    bench.Config.Nyside = 1;
    EXPECT_FALSE(RunPassFit(*bench.Fit, 1920, 1080));
    EXPECT_NE(FitStatus::Fitted, bench.Fit->LastStatus);
}

// A pass of about half a millimetre of touch scatter on a 15.6-inch 1920 x 1080 panel.
void ScatterTouches(FitBench& bench) {
    bench.Parameters.ScreenWidth = 344.2;
    bench.Parameters.ScreenHeight = 193.6;
    uint32_t seed = 11;
    for (uint32_t i = 0; i < bench.Config.NumGridPoints; ++i) {
        seed = seed * 1103515245u + 12345u;
        bench.Config.Touches[i].V += double(int(seed >> 16) % 21 - 10);
        seed = seed * 1103515245u + 12345u;
        bench.Config.Touches[i].W += double(int(seed >> 16) % 21 - 10);
    }
}

TEST(PassFit, OnlyASoundPolynomialPassGetsItsWorstExpectedErrorInsideAndAtTheEdges) {
    ReportFolder reports;
    FitBench bench(KindSetup(1));
    ScatterTouches(bench);
    ASSERT_TRUE(RunPassFit(*bench.Fit, 1920, 1080));
    const FitJudgement sound = JudgePass(*bench.Fit);
    ASSERT_EQ(sound.Verdict, FitVerdict::Sound);
    // The figures of the map tarnix-fit prints for the same touches and glass.
    const ExpectedErrorMap map =
        ExpectedErrorOfPass(*bench.Fit, GlassScaleFor(344.2, 193.6, 1920, 1080));
    EXPECT_EQ(sound.ExpectedWorstInsideMm, map.WorstInsideMm);
    EXPECT_EQ(sound.ExpectedWorstEdgeMm, map.WorstEdgeMm);
    EXPECT_GT(sound.ExpectedWorstInsideMm, map.ScatterMm);
    EXPECT_GT(sound.ExpectedWorstEdgeMm, sound.ExpectedWorstInsideMm);

    bench.Config.MaxTouchScatter = sound.ScatterMm / 2;  // refused: nothing committed to judge
    const FitJudgement refused = JudgePass(*bench.Fit);
    EXPECT_EQ(refused.Verdict, FitVerdict::ScatterTooLarge);
    EXPECT_TRUE(std::isnan(refused.ExpectedWorstInsideMm));
    EXPECT_TRUE(std::isnan(refused.ExpectedWorstEdgeMm));

    bench.Config.MaxTouchScatter = 0.0;
    bench.Parameters.ScreenWidth = 0.0;  // no glass size: no millimetres
    EXPECT_TRUE(std::isnan(JudgePass(*bench.Fit).ExpectedWorstInsideMm));

    FitBench laplace(KindSetup(3));  // its final fit is not made on the touches
    ScatterTouches(laplace);
    ASSERT_TRUE(RunPassFit(*laplace.Fit, 1920, 1080));
    EXPECT_TRUE(std::isnan(JudgePass(*laplace.Fit).ExpectedWorstInsideMm));
}

FitJudgement Verdict(FitVerdict verdict, int32_t region = 0) {
    FitJudgement j;
    j.Verdict = verdict;
    j.Region = region;
    return j;
}

TEST(PassFit, EveryRefusalHasAReasonOfItsOwnAndDisagreementNamesItsPlace) {
    std::set<uint32_t> ids;
    for (FitVerdict v :
         {FitVerdict::FitFailed, FitVerdict::TouchOutOfRange, FitVerdict::RankDeficient,
          FitVerdict::RecordOverflow, FitVerdict::ResidualTooLarge, FitVerdict::ScatterTooLarge})
        ids.insert(RefusalTextId(Verdict(v)));
    for (int32_t region = 0; region < 9; ++region)
        ids.insert(RefusalTextId(Verdict(FitVerdict::TouchesDisagree, region)));
    EXPECT_EQ(ids.size(), 15u);
    EXPECT_EQ(ids.count(0), 0u);
    EXPECT_EQ(RefusalTextId(Verdict(FitVerdict::Sound)), 0u);
    EXPECT_EQ(RefusalTextId(Verdict(FitVerdict::TouchesDisagree, 0)), 480u);  // top-left corner
    EXPECT_EQ(RefusalTextId(Verdict(FitVerdict::TouchesDisagree, 8)), 488u);
    EXPECT_EQ(PlaceOnArea(10, 10, 1920, 1080), 0);
    EXPECT_EQ(PlaceOnArea(960, 540, 1920, 1080), 4);
    EXPECT_EQ(PlaceOnArea(1900, 1000, 1920, 1080), 8);
    EXPECT_EQ(PlaceOnArea(960, 1070, 1920, 1080), 7);
}

}  // namespace
