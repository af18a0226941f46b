// "%8.4f" by exact integer arithmetic on the binary value, with printf for what it does not cover.
#include "laplace/fixed_format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kWidth = 8;
constexpr uint64_t kScale = 10000;  // four decimals
constexpr double kDirectLimit = 1e9;

// round(m * 2^e * 10^4) with ties to even, for m * 2^e below kDirectLimit.
uint64_t ScaledRounded(uint64_t m, int e) {
    const unsigned __int128 n = static_cast<unsigned __int128>(m) * kScale;
    if (e >= 0) return static_cast<uint64_t>(n << e);
    const int shift = -e;
    if (shift > 100) return 0;  // n < 2^67: far below one half
    const uint64_t q = static_cast<uint64_t>(n >> shift);
    const unsigned __int128 rest = n - (static_cast<unsigned __int128>(q) << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    return (rest > half || (rest == half && (q & 1))) ? q + 1 : q;
}

}  // namespace

size_t FormatFixed8dot4(char* out, double v) {
    if (!std::isfinite(v) || std::fabs(v) >= kDirectLimit)
        return size_t(std::snprintf(out, kFixedFormatRoom, "%8.4f", v));
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int exponent = int((bits >> 52) & 0x7ff);
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    const uint64_t m = exponent == 0 ? fraction : fraction | (uint64_t(1) << 52);
    const int e = exponent == 0 ? -1074 : exponent - 1075;
    const uint64_t q = m == 0 ? 0 : ScaledRounded(m, e);
    char digits[32];
    size_t n = 0;
    uint64_t whole = q / kScale, part = q % kScale;
    for (int d = 0; d < 4; ++d, part /= 10) digits[n++] = char('0' + part % 10);
    digits[n++] = '.';
    do {
        digits[n++] = char('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (negative) digits[n++] = '-';
    size_t length = 0;
    for (size_t pad = n; pad < size_t(kWidth); ++pad) out[length++] = ' ';
    while (n > 0) out[length++] = digits[--n];
    out[length] = '\0';
    return length;
}
