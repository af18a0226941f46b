// The simulated touch controller behind the 20 driver functions, free of any platform call.
#include "simcontroller/sim_controller.h"

#include <cstring>

#include "simcontroller/calibration_mapping.h"
#include "simcontroller/record_dump.h"

SimController::SimController(SimSettings settings, SimEnvironment environment)
    : settings_(std::move(settings)),
      environment_(std::move(environment)),
      recorder_(settings_.logFolder),
      records_(settings_.screenCount),
      talksetLocked_(settings_.screenCount, false) {
    for (int32_t screen = 0; screen < settings_.screenCount; ++screen) {
        noise_.emplace_back(settings_.seed + static_cast<uint32_t>(screen));
        const SimulatedPerson& person = settings_.screens[screen].person;
        personRandom_.emplace_back(person.seed);
        if (person.scatterMm > 0.0)
            recorder_.Call(
                "screen %d: touched with %.2f mm scatter (panel %.1f x "
                "%.1f mm, seed %u)",
                screen, person.scatterMm, person.panelWidthMm, person.panelHeightMm, person.seed);
        CalibrationDataRecord record{};
        if (recorder_.LoadRecord(screen, &record) && record.ScreenIndex == screen) {
            records_[screen] = record;
            recorder_.Call("loaded the latest calibration of screen %d", screen);
        }
    }
    recorder_.Call("SimController started: %d screen(s), controller type '%c', source %s",
                   settings_.screenCount, settings_.controllerType,
                   settings_.source == TouchSourceKind::Script ? "script" : "pointer");
}

SimController::~SimController() { StopSources(); }

bool SimController::ScreenRectangle(int32_t screen, ScreenRect* rect) const {
    if (!ValidScreen(screen)) return false;
    const ScreenSettings& settings = settings_.screens[screen];
    if (settings.hasRect) {
        *rect = settings.rect;
        return true;
    }
    return environment_.monitorRect && environment_.monitorRect(settings.monitor, rect);
}

bool SimController::CalibratedPoint(int32_t screen, int32_t rawX, int32_t rawY, double* x,
                                    double* y) const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (!ValidScreen(screen) || !records_[screen]) return false;
    return ApplyCalibrationRecord(*records_[screen], rawX, rawY, x, y);
}

// ---- touch log ----

void SimController::LogQueued(const QueuedTouch& touch) {
    if (touch.hasPoint) {
        recorder_.Touch("queued serial=%llu screen=%d x=%d y=%d z=%d point=(%.2f,%.2f)",
                        static_cast<unsigned long long>(touch.serial), touch.screen, touch.x,
                        touch.y, touch.z, touch.pointX, touch.pointY);
    } else {
        recorder_.Touch("queued serial=%llu screen=%d x=%d y=%d z=%d point=-",
                        static_cast<unsigned long long>(touch.serial), touch.screen, touch.x,
                        touch.y, touch.z);
    }
}

void SimController::LogDropped(const std::vector<QueuedTouch>& dropped, const char* reason) {
    for (const QueuedTouch& touch : dropped) {
        recorder_.Touch("dropped serial=%llu screen=%d x=%d y=%d reason=%s",
                        static_cast<unsigned long long>(touch.serial), touch.screen, touch.x,
                        touch.y, reason);
    }
}

int32_t SimController::Deliver(const char* function, bool delivered, const QueuedTouch& touch,
                               TouchSample* sample) {
    if (!delivered) {
        recorder_.Call("%s = -1 (released)", function);
        return -1;
    }
    if (sample != nullptr) {
        sample->X = touch.x;
        sample->Y = touch.y;
        sample->Z = touch.z;
    }
    char calibrated[64] = "-";
    double x = 0.0, y = 0.0;
    if (settings_.applyCalibration && CalibratedPoint(touch.screen, touch.x, touch.y, &x, &y))
        std::snprintf(calibrated, sizeof calibrated, "(%.2f,%.2f)", x, y);
    char point[64] = "-";
    if (touch.hasPoint)
        std::snprintf(point, sizeof point, "(%.2f,%.2f)", touch.pointX, touch.pointY);
    recorder_.Touch("delivered serial=%llu screen=%d x=%d y=%d z=%d point=%s calibrated=%s",
                    static_cast<unsigned long long>(touch.serial), touch.screen, touch.x, touch.y,
                    touch.z, point, calibrated);
    recorder_.Call("%s = %d X=%d Y=%d Z=%d calibrated=%s", function, touch.screen, touch.x, touch.y,
                   touch.z, calibrated);
    return touch.screen;
}

// ---- driver functions ----

int32_t SimController::EnumTouchScreen() {
    recorder_.Call("QuvaIF_EnumTouchScreen() = %d", settings_.screenCount);
    return settings_.screenCount;
}

int32_t SimController::GetMonitorCount() {
    const int32_t count = environment_.monitorCount ? environment_.monitorCount() : 1;
    recorder_.Call("QuvaIF_GetMonitorCount() = %d", count);
    return count;
}

int32_t SimController::GetScreenCntForMonitor(int32_t monitor) {
    int32_t count = 0;
    for (const ScreenSettings& screen : settings_.screens) count += screen.monitor == monitor;
    recorder_.Call("QuvaIF_GetScreenCntForMonitor(monitor=%d) = %d", monitor, count);
    return count;
}

int32_t SimController::GetMonitorNumberByScreenIndex(int32_t screen) {
    const int32_t monitor = ValidScreen(screen) ? settings_.screens[screen].monitor : 0;
    recorder_.Call("QuvaIF_GetMonitorNumberByScreenIndex(screen=%d) = %d", screen, monitor);
    return monitor;
}

int32_t SimController::GetTouchState(int32_t* state, int32_t screen) {
    const int32_t value = ValidScreen(screen) ? 1 : 0;
    if (state != nullptr) *state = value;
    recorder_.Call("QuvaIF_GetTouchState(state=%d, screen=%d) = %d", value, screen, value);
    return value;
}

int32_t SimController::ClearAllGetPoint(int32_t reserved) {
    if (!settings_.clearReleases) {
        recorder_.Call("QuvaIF_ClearAllGetPoint(%d) = 1 (ClearReleases=0: nothing released)",
                       reserved);
        return 1;
    }
    const std::vector<QueuedTouch> dropped = queue_.ReleaseAll();
    recorder_.Call("QuvaIF_ClearAllGetPoint(%d) = 1 (released the waiting calls, dropped %zu)",
                   reserved, dropped.size());
    LogDropped(dropped, "ClearAllGetPoint");
    return 1;
}

int32_t SimController::GetFirstCalTouch(TouchSample* sample) {
    StartSources();
    recorder_.Call("QuvaIF_GetFirstCalTouch() waiting");
    QueuedTouch touch;
    const bool delivered = queue_.Wait(TouchQueue::kAnyScreen, &touch);
    return Deliver("QuvaIF_GetFirstCalTouch()", delivered, touch, sample);
}

int32_t SimController::GetNextCalTouch(int32_t screen, TouchSample* sample) {
    StartSources();
    recorder_.Call("QuvaIF_GetNextCalTouch(screen=%d) waiting", screen);
    if (!ValidScreen(screen)) {
        recorder_.Call("QuvaIF_GetNextCalTouch(screen=%d) = -1 (no such screen)", screen);
        return -1;
    }
    QueuedTouch touch;
    const bool delivered = queue_.Wait(screen, &touch);
    char function[64];
    std::snprintf(function, sizeof function, "QuvaIF_GetNextCalTouch(screen=%d)", screen);
    return Deliver(function, delivered, touch, sample);
}

int32_t SimController::ReDoCalTouch(int32_t screen) {
    const int32_t result = ValidScreen(screen) ? 1 : 0;
    recorder_.Call("QuvaIF_ReDoCalTouch(screen=%d) = %d", screen, result);
    return result;
}

int32_t SimController::GetDiagnosticsData(DiagnosticsRecord* record, int32_t screen) {
    if (record == nullptr) return 0;
    std::memset(record, 0, sizeof *record);
    record->Reserved0 = screen;
    record->PassEndWord = settings_.diagnosticsWord4;
    record->ControllerType = settings_.controllerType;
    record->CalibrationByte = settings_.calibrationByte;
    const int32_t result = ValidScreen(screen) ? 1 : 0;
    recorder_.Call("QuvaIF_GetDiagnosticsData(screen=%d) = %d type='%c' word4=%d byte707=%u",
                   screen, result, settings_.controllerType, settings_.diagnosticsWord4,
                   settings_.calibrationByte);
    return result;
}

int32_t SimController::MakeBeep(int32_t frequency, int32_t durationMs) {
    recorder_.Call("QuvaIF_MakeBeep(frequency=%d, duration=%d) = 1", frequency, durationMs);
    return 1;
}

int32_t SimController::GetClipRectangles(ClipRecord* record) {
    if (record == nullptr) return 0;
    const int32_t monitor = record->MonitorNumber;
    ScreenRect rect;
    const bool known = environment_.monitorRect && environment_.monitorRect(monitor, &rect);
    if (known) {
        // The clip rectangle of the monitor: left, top, right, bottom after the monitor number.
        const int32_t edges[4] = {rect.left, rect.top, rect.left + rect.width,
                                  rect.top + rect.height};
        std::memcpy(record->Reserved4, edges, sizeof edges);
    }
    recorder_.Call("QuvaIF_GetClipRectangles(MonitorNumber=%d) = %d clip=(%d,%d)-(%d,%d)", monitor,
                   known ? 1 : 0, rect.left, rect.top, rect.left + rect.width,
                   rect.top + rect.height);
    return known ? 1 : 0;
}

int32_t SimController::SetVirtualFullScreen(const VirtualScreenRecord* record) {
    if (record == nullptr) return 0;
    recorder_.Call("QuvaIF_SetVirtualFullScreen(%s) = 1", DescribeVirtualScreen(*record).c_str());
    return 1;
}

int32_t SimController::WriteCalibrationData(const CalibrationDataRecord* record,
                                            int32_t calibrationByte) {
    if (record == nullptr) return 0;
    const CalibrationDataRecord copy = *record;
    const int32_t screen = copy.ScreenIndex;
    const bool saved = recorder_.SaveRecord(copy);
    if (ValidScreen(screen)) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        records_[screen] = copy;
    }
    const int32_t result = saved && ValidScreen(screen) ? 1 : 0;
    recorder_.Call("QuvaIF_WriteCalibrationData(screen=%d, byte=%d) = %d %s", screen,
                   calibrationByte, result, DescribeCalibrationRecord(copy).c_str());
    return result;
}

int32_t SimController::EnableScreen(int32_t screen) {
    const int32_t result = ValidScreen(screen) ? 1 : 0;
    recorder_.Call("QuvaIF_EnableScreen(screen=%d) = %d", screen, result);
    return result;
}

int32_t SimController::DisableTouch(int32_t first, int32_t second) {
    const std::vector<QueuedTouch> dropped = queue_.ReleaseAll();
    recorder_.Call("QuvaIF_DisableTouch(%d, %d) = 1 (released the waiting calls, dropped %zu)",
                   first, second, dropped.size());
    LogDropped(dropped, "DisableTouch");
    return 1;
}

int32_t SimController::AcquireTalksetLock(int32_t screen, int32_t mode) {
    int32_t result = 0;
    if (ValidScreen(screen)) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        result = talksetLocked_[screen] ? 0 : 1;
        talksetLocked_[screen] = true;
    }
    recorder_.Call("QuvaIF_AcquireTalksetLock(screen=%d, mode=%d) = %d", screen, mode, result);
    return result;
}

int32_t SimController::FlushControllerTalksetBuffer(int32_t screen) {
    int32_t result = 0;
    if (ValidScreen(screen)) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        result = talksetLocked_[screen] ? 1 : 0;
    }
    const std::vector<QueuedTouch> dropped =
        result ? queue_.DropScreen(screen) : std::vector<QueuedTouch>();
    recorder_.Call("QuvaIF_FlushControllerTalksetBuffer(screen=%d) = %d (dropped %zu)", screen,
                   result, dropped.size());
    LogDropped(dropped, "FlushControllerTalksetBuffer");
    return result;
}

int32_t SimController::ReleaseTalksetLock(int32_t screen) {
    int32_t result = 0;
    if (ValidScreen(screen)) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        result = talksetLocked_[screen] ? 1 : 0;
        talksetLocked_[screen] = false;
    }
    recorder_.Call("QuvaIF_ReleaseTalksetLock(screen=%d) = %d", screen, result);
    return result;
}

int32_t SimController::CloseDeviceHandles() {
    StopSources();
    queue_.Close();
    recorder_.Call(
        "QuvaIF_CloseDeviceHandles() = 1 (sources stopped; the next touch call reopens)");
    return 1;
}
