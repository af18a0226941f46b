// The smallest grid a polynomial of a given order can be fitted on.
#pragma once

#include <cstdint>

// Orders 2..7 need 6, 10, 15, 21, 28, 36 grid points; any other order 3.
int32_t MinimumGridPoints(uint32_t polynomialOrder);
