// The shipped example configurations load as documented.
#include <gtest/gtest.h>

#include <string>

#include "config/controller_parameters.h"
#include "display/target_layout.h"

namespace {

std::wstring ExamplePath(const char* name) {
    std::string path = std::string(TARNIX_EXAMPLES_DIR) + "/" + name;
#ifdef _WIN32
    path = "Z:" + path;  // Wine maps the Unix root to drive Z
#endif
    return std::wstring(path.begin(), path.end());
}

TEST(ExampleFiles, SevenBySevenWithMiniTargets) {
    std::wstring path = ExamplePath("grid-7x7-mini.cfg");
    CalibrationConfig c(path.c_str());
    ASSERT_TRUE(ReadGridConfig(c));
    EXPECT_EQ(c.NumGridRows, 7u);
    EXPECT_EQ(c.NumGridColumns, 7u);
    EXPECT_EQ(c.NumGridPoints, 49u);
    EXPECT_EQ(c.MiniTargetCount, 11);
    EXPECT_EQ(c.TargetCount, 60u);
    EXPECT_EQ(c.PolynomialOrder, 4u);
    ASSERT_TRUE(BuildGridCells(c));
    ASSERT_TRUE(BuildTargets(c));
    EXPECT_NEAR(c.Targets[0].X, 0.5 * (1.0 - 1.1 * 6.0 / 7.0), 1e-12);
    ControllerParameters p;
    ReadControllerParameters(p, path.c_str());
    EXPECT_EQ(std::wstring(p.SensorModelNum), L"RS-1520");
}

TEST(ExampleFiles, SimulatedFiveByFive) {
    std::wstring path = ExamplePath("sim-5x5.cfg");
    CalibrationConfig c(path.c_str());
    ASSERT_TRUE(ReadGridConfig(c));
    EXPECT_TRUE(c.Simulate);
    EXPECT_EQ(c.NumGridPoints, 25u);
    ASSERT_TRUE(BuildGridCells(c));
    ASSERT_TRUE(BuildTargets(c));
    ASSERT_TRUE(ReadSimulatedTouches(c));
    for (uint32_t i = 0; i < 25; ++i) {
        EXPECT_GT(c.Touches[i].V, 0.0);
        EXPECT_LT(c.Touches[i].V, 4096.0);
    }
    // Left to right and top to bottom the raw counts grow.
    EXPECT_LT(c.Touches[0].V, c.Touches[4].V);
    EXPECT_LT(c.Touches[0].W, c.Touches[20].W);
    EXPECT_NEAR(c.MeanTouchV, 2082.5, 30.0);
    EXPECT_NEAR(c.MeanTouchW, 2027.5, 30.0);
}

}  // namespace
