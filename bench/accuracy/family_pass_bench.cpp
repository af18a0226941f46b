// Times the fit and judgement of one pass of the shipped layout, touched with 1 mm of scatter
// through a drawn bowed sensor: against the 50 ms a finished pass may take.
#include <benchmark/benchmark.h>

#include "bench/accuracy/bench_scratch.h"
#include "bench/accuracy/pass_layout.h"
#include "bench/accuracy/pass_touches.h"
#include "bench/accuracy/settings_file.h"
#include "fit/expected_error.h"
#include "fit/fit_gate.h"
#include "fit/polynomial_fit.h"

namespace {

const ScreenRect kScreen{0, 0, 1920, 1080};
const PanelSize kPanel{344.2, 193.6};

// The shipped layout on the panel, and one pass's touches of it.
struct TouchedPass {
    std::unique_ptr<PassLayout> Layout;
    CalibrationConfig Config;
    ControllerParameters Parameters;

    TouchedPass() {
        const auto file = PrepareBenchScratch("tarnix-family-pass-bench") / "layout.cfg";
        WriteSettingsFile(TARNIX_SHIPPED_CFG, {{"ScreenWidth", "344.2"}, {"ScreenHeight", "193.6"}},
                          file);
        Layout = ReadPassLayout(file);
        PassTouching in;
        in.Sensor = DrawSensor(SensorFamily::Bow, 1, kPanel);
        in.Person = SimulatedPerson{1.0, kPanel.widthMm, kPanel.heightMm, 1};
        in.Screen = kScreen;
        in.Panel = kPanel;
        Config = *Layout->Config;
        Parameters = Layout->Parameters;
        SetControllerRange(in.Sensor, Parameters);
        TouchTargets(in, Config);
    }
};

std::unique_ptr<CalibrationFit> FitPass(TouchedPass& pass) {
    CalibrationConfig& c = pass.Config;
    auto fit = CreateCalibrationFit(c.PolynomialOrder, c.ModelKind, int32_t(c.NumGridPoints));
    LinkCalibrationFit(*fit, c, pass.Parameters);
    fit->MonitorWidth = kScreen.width;
    fit->MonitorHeight = kScreen.height;
    RunPolynomialPass(*fit);
    return fit;
}

FitGateLimits LimitsOf(const TouchedPass& pass) {
    return FitGateLimitsFor(pass.Parameters.ControllerMin, pass.Parameters.ControllerMax,
                            pass.Config.MaxFitResidual, pass.Config.MaxTouchScatter);
}

// The fit and the gate, whose judge weighs every touch.
void FitAndGate(benchmark::State& state) {
    TouchedPass pass;
    FitVerdict verdict = FitVerdict::FitFailed;
    for (auto _ : state) {
        const auto fit = FitPass(pass);
        verdict = JudgeFit(*fit, LimitsOf(pass)).Verdict;
        benchmark::DoNotOptimize(verdict);
    }
    if (verdict != FitVerdict::Sound) state.SkipWithError(FitVerdictName(verdict));
}

// The same and the expected-error map the window shows of a sound pass.
void FitGateAndMap(benchmark::State& state) {
    TouchedPass pass;
    const GlassScale glass =
        GlassScaleFor(kPanel.widthMm, kPanel.heightMm, kScreen.width, kScreen.height);
    for (auto _ : state) {
        const auto fit = FitPass(pass);
        benchmark::DoNotOptimize(JudgeFit(*fit, LimitsOf(pass)));
        benchmark::DoNotOptimize(ExpectedErrorOfPass(*fit, glass));
    }
}

}  // namespace

BENCHMARK(FitAndGate)->Unit(benchmark::kMillisecond);
BENCHMARK(FitGateAndMap)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
