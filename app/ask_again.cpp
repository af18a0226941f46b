// Asking again for the touches the judge names, one at a time, worst first, within bounds.
#include "app/ask_again.h"

#include <algorithm>
#include <cmath>

#include "app/misclick_check.h"
#include "fit/fit_gate.h"

namespace {

// A touch repeated where it was is kept only when it moves the mapping at its own place by no
// more than the touch-display requirement (the leverage times its deleted residual).
constexpr double kRequirementMm = 1.0;

// How far a judged touch pulls the mapping at its own place.
double PullMm(const TouchJudgement& judgement, int32_t target) {
    for (const TouchFigures& f : judgement.Touches)
        if (f.Index == target - 1) return f.Judged ? f.Leverage * f.DeletedMm : 0.0;
    return 0.0;
}

RawPoint RawOf(const TouchEntry& e) { return RawPoint{e.V, e.W}; }

}  // namespace

void AskAgain::Start(const AskAgainSettings& settings) {
    settings_ = settings;
    asking_ = 0;
    asked_.clear();
    kept_.clear();
    named_.clear();
    partners_.clear();
    judgedOnce_ = false;
}

JudgeInput AskAgain::InputOf(const CalibrationArea& area,
                             const std::vector<TouchEntry>& touches) const {
    JudgeInput input;
    input.Model = settings_.Model;
    input.Order = settings_.Order;
    input.Terms = settings_.Terms;
    input.FloorMm = settings_.FloorMm;
    input.Scale =
        GlassScaleFor(settings_.ScreenWidthMm, settings_.ScreenHeightMm, area.Width, area.Height);
    const size_t count = std::min(touches.size(), area.Targets.size());
    for (size_t i = 0; i < count; ++i) {
        const bool grid = i < size_t(settings_.GridPointCount);
        const size_t slot = i - size_t(settings_.GridPointCount);
        if (!grid && (slot >= size_t(kMiniTargetSlots) || !settings_.MiniTargetEnabled[slot]))
            continue;
        const AreaTarget& t = area.Targets[i];
        JudgedTarget judged{int32_t(i), RawOf(touches[i]),
                            ScreenPoint{double(t.ScreenX), double(t.ScreenY)}};
        (grid ? input.Grid : input.Minis).push_back(judged);
    }
    return input;
}

// Whether touch lies where an earlier touch of target lay, on the glass through the affine map
// of the grid.
bool AskAgain::AgreesWithEarlier(int32_t target, RawPoint touch, const JudgeInput& input,
                                 double scatterMm) const {
    const auto earlier = asked_.find(target);
    if (earlier == asked_.end()) return false;
    std::vector<RawPoint> raw;
    std::vector<ScreenPoint> screen;
    for (const JudgedTarget& t : input.Grid) raw.push_back(t.Touch), screen.push_back(t.Target);
    AffineTouchMap map;
    if (!map.Fit(raw, screen)) return false;
    const ScreenPoint now = map.Map(touch);
    for (RawPoint before : earlier->second) {
        const ScreenPoint then = map.Map(before);
        if (!TouchedElsewhere(input.Scale.Millimetres(now.X - then.X, now.Y - then.Y), scatterMm))
            return true;
    }
    return false;
}

// The judge's input with target's latest earlier touch in place of its new one.
JudgeInput AskAgain::WithEarlier(const JudgeInput& input, int32_t target) const {
    JudgeInput earlier = input;
    const auto before = asked_.find(target);
    if (before == asked_.end() || before->second.empty()) return earlier;
    for (JudgedTarget& t : earlier.Grid)
        if (t.Index == target - 1) t.Touch = before->second.back();
    return earlier;
}

AskDecision AskAgain::AskOrRefuse(int32_t target, const CalibrationArea& area,
                                  const std::vector<TouchEntry>& touches) {
    AskDecision decision;
    decision.Target = target;
    std::vector<RawPoint>& earlier = asked_[target];
    const bool tooMany = earlier.size() >= size_t(kMaxExtraTouches) ||
                         (earlier.empty() && asked_.size() > size_t(kMaxAskedTargets));
    if (tooMany) {
        const AreaTarget& t = area.Targets[size_t(target) - 1];
        decision.Step = AskStep::Refuse;
        decision.Region = PlaceOnArea(t.ScreenX, t.ScreenY, area.Width, area.Height);
        asking_ = 0;
        return decision;
    }
    earlier.push_back(RawOf(touches[size_t(target) - 1]));
    decision.Step = AskStep::Ask;
    asking_ = target;
    return decision;
}

AskDecision AskAgain::Decide(const CalibrationArea& area, const std::vector<TouchEntry>& touches) {
    AskDecision finish;
    if (!settings_.Enabled) return finish;
    const JudgeInput input = InputOf(area, touches);
    const TouchJudgement judgement = JudgeTouches(input);
    const bool bounded = settings_.MaxScatterMm > 0.0;
    if (!judgement.Judged || (bounded && !(judgement.ScatterMm <= settings_.MaxScatterMm))) {
        asking_ = 0;
        return finish;  // nothing to judge by, or the gate refuses the scatter itself
    }
    if (!judgedOnce_)
        for (int32_t index : judgement.Suspects) named_.insert(index + 1);
    judgedOnce_ = true;
    const auto named = [&](int32_t target) {
        return std::find(judgement.Suspects.begin(), judgement.Suspects.end(), target - 1) !=
               judgement.Suspects.end();
    };
    if (asking_ != 0) {
        const int32_t target = asking_;
        asking_ = 0;
        const RawPoint now = RawOf(touches[size_t(target) - 1]);
        const bool repeated = AgreesWithEarlier(target, now, input, judgement.ScatterMm);
        // Touched elsewhere now, the earlier touch was a miss, and the judgement that named it
        // leaned on it: a neighbour missed the same way (a slanted stylus, parallax) hid behind
        // it. What the judgement without the miss names is asked too, and so are the neighbours
        // that the fit without the two misses the same way as the miss.
        if (!repeated) {
            for (int32_t index : judgement.Suspects) named_.insert(index + 1);
            for (int32_t index :
                 PartnersOfMiss(WithEarlier(input, target), target - 1, judgement.ScatterMm))
                partners_.insert(index + 1);
        }
        if (named(target)) {
            // Repeated the same way, it still disagrees with the model: asked within its limit,
            // unless the mapping with it stays within the requirement.
            if (!repeated || PullMm(judgement, target) > kRequirementMm)
                return AskOrRefuse(target, area, touches);
            kept_.insert(target);
        }
    }
    // Otherwise only the first judgement's suspects are asked: a touch taken again where it was
    // is a fresh chance for an honest touch to look unlikely, not a reason to doubt the others.
    for (int32_t index : judgement.Suspects)
        if (named_.count(index + 1) != 0 && kept_.count(index + 1) == 0)
            return AskOrRefuse(index + 1, area, touches);
    // A miss's partners are asked once each: touched again, they speak for themselves.
    for (int32_t partner : partners_)
        if (asked_.count(partner) == 0) return AskOrRefuse(partner, area, touches);
    return finish;
}
