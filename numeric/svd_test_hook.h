// Test-only control of the decomposition's sweep limit, to reach the non-convergence exit.
#pragma once

#include <cstdint>

// Sets the number of sweeps allowed per singular value (30 unless a test changes it).
void SetSvdIterationLimitForTesting(int32_t limit);
