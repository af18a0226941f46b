// The window's touch thread: for the pass the sequencer runs, once the window has drawn the
// current target it blocks in the driver's touch calls (or paces the simulated touches), hands
// every touch to the pass sequencer (which drops early touches and refuses misclicks), judges,
// fits and commits after the last target, and tells the window by posted messages only. It is
// the only caller of the driver's touch calls; a call made for a pass that ended meanwhile
// returns its touch to the pass that runs by then.
#include <windows.h>

#include <cmath>
#include <initializer_list>
#include <memory>

#include "app/pass_commit.h"
#include "app/pass_finish.h"
#include "app/pass_fit.h"
#include "app/pass_rules.h"
#include "app/pass_runtime.h"
#include "app/text_format.h"
#include "app/unexpected_failure.h"
#include "config/controller_parameters.h"
#include "driver/quva_driver.h"
#include "platform/debug_trace.h"

namespace {

constexpr SIZE_T kTouchThreadStackBytes = 8192;  // committed; the reservation is the default
constexpr DWORD kRedoWaitMs = 30000;
constexpr DWORD kSimulatedPaceMs = 500;
constexpr DWORD kAfterTouchMs = 50;
constexpr DWORD kReleaseWaitMs = 300;  // for a touch call to leave the driver; never for a commit
constexpr DWORD kReleaseIntervalMs = 50;
constexpr DWORD kMisclickBeepHz = 400;  // a short low tone: the touch was not used
constexpr DWORD kMisclickBeepMs = 150;

// The two named events of the touch thread: a redo request and a stop request from other
// programs.
class NamedEvents {
  public:
    bool Create() {
        Redo = CreateEventW(nullptr, FALSE, FALSE, L"QuvaReDoCalEvent4683");
        Stop = CreateEventW(nullptr, FALSE, FALSE, L"TarnixStopGetTouchThread");
        if (Redo == nullptr || Stop == nullptr) return false;
        ResetEvent(Redo);
        ResetEvent(Stop);
        return true;
    }
    ~NamedEvents() {
        if (Redo != nullptr) CloseHandle(Redo);
        if (Stop != nullptr) CloseHandle(Stop);
    }
    HANDLE Redo = nullptr;
    HANDLE Stop = nullptr;
};

// A touch in controller units.
struct Touch {
    int32_t V = 0, W = 0;
    PassClock::time_point At = PassClock::now();
};

// A touch the driver returned for a pass that had ended: the next pass to run is offered it
// first (the person may have made it on that pass's target; the sequencer drops it otherwise).
struct CarriedTouch {
    bool Present = false;
    int32_t Screen = -1;
    TouchSample Sample{};
    PassClock::time_point At{};
};

// One pass on the touch thread.
struct PassRun {
    TouchThreadContext& Context;
    PassToken Token;
    const NamedEvents& Events;
    CarriedTouch& Carried;
};

Touch FromSample(const TouchSample& sample) {
    return Touch{ControllerUnits(sample.X), ControllerUnits(sample.Y)};
}

Touch Simulated(const TouchThreadContext& context, int32_t entry) {
    Touch touch;
    SimulatedTouch(context.SimulatedTouches, entry, touch.V, touch.W);
    return touch;
}

// What became of a touch handed over: the pass is left, goes on, or asks again for this target.
enum class Delivery { Leave, Stored, AskAgain };

// True when the pass no longer runs (or the window closes): the thread leaves it.
bool PassEnded(const PassRun& run) {
    std::lock_guard<std::mutex> guard(run.Context.Lock);
    return run.Context.Closed || run.Context.Sequencer->RunningToken() != run.Token;
}

// Waits up to ms (INFINITE: without end) for one of handles while the pass runs. The index of the
// handle that came, or kWaitTimedOut, or kWaitEnded when the pass ended first.
constexpr int kWaitTimedOut = -1;
constexpr int kWaitEnded = -2;
int WaitInPass(const PassRun& run, std::initializer_list<HANDLE> handles, DWORD ms) {
    HANDLE all[4] = {run.Context.PassSignal};
    DWORD count = 1;
    for (HANDLE handle : handles) all[count++] = handle;
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        if (PassEnded(run)) return kWaitEnded;
        const ULONGLONG now = GetTickCount64();
        if (ms != INFINITE && now >= deadline) return kWaitTimedOut;
        const DWORD left = ms == INFINITE ? INFINITE : DWORD(deadline - now);
        const DWORD result = WaitForMultipleObjects(count, all, FALSE, left);
        if (result == WAIT_TIMEOUT) return kWaitTimedOut;
        if (result == WAIT_OBJECT_0) continue;  // the passes changed: does this one still run?
        if (result < WAIT_OBJECT_0 + count) return int(result - WAIT_OBJECT_0 - 1);
        return kWaitEnded;  // a failed wait ends the pass's touches
    }
}

// Waits ms unless the pass ends first; true when it ended.
bool PauseUnlessEnded(const PassRun& run, DWORD ms) {
    return WaitInPass(run, {}, ms) == kWaitEnded;
}

void LogExit() { DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): Exit get target thread"); }

// The figures of the checks of a pass that ended with them, traced and appended to the report of
// its fit: its misses, or the miss that refused it.
void ReportCheckOutcome(const PassSequencer& sequencer) {
    const PassView view = sequencer.View();
    AppendCheckReport(sequencer.ChecksOfPass());
    if (view.Judgement.Verdict == FitVerdict::CheckMissed) {
        DebugPrint(
            L"Tarnix.exe: the pass was refused: a check touch missed by %.2f mm near place "
            L"%d of the area after %d refits; the driver keeps its calibration",
            view.CheckFailedMm, int(view.Judgement.Region), int(view.CheckRefits));
        return;
    }
    std::wstring misses;
    for (double mm : view.CheckMissesMm) misses += L" " + DecimalText(mm, 2);
    DebugPrint(L"Tarnix.exe: checked at %d places, missed by (mm):%s; %d refits",
               int(view.CheckMissesMm.size()), misses.c_str(), int(view.CheckRefits));
}

// The fit being checked or committed: the refit with the check touches, else the window's.
CalibrationFit* PassFit(const PassRun& run) {
    return run.Context.CheckFit ? run.Context.CheckFit.get() : run.Context.Records.Fit;
}

// Plans a round of check targets for a sound fit and starts it; false when the pass asks none
// (CheckTargets 0, or no expected-error map to place them by).
bool BeginChecks(const PassRun& run, const CalibrationFit& fit, const FitJudgement& judgement) {
    PassSequencer& sequencer = *run.Context.Sequencer;
    const PassSettings& settings = sequencer.Settings();
    if (settings.CheckTargets == 0) return false;
    run.Context.CheckJudgement = judgement;
    const GlassScale scale =
        GlassScaleFor(settings.Judge.ScreenWidthMm, settings.Judge.ScreenHeightMm, fit.MonitorWidth,
                      fit.MonitorHeight);
    const CheckRound round =
        PlanCheckRound(fit, scale, sequencer.CheckedPlaces(), settings.CheckTargets);
    if (!sequencer.BeginChecks(run.Token, round)) return false;
    const bool doubted = !round.Places.empty() && round.Places.back().Doubted;
    DebugPrint(L"Tarnix.exe: %d check targets are asked before the commit%s",
               int(round.Places.size()),
               doubted ? L", the last where the judge doubts the touches most" : L"");
    return true;
}

// Fits fit to the area, judges it, asks its checks or commits it, and ends the fit in the
// sequencer whatever they throw. True when check targets are asked. A refit with the check
// touches that the gate refuses is refused for the check it was made for.
bool FitJudgeCheckCommit(const PassRun& run, CalibrationFit* fit, const TouchResult& result,
                         int32_t screen, const DiagnosticsRecord& diagnostics, bool refit) {
    const CalibrationArea* area = run.Context.Records.Areas->Current;
    PassFinishSteps steps;
    steps.Fit = [&] {
        return fit != nullptr && RunPassFit(*fit, result.AreaWidth, result.AreaHeight);
    };
    steps.Judge = [&] {
        const FitJudgement judgement = JudgePass(*fit);
        if (!refit || judgement.Verdict == FitVerdict::Sound) return judgement;
        return run.Context.Sequencer->CheckMissJudgement();
    };
    steps.BeginChecks = [&](const FitJudgement& judgement) {
        return BeginChecks(run, *fit, judgement);
    };
    steps.Commit = [&] {
        return area != nullptr && CommitCalibration(diagnostics, *area, screen, fit);
    };
    // A type '7' record carries no fit, so it is written whatever the fit did, unjudged.
    steps.RecordWithoutFit = diagnostics.ControllerType == kSingleTouchControllerType;
    return FinishPass(*run.Context.Sequencer, run.Token, steps);
}

// After the last target: the fit of the model kind on the window's records.
bool FitAndCommit(const PassRun& run, const TouchResult& result, int32_t screen,
                  const DiagnosticsRecord& diagnostics) {
    run.Context.CheckFit.reset();
    run.Context.CheckConfig.reset();
    return FitJudgeCheckCommit(run, run.Context.Records.Fit, result, screen, diagnostics, false);
}

// A check confirmed a miss: the grid with every check touch kept is fitted again, on a copy of
// the configuration.
bool RefitWithChecks(const PassRun& run, const TouchResult& result, int32_t screen,
                     const DiagnosticsRecord& diagnostics) {
    TouchThreadContext& context = run.Context;
    const std::vector<CheckTouch> checks = context.Sequencer->CheckTouchesToJoin();
    DebugPrint(
        L"Tarnix.exe: a check touch was missed by %.2f mm: the pass is fitted again with "
        L"its %d check touches",
        checks.empty() ? 0.0 : checks.back().MissMm, int(checks.size()));
    context.CheckConfig = std::make_unique<CalibrationConfig>(*context.Records.Config);
    AddCheckTouches(*context.CheckConfig, checks);
    const CalibrationConfig& config = *context.CheckConfig;
    context.CheckFit = CreateCalibrationFit(config.PolynomialOrder, config.ModelKind,
                                            int32_t(config.NumGridPoints));
    if (context.CheckFit)
        LinkCalibrationFit(*context.CheckFit, *context.CheckConfig,
                           *context.Records.Fit->Parameters);
    const bool checking =
        FitJudgeCheckCommit(run, context.CheckFit.get(), result, screen, diagnostics, true);
    const PassView view = context.Sequencer->View();
    if (view.FitRefused && view.Judgement.Verdict == FitVerdict::CheckMissed)
        ReportCheckOutcome(*context.Sequencer);
    return checking;
}

// Every check passed: the fit checked is committed with the judgement it had.
void CommitChecked(const PassRun& run, int32_t screen, const DiagnosticsRecord& diagnostics) {
    const CalibrationArea* area = run.Context.Records.Areas->Current;
    CalibrationFit* fit = PassFit(run);
    PassFinishSteps steps;
    steps.Fit = [] { return true; };
    steps.Judge = [&] { return run.Context.CheckJudgement; };
    steps.Commit = [&] {
        return area != nullptr && CommitCalibration(diagnostics, *area, screen, fit);
    };
    FinishPass(*run.Context.Sequencer, run.Token, steps);
    ReportCheckOutcome(*run.Context.Sequencer);
}

// One touch for the pass: the sequencer, after the last target the fit, its checks and the
// commit, then a message to the window. Stale when the pass no longer runs; CheckDue when a check
// target is shown.
TouchOutcome HandOver(const PassRun& run, int32_t screen, const DiagnosticsRecord& diagnostics,
                      const Touch& touch) {
    TouchThreadContext& context = run.Context;
    std::lock_guard<std::mutex> guard(context.Lock);
    if (context.Closed) return TouchOutcome::Stale;
    const TouchInput input{touch.V, touch.W, diagnostics.ControllerType, diagnostics.PassEndWord,
                           touch.At};
    const TouchResult result = context.Sequencer->HandleTouch(
        run.Token, input, *context.Records.Areas, context.Records.Config->Touches);
    if (result.Outcome == TouchOutcome::Stale || result.Outcome == TouchOutcome::TooEarly)
        return result.Outcome;
    if (result.AfterRefusals)
        DebugPrint(L"Tarnix.exe: %s",
                   L"GetTouchThreadProc(): the third consistent touch is stored after all");
    const WPARAM token = WPARAM(run.Token);
    PostMessageW(context.Window, WM_TARNIX_TOUCH, token, 0);
    if (result.ChecksRefused) ReportCheckOutcome(*context.Sequencer);
    bool checking = false;
    if (result.Outcome == TouchOutcome::RunFit)
        checking = FitAndCommit(run, result, screen, diagnostics);
    else if (result.Outcome == TouchOutcome::Refit)
        checking = RefitWithChecks(run, result, screen, diagnostics);
    else if (result.Outcome == TouchOutcome::CommitChecked)
        CommitChecked(run, screen, diagnostics);
    else
        return result.Outcome;
    PostMessageW(context.Window, WM_TARNIX_TOUCH, token, 0);
    return checking ? TouchOutcome::CheckDue : result.Outcome;
}

// Keeps a touch the driver returned after its pass ended for the pass that runs next.
void CarryOver(const PassRun& run, int32_t screen, const TouchSample& sample, const Touch& touch) {
    DebugPrint(
        L"Tarnix.exe: GetTouchThreadProc(): touch V=%d W=%d returned after its pass ended: "
        L"offered to the pass that runs now",
        touch.V, touch.W);
    run.Carried = CarriedTouch{true, screen, sample, touch.At};
}

// Where the check target is shown (pixels of the area), for the person and the tests.
void TraceCheckTarget(const PassView& view) {
    DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): check target %d at x=%ld y=%ld%s",
               int(view.CheckTarget), std::lround(view.CheckAt.X), std::lround(view.CheckAt.Y),
               view.CheckingAgain ? L", asked again: its touch was far from it" : L"");
}

// Hands a touch over and does what its outcome asks: a dropped early touch is only traced; a
// refused one beeps (outside the lock, so a stop never waits for the tone); a touch from the
// driver (fromDriver) that finds its pass ended is carried over to the next.
Delivery Deliver(const PassRun& run, int32_t screen, const DiagnosticsRecord& diagnostics,
                 const Touch& touch, const TouchSample* fromDriver) {
    switch (HandOver(run, screen, diagnostics, touch)) {
        case TouchOutcome::Stale:
            if (fromDriver != nullptr) CarryOver(run, screen, *fromDriver, touch);
            return Delivery::Leave;
        case TouchOutcome::TooEarly:
            DebugPrint(
                L"Tarnix.exe: GetTouchThreadProc(): touch V=%d W=%d dropped: its target "
                L"was not on screen for %d ms",
                touch.V, touch.W, int(kReactionTime.count()));
            return Delivery::AskAgain;
        case TouchOutcome::Refused:
            DebugPrint(
                L"Tarnix.exe: GetTouchThreadProc(): touch V=%d W=%d refused: too far from "
                L"where its target should be touched",
                touch.V, touch.W);
            QuvaIF_MakeBeep(kMisclickBeepHz, kMisclickBeepMs);
            return Delivery::AskAgain;
        case TouchOutcome::AskAgain:
            DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): %s",
                       L"a touch disagrees with the others: its target is asked again");
            return Delivery::AskAgain;
        case TouchOutcome::CheckDue:
            TraceCheckTarget(run.Context.Sequencer->View());
            return Delivery::AskAgain;
        default:
            return Delivery::Stored;
    }
}

// Waits until the window has drawn the current target: the thread never asks the driver for the
// touch of a target the user cannot see yet. False when the pass ended meanwhile.
bool AwaitDrawnTarget(const PassRun& run) {
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(run.Context.Lock);
            if (run.Context.Closed || run.Context.Sequencer->RunningToken() != run.Token)
                return false;
            if (!run.Context.Sequencer->WaitsForDrawing(run.Token)) return true;
        }
        if (WaitInPass(run, {run.Context.DrawnSignal}, INFINITE) != 0) return false;
    }
}

// One touch call of the driver for the pass: the first touch (screen -1, which names the screen)
// or the next touch of screen. The screen of the touch, or -1 when the call was released or
// cancelled, or not made because the pass had ended. The call is marked before the pass is
// looked at, so a stop either keeps the call from being made or sees it and releases it.
int32_t CallDriver(const PassRun& run, int32_t screen, TouchSample& sample) {
    TouchThreadContext& context = run.Context;
    context.CallFor.store(run.Token);
    int32_t touched = -1;
    if (!PassEnded(run)) {
        if (screen < 0) {
            touched = QuvaIF_GetFirstCalTouch(&sample);
        } else if (QuvaIF_GetNextCalTouch(screen, &sample) != -1) {
            touched = screen;
        }
    }
    context.CallFor.store(0);
    SetEvent(context.CallReturned);
    return touched;
}

// Waits for a redo request after every touch is in; true when one came and the pass goes on.
bool WaitForRedo(const PassRun& run, int32_t screen) {
    if (WaitInPass(run, {run.Events.Redo, run.Events.Stop}, kRedoWaitMs) != 0) return false;
    ResetEvent(run.Events.Redo);
    if (PassEnded(run)) return false;
    QuvaIF_ReDoCalTouch(screen);
    return true;
}

// The next touch: from the driver, or the next simulated entry at its pace. False to leave.
bool NextTouch(const PassRun& run, int32_t screen, const WorkerTouchCount& count,
               TouchSample& sample, Touch& touch) {
    if (run.Context.SimulateMode) {
        touch = Simulated(run.Context, count.NextSimulatedEntry());
        if (PauseUnlessEnded(run, kSimulatedPaceMs)) return false;
        touch.At = PassClock::now();
        return true;
    }
    if (CallDriver(run, screen, sample) == -1) {
        if (!PassEnded(run))
            DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): Call was cancelled");
        return false;
    }
    touch = FromSample(sample);
    return true;
}

// The first touch of the pass, which also names its screen: a touch carried over from the pass
// before, or the driver's. The screen, or -1 when the thread leaves the pass.
int32_t FirstTouch(const PassRun& run, TouchSample& sample, DiagnosticsRecord& diagnostics) {
    for (;;) {
        int32_t screen = -1;
        PassClock::time_point at = PassClock::now();
        if (run.Carried.Present) {
            screen = run.Carried.Screen;
            sample = run.Carried.Sample;
            at = run.Carried.At;
            run.Carried = CarriedTouch();
        } else {
            if (!AwaitDrawnTarget(run)) return -1;
            screen = CallDriver(run, -1, sample);
            at = PassClock::now();
        }
        if (screen == -1) {
            if (PassEnded(run)) return -1;  // released by a stop, not cancelled
            QuvaIF_MakeBeep(1000, 100);
            PostMessageW(run.Context.Window, WM_TARNIX_PASS_CANCELLED, WPARAM(run.Token), 0);
            return -1;
        }
        Touch first = run.Context.SimulateMode ? Simulated(run.Context, 1) : FromSample(sample);
        first.At = at;
        QuvaIF_GetDiagnosticsData(&diagnostics, screen);
        const Delivery delivery = Deliver(run, screen, diagnostics, first, &sample);
        if (delivery != Delivery::AskAgain) return delivery == Delivery::Stored ? screen : -1;
    }
}

// The next touch the pass stores, asked for again while touches are dropped or refused. False
// when the thread leaves the pass.
bool StoreNextTouch(const PassRun& run, int32_t screen, const DiagnosticsRecord& diagnostics,
                    const WorkerTouchCount& count, TouchSample& sample) {
    for (;;) {
        if (!AwaitDrawnTarget(run)) return false;
        Touch touch;
        if (!NextTouch(run, screen, count, sample, touch)) return false;
        DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): ScreenNumber=%d TouchTargetCnt=%d X=%d Y=%d",
                   screen, count.Value() + 1, sample.X, sample.Y);
        const TouchSample* fromDriver = run.Context.SimulateMode ? nullptr : &sample;
        const Delivery delivery = Deliver(run, screen, diagnostics, touch, fromDriver);
        if (delivery != Delivery::AskAgain) return delivery == Delivery::Stored;
    }
}

// Collects the touches of one pass until it is done or ends.
void CollectTouches(const PassRun& run) {
    TouchSample sample{};
    DiagnosticsRecord diagnostics{};
    const int32_t screen = FirstTouch(run, sample, diagnostics);
    if (screen == -1) return;

    WorkerTouchCount count(run.Context.TouchesToCollect);
    count.StartAfterFirstTouch(diagnostics.ControllerType);
    while (!count.Finished()) {
        DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): TouchTargetCnt=%d", count.Value());
        if (count.WaitsForRedo()) {
            if (!WaitForRedo(run, screen)) return;
            count.Redo();
        }
        if (!StoreNextTouch(run, screen, diagnostics, count, sample)) return;
        count.Advance();
        if (PauseUnlessEnded(run, kAfterTouchMs)) return;
    }
    LogExit();
}

// Waits until the sequencer runs a pass after last; 0 when the window closes.
PassToken AwaitNextPass(TouchThreadContext& context, PassToken last) {
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(context.Lock);
            if (context.Closed) return 0;
            const PassToken running = context.Sequencer->RunningToken();
            if (running != 0 && running != last) return running;
        }
        if (WaitForSingleObject(context.PassSignal, INFINITE) != WAIT_OBJECT_0) return 0;
    }
}

// Every pass of the window, one after another; a failure in one ends that pass only.
void RunPasses(TouchThreadContext& context) {
    NamedEvents events;
    if (!events.Create()) {
        DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): the touch events cannot be created");
        return;
    }
    CarriedTouch carried;
    for (PassToken token = 0; (token = AwaitNextPass(context, token)) != 0;) {
        try {
            CollectTouches(PassRun{context, token, events, carried});
        } catch (...) {
            ReportUnexpectedFailure(L"the touch thread");
            PostMessageW(context.Window, WM_TARNIX_PASS_CANCELLED, WPARAM(token), 0);
        }
    }
}

// Releases the touch call inside the driver, again and again, until it has returned or
// kReleaseWaitMs have passed; false when it is still inside.
bool ReleaseTouchCall(TouchThreadContext& context) {
    const ULONGLONG deadline = GetTickCount64() + kReleaseWaitMs;
    while (context.CallFor.load() != 0) {
        if (GetTickCount64() >= deadline) {
            DebugPrint(
                L"Tarnix.exe: a touch call is still blocked in the driver after %u ms; the "
                L"touch it returns goes to the pass that runs then",
                unsigned(kReleaseWaitMs));
            return false;
        }
        QuvaIF_ClearAllGetPoint(0);
        WaitForSingleObject(context.CallReturned, kReleaseIntervalMs);
    }
    return true;
}

}  // namespace

DWORD WINAPI GetTouchThreadProc(LPVOID parameter) {
    auto* handed = static_cast<std::shared_ptr<TouchThreadContext>*>(parameter);
    const std::shared_ptr<TouchThreadContext> context = std::move(*handed);
    delete handed;
    try {
        RunPasses(*context);
    } catch (...) {
        ReportUnexpectedFailure(L"the touch thread");
    }
    return 0;
}

bool StartTouchThread(PassRuntime& passes, HWND window, const PassRecords& records) {
    auto context = std::make_shared<TouchThreadContext>();
    context->Records = records;
    context->Sequencer = passes.Sequencer.get();
    context->Window = window;
    context->SimulateMode = passes.Sequencer->Settings().SimulateMode;
    context->TouchesToCollect = passes.Sequencer->Settings().TouchesToCollect;
    if (records.Config != nullptr) context->SimulatedTouches = records.Config->Touches;
    context->PassSignal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    context->DrawnSignal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    context->CallReturned = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const bool events = context->PassSignal != nullptr && context->DrawnSignal != nullptr &&
                        context->CallReturned != nullptr;
    auto* handed = new std::shared_ptr<TouchThreadContext>(context);
    HANDLE thread = events ? CreateThread(nullptr, kTouchThreadStackBytes, GetTouchThreadProc,
                                          handed, 0, nullptr)
                           : nullptr;
    if (thread == nullptr) {
        delete handed;
        DebugPrint(L"Tarnix.exe: the touch thread could not be started (error %u)",
                   unsigned(GetLastError()));
        return false;
    }
    passes.Thread = thread;
    passes.Touches = std::move(context);
    return true;
}

void NoteTargetDrawn(PassRuntime& passes, int32_t target) {
    if (!passes.Sequencer) return;
    if (target < 0)
        passes.Sequencer->CheckShown(-target, PassClock::now());
    else
        passes.Sequencer->TargetShown(target, PassClock::now());
    if (passes.Touches) SetEvent(passes.Touches->DrawnSignal);
}

void NotePassStarted(PassRuntime& passes) {
    if (passes.Touches) SetEvent(passes.Touches->PassSignal);
}

void ReleaseStoppedPass(PassRuntime& passes) {
    if (!passes.Touches) return;
    SetEvent(passes.Touches->PassSignal);
    ReleaseTouchCall(*passes.Touches);
}

void CloseTouchThread(PassRuntime& passes) {
    if (!passes.Touches) return;
    {
        std::lock_guard<std::mutex> guard(passes.Touches->Lock);  // waits for a touch in hand
        passes.Touches->Closed = true;
    }
    SetEvent(passes.Touches->PassSignal);
    ReleaseTouchCall(*passes.Touches);
}

bool TouchThreadLeftDriver(PassRuntime& passes) {
    if (passes.Thread == nullptr) return true;
    // Once closed, the thread ends as soon as it is out of the driver; a thread that is not in it
    // (CallFor 0) looks at Closed before any further call and makes none.
    const bool ended = WaitForSingleObject(passes.Thread, kReleaseWaitMs) == WAIT_OBJECT_0;
    if (!ended && passes.Touches && passes.Touches->CallFor.load() != 0) {
        DebugPrint(L"Tarnix.exe: %s",
                   L"a touch call is still inside the driver: its device handles are left open");
        return false;
    }
    if (ended) {
        CloseHandle(passes.Thread);
        passes.Thread = nullptr;
    }
    return true;
}
