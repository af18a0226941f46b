// Last error code on Win32.
#include <windows.h>

#include "config/platform_error.h"

uint32_t PlatformLastError() { return GetLastError(); }
