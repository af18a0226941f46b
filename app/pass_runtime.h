// The pass machinery of the calibration window: the sequencer that owns the pass state, the
// worker of the running pass, and what the window's handlers share about them.
#pragma once

#include <windows.h>

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
    PassToken Token = 0;
    HWND Window = nullptr;
    bool SimulateMode = false;
    int32_t TouchesToCollect = 0;
    std::vector<TouchEntry> SimulatedTouches;  // a copy: the worker reads it without the lock

    std::mutex Lock;
    bool Stopped = false;
    HANDLE StopSignal = nullptr;   // manual-reset, set with Stopped: ends the worker's waits
    HANDLE DrawnSignal = nullptr;  // auto-reset, set by the window each time it draws a target

    ~PassWorkerContext() {
        if (StopSignal != nullptr) CloseHandle(StopSignal);
        if (DrawnSignal != nullptr) CloseHandle(DrawnSignal);
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
};

// The sequencer's view of the passes; the view before any pass while there is no sequencer.
PassView CurrentPassView(const PassRuntime& passes);

// The window has drawn target: the pass counts its reaction time from now and its worker may ask
// the driver for the target's touch.
void NoteTargetDrawn(PassRuntime& passes, int32_t target);

// Starts the worker of pass token on the window's records (8192 bytes of committed stack); it
// posts its messages to window. False when it could not be started.
bool LaunchPassWorker(PassRuntime& passes, HWND window, const PassRecords& records,
                      PassToken token);

// Stops the running worker: sets its stop flag, releases the driver call it blocks in (again and
// again, as a call may begin just after a release) and waits at most a few hundred milliseconds
// for it to end; a worker still blocked in a driver that does not release it is left behind with
// its pass void. (A fit and commit in progress are waited for before this, by the sequencer.)
void StopRunningWorker(PassRuntime& passes);

// The touch-collection thread of a pass; parameter is a new std::shared_ptr<PassWorkerContext>
// that the thread takes over.
DWORD WINAPI GetTouchThreadProc(LPVOID parameter);
