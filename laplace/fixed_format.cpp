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

// An unsigned 128-bit value as two halves: 32-bit targets have no native 128-bit integer.
struct Wide {
    uint64_t hi;
    uint64_t lo;
};

// m * s for m below 2^53 and s below 2^32.
Wide Multiply(uint64_t m, uint64_t s) {
    const uint64_t low = (m & 0xffffffffu) * s;
    const uint64_t high = (m >> 32) * s;
    const uint64_t lo = (high << 32) + low;
    return Wide{(high >> 32) + (lo < low ? 1u : 0u), lo};
}

Wide ShiftRight(Wide v, int k) {
    if (k == 0) return v;
    if (k >= 128) return Wide{0, 0};
    if (k >= 64) return Wide{0, v.hi >> (k - 64)};
    return Wide{v.hi >> k, (v.lo >> k) | (v.hi << (64 - k))};
}

uint64_t LowMask(int k) { return k >= 64 ? ~uint64_t(0) : (uint64_t(1) << k) - 1; }

// True when any of the lowest k bits of v is set.
bool LowBitsSet(Wide v, int k) {
    if (k <= 0) return false;
    if (k <= 64) return (v.lo & LowMask(k)) != 0;
    return v.lo != 0 || (v.hi & LowMask(k - 64)) != 0;
}

// round(m * 2^e * 10^4) with ties to even, for m * 2^e below kDirectLimit.
uint64_t ScaledRounded(uint64_t m, int e) {
    if (e >= 0) return (m << e) * kScale;  // m * 2^e is a whole number below 1e9
    const int shift = -e;
    if (shift > 100) return 0;  // m * 10^4 < 2^67: far below one half
    const Wide n = Multiply(m, kScale);
    const uint64_t q = ShiftRight(n, shift).lo;
    const bool halfBit = (ShiftRight(n, shift - 1).lo & 1) != 0;
    const bool belowHalf = LowBitsSet(n, shift - 1);
    const bool roundUp = halfBit && (belowHalf || (q & 1));
    return roundUp ? q + 1 : q;
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
