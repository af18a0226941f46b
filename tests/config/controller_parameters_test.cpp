// ControllerParameters: defaults, keys, the on-demand offset and scale factor, bad values.
#include "config/controller_parameters.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/config/cfg_file.h"

namespace {

TEST(ControllerParameters, NoFileGivesTheDefaults) {
    std::wstring missing = MissingCfgPath();
    ControllerParameters p;
    EXPECT_TRUE(ReadControllerParameters(p, missing.c_str()));
    EXPECT_EQ(std::wstring(p.CfgFilePath), missing);
    EXPECT_EQ(p.SensorModelNum[0], L'\0');
    EXPECT_EQ(p.ControllerMax, 4095);
    EXPECT_EQ(p.ControllerMin, 0);
    EXPECT_EQ(p.ScreenHeight, 230.4);
    EXPECT_EQ(p.ScreenWidth, 306.4);
    EXPECT_EQ(p.VoltageRange, 5.0);
    EXPECT_EQ(GetControllerOffset(p), 2047.5);
    EXPECT_DOUBLE_EQ(GetScaleFactor(p), 1.0 / 4095.0);
}

TEST(ControllerParameters, DerivedVoltagesFollowTheDeltas) {
    TempCfgFile file;
    file.WriteKeys(
        "PowerSupplyVoltage=5.0\r\nPowerSupplyGround=0.0\r\nUpperPsDeltaV=0.2\r\n"
        "LowerPsDeltaV=0.1\r\nUpperTransDeltaV=0.3\r\nLowerTransDeltaV=0.4\r\n"
        "ControllerMax=1023\r\nControllerMin=0\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_DOUBLE_EQ(p.AdcHighReference, 4.8);
    EXPECT_DOUBLE_EQ(p.AdcLowReference, 0.1);
    EXPECT_DOUBLE_EQ(p.TouchScreenPower, 4.5);
    EXPECT_DOUBLE_EQ(p.TouchScreenGround, 0.5);
    EXPECT_DOUBLE_EQ(p.VoltageRange, 4.0);
    double voltsPerCount = 4.7 / 1023.0;
    EXPECT_DOUBLE_EQ(GetControllerOffset(p), (2.5 - 0.1) / voltsPerCount);
    EXPECT_DOUBLE_EQ(GetScaleFactor(p), voltsPerCount / 4.0);
}

TEST(ControllerParameters, OffsetAndScaleAreReadAgainAtEveryCall) {
    TempCfgFile file;
    file.WriteKeys("ControllerOffset=2000\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_EQ(GetControllerOffset(p), 2000.0);
    file.WriteKeys("ControllerOffset=1999.25\r\nScaleFactor=0.0005\r\n");
    EXPECT_EQ(GetControllerOffset(p), 1999.25);
    EXPECT_EQ(GetScaleFactor(p), 0.0005);
}

TEST(ControllerParameters, ModelNumbersAreTruncatedTo31Characters) {
    TempCfgFile file;
    file.WriteKeys(
        "SensorModelNum=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\r\nControllerModelNum=\"C-7\"\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_EQ(std::wstring(p.SensorModelNum), L"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(std::wstring(p.ControllerModelNum), L"C-7");
}

TEST(ControllerParameters, EmptyValueTakesTheDefault) {
    TempCfgFile file;
    file.WriteKeys("ScreenWidth=\r\nScreenHeight=200\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_EQ(p.ScreenWidth, 306.4);
    EXPECT_EQ(p.ScreenHeight, 200.0);
}

TEST(ControllerParameters, EqualControllerLimitsFallBackToTwelveBits) {
    TempCfgFile file;
    file.WriteKeys("ControllerMax=100\r\nControllerMin=100\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_EQ(p.ControllerMax, 4095);
    EXPECT_EQ(p.ControllerMin, 0);
    EXPECT_EQ(GetControllerOffset(p), 2047.5);
}

TEST(ControllerParameters, NonPositiveScreenSizeFallsBackToBothDefaults) {
    for (const char* keys : {"ScreenWidth=0\r\nScreenHeight=100\r\n", "ScreenWidth=nan\r\n",
                             "ScreenHeight=-3\r\n", "ScreenWidth=-1\r\nScreenHeight=5\r\n"}) {
        TempCfgFile file;
        file.WriteKeys(keys);
        ControllerParameters p;
        ReadControllerParameters(p, file.Path());
        EXPECT_EQ(p.ScreenWidth, 306.4) << keys;
        EXPECT_EQ(p.ScreenHeight, 230.4) << keys;
    }
}

TEST(ControllerParameters, DegenerateVoltagesUseTheWholeControllerRange) {
    TempCfgFile file;
    file.WriteKeys("PowerSupplyVoltage=2\r\nPowerSupplyGround=2\r\nControllerMax=1000\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_EQ(GetControllerOffset(p), 500.0);
    EXPECT_EQ(GetScaleFactor(p), 1.0 / 1000.0);
}

TEST(ControllerParameters, ZeroOrHugeScaleFactorKeyIsComputedInstead) {
    TempCfgFile file;
    file.WriteKeys("ScaleFactor=0\r\nControllerOffset=1e999\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_DOUBLE_EQ(GetScaleFactor(p), 1.0 / 4095.0);
    EXPECT_EQ(GetControllerOffset(p), 2047.5);
}

TEST(ControllerParameters, ExtremeLimitsDoNotOverflow) {
    TempCfgFile file;
    file.WriteKeys("ControllerMax=2147483647\r\nControllerMin=-2147483648\r\n");
    ControllerParameters p;
    ReadControllerParameters(p, file.Path());
    EXPECT_DOUBLE_EQ(GetScaleFactor(p), 1.0 / 4294967295.0);
}

TEST(ControllerParameters, TooLongPathUsesDefaults) {
    std::wstring longPath(300, L'x');
    ControllerParameters p;
    EXPECT_FALSE(ReadControllerParameters(p, longPath.c_str()));
    EXPECT_EQ(p.CfgFilePath[0], L'\0');
    EXPECT_EQ(GetControllerOffset(p), 2047.5);
}

TEST(ControllerParameters, GlassSizeMonitorInAnyCaseOnly) {
    const std::pair<const char*, bool> cases[] = {{"", false},
                                                  {"GlassSize=Monitor\r\n", true},
                                                  {"GlassSize=monitor\r\n", true},
                                                  {"GlassSize=Monitors\r\n", false},
                                                  {"GlassSize=File\r\n", false},
                                                  {"GlassSize=\r\n", false}};
    for (const auto& [keys, fromMonitor] : cases) {
        TempCfgFile file;
        file.WriteKeys(std::string(keys) + "ScreenWidth=200\r\nScreenHeight=150\r\n");
        ControllerParameters p;
        ReadControllerParameters(p, file.Path());
        EXPECT_EQ(p.GlassFromMonitor, fromMonitor) << keys;
        EXPECT_EQ(p.ScreenWidth, 200.0) << keys;  // the file's size is read either way
    }
}

}  // namespace
