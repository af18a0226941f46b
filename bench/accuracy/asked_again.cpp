// The window's asking again, as a bench sees it.
#include "bench/accuracy/asked_again.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "fit/touch_judge.h"

AskedTouching AskSuspectsAgain(const PassTouching& touching, CalibrationConfig& c,
                               const ControllerParameters& parameters) {
    AskedTouching asked{touching};
    std::vector<BadTouch>& bad = asked.Touching.Bad;
    std::set<int32_t> targets;  // every target named so far
    for (int round = 0; round < kMaxAskedTargets; ++round) {
        TouchTargets(asked.Touching, c);
        const JudgeInput input =
            JudgeInputFor(c, parameters, touching.Screen.width, touching.Screen.height);
        const TouchJudgement judged = JudgeTouches(input);
        std::vector<int32_t> s = judged.Suspects;
        bool moved = false;
        // A bad touch named is touched again as aimed; where that is elsewhere to the window, the
        // miss is confirmed and its partners are asked too.
        for (const BadTouch& b : bad) {
            const bool named = std::find(s.begin(), s.end(), int32_t(b.Target)) != s.end();
            if (!named || !TouchedElsewhere(std::hypot(b.DxMm, b.DyMm), judged.ScatterMm)) continue;
            moved = true;
            for (int32_t partner : PartnersOfMiss(input, int32_t(b.Target), judged.ScatterMm))
                if (std::find(s.begin(), s.end(), partner) == s.end()) s.push_back(partner);
        }
        asked.AnyNamed = asked.AnyNamed || !s.empty();
        targets.insert(s.begin(), s.end());
        asked.TooMany = asked.TooMany || targets.size() > size_t(kMaxAskedTargets);
        const size_t before = bad.size();
        std::erase_if(bad, [&](const BadTouch& b) {
            return std::find(s.begin(), s.end(), int32_t(b.Target)) != s.end();
        });
        asked.BadNamed += int(before - bad.size());
        if (!moved || bad.empty()) break;  // no miss confirmed: nothing more is asked
    }
    TouchTargets(asked.Touching, c);
    return asked;
}
