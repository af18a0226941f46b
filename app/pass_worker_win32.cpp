// The touch-collection thread of a pass: it blocks in the driver's touch calls (or paces the
// simulated touches), hands every touch to the pass sequencer, fits and commits after the last
// target, and tells the window by posted messages only. Stopping it is cooperative.
#include <windows.h>

#include "app/pass_commit.h"
#include "app/pass_fit.h"
#include "app/pass_rules.h"
#include "app/pass_runtime.h"
#include "app/unexpected_failure.h"
#include "config/debug_trace.h"
#include "driver/quva_driver.h"

namespace {

constexpr SIZE_T kWorkerStackBytes = 8192;  // committed; the reservation is the program's default
constexpr DWORD kRedoWaitMs = 30000;
constexpr DWORD kSimulatedPaceMs = 500;
constexpr DWORD kAfterTouchMs = 50;
constexpr DWORD kStopWaitMs = 5000;
constexpr DWORD kReleaseIntervalMs = 50;

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
};

Touch FromSample(const TouchSample& sample) {
    return Touch{ControllerUnits(sample.X), ControllerUnits(sample.Y)};
}

Touch Simulated(const PassWorkerContext& context, int32_t entry) {
    Touch touch;
    SimulatedTouch(context.SimulatedTouches, entry, touch.V, touch.W);
    return touch;
}

// Waits ms unless the pass is stopped first; true when it was stopped.
bool PauseUnlessStopped(const PassWorkerContext& context, DWORD ms) {
    return WaitForSingleObject(context.StopSignal, ms) == WAIT_OBJECT_0;
}

void LogExit() { DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): Exit get target thread"); }

// After the last target: the fit of the model kind and the commit; true when committed.
bool FitAndCommit(PassWorkerContext& context, const TouchResult& result, int32_t screen,
                  const DiagnosticsRecord& diagnostics) {
    CalibrationFit* fit = context.Records.Fit;
    const CalibrationArea* area = context.Records.Areas->Current;
    const bool fitted = fit != nullptr && RunPassFit(*fit, result.AreaWidth, result.AreaHeight);
    // A type '7' record carries no fit, so it is written whatever the fit did.
    const bool recordWithoutFit = diagnostics.ControllerType == kSingleTouchControllerType;
    bool committed = false;
    if ((fitted || recordWithoutFit) && area != nullptr)
        committed = CommitCalibration(diagnostics, *area, screen, fit);
    if (!committed && fit != nullptr) *context.RefusedStatus = int32_t(fit->LastStatus);
    return committed;
}

// One touch for the pass: the sequencer, after the last target the fit and the commit, then a
// message to the window. False when the pass was stopped: the worker leaves.
bool HandOver(PassWorkerContext& context, int32_t screen, const DiagnosticsRecord& diagnostics,
              const Touch& touch) {
    std::lock_guard<std::mutex> guard(context.Lock);
    if (context.Stopped) return false;
    const TouchInput input{touch.V, touch.W, diagnostics.ControllerType, diagnostics.PassEndWord};
    const TouchResult result = context.Sequencer->HandleTouch(
        context.Token, input, *context.Records.Areas, context.Records.Config->Touches);
    if (result.Outcome == TouchOutcome::Stale) return false;
    const WPARAM token = WPARAM(context.Token);
    PostMessageW(context.Window, WM_TARNIX_TOUCH, token, 0);
    if (result.Outcome != TouchOutcome::RunFit) return true;
    const bool committed = FitAndCommit(context, result, screen, diagnostics);
    context.Sequencer->FinishFit(context.Token, committed);
    PostMessageW(context.Window, WM_TARNIX_TOUCH, token, 0);
    return true;
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
        return !PauseUnlessStopped(context, kSimulatedPaceMs);
    }
    if (QuvaIF_GetNextCalTouch(screen, &sample) == -1) {
        if (!context.IsStopped())
            DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): Call was cancelled");
        return false;
    }
    touch = FromSample(sample);
    return true;
}

DWORD CollectTouches(PassWorkerContext& context) {
    TouchSample sample{};
    DiagnosticsRecord diagnostics{};
    NamedEvents events;
    if (!events.Create()) {
        DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): the touch events cannot be created");
        return 0;
    }
    const int32_t screen = QuvaIF_GetFirstCalTouch(&sample);
    if (screen == -1) {
        if (context.IsStopped()) return 0;  // released by a stop, not cancelled
        QuvaIF_MakeBeep(1000, 100);
        PostMessageW(context.Window, WM_TARNIX_PASS_CANCELLED, WPARAM(context.Token), 0);
        return 0;
    }
    const Touch first = context.SimulateMode ? Simulated(context, 1) : FromSample(sample);
    QuvaIF_GetDiagnosticsData(&diagnostics, screen);
    if (!HandOver(context, screen, diagnostics, first)) return 0;

    WorkerTouchCount count(context.TouchesToCollect);
    count.StartAfterFirstTouch(diagnostics.ControllerType);
    while (!count.Finished()) {
        DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): TouchTargetCnt=%d", count.Value());
        if (count.WaitsForRedo()) {
            if (!WaitForRedo(context, events, screen)) return 0;
            count.Redo();
        }
        Touch touch;
        if (!NextTouch(context, screen, count, sample, touch)) return 0;
        count.Advance();
        DebugPrint(L"Tarnix.exe: GetTouchThreadProc(): ScreenNumber=%d TouchTargetCnt=%d X=%d Y=%d",
                   screen, count.Value(), sample.X, sample.Y);
        if (!HandOver(context, screen, diagnostics, touch)) return 0;
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
    context->RefusedStatus = &passes.RefusedStatus;
    context->Token = token;
    context->Window = window;
    context->SimulateMode = passes.Sequencer->Settings().SimulateMode;
    context->TouchesToCollect = passes.Sequencer->Settings().TouchesToCollect;
    if (records.Config != nullptr) context->SimulatedTouches = records.Config->Touches;
    context->StopSignal = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto* handed = new std::shared_ptr<PassWorkerContext>(context);
    HANDLE thread =
        context->StopSignal == nullptr
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
                L"Tarnix.exe: the touch worker did not stop within %u ms; it ends on its "
                L"own and touches nothing",
                unsigned(kStopWaitMs));
            break;
        }
        QuvaIF_ClearAllGetPoint(0);  // releases the touch call it blocks in
        WaitForSingleObject(thread, kReleaseIntervalMs);
    }
    CloseHandle(thread);
}
