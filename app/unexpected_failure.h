// The last resort of Tarnix.exe's entry points (WinMain, the window procedure, the touch worker):
// an exception that nothing else handled ends in one line, not in a crash.
#pragma once

// The exit status of a run stopped by an unexpected failure (the window result that carries it).
inline constexpr int kExitUnexpectedFailure = 3;

// Traces, whatever EnableDebug says, and prints to the error stream one line naming where the
// exception of the current catch block came from and what it says. Call it only inside a catch.
void ReportUnexpectedFailure(const wchar_t* where);
