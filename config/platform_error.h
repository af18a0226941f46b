// The platform's last error code (GetLastError on Win32, errno elsewhere), for traces.
#pragma once

#include <cstdint>

uint32_t PlatformLastError();
