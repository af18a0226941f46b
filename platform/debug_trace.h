// DebugPrint: formatted one-line traces on the debugger channel, switched on by "EnableDebug".
#pragma once

#include <atomic>
#include <cstdint>

// -1 until the first trace reads the switch, then the value read; only 1 enables tracing.
extern std::atomic<int32_t> DebugState;

// printf-style: %s takes wide text, %d and %u 32-bit integers. Adds no prefix and no line end.
void DebugPrint(const wchar_t* format, ...);

// "EnableDebug" under the machine-wide "Software\Quvatec" key; 0 when absent or unreadable.
uint32_t ReadEnableDebug();
