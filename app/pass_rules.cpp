// The rules that move a calibration pass along, as plain functions.
#include "app/pass_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/debug_trace.h"

int32_t UsableDriverCount(int32_t reported) {
    const int32_t usable = std::clamp(reported, int32_t(0), kMaxDriverCount);
    if (usable != reported)
        DebugPrint(L"Tarnix.exe: the driver reported a count of %d, using %d", reported, usable);
    return usable;
}

int32_t TruncatedCoordinate(double value) {
    if (!std::isfinite(value)) return 0;
    const double low = std::numeric_limits<int32_t>::min();
    const double high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(value), low, high));
}

int32_t NextTarget(int32_t current, int32_t gridPointCount,
                   const bool (&miniTargetEnabled)[kMiniTargetSlots]) {
    int32_t next = current + 1;
    while (next > gridPointCount && next <= gridPointCount + kMiniTargetSlots &&
           !miniTargetEnabled[next - gridPointCount - 1]) {
        ++next;
    }
    return next;
}

bool IsPassFinished(int32_t targetAfterTouch, int32_t targetCount, char controllerType,
                    int32_t passEndWord) {
    if (controllerType == kSingleTouchControllerType && passEndWord == kSingleTouchPassEndWord)
        return true;
    return targetAfterTouch > targetCount;
}

int32_t ChoosePassMonitor(int32_t currentMonitor, int32_t driverMonitorCount, bool stayOnArea) {
    int32_t monitor = driverMonitorCount != 0 ? currentMonitor : 0;
    if (!stayOnArea) monitor += 1;
    if (monitor > driverMonitorCount) monitor = 1;
    return monitor;
}

bool IsDueToEnd(int32_t calibratedMark, int32_t cancelCount, int32_t touchScreenCount,
                int32_t driverMonitorCount) {
    return calibratedMark == touchScreenCount ||
           cancelCount == std::max(driverMonitorCount, touchScreenCount);
}

void WorkerTouchCount::StartAfterFirstTouch(char controllerType) {
    count_ = controllerType == kSingleTouchControllerType ? 2 * touchesToCollect_ : 1;
}

bool SimulatedTouch(const std::vector<TouchEntry>& touches, int32_t entry, int32_t& v, int32_t& w) {
    if (entry < 1 || size_t(entry) > touches.size()) return false;
    v = TruncatedCoordinate(touches[entry - 1].V);
    w = TruncatedCoordinate(touches[entry - 1].W);
    return true;
}
