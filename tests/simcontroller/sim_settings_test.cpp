// Tests of the simulated controller's settings: defaults, per-screen and shared sensor keys, paths.
#include "simcontroller/sim_settings.h"

#include <gtest/gtest.h>

TEST(SimSettings, NoFileGivesTheDefaults) {
    const SimSettings settings = ReadSimSettings(IniFile::FromText(""), "ini", "logs");
    EXPECT_EQ(settings.screenCount, 1);
    ASSERT_EQ(settings.screens.size(), 1u);
    EXPECT_EQ(settings.screens[0].monitor, 1);
    EXPECT_FALSE(settings.screens[0].hasRect);
    EXPECT_EQ(settings.source, TouchSourceKind::Pointer);
    EXPECT_EQ(settings.controllerType, '2');
    EXPECT_EQ(settings.logFolder, std::filesystem::path("logs"));
    EXPECT_EQ(settings.scriptFile, std::filesystem::path("ini") / "SimTouches.txt");
    EXPECT_EQ(settings.screens[0].sensor.noiseCounts, 0.0);
    EXPECT_TRUE(settings.applyCalibration);
    EXPECT_TRUE(settings.clearReleases);
}

TEST(SimSettings, ReadsEveryKeyWithScreenSectionsOverSharedSensorKeys) {
    const IniFile ini = IniFile::FromText(
        "[SimController]\n"
        "ScreenCount=2\nControllerType=7\nDiagnosticsWord4=3\nCalibrationByte=0x41\n"
        "TouchSource=script\nScriptFile=pass.txt\nScriptLoop=1\nScriptDelayMs=40\n"
        "LogFolder=/var/sim\nSeed=99\nApplyCalibration=0\nClearReleases=0\n"
        "[sensor]\nnoise=1.5\nGainX=0.8\nBowCubic=0\n"
        "[Screen1]\nMonitor=3\nRect=800,0,1024,768\nGainX=0.7\nSwapAxes=1\nInvertY=1\nZ=128\n"
        "RotationDegrees=-1.5\nOffsetX=4\nOffsetY=5\nGainY=0.6\nBowQuadratic=0.02\nInvertX=1\n");
    const SimSettings settings = ReadSimSettings(ini, "/opt/touch", "unused");
    EXPECT_EQ(settings.screenCount, 2);
    EXPECT_EQ(settings.controllerType, '7');
    EXPECT_EQ(settings.diagnosticsWord4, 3);
    EXPECT_EQ(settings.calibrationByte, 0x41);
    EXPECT_EQ(settings.source, TouchSourceKind::Script);
    EXPECT_EQ(settings.scriptFile, std::filesystem::path("/opt/touch") / "pass.txt");
    EXPECT_TRUE(settings.scriptLoop);
    EXPECT_EQ(settings.scriptDelayMs, 40u);
    EXPECT_EQ(settings.logFolder, std::filesystem::path("/var/sim"));
    EXPECT_EQ(settings.seed, 99u);
    EXPECT_FALSE(settings.applyCalibration);
    EXPECT_FALSE(settings.clearReleases);
    const ScreenSettings& first = settings.screens[0];
    EXPECT_EQ(first.monitor, 1);
    EXPECT_DOUBLE_EQ(first.sensor.noiseCounts, 1.5);
    EXPECT_DOUBLE_EQ(first.sensor.gainX, 0.8);
    EXPECT_DOUBLE_EQ(first.sensor.bowCubic, 0.0);
    const ScreenSettings& second = settings.screens[1];
    EXPECT_EQ(second.monitor, 3);
    ASSERT_TRUE(second.hasRect);
    EXPECT_EQ(second.rect.left, 800);
    EXPECT_EQ(second.rect.width, 1024);
    EXPECT_DOUBLE_EQ(second.sensor.gainX, 0.7);
    EXPECT_DOUBLE_EQ(second.sensor.noiseCounts, 1.5);  // shared key
    EXPECT_TRUE(second.sensor.swapAxes);
    EXPECT_TRUE(second.sensor.invertX);
    EXPECT_TRUE(second.sensor.invertY);
    EXPECT_EQ(second.sensor.z, 128);
    EXPECT_DOUBLE_EQ(second.sensor.rotationDegrees, -1.5);
    EXPECT_DOUBLE_EQ(second.sensor.offsetX, 4);
    EXPECT_DOUBLE_EQ(second.sensor.offsetY, 5);
    EXPECT_DOUBLE_EQ(second.sensor.gainY, 0.6);
    EXPECT_DOUBLE_EQ(second.sensor.bowQuadratic, 0.02);
}

TEST(SimSettings, BadValuesFallBackAndCountsAreBounded) {
    const IniFile ini = IniFile::FromText(
        "[SimController]\nScreenCount=500\nTouchSource=joystick\nSeed=x\n"
        "[Screen0]\nRect=1,2,0,5\nNoise=-3\nGainX=abc\n");
    const SimSettings settings = ReadSimSettings(ini, "", "logs");
    EXPECT_EQ(settings.screenCount, kMaxSimScreens);
    EXPECT_EQ(settings.source, TouchSourceKind::Pointer);
    EXPECT_EQ(settings.seed, 1u);
    EXPECT_FALSE(settings.screens[0].hasRect);
    EXPECT_EQ(settings.screens[0].sensor.noiseCounts, 0.0);
    EXPECT_DOUBLE_EQ(settings.screens[0].sensor.gainX, SensorParameters{}.gainX);
}

TEST(SimSettings, ThePersonComesFromPersonWithPanelSizesPerScreen) {
    const SimSettings none = ReadSimSettings(IniFile::FromText(""), "", "logs");
    EXPECT_EQ(none.screens[0].person.scatterMm, 0.0);  // a perfect toucher unless set
    const IniFile ini = IniFile::FromText(
        "[SimController]\nScreenCount=3\n"
        "[Person]\nScatterMm=1.5\nPanelWidthMm=300\nPanelHeightMm=200\nSeed=10\n"
        "[Screen1]\nPanelWidthMm=150\nPanelHeightMm=100\n"
        "[Screen2]\nScatterMm=-1\nPanelWidthMm=0\nPanelHeightMm=90\n");
    const SimSettings settings = ReadSimSettings(ini, "", "logs");
    const SimulatedPerson& first = settings.screens[0].person;
    EXPECT_DOUBLE_EQ(first.scatterMm, 1.5);
    EXPECT_DOUBLE_EQ(first.panelWidthMm, 300);
    EXPECT_EQ(first.seed, 10u);
    const SimulatedPerson& second = settings.screens[1].person;
    EXPECT_DOUBLE_EQ(second.scatterMm, 1.5);
    EXPECT_DOUBLE_EQ(second.panelWidthMm, 150);
    EXPECT_DOUBLE_EQ(second.panelHeightMm, 100);
    EXPECT_EQ(second.seed, 11u);
    const SimulatedPerson& third = settings.screens[2].person;
    EXPECT_EQ(third.scatterMm, 0.0);                                         // negative: none
    EXPECT_DOUBLE_EQ(third.panelWidthMm, SimulatedPerson{}.panelWidthMm);    // a zero size: both
    EXPECT_DOUBLE_EQ(third.panelHeightMm, SimulatedPerson{}.panelHeightMm);  // defaults
}

TEST(IniFile, SectionsAndKeysIgnoreCaseAndCommentsAndEmptyValues) {
    const IniFile ini =
        IniFile::FromText("; top\n[One]\r\n Key = value with spaces \r\nEmpty=\n# c\n[two]\nk=2\n");
    EXPECT_EQ(ini.Get("one", "KEY").value_or(""), "value with spaces");
    EXPECT_FALSE(ini.Get("One", "Empty"));
    EXPECT_EQ(ini.Get("TWO", "K").value_or(""), "2");
    EXPECT_FALSE(ini.Get("two", "Key"));
    EXPECT_FALSE(IniFile::FromFile("/no/such/file.ini").Loaded());
}
