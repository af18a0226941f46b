// Entry of Tarnix.exe: hands over to the application object.
#include <windows.h>

#include "app/calibration_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    TheApp.InitInstance(instance);
    return 0;
}
