// Fatal numeric error: three lines on standard error, then process exit with status 1.
#include "numeric/numeric_error.h"

#include <cstdio>
#include <cstdlib>

namespace {

void WriteLine(const char* text) {
    std::fputs(text, stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
}

}  // namespace

void NumericFatalError(const char* message) {
    WriteLine("Numerical Recipes run-time error...");
    WriteLine(message ? message : "");
    WriteLine("...now exiting to system...");
    std::exit(1);
}
