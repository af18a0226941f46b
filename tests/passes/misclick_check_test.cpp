// The misclick check on its edges: collinear first touches, the map once the touches span the
// sensor, swapped and rotated sensors, three consistent refusals, mini-target tolerance, the
// grid step.
#include "app/misclick_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using SensorOf = std::function<RawPoint(ScreenPoint)>;

// A 1920 x 1080 screen on the 12-bit range, 90 % of it, as the stand-in's default sheet.
RawPoint Plain(ScreenPoint p) {
    return RawPoint{2047.5 + 0.9 * 4095 * (p.X / 1920 - 0.5),
                    2047.5 + 0.88 * 4095 * (p.Y / 1080 - 0.5)};
}

// Swapped axes, X inverted, rotated 4 degrees and bowed by a few per cent.
RawPoint Twisted(ScreenPoint p) {
    const double a = 4.0 * 3.14159265358979 / 180.0;
    const double u = p.X / 1920 - 0.5, v = p.Y / 1080 - 0.5;
    const double ru = u * std::cos(a) - v * std::sin(a), rv = u * std::sin(a) + v * std::cos(a);
    const double bu = ru + 0.05 * ru * ru * ru, bv = rv + 0.03 * rv * ru;
    return RawPoint{2047.5 - 0.88 * 4095 * bv, 2047.5 + 0.9 * 4095 * bu};
}

// Grid target n (1-based) of the default 5 x 5 grid on 1920 x 1080.
ScreenPoint Target(int n) {
    return ScreenPoint{1920 * ((n - 1) % 5 + 0.5) / 5, 1080 * ((n - 1) / 5 + 0.5) / 5};
}

// A check with the default tolerance (0.4 of the 216-pixel row step) and nominal counts.
MisclickCheck Started() {
    MisclickCheck check;
    check.Start(MisclickSettings{0.4 * 216, 4095.0 / 1920});
    return check;
}

// Stores targets 1..count touched exactly through the sensor.
void StoreFirst(MisclickCheck& check, int count, const SensorOf& sensor) {
    for (int n = 1; n <= count; ++n) {
        ASSERT_EQ(check.Judge(n, Target(n), sensor(Target(n)), 1.0), MisclickVerdict::Store) << n;
        check.Stored(Target(n), sensor(Target(n)));
    }
}

}  // namespace

TEST(MisclickCheck, BeforeTheTouchesSpanTheSensorOnlyASecondTouchOfTheLastSpotIsRefused) {
    MisclickCheck check = Started();
    StoreFirst(check, 5, Plain);  // the first row: collinear, so no map yet
    AffineTouchMap map;
    std::vector<RawPoint> raw;
    std::vector<ScreenPoint> screen;
    for (int n = 1; n <= 5; ++n) raw.push_back(Plain(Target(n))), screen.push_back(Target(n));
    EXPECT_FALSE(map.Fit(raw, screen));
    // A touch far from target 6, even on the other side of the screen, is taken...
    EXPECT_EQ(check.Judge(6, Target(6), Plain({1800, 1000}), 1.0), MisclickVerdict::Store);
    // ...but one 80 pixels from the previous touch (target 5's) is a double touch.
    EXPECT_EQ(check.Judge(6, Target(6), Plain({Target(5).X - 80, Target(5).Y}), 1.0),
              MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(6, Target(6), Plain({Target(5).X - 110, Target(5).Y}), 1.0),
              MisclickVerdict::Store);
}

TEST(MisclickCheck, OnceTheTouchesSpanTheSensorATouchFarFromItsTargetIsRefused) {
    for (const SensorOf& sensor : {SensorOf(Plain), SensorOf(Twisted)}) {
        MisclickCheck check = Started();
        StoreFirst(check, 6, sensor);  // a row and one more: a map exists
        const ScreenPoint seven = Target(7);
        EXPECT_EQ(check.Judge(7, seven, sensor({seven.X + 60, seven.Y - 50}), 1.0),
                  MisclickVerdict::Store);
        EXPECT_EQ(check.Judge(7, seven, sensor(Target(3)), 1.0), MisclickVerdict::Refuse);
        EXPECT_EQ(check.Judge(7, seven, sensor({seven.X, seven.Y + 100}), 1.0),
                  MisclickVerdict::Refuse);
        // A whole pass of exact touches through the sensor is never refused.
        StoreFirst(check, 25, sensor);
    }
}

TEST(MisclickCheck, ThreeRefusalsInARowAtOneSpotMakeTheThirdAReadTouch) {
    MisclickCheck check = Started();
    StoreFirst(check, 10, Plain);
    const ScreenPoint eleven = Target(11);
    const ScreenPoint off{eleven.X + 300, eleven.Y};
    EXPECT_EQ(check.Judge(11, eleven, Plain(off), 1.0), MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(11, eleven, Plain({off.X + 20, off.Y}), 1.0), MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(11, eleven, Plain({off.X, off.Y + 20}), 1.0),
              MisclickVerdict::StoreConsistent);
    check.Stored(eleven, Plain({off.X, off.Y + 20}));
    // Refusals that disagree, or that belong to another target, do not add up.
    const ScreenPoint twelve = Target(12);
    EXPECT_EQ(check.Judge(12, twelve, Plain(Target(1)), 1.0), MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(12, twelve, Plain(Target(25)), 1.0), MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(12, twelve, Plain(Target(25)), 1.0), MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(12, twelve, Plain(Target(25)), 1.0), MisclickVerdict::StoreConsistent);
    EXPECT_EQ(check.Judge(13, Target(13), Plain(Target(1)), 1.0), MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(14, Target(14), Plain(Target(1)), 1.0), MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(14, Target(14), Plain(Target(1)), 1.0), MisclickVerdict::Refuse);
}

TEST(MisclickCheck, ADeadSensorIsRefusedTwiceThenStoredAtEveryTarget) {
    MisclickCheck check = Started();
    const RawPoint dead{1700, 2100};
    EXPECT_EQ(check.Judge(1, Target(1), dead, 1.0), MisclickVerdict::Store);
    check.Stored(Target(1), dead);
    for (int n = 2; n <= 25; ++n) {
        EXPECT_EQ(check.Judge(n, Target(n), dead, 1.0), MisclickVerdict::Refuse);
        EXPECT_EQ(check.Judge(n, Target(n), dead, 1.0), MisclickVerdict::Refuse);
        ASSERT_EQ(check.Judge(n, Target(n), dead, 1.0), MisclickVerdict::StoreConsistent) << n;
        check.Stored(Target(n), dead);
    }
}

TEST(MisclickCheck, MiniTargetsScaleTheToleranceAndZeroTurnsTheCheckOff) {
    MisclickCheck check = Started();
    StoreFirst(check, 25, Plain);
    const ScreenPoint corner{11, 11};
    EXPECT_EQ(check.Judge(26, corner, Plain({corner.X + 150, corner.Y}), 2.0),
              MisclickVerdict::Store);
    EXPECT_EQ(check.Judge(26, corner, Plain({corner.X + 150, corner.Y}), 1.0),
              MisclickVerdict::Refuse);
    EXPECT_EQ(check.Judge(26, corner, Plain({corner.X + 180, corner.Y}), 2.0),
              MisclickVerdict::Refuse);
    MisclickCheck off;
    off.Start(MisclickSettings{0.0, 4095.0 / 1920});
    off.Stored(Target(1), Plain(Target(1)));
    EXPECT_EQ(off.Judge(2, Target(2), Plain(Target(1)), 1.0), MisclickVerdict::Store);
}

TEST(DesignedStep, TheMedianNearestNeighbourSoOneTargetOutOfLineDoesNotSetIt) {
    std::vector<ScreenPoint> grid;
    for (int n = 1; n <= 25; ++n) grid.push_back(Target(n));
    EXPECT_DOUBLE_EQ(DesignedStep(grid), 216.0);
    grid[7].X += 1.0;  // a custom TargetGridX07 one pixel out of line
    EXPECT_DOUBLE_EQ(DesignedStep(grid), 216.0);
    EXPECT_NEAR(DesignedStep({{100, 50}, {400, 50}, {100.3, 50}}), 299.7, 1e-9);  // one row
    EXPECT_DOUBLE_EQ(DesignedStep({{100, 75}, {100, 75}}), 0.0);
}

TEST(MisclickSettingsFor, AShareOfTheStepInMillimetresAtLeastTheFloorAtMostHalfTheStep) {
    const GlassScale glass = GlassScaleFor(344.2, 193.6, 1920, 1080);  // 0.179 mm a pixel
    std::vector<ScreenPoint> grid, dense, minis;
    for (int n = 1; n <= 25; ++n) grid.push_back(Target(n));
    for (int n = 0; n < 400; ++n)  // 20 x 20: a step of 54 pixels, 9.7 mm
        dense.push_back({1920 * (n % 20 + 0.5) / 20, 1080 * (n / 20 + 0.5) / 20});
    for (int k = 0; k < 6; ++k) minis.push_back({1893.0 - 53 * k, 1070});  // 53 px apart
    const MisclickSettings wide = MisclickSettingsFor(0.4, grid, minis, glass, 2.0);
    EXPECT_DOUBLE_EQ(wide.TolerancePixels, 0.4 * 216);
    EXPECT_NEAR(wide.MiniScale * wide.TolerancePixels, 26.5, 1e-9);  // half the minis' spacing
    const MisclickSettings tight = MisclickSettingsFor(0.4, dense, {}, glass, 2.0);
    EXPECT_NEAR(tight.TolerancePixels, 27.0, 1e-9);  // the 6 mm floor, held to half the step
    EXPECT_NEAR(MisclickSettingsFor(0.1, grid, {}, glass, 2.0).TolerancePixels,
                6.0 / glass.MmPerPixelX, 1e-9);  // the floor
    EXPECT_EQ(MisclickSettingsFor(0.0, grid, minis, glass, 2.0).TolerancePixels, 0.0);
}

TEST(MisclickCheck, ABendingPredictorNeverRefusesHonestTouchesOfABowedSensorOn20x20) {
    // Strongly bowed, with a scatter of 4 pixels: the affine predictor refused these.
    const auto bowed = [](ScreenPoint p) {
        const double u = p.X / 1920 - 0.5, v = p.Y / 1080 - 0.5;
        return RawPoint{2047.5 + 0.9 * 4095 * (u + 0.2 * u * u * u + 0.06 * (u * u - v * v)),
                        2047.5 + 0.88 * 4095 * (v + 0.2 * v * v * v + 0.12 * u * v)};
    };
    MisclickCheck check;
    const GlassScale glass = GlassScaleFor(344.2, 193.6, 1920, 1080);
    std::vector<ScreenPoint> dense;
    for (int n = 0; n < 400; ++n)
        dense.push_back({1920 * (n % 20 + 0.5) / 20, 1080 * (n / 20 + 0.5) / 20});
    check.Start(MisclickSettingsFor(0.4, dense, {}, glass, 2.0));
    uint32_t seed = 11;
    int refused = 0;
    for (int n = 0; n < 400; ++n) {
        seed = seed * 1103515245u + 12345u;
        const double dx = int(seed >> 16) % 9 - 4;
        seed = seed * 1103515245u + 12345u;
        const double dy = int(seed >> 16) % 9 - 4;
        const RawPoint touch = bowed({dense[size_t(n)].X + dx, dense[size_t(n)].Y + dy});
        MisclickVerdict verdict = check.Judge(n + 1, dense[size_t(n)], touch, 1.0);
        while (verdict == MisclickVerdict::Refuse) {
            ++refused;
            verdict = check.Judge(n + 1, dense[size_t(n)], touch, 1.0);
        }
        check.Stored(dense[size_t(n)], touch);
    }
    EXPECT_EQ(refused, 0);
    // A second touch of the previous target is still refused.
    EXPECT_EQ(check.Judge(401, dense[5], bowed(dense[4]), 1.0), MisclickVerdict::Refuse);
}

TEST(BendingTouchMap, OneBadStoredTouchDoesNotBendThePredictionOfTheOthers) {
    // The corner target touched 10 mm off: the map of the first rows predicts the rest where
    // the sensor puts them, as if that touch had not been stored.
    for (const SensorOf& sensor : {SensorOf(Plain), SensorOf(Twisted)}) {
        for (int stored : {8, 12, 16}) {
            std::vector<RawPoint> raw;
            std::vector<ScreenPoint> screen;
            for (int n = 1; n <= stored; ++n) {
                const ScreenPoint at = Target(n);
                raw.push_back(n == 1 ? sensor({at.X + 40, at.Y + 40}) : sensor(at));
                screen.push_back(at);
            }
            BendingTouchMap map, clean;
            ASSERT_TRUE(map.Fit(raw, screen));
            ASSERT_TRUE(
                clean.Fit({raw.begin() + 1, raw.end()}, {screen.begin() + 1, screen.end()}));
            for (int n = 2; n <= 25; ++n) {
                const ScreenPoint got = map.Map(sensor(Target(n)));
                const ScreenPoint want = clean.Map(sensor(Target(n)));
                EXPECT_LT(std::hypot(got.X - want.X, got.Y - want.Y), 1.0)
                    << stored << " stored, target " << n;
            }
        }
    }
}
