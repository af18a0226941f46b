// ReadGridConfig: grid shape, fit model, mini-target switches, normalisation keys, bad values.
#include "config/calibration_config.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/config/cfg_file.h"

namespace {

CalibrationConfig ReadConfig(TempCfgFile& file, const std::string& keys, bool* ok = nullptr) {
    file.WriteKeys(keys);
    CalibrationConfig config(file.Path());
    bool result = ReadGridConfig(config);
    if (ok) *ok = result;
    return config;
}

TEST(CalibrationConfig, ConstructionSetsTheDocumentedStart) {
    CalibrationConfig c(L"C:\\x\\Tarnix.cfg");
    EXPECT_EQ(std::wstring(c.CfgFilePath), L"C:\\x\\Tarnix.cfg");
    EXPECT_EQ(c.RangeX, 1.0);
    EXPECT_EQ(c.OriginY, 0.5);
    EXPECT_EQ(c.GridMagnification, 1.0);
    EXPECT_EQ(c.NumGridPoints, 0u);
    EXPECT_EQ(c.TargetCount, 0u);
    EXPECT_TRUE(c.Targets.empty() && c.Touches.empty() && c.GridCells.empty());
    EXPECT_FALSE(c.HasMiniTargets);
}

TEST(CalibrationConfig, NoFileGivesFiveByFive) {
    std::wstring missing = MissingCfgPath();
    CalibrationConfig c(missing.c_str());
    EXPECT_TRUE(ReadGridConfig(c));
    EXPECT_EQ(c.NumGridRows, 5u);
    EXPECT_EQ(c.NumGridColumns, 5u);
    EXPECT_EQ(c.NumGridPoints, 25u);
    EXPECT_EQ(c.TargetCount, 25u);
    EXPECT_EQ(c.FitModelCode, 13u);
    EXPECT_EQ(c.ModelKind, 1u);
    EXPECT_EQ(c.PolynomialOrder, 3u);
    EXPECT_FALSE(c.HasMiniTargets);
    EXPECT_EQ(c.MiniTargetCount, 0);
    EXPECT_EQ(c.LaplaceTermCount, 4);
    EXPECT_EQ(c.Nxside, 9);
    EXPECT_EQ(c.Targets.size(), 25u);
    EXPECT_EQ(c.Touches.size(), 25u);
    EXPECT_GT(c.CaptionHeight, 0);
}

TEST(GridShape, OneRowBecomesTwo) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(f, "NumGridRows=1\r\n");
    EXPECT_EQ(c.NumGridRows, 2u);
    EXPECT_EQ(c.NumGridColumns, 12u);
    EXPECT_EQ(c.NumGridPoints, 24u);  // 25 is not a multiple of 2
}

TEST(GridShape, TooFewPointsGiveTwoColumns) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(f, "NumGridRows=5\r\nNumGridPoints=3\r\n");
    EXPECT_EQ(c.NumGridPoints, 10u);
    EXPECT_EQ(c.NumGridColumns, 2u);
}

TEST(GridShape, PerimeterKeepsTheBorderCells) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(f, "NumGridRows=5\r\nNumGridPoints=25\r\nPerimeter=1\r\n");
    EXPECT_TRUE(c.Perimeter);
    EXPECT_EQ(c.NumGridColumns, 5u);
    EXPECT_EQ(c.NumGridPoints, 16u);
    EXPECT_EQ(c.TargetCount, 16u);
}

TEST(GridShape, PointsNotAMultipleOfRowsAreCutToWholeRows) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(f, "NumGridRows=4\r\nNumGridPoints=23\r\n");
    EXPECT_EQ(c.NumGridColumns, 5u);
    EXPECT_EQ(c.NumGridPoints, 20u);
    EXPECT_EQ(c.TargetCount, 20u);
    EXPECT_EQ(c.Targets.size(), 20u);
}

// Zero and text without digits follow the raising rules: rows below 2 become 2, points per row
// below 2 become 2 x rows.
TEST(GridShape, ZeroAndDigitlessCountsAreRaised) {
    struct Case {
        const char* keys;
        uint32_t rows, columns, points;
    } cases[] = {
        {"NumGridRows=0\r\nNumGridPoints=0\r\nFitModelCode=11\r\n", 2, 2, 4},
        {"NumGridRows=abc\r\nNumGridPoints=x\r\n", 2, 2, 4},
        {"NumGridRows=1\r\nNumGridPoints=9\r\n", 2, 4, 8},
        {"NumGridRows=5\r\nNumGridPoints=0\r\n", 5, 2, 10},
        {"NumGridRows=0\r\nNumGridPoints=12\r\n", 2, 6, 12},
    };
    for (const Case& k : cases) {
        TempCfgFile f;
        bool ok = false;
        CalibrationConfig c = ReadConfig(f, k.keys, &ok);
        EXPECT_TRUE(ok) << k.keys;
        EXPECT_EQ(c.NumGridRows, k.rows) << k.keys;
        EXPECT_EQ(c.NumGridColumns, k.columns) << k.keys;
        EXPECT_EQ(c.NumGridPoints, k.points) << k.keys;
        EXPECT_EQ(c.Targets.size(), k.points) << k.keys;
    }
}

TEST(GridShape, UnusableCountsAreRejected) {
    for (const char* keys :
         {"NumGridRows=-3\r\n", "NumGridPoints=-25\r\n", "NumGridPoints=10001\r\n",
          "NumGridRows=99999999999\r\n", "NumGridRows=6000\r\nNumGridPoints=7000\r\n"}) {
        TempCfgFile f;
        bool ok = true;
        CalibrationConfig c = ReadConfig(f, keys, &ok);
        EXPECT_FALSE(ok) << keys;
        EXPECT_EQ(c.NumGridPoints, 0u) << keys;
        EXPECT_EQ(c.TargetCount, 0u) << keys;
        EXPECT_TRUE(c.Targets.empty() && c.Touches.empty()) << keys;
    }
}

TEST(GridShape, LargestAcceptedGrid) {
    TempCfgFile f;
    bool ok = false;
    CalibrationConfig c = ReadConfig(f, "NumGridRows=100\r\nNumGridPoints=10000\r\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(c.NumGridPoints, 10000u);
}

TEST(FitModel, DigitsGiveKindAndOrder) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(f, "FitModelCode=47\r\n");
    EXPECT_EQ(c.ModelKind, 4u);
    EXPECT_EQ(c.PolynomialOrder, 7u);
    for (const char* code : {"48", "7", "50", "-13", "0"}) {
        CalibrationConfig bad = ReadConfig(f, std::string("FitModelCode=") + code + "\r\n");
        EXPECT_EQ(bad.ModelKind, 1u) << code;
        EXPECT_EQ(bad.PolynomialOrder, 3u) << code;
        EXPECT_EQ(bad.FitModelCode, uint32_t(std::stoi(code))) << code;
    }
}

TEST(MiniTargets, OneRadiusEnablesOneSlot) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(f, "InfluenceRadius5=0.05\r\n");
    EXPECT_TRUE(c.HasMiniTargets);
    EXPECT_EQ(c.MiniTargetCount, 1);
    EXPECT_EQ(c.TargetCount, 36u);
    EXPECT_EQ(c.DistanceOfInfluence, 0.05);
    for (int i = 0; i < kMiniTargetSlots; ++i) EXPECT_EQ(c.MiniTargetEnabled[i], i == 4) << i;
    EXPECT_EQ(c.InfluenceRadius[4], 0.05);
    EXPECT_EQ(c.Targets.size(), 36u);
}

TEST(MiniTargets, ThresholdIsOneHundredThousandth) {
    TempCfgFile f;
    CalibrationConfig below = ReadConfig(f, "InfluenceRadius3=0.000009\r\n");
    EXPECT_FALSE(below.HasMiniTargets);
    EXPECT_EQ(below.InfluenceRadius[2], 0.000009);
    EXPECT_EQ(below.TargetCount, 25u);
    CalibrationConfig at = ReadConfig(f, "InfluenceRadius3=0.00001\r\n");
    EXPECT_TRUE(at.MiniTargetEnabled[2]);
    EXPECT_EQ(at.MiniTargetCount, 1);
}

TEST(MiniTargets, LastEnabledRadiusIsTheDistance) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(
        f, "InfluenceRadius1=0.02\r\nInfluenceRadius7=0.04\r\nInfluenceRadius11=0.000001\r\n");
    EXPECT_EQ(c.MiniTargetCount, 2);
    EXPECT_EQ(c.DistanceOfInfluence, 0.04);
    EXPECT_EQ(c.InfluenceRadius[10], 0.000001);
}

TEST(Normalisation, KeysAndBadValues) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(
        f, "RangeX=0.8\r\nRangeY=0\r\nOriginX=0.4\r\nGridMagnification=1.2\r\nNyside=7\r\n");
    EXPECT_EQ(c.RangeX, 0.8);
    EXPECT_EQ(c.RangeY, 1.0);
    EXPECT_EQ(c.OriginX, 0.4);
    EXPECT_EQ(c.GridMagnification, 1.2);
    EXPECT_EQ(c.Nyside, 7);
    CalibrationConfig bad =
        ReadConfig(f, "RangeX=1e999\r\nOriginX=-1e999\r\nGridMagnification=0\r\nSimulate=1\r\n");
    EXPECT_EQ(bad.RangeX, 1.0);
    EXPECT_EQ(bad.OriginX, 0.5);
    EXPECT_EQ(bad.GridMagnification, 1.0);
    EXPECT_TRUE(bad.Simulate);
}

TEST(Normalisation, EmptyValueTakesTheDefault) {
    TempCfgFile f;
    CalibrationConfig c = ReadConfig(f, "NumGridRows=\r\nRangeX=\r\nFitModelCode=\r\n");
    EXPECT_EQ(c.NumGridRows, 5u);
    EXPECT_EQ(c.RangeX, 1.0);
    EXPECT_EQ(c.FitModelCode, 13u);
}

TEST(PassChecks, ToleranceAndBoundsWithTheirDefaults) {
    TempCfgFile f;
    CalibrationConfig absent = ReadConfig(f, "NumGridRows=5\r\nMaxFitResidual=\r\n");
    EXPECT_EQ(absent.MisclickTolerance, 0.4);
    EXPECT_EQ(absent.MaxFitResidual, 0.0);  // off unless set
    EXPECT_EQ(absent.SuspectFloor, 3.0);
    EXPECT_EQ(absent.MaxTouchScatter, 3.0);
    CalibrationConfig set = ReadConfig(
        f, "MisclickTolerance=0\r\nMaxFitResidual=2.5\r\nSuspectFloor=2\r\nMaxTouchScatter=0\r\n");
    EXPECT_EQ(set.MisclickTolerance, 0.0);
    EXPECT_EQ(set.MaxFitResidual, 2.5);
    EXPECT_EQ(set.SuspectFloor, 2.0);
    EXPECT_EQ(set.MaxTouchScatter, 0.0);
    CalibrationConfig bad = ReadConfig(
        f,
        "MisclickTolerance=-1\r\nMaxFitResidual=-3\r\nSuspectFloor=-1\r\nMaxTouchScatter=-2\r\n");
    EXPECT_EQ(bad.MisclickTolerance, 0.4);
    EXPECT_EQ(bad.MaxFitResidual, 0.0);
    EXPECT_EQ(bad.SuspectFloor, 3.0);
    EXPECT_EQ(bad.MaxTouchScatter, 3.0);
}

TEST(PassChecks, CheckTargetsOffUnlessSetAndWithinItsRange) {
    TempCfgFile f;
    EXPECT_EQ(ReadConfig(f, "NumGridRows=5\r\n").CheckTargets, 0);
    EXPECT_EQ(ReadConfig(f, "NumGridRows=5\r\nCheckTargets=3\r\n").CheckTargets, 3);
    EXPECT_EQ(ReadConfig(f, "NumGridRows=5\r\nCheckTargets=9\r\n").CheckTargets, 0);
    EXPECT_EQ(ReadConfig(f, "NumGridRows=5\r\nCheckTargets=-1\r\n").CheckTargets, 0);
}

TEST(CaptionHeight, ComesFromThePlatform) {
    int32_t twips = ReadCaptionHeightTwips();
    EXPECT_GT(twips, 0);
    EXPECT_LE(twips, 2000);
}

}  // namespace
