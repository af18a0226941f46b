// Symmetrisation of grid touches, the rotation estimate, mirror lookups and "symmetrized.txt".
#include "fit/symmetrisation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/fit/fit_test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A symmetric grid of centred positions: V, W in controller counts around zero.
void CentredGridTouches(FitBench& bench, double scale, double theta, double shiftV, double shiftW) {
    bench.Touch([&](double x, double y, double& v, double& w) {
        v = scale * (x * std::cos(theta) - y * std::sin(theta)) + shiftV;
        w = scale * (x * std::sin(theta) + y * std::cos(theta)) + shiftW;
    });
}

GridSetup SquareScreenGrid() {
    GridSetup setup;
    setup.Rows = 5;
    setup.Columns = 5;
    return setup;
}

struct SymmetrisationTest : ::testing::Test {
    ReportFolder reports;
    FitBench bench{SquareScreenGrid()};
    SymmetrisationTest() { bench.Parameters.ScreenHeight = bench.Parameters.ScreenWidth = 100.0; }
};

TEST_F(SymmetrisationTest, PureRotationGivesMinusTheta) {
    const double theta = 7.0 * kPi / 180.0;
    CentredGridTouches(bench, 1000.0, theta, 0.0, 0.0);
    double rotation = 0.0;
    EXPECT_EQ(SymmetriseAndEstimateRotation(*bench.Fit, rotation), 1);
    EXPECT_NEAR(rotation, -7.0, 1e-9);
    const double scale = (5.0 / 4096.0) / 5.0;  // AdcScalingFactor / VoltageRange
    for (uint32_t i = 0; i < bench.Config.NumGridPoints; ++i) {
        const double x = 1000.0 * (bench.Config.Targets[i].X - 0.5);
        const double y = 1000.0 * (bench.Config.Targets[i].Y - 0.5);
        EXPECT_NEAR(bench.Fit->ScaledSymmetricV[i], x * std::cos(theta) * scale, 1e-12) << i;
        EXPECT_NEAR(bench.Fit->ScaledSymmetricW[i], y * std::cos(theta) * scale, 1e-12) << i;
    }
}

TEST_F(SymmetrisationTest, PureTranslationCancels) {
    CentredGridTouches(bench, 1000.0, 0.0, 0.0, 0.0);
    double rotation = 0.0;
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    const Vector plainV = bench.Fit->ScaledSymmetricV, plainW = bench.Fit->ScaledSymmetricW;
    CentredGridTouches(bench, 1000.0, 0.0, 1834.0, 2210.0);
    bench.Config.MeanTouchV = 1834.0;
    bench.Config.MeanTouchW = 2210.0;
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    for (uint32_t i = 0; i < plainV.length; ++i) {
        EXPECT_NEAR(bench.Fit->ScaledSymmetricV[i], plainV[i], 1e-12) << i;
        EXPECT_NEAR(bench.Fit->ScaledSymmetricW[i], plainW[i], 1e-12) << i;
    }
    EXPECT_NEAR(rotation, 0.0, 1e-12);
}

TEST_F(SymmetrisationTest, TheArcTangentKeepsTheQuadrantOfANegativeDotProduct) {
    // A negative aspect turns the dot product negative while the cross product of a clockwise
    // tilt stays positive: the two-argument arc tangent gives 160 degrees, not -20.
    bench.Parameters.ScreenHeight = -100.0;
    const double theta = -20.0 * kPi / 180.0;
    CentredGridTouches(bench, 1000.0, theta, 0.0, 0.0);
    double rotation = 0.0;
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    double sumSquares = 0.0;
    for (uint32_t i = 0; i < 25; ++i) {
        const double x = 1000.0 * (bench.Config.Targets[i].X - 0.5);
        const double y = 1000.0 * (bench.Config.Targets[i].Y - 0.5);
        sumSquares += x * x + y * y;
    }
    char crossLine[80];
    std::snprintf(crossLine, sizeof crossLine, "Cross Product of Symmetrized Values = %12.3f",
                  -std::sin(theta) * std::cos(theta) * sumSquares);
    const std::string report = reports.Read("symmetrized.txt");
    EXPECT_NE(report.find(crossLine), std::string::npos) << crossLine;
    EXPECT_EQ(crossLine[38], ' ');  // positive
    EXPECT_NE(report.find("Dot Product of Symmetrized Values   = -"), std::string::npos) << report;
    EXPECT_NEAR(rotation, 160.0, 1e-9);
}

TEST_F(SymmetrisationTest, ZeroProductsGiveNoRotation) {
    CentredGridTouches(bench, 0.0, 0.0, 0.0, 0.0);
    double rotation = 1.0;
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    EXPECT_EQ(rotation, 0.0);
    // Axes swapped exactly: every symmetric part vanishes, and so do both products.
    bench.Touch([](double x, double y, double& v, double& w) {
        v = 1000.0 * y;
        w = 1000.0 * x;
    });
    rotation = 1.0;
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    EXPECT_EQ(rotation, 0.0);
    EXPECT_NE(reports.Read("symmetrized.txt").find("Rotation =    0.000 degrees"),
              std::string::npos);
}

TEST_F(SymmetrisationTest, ReportRowsTruncateTowardZero) {
    CentredGridTouches(bench, 1000.0, 0.0, 0.0, 0.0);
    bench.Config.Touches[0].V = 1234.9;
    bench.Config.Touches[0].W = -0.7;
    double rotation = 0.0;
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    const std::string report = reports.Read("symmetrized.txt");
    EXPECT_NE(report.find("\r\n     0   1234      0 "), std::string::npos) << report;
    EXPECT_EQ(report.find("-0 "), std::string::npos);
    EXPECT_EQ(report.rfind("ADC High Reference   =    5.000 volts\r\n"
                           "ADC Low Reference    =    0.000 volts\r\n"
                           "Touch Screen Power   =    5.000 volts\r\n"
                           "Touch Screen Ground  =    0.000 volts\r\n"
                           "Voltage Range        =    5.000 volts\r\n"
                           "ADC Scaling Factor   =    0.001\r\n\r\n"
                           "  Pt #   SymV   SymW ScSymV ScSymW\r\n"
                           "====== ====== ====== ====== ======\r\n",
                           0),
              0u);
    EXPECT_NE(report.find("Rotation = "), std::string::npos);
}

TEST_F(SymmetrisationTest, TwoCallsAppendTwoBlocks) {
    CentredGridTouches(bench, 1000.0, 0.1, 0.0, 0.0);
    double rotation = 0.0;
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    SymmetriseAndEstimateRotation(*bench.Fit, rotation);
    const std::string report = reports.Read("symmetrized.txt");
    EXPECT_EQ(CountOf(report, "ADC High Reference"), 2u);
    EXPECT_EQ(CountOf(report, " degrees\r\n"), 2u);
    EXPECT_EQ(CountOf(report, "\r\n    24 "), 2u);
}

TEST_F(SymmetrisationTest, MirrorLookupsApplyTheirSigns) {
    CentredGridTouches(bench, 1000.0, 0.0, 0.0, 0.0);
    for (uint32_t i = 0; i < 25; ++i) {
        bench.Config.Touches[i].V = 100.0 + i;
        bench.Config.Touches[i].W = 200.0 + i;
    }
    bench.Config.MeanTouchV = 10.0;
    bench.Config.MeanTouchW = 20.0;
    double a = 0.0, b = 0.0;
    // Target 2 sits at row 1, column 2: its mirrors are targets 4, 22 and 24.
    EXPECT_TRUE(MirrorTouchHorizontal(bench.Config, 2, a, b));
    EXPECT_EQ(a, -103.0);
    EXPECT_EQ(b, 203.0);
    EXPECT_TRUE(MirrorTouchVertical(bench.Config, 2, a, b));
    EXPECT_EQ(a, 121.0);
    EXPECT_EQ(b, -221.0);
    EXPECT_TRUE(MirrorTouchCentral(bench.Config, 2, a, b));
    EXPECT_EQ(a, -123.0);
    EXPECT_EQ(b, -223.0);
    EXPECT_TRUE(CentredTouch(bench.Config, 2, a, b));
    EXPECT_EQ(a, 91.0);
    EXPECT_EQ(b, 181.0);
}

TEST_F(SymmetrisationTest, MissingMirrorCellStaysInsideTheArrays) {
    CentredGridTouches(bench, 1000.0, 0.0, 0.0, 0.0);
    // An inconsistent table: the last cell is gone and the touch array is shorter than the grid.
    bench.Config.GridCells.pop_back();
    bench.Config.Touches.resize(20);
    double a = 1.0, b = 1.0;
    EXPECT_FALSE(MirrorTouchCentral(bench.Config, 1, a, b));  // target 25 is missing
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(b, 0.0);
    EXPECT_FALSE(MirrorTouchVertical(bench.Config, 3, a, b));  // its touch is beyond the array
    EXPECT_FALSE(CentredTouch(bench.Config, 99, a, b));
    double rotation = 0.0;
    EXPECT_EQ(SymmetriseAndEstimateRotation(*bench.Fit, rotation), 1);
    EXPECT_EQ(bench.Fit->ScaledSymmetricV.length, 25u);
    EXPECT_TRUE(std::isfinite(rotation));
}

TEST_F(SymmetrisationTest, UnopenableReportStillComputes) {
    const auto blocked = reports.Path() / "blocked";
    std::ofstream(blocked) << "file";
    SetReportFolderOverride(blocked.wstring().c_str());
    const double theta = 3.0 * kPi / 180.0;
    CentredGridTouches(bench, 1000.0, theta, 0.0, 0.0);
    double rotation = 0.0;
    EXPECT_EQ(SymmetriseAndEstimateRotation(*bench.Fit, rotation), 1);
    EXPECT_NEAR(rotation, -3.0, 1e-9);
}

TEST(Truncation, TowardZeroAndIndefiniteOutsideTheRange) {
    EXPECT_EQ(TruncateToInt32(1234.9), 1234);
    EXPECT_EQ(TruncateToInt32(-0.7), 0);
    EXPECT_EQ(TruncateToInt32(-1234.9), -1234);
    EXPECT_EQ(TruncateToInt32(2147483647.5), 2147483647);
    EXPECT_EQ(TruncateToInt32(3e9), INT32_MIN);
    EXPECT_EQ(TruncateToInt32(std::numeric_limits<double>::quiet_NaN()), INT32_MIN);
}

}  // namespace
