// Tear-down of the calibration window: the controllers go back to the driver, the desktop
// monitor tool is started again (neither by a second copy that the mutex refused), the named
// objects are closed and every record is released.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "app/calibration_dialog.h"
#include "app/cursor_control.h"
#include "app/dialog_drawing.h"
#include "app/worker_start.h"
#include "config/debug_trace.h"
#include "config/support_folder.h"
#include "driver/quva_driver.h"

namespace {

void ReturnControllers() {
    int32_t screens = QuvaIF_EnumTouchScreen();
    QuvaIF_DisableTouch(0, -1);
    RestorePassCursor();
    for (int32_t i = 0; i < screens; ++i) {
        if (QuvaIF_AcquireTalksetLock(i, 3) == 0) continue;
        DebugPrint(L"Tarnix.exe: %s", L"Flush controller Talkset buffer!");
        QuvaIF_FlushControllerTalksetBuffer(i);
        QuvaIF_ReleaseTalksetLock(i);
    }
    QuvaIF_CloseDeviceHandles();
}

void RestartDesktopMonitor() {
    wchar_t folder[kSupportFolderCapacity];
    GetSupportFolder(folder);
    HINSTANCE result =
        ShellExecuteW(nullptr, L"open", L"QuvaDkMon.exe", nullptr, folder, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        DebugPrint(L"Tarnix.exe: QuvaDkMon.exe could not be started (%d)",
                   int(reinterpret_cast<INT_PTR>(result)));
}

}  // namespace

void CalibrationDialog::OnDestroy() {
    StopPassWorker(*this);
    if (TimerId != 0) KillTimer(Window, kCountdownTimerId);
    KillTimer(Window, kDwellTimerId);
    if (!SecondCopy) {
        ReturnControllers();
        RestartDesktopMonitor();
    }
    if (ExitEvent != nullptr) {
        SetEvent(ExitEvent);
        CloseHandle(ExitEvent);
        ExitEvent = nullptr;
    }
    if (InstanceMutex != nullptr) {
        ReleaseMutex(InstanceMutex);
        CloseHandle(InstanceMutex);
        InstanceMutex = nullptr;
    }
    GridGraphic.reset();
    MiniGraphic.reset();
    ReleaseButtonPictures(*this);
    Fit.reset();
    Config.reset();
    Parameters.reset();
    AreaList = CalibrationAreaList();
}
