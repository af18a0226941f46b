// After the last touch of a pass: which target to ask again, whether its new touch is kept, and
// when the pass is refused because touches keep disagreeing.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "app/area_list.h"
#include "fit/touch_judge.h"

// What the judge needs of a pass besides its touches.
struct AskAgainSettings {
    bool Enabled = false;  // off for simulated touches and passes without a usable glass size
    JudgeModel Model = JudgeModel::Polynomial;
    int32_t Order = 3;
    FitTerms Terms = FitTerms::Polynomial;
    double ScreenWidthMm = 0.0, ScreenHeightMm = 0.0;
    double FloorMm = kDefaultSuspectFloorMm;
    double MaxScatterMm = kDefaultMaxTouchScatterMm;  // beyond it the gate refuses: nothing asked
    int32_t GridPointCount = 0;
    bool MiniTargetEnabled[kMiniTargetSlots] = {};
};

enum class AskStep {
    Finish,  // fit and commit the pass as it stands
    Ask,     // show Target again and take a new touch for it
    Refuse,  // touches keep disagreeing: nothing is written; Region says where
};

struct AskDecision {
    AskStep Step = AskStep::Finish;
    int32_t Target = 0;  // 1-based (Ask, Refuse)
    int32_t Region = 0;  // PlaceOnArea of the target (Refuse)
};

class AskAgain {
  public:
    void Start(const AskAgainSettings& settings);
    // Called once every target has its touch, and again after each new touch for the target
    // asked: judges the pass as it stands and says what comes next.
    AskDecision Decide(const CalibrationArea& area, const std::vector<TouchEntry>& touches);
    // The target being asked again (0: none).
    int32_t Asking() const { return asking_; }
    // How many targets of the pass were asked again.
    int32_t AskedTargets() const { return int32_t(asked_.size()); }

  private:
    JudgeInput InputOf(const CalibrationArea& area, const std::vector<TouchEntry>& touches) const;
    bool AgreesWithEarlier(int32_t target, RawPoint touch, const JudgeInput& input,
                           double scatterMm) const;
    JudgeInput WithEarlier(const JudgeInput& input, int32_t target) const;
    AskDecision AskOrRefuse(int32_t target, const CalibrationArea& area,
                            const std::vector<TouchEntry>& touches);

    AskAgainSettings settings_;
    int32_t asking_ = 0;
    std::map<int32_t, std::vector<RawPoint>> asked_;  // target -> its touches before the latest
    std::set<int32_t> kept_;  // touched again where touched before, and within the requirement
    // The only targets asked: the suspects of the pass's first judgement, and of each judgement
    // after a target asked again was touched elsewhere (its earlier touch a miss).
    std::set<int32_t> named_;
    // Neighbours of a confirmed miss that the fit without both misses its way: asked once each.
    std::set<int32_t> partners_;
    bool judgedOnce_ = false;
};
