// The terms of a pass's fit: harmonic terms follow a bowed sheet to its corners and reach the
// driver as the polynomial of their order; a judged pass takes the terms its touches favour.
#include "fit/fit_basis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

#include "fit/fit_evaluation.h"
#include "fit/polynomial_fit.h"
#include "tests/fit/fit_test_support.h"

namespace {

// A resistive sheet with a strong harmonic bow, z + q z^2 + c z^3, turned a little.
void HarmonicSheet(double x, double y, double& v, double& w) {
    const std::complex<double> z = std::polar(1.0, 0.02) * std::complex<double>(x, y);
    const std::complex<double> b = z + 0.036 * z * z + 0.15 * z * z * z;
    v = 2047.5 + 14.0 + 4095.0 * 0.9 * b.real();
    w = 2047.5 - 9.0 + 4095.0 * 0.88 * b.imag();
}

// A sheet pulled towards its centre alike on both axes: x (1 - k r^2) is not harmonic.
void PillowSheet(double x, double y, double& v, double& w) {
    const double pull = 1.0 - 0.1 * (x * x + y * y);
    v = 2047.5 + 4095.0 * 0.9 * x * pull;
    w = 2047.5 + 4095.0 * 0.88 * y * pull;
}

// The bowed sheet compressed next to its electrodes: 0.6 % of the span lost at each edge, the
// loss rising as the eighth power of the distance from the centre.
void CompressedSheet(double x, double y, double& v, double& w) {
    const auto squeeze = [](double u) {
        return u - 0.006 * std::pow(2.0 * u, 8) * (u < 0 ? -1 : 1);
    };
    HarmonicSheet(squeeze(x), squeeze(y), v, w);
}

// The sheet touched by a hand scattering 1 mm per axis on a 344 x 194 mm glass (seeded).
Sensor Touched(void (*sheet)(double, double, double&, double&), unsigned seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [random, sheet](double x, double y, double& v, double& w) {
        std::normal_distribution<double> mm(0.0, 1.0);
        sheet(x + mm(*random) / 344.2, y + mm(*random) / 193.6, v, w);
    };
}

FitBench Pass(const Sensor& sensor, uint32_t order, FitTerms terms) {
    GridSetup grid;
    grid.Rows = grid.Columns = 6;
    grid.Order = order;
    grid.Magnification = 1.15;  // the shipped layout: the outer targets 2 % in from the edges
    FitBench bench(grid, sensor);
    bench.Config.FitTerms = int32_t(terms);
    return bench;
}

std::string ModelName(const CalibrationFit& fit) {
    return fit.Choice.Model ? fit.Choice.Model->Name() : "";
}

// A perfect toucher's pass: what is left is the terms' own error, largest at the corners.
struct PerfectPass {
    std::string Model;  // of the pass's chosen model; empty for the fit of every term
    int32_t TermCount = 0;
    double WorstMm = 0.0;
};

PerfectPass FitPerfectly(void (*sheet)(double, double, double&, double&), uint32_t order,
                         FitTerms terms) {
    FitBench bench = Pass(sheet, order, terms);
    EXPECT_EQ(RunPolynomialPass(*bench.Fit), 1);
    return {ModelName(*bench.Fit), bench.Fit->TermCount, WorstErrorMm(*bench.Fit, sheet)};
}

}  // namespace

TEST(FitTerms, HarmonicTermsFollowABowedSheetToItsCornersAndReachTheDriverAsItsPolynomial) {
    ReportFolder folder;
    const PerfectPass every = FitPerfectly(HarmonicSheet, 3, FitTerms::Polynomial);
    const PerfectPass harmonic = FitPerfectly(HarmonicSheet, 5, FitTerms::Harmonic);
    EXPECT_EQ(every.Model, "");
    EXPECT_EQ(harmonic.Model, "harmonic-5");  // 11 terms against 21 of the full order 5
    EXPECT_EQ(harmonic.TermCount, 21);        // the record the driver evaluates
    EXPECT_GT(every.WorstMm, 1.5);
    EXPECT_LT(harmonic.WorstMm, 0.5 * every.WorstMm);
}

TEST(FitTerms, AJudgedPassTakesTheTermsItsOwnTouchesFavour) {
    ReportFolder folder;
    int harmonicOnBow = 0, polynomialOnPillow = 0;
    for (unsigned seed = 1; seed <= 10; ++seed) {
        FitBench bowed = Pass(Touched(HarmonicSheet, seed), 5, FitTerms::Judged);
        FitBench pillow = Pass(Touched(PillowSheet, seed), 5, FitTerms::Judged);
        ASSERT_EQ(RunPolynomialPass(*bowed.Fit), 1);
        ASSERT_EQ(RunPolynomialPass(*pillow.Fit), 1);
        harmonicOnBow += ModelName(*bowed.Fit) == "harmonic-5" ? 1 : 0;
        polynomialOnPillow += ModelName(*pillow.Fit).rfind("harmonic", 0) == 0 ? 0 : 1;
        // Whatever was chosen is what the record holds: it maps the sheet within the scatter.
        EXPECT_LT(WorstErrorMm(*pillow.Fit, PillowSheet), 4.0) << seed;
    }
    EXPECT_GE(harmonicOnBow, 8);
    EXPECT_GE(polynomialOnPillow, 8);
}

TEST(FitTerms, ASheetFollowsABowAndItsEdgeCompressionToTheCorners) {
    ReportFolder folder;
    const PerfectPass harmonic = FitPerfectly(CompressedSheet, 7, FitTerms::Harmonic);
    const PerfectPass sheet = FitPerfectly(CompressedSheet, 7, FitTerms::Sheet);
    EXPECT_EQ(sheet.Model, "sheet");
    EXPECT_EQ(sheet.TermCount, 36);    // inverted to the record of order 7
    EXPECT_GT(harmonic.WorstMm, 1.0);  // harmonic terms alone miss the compression at the edges
    EXPECT_LT(sheet.WorstMm, 0.5);
    EXPECT_LT(sheet.WorstMm, 0.5 * harmonic.WorstMm);
}
