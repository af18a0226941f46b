// The pass machinery of the calibration window: its view and result text, and the first pass's
// start and the last stop as start-up and tear-down call them.
#include "app/calibration_dialog.h"
#include "app/pass_countdown.h"
#include "app/pass_fit.h"
#include "app/pass_runtime.h"
#include "app/worker_start.h"
#include "config/debug_trace.h"
#include "resources/resource_ids.h"

PassView CurrentPassView(const PassRuntime& passes) {
    return passes.Sequencer ? passes.Sequencer->View() : PassView();
}

std::wstring PassResultText(const CalibrationDialog& dialog) {
    const PassRuntime& passes = dialog.Passes;
    if (CurrentPassView(passes).FitRefused)
        return FitRefusalExplanation(FitStatus(passes.RefusedStatus.load()));
    return dialog.Text(IDS_FIT_DONE);
}

bool StartPassWorker(CalibrationDialog& dialog) {
    if (!dialog.Config) return false;
    PassRuntime& passes = dialog.Passes;
    passes.Sequencer = std::make_unique<PassSequencer>(
        PassSettingsFor(*dialog.Config, dialog.ExplicitTarget, PassCountdownLength()));
    return LaunchPassWorker(dialog, passes.Sequencer->StartFirstPass());
}

void StopPassWorker(CalibrationDialog& dialog) {
    PassRuntime& passes = dialog.Passes;
    StopRunningWorker(dialog);
    KillTimer(dialog.Window, kPendingCommandTimerId);
    passes.PendingCommand = 0;
    passes.Sequencer.reset();
}
