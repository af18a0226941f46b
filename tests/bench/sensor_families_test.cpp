// The sensor families of the family bench distort the glass by the published amounts, their
// controllers report as drawn, and a pass through them is touched, fitted and judged end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <vector>

#include "bench/accuracy/bench_scratch.h"
#include "bench/accuracy/family_pass.h"
#include "bench/accuracy/settings_file.h"

namespace {

const PanelSize kPanel{344.2, 193.6};
const ScreenRect kScreen{0, 0, 1920, 1080};
constexpr uint32_t kDraws = 200;
constexpr double kPi = 3.14159265358979323846;

// The point at (u, t), each from -0.5 to 0.5 across and down the panel.
GlassPoint At(double u, double t) {
    return {(u + 0.5) * kPanel.widthMm, (t + 0.5) * kPanel.heightMm};
}

GlassPoint Moved(const DrawnSensor& s, GlassPoint at) {
    const GlassPoint e = Displacement(s.Shape, at, kPanel);
    return {at.X + e.X, at.Y + e.Y};
}

GlassPoint Shift(const DrawnSensor& s, double u, double t) {
    return Displacement(s.Shape, At(u, t), kPanel);
}

double Distance(GlassPoint a, GlassPoint b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

constexpr double kCorners[4][2] = {{-0.5, -0.5}, {0.5, -0.5}, {-0.5, 0.5}, {0.5, 0.5}};

TEST(SensorFamilies, TiltedSeesThePanelInPerspective) {
    const GlassPoint centre = At(0, 0);
    for (uint32_t seed = 0; seed < kDraws; ++seed) {
        const DrawnSensor s = DrawSensor(SensorFamily::Tilted, seed, kPanel);
        // The scale changes by 1-3 % over a half-width along the tilt: at the edge midpoints by
        // at least 1 % times the larger of |cos| and |sin| of its direction.
        double largest = 0.0;
        for (GlassPoint mid : {At(0.5, 0), At(-0.5, 0), At(0, 0.5), At(0, -0.5)})
            largest = std::max(
                largest, std::fabs(Distance(Moved(s, mid), centre) / Distance(mid, centre) - 1));
        EXPECT_GE(largest, 0.01 / std::sqrt(2.0) * 0.99) << seed;
        EXPECT_LE(largest, 0.03 / 0.97 * 1.001) << seed;
        // A straight line stays straight.
        const GlassPoint a = Moved(s, At(-0.5, -0.3)), b = Moved(s, At(0.5, 0.4));
        const GlassPoint m = Moved(s, At(-0.5 + 0.37, -0.3 + 0.37 * 0.7));
        const double cross = (b.X - a.X) * (m.Y - a.Y) - (b.Y - a.Y) * (m.X - a.X);
        EXPECT_NEAR(cross / Distance(a, b), 0.0, 1e-9) << seed;
    }
}

TEST(SensorFamilies, BowMovesTheCornersAllOutOrAllInAndLeavesTheAxesAlone) {
    for (uint32_t seed = 0; seed < kDraws; ++seed) {
        const DrawnSensor s = DrawSensor(SensorFamily::Bow, seed, kPanel);
        int outward = 0, inward = 0;
        for (const auto& c : kCorners) {
            const GlassPoint e = Shift(s, c[0], c[1]);
            // b W / 2 at a corner, b from 0.3 to 1.5 %.
            EXPECT_GE(std::fabs(e.X), 0.003 * kPanel.widthMm / 2 - 1e-9);
            EXPECT_LE(std::fabs(e.X), 0.015 * kPanel.widthMm / 2 + 1e-9);
            EXPECT_GE(std::fabs(e.Y), 0.003 * kPanel.heightMm / 2 - 1e-9);
            EXPECT_LE(std::fabs(e.Y), 0.015 * kPanel.heightMm / 2 + 1e-9);
            outward += e.X * c[0] > 0 && e.Y * c[1] > 0 ? 1 : 0;
            inward += e.X * c[0] < 0 && e.Y * c[1] < 0 ? 1 : 0;
        }
        EXPECT_TRUE(outward == 4 || inward == 4) << seed;  // pincushion or barrel
        for (GlassPoint mid : {At(0.5, 0), At(0, -0.5), At(0, 0)})
            EXPECT_LT(Distance(Moved(s, mid), mid), 1e-9);
    }
}

TEST(SensorFamilies, CornerNonlinearityGrowsIntoTheCorners) {
    for (uint32_t seed = 0; seed < kDraws; ++seed) {
        const DrawnSensor s = DrawSensor(SensorFamily::Corner, seed, kPanel);
        for (const auto& c : kCorners) {
            const GlassPoint e = Shift(s, c[0], c[1]);
            EXPECT_GE(std::fabs(e.X), 0.002 * kPanel.widthMm / 2 - 1e-9);
            EXPECT_LE(std::fabs(e.X), 0.01 * kPanel.widthMm / 2 + 1e-9);
            const GlassPoint halfWay = Shift(s, c[0] / 2, c[1] / 2);
            EXPECT_LT(std::hypot(halfWay.X, halfWay.Y), std::hypot(e.X, e.Y) / 10);
        }
    }
}

TEST(SensorFamilies, NonuniformSheetIsSmoothAndPeaksBetweenHalfAndTwoMillimetres) {
    for (uint32_t seed = 0; seed < kDraws; seed += 8) {
        const DrawnSensor s = DrawSensor(SensorFamily::Nonuniform, seed, kPanel);
        double peak = 0.0, steepest = 0.0;
        for (double y = 0; y <= kPanel.heightMm; y += 1.0)
            for (double x = 0; x <= kPanel.widthMm; x += 1.0) {
                const GlassPoint e = Displacement(s.Shape, {x, y}, kPanel);
                const GlassPoint next = Displacement(s.Shape, {x + 1.0, y + 1.0}, kPanel);
                peak = std::max(peak, std::hypot(e.X, e.Y));
                steepest = std::max(steepest, std::hypot(next.X - e.X, next.Y - e.Y));
            }
        EXPECT_GE(peak, 0.5 * 0.99) << seed;
        EXPECT_LE(peak, 2.0 * 1.02) << seed;
        EXPECT_LT(steepest, 0.15) << seed;  // millimetres a millimetre and a half apart
    }
}

TEST(SensorFamilies, SwappedCablingNeverDeliversTheStraightAxes) {
    int swapped = 0;
    for (uint32_t seed = 0; seed < kDraws; ++seed) {
        const DrawnSensor s = DrawSensor(SensorFamily::Swapped, seed, kPanel);
        const RawCounts centre = ControllerReport(s, At(0, 0), kPanel);
        const RawCounts right = ControllerReport(s, At(0.1, 0), kPanel);
        const RawCounts down = ControllerReport(s, At(0, 0.1), kPanel);
        const bool rightRaisesX = right.x - centre.x > std::abs(right.y - centre.y);
        const bool downRaisesY = down.y - centre.y > std::abs(down.x - centre.x);
        EXPECT_FALSE(rightRaisesX && downRaisesY) << seed;
        swapped += std::abs(right.y - centre.y) > std::abs(right.x - centre.x) ? 1 : 0;
        EXPECT_GT(std::fabs(Shift(s, 0.5, 0.5).X), 0.5) << seed;  // the bow comes along
    }
    EXPECT_GT(swapped, int(kDraws) / 4);
    EXPECT_LT(swapped, int(kDraws) * 3 / 4);
}

TEST(SensorFamilies, EdgePullDrawsTheEdgesInwardsAndWobblesInTheMiddle) {
    for (uint32_t seed = 0; seed < kDraws; ++seed) {
        const DrawnSensor s = DrawSensor(SensorFamily::EdgePull, seed, kPanel);
        const GlassPoint left = Shift(s, -0.5, 0), bottom = Shift(s, 0, 0.5);
        EXPECT_GE(left.X, 0.5) << seed;  // 1-3 mm inwards, give or take the wobble
        EXPECT_LE(left.X, 3.5) << seed;
        EXPECT_LE(bottom.Y, -0.5) << seed;
        EXPECT_GE(bottom.Y, -3.5) << seed;
        const GlassPoint tenIn = Displacement(s.Shape, {10.0, kPanel.heightMm / 2}, kPanel);
        EXPECT_LE(std::fabs(tenIn.X), 3.0 * std::exp(-10.0 / 4.0) + 0.5) << seed;
        const GlassPoint middle = Shift(s, 0.1, -0.2);
        EXPECT_LE(std::fabs(middle.X), 0.5) << seed;
        EXPECT_LE(std::fabs(middle.Y), 0.5) << seed;
    }
}

TEST(SensorFamilies, SawtoothFallsBackAtEveryLed) {
    for (uint32_t seed = 0; seed < kDraws; seed += 4) {
        const DrawnSensor s = DrawSensor(SensorFamily::Sawtooth, seed, kPanel);
        double peak = 0.0, sum = 0.0, previous = 0.0, lastFall = -1.0;
        std::vector<double> pitches;
        const int steps = 4000;  // 40 mm in 0.01 mm steps
        for (int i = 0; i <= steps; ++i) {
            const double x = 100.0 + i * 0.01;
            const double e = Displacement(s.Shape, {x, 50.0}, kPanel).X;
            peak = std::max(peak, std::fabs(e));
            sum += e;
            if (i > 0 && previous - e > 0.5) {
                if (lastFall >= 0) pitches.push_back(x - lastFall);
                lastFall = x;
            }
            previous = e;
        }
        EXPECT_GE(peak, 0.3 * 0.99) << seed;
        EXPECT_LE(peak, 1.0) << seed;
        EXPECT_NEAR(sum / (steps + 1), 0.0, 0.15) << seed;
        ASSERT_GE(pitches.size(), 5u) << seed;
        for (double pitch : pitches) EXPECT_NEAR(pitch, 5.0, 0.51) << seed;
    }
}

TEST(SensorFamilies, MountingTurnsScalesAndShiftsWithinItsRanges) {
    for (uint32_t seed = 0; seed < kDraws; ++seed) {
        const DrawnSensor s = DrawSensor(SensorFamily::Mounting, seed, kPanel);
        const GlassPoint centre = ReportedPosition(s, At(0, 0), kPanel);
        const GlassPoint right = ReportedPosition(s, {At(0, 0).X + 100.0, At(0, 0).Y}, kPanel);
        EXPECT_LE(std::fabs(centre.X - At(0, 0).X), 5.0);
        EXPECT_LE(std::fabs(centre.Y - At(0, 0).Y), 5.0);
        EXPECT_NEAR(Distance(right, centre), 100.0, 3.0);
        EXPECT_LE(std::fabs(std::atan2(right.Y - centre.Y, right.X - centre.X)), 3.0 * kPi / 180);
    }
}

TEST(SensorFamilies, ControllersCoverTheirShareAndQuantiseToTheirBits) {
    std::set<int32_t> bits;
    for (uint32_t seed = 0; seed < kDraws; ++seed) {
        const DrawnSensor s = DrawSensor(SensorFamily::Bow, seed, kPanel);
        bits.insert(s.Counts.Bits);
        int32_t low = 1 << 30, high = -1;
        bool onSteps = true;
        for (double u = -0.5; u <= 0.5; u += 1.0 / 64)
            for (double t : {-0.5, 0.0, 0.5}) {
                const int32_t stored = ControllerReport(s, At(u, t), kPanel).x >> 4;
                low = std::min(low, stored), high = std::max(high, stored);
                onSteps = onSteps && stored % (1 << std::max(0, 12 - s.Counts.Bits)) == 0;
            }
        EXPECT_TRUE(onSteps) << seed;
        EXPECT_GE(low, 0);
        EXPECT_LE(high, kStoredControllerMax);
        EXPECT_NEAR(double(high - low) / kStoredControllerMax, s.Counts.Coverage, 0.01) << seed;
        EXPECT_GE(s.Counts.Coverage, 0.15);
        EXPECT_LE(s.Counts.Coverage, 0.95);
    }
    EXPECT_EQ(bits, (std::set<int32_t>{10, 12, 16}));
}

TEST(SensorFamilies, TheSameSeedDrawsTheSameSensor) {
    for (SensorFamily family : kSensorFamilies) {
        const DrawnSensor a = DrawSensor(family, 7, kPanel), b = DrawSensor(family, 7, kPanel);
        const DrawnSensor other = DrawSensor(family, 8, kPanel);
        const GlassPoint at = At(0.31, -0.27);
        EXPECT_EQ(ControllerReport(a, at, kPanel).x, ControllerReport(b, at, kPanel).x);
        EXPECT_NE(ReportedPosition(a, at, kPanel).X, ReportedPosition(other, at, kPanel).X);
    }
}

// The shipped layout on the panel with keys set over it, as the bench reads it.
std::unique_ptr<PassLayout> ShippedLayout(const std::vector<KeySetting>& settings) {
    const auto file = PrepareBenchScratch("tarnix-sensor-families-test") / "layout.cfg";
    EXPECT_TRUE(WriteSettingsFile(TARNIX_SHIPPED_CFG, settings, file));
    return ReadPassLayout(file);
}

TEST(FamilyPass, SettingsOverTheShippedFileReachTheProgramsReader) {
    const auto layout = ShippedLayout(
        {{"ScreenWidth", "344.2"}, {"fitterms", "0"}, {"FitModelCode", "14"}, {"FitTerms", "1"}});
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->Parameters.ScreenWidth, 344.2);
    EXPECT_EQ(layout->Config->FitTerms, 1);  // the last setting of a key wins
    EXPECT_EQ(layout->Config->PolynomialOrder, 4u);
    EXPECT_EQ(layout->Config->NumGridPoints, 36u);  // the rest of the file as shipped
}

TEST(FamilyPass, AMountedSensorIsFittedWellAndAMissedTargetIsNamed) {
    const auto layout = ShippedLayout({{"ScreenWidth", "344.2"}, {"ScreenHeight", "193.6"}});
    ASSERT_NE(layout, nullptr);
    DrawnSensor sensor;
    sensor.Mount = Mounting{0.02, -0.01, 2.0, 3.0, -4.0};
    sensor.Counts = Controller{16, 0.8};
    FrameScreen(sensor, kPanel);
    const std::vector<FitCandidate> candidates = HindsightCandidates();
    PassTouching touching{
        sensor, SimulatedPerson{0.5, kPanel.widthMm, kPanel.heightMm, 3}, {}, kScreen, kPanel};
    const FamilyPassOutcome honest =
        RunFamilyPass(FamilyPassInput{layout.get(), touching, &candidates});
    ASSERT_FALSE(honest.Refused);
    EXPECT_LT(honest.Zones.whole.millimetres.rms, 0.5);
    EXPECT_LT(honest.Zones.whole.millimetres.maximum, 1.5);
    EXPECT_GT(honest.ExpectedRmsMm, 0.0);
    ASSERT_EQ(honest.Candidates.size(), candidates.size());
    EXPECT_LT(honest.Candidates.front().WholeRmsMm, 0.5);  // the affine fit suits a mounting

    touching.Bad = {BadTouch{0, 7.0, 7.0}};  // the top-left target missed by 10 mm
    const FamilyPassOutcome missed =
        RunFamilyPass(FamilyPassInput{layout.get(), touching, &candidates});
    EXPECT_TRUE(missed.Refused || missed.BadNamed);
}

}  // namespace
