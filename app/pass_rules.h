// The rules that move a calibration pass along, as plain functions: target advance with mini-target
// skipping, the worker's touch count, the monitor of the next pass, the due-to-end test.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "config/calibration_config.h"

// Controller type that changes the pass and the commit, and its pass-end word.
inline constexpr char kSingleTouchControllerType = '7';
inline constexpr int32_t kSingleTouchPassEndWord = 3;

// The most touch screens, and monitors known to the driver, that a run deals with.
inline constexpr int32_t kMaxDriverCount = 32;

// A touch screen or monitor count as the driver reported it, kept within 0 .. kMaxDriverCount
// (a negative count is none; a larger one is cut, with a trace, so the end routine stays
// reachable).
int32_t UsableDriverCount(int32_t reported);

// A touch is stored for a target only once the target has been on screen this long (a human
// reaction time): a bounce or a touch queued during the dwell comes earlier and is dropped.
inline constexpr std::chrono::milliseconds kReactionTime{150};

// Raw controller coordinates are used in units of 16 (arithmetic shift).
inline int32_t ControllerUnits(int32_t raw) { return raw >> 4; }

// A stored coordinate as an integer, truncated toward zero (non-finite gives 0, clamped to 32
// bits).
int32_t TruncatedCoordinate(double value);

// The target after current: current + 1, then past the mini targets that are not enabled
// (slot k = target - gridPointCount, 1..11), stopping at gridPointCount + 12 at most.
int32_t NextTarget(int32_t current, int32_t gridPointCount,
                   const bool (&miniTargetEnabled)[kMiniTargetSlots]);

// The pass is finished after a touch when a type '7' controller reports its pass-end word, or
// when the target after the touch lies beyond the last target.
bool IsPassFinished(int32_t targetAfterTouch, int32_t targetCount, char controllerType,
                    int32_t passEndWord);

// The monitor of the next pass: the current one (none when the driver counts no monitor), moved
// on by one unless staying, wrapped to 1 past the driver's monitor count.
int32_t ChoosePassMonitor(int32_t currentMonitor, int32_t driverMonitorCount, bool stayOnArea);

// The end routine ends the dialog when the current area's calibrated mark equals the number of
// touch screens or the cancel count reached the larger of the monitor and touch screen counts.
bool IsDueToEnd(int32_t calibratedMark, int32_t cancelCount, int32_t touchScreenCount,
                int32_t driverMonitorCount);

// The touch count of a pass's worker thread (1-based: the number of touches delivered).
class WorkerTouchCount {
  public:
    explicit WorkerTouchCount(int32_t touchesToCollect) : touchesToCollect_(touchesToCollect) {}

    // After the first touch: 1, or twice the touches to collect for a type '7' controller.
    void StartAfterFirstTouch(char controllerType);
    void Advance() { ++count_; }
    // A redo request restarts the count at 0.
    void Redo() { count_ = 0; }

    int32_t Value() const { return count_; }
    // Every touch is in: wait (bounded) for a redo request before asking for more.
    bool WaitsForRedo() const { return count_ >= touchesToCollect_; }
    // The worker leaves through its exit line.
    bool Finished() const { return count_ > touchesToCollect_ + 1; }
    // The simulated touch that comes next: entry count + 1 of Touches (1-based).
    int32_t NextSimulatedEntry() const { return count_ + 1; }

  private:
    int32_t touchesToCollect_;
    int32_t count_ = 0;
};

// Entry number (1-based) of touches as controller units, truncated; false when there is none.
bool SimulatedTouch(const std::vector<TouchEntry>& touches, int32_t entry, int32_t& v, int32_t& w);
