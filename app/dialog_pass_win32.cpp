// The first version of the pass handlers: the countdown, touches advancing the targets, and
// Accept, Retry and Esc ending or restarting the pass. Fitting and committing a pass are not
// done here; the pass logic built on top of the window replaces these handlers.
#include <windows.h>

#include "app/calibration_dialog.h"
#include "app/cursor_control.h"
#include "app/dialog_drawing.h"
#include "app/run_state.h"
#include "app/text_format.h"
#include "app/worker_start.h"
#include "config/debug_trace.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kBackgroundColour = RGB(140, 215, 242);
constexpr int kCountdownBand = 60;

void DrawCountdown(CalibrationDialog& d) {
    HDC dc = GetDC(d.Window);
    if (dc == nullptr) return;
    RECT band;
    GetClientRect(d.Window, &band);
    band.top = band.bottom - kCountdownBand;
    SetBkColor(dc, kBackgroundColour);
    SetTextColor(dc, RGB(255, 0, 0));
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(d.Window, WM_GETFONT, 0, 0)));
    std::wstring text = FormatNumberText(d.Text(IDS_COUNTDOWN), CountdownSeconds, kMaxTextLength);
    DrawTextW(dc, text.c_str(), -1, &band, DT_CENTER);
    SelectObject(dc, oldFont);
    ReleaseDC(d.Window, dc);
}

// The next target, passing over mini-target slots that are not enabled.
int32_t NextTarget(const CalibrationConfig& config, int32_t target) {
    ++target;
    int32_t grid = GridPointCount;
    while (target > grid && target <= grid + kMiniTargetSlots &&
           !config.MiniTargetEnabled[target - grid - 1])
        ++target;
    return target;
}

void EndRun(CalibrationDialog& d) {
    StopPassWorker(d);
    KillTimer(d.Window, kCountdownTimerId);
    RestorePassCursor();
    d.EndWith(1);
}

}  // namespace

void CalibrationDialog::OnTimer(UINT_PTR id) {
    if (id == kDwellTimerId) {
        EndTargetDwell(*this);
        return;
    }
    if (id != TimerId || TimerId == 0) return;
    if (--CountdownSeconds <= 0) {
        CountdownSeconds = kCountdownStart;
        PostMessageW(Window, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(Window, WM_KEYUP, VK_ESCAPE, 0);
        return;
    }
    DrawCountdown(*this);
}

void CalibrationDialog::OnTouch() {
    if (!Config || !CollectingTouches) return;
    TouchSlot touch;
    {
        std::lock_guard<std::mutex> lock(SlotLock);
        touch = Slot;
    }
    CountdownSeconds = kCountdownStart;
    int32_t target = CurrentTarget;
    if (!SimulateMode && target >= 1 && target <= TargetCount &&
        size_t(target) <= Config->Touches.size())
        Config->Touches[size_t(target) - 1] = TouchEntry{target, double(touch.V), double(touch.W)};
    CurrentTarget = NextTarget(*Config, target);
    if (CurrentTarget > TargetCount) {
        CollectingTouches = false;
        DebugPrint(L"Tarnix.exe: %s", L"the pass has its touches; this window does not fit them");
        ShowButtons(true);
        RestorePassCursor();
    }
    InvalidateRect(Window, nullptr, TRUE);
    UpdateWindow(Window);
}

void CalibrationDialog::OnAccept() { EndRun(*this); }

void CalibrationDialog::OnRetry() {
    StopPassWorker(*this);
    CollectingTouches = true;
    CalibrationDone = false;
    CountdownSeconds = kCountdownStart;
    ShowButtons(false);
    HidePassCursor();
    CurrentTarget = 1;
    MakeTargetGraphics(1);
    StartPassWorker(*this);
    InvalidateRect(Window, nullptr, TRUE);
}

void CalibrationDialog::OnCancel() {
    ++CancelCount;
    EndRun(*this);
}
