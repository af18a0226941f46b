// The system's caption height on Win32, in twips of the screen's logical resolution.
#include <windows.h>

#include "config/platform.h"

int PlatformDefaultCaptionHeightTwips() {
    int pixels = GetSystemMetrics(SM_CYCAPTION);
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (pixels <= 0) pixels = 22;
    if (dpi <= 0) dpi = 96;
    return MulDiv(pixels, 1440, dpi);
}
