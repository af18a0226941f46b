// Overflow-free hypotenuse used by the singular value decomposition (inline: it sits in the
// innermost loop of every QR sweep).
#pragma once

#include <cmath>

// sqrt(a^2 + b^2), scaling by the larger magnitude so the squares cannot overflow or underflow.
inline double Hypotenuse(double a, double b) {
    const double p = std::fabs(a);
    const double q = std::fabs(b);
    if (p > q) {
        const double r = q / p;
        return p * std::sqrt(1.0 + r * r);
    }
    if (q == 0.0) return 0.0;
    const double r = p / q;
    return q * std::sqrt(1.0 + r * r);
}
