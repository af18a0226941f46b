// Diagnostics on Win32: traces go to the debugger output channel; the last error is GetLastError.
#include <windows.h>

#include "platform/platform.h"

void PlatformTrace(const wchar_t* line) { OutputDebugStringW(line); }

uint32_t PlatformLastError() { return GetLastError(); }
