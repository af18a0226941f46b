// The search log's number formatting against printf's "%8.4f", value for value.
#include "laplace/fixed_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

namespace {

void ExpectLikePrintf(double v) {
    char expected[kFixedFormatRoom], got[kFixedFormatRoom];
    std::snprintf(expected, sizeof expected, "%8.4f", v);
    const size_t n = FormatFixed8dot4(got, v);
    EXPECT_STREQ(got, expected) << "value " << std::hexfloat << v;
    EXPECT_EQ(n, std::strlen(expected));
}

TEST(FixedFormat, MatchesPrintfOnEdgeValues) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {0.0,
                     -0.0,
                     1.0,
                     -1.0,
                     0.00005,
                     -0.00005,
                     0.00015,
                     0.00025,
                     0.03125,
                     -0.03125,
                     0.15625,
                     2.5e-5,
                     7.5e-5,
                     1.00005,
                     9999.99995,
                     0.099999999999999,
                     -0.1,
                     0.098,
                     -0.17453292519943334,
                     0.17453292519943334,
                     -10.0,
                     9.999999,
                     12345.6789,
                     -99999.99999,
                     999999999.99999,
                     1e9,
                     -1e9,
                     1e50,
                     2e50,
                     5e-324,
                     -5e-324,
                     2.2250738585072014e-308,
                     123456789.12345,
                     inf,
                     -inf,
                     std::numeric_limits<double>::quiet_NaN()})
        ExpectLikePrintf(v);
}

TEST(FixedFormat, MatchesPrintfOnTiesToEven) {
    // k / 2^5 has at most five decimals: the fifth is 5 for odd k, a tie at four decimals.
    for (int k = -4000; k <= 4000; ++k) ExpectLikePrintf(k / 32.0);
    for (int k = -2000; k <= 2000; ++k) ExpectLikePrintf(k / 2048.0 + 3.0);
}

TEST(FixedFormat, MatchesPrintfOnRandomValuesOfEveryMagnitude) {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-40, 34);
    for (int i = 0; i < 200000; ++i)
        ExpectLikePrintf(std::ldexp(mantissa(random), exponent(random)));
}

}  // namespace
