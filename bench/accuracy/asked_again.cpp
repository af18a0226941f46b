// The window's asking again, as a bench sees it.
#include "bench/accuracy/asked_again.h"

#include <algorithm>

#include "app/area_list.h"
#include "app/ask_again.h"
#include "app/pass_sequencer.h"

namespace {

// More decisions than this cannot come from one pass (three targets, two more touches each).
constexpr int kMostDecisions = 16;

// The area the window shows the configuration's targets on.
CalibrationArea AreaOf(CalibrationConfig& c, const ScreenRect& screen) {
    CalibrationArea area;
    area.Width = screen.width;
    area.Height = screen.height;
    area.Targets.resize(c.Touches.size());
    PlaceAreaTargets(area, c);
    return area;
}

}  // namespace

AskedTouching AskSuspectsAgain(const PassTouching& touching, CalibrationConfig& c,
                               const ControllerParameters& parameters) {
    AskedTouching asked{touching};
    TouchTargets(touching, c);
    AskAgainSettings settings = JudgeSettingsFor(c, parameters);
    settings.Enabled = true;  // the bench's touches are a person's, never simulated keys
    const CalibrationArea area = AreaOf(c, touching.Screen);
    AskAgain ask;
    ask.Start(settings);
    SensorNoise hand(touching.Person.seed + 104729);  // the hand of the touches asked again
    std::vector<BadTouch>& bad = asked.Touching.Bad;
    for (int decision = 0; decision < kMostDecisions; ++decision) {
        const AskDecision d = ask.Decide(area, c.Touches);
        if (d.Step == AskStep::Finish) break;
        if (d.Step == AskStep::Refuse) {
            asked.Refused = true;
            break;
        }
        asked.AnyNamed = true;
        const uint32_t i = uint32_t(d.Target - 1);
        const size_t before = bad.size();
        std::erase_if(bad, [&](const BadTouch& b) { return b.Target == i; });
        asked.BadNamed += int(before - bad.size());
        const RawPoint touch = TouchOfTarget(asked.Touching, c, i, hand);
        c.Touches[i] = TouchEntry{d.Target, touch.V, touch.W};
    }
    return asked;
}
