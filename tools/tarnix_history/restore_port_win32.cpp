// Restore on Win32: the system's monitors, and the record sent as a commit sends it.
#include <windows.h>

#include "app/instance_mutex.h"
#include "app/pass_commit.h"
#include "display/monitors.h"
#include "driver/quva_driver.h"
#include "tools/tarnix_history/restore_port.h"

std::vector<MonitorRect> CurrentMonitors() {
    MonitorSummary summary;
    return MonitorRectangles(summary);
}

bool TarnixIsRunning() {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName);
    if (mutex == nullptr) return false;
    CloseHandle(mutex);
    return true;
}

bool DriverHasScreen(int32_t screenIndex, std::string& error) {
    const int32_t screens = QuvaIF_EnumTouchScreen();
    if (screenIndex >= 0 && screenIndex < screens) return true;
    error = "the driver reports no touch screen " + std::to_string(screenIndex);
    return false;
}

void SendRecordToDriver(const CalibrationDataRecord& record) {
    DiagnosticsRecord diagnostics{};
    QuvaIF_GetDiagnosticsData(&diagnostics, record.ScreenIndex);
    SendCalibrationRecord(record, diagnostics.CalibrationByte);
}
