// The Win32 services of the stand-in controller: where its settings live, monitors, redo event,
// mouse hook.
#include "simcontroller/sim_platform_win32.h"

#include <shlobj.h>
#include <windows.h>

#include <vector>

namespace {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
    return TRUE;
}

std::vector<RECT> Monitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// ---- the pointer source: a low-level mouse hook on a thread with its own message loop ----

SimController* const* hookController = nullptr;
HANDLE hookThread = nullptr;
DWORD hookThreadId = 0;

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && message == WM_LBUTTONDOWN && hookController && *hookController) {
        const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        // The press lands on the centre of the pixel under the pointer, as a finger aims at the
        // centre of what is drawn there.
        (*hookController)->PointerPress(mouse->pt.x + 0.5, mouse->pt.y + 0.5);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

struct HookStart {
    HANDLE ready;
    bool installed;
};

DWORD WINAPI HookThreadMain(void* parameter) {
    auto* start = static_cast<HookStart*>(parameter);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, MouseHook, ThisModule(), 0);
    start->installed = hook != nullptr;
    SetEvent(start->ready);
    if (hook == nullptr) return 0;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    UnhookWindowsHookEx(hook);
    return 0;
}

bool StartHook() {
    HookStart start{CreateEventW(nullptr, TRUE, FALSE, nullptr), false};
    if (start.ready == nullptr) return false;
    hookThread = CreateThread(nullptr, 0, HookThreadMain, &start, 0, &hookThreadId);
    if (hookThread != nullptr) WaitForSingleObject(start.ready, 10000);
    CloseHandle(start.ready);
    if (hookThread != nullptr && !start.installed) {
        WaitForSingleObject(hookThread, 5000);
        CloseHandle(hookThread);
        hookThread = nullptr;
    }
    return hookThread != nullptr;
}

void StopHook() {
    if (hookThread == nullptr) return;
    PostThreadMessageW(hookThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(hookThread, 5000);
    CloseHandle(hookThread);
    hookThread = nullptr;
}

void SignalRedo(int32_t) {
    // The same auto-reset event the calibration program waits on.
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, L"QuvaReDoCalEvent4683");
    if (event == nullptr) return;
    SetEvent(event);
    CloseHandle(event);
}

}  // namespace

std::filesystem::path SimSettingsPath() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetEnvironmentVariableW(L"SIMCONTROLLER_INI", buffer, MAX_PATH * 4);
    if (length > 0 && length < MAX_PATH * 4) return std::filesystem::path(buffer);
    const DWORD nameLength = GetModuleFileNameW(ThisModule(), buffer, MAX_PATH * 4);
    std::filesystem::path module(std::wstring(buffer, nameLength));
    return module.parent_path() / kSimSettingsFileName;
}

std::filesystem::path SimDefaultLogFolder() {
    wchar_t folder[MAX_PATH] = L"C:\\ProgramData";
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::filesystem::path(folder) / L"Zeph" / L"Touch" / L"SimController";
}

SimEnvironment MakeWin32Environment(SimController* const* controller) {
    hookController = controller;
    SimEnvironment environment;
    environment.monitorCount = [] {
        const int count = GetSystemMetrics(SM_CMONITORS);
        return count > 0 ? count : 1;
    };
    environment.monitorRect = [](int32_t monitor, ScreenRect* rect) {
        const std::vector<RECT> monitors = Monitors();
        if (monitor < 1 || monitor > static_cast<int32_t>(monitors.size())) return false;
        const RECT& r = monitors[monitor - 1];
        *rect = ScreenRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        return true;
    };
    environment.signalRedo = SignalRedo;
    environment.startPointer = StartHook;
    environment.stopPointer = StopHook;
    return environment;
}
