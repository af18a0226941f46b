// The application object: checks for a touch screen and a recent enough driver library, then
// runs the calibration window modally.
#pragma once

#include <windows.h>

class CalibrationApp {
  public:
    // Always false: the process ends when the window has closed.
    bool InitInstance(HINSTANCE instance);

    // The process's exit status: 0, or kExitUnexpectedFailure when the window ended by one; with
    // -V, the verification's (see verify_run.h).
    int ExitStatus = 0;
};

extern CalibrationApp TheApp;
