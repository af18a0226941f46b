// QuvaDkMon.exe stand-in: waits on the "QuvaDskMonClose" event and exits when it is set, logging
// both.
#include <windows.h>

#include "simcontroller/sim_platform_win32.h"
#include "simcontroller/sim_recorder.h"
#include "simcontroller/sim_settings.h"

namespace {

void Log(const std::filesystem::path& folder, const char* text) {
    SimRecorder recorder(folder);
    recorder.Call("QuvaDkMon pid=%lu %s", GetCurrentProcessId(), text);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::filesystem::path settingsPath = SimSettingsPath();
    const SimSettings settings = ReadSimSettings(IniFile::FromFile(settingsPath),
                                                 settingsPath.parent_path(), SimDefaultLogFolder());
    // The log of the monitor stand-in lives beside the controller's, in its own file.
    const std::filesystem::path folder = settings.logFolder / L"QuvaDkMon";
    HANDLE closeEvent = CreateEventW(nullptr, FALSE, FALSE, L"QuvaDskMonClose");
    if (closeEvent == nullptr) {
        Log(folder, "cannot create the close event");
        return 1;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        Log(folder, "another instance holds the close event; exit");
        CloseHandle(closeEvent);
        return 0;
    }
    Log(folder, "start: waiting for QuvaDskMonClose");
    const DWORD result = WaitForSingleObject(closeEvent, INFINITE);
    Log(folder,
        result == WAIT_OBJECT_0 ? "exit: QuvaDskMonClose was set" : "exit: the wait failed");
    CloseHandle(closeEvent);
    return result == WAIT_OBJECT_0 ? 0 : 1;
}
