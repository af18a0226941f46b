// The touch-collection thread of a pass: once the window has drawn the current target it blocks in
// the driver's touch calls (or paces the simulated touches), hands every touch to the pass
// sequencer (which drops early touches and refuses misclicks), judges, fits and commits after the
// last target, and tells the window by posted messages only. Stopping it is cooperative.
#include <windows.h>

#include "app/pass_commit.h"
#include "app/pass_fit.h"
#include "app/pass_rules.h"
#include "app/pass_runtime.h"
#include "app/unexpected_failure.h"
#include "config/controller_parameters.h"
#include "config/debug_trace.h"
#include "driver/quva_driver.h"
#include "fit/fit_gate.h"

namespace {

constexpr SIZE_T kWorkerStackBytes = 8192;  // committed; the reservation is the program's default
constexpr DWORD kRedoWaitMs = 30000;
constexpr DWORD kSimulatedPaceMs = 500;
constexpr DWORD kAfterTouchMs = 50;
constexpr DWORD kStopWaitMs = 300;  // for a worker blocked in a touch call; never for a commit
constexpr DWORD kReleaseIntervalMs = 50;
constexpr DWORD kMisclickBeepHz = 400;  // a short low tone: the touch was not used
constexpr DWORD kMisclickBeepMs = 150;

// The two named events of a worker: a redo request and a stop request from other programs.
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

Touch FromSample(const TouchSample& sample) {
    return Touch{ControllerUnits(sample.X), ControllerUnits(sample.Y)};
}

Touch Simulated(const PassWorkerContext& context, int32_t entry) {
    Touch touch;
    SimulatedTouch(context.SimulatedTouches, entry, touch.V, touch.W);
    return touch;
}

// What became of a touch handed over: the worker leaves, goes on, or asks again for this target.
enum class Delivery { Leave, Stored, AskAgain };

// Waits ms unless the pass is stopped first; true when it was stopped.
bool PauseUnlessStopped(const PassWorkerContext& context, DWORD ms) {
    return WaitForSingleObject(context.StopSignal, ms) == WAIT_OBJECT_0;
}

void LogExit() { DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): Exit get target thread"); }

// The quality gate of the pass's fit (linked to its parameters), with the area's residual bound.
FitJudgement JudgePassFit(const CalibrationFit& fit, const TouchResult& result) {
    const FitGateLimits limits =
        FitGateLimitsFor(fit.Parameters->ControllerMin, fit.Parameters->ControllerMax,
                         fit.Config->MaxFitResidual, fit.Config->MaxTouchScatter);
    const FitJudgement judgement = JudgeFit(fit, limits);
    DebugPrint(
        L"Tarnix.exe: the fit of the pass: %s (scatter %.2f mm, bound %.2f mm; a new touch "
        L"%.2f mm RMS, %.2f mm at worst; RMS %.3f px, max %.3f px at the grid targets, bound "
        L"%.3f px, rank %d of %d)",
        FitVerdictText(judgement.Verdict), judgement.ScatterMm, judgement.BoundScatterMm,
        judgement.ExpectedRmsMm, judgement.ExpectedWorstMm, judgement.RmsPixels,
        judgement.MaxPixels, judgement.BoundPixels, judgement.Rank, fit.TermCount);
    if (judgement.Verdict != FitVerdict::Sound)
        DebugPrint(L"Tarnix.exe: %s", L"the pass was refused: the driver keeps its calibration");
    return judgement;
}

// After the last target: the fit of the model kind, its judgement and the commit; true when
// committed.
bool FitAndCommit(PassWorkerContext& context, const TouchResult& result, int32_t screen,
                  const DiagnosticsRecord& diagnostics, FitJudgement& judgement) {
    CalibrationFit* fit = context.Records.Fit;
    const CalibrationArea* area = context.Records.Areas->Current;
    const bool fitted = fit != nullptr && RunPassFit(*fit, result.AreaWidth, result.AreaHeight);
    // A type '7' record carries no fit, so it is written whatever the fit did, unjudged.
    const bool recordWithoutFit = diagnostics.ControllerType == kSingleTouchControllerType;
    if (fitted && !recordWithoutFit) judgement = JudgePassFit(*fit, result);
    const bool sound = fitted && judgement.Verdict == FitVerdict::Sound;
    if ((sound || recordWithoutFit) && area != nullptr)
        return CommitCalibration(diagnostics, *area, screen, fit);
    return false;
}

// One touch for the pass: the sequencer, after the last target the fit and the
// commit, then a message to the window. Stale when the pass was stopped: the worker leaves.
TouchOutcome HandOver(PassWorkerContext& context, int32_t screen,
                      const DiagnosticsRecord& diagnostics, const Touch& touch) {
    std::lock_guard<std::mutex> guard(context.Lock);
    if (context.Stopped) return TouchOutcome::Stale;
    const TouchInput input{touch.V, touch.W, diagnostics.ControllerType, diagnostics.PassEndWord,
                           touch.At};
    const TouchResult result = context.Sequencer->HandleTouch(
        context.Token, input, *context.Records.Areas, context.Records.Config->Touches);
    if (result.Outcome == TouchOutcome::Stale || result.Outcome == TouchOutcome::TooEarly)
        return result.Outcome;
    if (result.AfterRefusals)
        DebugPrint(L"Tarnix.exe: %s",
                   L"GetTouchThreadProc(): the third consistent touch is stored after all");
    const WPARAM token = WPARAM(context.Token);
    PostMessageW(context.Window, WM_TARNIX_TOUCH, token, 0);
    if (result.Outcome != TouchOutcome::RunFit) return result.Outcome;
    FitJudgement judgement;
    const bool committed = FitAndCommit(context, result, screen, diagnostics, judgement);
    context.Sequencer->FinishFit(context.Token, committed, judgement);
    PostMessageW(context.Window, WM_TARNIX_TOUCH, token, 0);
    return result.Outcome;
}

// Hands a touch over and does what its outcome asks of the worker: a dropped early touch is only
// traced; a refused one beeps (outside the lock, so a stop never waits for the tone).
Delivery Deliver(PassWorkerContext& context, int32_t screen, const DiagnosticsRecord& diagnostics,
                 const Touch& touch) {
    switch (HandOver(context, screen, diagnostics, touch)) {
        case TouchOutcome::Stale:
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
        default:
            return Delivery::Stored;
    }
}

// Waits until the window has drawn the current target: the worker never asks the driver for the
// touch of a target the user cannot see yet. False when the pass was stopped meanwhile.
bool AwaitDrawnTarget(PassWorkerContext& context) {
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(context.Lock);
            if (context.Stopped) return false;
            if (!context.Sequencer->WaitsForDrawing(context.Token)) return true;
        }
        const HANDLE handles[2] = {context.StopSignal, context.DrawnSignal};
        if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return false;
    }
}

// Waits for a redo request after every touch is in; true when one came and the pass goes on.
bool WaitForRedo(PassWorkerContext& context, const NamedEvents& events, int32_t screen) {
    const HANDLE handles[3] = {events.Redo, events.Stop, context.StopSignal};
    if (WaitForMultipleObjects(3, handles, FALSE, kRedoWaitMs) != WAIT_OBJECT_0) return false;
    ResetEvent(events.Redo);
    if (context.IsStopped()) return false;
    QuvaIF_ReDoCalTouch(screen);
    return true;
}

// The next touch: from the driver, or the next simulated entry at its pace. False to leave.
bool NextTouch(PassWorkerContext& context, int32_t screen, const WorkerTouchCount& count,
               TouchSample& sample, Touch& touch) {
    if (context.SimulateMode) {
        touch = Simulated(context, count.NextSimulatedEntry());
        if (PauseUnlessStopped(context, kSimulatedPaceMs)) return false;
        touch.At = PassClock::now();
        return true;
    }
    if (QuvaIF_GetNextCalTouch(screen, &sample) == -1) {
        if (!context.IsStopped())
            DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): Call was cancelled");
        return false;
    }
    touch = FromSample(sample);
    return true;
}

// The first touch of the pass, which also names its screen (-1 when the worker leaves).
int32_t FirstTouch(PassWorkerContext& context, TouchSample& sample,
                   DiagnosticsRecord& diagnostics) {
    for (;;) {
        if (!AwaitDrawnTarget(context)) return -1;
        const int32_t screen = QuvaIF_GetFirstCalTouch(&sample);
        if (screen == -1) {
            if (context.IsStopped()) return -1;  // released by a stop, not cancelled
            QuvaIF_MakeBeep(1000, 100);
            PostMessageW(context.Window, WM_TARNIX_PASS_CANCELLED, WPARAM(context.Token), 0);
            return -1;
        }
        const Touch first = context.SimulateMode ? Simulated(context, 1) : FromSample(sample);
        QuvaIF_GetDiagnosticsData(&diagnostics, screen);
        const Delivery delivery = Deliver(context, screen, diagnostics, first);
        if (delivery != Delivery::AskAgain) return delivery == Delivery::Stored ? screen : -1;
    }
}

// The next touch the pass stores, asked for again while touches are dropped or refused. False
// when the worker leaves.
bool StoreNextTouch(PassWorkerContext& context, int32_t screen,
                    const DiagnosticsRecord& diagnostics, const WorkerTouchCount& count,
                    TouchSample& sample) {
    for (;;) {
        if (!AwaitDrawnTarget(context)) return false;
        Touch touch;
        if (!NextTouch(context, screen, count, sample, touch)) return false;
        DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): ScreenNumber=%d TouchTargetCnt=%d X=%d Y=%d",
                   screen, count.Value() + 1, sample.X, sample.Y);
        const Delivery delivery = Deliver(context, screen, diagnostics, touch);
        if (delivery != Delivery::AskAgain) return delivery == Delivery::Stored;
    }
}

DWORD CollectTouches(PassWorkerContext& context) {
    TouchSample sample{};
    DiagnosticsRecord diagnostics{};
    NamedEvents events;
    if (!events.Create()) {
        DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): the touch events cannot be created");
        return 0;
    }
    const int32_t screen = FirstTouch(context, sample, diagnostics);
    if (screen == -1) return 0;

    WorkerTouchCount count(context.TouchesToCollect);
    count.StartAfterFirstTouch(diagnostics.ControllerType);
    while (!count.Finished()) {
        DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): TouchTargetCnt=%d", count.Value());
        if (count.WaitsForRedo()) {
            if (!WaitForRedo(context, events, screen)) return 0;
            count.Redo();
        }
        if (!StoreNextTouch(context, screen, diagnostics, count, sample)) return 0;
        count.Advance();
        if (PauseUnlessStopped(context, kAfterTouchMs)) return 0;
    }
    LogExit();
    return 1;
}

}  // namespace

DWORD WINAPI GetTouchThreadProc(LPVOID parameter) {
    auto* handed = static_cast<std::shared_ptr<PassWorkerContext>*>(parameter);
    const std::shared_ptr<PassWorkerContext> context = std::move(*handed);
    delete handed;
    try {
        return CollectTouches(*context);
    } catch (...) {
        ReportUnexpectedFailure(L"the touch worker");
        PostMessageW(context->Window, WM_TARNIX_PASS_CANCELLED, WPARAM(context->Token), 0);
        return 0;
    }
}

bool LaunchPassWorker(PassRuntime& passes, HWND window, const PassRecords& records,
                      PassToken token) {
    auto context = std::make_shared<PassWorkerContext>();
    context->Records = records;
    context->Sequencer = passes.Sequencer.get();
    context->Token = token;
    context->Window = window;
    context->SimulateMode = passes.Sequencer->Settings().SimulateMode;
    context->TouchesToCollect = passes.Sequencer->Settings().TouchesToCollect;
    if (records.Config != nullptr) context->SimulatedTouches = records.Config->Touches;
    context->StopSignal = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    context->DrawnSignal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    auto* handed = new std::shared_ptr<PassWorkerContext>(context);
    HANDLE thread =
        context->StopSignal == nullptr || context->DrawnSignal == nullptr
            ? nullptr
            : CreateThread(nullptr, kWorkerStackBytes, GetTouchThreadProc, handed, 0, nullptr);
    if (thread == nullptr) {
        delete handed;
        DebugPrint(L"Tarnix.exe: the touch worker could not be started (error %u)",
                   unsigned(GetLastError()));
        return false;
    }
    passes.Thread = thread;
    passes.Worker = std::move(context);
    return true;
}

void NoteTargetDrawn(PassRuntime& passes, int32_t target) {
    if (!passes.Sequencer) return;
    passes.Sequencer->TargetShown(target, PassClock::now());
    if (passes.Worker) SetEvent(passes.Worker->DrawnSignal);
}

void StopRunningWorker(PassRuntime& passes) {
    std::shared_ptr<PassWorkerContext> context = std::move(passes.Worker);
    HANDLE thread = passes.Thread;
    passes.Thread = nullptr;
    if (context) {
        {
            std::lock_guard<std::mutex> guard(context->Lock);  // waits for a touch in hand
            context->Stopped = true;
        }
        SetEvent(context->StopSignal);
    }
    if (thread == nullptr) return;
    const ULONGLONG deadline = GetTickCount64() + kStopWaitMs;
    while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) {
        if (GetTickCount64() >= deadline) {
            DebugPrint(
                L"Tarnix.exe: the touch worker is still blocked in the driver after %u ms; "
                L"its pass is void and it ends on its own, touching nothing",
                unsigned(kStopWaitMs));
            break;
        }
        QuvaIF_ClearAllGetPoint(0);  // releases the touch call it blocks in
        WaitForSingleObject(thread, kReleaseIntervalMs);
    }
    CloseHandle(thread);
}
