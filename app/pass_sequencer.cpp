// The state of the calibration passes and the rules that move it, under one lock.
#include "app/pass_sequencer.h"

#include <algorithm>
#include <cmath>

#include "app/pass_rules.h"
#include "fit/calibration_fit.h"

namespace {

ScreenPoint TargetAt(const CalibrationAreaList& areas, int32_t target) {
    const CalibrationArea* area = areas.Current;
    if (area == nullptr || target < 1 || size_t(target) > area->Targets.size()) return {};
    const AreaTarget& t = area->Targets[size_t(target) - 1];
    return ScreenPoint{double(t.ScreenX), double(t.ScreenY)};
}

// The judge's settings on the current area: the area's glass size when it has one.
AskAgainSettings JudgeOnArea(const AskAgainSettings& judge, const CalibrationAreaList& areas) {
    AskAgainSettings onArea = judge;
    const CalibrationArea* area = areas.Current;
    if (area != nullptr && area->Glass.WidthMm > 0.0 && area->Glass.HeightMm > 0.0) {
        onArea.ScreenWidthMm = area->Glass.WidthMm;
        onArea.ScreenHeightMm = area->Glass.HeightMm;
    }
    return onArea;
}

// The tolerance of the area's targets and the nominal counts per pixel of its controller.
MisclickSettings CheckSettingsFor(const PassSettings& s, const CalibrationAreaList& areas) {
    const CalibrationArea* area = areas.Current;
    if (area == nullptr) return MisclickSettings();
    std::vector<ScreenPoint> grid, minis;
    for (int32_t t = 1; t <= s.GridPointCount; ++t) grid.push_back(TargetAt(areas, t));
    for (int32_t k = 1; k <= kMiniTargetSlots; ++k)
        if (s.MiniTargetEnabled[k - 1]) minis.push_back(TargetAt(areas, s.GridPointCount + k));
    const int32_t side = std::max(area->Width, area->Height);
    const AskAgainSettings judge = JudgeOnArea(s.Judge, areas);
    const GlassScale scale =
        GlassScaleFor(judge.ScreenWidthMm, judge.ScreenHeightMm, area->Width, area->Height);
    return MisclickSettingsFor(s.MisclickTolerance, grid, minis, scale,
                               side > 0 ? s.ControllerSpan / side : 0.0);
}

}  // namespace

AskAgainSettings JudgeSettingsFor(const CalibrationConfig& config,
                                  const ControllerParameters& parameters) {
    AskAgainSettings judge;
    judge.Enabled = !config.Simulate;
    judge.Model = IsLaplaceModel(config.ModelKind) ? JudgeModel::Harmonic : JudgeModel::Polynomial;
    judge.Order = int32_t(config.PolynomialOrder);
    judge.Terms = FitTerms(config.FitTerms);
    judge.ScreenWidthMm = parameters.ScreenWidth;
    judge.ScreenHeightMm = parameters.ScreenHeight;
    judge.FloorMm = config.SuspectFloor;
    judge.MaxScatterMm = config.MaxTouchScatter;
    judge.GridPointCount = int32_t(config.NumGridPoints);
    std::copy(std::begin(config.MiniTargetEnabled), std::end(config.MiniTargetEnabled),
              judge.MiniTargetEnabled);
    return judge;
}

PassSettings PassSettingsFor(const CalibrationConfig& config,
                             const ControllerParameters& parameters, bool explicitTarget,
                             int32_t countdownLength) {
    PassSettings settings;
    settings.TargetCount = static_cast<int32_t>(config.TargetCount);
    settings.GridPointCount = static_cast<int32_t>(config.NumGridPoints);
    settings.TouchesToCollect = config.MiniTargetCount + settings.GridPointCount;
    settings.SimulateMode = config.Simulate;
    std::copy(std::begin(config.MiniTargetEnabled), std::end(config.MiniTargetEnabled),
              settings.MiniTargetEnabled);
    settings.ExplicitTarget = explicitTarget;
    settings.CountdownLength = countdownLength;
    settings.MisclickTolerance = config.MisclickTolerance;
    settings.ControllerSpan =
        std::fabs(double(parameters.ControllerMax) - double(parameters.ControllerMin));
    settings.Judge = JudgeSettingsFor(config, parameters);
    settings.CheckTargets = config.Simulate ? 0 : config.CheckTargets;
    return settings;
}

PassSequencer::PassSequencer(const PassSettings& settings) : settings_(settings) {
    state_.CountdownSeconds = settings_.CountdownLength;
}

PassToken PassSequencer::BeginLocked(const CalibrationAreaList& areas) {
    state_.CollectingTouches = true;
    state_.CalibrationDone = false;
    state_.FitRefused = false;
    state_.UnexpectedFailure = false;
    state_.MisclickHint = false;
    state_.AskingAgain = false;
    state_.AskedThisPass = 0;
    state_.Judgement = FitJudgement();
    shownTarget_ = 0;
    check_.Start(CheckSettingsFor(settings_, areas));
    ask_.Start(JudgeOnArea(settings_.Judge, areas));
    judged_ = false;
    checks_.Start(settings_.CheckTargets);
    round_ = CheckRound();
    shownCheck_ = 0;
    state_.Checking = false;
    state_.CheckingAgain = false;
    state_.CheckMissesMm.clear();
    state_.CheckFailedMm = 0.0;
    state_.CheckRefits = 0;
    state_.CountdownSeconds = settings_.CountdownLength;
    state_.CurrentTarget = 1;
    running_ = ++lastToken_;
    return running_;
}

PassToken PassSequencer::StartFirstPass(const CalibrationAreaList& areas) {
    Lock lock(mutex_);
    return BeginLocked(areas);
}

PassStart PassSequencer::StartPass(CalibrationAreaList& areas, bool stayOnArea,
                                   int32_t driverMonitorCount) {
    Lock lock(mutex_);
    PassStart start;
    if (state_.FitInProgress) return start;  // only after Accept, Retry or the end routine
    start.Monitor = ChoosePassMonitor(areas.CurrentMonitor, driverMonitorCount, stayOnArea);
    start.Area = SelectMonitorArea(areas, start.Monitor);
    start.Token = BeginLocked(areas);
    return start;
}

TimerTick PassSequencer::Tick() {
    Lock lock(mutex_);
    TimerTick tick;
    state_.CountdownSeconds -= 1;
    if (state_.CountdownSeconds <= 0) {
        state_.CountdownSeconds = settings_.CountdownLength;
        tick.Outcome = TimerOutcome::Escape;
        return tick;
    }
    tick.Seconds = state_.CountdownSeconds;
    return tick;
}

bool PassSequencer::StopAfterFit(Lock& lock, std::chrono::milliseconds fitWait) {
    if (!fitFinished_.wait_for(lock, fitWait, [this] { return !state_.FitInProgress; }))
        return false;
    running_ = 0;
    return true;
}

PassAction PassSequencer::Accept(CalibrationAreaList& areas, int32_t touchScreenCount,
                                 std::chrono::milliseconds fitWait) {
    Lock lock(mutex_);
    if (!fitFinished_.wait_for(lock, fitWait, [this] { return !state_.FitInProgress; }))
        return PassAction::Busy;
    // Accept belongs to a finished pass (its button is shown only then).
    if (!state_.CalibrationDone || areas.Current == nullptr) return PassAction::Ignored;
    StopAfterFit(lock, fitWait);
    if (areas.Current->Calibrated != 0) DuplicateCurrentArea(areas);
    CalibrationArea& area = *areas.Current;
    const size_t shared = std::min(areas.Targets.size(), area.Targets.size());
    for (size_t i = 0; i < shared; ++i) {
        area.Targets[i].RawV = areas.Targets[i].RawV;
        area.Targets[i].RawW = areas.Targets[i].RawW;
    }
    area.Calibrated = 1;
    area.ScreenNumber = areas.ScreenCounter;
    areas.ScreenCounter += 1;
    areas.AcceptedCount += 1;
    if (areas.AcceptedCount == touchScreenCount || settings_.ExplicitTarget)
        return PassAction::EndDialog;
    return PassAction::StartNextArea;
}

PassAction PassSequencer::Retry(std::chrono::milliseconds fitWait) {
    Lock lock(mutex_);
    if (!StopAfterFit(lock, fitWait)) return PassAction::Busy;
    state_.CalibrationDone = false;
    return PassAction::StayOnArea;
}

PassAction PassSequencer::EndLocked(const CalibrationAreaList& areas, int32_t touchScreenCount,
                                    int32_t driverMonitorCount) {
    state_.CancelCount += 1;
    running_ = 0;
    state_.CalibrationDone = false;
    const int32_t calibrated = areas.Current != nullptr ? areas.Current->Calibrated : 0;
    const bool due =
        IsDueToEnd(calibrated, state_.CancelCount, touchScreenCount, driverMonitorCount);
    if (!settings_.ExplicitTarget && !due && state_.CurrentTarget <= settings_.TargetCount)
        return PassAction::StartNextArea;
    return PassAction::EndDialog;
}

PassAction PassSequencer::End(const CalibrationAreaList& areas, int32_t touchScreenCount,
                              int32_t driverMonitorCount, std::chrono::milliseconds fitWait) {
    Lock lock(mutex_);
    if (!StopAfterFit(lock, fitWait)) return PassAction::Busy;
    return EndLocked(areas, touchScreenCount, driverMonitorCount);
}

PassAction PassSequencer::EndAfterCancelledFirstTouch(PassToken token,
                                                      const CalibrationAreaList& areas,
                                                      int32_t touchScreenCount,
                                                      int32_t driverMonitorCount,
                                                      std::chrono::milliseconds fitWait) {
    Lock lock(mutex_);
    if (token == 0 || token != running_) return PassAction::Ignored;
    if (!StopAfterFit(lock, fitWait)) return PassAction::Busy;
    return EndLocked(areas, touchScreenCount, driverMonitorCount);
}

void PassSequencer::StoreTouch(const TouchInput& touch, CalibrationAreaList& areas,
                               std::vector<TouchEntry>& touches) {
    const int32_t target = state_.CurrentTarget;
    if (settings_.TargetCount <= 3) {
        if (target >= 1 && size_t(target) <= areas.Targets.size()) {
            areas.Targets[target - 1].RawV = touch.V;
            areas.Targets[target - 1].RawW = touch.W;
        }
        return;
    }
    if (settings_.SimulateMode) return;
    if (target >= 1 && target <= settings_.TargetCount && size_t(target) <= touches.size())
        touches[target - 1] = TouchEntry{target, double(touch.V), double(touch.W)};
}

bool PassSequencer::OnTargetLocked() const {
    return state_.CollectingTouches && state_.CurrentTarget >= 1 &&
           state_.CurrentTarget <= settings_.TargetCount;
}

// Simulated touches are the configuration's, and a type '7' controller is not checked.
bool PassSequencer::CheckedLocked(const TouchInput& touch) const {
    return OnTargetLocked() && !settings_.SimulateMode &&
           touch.ControllerType != kSingleTouchControllerType;
}

void PassSequencer::TargetShown(int32_t target, PassClock::time_point at) {
    Lock lock(mutex_);
    if (running_ == 0 || !OnTargetLocked() || target != state_.CurrentTarget ||
        shownTarget_ == target)
        return;
    shownTarget_ = target;
    shownAt_ = at;
}

bool PassSequencer::WaitsForDrawing(PassToken token) const {
    Lock lock(mutex_);
    if (token == 0 || token != running_) return false;
    if (state_.Checking) return shownCheck_ != state_.CheckTarget;
    return OnTargetLocked() && shownTarget_ != state_.CurrentTarget;
}

void PassSequencer::CheckShown(int32_t check, PassClock::time_point at) {
    Lock lock(mutex_);
    if (running_ == 0 || !state_.Checking || check != state_.CheckTarget || shownCheck_ == check)
        return;
    shownCheck_ = check;
    shownAt_ = at;
}

bool PassSequencer::BeginChecks(PassToken token, const CheckRound& round) {
    Lock lock(mutex_);
    if (token == 0 || token != running_ || round.Places.empty() || checks_.Count() == 0)
        return false;
    round_ = round;
    checks_.Plan(round.Places, round.ScatterMm, round.PixelMm);
    state_.FitInProgress = false;
    state_.Checking = true;
    state_.CollectingTouches = true;
    state_.CountdownSeconds = settings_.CountdownLength;
    ShowCheckLocked();
    lock.unlock();
    fitFinished_.notify_all();
    return true;
}

// The current check place on screen, as a new check target (a repeat dwells and is drawn anew).
void PassSequencer::ShowCheckLocked() {
    const CheckPlace* place = checks_.Current();
    if (place == nullptr) return;
    state_.CheckTarget += 1;
    state_.CheckAt = ScreenPoint{place->Fx * round_.AreaWidth, place->Fy * round_.AreaHeight};
    state_.CheckingAgain = checks_.AskingAgain();
}

std::vector<CheckTouch> PassSequencer::CheckTouchesToJoin() const {
    Lock lock(mutex_);
    return checks_.Joining();
}

std::vector<CheckPlace> PassSequencer::CheckedPlaces() const {
    Lock lock(mutex_);
    return checks_.Used();
}

CheckSummary PassSequencer::ChecksOfPass() const {
    Lock lock(mutex_);
    CheckSummary summary;
    const std::vector<CheckTouch>& kept = checks_.Joining();
    const size_t passed = checks_.Misses().size();
    if (passed <= kept.size()) summary.Passed.assign(kept.end() - ptrdiff_t(passed), kept.end());
    summary.Refused = state_.FitRefused && state_.Judgement.Verdict == FitVerdict::CheckMissed;
    summary.Failure = checks_.Failure();
    summary.Region = state_.Judgement.Region;
    summary.Refits = checks_.Refits();
    summary.Slips = checks_.Slips();
    return summary;
}

FitJudgement PassSequencer::CheckMissJudgement() const {
    Lock lock(mutex_);
    return CheckMissLocked();
}

FitJudgement PassSequencer::CheckMissLocked() const {
    const CheckPlace& place = checks_.Failure().Place;
    FitJudgement judgement;
    judgement.Verdict = FitVerdict::CheckMissed;
    judgement.Region = PlaceOnArea(place.Fx * round_.AreaWidth, place.Fy * round_.AreaHeight,
                                   round_.AreaWidth, round_.AreaHeight);
    return judgement;
}

void PassSequencer::RefuseAfterChecksLocked() {
    state_.CollectingTouches = false;
    state_.CalibrationDone = true;
    state_.FitRefused = true;
    state_.Judgement = CheckMissLocked();
}

// A touch of the check target shown: kept, asked again, or the end of the round.
TouchResult PassSequencer::HandleCheckLocked(const TouchInput& touch) {
    TouchResult result;
    if (shownCheck_ != state_.CheckTarget || touch.At - shownAt_ < kReactionTime) {
        result.Outcome = TouchOutcome::TooEarly;
        return result;
    }
    state_.CountdownSeconds = settings_.CountdownLength;
    const RawPoint raw{double(touch.V), double(touch.W)};
    CheckMiss miss{HUGE_VAL, 0.0};  // a touch the record cannot map misses by any bound
    MissOfCheck(round_.Record, round_.AreaWidth, round_.AreaHeight, round_.Scale,
                *checks_.Current(), raw, miss);
    const CheckStep step = checks_.Take(raw, miss);
    state_.CheckRefits = checks_.Refits();
    if (step == CheckStep::Refit || step == CheckStep::Refuse)
        state_.CheckFailedMm = checks_.Failure().MissMm;
    result.AreaWidth = round_.AreaWidth;
    result.AreaHeight = round_.AreaHeight;
    if (step == CheckStep::Next || step == CheckStep::AskAgain) {
        ShowCheckLocked();
        result.Outcome = TouchOutcome::CheckDue;
        return result;
    }
    state_.Checking = false;
    state_.CheckingAgain = false;
    if (step == CheckStep::Refuse) {
        RefuseAfterChecksLocked();
        result.Outcome = TouchOutcome::Repaint;
        result.ChecksRefused = true;
        return result;
    }
    state_.CollectingTouches = false;
    state_.FitInProgress = true;
    if (step == CheckStep::Passed) state_.CheckMissesMm = checks_.Misses();
    result.Outcome = step == CheckStep::Passed ? TouchOutcome::CommitChecked : TouchOutcome::Refit;
    return result;
}

TouchResult PassSequencer::HandleTouch(PassToken token, const TouchInput& touch,
                                       CalibrationAreaList& areas,
                                       std::vector<TouchEntry>& touches) {
    Lock lock(mutex_);
    TouchResult result;
    if (token == 0 || token != running_) return result;
    if (judged_ && state_.FitRefused && !state_.CollectingTouches) {
        result.Outcome = TouchOutcome::Repaint;  // a redo of a refused pass: nothing to fit
        return result;
    }
    if (state_.Checking) return HandleCheckLocked(touch);
    const int32_t target = state_.CurrentTarget;
    if (OnTargetLocked() && (shownTarget_ != target || touch.At - shownAt_ < kReactionTime)) {
        result.Outcome = TouchOutcome::TooEarly;
        return result;
    }
    const bool checked = CheckedLocked(touch);
    const ScreenPoint at = TargetAt(areas, target);
    const RawPoint raw{double(touch.V), double(touch.W)};
    // A target asked again is judged by the pass's model, not by the misclick check: a touch
    // repeated where it was must reach the judge to be counted.
    if (checked && ask_.Asking() == 0) {
        const double scale = target > settings_.GridPointCount ? check_.MiniScale() : 1.0;
        const MisclickVerdict verdict = check_.Judge(target, at, raw, scale);
        if (verdict == MisclickVerdict::Refuse) {  // the countdown goes on: refusals end too
            state_.MisclickHint = true;
            result.Outcome = TouchOutcome::Refused;
            return result;
        }
        result.AfterRefusals = verdict == MisclickVerdict::StoreConsistent;
        check_.Stored(at, raw);
    }
    state_.CountdownSeconds = settings_.CountdownLength;
    state_.MisclickHint = false;
    const bool judging = checked && settings_.TargetCount > 3 && areas.Current != nullptr;
    StoreTouch(touch, areas, touches);
    state_.CurrentTarget = ask_.Asking() != 0
                               ? settings_.TargetCount + 1
                               : NextTarget(state_.CurrentTarget, settings_.GridPointCount,
                                            settings_.MiniTargetEnabled);
    result.Outcome = TouchOutcome::Repaint;
    if (!IsPassFinished(state_.CurrentTarget, settings_.TargetCount, touch.ControllerType,
                        touch.PassEndWord))
        return result;
    if (judging) {
        result.Outcome = JudgeFinishedLocked(areas, touches);
        if (result.Outcome != TouchOutcome::RunFit) return result;
    }
    state_.AskingAgain = false;
    state_.CollectingTouches = false;
    state_.FitInProgress = true;
    result.Outcome = TouchOutcome::RunFit;
    if (areas.Current != nullptr) {
        result.AreaWidth = areas.Current->Width;
        result.AreaHeight = areas.Current->Height;
    }
    return result;
}

// Every target has its touch: the judge asks a target again, refuses the pass (finished, nothing
// written) or lets it be fitted.
TouchOutcome PassSequencer::JudgeFinishedLocked(const CalibrationAreaList& areas,
                                                const std::vector<TouchEntry>& touches) {
    const AskDecision decision = ask_.Decide(*areas.Current, touches);
    judged_ = true;
    state_.AskedThisPass = ask_.AskedTargets();
    switch (decision.Step) {
        case AskStep::Ask:
            state_.CurrentTarget = decision.Target;
            state_.AskingAgain = true;
            state_.AskCount += 1;
            shownTarget_ = 0;
            return TouchOutcome::AskAgain;
        case AskStep::Refuse:
            state_.AskingAgain = false;
            state_.CollectingTouches = false;
            state_.CalibrationDone = true;
            state_.CurrentTarget = settings_.TargetCount + 1;
            state_.FitRefused = true;
            state_.Judgement = FitJudgement();
            state_.Judgement.Verdict = FitVerdict::TouchesDisagree;
            state_.Judgement.Region = decision.Region;
            return TouchOutcome::Repaint;
        case AskStep::Finish:
            break;
    }
    return TouchOutcome::RunFit;
}

bool PassSequencer::EndFit(PassToken token, bool committed, const FitJudgement& judgement,
                           bool unexpectedFailure) {
    Lock lock(mutex_);
    // Only the running pass can have a fit in progress: stopping waits for it.
    const bool current = token != 0 && token == running_;
    if (current) {
        state_.FitInProgress = false;
        state_.Checking = false;
        state_.CollectingTouches = false;
        state_.CalibrationDone = true;
        state_.CurrentTarget = settings_.TargetCount + 1;
        state_.FitRefused = !committed;
        state_.UnexpectedFailure = unexpectedFailure;
        state_.Judgement = judgement;
    }
    lock.unlock();
    fitFinished_.notify_all();
    return current;
}

bool PassSequencer::FinishFit(PassToken token, bool committed, const FitJudgement& judgement) {
    return EndFit(token, committed, judgement, false);
}

bool PassSequencer::FailFit(PassToken token) { return EndFit(token, false, FitJudgement(), true); }

PassView PassSequencer::View() const {
    Lock lock(mutex_);
    return state_;
}

PassToken PassSequencer::RunningToken() const {
    Lock lock(mutex_);
    return running_;
}
