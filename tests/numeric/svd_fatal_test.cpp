// The non-convergence exit and bad (NaN, infinite) input: every outcome is bounded.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

#include "numeric/svd_test_hook.h"
#include "tests/numeric/numeric_test_support.h"

namespace {

// Exit status of a child that ran a fit to the end: 0 if some coefficient is not finite.
constexpr int kReturnedWithNonFinite = 0;
constexpr int kReturnedAllFinite = 3;

[[noreturn]] void FitAndExit(const Matrix& design) {
    Vector y = Filled(static_cast<uint32_t>(design.rows), 1.0);
    const FitResult r = FitDesign(design, y);
    bool nonFinite = !std::isfinite(r.chisq);
    for (uint32_t j = 0; j < r.a.length; ++j) nonFinite |= !std::isfinite(r.a[j]);
    std::exit(nonFinite ? kReturnedWithNonFinite : kReturnedAllFinite);
}

bool ConvergedOrReachedTheLimit(int status) {
    testing::ExitedWithCode returned(kReturnedWithNonFinite);
    testing::ExitedWithCode limit(1);
    return returned(status) || limit(status);
}

TEST(SvdFatalDeathTest, NonConvergenceWritesThreeLinesAndExitsWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::mt19937 rng(5);
    const Matrix design = RandomMatrix(8, 5, rng);
    EXPECT_EXIT(
        {
            SetSvdIterationLimitForTesting(1);
            FitAndExit(design);
        },
        testing::ExitedWithCode(1),
        "Numerical Recipes run-time error\\.\\.\\.\\s+no convergence in 30 svdcmp "
        "iterations\\s+\\.\\.\\.now exiting to system\\.\\.\\.");
}

TEST(SvdFatalDeathTest, NumericFatalErrorExitsWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(NumericFatalError("some message"), testing::ExitedWithCode(1),
                "run-time error\\.\\.\\.\\s+some message\\s+\\.\\.\\.now exiting");
}

TEST(SvdFatalDeathTest, TheDefaultLimitIsEnoughForOrdinaryProblems) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::mt19937 rng(6);
    const Matrix design = RandomMatrix(81, 36, rng);
    EXPECT_EXIT(FitAndExit(design), testing::ExitedWithCode(kReturnedAllFinite), "");
}

class BadInputDeathTest : public testing::TestWithParam<double> {};

// NaN or infinity anywhere in the design: the fit either returns with a non-finite result or
// reaches the sweep limit; it never hangs (CTest's time-out would catch that) nor reads outside.
TEST_P(BadInputDeathTest, FitEndsWithNonFiniteResultOrTheLimit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::mt19937 rng(9);
    const double bad = GetParam();
    for (int32_t placement = 0; placement < 6; ++placement) {
        Matrix design = RandomMatrix(10, 4, rng);
        design[(placement * 7) % 10][placement % 4] = bad;
        if (placement == 5) design[9][3] = -bad;
        EXPECT_EXIT(FitAndExit(design), ConvergedOrReachedTheLimit, "") << placement;
    }
}

INSTANTIATE_TEST_SUITE_P(NanAndInfinity, BadInputDeathTest,
                         testing::Values(std::numeric_limits<double>::quiet_NaN(),
                                         std::numeric_limits<double>::infinity()));

// The NaN-tolerant zero test makes bad input converge in this process (no exit at all).
TEST(BadInput, NanDecompositionConvergesWithNanValues) {
    std::mt19937 rng(10);
    Matrix a = RandomMatrix(6, 3, rng);
    a[2][1] = std::numeric_limits<double>::quiet_NaN();
    Vector w;
    Matrix v;
    SvdDecompose(a, w, v);
    bool sawNan = false;
    for (uint32_t j = 0; j < 3; ++j) sawNan |= std::isnan(w[j]);
    EXPECT_TRUE(sawNan);
}

}  // namespace
