// Trace channel on the portable build: standard error, in UTF-8, written as is (the line carries
// its own end).
#include <cstdio>

#include "config/platform.h"
#include "config/portable_text.h"

void PlatformTrace(const wchar_t* line) {
    std::fputs(NarrowFromWide(line).c_str(), stderr);
    std::fflush(stderr);
}
