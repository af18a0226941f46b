// The application object: checks for a touch screen and a recent enough driver library, then
// runs the calibration window modally.
#pragma once

#include <windows.h>

class CalibrationApp {
  public:
    // Always false: the process ends when the window has closed.
    bool InitInstance(HINSTANCE instance);
};

extern CalibrationApp TheApp;
