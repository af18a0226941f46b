// Diagnostics on the portable build: traces go to standard error in UTF-8, written as is (the line
// carries its own end); the last error is the C library's errno.
#include <cerrno>
#include <cstdio>

#include "platform/platform.h"
#include "platform/portable_text.h"

void PlatformTrace(const wchar_t* line) {
    std::fputs(NarrowFromWide(line).c_str(), stderr);
    std::fflush(stderr);
}

uint32_t PlatformLastError() { return static_cast<uint32_t>(errno); }
