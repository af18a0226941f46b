// DebugPrint and its switch: formats the line portably and hands it to the platform's channel.
#include "platform/debug_trace.h"

#include <cstdarg>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/trace_format.h"

std::atomic<int32_t> DebugState{-1};

uint32_t ReadEnableDebug() {
    uint32_t value = 0;
    if (!PlatformReadMachineNumber(L"Software\\Quvatec", L"EnableDebug", &value)) return 0;
    return value;
}

void DebugPrint(const wchar_t* format, ...) {
    if (DebugState.load(std::memory_order_relaxed) == -1) {
        DebugState.store(static_cast<int32_t>(ReadEnableDebug()), std::memory_order_relaxed);
    }
    if (DebugState.load(std::memory_order_relaxed) != 1 || format == nullptr) return;
    va_list args;
    va_start(args, format);
    std::wstring line = FormatTraceLine(format, args);
    va_end(args);
    PlatformTrace(line.c_str());
}
