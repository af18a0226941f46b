// The pass machinery of the calibration window: the sequencer that owns the pass state, the
// worker of the running pass, and what the window's handlers share about them.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/pass_sequencer.h"
#include "fit/calibration_fit.h"

// Messages the worker thread posts to the window (it never calls into it).
inline constexpr UINT WM_TARNIX_TOUCH = WM_APP + 1;           // the sequencer took a touch
inline constexpr UINT WM_TARNIX_PASS_CANCELLED = WM_APP + 2;  // the first touch call was cancelled

// The window's records a pass's worker works on: the touches go into the configuration, the area
// list tells the area, and the fit record takes the fit.
struct PassRecords {
    CalibrationAreaList* Areas = nullptr;
    CalibrationConfig* Config = nullptr;
    CalibrationFit* Fit = nullptr;
};

// What one worker thread shares with the window. The worker changes the window's records only
// under Lock and only while Stopped is false; stopping sets Stopped under Lock, so once a stop
// has returned the worker touches nothing of the window again, even if it wakes much later.
struct PassWorkerContext {
    PassRecords Records;
    PassSequencer* Sequencer = nullptr;
    std::atomic<int32_t>* RefusedStatus = nullptr;  // the status of a fit that wrote nothing
    PassToken Token = 0;
    HWND Window = nullptr;
    bool SimulateMode = false;
    int32_t TouchesToCollect = 0;
    std::vector<TouchEntry> SimulatedTouches;  // a copy: the worker reads it without the lock

    std::mutex Lock;
    bool Stopped = false;
    HANDLE StopSignal = nullptr;  // manual-reset, set with Stopped: ends the worker's waits

    ~PassWorkerContext() {
        if (StopSignal != nullptr) CloseHandle(StopSignal);
    }
    bool IsStopped() {
        std::lock_guard<std::mutex> guard(Lock);
        return Stopped;
    }
};

// A one-shot timer that runs again a command which found a fit in progress.
inline constexpr UINT kPendingCommandTimerId = 4685;
inline constexpr UINT kPendingCommandDelayMs = 100;

// The window's passes: it owns one of these.
struct PassRuntime {
    std::unique_ptr<PassSequencer> Sequencer;
    std::shared_ptr<PassWorkerContext> Worker;  // of the running pass; none between passes
    HANDLE Thread = nullptr;                    // the running worker's thread
    UINT PendingCommand = 0;                    // a command that found a fit in progress
    std::atomic<int32_t> RefusedStatus{int32_t(FitStatus::NotRun)};  // of the last refused fit
};

// The sequencer's view of the passes; the view before any pass while there is no sequencer.
PassView CurrentPassView(const PassRuntime& passes);

// The text shown after a pass's fit: fitDone (text 198), or why nothing was written.
std::wstring PassResultText(const PassRuntime& passes, const std::wstring& fitDone);

// Starts the worker of pass token on the window's records (8192 bytes of committed stack); it
// posts its messages to window. False when it could not be started.
bool LaunchPassWorker(PassRuntime& passes, HWND window, const PassRecords& records,
                      PassToken token);

// Stops the running worker: sets its stop flag, releases the driver call it blocks in (again and
// again, as a call may begin just after a release) and waits a bounded time for it to end.
void StopRunningWorker(PassRuntime& passes);

// The touch-collection thread of a pass; parameter is a new std::shared_ptr<PassWorkerContext>
// that the thread takes over.
DWORD WINAPI GetTouchThreadProc(LPVOID parameter);
