// The touch-collection worker of the first version of the window: it blocks in the driver's
// touch calls and hands every touch to the window by a posted message. It does not fit or
// commit; the pass logic that does is built on top of it.
#include <windows.h>

#include <atomic>

#include "app/calibration_dialog.h"
#include "app/run_state.h"
#include "app/worker_start.h"
#include "config/debug_trace.h"
#include "driver/quva_driver.h"

namespace {

constexpr SIZE_T kWorkerStackBytes = 8192;
constexpr DWORD kStopWaitMs = 5000;

std::atomic<bool> StopRequested{false};

void HandOver(CalibrationDialog& dialog, const TouchSample& sample) {
    {
        std::lock_guard<std::mutex> lock(dialog.SlotLock);
        dialog.Slot.V = sample.X >> 4;
        dialog.Slot.W = sample.Y >> 4;
        dialog.Slot.Z = sample.Z;
    }
    PostMessageW(dialog.Window, WM_TARNIX_TOUCH, 0, 0);
}

DWORD WINAPI CollectTouches(LPVOID parameter) {
    auto* worker = static_cast<WorkerParameters*>(parameter);
    CalibrationDialog& dialog = *worker->Dialog;
    TouchSample sample{};
    int32_t screen = QuvaIF_GetFirstCalTouch(&sample);
    if (StopRequested) return 0;
    if (screen == -1) {
        PostMessageW(dialog.Window, WM_TARNIX_PASS_CANCELLED, 0, 0);
        return 0;
    }
    dialog.ScreenIndex = screen;
    HandOver(dialog, sample);
    for (int32_t count = 1; count < TouchesToCollect && !StopRequested; ++count) {
        sample = TouchSample{};
        if (QuvaIF_GetNextCalTouch(screen, &sample) == -1) {
            DebugPrint(L"Tarnix.exe: %s", L"GetTouchThreadProc(): Call was cancelled");
            return 0;
        }
        if (StopRequested) return 0;
        HandOver(dialog, sample);
    }
    return 1;
}

}  // namespace

bool StartPassWorker(CalibrationDialog& dialog) {
    StopRequested = false;
    dialog.Worker.Slot = &dialog.Slot;
    dialog.Worker.Thread = CreateThread(nullptr, kWorkerStackBytes, CollectTouches, &dialog.Worker,
                                        STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (dialog.Worker.Thread == nullptr) {
        DebugPrint(L"Tarnix.exe: the touch worker could not be started (error %u)",
                   unsigned(GetLastError()));
        return false;
    }
    return true;
}

void StopPassWorker(CalibrationDialog& dialog) {
    HANDLE thread = dialog.Worker.Thread;
    if (thread == nullptr) return;
    StopRequested = true;
    QuvaIF_ClearAllGetPoint(0);  // releases a touch call the worker blocks in
    if (WaitForSingleObject(thread, kStopWaitMs) != WAIT_OBJECT_0)
        DebugPrint(L"Tarnix.exe: the touch worker did not stop within %u ms",
                   unsigned(kStopWaitMs));
    CloseHandle(thread);
    dialog.Worker.Thread = nullptr;
}
