// How a pass is touched: a person aims at each target as drawn, with scatter and perhaps a bad
// touch, through a sensor; and the true error of a mapping fitted to those touches.
#include "bench/accuracy/pass_touches.h"

#include "bench/accuracy/judged_mapping.h"
#include "bench/accuracy/pass_layout.h"

RawPoint TouchOfTarget(const PassTouching& in, const CalibrationConfig& c, uint32_t i,
                       SensorNoise& hand) {
    const ScreenRect& screen = in.Screen;
    double x = screen.left + int32_t(c.Targets[i].X * screen.width) + 0.5;
    double y = screen.top + int32_t(c.Targets[i].Y * screen.height) + 0.5;
    PerturbTouchPoint(in.Person, screen.width, screen.height, hand, &x, &y);
    for (const BadTouch& bad : in.Bad)
        if (bad.Target == i) {
            x += bad.DxMm * screen.width / in.Panel.widthMm;
            y += bad.DyMm * screen.height / in.Panel.heightMm;
        }
    return StoredTouch(in.Sensor, screen, in.Panel, x, y);
}

void TouchTargets(const PassTouching& in, CalibrationConfig& c) {
    SensorNoise hand(in.Person.seed);
    c.Touches.assign(c.NumGridPoints + kMiniTargetSlots, TouchEntry());
    for (uint32_t i = 0; i < c.NumGridPoints + kMiniTargetSlots; ++i) {
        if (!IsTouched(c, i)) continue;
        const RawPoint touch = TouchOfTarget(in, c, i, hand);
        c.Touches[i] = TouchEntry{int32_t(i + 1), touch.V, touch.W};
    }
}

AccuracyZones TrueError(const PassTouching& in, const CalibrationFit& fit,
                        const CalibrationConfig& c) {
    return JudgeMapping(fit, c, in.Screen, in.Panel, [&](double x, double y) {
        return StoredTouch(in.Sensor, in.Screen, in.Panel, x, y);
    });
}
