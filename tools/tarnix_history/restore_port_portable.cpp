// Restore on the portable build: there is no touch driver to write to.
#include "tools/tarnix_history/restore_port.h"

std::vector<MonitorRect> CurrentMonitors() { return {}; }

bool TarnixIsRunning() { return false; }

bool DriverHasScreen(int32_t, std::string& error) {
    error = "restore needs the touch driver, which only the Windows build reaches";
    return false;
}

void SendRecordToDriver(const CalibrationDataRecord&) {}
