// Test program: a window covering the primary monitor that waits for one touch from QuvaIntf.dll.
//
//   sim_touch_window.exe X Y   prints "expected X=.. Y=.. Z=.." (the sensor model's counts for
//                              the pixel's centre, from the same settings) and "touch screen=.. X=.. Y=..
//                              Z=.." when the touch arrives; exit 0, or 2 when none came within 30
//                              s.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "driver/quva_driver.h"
#include "simcontroller/sensor_model.h"
#include "simcontroller/sim_platform_win32.h"
#include "simcontroller/sim_settings.h"

namespace {

std::atomic<bool> touched{false};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, w, l);
}

HWND MakeWindow(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"SimTouchWindowClass";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"SimTouchWindow", WS_POPUP, 0, 0,
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                        nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

void PrintExpected(double x, double y, int screen) {
    // The library reads the settings beside itself; so does this program, for the same model.
    const SimSettings settings = ReadSimSettings(IniFile::FromFile(SimSettingsPath()), {}, {});
    if (screen < 0 || screen >= settings.screenCount) return;
    ScreenRect monitor;
    if (!MakeWin32Environment(nullptr).monitorRect(settings.screens[screen].monitor, &monitor))
        return;
    // A click on pixel (x, y) lands on that pixel's centre.
    const RawCounts raw =
        SensorRawTouch(monitor, settings.screens[screen].sensor, x + 0.5, y + 0.5, nullptr);
    std::printf("expected X=%d Y=%d Z=%d\n", raw.x, raw.y, raw.z);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) return 3;
    PrintExpected(std::atof(argv[1]), std::atof(argv[2]), argc == 4 ? std::atoi(argv[3]) : 0);
    std::printf("screens %d\n", QuvaIF_EnumTouchScreen());  // the library and its hook start here
    std::fflush(stdout);
    HWND window = MakeWindow(GetModuleHandleW(nullptr));
    std::thread worker([window] {
        TouchSample sample{};
        const int32_t screen = QuvaIF_GetFirstCalTouch(&sample);
        if (screen >= 0)
            std::printf("touch screen=%d X=%d Y=%d Z=%d\n", screen, sample.X, sample.Y, sample.Z);
        std::fflush(stdout);
        touched = screen >= 0;
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    // No touch within 30 s: release the call so that the program ends.
    SetTimer(window, 1, 30000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) QuvaIF_ClearAllGetPoint(0);
        DispatchMessageW(&message);
    }
    worker.join();
    return touched ? 0 : 2;
}
