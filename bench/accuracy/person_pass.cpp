// One simulated calibration pass by a person: a layout read as the program reads it, touched with
// scatter through a sensor, fitted as the program fits, and judged by zone in millimetres.
#include "bench/accuracy/person_pass.h"

#include "bench/accuracy/gated_fit.h"
#include "bench/accuracy/pass_touches.h"

PassOutcome RunPersonPass(const PassLayout& layout, const SensorParameters& sensor,
                          const SimulatedPerson& person, const ScreenRect& screen,
                          const PanelSize& panel) {
    const PassTouching touching{sensor, person, {}, screen, panel};
    CalibrationConfig c = *layout.Config;
    ControllerParameters parameters = layout.Parameters;
    TouchTargets(touching, c);
    PassOutcome outcome;
    const GatedFit gated = FitTouchedPass(c, parameters, screen);
    if (!gated.Sound()) {
        outcome.Refused = true;
        return outcome;
    }
    outcome.Zones = TrueError(touching, *gated.Fit, c);
    return outcome;
}
