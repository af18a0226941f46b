// Trace channel on Win32: the debugger output channel.
#include <windows.h>

#include "config/platform.h"

void PlatformTrace(const wchar_t* line) { OutputDebugStringW(line); }
