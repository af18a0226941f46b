// Formatting of trace lines: wide %s on every C library, at most kMaxTraceLength characters.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

// The longest trace line in characters; longer lines are truncated.
constexpr size_t kMaxTraceLength = 1023;

// The format with every plain %s conversion (no length modifier) turned into %ls, so that glibc
// and the Windows C library both read the argument as wide text. Other conversions are unchanged.
std::wstring WidenStringConversions(const wchar_t* format);

// The formatted trace line, truncated to kMaxTraceLength characters.
std::wstring FormatTraceLine(const wchar_t* format, va_list args);
