// Building the area list from monitors and tiles, target pixels, area choice and duplication.
#include "app/area_list.h"

#include <gtest/gtest.h>

#include "display/target_layout.h"

namespace {

// A default 5 x 5 grid without mini targets, caption height 330 twips.
CalibrationConfig GridConfig(bool miniTargets = false) {
    CalibrationConfig config;
    config.NumGridRows = 5;
    config.NumGridColumns = 5;
    config.NumGridPoints = 25;
    config.CaptionHeight = 330;
    config.HasMiniTargets = miniTargets;
    config.TargetCount = 25 + (miniTargets ? kMiniTargetSlots : 0);
    config.Targets.assign(25 + kMiniTargetSlots, TargetPoint());
    SetDefaultTargetPositions(config);
    return config;
}

std::vector<AreaTarget> TargetsOf(const CalibrationArea& area) { return area.Targets; }

}  // namespace

TEST(AreaList, OneAreaPerMonitorInEnumerationOrder) {
    CalibrationConfig config = GridConfig();
    CalibrationAreaList list;
    std::vector<MonitorRect> monitors = {{0, 0, 800, 600}, {800, 0, 1824, 768}};
    EXPECT_EQ(BuildAreaList(list, monitors, BuiltInVideoModes(), config), 2);
    ASSERT_EQ(list.AreaCount, 2);
    const CalibrationArea& first = list.Areas.front();
    const CalibrationArea& second = list.Areas.back();
    EXPECT_EQ(list.Current, &first);
    EXPECT_EQ(first.Width, 800);
    EXPECT_EQ(first.Height, 600);
    EXPECT_EQ(first.MonitorNumber, 1);
    EXPECT_EQ(second.Left, 800);
    EXPECT_EQ(second.Top, 0);
    EXPECT_EQ(second.Width, 1024);
    EXPECT_EQ(second.Height, 768);
    EXPECT_EQ(second.MonitorNumber, 2);
    EXPECT_EQ(list.Targets.size(), 25u);
}

TEST(AreaList, TilesRowByRowFromTheMonitorsCorner) {
    CalibrationConfig config = GridConfig();
    CalibrationAreaList list;
    std::vector<MonitorRect> monitors = {{-1920, 100, 0, 1180}};
    ASSERT_EQ(BuildAreaList(list, monitors, {{960, 540}}, config), 4);
    const int32_t lefts[] = {-1920, -960, -1920, -960}, tops[] = {100, 100, 640, 640};
    int i = 0;
    for (const CalibrationArea& area : list.Areas) {
        EXPECT_EQ(area.Width, 960);
        EXPECT_EQ(area.Height, 540);
        EXPECT_EQ(area.Left, lefts[i]);
        EXPECT_EQ(area.Top, tops[i]);
        EXPECT_EQ(area.MonitorNumber, 1);
        EXPECT_EQ(area.Targets[0].ScreenX, 96);  // 960 x 0.1
        EXPECT_EQ(area.Targets[0].ScreenY, 54);
        ++i;
    }
}

TEST(AreaList, MonitorsWithoutSizeAreSkipped) {
    CalibrationConfig config = GridConfig();
    CalibrationAreaList list;
    std::vector<MonitorRect> monitors = {{0, 0, 0, 0}, {0, 0, 1920, 1080}, {50, 50, 10, 10}};
    EXPECT_EQ(BuildAreaList(list, monitors, BuiltInVideoModes(), config), 1);
    EXPECT_EQ(list.Areas.front().MonitorNumber, 2);

    CalibrationAreaList empty;
    EXPECT_EQ(BuildAreaList(empty, {}, BuiltInVideoModes(), config), 0);
    EXPECT_EQ(empty.Current, nullptr);
    EXPECT_EQ(AreaByNumber(empty, 0), nullptr);
}

TEST(AreaTargets, PixelsAreTruncatedFractionsOfTheArea) {
    CalibrationConfig config = GridConfig(true);
    CalibrationArea area;
    area.Width = 1920;
    area.Height = 1080;
    area.Targets.assign(config.TargetCount, AreaTarget());
    config.Targets[1].X = 0.29999;  // 575.98 truncates to 575
    PlaceAreaTargets(area, config);
    EXPECT_EQ(area.Targets[0].ScreenX, 192);
    EXPECT_EQ(area.Targets[0].ScreenY, 108);
    EXPECT_EQ(area.Targets[1].ScreenX, 575);
    EXPECT_EQ(area.Targets[24].ScreenX, 1728);
    EXPECT_EQ(area.Targets[24].ScreenY, 972);
    // Mini target slot 0 at (0.98625, 0.018333) of the area, placed for every area.
    EXPECT_EQ(area.Targets[25].ScreenX, 1893);
    EXPECT_EQ(area.Targets[25].ScreenY, 19);
    EXPECT_EQ(area.Targets[25].RawV, 100);  // the defaults of a new entry stay
    EXPECT_EQ(area.Targets[25].Z, 255);
}

TEST(AreaTargets, WildPositionsStayInRange) {
    CalibrationConfig config = GridConfig();
    config.Targets[0].X = 1e30;
    config.Targets[0].Y = -1e30;
    config.Targets[1].X = 0.0 / 0.0 * 0;
    CalibrationArea area;
    area.Targets.assign(config.TargetCount, AreaTarget());
    PlaceAreaTargets(area, config);
    EXPECT_EQ(area.Targets[0].ScreenX, INT32_MAX);
    EXPECT_EQ(area.Targets[0].ScreenY, INT32_MIN);
    EXPECT_EQ(area.Targets[1].ScreenX, 0);
}

TEST(AreaChoice, MonitorNumbersOutOfRangeAreClamped) {
    CalibrationConfig config = GridConfig();
    CalibrationAreaList list;
    BuildAreaList(list, {{0, 0, 800, 600}, {800, 0, 1824, 768}}, BuiltInVideoModes(), config);
    EXPECT_EQ(SelectMonitorArea(list, 2), &list.Areas.back());
    EXPECT_EQ(list.CurrentMonitor, 2);
    EXPECT_EQ(SelectMonitorArea(list, 99), &list.Areas.back());
    EXPECT_EQ(SelectMonitorArea(list, 0), &list.Areas.front());
    EXPECT_EQ(SelectMonitorArea(list, INT32_MIN), &list.Areas.front());
    EXPECT_EQ(SelectMonitorArea(list, INT32_MAX), &list.Areas.back());
    EXPECT_EQ(AreaByNumber(list, -5), &list.Areas.front());
}

TEST(AreaChoice, DuplicateCopiesWordsAndTargets) {
    CalibrationConfig config = GridConfig();
    CalibrationAreaList list;
    BuildAreaList(list, {{0, 0, 800, 600}}, BuiltInVideoModes(), config);
    list.Current->Calibrated = 1;
    list.Current->Targets[3].RawV = 1234;
    list.CurrentMonitor = 1;
    CalibrationArea* copy = DuplicateCurrentArea(list);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(list.AreaCount, 2);
    EXPECT_EQ(list.Current, copy);
    EXPECT_EQ(copy, &list.Areas.back());
    EXPECT_EQ(copy->Calibrated, 1);
    EXPECT_EQ(copy->DuplicateWord1, 2);
    EXPECT_EQ(copy->DuplicateWord2, 2);
    EXPECT_EQ(copy->Targets[3].RawV, 1234);
    copy->Targets[3].RawV = 1;
    EXPECT_EQ(TargetsOf(list.Areas.front())[3].RawV, 1234);  // a copy, not shared
}

TEST(AreaList, ListTargetsGrowButAreNeverCut) {
    CalibrationAreaList list;
    SizeListTargets(list, 3);
    list.Targets[2].RawV = 42;
    SizeListTargets(list, 2);
    EXPECT_EQ(list.Targets.size(), 3u);
    SizeListTargets(list, 5);
    EXPECT_EQ(list.Targets.size(), 5u);
    EXPECT_EQ(list.Targets[2].RawV, 42);
    EXPECT_EQ(list.Targets[4].ScreenX, 100);
}
