// The simulated touch controller behind the 20 driver functions, free of any platform call.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "driver/quva_records.h"
#include "simcontroller/sensor_model.h"
#include "simcontroller/sim_recorder.h"
#include "simcontroller/sim_settings.h"
#include "simcontroller/touch_queue.h"
#include "simcontroller/touch_script.h"

// What the controller asks of the platform: monitor geometry, the redo signal and the pointer
// source (a mouse hook on Win32). Any member may be empty.
struct SimEnvironment {
    std::function<int32_t()> monitorCount;
    std::function<bool(int32_t monitor, ScreenRect* rect)> monitorRect;
    std::function<void(int32_t screen)> signalRedo;
    std::function<bool()> startPointer;  // true when presses will arrive through PointerPress
    std::function<void()> stopPointer;
};

class SimController {
  public:
    SimController(SimSettings settings, SimEnvironment environment);
    ~SimController();
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    SimRecorder& Recorder() { return recorder_; }
    const SimSettings& Settings() const { return settings_; }

    // The driver functions (arguments as the driver declares them).
    int32_t EnumTouchScreen();
    int32_t GetMonitorCount();
    int32_t GetScreenCntForMonitor(int32_t monitor);
    int32_t GetMonitorNumberByScreenIndex(int32_t screen);
    int32_t GetTouchState(int32_t* state, int32_t screen);
    int32_t ClearAllGetPoint(int32_t reserved);
    int32_t GetFirstCalTouch(TouchSample* sample);
    int32_t GetNextCalTouch(int32_t screen, TouchSample* sample);
    int32_t ReDoCalTouch(int32_t screen);
    int32_t GetDiagnosticsData(DiagnosticsRecord* record, int32_t screen);
    int32_t MakeBeep(int32_t frequency, int32_t durationMs);
    int32_t GetClipRectangles(ClipRecord* record);
    int32_t SetVirtualFullScreen(const VirtualScreenRecord* record);
    int32_t WriteCalibrationData(const CalibrationDataRecord* record, int32_t calibrationByte);
    int32_t EnableScreen(int32_t screen);
    int32_t DisableTouch(int32_t first, int32_t second);
    int32_t AcquireTalksetLock(int32_t screen, int32_t mode);
    int32_t FlushControllerTalksetBuffer(int32_t screen);
    int32_t ReleaseTalksetLock(int32_t screen);
    int32_t CloseDeviceHandles();

    // Starts the touch source of the settings (the touch calls also start it when it is not
    // running, after CloseDeviceHandles for instance).
    void StartSources();

    // A press of the pointer at a virtual-desktop point (from the pointer source's thread):
    // queued as a touch of the screen whose rectangle holds it; false when none does.
    bool PointerPress(double x, double y);

    // The rectangle the sensor of a screen covers: its fixed rectangle or its monitor's.
    bool ScreenRectangle(int32_t screen, ScreenRect* rect) const;

    // The screen point of raw counts under the screen's latest record, when it has one.
    bool CalibratedPoint(int32_t screen, int32_t rawX, int32_t rawY, double* x, double* y) const;

  private:
    bool ValidScreen(int32_t screen) const { return screen >= 0 && screen < settings_.screenCount; }
    void StopSources();
    void RunScript(std::vector<ScriptEntry> entries);
    bool SleepUnlessStopped(uint32_t ms);
    bool MakeScriptTouch(const ScriptEntry& entry, QueuedTouch* touch);
    int32_t Deliver(const char* function, bool delivered, const QueuedTouch& touch,
                    TouchSample* sample);
    void LogDropped(const std::vector<QueuedTouch>& dropped, const char* reason);
    void LogQueued(const QueuedTouch& touch);

    SimSettings settings_;
    SimEnvironment environment_;
    SimRecorder recorder_;
    TouchQueue queue_;

    mutable std::mutex stateMutex_;  // records, locks, sensor noise
    std::vector<std::optional<CalibrationDataRecord>> records_;
    std::vector<bool> talksetLocked_;
    std::vector<SensorNoise> noise_;
    std::vector<SensorNoise> personRandom_;  // the scatter of each screen's person

    std::mutex sourceMutex_;  // starting and stopping the sources
    bool sourcesRunning_ = false;
    bool pointerRunning_ = false;
    std::thread scriptThread_;
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stopScript_ = false;
    size_t scriptPosition_ = 0;  // kept across a close, so a reopened script goes on
};
