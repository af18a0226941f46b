// What the check touches after the fit catch: simulated passes of the shipped layout with three
// checks, honest ones, ones with a slip on a check or the axes swapped after the fit, bad fits (a
// local bump of the sensor, a 3 x 4 grid), by touch scatter; the share caught against the true
// worst error of the fit, on sensors whose edges compress more than the fit follows; and two
// neighbouring touches off the same way, with the judge's suspects asked again.
//   tarnix_check_bench [--passes N]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/accuracy/asked_again.h"
#include "bench/accuracy/bench_scratch.h"
#include "bench/accuracy/gated_fit.h"
#include "bench/accuracy/pass_layout.h"
#include "bench/accuracy/pass_sensor.h"
#include "bench/accuracy/pass_touches.h"
#include "bench/accuracy/stand_in_sensors.h"
#include "fit/check_round.h"
#include "platform/report_file.h"

namespace {

const ScreenRect kScreen{0, 0, 1920, 1080};
const PanelSize kPanel{344.2, 193.6};
const GlassScale kGlass{344.2 / 1920, 193.6 / 1080};
constexpr int32_t kChecks = 3;
constexpr double kSecondsPerTouch = 2.0;  // a person's pace: find the target, reach, touch
constexpr int kMostCheckTouches = 40;

struct CheckRun {
    bool Named = false;      // the judge named every bad touch: they are asked again
    bool Sound = false;      // the fit passed the gate: checks were asked
    bool Confirmed = false;  // a check's miss was confirmed (the pass refitted or refused)
    bool Refused = false;
    bool Slipped = false;  // a slip was asked again and dropped
    int Touches = 0;
    double TrueWorstMm = 0.0;        // of the first fit, 3.5 mm or more from every edge
    double CommittedWorstMm = -1.0;  // of the fit committed after the checks; -1: none
    bool CommittedAbove(double mm) const { return CommittedWorstMm > mm; }
};

// What goes wrong at the checks: nothing, the first check touch slips 15 mm, or the driver
// swaps the controller's axes after the fit (every check touch comes with V and W exchanged).
enum class CheckFault { None, FirstSlips, AxesSwapped };

// A check touch of a place by the person through the sensor, moved by slipMm to the right.
RawPoint CheckTouchOf(const PassTouching& touching, const CheckPlace& place, SensorNoise& hand,
                      double slipMm, bool swapped) {
    double x = place.Fx * kScreen.width, y = place.Fy * kScreen.height;
    PerturbTouchPoint(touching.Person, kScreen.width, kScreen.height, hand, &x, &y);
    x += slipMm / kGlass.MmPerPixelX;
    const RawPoint raw = StoredTouch(touching.Sensor, kScreen, kPanel, x, y);
    return swapped ? RawPoint{raw.W, raw.V} : raw;
}

// One pass: the grid touched and fitted (unless the judge names its bad touches), then its checks
// as the window asks them, refitted with the check touches on a confirmed miss.
CheckRun RunCheckedPass(const PassLayout& layout, const PassTouching& touching, CheckFault fault) {
    CheckRun run;
    CalibrationConfig c = *layout.Config;
    ControllerParameters parameters = layout.Parameters;
    SetControllerRange(touching.Sensor, parameters);
    const AskedTouching asked = AskSuspectsAgain(touching, c, parameters);
    run.Named = !touching.Bad.empty() && asked.Touching.Bad.empty();
    if (run.Named) return run;
    if (asked.Refused) {
        run.Refused = true;
        return run;
    }
    GatedFit fit = FitTouchedPass(c, parameters, kScreen);
    if (!fit.Sound()) return run;
    run.Sound = true;
    run.TrueWorstMm = TrueError(touching, *fit.Fit, c).inner.millimetres.maximum;
    CheckTouches checks;
    checks.Start(kChecks);
    CheckRound round = PlanCheckRound(*fit.Fit, kGlass, {}, kChecks);
    CalibrationConfig refit = c;
    SensorNoise hand(touching.Person.seed + 7919);
    while (!round.Places.empty() && run.Touches < kMostCheckTouches) {
        checks.Plan(round.Places, round.ScatterMm, round.PixelMm);
        CheckStep step = CheckStep::Next;
        while (step == CheckStep::Next || step == CheckStep::AskAgain) {
            const CheckPlace place = *checks.Current();
            const double slip = fault == CheckFault::FirstSlips && run.Touches == 0 ? 15.0 : 0.0;
            const RawPoint raw =
                CheckTouchOf(touching, place, hand, slip, fault == CheckFault::AxesSwapped);
            CheckMiss miss{HUGE_VAL, 0.0};
            MissOfCheck(round.Record, kScreen.width, kScreen.height, kGlass, place, raw, miss);
            step = checks.Take(raw, miss);
            ++run.Touches;
        }
        run.Slipped = checks.Slips() > 0;
        if (step == CheckStep::Passed) {
            run.CommittedWorstMm = TrueError(touching, *fit.Fit, refit).inner.millimetres.maximum;
            return run;
        }
        run.Confirmed = true;
        if (step == CheckStep::Refuse) break;
        refit = c;
        AddCheckTouches(refit, checks.Joining());
        fit = FitTouchedPass(refit, parameters, kScreen);
        if (!fit.Sound()) break;
        round = PlanCheckRound(*fit.Fit, kGlass, checks.Used(), kChecks);
    }
    run.Refused = true;
    return run;
}

// A stand-in sensor with a bump of heightMm at a drawn place.
SensorParameters Bumped(const SensorParameters& sensor, double heightMm, uint32_t seed) {
    SensorNoise draw(seed);
    SensorParameters bumped = sensor;
    bumped.bumpX = 0.1 + 0.8 * (0.5 + 0.5 * std::erf(draw.Gaussian() / std::sqrt(2.0)));
    bumped.bumpY = 0.1 + 0.8 * (0.5 + 0.5 * std::erf(draw.Gaussian() / std::sqrt(2.0)));
    bumped.bumpShift = heightMm / kPanel.widthMm;
    bumped.bumpRadius = 0.02;
    return bumped;
}

struct Tally {
    int Named = 0;
    int Passes = 0, Sound = 0, Confirmed = 0, Refused = 0, Slipped = 0, Touches = 0, Bad = 0;
    void Add(const CheckRun& run) {
        ++Passes;
        Named += run.Named;
        if (!run.Sound) return;
        ++Sound;
        Confirmed += run.Confirmed;
        Refused += run.Refused;
        Slipped += run.Slipped;
        Touches += run.Touches;
        Bad += run.CommittedAbove(5.0);
    }
    double Share(int count) const { return Sound > 0 ? 100.0 * count / Sound : 0.0; }
};

void PrintRow(const char* kind, double scatter, const Tally& t) {
    const double touches = t.Sound > 0 ? double(t.Touches) / t.Sound : 0.0;
    std::printf("| %s | %.1f | %d/%d | %.1f %% | %.1f %% | %.1f %% | %.2f | %.1f s | %.1f %% |\n",
                kind, scatter, t.Sound, t.Passes, t.Share(t.Confirmed), t.Share(t.Refused),
                t.Share(t.Slipped), touches, touches * kSecondsPerTouch, t.Share(t.Bad));
}

std::unique_ptr<PassLayout> SmallGrid(const std::filesystem::path& scratch) {
    const std::filesystem::path file = scratch / "grid-3x4.cfg";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        << "[TARNIX-APP]\nNumGridRows=3\nNumGridPoints=12\nFitModelCode=13\nCheckTargets=3\n";
    return ReadPassLayout(file);
}

// Two neighbouring targets at a corner both touched 6 mm off the same way, at 1 mm scatter, on
// each sensor family (a fresh draw a pass) and each stand-in sensor: named by the judge (asked
// again), else caught by the gate or the checks, else committed, and how many of all passes are
// committed above 5 mm.
void PrintStylusPairs(const PassLayout& layout, int passes) {
    std::printf(
        "\nTwo neighbouring touches at a corner 6 mm off the same way, 1.0 mm scatter:\n\n"
        "| Sensor | Passes | Named by the judge | Refused | Checks fail | Caught | "
        "Committed above 5 mm |\n|---|---|---|---|---|---|---|\n");
    int total = 0, above = 0;
    for (const BenchFamily& family : BenchFamilies()) {
        Tally t;
        for (int pass = 0; pass < passes; ++pass) {
            const SimulatedPerson person{1.0, kPanel.widthMm, kPanel.heightMm,
                                         uint32_t(3000 + pass)};
            const auto bad = DrawBadTouches(BadTouches::Two, *layout.Config, uint32_t(7000 + pass));
            const PassSensor sensor = SensorOfPass(family, uint32_t(11000 + pass), kPanel);
            t.Add(RunCheckedPass(layout, {sensor, person, bad, kScreen, kPanel}, CheckFault::None));
        }
        const int gateRefused = t.Passes - t.Named - t.Sound;
        const int caught = t.Named + gateRefused + t.Confirmed;
        std::printf("| %s | %d | %d | %d | %d | %.0f %% | %d |\n", family.Name.c_str(), t.Passes,
                    t.Named, gateRefused, t.Confirmed, 100.0 * caught / t.Passes, t.Bad);
        total += t.Passes;
        above += t.Bad;
    }
    std::printf("\nCommitted above 5 mm: %d of %d passes\n", above, total);
}

}  // namespace

int main(int argc, char** argv) {
    int passes = 100;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--passes") == 0 && i + 1 < argc) {
            passes = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: tarnix_check_bench [--passes N]\n");
            return 2;
        }
    }
    const std::filesystem::path scratch = PrepareBenchScratch("tarnix-check-bench");
    const auto shipped = ReadPassLayout(TARNIX_SHIPPED_CFG);
    const auto small = SmallGrid(scratch);
    if (!shipped || !small) return 1;
    const SensorParameters sensor = StandInSensors().front().sensor;
    std::printf(
        "%d passes a case, %d checks, %dx%d px, %.1f x %.1f mm; shares of the sound "
        "passes\n\n",
        passes, kChecks, kScreen.width, kScreen.height, kPanel.widthMm, kPanel.heightMm);
    std::printf(
        "| Case | Scatter mm | Sound | Checks fail | Refused | Slip dropped | Check "
        "touches | At %.0f s a touch | Committed above 5 mm |\n"
        "|---|---|---|---|---|---|---|---|---|\n",
        kSecondsPerTouch);
    for (double scatter : {0.5, 1.0, 1.5}) {
        Tally honest, slips, swapped, bumps, grid;
        for (int pass = 0; pass < passes; ++pass) {
            const SimulatedPerson person{scatter, kPanel.widthMm, kPanel.heightMm,
                                         uint32_t(1000 + pass)};
            const PassTouching touching{sensor, person, {}, kScreen, kPanel};
            honest.Add(RunCheckedPass(*shipped, touching, CheckFault::None));
            slips.Add(RunCheckedPass(*shipped, touching, CheckFault::FirstSlips));
            swapped.Add(RunCheckedPass(*shipped, touching, CheckFault::AxesSwapped));
            const SensorParameters bumped = Bumped(sensor, 8.0, uint32_t(5000 + pass));
            bumps.Add(
                RunCheckedPass(*shipped, {bumped, person, {}, kScreen, kPanel}, CheckFault::None));
            grid.Add(RunCheckedPass(*small, touching, CheckFault::None));
        }
        PrintRow("honest, shipped layout", scatter, honest);
        PrintRow("first check slipped 15 mm", scatter, slips);
        PrintRow("axes swapped after the fit", scatter, swapped);
        PrintRow("sensor bump 8 mm", scatter, bumps);
        PrintRow("3x4 grid, order 3", scatter, grid);
    }
    // Caught against the fit's true worst error at 1 mm scatter: sensors whose edges compress
    // (up to 3 % of the span) beyond what the fit follows, on the shipped layout and the 3x4 grid.
    int caught[10] = {}, count[10] = {}, firstAbove5 = 0, committedAbove5 = 0;
    for (int pass = 0; pass < 3 * passes; ++pass) {
        const SimulatedPerson person{1.0, kPanel.widthMm, kPanel.heightMm, uint32_t(9000 + pass)};
        SensorParameters compressed = sensor;
        compressed.edgeCompression = 0.03 * (pass % 31) / 30.0;
        const PassLayout& layout = pass % 2 == 0 ? *shipped : *small;
        const CheckRun run =
            RunCheckedPass(layout, {compressed, person, {}, kScreen, kPanel}, CheckFault::None);
        const int bin = int(std::floor(run.TrueWorstMm)) - 1;
        if (!run.Sound) continue;
        firstAbove5 += run.TrueWorstMm > 5.0;
        committedAbove5 += run.CommittedAbove(5.0);
        if (bin < 0 || bin > 9) continue;
        ++count[bin];
        caught[bin] += run.Confirmed;
    }
    std::printf("\n| True worst mm | Passes | Caught |\n|---|---|---|\n");
    int caughtAbove5 = 0, countAbove5 = 0;
    for (int bin = 0; bin < 10; ++bin) {
        std::printf("| %d-%d | %d | %.0f %% |\n", bin + 1, bin + 2, count[bin],
                    count[bin] > 0 ? 100.0 * caught[bin] / count[bin] : 0.0);
        if (bin >= 4) caughtAbove5 += caught[bin], countAbove5 += count[bin];
    }
    std::printf("\nAbove 5 mm: %d of %d caught (%.0f %%)\n", caughtAbove5, countAbove5,
                countAbove5 > 0 ? 100.0 * caughtAbove5 / countAbove5 : 0.0);
    std::printf(
        "Sound passes with a true worst above 5 mm inside: %d as fitted, %d committed "
        "after the checks\n",
        firstAbove5, committedAbove5);
    PrintStylusPairs(*shipped, passes);
    SetReportFolderOverride(nullptr);
    return 0;
}
