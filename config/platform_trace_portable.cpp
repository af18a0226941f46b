// Trace channel on the portable build: standard error, written as is (the line carries its own
// end).
#include <cstdio>

#include "config/platform.h"

void PlatformTrace(const wchar_t* line) {
    std::fprintf(stderr, "%ls", line);
    std::fflush(stderr);
}
