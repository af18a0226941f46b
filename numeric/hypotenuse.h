// Overflow-free hypotenuse used by the singular value decomposition.
#pragma once

// sqrt(a^2 + b^2) without overflow or destructive underflow of the squares.
double Hypotenuse(double a, double b);
