// Labels of the polynomial terms and of the Laplace coefficients, in design-matrix column order.
#pragma once

inline constexpr int kPolynomialTermNameCount = 36;
inline constexpr int kLaplaceTermNameCount = 15;

extern const char* const PolynomialTermNames[kPolynomialTermNameCount];
extern const char* const LaplaceTermNames[kLaplaceTermNameCount];
