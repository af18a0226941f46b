// Start of the program: the touch-screen and driver-version checks, then the modal window, or a
// verification first when the command line asks for one.
#include "app/calibration_app.h"
#include "app/calibration_dialog.h"
#include "app/driver_version.h"
#include "app/pass_rules.h"
#include "app/unexpected_failure.h"
#include "app/verify_run.h"
#include "config/command_line.h"
#include "config/version_check.h"
#include "driver/quva_driver.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"

CalibrationApp TheApp;

namespace {

// Too old when the library's version text is below 4, or when it has none that can be read.
bool DriverTooOld() {
    std::wstring path = DriverLibraryPath();
    if (!PlatformFileExists(path)) return false;
    std::wstring version;
    if (!ReadProductVersion(path, version)) {
        DebugPrint(L"Tarnix.exe: %s has no readable ProductVersion: treated as too old",
                   path.c_str());
        return true;
    }
    DebugPrint(L"Tarnix.exe: driver library version %s", version.c_str());
    return IsDriverVersionTooOld(version.c_str());
}

// The start-up refusals: traced, then shown.
void Refuse(const wchar_t* message) {
    DebugPrint(L"Tarnix.exe: %s", message);
    MessageBoxW(nullptr, message, L"Tarnix", MB_OK);
}

// True when the calibration window runs: without -V, or after a verification in which the person
// chose to calibrate. With -V, status gets the verification's (kept after a calibration).
bool VerifyFirst(HINSTANCE instance, int& status) {
    CommandLineOptions options;
    if (!ParseCommandLine(GetCommandLineW(), options) || !options.Verify) return true;
    const VerifyRunOutcome outcome =
        RunVerification(instance, options, UsableDriverCount(QuvaIF_EnumTouchScreen()));
    status = outcome.Status;
    return outcome.Calibrate;
}

}  // namespace

bool CalibrationApp::InitInstance(HINSTANCE instance) {
    if (UsableDriverCount(QuvaIF_EnumTouchScreen()) == 0) {
        Refuse(L"Quva Touch Screens are not found!");
    } else if (DriverTooOld()) {
        Refuse(L"Tarnix only works ver 4.0 or above!\nPlease update your driver!");
    } else if (VerifyFirst(instance, ExitStatus)) {
        CalibrationDialog dialog(instance);
        if (dialog.DoModal() == kExitUnexpectedFailure) ExitStatus = kExitUnexpectedFailure;
    }
    return false;
}
