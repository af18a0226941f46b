// Links a call to every QuvaIntf.dll function through the import library; never run.
#include "driver/quva_driver.h"

int main() {
    TouchSample sample{};
    DiagnosticsRecord diagnostics{};
    ClipRecord clip{};
    VirtualScreenRecord screen{};
    CalibrationDataRecord record{};
    int32_t state = 0;
    return QuvaIF_EnumTouchScreen() + QuvaIF_GetMonitorCount() + QuvaIF_GetScreenCntForMonitor(1) +
           QuvaIF_GetMonitorNumberByScreenIndex(0) + QuvaIF_GetTouchState(&state, 0) +
           QuvaIF_ClearAllGetPoint(0) + QuvaIF_GetFirstCalTouch(&sample) +
           QuvaIF_GetNextCalTouch(0, &sample) + QuvaIF_ReDoCalTouch(0) +
           QuvaIF_GetDiagnosticsData(&diagnostics, 0) + QuvaIF_MakeBeep(440, 10) +
           QuvaIF_GetClipRectangles(&clip) + QuvaIF_SetVirtualFullScreen(&screen) +
           QuvaIF_WriteCalibrationData(&record, 0) + QuvaIF_EnableScreen(0) +
           QuvaIF_DisableTouch(0, -1) + QuvaIF_AcquireTalksetLock(0, 3) +
           QuvaIF_FlushControllerTalksetBuffer(0) + QuvaIF_ReleaseTalksetLock(0) +
           QuvaIF_CloseDeviceHandles();
}
