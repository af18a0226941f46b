// The whole of tarnix-fit behind its entry point, for the program and for tests.
#pragma once

#include <string>
#include <vector>

// Runs tarnix-fit with the arguments after the program name and returns its exit status. Never
// throws: an unexpected failure prints one line and gives kExitInternal.
int RunTarnixFit(const std::vector<std::wstring>& args);
