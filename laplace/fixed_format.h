// Fast formatting of a double exactly as printf's "%8.4f" does, for the search's log lines.
#pragma once

#include <cstddef>

// Writes v as "%8.4f" would (correctly rounded, ties to even, the sign of negative values and of
// -0 kept, right-aligned in 8 characters) and a terminating zero; returns the characters written.
// out needs room for kFixedFormatRoom characters (the widest is -DBL_MAX: 316 with the zero).
inline constexpr size_t kFixedFormatRoom = 320;

size_t FormatFixed8dot4(char* out, double v);
