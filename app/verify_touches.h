// The touch thread of a verification window: one raw touch of the screen per place, each measured
// through the record of the plan. It tells the window by posted messages only.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "app/verify_plan.h"

inline constexpr UINT WM_TARNIX_VERIFY_PLACE = WM_APP + 40;  // wParam: the place to show now
inline constexpr UINT WM_TARNIX_VERIFY_DONE = WM_APP + 41;   // the thread has left

struct VerifyTouches {
    HWND Window = nullptr;
    const VerifyPlan* Plan = nullptr;
    HANDLE Drawn = nullptr;  // set by the window once the target of the place shown is drawn
    HANDLE Thread = nullptr;
    std::atomic<bool> Leaving{false};
    std::vector<double> Misses;  // one per place touched; read once the thread has ended
};

// Starts the thread; false when it could not be.
bool StartVerifyTouches(VerifyTouches& touches);

// Makes the thread leave, releasing a touch call it waits in, and waits for it to end.
void StopVerifyTouches(VerifyTouches& touches);
