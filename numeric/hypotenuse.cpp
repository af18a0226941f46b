// Overflow-free hypotenuse: scales by the larger magnitude before squaring.
#include "numeric/hypotenuse.h"

#include <cmath>

double Hypotenuse(double a, double b) {
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
