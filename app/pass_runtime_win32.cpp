// The pass machinery of the calibration window: its one instance, the globals the drawing reads,
// and the first pass's start and the last stop as start-up and tear-down call them.
#include "app/calibration_dialog.h"
#include "app/pass_countdown.h"
#include "app/pass_fit.h"
#include "app/pass_runtime.h"
#include "app/run_state.h"
#include "app/worker_start.h"
#include "config/debug_trace.h"
#include "resources/resource_ids.h"

PassRuntime& Passes() {
    static PassRuntime runtime;
    return runtime;
}

void MirrorPassView(CalibrationDialog& dialog, const PassView& view) {
    CurrentTarget = view.CurrentTarget;
    CollectingTouches = view.CollectingTouches;
    CalibrationDone = view.CalibrationDone;
    CountdownSeconds = view.CountdownSeconds;
    dialog.CancelCount = view.CancelCount;
}

std::wstring PassResultText(const CalibrationDialog& dialog) {
    const PassRuntime& passes = Passes();
    if (passes.Sequencer && passes.Sequencer->View().FitRefused)
        return FitRefusalExplanation(FitStatus(passes.RefusedStatus.load()));
    return dialog.Text(IDS_FIT_DONE);
}

bool StartPassWorker(CalibrationDialog& dialog) {
    if (!dialog.Config) return false;
    PassRuntime& passes = Passes();
    passes.Sequencer = std::make_unique<PassSequencer>(
        PassSettingsFor(*dialog.Config, dialog.ExplicitTarget, PassCountdownLength()));
    const PassToken token = passes.Sequencer->StartFirstPass();
    MirrorPassView(dialog, passes.Sequencer->View());
    return LaunchPassWorker(dialog, token);
}

void StopPassWorker(CalibrationDialog& dialog) {
    PassRuntime& passes = Passes();
    StopRunningWorker(dialog);
    KillTimer(dialog.Window, kPendingCommandTimerId);
    passes.PendingCommand = 0;
    passes.Sequencer.reset();
}
