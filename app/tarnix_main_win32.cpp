// Entry of Tarnix.exe: hands over to the application object.
#include <windows.h>

#include "app/calibration_app.h"
#include "app/unexpected_failure.h"

// Exit status: 0 after any ordinary end (refusals included), kExitUnexpectedFailure after an
// exception that nothing else handled; with -V, the verification's.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        TheApp.InitInstance(instance);
        return TheApp.ExitStatus;
    } catch (...) {
        ReportUnexpectedFailure(L"start-up");
        return kExitUnexpectedFailure;
    }
}
