// Storage of the pass globals.
#include "app/run_state.h"

std::atomic<int32_t> CurrentTarget{1};
std::atomic<int32_t> TargetCount{0};
std::atomic<int32_t> GridPointCount{0};
std::atomic<int32_t> TouchesToCollect{0};
std::atomic<int32_t> CountdownSeconds{kCountdownStart};
std::atomic<bool> SimulateMode{false};
std::atomic<bool> CollectingTouches{true};
std::atomic<bool> CalibrationDone{false};
