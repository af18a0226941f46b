// Shared set-up for the pass tests: settings for a grid, an area list with one area per monitor.
#pragma once

#include <initializer_list>
#include <vector>

#include "app/pass_rules.h"
#include "app/pass_sequencer.h"

// A grid of gridPoints targets; the listed mini targets (1..11) enabled.
inline PassSettings GridSettings(int32_t gridPoints, std::initializer_list<int> miniTargets = {}) {
    PassSettings settings;
    settings.GridPointCount = gridPoints;
    settings.TargetCount = gridPoints + (miniTargets.size() != 0 ? kMiniTargetSlots : 0);
    settings.TouchesToCollect = gridPoints + int32_t(miniTargets.size());
    for (int k : miniTargets) settings.MiniTargetEnabled[k - 1] = true;
    return settings;
}

// monitors areas of 800 x 600 side by side, each with targetCount default targets.
inline CalibrationAreaList AreasFor(int32_t monitors, int32_t targetCount) {
    CalibrationAreaList list;
    for (int32_t m = 1; m <= monitors; ++m) {
        CalibrationArea& area = list.Areas.emplace_back();
        area.Left = (m - 1) * 800;
        area.MonitorNumber = m;
        area.Targets.assign(size_t(targetCount), AreaTarget());
    }
    list.AreaCount = monitors;
    list.Current = &list.Areas.front();
    list.Targets.assign(size_t(targetCount), AreaTarget());
    return list;
}

// A touch whose coordinates name the target it was made on.
inline TouchInput TouchOn(int32_t target) {
    return TouchInput{1000 + target, 2000 + target, '0', 0};
}

// When the window drew a target, and a touch a reaction time after it.
inline constexpr PassClock::time_point kDrawnAt{std::chrono::hours(1)};

// A touch of the pass's current target as a person makes it: the window drew the target, and the
// touch comes a reaction time later.
inline TouchResult TouchSeen(PassSequencer& passes, PassToken token, TouchInput touch,
                             CalibrationAreaList& areas, std::vector<TouchEntry>& touches) {
    passes.TargetShown(passes.View().CurrentTarget, kDrawnAt);
    touch.At = kDrawnAt + kReactionTime;
    return passes.HandleTouch(token, touch, areas, touches);
}
