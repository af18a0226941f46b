// The check touches after the fit: places away from the grid, honest touches passing, a slip
// dropped, a local bump the fit misses refitted away, and a refusal naming where it missed.
#include "fit/check_touches.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "fit/calibration_record.h"
#include "fit/check_round.h"
#include "fit/polynomial_fit.h"
#include "tests/fit/fit_test_support.h"
#include "tests/passes/pass_test_support.h"

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;
constexpr GlassScale kPitch{344.2 / kWidth, 193.6 / kHeight};
const double kPixelMm = std::hypot(kPitch.MmPerPixelX, kPitch.MmPerPixelY);

// The bowed sensor touched by a person whose touches scatter scatterMm per axis (seeded).
Sensor Person(double scatterMm, unsigned seed, const Sensor& sensor = BowedSensor) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [random, scatterMm, sensor](double x, double y, double& v, double& w) {
        std::normal_distribution<double> gauss(0.0, 1.0);
        const double dx = scatterMm / 344.2 * gauss(*random);
        const double dy = scatterMm / 193.6 * gauss(*random);
        sensor(x + dx, y + dy, v, w);
    };
}

// The bowed sensor with a bump 6 mm high and about 10 mm wide at (fx, fy) that moves touches
// right: between the grid targets, no grid touch shows it.
Sensor Bumped(double fx, double fy) {
    return [fx, fy](double x, double y, double& v, double& w) {
        const double dx = (x + 0.5 - fx) * 344.2, dy = (y + 0.5 - fy) * 193.6;
        const double shift = 6.0 / 344.2 * std::exp(-(dx * dx + dy * dy) / (2 * 5.0 * 5.0));
        BowedSensor(x + shift, y, v, w);
    };
}

// A fitted 5 x 5 pass of order 3 on a sensor, its record and its expected-error map.
struct FittedPass {
    ReportFolder reports;
    FitBench bench;
    CalibrationDataRecord record{};
    ExpectedErrorMap map;

    explicit FittedPass(const Sensor& sensor) : bench(GridSetup(), sensor) { Fit(); }

    void Fit() {
        bench.Fit = CreateCalibrationFit(3, 1, int32_t(bench.Config.NumGridPoints));
        LinkCalibrationFit(*bench.Fit, bench.Config, bench.Parameters);
        bench.Fit->MonitorWidth = kWidth;
        bench.Fit->MonitorHeight = kHeight;
        EXPECT_EQ(RunPolynomialPass(*bench.Fit), 1);
        EXPECT_TRUE(PackCalibrationRecord(RecordArea{kWidth, kHeight, 0, 0, 1}, 0,
                                          kPlainControllerType, {kWidth, kHeight, 0, 0},
                                          bench.Fit.get(), record));
        map = ExpectedErrorOfPass(*bench.Fit, kPitch);
    }

    CheckPlanInput Plan(const std::vector<CheckPlace>& used = {}) const {
        CheckPlanInput input{&map, {}, kWidth, kHeight, used, {}};
        for (uint32_t i = 0; i < bench.Config.NumGridPoints; ++i)
            input.Grid.push_back(bench.Config.Targets[i]);
        return input;
    }

    // Plans a round of three and starts it.
    void PlanRound(CheckTouches& checks) const {
        checks.Plan(ChooseCheckPlaces(Plan(checks.Used()), 3), map.ScatterMm, kPixelMm);
    }

    // A touch of the current place by sensor, with its miss under the record.
    CheckStep Touch(CheckTouches& checks, const Sensor& sensor, CheckMiss* missOut = nullptr) {
        const CheckPlace& place = *checks.Current();
        RawPoint raw;
        sensor(place.Fx - 0.5, place.Fy - 0.5, raw.V, raw.W);
        CheckMiss miss;
        EXPECT_TRUE(MissOfCheck(record, kWidth, kHeight, kPitch, place, raw, miss));
        if (missOut != nullptr) *missOut = miss;
        return checks.Take(raw, miss);
    }
};

double PixelsApart(double fx0, double fy0, double fx1, double fy1) {
    return std::hypot((fx1 - fx0) * kWidth, (fy1 - fy0) * kHeight);
}

TEST(CheckPlaces, AwayFromTheGridWorstFirstAndTheLastAtTheDoubtOrNearACorner) {
    FittedPass pass(Person(1.0, 3));
    const std::vector<CheckPlace> places = ChooseCheckPlaces(pass.Plan(), 3);
    ASSERT_EQ(places.size(), 3u);
    const double step = kWidth / 4.0 * (1 - 2 * 0.1);  // the default grid's columns are closer
    for (const CheckPlace& p : places) {
        EXPECT_GE(std::min(p.Fx, 1 - p.Fx), kCheckEdgeMargin);
        EXPECT_GE(std::min(p.Fy, 1 - p.Fy), kCheckEdgeMargin);
        for (const TargetPoint& t : pass.Plan().Grid)
            EXPECT_GT(PixelsApart(p.Fx, p.Fy, t.X, t.Y), step / 4);
    }
    EXPECT_GE(places[0].ExpectedMm, places[1].ExpectedMm);
    const auto corner = [](const CheckPlace& p) {
        return PixelsApart(p.Fx, p.Fy, std::round(p.Fx), std::round(p.Fy));
    };
    EXPECT_LE(corner(places[2]), corner(places[0]));
    EXPECT_LE(corner(places[2]), corner(places[1]));
    // Where the judge doubts the touches, the last place goes there instead of to a corner.
    CheckPlanInput doubted = pass.Plan();
    doubted.Doubt = TargetPoint{0.4, 0.6};
    const CheckPlace aimed = ChooseCheckPlaces(doubted, 3).back();
    EXPECT_LT(PixelsApart(aimed.Fx, aimed.Fy, 0.4, 0.6), step / 4);
    // A second round keeps away from the first.
    for (const CheckPlace& q : ChooseCheckPlaces(pass.Plan(places), 3))
        for (const CheckPlace& p : places) EXPECT_GT(PixelsApart(p.Fx, p.Fy, q.Fx, q.Fy), 100.0);
    EXPECT_TRUE(ChooseCheckPlaces(pass.Plan(), 0).empty());
}

TEST(CheckBounds, TheAllowanceAndTheScatterOfWhatWasTouched) {
    EXPECT_DOUBLE_EQ(CheckBoundMm(1.0, 0.25), kCheckAllowanceMm + 2.5 + 0.25);
    EXPECT_DOUBLE_EQ(CheckBoundMm(1.0, 0.25, 2), kCheckAllowanceMm + 2.5 / std::sqrt(2.0) + 0.25);
    EXPECT_DOUBLE_EQ(CheckBoundMm(0.0, 0.0), kCheckAllowanceMm);
    EXPECT_DOUBLE_EQ(RepeatBoundMm(1.0), 5.0);
    EXPECT_DOUBLE_EQ(RepeatBoundMm(0.1), kCheckFloorMm);
}

// Honest passes of a 5 x 5 grid whose targets keep a tenth of the area clear: the mapping
// reaches the corners by extrapolation and misses there by 1 to 4 mm. Where the checks confirm
// it, the pass refits with them and passes; none is refused, and every kept miss is small.
TEST(CheckTouchesOfAPass, HonestTouchesPassRefittedWhereTheMappingMissesACorner) {
    int32_t refitted = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        FittedPass pass(Person(1.0, seed));
        CheckTouches checks;
        checks.Start(3);
        pass.PlanRound(checks);
        const Sensor person = Person(1.0, seed + 100);
        CheckStep step = CheckStep::Next;
        while (step != CheckStep::Passed && step != CheckStep::Refuse) {
            step = pass.Touch(checks, person);
            if (step != CheckStep::Refit) continue;
            AddCheckTouches(pass.bench.Config, checks.Joining());
            pass.Fit();
            pass.PlanRound(checks);
        }
        ASSERT_EQ(step, CheckStep::Passed) << "seed " << seed;
        refitted += checks.Refits() > 0;
        ASSERT_EQ(checks.Misses().size(), 3u);
        for (double miss : checks.Misses()) EXPECT_LT(miss, CheckBoundMm(1.5, kPixelMm, 1, 2.0));
    }
    EXPECT_GT(refitted, 0);
    EXPECT_LT(refitted, 20);
}

TEST(CheckTouchesOfAPass, ASlipIsAskedAgainAndDropped) {
    FittedPass pass(BowedSensor);
    CheckTouches checks;
    checks.Start(3);
    pass.PlanRound(checks);
    const Sensor slip = [](double x, double y, double& v, double& w) {
        BowedSensor(x + 20.0 / 344.2, y - 10.0 / 193.6, v, w);
    };
    EXPECT_EQ(pass.Touch(checks, slip), CheckStep::AskAgain);
    EXPECT_TRUE(checks.AskingAgain());
    CheckMiss repeat;
    EXPECT_EQ(pass.Touch(checks, BowedSensor, &repeat), CheckStep::Next);
    EXPECT_EQ(checks.Slips(), 1);
    ASSERT_EQ(checks.Misses().size(), 1u);
    EXPECT_DOUBLE_EQ(checks.Misses()[0], repeat.Mm());
    EXPECT_EQ(pass.Touch(checks, BowedSensor), CheckStep::Next);
    EXPECT_EQ(pass.Touch(checks, BowedSensor), CheckStep::Passed);
    EXPECT_EQ(checks.Joining().size(), 3u);  // the slip joins nothing
}

TEST(CheckTouchesOfAPass, ALocalBumpIsConfirmedRefittedWithTheChecksAndThenPasses) {
    const CheckPlace first = ChooseCheckPlaces(FittedPass(Person(0.5, 7)).Plan(), 3)[0];
    const Sensor bumped = Bumped(first.Fx, first.Fy);
    FittedPass pass(Person(0.5, 7, bumped));
    CheckTouches checks;
    checks.Start(3);
    pass.PlanRound(checks);
    ASSERT_NEAR(checks.Current()->Fx, first.Fx, 1e-9);  // the grid does not see the bump
    CheckMiss before;
    EXPECT_EQ(pass.Touch(checks, bumped, &before), CheckStep::AskAgain);
    EXPECT_GT(before.Mm(), 4.0);
    EXPECT_EQ(pass.Touch(checks, bumped), CheckStep::Refit);
    EXPECT_EQ(checks.Refits(), 1);

    AddCheckTouches(pass.bench.Config, checks.Joining());
    pass.Fit();
    CheckMiss after;
    RawPoint raw;
    bumped(first.Fx - 0.5, first.Fy - 0.5, raw.V, raw.W);
    ASSERT_TRUE(MissOfCheck(pass.record, kWidth, kHeight, kPitch, first, raw, after));
    EXPECT_LT(after.Mm(), before.Mm() - 1.0);  // the refit follows the sensor there

    pass.PlanRound(checks);
    for (int k = 0; k < 2; ++k) EXPECT_EQ(pass.Touch(checks, bumped), CheckStep::Next);
    EXPECT_EQ(pass.Touch(checks, bumped), CheckStep::Passed);
}

TEST(CheckTouchesOfAPass, AMissConfirmedPastTheRefitsRefusesNamingWhere) {
    CheckTouches checks;
    checks.Start(3);
    const CheckPlace place{0.8, 0.2, 0.5};
    const CheckMiss far{7.0, 1.0}, again{7.3, 0.8};
    for (int32_t round = 0; round <= kMaxCheckRefits; ++round) {
        checks.Plan({place}, 1.0, kPixelMm);
        EXPECT_EQ(checks.Take({100, 100}, far), CheckStep::AskAgain);
        const CheckStep step = checks.Take({101, 100}, again);
        EXPECT_EQ(step, round < kMaxCheckRefits ? CheckStep::Refit : CheckStep::Refuse);
    }
    EXPECT_DOUBLE_EQ(checks.Failure().Place.Fx, 0.8);
    EXPECT_NEAR(checks.Failure().MissMm, std::hypot(7.15, 0.9), 1e-12);  // the two touches' mean
    EXPECT_EQ(checks.Joining().size(), 3u);
}

// A touch beyond the bound of one, repeated nearer: the two agree, and their mean lies within the
// bound of two touches, so the place is kept with it (a person's wide touch, not the mapping's).
TEST(CheckTouchesOfAPass, AnAgreeingRepeatIsTakenAsTheMeanOfTheTwo) {
    CheckTouches checks;
    checks.Start(1);
    checks.Plan({{0.5, 0.5, 0.3}}, 1.0, 0.25);
    EXPECT_EQ(checks.Take({100, 200}, {3.9, 0.0}), CheckStep::AskAgain);
    EXPECT_EQ(checks.Take({110, 220}, {1.9, 0.0}), CheckStep::Passed);
    EXPECT_EQ(checks.Slips(), 0);
    ASSERT_EQ(checks.Joining().size(), 1u);
    EXPECT_DOUBLE_EQ(checks.Joining()[0].MissMm, 2.9);
    EXPECT_DOUBLE_EQ(checks.Joining()[0].Raw.V, 105.0);
    EXPECT_DOUBLE_EQ(checks.Joining()[0].Raw.W, 210.0);
    // Their mean beyond the bound of two touches: the mapping misses there.
    checks.Start(1);
    checks.Plan({{0.5, 0.5, 0.3}}, 1.0, 0.25);
    EXPECT_EQ(checks.Take({}, {3.9, 0.0}), CheckStep::AskAgain);
    EXPECT_EQ(checks.Take({}, {3.1, 0.5}), CheckStep::Refit);
}

TEST(CheckTouchesOfAPass, TouchesThatNeverAgreeConfirmAtTheThird) {
    CheckTouches checks;
    checks.Start(1);
    checks.Plan({{0.5, 0.5, 0.3}}, 0.5, kPixelMm);
    EXPECT_EQ(checks.Take({}, {12.0, 0.0}), CheckStep::AskAgain);
    EXPECT_EQ(checks.Take({}, {-12.0, 0.0}), CheckStep::AskAgain);
    EXPECT_EQ(checks.Take({}, {0.0, 12.0}), CheckStep::Refit);
    EXPECT_EQ(checks.Slips(), 2);
}

TEST(CheckTouchesOfAPass, CountIsClampedAndStartForgetsTheLastPass) {
    CheckTouches checks;
    checks.Start(kMaxCheckTargets + 5);
    EXPECT_EQ(checks.Count(), kMaxCheckTargets);
    checks.Plan({{0.5, 0.5, 0.3}}, 0.5, kPixelMm);
    checks.Take({}, {12.0, 0.0});
    checks.Start(0);
    EXPECT_EQ(checks.Count(), 0);
    EXPECT_EQ(checks.Current(), nullptr);
    EXPECT_FALSE(checks.AskingAgain());
    EXPECT_TRUE(checks.Used().empty());
}

TEST(AddCheckTouches, JoinAfterTheGridBeforeTheMiniTargets) {
    GridSetup setup;
    setup.MiniTargetRadius = 0.05;
    FitBench bench(setup);
    const TargetPoint firstMini = bench.Config.Targets[25];
    const TouchEntry firstMiniTouch = bench.Config.Touches[25];
    AddCheckTouches(bench.Config, {{{0.3, 0.6, 0.0}, {1000, 2000}, 0.0}});
    EXPECT_EQ(bench.Config.NumGridPoints, 26u);
    EXPECT_EQ(bench.Config.TargetCount, 37u);
    EXPECT_DOUBLE_EQ(bench.Config.Targets[25].X, 0.3);
    EXPECT_DOUBLE_EQ(bench.Config.Touches[25].W, 2000.0);
    EXPECT_DOUBLE_EQ(bench.Config.Targets[26].X, firstMini.X);
    EXPECT_DOUBLE_EQ(bench.Config.Touches[26].V, firstMiniTouch.V);
    EXPECT_EQ(bench.Config.Touches[26].TargetNumber, 27);
}

// A 25-point pass of the sequencer with check targets, fitted and judged sound.
struct CheckedPass {
    PassSequencer passes;
    CalibrationAreaList areas = AreasFor(1, 25);
    std::vector<TouchEntry> touches = std::vector<TouchEntry>(25);
    PassToken token = 0;
    int32_t shown = 0;

    explicit CheckedPass(int32_t checkTargets) : passes(Settings(checkTargets)) {
        token = passes.StartFirstPass(areas);
        for (int32_t t = 1; t <= 25; ++t) TouchSeen(passes, token, TouchOn(t), areas, touches);
    }
    static PassSettings Settings(int32_t checkTargets) {
        PassSettings settings = GridSettings(25);
        settings.CheckTargets = checkTargets;
        return settings;
    }
    // A touch of the check shown, by sensor at its place.
    TouchResult Touch(const CheckRound& round, const Sensor& sensor) {
        const PassView view = passes.View();
        passes.CheckShown(view.CheckTarget, kDrawnAt);
        TouchInput touch{};
        double v, w;
        sensor(view.CheckAt.X / round.AreaWidth - 0.5, view.CheckAt.Y / round.AreaHeight - 0.5, v,
               w);
        touch.V = int32_t(std::lround(v));
        touch.W = int32_t(std::lround(w));
        touch.At = kDrawnAt + kReactionTime;
        return passes.HandleTouch(token, touch, areas, touches);
    }
};

TEST(ChecksOfThePass, AskedAfterTheFitThenCommittedWithTheirMisses) {
    FittedPass fitted(BowedSensor);
    const CheckRound round = PlanCheckRound(*fitted.bench.Fit, kPitch, {}, 3);
    ASSERT_EQ(round.Places.size(), 3u);
    CheckedPass pass(3);
    EXPECT_TRUE(pass.passes.View().FitInProgress);
    ASSERT_TRUE(pass.passes.BeginChecks(pass.token, round));
    PassView view = pass.passes.View();
    EXPECT_TRUE(view.Checking && view.CollectingTouches && !view.FitInProgress);
    EXPECT_FALSE(ShowsRetry(view) || ShowsAccept(view));
    EXPECT_TRUE(pass.passes.WaitsForDrawing(pass.token));  // not drawn yet: no touch asked
    TouchInput early = TouchOn(1);
    early.At = kDrawnAt + kReactionTime;
    EXPECT_EQ(pass.passes.HandleTouch(pass.token, early, pass.areas, pass.touches).Outcome,
              TouchOutcome::TooEarly);
    EXPECT_EQ(pass.Touch(round, BowedSensor).Outcome, TouchOutcome::CheckDue);
    EXPECT_EQ(pass.Touch(round, BowedSensor).Outcome, TouchOutcome::CheckDue);
    EXPECT_EQ(pass.Touch(round, BowedSensor).Outcome, TouchOutcome::CommitChecked);
    EXPECT_TRUE(pass.passes.View().FitInProgress);  // the commit
    FitJudgement sound;
    sound.Verdict = FitVerdict::Sound;
    EXPECT_TRUE(pass.passes.FinishFit(pass.token, true, sound));
    view = pass.passes.View();
    EXPECT_TRUE(ShowsAccept(view));
    ASSERT_EQ(view.CheckMissesMm.size(), 3u);
    for (double mm : view.CheckMissesMm) EXPECT_LT(mm, 1.0);  // a noiseless sensor, a good fit
    const CheckSummary summary = pass.passes.ChecksOfPass();
    ASSERT_EQ(summary.Passed.size(), 3u);
    EXPECT_FALSE(summary.Refused);
    EXPECT_DOUBLE_EQ(summary.Passed[2].MissMm, view.CheckMissesMm[2]);
    EXPECT_DOUBLE_EQ(summary.Passed[0].Place.Fx, round.Places[0].Fx);

    ReportFolder reports;
    AppendCheckReport(summary);
    const std::string report = reports.Read("SvdFitOutputs.txt");
    EXPECT_EQ(CountOf(report, "\r\n"), 4u);
    EXPECT_EQ(report.find("Check touches: 3 passed after 0 refits and 0 slips\r\n"), 0u);
    EXPECT_NE(report.find("  Check 3 at ("), std::string::npos);
}

TEST(ChecksOfThePass, AMissConfirmedEveryRoundRefusesNamingThePlace) {
    FittedPass fitted(BowedSensor);
    const CheckRound round = PlanCheckRound(*fitted.bench.Fit, kPitch, {}, 3);
    CheckedPass pass(3);
    const Sensor shifted = [](double x, double y, double& v, double& w) {
        BowedSensor(x + 15.0 / 344.2, y, v, w);  // the sensor moved 15 mm since the grid
    };
    for (int32_t refit = 1; refit <= kMaxCheckRefits; ++refit) {
        ASSERT_TRUE(pass.passes.BeginChecks(pass.token, round));
        EXPECT_EQ(pass.Touch(round, shifted).Outcome, TouchOutcome::CheckDue);
        EXPECT_TRUE(pass.passes.View().CheckingAgain);
        EXPECT_EQ(pass.Touch(round, shifted).Outcome, TouchOutcome::Refit);
        EXPECT_EQ(pass.passes.CheckTouchesToJoin().size(), size_t(refit));
        EXPECT_EQ(pass.passes.CheckMissJudgement().Verdict, FitVerdict::CheckMissed);
    }
    ASSERT_TRUE(pass.passes.BeginChecks(pass.token, round));
    pass.Touch(round, shifted);
    const TouchResult refused = pass.Touch(round, shifted);
    EXPECT_EQ(refused.Outcome, TouchOutcome::Repaint);
    EXPECT_TRUE(refused.ChecksRefused);
    const PassView view = pass.passes.View();
    EXPECT_TRUE(view.FitRefused && view.CalibrationDone && !view.Checking);
    EXPECT_FALSE(ShowsAccept(view));
    EXPECT_EQ(view.Judgement.Verdict, FitVerdict::CheckMissed);
    const CheckPlace& place = round.Places[0];
    EXPECT_EQ(view.Judgement.Region, PlaceOnArea(place.Fx * 1920, place.Fy * 1080, 1920, 1080));
    EXPECT_NEAR(view.CheckFailedMm, 15.0, 1.5);
    const CheckSummary summary = pass.passes.ChecksOfPass();
    EXPECT_TRUE(summary.Refused);
    EXPECT_TRUE(summary.Passed.empty());
    EXPECT_EQ(summary.Region, view.Judgement.Region);
    EXPECT_EQ(summary.Refits, kMaxCheckRefits);
    ReportFolder reports;
    AppendCheckReport(summary);
    EXPECT_NE(reports.Read("SvdFitOutputs.txt").find("Check touches: refused after 2 refits"),
              std::string::npos);
}

TEST(ChecksOfThePass, NoneWithoutCheckTargetsOrPlaces) {
    FittedPass fitted(BowedSensor);
    CheckedPass off(0);
    EXPECT_FALSE(
        off.passes.BeginChecks(off.token, PlanCheckRound(*fitted.bench.Fit, kPitch, {}, 3)));
    EXPECT_TRUE(off.passes.View().FitInProgress);  // the fit goes on to its commit
    CheckedPass on(3);
    EXPECT_FALSE(on.passes.BeginChecks(on.token, PlanCheckRound(*fitted.bench.Fit, {}, {}, 3)));
    EXPECT_FALSE(
        on.passes.BeginChecks(on.token + 1, PlanCheckRound(*fitted.bench.Fit, kPitch, {}, 3)));
}

}  // namespace
