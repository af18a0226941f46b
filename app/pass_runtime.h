// The pass machinery of the calibration window: the sequencer that owns the pass state, the
// window's one touch thread that runs every pass, and what the window's handlers share about them.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/pass_sequencer.h"
#include "fit/calibration_fit.h"

// Messages the touch thread posts to the window (it never calls into it).
inline constexpr UINT WM_TARNIX_TOUCH = WM_APP + 1;           // the sequencer took a touch
inline constexpr UINT WM_TARNIX_PASS_CANCELLED = WM_APP + 2;  // the first touch call was cancelled

// The window's records a pass works on: the touches go into the configuration, the area list
// tells the area, and the fit record takes the fit.
struct PassRecords {
    CalibrationAreaList* Areas = nullptr;
    CalibrationConfig* Config = nullptr;
    CalibrationFit* Fit = nullptr;
};

// What the touch thread shares with the window. The thread is the only caller of the driver's
// touch calls, so at most one of them is ever inside the driver. It runs the pass the sequencer
// names as running, one after another; a touch call returns to whichever pass runs by then. It
// reads the sequencer and changes the window's records only under Lock and only while Closed is
// false; the tear-down sets Closed under Lock, so once that has returned the thread touches
// nothing of the window again, even if its touch call returns much later.
struct TouchThreadContext {
    PassRecords Records;
    PassSequencer* Sequencer = nullptr;
    HWND Window = nullptr;
    bool SimulateMode = false;
    int32_t TouchesToCollect = 0;
    std::vector<TouchEntry> SimulatedTouches;  // a copy: the thread reads it without the lock
    // A pass refitted with its check touches: the fit on its own copy of the configuration (the
    // window's records stay as the grid has them), and the judgement of the fit being checked.
    std::unique_ptr<CalibrationConfig> CheckConfig;
    std::unique_ptr<CalibrationFit> CheckFit;
    FitJudgement CheckJudgement;

    std::mutex Lock;
    bool Closed = false;
    std::atomic<PassToken> CallFor{0};  // the pass a touch call inside the driver was made for
    HANDLE PassSignal = nullptr;    // auto-reset: a pass started or stopped, or the window closes
    HANDLE DrawnSignal = nullptr;   // auto-reset, set by the window each time it draws a target
    HANDLE CallReturned = nullptr;  // auto-reset, set each time a touch call leaves the driver

    ~TouchThreadContext() {
        for (HANDLE event : {PassSignal, DrawnSignal, CallReturned})
            if (event != nullptr) CloseHandle(event);
    }
};

// A one-shot timer that runs again a command which found a fit in progress.
inline constexpr UINT kPendingCommandTimerId = 4685;
inline constexpr UINT kPendingCommandDelayMs = 100;

// The window's passes: it owns one of these.
struct PassRuntime {
    std::unique_ptr<PassSequencer> Sequencer;
    std::shared_ptr<TouchThreadContext> Touches;  // shared with the touch thread
    HANDLE Thread = nullptr;                      // the touch thread, for the window's whole life
    UINT PendingCommand = 0;                      // a command that found a fit in progress
};

// The sequencer's view of the passes; the view before any pass while there is no sequencer.
PassView CurrentPassView(const PassRuntime& passes);

// The window has drawn target (a negative one: check target -target): the pass counts its reaction
// time from now and the touch thread may ask the driver for the target's touch.
void NoteTargetDrawn(PassRuntime& passes, int32_t target);

// Starts the window's touch thread on its records (8192 bytes of committed stack); it runs the
// pass the sequencer has started and every later one. False when it could not be started.
bool StartTouchThread(PassRuntime& passes, HWND window, const PassRecords& records);

// The sequencer started a pass: the touch thread takes it up.
void NotePassStarted(PassRuntime& passes);

// The sequencer stopped the running pass (Accept, Retry, the end routine): wakes the touch thread
// and releases a touch call it made for that pass, again and again as a call may begin just
// after a release, for at most a few hundred milliseconds. A call the driver keeps stays where it
// is; the touch it returns goes to the pass that runs by then. (A fit and commit in progress are
// waited for before this, by the sequencer.)
void ReleaseStoppedPass(PassRuntime& passes);

// Tear-down, first: from now on the touch thread touches nothing of the window (a touch being
// handled, its fit and commit included, finishes first); its touch call is released as above.
void CloseTouchThread(PassRuntime& passes);

// Tear-down, once the driver was told to release every call (QuvaIF_DisableTouch): true when the
// touch thread has left the driver (waited for at most a few hundred milliseconds), so that its
// device handles may be closed; false, with a trace, when a touch call is still inside it.
bool TouchThreadLeftDriver(PassRuntime& passes);

// The touch thread; parameter is a new std::shared_ptr<TouchThreadContext> that it takes over.
DWORD WINAPI GetTouchThreadProc(LPVOID parameter);
