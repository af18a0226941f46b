// The globals of a calibration pass, shared by the window's handlers, the drawing and the worker.
#pragma once

#include <atomic>
#include <cstdint>

extern std::atomic<int32_t> CurrentTarget;     // 1-based target being shown
extern std::atomic<int32_t> TargetCount;       // grid targets plus mini-target slots in use
extern std::atomic<int32_t> GridPointCount;    // grid targets
extern std::atomic<int32_t> TouchesToCollect;  // grid targets plus enabled mini targets
extern std::atomic<int32_t> CountdownSeconds;  // seconds left before the pass runs out
extern std::atomic<bool> SimulateMode;         // touches come from the configuration file
extern std::atomic<bool> CollectingTouches;    // a pass shows targets
extern std::atomic<bool> CalibrationDone;      // the pass fitted and committed

inline constexpr int32_t kCountdownStart = 60;
