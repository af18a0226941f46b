// One simulated calibration pass by a person: a layout read as the program reads it, touched with
// scatter through a sensor, fitted as the program fits, and judged by zone in millimetres.
#include "bench/accuracy/person_pass.h"

#include "bench/accuracy/gated_fit.h"
#include "bench/accuracy/judged_mapping.h"

namespace {

// The raw touch the program stores for a screen point: the sensor's 16-bit report shifted by 4.
RawPoint StoredTouch(const ScreenRect& screen, const SensorParameters& sensor, double x, double y) {
    const RawCounts raw = SensorRawTouch(screen, sensor, x, y, nullptr);
    return RawPoint{double(raw.x >> 4), double(raw.y >> 4)};
}

}  // namespace

PassOutcome RunPersonPass(const PassLayout& layout, const SensorParameters& sensor,
                          const SimulatedPerson& person, const ScreenRect& screen,
                          const PanelSize& panel) {
    CalibrationConfig c = *layout.Config;
    ControllerParameters parameters = layout.Parameters;
    SensorNoise random(person.seed);
    c.Touches.assign(c.NumGridPoints + kMiniTargetSlots, TouchEntry());
    for (uint32_t i = 0; i < c.NumGridPoints + kMiniTargetSlots; ++i) {
        if (!IsTouched(c, i)) continue;
        // The person aims at the target as drawn: the centre of its pixel, truncated.
        double x = screen.left + int32_t(c.Targets[i].X * screen.width) + 0.5;
        double y = screen.top + int32_t(c.Targets[i].Y * screen.height) + 0.5;
        PerturbTouchPoint(person, screen.width, screen.height, random, &x, &y);
        const RawPoint stored = StoredTouch(screen, sensor, x, y);
        c.Touches[i] = TouchEntry{int32_t(i + 1), stored.V, stored.W};
    }
    PassOutcome outcome;
    const GatedFit gated = FitTouchedPass(c, parameters, screen);
    if (!gated.Sound()) {
        outcome.Refused = true;
        return outcome;
    }
    outcome.Zones = JudgeMapping(*gated.Fit, c, screen, panel, [&](double x, double y) {
        return StoredTouch(screen, sensor, x, y);
    });
    return outcome;
}
