// One simulated calibration pass by a person: a layout read as the program reads it, touched with
// scatter through a sensor, fitted as the program fits, and judged by zone in millimetres.
#include "bench/accuracy/person_pass.h"

#include <vector>

#include "display/target_layout.h"
#include "fit/fit_evaluation.h"
#include "fit/fit_gate.h"
#include "tools/tarnix_fit/model_runners.h"

namespace {

constexpr int kColumnsJudged = 97;  // points judged across, the outermost on the edge pixels
constexpr int kRowsJudged = 55;

// The raw touch the program stores for a screen point: the sensor's 16-bit report shifted by 4.
void StoredTouch(const ScreenRect& screen, const SensorParameters& sensor, double x, double y,
                 double* v, double* w) {
    const RawCounts raw = SensorRawTouch(screen, sensor, x, y, nullptr);
    *v = raw.x >> 4;
    *w = raw.y >> 4;
}

std::vector<ErrorSample> JudgedPoints(const CalibrationFit& fit, const CalibrationConfig& c,
                                      const SensorParameters& sensor, const ScreenRect& screen) {
    std::vector<ErrorSample> samples;
    for (int row = 0; row < kRowsJudged; ++row) {
        for (int column = 0; column < kColumnsJudged; ++column) {
            const double x = 0.5 + column * (screen.width - 1.0) / (kColumnsJudged - 1);
            const double y = 0.5 + row * (screen.height - 1.0) / (kRowsJudged - 1);
            double v = 0, w = 0, nx = 0, ny = 0;
            StoredTouch(screen, sensor, x, y, &v, &w);
            PredictNormalisedPosition(fit, v, w, nx, ny);
            const double px = (nx * c.RangeX + c.OriginX) * screen.width;
            const double py = (ny * c.RangeY + c.OriginY) * screen.height;
            samples.push_back(ErrorSample{x, y, px - x, py - y, false});
        }
    }
    return samples;
}

}  // namespace

std::unique_ptr<PassLayout> ReadPassLayout(const std::filesystem::path& cfg) {
    auto layout = std::make_unique<PassLayout>();
    const std::wstring path = cfg.wstring();
    ReadControllerParameters(layout->Parameters, path.c_str());
    layout->Config = std::make_unique<CalibrationConfig>(path.c_str());
    CalibrationConfig& c = *layout->Config;
    if (!ReadGridConfig(c)) return nullptr;
    c.CaptionHeight = 330;
    if (!BuildGridCells(c) || !BuildTargets(c)) return nullptr;
    PlaceMiniTargets(c);
    layout->Touches = c.NumGridPoints + uint32_t(c.MiniTargetCount);
    return layout;
}

PassOutcome RunPersonPass(const PassLayout& layout, const SensorParameters& sensor,
                          const SimulatedPerson& person, const ScreenRect& screen,
                          const PanelSize& panel) {
    CalibrationConfig c = *layout.Config;
    ControllerParameters parameters = layout.Parameters;
    SensorNoise random(person.seed);
    c.Touches.assign(c.NumGridPoints + kMiniTargetSlots, TouchEntry());
    for (uint32_t i = 0; i < c.NumGridPoints + kMiniTargetSlots; ++i) {
        if (i >= c.NumGridPoints && !c.MiniTargetEnabled[i - c.NumGridPoints]) continue;
        // The person aims at the target as drawn: the centre of its pixel, truncated.
        double x = screen.left + int32_t(c.Targets[i].X * screen.width) + 0.5;
        double y = screen.top + int32_t(c.Targets[i].Y * screen.height) + 0.5;
        PerturbTouchPoint(person, screen.width, screen.height, random, &x, &y);
        c.Touches[i].TargetNumber = int32_t(i + 1);
        StoredTouch(screen, sensor, x, y, &c.Touches[i].V, &c.Touches[i].W);
    }
    PassOutcome outcome;
    auto fit = CreateCalibrationFit(c.PolynomialOrder, c.ModelKind, int32_t(c.NumGridPoints));
    LinkCalibrationFit(*fit, c, parameters);
    fit->MonitorWidth = screen.width;
    fit->MonitorHeight = screen.height;
    const ModelRunner* runner = FindModelRunner(c.ModelKind);
    const FitGateLimits limits = FitGateLimitsFor(
        parameters.ControllerMin, parameters.ControllerMax, c.MaxFitResidual, c.MaxTouchScatter);
    if (runner == nullptr || !runner->Run(*fit) ||
        JudgeFit(*fit, limits).Verdict != FitVerdict::Sound) {
        outcome.Refused = true;
        return outcome;
    }
    outcome.Zones = SummariseZones(JudgedPoints(*fit, c, sensor, screen), screen, panel);
    return outcome;
}
