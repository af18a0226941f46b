// Starting and stopping the worker thread that collects the touches of a pass.
#pragma once

class CalibrationDialog;

// Starts the worker of a new pass (8192-byte stack) and stores its handle; false when it could
// not be created.
bool StartPassWorker(CalibrationDialog& dialog);

// Stops the running worker cooperatively: sets its stop flag, releases its blocked driver call
// and waits for it a bounded time. Does nothing when no worker runs.
void StopPassWorker(CalibrationDialog& dialog);
