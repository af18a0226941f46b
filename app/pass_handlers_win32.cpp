// The pass handlers of the calibration window, on the dialog thread: the first pass's start, the
// pass-start routine, the countdown, a touch's repaint, Accept, Retry, the end routine and the
// last stop. The pass state lives in the sequencer; the handlers carry out what it decides.
#include <windows.h>

#include <chrono>

#include "app/area_glass.h"
#include "app/calibration_dialog.h"
#include "app/calibration_history.h"
#include "app/cursor_control.h"
#include "app/pass_countdown.h"
#include "app/pass_runtime.h"
#include "driver/quva_driver.h"
#include "platform/debug_trace.h"
#include "resources/resource_ids.h"

namespace {

// How long a button waits for a fit and commit in progress before it tries again later (every
// kPendingCommandDelayMs): the window never waits longer at once.
constexpr std::chrono::milliseconds kFitWait{250};

// The pass measures in millimetres on its area's glass; the trace says which.
void MeasureOnAreaGlass(ControllerParameters& parameters, const CalibrationArea& area) {
    UseAreaGlass(parameters, area);
    const std::string glass = GlassSizeText(area.Glass);
    DebugPrint(L"Tarnix.exe: the pass on monitor %d measures on a glass of %s", area.MonitorNumber,
               std::wstring(glass.begin(), glass.end()).c_str());
}

}  // namespace

struct CalibrationDialog::PassHandling {
    static void Repaint(CalibrationDialog& d);
    static void ShowResult(CalibrationDialog& d, const PassView& view);
    static void EndCalibration(CalibrationDialog& d);
    static void StartPass(CalibrationDialog& d, bool stayOnArea);
    static void Carry(CalibrationDialog& d, PassAction action, UINT command);
    static void RunPendingCommand(CalibrationDialog& d);
    static PassRecords RecordsOf(CalibrationDialog& d);
};

PassView CurrentPassView(const PassRuntime& passes) {
    return passes.Sequencer ? passes.Sequencer->View() : PassView();
}

PassRecords CalibrationDialog::PassHandling::RecordsOf(CalibrationDialog& d) {
    return PassRecords{&d.AreaList, d.Config.get(), d.Fit.get()};
}

void CalibrationDialog::PassHandling::Repaint(CalibrationDialog& d) {
    InvalidateRect(d.Window, nullptr, TRUE);
    UpdateWindow(d.Window);
    SetFocus(d.Window);
}

// After the fit: both buttons, or Retry alone when nothing was written.
void CalibrationDialog::PassHandling::ShowResult(CalibrationDialog& d, const PassView& view) {
    d.ShowButtons(view);
    RestorePassCursor();
}

void CalibrationDialog::PassHandling::EndCalibration(CalibrationDialog& d) {
    KillTimer(d.Window, kCountdownTimerId);
    RestorePassCursor();
    d.EndWith(1);
}

// The pass-start routine: next (or the same) area, a fresh pass at target 1 and its worker.
void CalibrationDialog::PassHandling::StartPass(CalibrationDialog& d, bool stayOnArea) {
    PassSequencer& sequencer = *d.Passes.Sequencer;
    const int32_t monitors = UsableDriverCount(QuvaIF_GetMonitorCount());
    QuvaIF_ClearAllGetPoint(0);
    const PassStart start = sequencer.StartPass(d.AreaList, stayOnArea, monitors);
    if (start.Token == 0) {
        DebugPrint(L"Tarnix.exe: %s", L"a fit is still in progress: no new pass");
        return;
    }
    if (start.Area != nullptr) MeasureOnAreaGlass(*d.Parameters, *start.Area);
    d.MoveToCurrentArea();
    d.ShowButtons(sequencer.View());
    SetTimer(d.Window, kCountdownTimerId, 1000, nullptr);
    SetFocus(d.Window);
    HidePassCursor();
    d.MakeTargetGraphics(1);
    NotePassStarted(d.Passes);
    Repaint(d);
}

// Carries out what the sequencer decided for a command of the window.
void CalibrationDialog::PassHandling::Carry(CalibrationDialog& d, PassAction action, UINT command) {
    switch (action) {
        case PassAction::Busy:
            DebugPrint(L"Tarnix.exe: command %u waits for the fit in progress", command);
            d.Passes.PendingCommand = command;
            SetTimer(d.Window, kPendingCommandTimerId, kPendingCommandDelayMs, nullptr);
            return;
        case PassAction::Ignored:
            return;
        case PassAction::StartNextArea:
        case PassAction::StayOnArea:
            ReleaseStoppedPass(d.Passes);
            LeaveUnacceptedPass();  // once the touch call is out of the driver
            StartPass(d, action == PassAction::StayOnArea);
            return;
        case PassAction::EndDialog:
            EndCalibration(d);  // the tear-down closes the touch thread
            return;
    }
}

void CalibrationDialog::PassHandling::RunPendingCommand(CalibrationDialog& d) {
    KillTimer(d.Window, kPendingCommandTimerId);
    const UINT command = d.Passes.PendingCommand;
    d.Passes.PendingCommand = 0;
    if (command == IDC_ACCEPT) d.OnAccept();
    if (command == IDC_RETRY) d.OnRetry();
    if (command == IDCANCEL) d.OnCancel();
}

bool CalibrationDialog::StartFirstPass() {
    if (!Config || !Parameters) return false;
    if (AreaList.Current != nullptr) MeasureOnAreaGlass(*Parameters, *AreaList.Current);
    Passes.Sequencer = std::make_unique<PassSequencer>(
        PassSettingsFor(*Config, *Parameters, ExplicitTarget, PassCountdownLength()));
    Passes.Sequencer->StartFirstPass(AreaList);
    return StartTouchThread(Passes, Window, PassHandling::RecordsOf(*this));
}

void CalibrationDialog::StopPasses() {
    CloseTouchThread(Passes);
    LeaveUnacceptedPass();
    KillTimer(Window, kPendingCommandTimerId);
    Passes.PendingCommand = 0;
    Passes.Sequencer.reset();
}

void CalibrationDialog::OnTimer(UINT_PTR id) {
    if (id == kDwellTimerId) {
        EndTargetDwell();
        return;
    }
    if (id == kPendingCommandTimerId) {
        PassHandling::RunPendingCommand(*this);
        return;
    }
    PassSequencer* sequencer = Passes.Sequencer.get();
    if (id != kCountdownTimerId || sequencer == nullptr) return;
    const TimerTick tick = sequencer->Tick();
    if (tick.Outcome == TimerOutcome::Escape) {
        PostMessageW(Window, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(Window, WM_KEYUP, VK_ESCAPE, 0);
        return;
    }
    HDC dc = GetDC(Window);
    if (dc == nullptr) return;
    DrawCountdown(dc, tick.Seconds);
    ReleaseDC(Window, dc);
}

void CalibrationDialog::OnTouch() {
    PassSequencer* sequencer = Passes.Sequencer.get();
    if (sequencer == nullptr) return;
    const PassView view = sequencer->View();
    if (view.AskCount != AskedTargetsSeen) {
        AskedTargetsSeen = view.AskCount;
        ShownTarget = 0;  // a target asked again dwells and is drawn anew, even the last one
    }
    if (view.CalibrationDone) {
        KeepCommittedPass(view, Fit.get(), Config.get(), Parameters.get(),
                          AreaList.Current != nullptr ? AreaList.Current->Glass : AreaGlass());
        PassHandling::ShowResult(*this, view);
    }
    PassHandling::Repaint(*this);
}

void CalibrationDialog::OnAccept() {
    PassSequencer* sequencer = Passes.Sequencer.get();
    if (sequencer == nullptr) return;
    const int32_t screens = UsableDriverCount(QuvaIF_EnumTouchScreen());
    const PassAction action = sequencer->Accept(AreaList, screens, kFitWait);
    if (action == PassAction::StartNextArea || action == PassAction::EndDialog) {
        DebugPrint(L"Tarnix.exe: accepted %d of %d touch screens; %d areas", AreaList.AcceptedCount,
                   screens, int(AreaList.Areas.size()));
        AcceptCommittedPass();
    }
    PassHandling::Carry(*this, action, IDC_ACCEPT);
}

void CalibrationDialog::OnRetry() {
    PassSequencer* sequencer = Passes.Sequencer.get();
    if (sequencer == nullptr) return;
    PassHandling::Carry(*this, sequencer->Retry(kFitWait), IDC_RETRY);
}

void CalibrationDialog::OnCancel() {
    PassSequencer* sequencer = Passes.Sequencer.get();
    if (sequencer == nullptr) {
        EndWith(1);  // start-up stopped early: there is no pass to end
        return;
    }
    const PassAction action = sequencer->End(AreaList, UsableDriverCount(QuvaIF_EnumTouchScreen()),
                                             UsableDriverCount(QuvaIF_GetMonitorCount()), kFitWait);
    PassHandling::Carry(*this, action, IDCANCEL);
}

void CalibrationDialog::OnPassCancelled(WPARAM token) {
    PassSequencer* sequencer = Passes.Sequencer.get();
    if (sequencer == nullptr) return;
    const PassAction action = sequencer->EndAfterCancelledFirstTouch(
        PassToken(token), AreaList, UsableDriverCount(QuvaIF_EnumTouchScreen()),
        UsableDriverCount(QuvaIF_GetMonitorCount()), kFitWait);
    PassHandling::Carry(*this, action, IDCANCEL);
}
