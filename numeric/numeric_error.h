// The one fatal error of the program: a numeric failure that ends the process.
#pragma once

// Writes the three fatal-error lines to standard error (each flushed) and exits with status 1.
[[noreturn]] void NumericFatalError(const char* message);
