// The window's asking again, as a bench sees it.
#include "bench/accuracy/asked_again.h"

#include <algorithm>
#include <set>

#include "fit/touch_judge.h"

AskedTouching AskSuspectsAgain(const PassTouching& touching, CalibrationConfig& c,
                               const ControllerParameters& parameters) {
    AskedTouching asked{touching};
    std::vector<BadTouch>& bad = asked.Touching.Bad;
    std::set<int32_t> targets;  // every target named so far
    for (int round = 0; round < kMaxAskedTargets; ++round) {
        TouchTargets(asked.Touching, c);
        const TouchJudgement judged = JudgeTouches(
            JudgeInputFor(c, parameters, touching.Screen.width, touching.Screen.height));
        const auto& s = judged.Suspects;
        asked.AnyNamed = asked.AnyNamed || !s.empty();
        targets.insert(s.begin(), s.end());
        asked.TooMany = asked.TooMany || targets.size() > size_t(kMaxAskedTargets);
        const size_t before = bad.size();
        std::erase_if(bad, [&](const BadTouch& b) {
            return std::find(s.begin(), s.end(), int32_t(b.Target)) != s.end();
        });
        asked.BadNamed += int(before - bad.size());
        if (bad.size() == before || bad.empty()) break;  // nothing moved: nothing judged anew
    }
    TouchTargets(asked.Touching, c);
    return asked;
}
