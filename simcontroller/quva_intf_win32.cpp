// The stand-in QuvaIntf.dll: the 20 driver functions, each handed to the one simulated controller.
#include <windows.h>

#include "driver/quva_driver.h"
#include "simcontroller/sim_controller.h"
#include "simcontroller/sim_platform_win32.h"

namespace {

SimController* controllerInstance = nullptr;

// The controller, made on first use. It lives as long as the process: the library pins itself
// so that its threads never outlive its code.
SimController& Controller() {
    static SimController* const made = [] {
        HMODULE pinned = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&Controller), &pinned);
        const std::filesystem::path settingsPath = SimSettingsPath();
        SimSettings settings = ReadSimSettings(IniFile::FromFile(settingsPath),
                                               settingsPath.parent_path(), SimDefaultLogFolder());
        auto* controller =
            new SimController(std::move(settings), MakeWin32Environment(&controllerInstance));
        controllerInstance = controller;
        controller->Recorder().Call("settings from %s", PathText(settingsPath).c_str());
        controller->StartSources();
        return controller;
    }();
    return *made;
}

}  // namespace

extern "C" {

int32_t QUVA_CALL QuvaIF_EnumTouchScreen(void) { return Controller().EnumTouchScreen(); }
int32_t QUVA_CALL QuvaIF_GetMonitorCount(void) { return Controller().GetMonitorCount(); }
int32_t QUVA_CALL QuvaIF_GetScreenCntForMonitor(int32_t monitorNumber) {
    return Controller().GetScreenCntForMonitor(monitorNumber);
}
int32_t QUVA_CALL QuvaIF_GetMonitorNumberByScreenIndex(int32_t screenIndex) {
    return Controller().GetMonitorNumberByScreenIndex(screenIndex);
}
int32_t QUVA_CALL QuvaIF_GetTouchState(int32_t* state, int32_t screenIndex) {
    return Controller().GetTouchState(state, screenIndex);
}
int32_t QUVA_CALL QuvaIF_ClearAllGetPoint(int32_t reserved) {
    return Controller().ClearAllGetPoint(reserved);
}
int32_t QUVA_CALL QuvaIF_GetFirstCalTouch(TouchSample* sample) {
    return Controller().GetFirstCalTouch(sample);
}
int32_t QUVA_CALL QuvaIF_GetNextCalTouch(int32_t screenIndex, TouchSample* sample) {
    return Controller().GetNextCalTouch(screenIndex, sample);
}
int32_t QUVA_CALL QuvaIF_ReDoCalTouch(int32_t screenIndex) {
    return Controller().ReDoCalTouch(screenIndex);
}
int32_t QUVA_CALL QuvaIF_GetDiagnosticsData(DiagnosticsRecord* record, int32_t screenIndex) {
    return Controller().GetDiagnosticsData(record, screenIndex);
}
int32_t QUVA_CALL QuvaIF_MakeBeep(int32_t frequencyHz, int32_t durationMs) {
    return Controller().MakeBeep(frequencyHz, durationMs);
}
int32_t QUVA_CALL QuvaIF_GetClipRectangles(ClipRecord* record) {
    return Controller().GetClipRectangles(record);
}
int32_t QUVA_CALL QuvaIF_SetVirtualFullScreen(VirtualScreenRecord* record) {
    return Controller().SetVirtualFullScreen(record);
}
int32_t QUVA_CALL QuvaIF_WriteCalibrationData(CalibrationDataRecord* record,
                                              int32_t calibrationByte) {
    return Controller().WriteCalibrationData(record, calibrationByte);
}
int32_t QUVA_CALL QuvaIF_EnableScreen(int32_t screenIndex) {
    return Controller().EnableScreen(screenIndex);
}
int32_t QUVA_CALL QuvaIF_DisableTouch(int32_t first, int32_t second) {
    return Controller().DisableTouch(first, second);
}
int32_t QUVA_CALL QuvaIF_AcquireTalksetLock(int32_t screenIndex, int32_t mode) {
    return Controller().AcquireTalksetLock(screenIndex, mode);
}
int32_t QUVA_CALL QuvaIF_FlushControllerTalksetBuffer(int32_t screenIndex) {
    return Controller().FlushControllerTalksetBuffer(screenIndex);
}
int32_t QUVA_CALL QuvaIF_ReleaseTalksetLock(int32_t screenIndex) {
    return Controller().ReleaseTalksetLock(screenIndex);
}
int32_t QUVA_CALL QuvaIF_CloseDeviceHandles(void) { return Controller().CloseDeviceHandles(); }

}  // extern "C"
