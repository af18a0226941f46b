// Simulated people calibrate through the pass sequencer, its judge, the fit and the gate: how
// often honest passes are refused or asked again, and how often one touch 10 mm off is caught.
// Prints a table; not a timed test.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/pass_fit.h"
#include "app/pass_sequencer.h"
#include "display/target_layout.h"
#include "fit/fit_gate.h"
#include "platform/report_file.h"
#include "simcontroller/sensor_model.h"
#include "simcontroller/simulated_person.h"

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;
constexpr double kPanelWidthMm = 344.2, kPanelHeightMm = 193.6;
constexpr double kBadOffsetMm = 10.0;
constexpr int kPasses = 200;
constexpr double kPi = 3.14159265358979323846;

enum class Bad { None, Corner, Edge, Centre, Mini };
const char* BadName(Bad b) {
    const char* names[] = {"honest", "corner", "edge", "centre", "mini"};
    return names[int(b)];
}

// A grid of side x side targets spread by a magnification (and spaced as GridSpacing says),
// fitted with the terms of an order.
struct Layout {
    uint32_t Side = 5;
    double Magnification = 1.0;
    uint32_t Order = 3;
    FitTerms Terms = FitTerms::Polynomial;
    int32_t Spacing = 0;
};

struct Case {
    bool Bowed = false;
    Layout Grid;
    bool Minis = false;
    double ScatterMm = 1.0;
    Bad BadTouch = Bad::None;
};

struct Tally {
    int Passes = 0, Asked = 0, Refused = 0, Disagree = 0, Caught = 0, GoodAlone = 0, Committed = 0;
    double ExpectedRmsMm = 0.0;
};

// A configuration of the case on a 1920 x 1080 area, and the area's targets.
struct Setup {
    CalibrationConfig Config;
    ControllerParameters Parameters;
    CalibrationAreaList Areas;

    explicit Setup(const Case& k) {
        CalibrationConfig& c = Config;
        c.NumGridRows = c.NumGridColumns = k.Grid.Side;
        c.NumGridPoints = k.Grid.Side * k.Grid.Side;
        c.GridMagnification = k.Grid.Magnification;
        c.GridSpacing = k.Grid.Spacing;
        c.PolynomialOrder = k.Grid.Order;
        c.FitTerms = int32_t(k.Grid.Terms);
        c.CaptionHeight = 330;
        if (k.Minis) {
            for (int i = 0; i < kMiniTargetSlots; ++i) {
                c.MiniTargetEnabled[i] = true;
                c.InfluenceRadius[i] = 0.02;
            }
            c.HasMiniTargets = true;
            c.MiniTargetCount = kMiniTargetSlots;
            c.DistanceOfInfluence = 0.02;
        }
        c.TargetCount = c.NumGridPoints + (k.Minis ? kMiniTargetSlots : 0);
        BuildGridCells(c);
        BuildTargets(c);
        c.Touches.assign(c.NumGridPoints + kMiniTargetSlots, TouchEntry());
        Parameters.ScreenWidth = kPanelWidthMm;
        Parameters.ScreenHeight = kPanelHeightMm;
        CalibrationArea& area = Areas.Areas.emplace_back();
        area.Width = kWidth;
        area.Height = kHeight;
        area.Targets.assign(c.TargetCount, AreaTarget());
        PlaceAreaTargets(area, c);
        Areas.AreaCount = 1;
        Areas.Current = &area;
        Areas.Targets.assign(c.TargetCount, AreaTarget());
    }
};

int32_t BadTarget(const Case& k) {
    const int32_t side = int32_t(k.Grid.Side);
    switch (k.BadTouch) {
        case Bad::Corner:
            return 1;
        case Bad::Edge:
            return (side + 1) / 2;
        case Bad::Centre:
            return (side * side + 1) / 2;
        case Bad::Mini:
            return side * side + 6;
        case Bad::None:
            break;
    }
    return 0;
}

SensorParameters SensorOf(const Case& k) {
    SensorParameters sensor;
    if (k.Bowed) {
        sensor.bowQuadratic = 0.03;
        sensor.bowCubic = 0.08;
        sensor.rotationDegrees = 3.0;
    }
    return sensor;
}

// One pass: true when its fit was committed. Counts into the tally.
void RunPass(const Case& k, uint32_t seed, Tally& tally) {
    Setup s(k);
    PassSequencer passes(PassSettingsFor(s.Config, s.Parameters, false, 60));
    const SimulatedPerson person{k.ScatterMm, kPanelWidthMm, kPanelHeightMm, seed};
    SensorNoise hand(seed);
    SensorNoise direction(seed * 7919u + 17u);
    const SensorParameters sensor = SensorOf(k);
    const ScreenRect screen{0, 0, kWidth, kHeight};
    const int32_t bad = BadTarget(k);
    bool badDone = bad == 0, badAsked = false, goodAsked = false, misclickCaught = false;
    const PassToken token = passes.StartFirstPass(s.Areas);
    PassClock::time_point now{std::chrono::hours(1)};
    for (int touches = 0; touches < 400; ++touches) {
        const PassView view = passes.View();
        if (view.CalibrationDone || !view.CollectingTouches) break;
        const int32_t target = view.CurrentTarget;
        const AreaTarget& at = s.Areas.Current->Targets[size_t(target) - 1];
        double x = at.ScreenX, y = at.ScreenY;
        PerturbTouchPoint(person, kWidth, kHeight, hand, &x, &y);
        const bool badNow = target == bad && !badDone;
        if (badNow) {
            const double angle = 2 * kPi * (direction.Gaussian() * 0.5 + 0.5);
            x += kBadOffsetMm * std::cos(angle) * kWidth / kPanelWidthMm;
            y += kBadOffsetMm * std::sin(angle) * kHeight / kPanelHeightMm;
        }
        const RawCounts raw = SensorRawTouch(screen, sensor, x, y, nullptr);
        now += std::chrono::seconds(1);
        passes.TargetShown(target, now);
        TouchInput input{raw.x >> 4, raw.y >> 4, '0', 0, now + std::chrono::milliseconds(200)};
        const TouchResult result = passes.HandleTouch(token, input, s.Areas, s.Config.Touches);
        if (badNow) {  // refused or not, the person touches right from now on
            misclickCaught = result.Outcome == TouchOutcome::Refused;
            badDone = true;
        }
        if (result.Outcome == TouchOutcome::AskAgain) {
            const int32_t asked = passes.View().CurrentTarget;
            (asked == bad ? badAsked : goodAsked) = true;
        }
        if (result.Outcome != TouchOutcome::RunFit) continue;
        auto fit =
            CreateCalibrationFit(s.Config.PolynomialOrder, 1, int32_t(s.Config.NumGridPoints));
        LinkCalibrationFit(*fit, s.Config, s.Parameters);
        bool committed = RunPassFit(*fit, kWidth, kHeight);
        FitJudgement judgement;
        if (committed) {
            judgement = JudgeFit(
                *fit, FitGateLimitsFor(0, 4095, s.Config.MaxFitResidual, s.Config.MaxTouchScatter));
            committed = judgement.Verdict == FitVerdict::Sound;
        }
        passes.FinishFit(token, committed, judgement);
        if (committed) {
            tally.Committed += 1;
            tally.ExpectedRmsMm += judgement.ExpectedRmsMm;
        }
        break;
    }
    const PassView end = passes.View();
    const bool refused = !end.CalibrationDone || end.FitRefused;
    tally.Passes += 1;
    tally.Asked += (badAsked || goodAsked) ? 1 : 0;
    tally.Refused += refused ? 1 : 0;
    tally.Disagree += end.Judgement.Verdict == FitVerdict::TouchesDisagree ? 1 : 0;
    tally.Caught += (badAsked || refused || misclickCaught) ? 1 : 0;
    tally.GoodAlone += (bad != 0 && goodAsked && !badAsked && !misclickCaught) ? 1 : 0;
}

const char* TermsName(FitTerms terms) {
    const char* names[] = {"order 3", "harmonic, order 3", "judged, order 5", "sheet, order 7",
                           "weighed, order 7"};
    return names[int(terms)];
}

double Percent(int part, int whole) { return whole ? 100.0 * part / whole : 0.0; }

}  // namespace

int main() {
    SetReportFolderOverride(
        L"/dev/null/tarnix-judge-bench");  // a folder that cannot exist: no reports
    std::printf(
        "Simulated passes on a %d x %d area of %.1f x %.1f mm, %d passes a row,\n"
        "defaults (SuspectFloor %.1f mm, MaxTouchScatter %.1f mm, MisclickTolerance "
        "%.1f); bad: one touch %.0f mm off.\n\n",
        kWidth, kHeight, kPanelWidthMm, kPanelHeightMm, kPasses, kDefaultSuspectFloorMm,
        kDefaultMaxTouchScatterMm, kDefaultMisclickTolerance, kBadOffsetMm);
    std::printf(
        "| sensor | grid | fit | minis | scatter mm | touch | asked again %% | refused %% | "
        "of them disagreeing | caught %% | good named alone | new touch RMS mm |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    const Layout layouts[] = {{5, 1.0, 3, FitTerms::Polynomial},
                              {7, 1.0, 3, FitTerms::Polynomial},
                              {6, 1.15, 3, FitTerms::Polynomial},
                              {6, 1.15, 3, FitTerms::Harmonic},
                              {6, 1.15, 5, FitTerms::Judged},
                              {6, 1.15, 7, FitTerms::Sheet, kGridSpacingLobatto},
                              {6, 1.15, 7, FitTerms::Predicted, kGridSpacingLobatto}};  // shipped
    for (bool bowed : {false, true})
        for (const Layout& grid : layouts)
            for (bool minis : {false, true})
                for (double scatter : {1.0, 1.5})
                    for (Bad bad : {Bad::None, Bad::Corner, Bad::Edge, Bad::Centre, Bad::Mini}) {
                        if (bad == Bad::Mini && !minis) continue;
                        const Case k{bowed, grid, minis, scatter, bad};
                        Tally tally;
                        for (int pass = 0; pass < kPasses; ++pass)
                            RunPass(k, uint32_t(1000 + pass), tally);
                        const std::string caught =
                            bad == Bad::None
                                ? "-"
                                : std::to_string(Percent(tally.Caught, tally.Passes)).substr(0, 5);
                        std::printf(
                            "| %s | %ux%u x%.2f%s | %s | %s | %.1f | %s | %.1f | %.1f | %d | %s | "
                            "%d "
                            "| "
                            "%.2f |\n",
                            bowed ? "bowed" : "default", grid.Side, grid.Side, grid.Magnification,
                            grid.Spacing ? " Lobatto" : "", TermsName(grid.Terms),
                            minis ? "yes" : "no", scatter, BadName(bad),
                            Percent(tally.Asked, tally.Passes),
                            Percent(tally.Refused, tally.Passes), tally.Disagree, caught.c_str(),
                            tally.GoodAlone,
                            tally.Committed ? tally.ExpectedRmsMm / tally.Committed : 0.0);
                    }
    return 0;
}
