// The expected error of the committed mapping: leverage, the pass's scatter and misfit, the map.
#include "fit/expected_error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "fit/design_matrix_builders.h"
#include "fit/fit_evaluation.h"
#include "fit/fit_inputs.h"
#include "fit/polynomial_fit.h"
#include "tests/fit/fit_test_support.h"

namespace {

// A 15.6-inch 1920 x 1080 panel.
constexpr GlassScale kPitch{344.2 / 1920, 193.6 / 1080};

GridSetup Grid(uint32_t rows, uint32_t columns, uint32_t order) {
    GridSetup setup;
    setup.Rows = rows;
    setup.Columns = columns;
    setup.Order = order;
    return setup;
}

// The bowed sensor touched by a person whose touches scatter scatterMm per axis (seeded).
Sensor Person(double scatterMm, unsigned seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [random, scatterMm](double x, double y, double& v, double& w) {
        std::normal_distribution<double> gauss(0.0, 1.0);
        const double dx = scatterMm / (1920 * kPitch.MmPerPixelX) * gauss(*random);
        const double dy = scatterMm / (1080 * kPitch.MmPerPixelY) * gauss(*random);
        BowedSensor(x + dx, y + dy, v, w);
    };
}

TEST(ModelOfFit, TheDocumentsPolynomialAgainInTheTouchesFrameWithLeveragesSummingToItsTerms) {
    ReportFolder reports;
    FitBench bench(Grid(6, 6, 3), Person(1.0, 7));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const CalibrationFit& fit = *bench.Fit;
    const std::shared_ptr<const FitModel> model = ModelOfFit(fit);
    ASSERT_NE(model, nullptr);
    double sum = 0.0;
    for (int32_t i = 0; i < fit.PointCount; ++i) {
        const double h = model->Leverage(size_t(i));
        EXPECT_GT(h, 0.0);
        EXPECT_LT(h, 1.0);
        sum += h;
        // The same mapping as the record's coefficients.
        double x, y, rx = 0.0, ry = 0.0, row[10];
        model->Predict(fit.TouchV[i], fit.TouchW[i], x, y);
        PolynomialTerms(fit.TouchV[i], fit.TouchW[i], 10, row);
        for (int k = 0; k < 10; ++k) rx += fit.CoeffX[k] * row[k], ry += fit.CoeffY[k] * row[k];
        EXPECT_NEAR(x, rx, 1e-9);
        EXPECT_NEAR(y, ry, 1e-9);
        EXPECT_NEAR(model->LeverageAt(fit.TouchV[i], fit.TouchW[i]), h, 1e-9);
    }
    EXPECT_NEAR(sum, 10.0, 1e-9);
    EXPECT_NEAR(model->Terms(), 10.0, 1e-9);
}

TEST(ExpectedError, GrowsFromTheCentreToTheCornersOutsideTheTargets) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3), Person(1.0, 11));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const CalibrationFit& fit = *bench.Fit;
    const std::shared_ptr<const FitModel> model = ModelOfFit(fit);
    ASSERT_NE(model, nullptr);
    double worstAtTargets = 0.0;
    for (int32_t i = 0; i < fit.PointCount; ++i)
        worstAtTargets = std::max(worstAtTargets, model->Leverage(size_t(i)));
    const ErrorSources scatter{1.0, 0.0, 0.0};
    const double centre = ExpectedErrorAt(fit, *model, scatter, 0.5, 0.5);
    const double corner = ExpectedErrorAt(fit, *model, scatter, 0.0, 0.0);
    EXPECT_LT(centre, std::sqrt(2 * worstAtTargets));
    // The 5 x 5 grid stands 10 % in from the edges: its corner is extrapolated well beyond.
    EXPECT_GT(corner, 1.5 * std::sqrt(2 * worstAtTargets));
    EXPECT_GT(ExpectedErrorAt(fit, *model, scatter, 0.02, 0.5),
              ExpectedErrorAt(fit, *model, scatter, 0.3, 0.5));
    // A misfit the model cannot follow adds everywhere.
    const ErrorSources misfit{1.0, 0.8, 0.0};
    EXPECT_NEAR(ExpectedErrorAt(fit, *model, misfit, 0.5, 0.5), std::sqrt(centre * centre + 0.64),
                1e-9);
}

TEST(ExpectedError, TheInversionFindsTheTouchThatMapsToAnAreaPoint) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const CalibrationFit& fit = *bench.Fit;
    for (double fx : {0.0, 0.37, 1.0}) {
        double v, w, x, y, rawV, rawW;
        ASSERT_TRUE(RawPointForArea(fit, fx, 1.0 - fx, v, w)) << fx;
        ASSERT_TRUE(PredictNormalisedPosition(fit, v / fit.ScaleFactor + fit.ControllerOffset,
                                              w / fit.ScaleFactor + fit.ControllerOffset, x, y));
        EXPECT_NEAR(x, fx - 0.5, 1e-9) << fx;
        EXPECT_NEAR(y, 0.5 - fx, 1e-9) << fx;
        // Where the bowed sensor itself puts that point, within what the fit misses of it.
        BowedSensor(fx - 0.5, 0.5 - fx, rawV, rawW);
        EXPECT_NEAR(v, NormalisedTouch(fit, rawV), 5e-3) << fx;
        EXPECT_NEAR(w, NormalisedTouch(fit, rawW), 5e-3) << fx;
    }
}

TEST(PassScatter, EstimatesThePersonsScatterAndShrugsOffAStrayTouch) {
    ReportFolder reports;
    for (double scatter : {0.5, 1.0, 1.5}) {
        FitBench bench(Grid(10, 10, 3), Person(scatter, 3));
        ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
        const double estimate = PassScatterMm(*bench.Fit, *ModelOfFit(*bench.Fit), kPitch);
        EXPECT_NEAR(estimate, scatter, 0.2 * scatter) << scatter;

        // One touch 10 mm off: the median barely moves, where an RMS would grow by half.
        bench.Config.Touches[44].V += 10.0 / 344.2 * 4095.0 * 0.93;
        ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
        const double stray = PassScatterMm(*bench.Fit, *ModelOfFit(*bench.Fit), kPitch);
        EXPECT_NEAR(stray, estimate, 0.1 * scatter) << scatter;
    }
    // As many points as the order's terms: the pass fits what the touches determine with room to
    // judge it (the affine map), never a mapping through every touch that tells nothing.
    // (The touches bent off the grid's rows, so that six of them would fix a quadratic.)
    FitBench saturated(Grid(3, 3, 2), [](double x, double y, double& v, double& w) {
        IdealSensor(x, y + 0.3 * x * x, v, w);
    });
    saturated.Fit->PointCount = 6;
    ASSERT_EQ(RunPolynomialPass(*saturated.Fit), 1);
    ASSERT_NE(saturated.Fit->Choice.Model, nullptr);
    EXPECT_EQ(saturated.Fit->Choice.Model->Name(), "affine");
    EXPECT_GT(PassScatterMm(*saturated.Fit, *ModelOfFit(*saturated.Fit), kPitch), 0.0);
}

TEST(ExpectedErrorMap, WorstAtTheEdgesAboveTheInnerAreaAboveTheScatter) {
    ReportFolder reports;
    FitBench bench(Grid(5, 5, 3), Person(1.0, 19));
    ASSERT_EQ(RunPolynomialPass(*bench.Fit), 1);
    const ExpectedErrorMap map = ComputeExpectedErrorMap(*bench.Fit, kPitch, 33, 19);
    ASSERT_EQ(map.Mm.size(), size_t(33 * 19));
    for (double mm : map.Mm) ASSERT_TRUE(std::isfinite(mm));
    EXPECT_GT(map.ScatterMm, 0.5);
    EXPECT_LT(map.ScatterMm, 1.5);
    EXPECT_GT(map.WorstInsideMm, map.RmsMm);
    EXPECT_GT(map.WorstEdgeMm, map.WorstInsideMm);
    // The corner sample is the corner of the area, and no sample exceeds the edge band's worst.
    const ErrorSources sources{map.ScatterMm, map.MisfitMm, 0.0,
                               ModelOfFit(*bench.Fit)->Terms() / bench.Fit->PointCount};
    EXPECT_EQ(map.Mm.front(), ExpectedErrorAt(*bench.Fit, *ModelOfFit(*bench.Fit), sources, 0, 0));
    for (double mm : map.Mm) EXPECT_LE(kWorstErrorFactor * mm, map.WorstEdgeMm);
}

}  // namespace
