// Target layout: grid cells, default and configured positions, magnification, mini targets and
// simulated touches.
#include "display/target_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/config/cfg_file.h"

namespace {

CalibrationConfig Layout(TempCfgFile& file, const std::string& keys) {
    file.WriteKeys(keys);
    CalibrationConfig c(file.Path());
    EXPECT_TRUE(ReadGridConfig(c));
    EXPECT_TRUE(BuildGridCells(c));
    EXPECT_TRUE(BuildTargets(c));
    return c;
}

TEST(GridCells, PerimeterNumbering) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "NumGridRows=5\r\nNumGridPoints=25\r\nPerimeter=1\r\n");
    ASSERT_EQ(c.GridCells.size(), 16u);
    const int expected[16][3] = {{1, 1, 1},  {2, 2, 1},  {3, 3, 1},  {4, 4, 1},
                                 {5, 5, 1},  {6, 1, 2},  {7, 5, 2},  {8, 1, 3},
                                 {9, 5, 3},  {10, 1, 4}, {11, 5, 4}, {12, 1, 5},
                                 {13, 2, 5}, {14, 3, 5}, {15, 4, 5}, {16, 5, 5}};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(c.GridCells[i].TargetNumber, expected[i][0]) << i;
        EXPECT_EQ(c.GridCells[i].Column, expected[i][1]) << i;
        EXPECT_EQ(c.GridCells[i].Row, expected[i][2]) << i;
    }
    EXPECT_DOUBLE_EQ(c.Targets[5].X, 0.1);
    EXPECT_DOUBLE_EQ(c.Targets[5].Y, 0.3);
    EXPECT_DOUBLE_EQ(c.Targets[6].X, 0.9);
    EXPECT_DOUBLE_EQ(c.Targets[15].Y, 0.9);
}

TEST(TargetPositions, DefaultGridSitsAtCellCentres) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "");
    ASSERT_EQ(c.Targets.size(), 36u);
    const double centres[5] = {0.1, 0.3, 0.5, 0.7, 0.9};
    for (int i = 0; i < 25; ++i) {
        EXPECT_DOUBLE_EQ(c.Targets[i].X, centres[i % 5]) << i;
        EXPECT_DOUBLE_EQ(c.Targets[i].Y, centres[i / 5]) << i;
    }
}

TEST(TargetPositions, TargetGridKeyMovesOneTarget) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "TargetGridX03=0.33\r\nTargetGridY03=\r\n");
    EXPECT_EQ(c.Targets[3].X, 0.33);
    EXPECT_DOUBLE_EQ(c.Targets[3].Y, 0.1);
    EXPECT_DOUBLE_EQ(c.Targets[2].X, 0.5);
}

TEST(TargetPositions, MagnificationReplacesTargetGridKeys) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "TargetGridX03=0.33\r\nGridMagnification=1.2\r\n");
    EXPECT_DOUBLE_EQ(c.Targets[3].X, 0.74);
}

TEST(Magnification, NearOneChangesNothing) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "GridMagnification=1.00005\r\n");
    EXPECT_DOUBLE_EQ(c.Targets[0].X, 0.1);
    EXPECT_DOUBLE_EQ(c.Targets[24].Y, 0.9);
}

TEST(Magnification, SpreadsTheGridAroundTheCentre) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "GridMagnification=1.2\r\n");
    const double expected[5] = {0.02, 0.26, 0.50, 0.74, 0.98};
    for (int i = 0; i < 25; ++i) {
        EXPECT_NEAR(c.Targets[i].X, expected[i % 5], 1e-12) << i;
        EXPECT_NEAR(c.Targets[i].Y, expected[i / 5], 1e-12) << i;
    }
}

TEST(Magnification, OffScreenSpanIsIgnored) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "GridMagnification=2\r\n");
    EXPECT_DOUBLE_EQ(c.Targets[0].X, 0.1);
    EXPECT_DOUBLE_EQ(c.Targets[4].X, 0.9);
}

TEST(Magnification, PerimeterGridKeepsItsCorners) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "Perimeter=1\r\nGridMagnification=1.2\r\n");
    EXPECT_NEAR(c.Targets[0].X, 0.02, 1e-12);
    EXPECT_NEAR(c.Targets[6].X, 0.98, 1e-12);  // row 2, column 5
    EXPECT_NEAR(c.Targets[6].Y, 0.26, 1e-12);
    EXPECT_NEAR(c.Targets[15].Y, 0.98, 1e-12);
}

TEST(GridSpacing, LobattoLinesCloseUpTowardsTheEdgesAndKeepTheOuterTargets) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f,
                                 "NumGridRows=6\r\nNumGridPoints=36\r\nGridMagnification=1.15\r\n"
                                 "GridSpacing=1\r\n");
    // Gauss-Lobatto points of 6 nodes: +-1, +-sqrt(1/3 + 2 sqrt(7) / 21), +-sqrt(1/3 - 2 sqrt(7) /
    // 21).
    const double inner = std::sqrt(1.0 / 3 - 2 * std::sqrt(7.0) / 21);
    const double outer = std::sqrt(1.0 / 3 + 2 * std::sqrt(7.0) / 21);
    const double nodes[6] = {-1, -outer, -inner, inner, outer, 1};
    const double half = 0.5 * 1.15 * 5.0 / 6.0;  // the even grid's outer targets, magnified
    for (int i = 0; i < 36; ++i) {
        EXPECT_NEAR(c.Targets[i].X, 0.5 + half * nodes[i % 6], 1e-12) << i;
        EXPECT_NEAR(c.Targets[i].Y, 0.5 + half * nodes[i / 6], 1e-12) << i;
    }
    EXPECT_EQ(c.FitTerms, 0);
    TempCfgFile unknown;
    const CalibrationConfig odd = Layout(unknown, "GridSpacing=2\r\nFitTerms=5\r\n");
    EXPECT_EQ(odd.GridSpacing, 0);
    EXPECT_EQ(odd.FitTerms, 0);
    TempCfgFile sheet;
    EXPECT_EQ(Layout(sheet, "FitTerms=3\r\n").FitTerms, 3);
    TempCfgFile predicted;
    EXPECT_EQ(Layout(predicted, "FitTerms=4\r\n").FitTerms, 4);
}

TEST(MiniTargets, CaptionHeight330Positions) {
    TempCfgFile f;
    for (const char* keys : {"", "InfluenceRadius2=0.03\r\n"}) {
        CalibrationConfig c = Layout(f, keys);
        c.CaptionHeight = 330;
        PlaceMiniTargets(c);
        const TargetPoint* slot = &c.Targets[c.NumGridPoints];
        EXPECT_NEAR(slot[0].X, 0.98625, 5e-7);
        EXPECT_NEAR(slot[0].Y, 0.018333, 5e-7);
        EXPECT_NEAR(slot[1].X, 0.95875, 5e-7);
        EXPECT_NEAR(slot[2].X, 0.93125, 5e-7);
        EXPECT_NEAR(slot[3].X, 0.01375, 5e-7);
        EXPECT_NEAR(slot[3].Y, 0.018333, 5e-7);
        EXPECT_NEAR(slot[4].X, 0.01375, 5e-7);
        EXPECT_NEAR(slot[4].Y, 0.981667, 5e-7);
        EXPECT_NEAR(slot[5].X, 0.84875, 5e-7);
        EXPECT_NEAR(slot[5].Y, 0.981667, 5e-7);
        EXPECT_NEAR(slot[10].X, 0.98625, 5e-7);
        EXPECT_NEAR(slot[10].Y, 0.981667, 5e-7);
        EXPECT_DOUBLE_EQ(c.Targets[24].X, 0.9);  // grid untouched
    }
}

TEST(MiniTargets, TargetGridKeysOfSlotsAreReplaced) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, "InfluenceRadius1=0.03\r\nTargetGridX25=0.5\r\n");
    EXPECT_EQ(c.Targets[25].X, 0.5);
    c.CaptionHeight = 330;
    PlaceMiniTargets(c);
    EXPECT_NEAR(c.Targets[25].X, 0.98625, 1e-12);
}

std::string UniformTouches(int count, const char* v, const char* w) {
    std::string keys = "Simulate=1\r\n";
    for (int i = 0; i < count; ++i) {
        char line[80];
        std::snprintf(line, sizeof line, "TouchGridX%02d=%s\r\nTouchGridY%02d=%s\r\n", i, v, i, w);
        keys += line;
    }
    return keys;
}

TEST(SimulatedTouches, MeansOfTheTouchGridKeys) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, UniformTouches(25, "100", "200"));
    ASSERT_TRUE(ReadSimulatedTouches(c));
    EXPECT_EQ(c.MeanTouchV, 100.0);
    EXPECT_EQ(c.MeanTouchW, 200.0);
    EXPECT_EQ(c.Touches[24].TargetNumber, 25);
    EXPECT_EQ(c.Touches[24].W, 200.0);
}

TEST(SimulatedTouches, MissingKeyRefusesTheFile) {
    TempCfgFile f;
    std::string keys = UniformTouches(25, "100", "200");
    keys.replace(keys.find("TouchGridY17"), 2, ";;");
    CalibrationConfig c = Layout(f, keys);
    EXPECT_FALSE(ReadSimulatedTouches(c));
    EXPECT_EQ(c.NumGridPoints, 0u);
}

TEST(SimulatedTouches, DisabledMiniTargetSlotsMayLackKeys) {
    TempCfgFile f;
    CalibrationConfig c = Layout(f, UniformTouches(26, "100", "200") + "InfluenceRadius1=0.03\r\n");
    ASSERT_TRUE(ReadSimulatedTouches(c));
    EXPECT_EQ(c.Touches.size(), 36u);
    EXPECT_DOUBLE_EQ(c.MeanTouchV, 100.0 * 26 / 36);
    CalibrationConfig missing =
        Layout(f, UniformTouches(25, "1", "2") + "InfluenceRadius1=0.03\r\n");
    EXPECT_FALSE(ReadSimulatedTouches(missing));
}

}  // namespace
