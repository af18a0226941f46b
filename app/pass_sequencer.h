// The state of the calibration passes and the rules that move it, shared safely between the
// dialog thread and the worker thread of the running pass.
//
// Ownership: every change of the pass state, of the area list and of the stored touches goes
// through this type under its lock. Each pass has a token; stopping a pass (Accept, Retry, the
// end routine) voids its token, after which its worker can change nothing: a call with a stale
// token does nothing and tells the worker to leave. A fit and its commit run outside the lock
// on the worker; while one is in progress the worker may read the area list and the
// configuration, and Accept, Retry and the end routine first wait (bounded) for it to finish.
// The type never calls the platform or the driver: counts from the driver come in as values and
// the outcomes say what the dialog has to do.
//
// Wiring. Worker: before each driver touch call, wait while WaitsForDrawing (the dialog reports
// each target it draws through TargetShown); after each driver touch, HandleTouch with its token;
// Stale -> leave without touching anything; TooEarly -> drop it and ask again; Refused -> beep,
// post a repaint (the hint) and ask again; AskAgain -> post a repaint and ask the driver again
// (a target shown again after the last one); Repaint -> post a repaint; RunFit -> fit, judge and
// commit, FinishFit, post "finished" (the dialog shows the buttons and restores the cursor). A
// cancelled first touch posts its token; the dialog answers with EndAfterCancelledFirstTouch.
// Dialog: Accept, Retry and End return Busy while a fit outlasts the wait (repeat on the "finished"
// message); any other stopping result means: signal the worker's stop event, release its blocked
// driver call, join it with a bound, then StartPass (StartNextArea, StayOnArea) or end (EndDialog).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "app/area_list.h"
#include "app/ask_again.h"
#include "app/misclick_check.h"
#include "app/pass_countdown.h"
#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/check_report.h"
#include "fit/check_round.h"
#include "fit/fit_gate.h"

using PassClock = std::chrono::steady_clock;

// The fixed facts of every pass, from start-up.
struct PassSettings {
    int32_t TargetCount = 0;
    int32_t GridPointCount = 0;
    int32_t TouchesToCollect = 0;
    bool SimulateMode = false;
    bool MiniTargetEnabled[kMiniTargetSlots] = {};
    bool ExplicitTarget = false;  // a monitor or screen was named on the command line
    int32_t CountdownLength = kDefaultCountdownSeconds;
    double MisclickTolerance = 0.0;  // share of the smaller grid step; 0: no misclick check
    double ControllerSpan = 4095.0;  // |ControllerMax - ControllerMin|, for nominal distances
    AskAgainSettings Judge;          // after the last touch; off unless enabled
    int32_t CheckTargets = 0;        // touches asked after a sound fit, before the commit
};

// The judge after the last touch: the model of the fit, the glass size and the bounds.
AskAgainSettings JudgeSettingsFor(const CalibrationConfig& config,
                                  const ControllerParameters& parameters);

// The settings of a configuration and its controller parameters (TouchesToCollect = grid points
// + enabled mini targets).
PassSettings PassSettingsFor(const CalibrationConfig& config,
                             const ControllerParameters& parameters, bool explicitTarget,
                             int32_t countdownLength);

// Identifies one pass; 0 is no pass.
using PassToken = uint64_t;

// One touch as the worker delivers it: controller units and the diagnostics the rules read.
struct TouchInput {
    int32_t V = 0;
    int32_t W = 0;
    char ControllerType = 0;
    int32_t PassEndWord = 0;
    PassClock::time_point At{};  // when the driver returned it
};

enum class TouchOutcome {
    Stale,     // the pass was stopped: nothing was changed, the worker leaves
    TooEarly,  // its target was not on screen for a reaction time: dropped, the worker asks again
    Refused,   // meant for another spot: not stored, the target stays, the hint is shown
    AskAgain,  // stored; a touch disagrees with the others: its target shows again, asked anew
    Repaint,   // stored and advanced: the dialog shows the next target (or a refused pass)
    RunFit,    // the pass is finished: the worker fits and commits, then calls FinishFit
    CheckDue,  // a check target is shown (the next or the same again): the worker asks its touch
    Refit,     // a check confirmed a miss: the worker fits again with the check touches
    CommitChecked,  // every check passed: the worker commits, then calls FinishFit
};

struct TouchResult {
    TouchOutcome Outcome = TouchOutcome::Stale;
    int32_t AreaWidth = 0;  // of the current area, for the fit (RunFit only)
    int32_t AreaHeight = 0;
    bool AfterRefusals = false;  // stored as the third consistent touch of refused ones
    bool ChecksRefused = false;  // a check's miss was confirmed past the refits: refused
};

enum class TimerOutcome { ShowCountdown, Escape };
struct TimerTick {
    TimerOutcome Outcome = TimerOutcome::ShowCountdown;
    int32_t Seconds = 0;  // to show (ShowCountdown)
};

// What the dialog does after Accept, Retry or the end routine.
enum class PassAction {
    Busy,           // a fit is still in progress after the wait: nothing changed, try again later
    Ignored,        // the request came from a pass that is no longer running
    StartNextArea,  // the pass-start routine for the next area
    StayOnArea,     // the pass-start routine on the same area
    EndDialog,      // kill the timer, restore the cursor, end the dialog with 1
};

// A started pass: its token and the area and monitor it covers.
struct PassStart {
    PassToken Token = 0;
    CalibrationArea* Area = nullptr;
    int32_t Monitor = 0;
};

// What the paint and timer handlers show.
struct PassView {
    int32_t CurrentTarget = 1;
    bool CollectingTouches = true;
    bool CalibrationDone = false;
    bool FitInProgress = false;
    bool FitRefused = false;         // the last fit wrote nothing; the driver keeps its calibration
    bool UnexpectedFailure = false;  // refused because its fit, judgement or commit threw
    bool MisclickHint = false;       // the last touch was refused as meant for another spot
    bool AskingAgain = false;        // the current target is shown again: its touch disagreed
    int32_t AskCount = 0;            // targets asked again so far in this run (a new one: redraw)
    int32_t AskedThisPass = 0;       // targets of this pass asked again
    FitJudgement Judgement;          // of the last fit (figures shown, or the reason of a refusal)
    bool Checking = false;           // a check target is shown at CheckAt
    int32_t CheckTarget = 0;         // the check shown, numbered in the pass (a repeat: a new one)
    ScreenPoint CheckAt;             // pixels of the area
    bool CheckingAgain = false;      // the check's touch was beyond its bound: asked again
    std::vector<double> CheckMissesMm;  // of the checks that passed, in the order asked
    double CheckFailedMm = 0.0;         // the confirmed miss of a pass refused by its checks
    int32_t CheckRefits = 0;
    int32_t CountdownSeconds = kDefaultCountdownSeconds;
    int32_t CancelCount = 0;
};

// The buttons a state shows: Retry once a pass is finished, Accept only when its record was
// written.
inline bool ShowsRetry(const PassView& view) { return view.CalibrationDone; }
inline bool ShowsAccept(const PassView& view) { return view.CalibrationDone && !view.FitRefused; }

class PassSequencer {
  public:
    explicit PassSequencer(const PassSettings& settings);
    PassSequencer(const PassSequencer&) = delete;
    PassSequencer& operator=(const PassSequencer&) = delete;

    const PassSettings& Settings() const { return settings_; }

    // Dialog thread. The first pass, on the area start-up chose.
    PassToken StartFirstPass(const CalibrationAreaList& areas);
    // The pass-start routine: the monitor and area of the next pass (or the same, when staying),
    // then a fresh pass at target 1. The caller clears the driver's pending touches, moves the
    // window, hides the buttons and the cursor, sets the timer and starts the worker with the
    // token.
    PassStart StartPass(CalibrationAreaList& areas, bool stayOnArea, int32_t driverMonitorCount);

    // One second of the countdown; at 0 it starts again and the dialog simulates Esc.
    TimerTick Tick();

    // Accept, Retry and the end routine stop the running pass first, after waiting up to fitWait
    // for a fit in progress. The caller then releases the worker's blocked driver call and joins
    // it.
    PassAction Accept(CalibrationAreaList& areas, int32_t touchScreenCount,
                      std::chrono::milliseconds fitWait);
    PassAction Retry(std::chrono::milliseconds fitWait);
    PassAction End(const CalibrationAreaList& areas, int32_t touchScreenCount,
                   int32_t driverMonitorCount, std::chrono::milliseconds fitWait);
    // The end routine for a pass whose first touch call was cancelled: Ignored when that pass is
    // no longer running.
    PassAction EndAfterCancelledFirstTouch(PassToken token, const CalibrationAreaList& areas,
                                           int32_t touchScreenCount, int32_t driverMonitorCount,
                                           std::chrono::milliseconds fitWait);

    // Dialog thread: the window has drawn target (the first drawing of it counts).
    void TargetShown(int32_t target, PassClock::time_point at);

    // Worker thread. Handles one touch of pass token.
    TouchResult HandleTouch(PassToken token, const TouchInput& touch, CalibrationAreaList& areas,
                            std::vector<TouchEntry>& touches);
    // Ends the fit HandleTouch asked for: the pass shows its result, with the gate's judgement.
    // False for a stale token.
    bool FinishFit(PassToken token, bool committed, const FitJudgement& judgement = {});
    // Ends the fit HandleTouch asked for as refused by an unexpected failure (something in the
    // fit, its judgement or the commit threw): nothing was written. False for a stale token.
    bool FailFit(PassToken token);
    // After a sound fit (RunFit or Refit): the pass asks the round's check targets before its
    // commit. False (nothing changed) for a stale token or a round without places.
    bool BeginChecks(PassToken token, const CheckRound& round);
    // Dialog thread: the window has drawn check target check (PassView::CheckTarget).
    void CheckShown(int32_t check, PassClock::time_point at);
    // The check touches kept or confirmed in the pass, for a refit.
    std::vector<CheckTouch> CheckTouchesToJoin() const;
    // The refusal a confirmed check miss stands for, naming its place: for a refit the gate does
    // not pass.
    FitJudgement CheckMissJudgement() const;
    // What became of the pass's check touches, for its report.
    CheckSummary ChecksOfPass() const;
    // Every place checked in the pass, for the next round to keep away from.
    std::vector<CheckPlace> CheckedPlaces() const;
    // True while the running pass's current target is not drawn yet: the worker must not ask
    // the driver for its touch.
    bool WaitsForDrawing(PassToken token) const;

    // Any thread.
    PassView View() const;
    // The token of the running pass; 0 between passes.
    PassToken RunningToken() const;

  private:
    using Lock = std::unique_lock<std::mutex>;
    bool StopAfterFit(Lock& lock, std::chrono::milliseconds fitWait);
    bool EndFit(PassToken token, bool committed, const FitJudgement& judgement,
                bool unexpectedFailure);
    PassAction EndLocked(const CalibrationAreaList& areas, int32_t touchScreenCount,
                         int32_t driverMonitorCount);
    PassToken BeginLocked(const CalibrationAreaList& areas);
    bool OnTargetLocked() const;
    bool CheckedLocked(const TouchInput& touch) const;
    void StoreTouch(const TouchInput& touch, CalibrationAreaList& areas,
                    std::vector<TouchEntry>& touches);
    TouchOutcome JudgeFinishedLocked(const CalibrationAreaList& areas,
                                     const std::vector<TouchEntry>& touches);
    TouchResult HandleCheckLocked(const TouchInput& touch);
    void ShowCheckLocked();
    void RefuseAfterChecksLocked();
    FitJudgement CheckMissLocked() const;

    const PassSettings settings_;
    mutable std::mutex mutex_;
    std::condition_variable fitFinished_;
    PassToken running_ = 0;
    PassToken lastToken_ = 0;
    PassView state_;
    MisclickCheck check_;
    AskAgain ask_;
    bool judged_ = false;  // the judge ran on this pass: the touches of a redo change nothing
    CheckTouches checks_;
    CheckRound round_;
    int32_t shownCheck_ = 0;
    int32_t shownTarget_ = 0;
    PassClock::time_point shownAt_{};
};
