// The Win32 services of the stand-in controller: where its settings live, monitors, redo event,
// mouse hook.
#pragma once

#include <filesystem>

#include "simcontroller/sim_controller.h"

// The settings file: %SIMCONTROLLER_INI% when set, else "SimController.ini" beside the library
// (the installed library sits in the support folder).
std::filesystem::path SimSettingsPath();

// Common application data + "Zeph\Touch\SimController".
std::filesystem::path SimDefaultLogFolder();

// Monitor geometry, the named redo event and the pointer hook for a controller. The controller
// pointer is given to the hook once the controller exists.
SimEnvironment MakeWin32Environment(SimController* const* controller);
