// The touch thread of a verification window: waits for each place's target to be drawn, takes the
// screen's next raw touch from the driver and measures its miss.
#include <cmath>

#include "app/pass_rules.h"
#include "app/verify_touches.h"
#include "driver/quva_driver.h"
#include "platform/debug_trace.h"

namespace {

constexpr DWORD kReleaseIntervalMs = 50;
constexpr int kMostReleases = 40;

// The next raw touch of the plan's screen: the first of the run names its screen (touches of
// other screens are passed over). False when the call was cancelled or released.
bool TouchOfScreen(VerifyTouches& t, bool first, TouchSample& sample) {
    const int32_t screen = t.Plan->Screen;
    if (!first) return QuvaIF_GetNextCalTouch(screen, &sample) != -1 && !t.Leaving;
    for (;;) {
        const int32_t touched = QuvaIF_GetFirstCalTouch(&sample);
        if (touched == -1 || t.Leaving) return false;
        if (touched == screen) return true;
        DebugPrint(L"Tarnix.exe: verification: a touch of screen %d passed over", int(touched));
    }
}

void CollectTouches(VerifyTouches& t) {
    for (size_t k = 0; k < t.Plan->Places.size(); ++k) {
        PostMessageW(t.Window, WM_TARNIX_VERIFY_PLACE, WPARAM(k), 0);
        if (WaitForSingleObject(t.Drawn, INFINITE) != WAIT_OBJECT_0 || t.Leaving) return;
        TouchSample sample{};
        if (!TouchOfScreen(t, k == 0, sample)) return;
        const RawPoint raw{double(ControllerUnits(sample.X)), double(ControllerUnits(sample.Y))};
        const double mm = VerifyMissMm(*t.Plan, k, raw);
        DebugPrint(L"Tarnix.exe: verification touch %d: V=%d W=%d, missed by %.2f mm", int(k + 1),
                   int(raw.V), int(raw.W), mm);
        t.Misses.push_back(mm);
    }
}

DWORD WINAPI VerifyTouchThread(LPVOID parameter) {
    auto& touches = *static_cast<VerifyTouches*>(parameter);
    CollectTouches(touches);
    PostMessageW(touches.Window, WM_TARNIX_VERIFY_DONE, 0, 0);
    return 0;
}

}  // namespace

bool StartVerifyTouches(VerifyTouches& touches) {
    touches.Drawn = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (touches.Drawn == nullptr) return false;
    touches.Thread = CreateThread(nullptr, 0, VerifyTouchThread, &touches, 0, nullptr);
    return touches.Thread != nullptr;
}

void StopVerifyTouches(VerifyTouches& touches) {
    touches.Leaving = true;
    if (touches.Drawn != nullptr) SetEvent(touches.Drawn);
    for (int k = 0; touches.Thread != nullptr && k < kMostReleases; ++k) {
        if (WaitForSingleObject(touches.Thread, kReleaseIntervalMs) == WAIT_OBJECT_0) break;
        QuvaIF_ClearAllGetPoint(0);
    }
    if (touches.Thread != nullptr && WaitForSingleObject(touches.Thread, 0) != WAIT_OBJECT_0) {
        QuvaIF_DisableTouch(0, -1);  // releases a call that ClearAllGetPoint does not
        WaitForSingleObject(touches.Thread, INFINITE);
    }
    if (touches.Thread != nullptr) CloseHandle(touches.Thread);
    if (touches.Drawn != nullptr) CloseHandle(touches.Drawn);
    touches.Thread = touches.Drawn = nullptr;
}
