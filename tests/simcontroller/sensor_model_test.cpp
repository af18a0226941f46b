// Tests of the simulated sensor: count ranges, monotony, bow size, axis options, noise and its
// seed.
#include "simcontroller/sensor_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const ScreenRect kScreen{0, 0, 1024, 768};

SensorParameters LinearSensor() {
    SensorParameters sensor;
    sensor.offsetX = sensor.offsetY = 0.0;
    sensor.gainX = sensor.gainY = 0.9;
    sensor.rotationDegrees = sensor.bowQuadratic = sensor.bowCubic = 0.0;
    return sensor;
}

}  // namespace

TEST(SensorModel, LinearSensorMapsTheScreenOntoTheMiddleNinetyPercent) {
    const SensorParameters sensor = LinearSensor();
    double cx = 0, cy = 0;
    SensorCounts12(kScreen, sensor, 512, 384, &cx, &cy);
    EXPECT_NEAR(cx, 2047.5, 1e-9);
    EXPECT_NEAR(cy, 2047.5, 1e-9);
    SensorCounts12(kScreen, sensor, 0, 0, &cx, &cy);
    EXPECT_NEAR(cx, 2047.5 - 0.45 * 4095, 1e-9);
    EXPECT_NEAR(cy, 2047.5 - 0.45 * 4095, 1e-9);
    SensorCounts12(kScreen, sensor, 1024, 768, &cx, &cy);
    EXPECT_NEAR(cx, 2047.5 + 0.45 * 4095, 1e-9);
    EXPECT_NEAR(cy, 2047.5 + 0.45 * 4095, 1e-9);
}

TEST(SensorModel, RawCountsShiftedByFourGiveTheRoundedTwelveBitPosition) {
    const SensorParameters sensor;  // the default, mildly non-linear sensor
    for (double x : {0.0, 100.0, 511.0, 900.0, 1023.0}) {
        for (double y : {0.0, 300.0, 767.0}) {
            double cx = 0, cy = 0;
            SensorCounts12(kScreen, sensor, x, y, &cx, &cy);
            const RawCounts raw = SensorRawTouch(kScreen, sensor, x, y, nullptr);
            EXPECT_EQ(raw.x >> 4, static_cast<int32_t>(std::floor(cx + 0.5)));
            EXPECT_EQ(raw.y >> 4, static_cast<int32_t>(std::floor(cy + 0.5)));
            EXPECT_GT(raw.x >> 4, 0);
            EXPECT_LT(raw.x >> 4, 4095);
            EXPECT_EQ(raw.z, 255);
        }
    }
}

TEST(SensorModel, DefaultSensorIsMonotonicAndBowsByAFewPercent) {
    const SensorParameters sensor;
    SensorParameters straight = sensor;
    straight.bowQuadratic = straight.bowCubic = 0.0;
    double previous = -1e9, largestBow = 0.0;
    for (double x = 0; x < 1024; x += 8) {
        double cx = 0, cy = 0, sx = 0, sy = 0;
        SensorCounts12(kScreen, sensor, x, 10, &cx, &cy);
        SensorCounts12(kScreen, straight, x, 10, &sx, &sy);
        EXPECT_GT(cx, previous) << "x " << x;
        previous = cx;
        largestBow = std::max(largestBow, std::hypot(cx - sx, cy - sy));
    }
    // A few per cent of the 4095-count span: more than 0.5 %, less than 5 %.
    EXPECT_GT(largestBow, 0.005 * 4095);
    EXPECT_LT(largestBow, 0.05 * 4095);
}

TEST(SensorModel, SwapAndInversionExchangeAndMirrorTheAxes) {
    SensorParameters sensor = LinearSensor();
    double ax = 0, ay = 0, bx = 0, by = 0;
    SensorCounts12(kScreen, sensor, 200, 600, &ax, &ay);
    sensor.swapAxes = true;
    SensorCounts12(kScreen, sensor, 200, 600, &bx, &by);
    EXPECT_NEAR(bx, ay, 1e-9);
    EXPECT_NEAR(by, ax, 1e-9);
    sensor.swapAxes = false;
    sensor.invertX = sensor.invertY = true;
    SensorCounts12(kScreen, sensor, 200, 600, &bx, &by);
    EXPECT_NEAR(bx, 4095 - ax, 1e-9);
    EXPECT_NEAR(by, 4095 - ay, 1e-9);
}

TEST(SensorModel, RotationTurnsAboutTheScreenCentre) {
    SensorParameters sensor = LinearSensor();
    sensor.rotationDegrees = 90.0;
    const ScreenRect square{100, 50, 800, 800};
    double cx = 0, cy = 0;
    SensorCounts12(square, sensor, 500, 450, &cx, &cy);  // the centre stays
    EXPECT_NEAR(cx, 2047.5, 1e-9);
    EXPECT_NEAR(cy, 2047.5, 1e-9);
    SensorCounts12(square, sensor, 900, 450, &cx, &cy);  // right edge turns to the bottom
    EXPECT_NEAR(cx, 2047.5, 1e-6);
    EXPECT_NEAR(cy, 2047.5 + 0.45 * 4095, 1e-6);
}

TEST(SensorModel, OffsetsAndGainsArePerAxis) {
    SensorParameters sensor = LinearSensor();
    sensor.offsetX = 30;
    sensor.offsetY = -20;
    sensor.gainY = 0.5;
    double cx = 0, cy = 0;
    SensorCounts12(kScreen, sensor, 1024, 768, &cx, &cy);
    EXPECT_NEAR(cx, 2047.5 + 0.45 * 4095 + 30, 1e-9);
    EXPECT_NEAR(cy, 2047.5 + 0.25 * 4095 - 20, 1e-9);
}

TEST(SensorModel, NoiseHasTheConfiguredSizeAndRepeatsWithItsSeed) {
    SensorParameters sensor = LinearSensor();
    sensor.noiseCounts = 4.0;
    SensorNoise first(7), second(7), other(8);
    double sum = 0, sumSquares = 0;
    bool differs = false;
    const int n = 4000;
    for (int i = 0; i < n; ++i) {
        const RawCounts a = SensorRawTouch(kScreen, sensor, 512, 384, &first);
        const RawCounts b = SensorRawTouch(kScreen, sensor, 512, 384, &second);
        const RawCounts c = SensorRawTouch(kScreen, sensor, 512, 384, &other);
        ASSERT_EQ(a.x, b.x);
        ASSERT_EQ(a.y, b.y);
        differs = differs || a.x != c.x;
        const double d = a.x / 16.0 - 2047.5 - 0.5;  // raw = floor(16 c + 8)
        sum += d;
        sumSquares += d * d;
    }
    EXPECT_TRUE(differs);
    const double mean = sum / n;
    EXPECT_NEAR(mean, 0.0, 0.3);
    EXPECT_NEAR(std::sqrt(sumSquares / n - mean * mean), 4.0, 0.3);
}

TEST(SensorModel, NoNoiseWithoutAGeneratorOrWithZeroSize) {
    SensorParameters sensor;
    SensorNoise noise(3);
    const RawCounts a = SensorRawTouch(kScreen, sensor, 300, 200, &noise);
    const RawCounts b = SensorRawTouch(kScreen, sensor, 300, 200, nullptr);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
}

TEST(SensorModel, CountsClampToSixteenBits) {
    SensorParameters sensor = LinearSensor();
    sensor.gainX = 3.0;
    const RawCounts raw = SensorRawTouch(kScreen, sensor, 1023, 0, nullptr);
    EXPECT_EQ(raw.x, 65535);
    const RawCounts low = SensorRawTouch(kScreen, sensor, 0, 0, nullptr);
    EXPECT_EQ(low.x, 0);
}

TEST(SensorModel, ABumpMovesTouchesRightNearItsPlaceOnly) {
    SensorParameters sensor = LinearSensor();
    sensor.bumpX = 0.25;
    sensor.bumpY = 0.5;
    sensor.bumpShift = 0.01;  // 10.24 pixels of 1024
    sensor.bumpRadius = 0.01;
    double bx = 0, by = 0, lx = 0, ly = 0;
    SensorCounts12(kScreen, sensor, 256, 384, &bx, &by);
    SensorCounts12(kScreen, LinearSensor(), 256 + 10.24, 384, &lx, &ly);
    EXPECT_NEAR(bx, lx, 1e-9);
    EXPECT_NEAR(by, ly, 1e-9);
    SensorCounts12(kScreen, sensor, 256 + 100, 384, &bx, &by);  // ten deviations away
    SensorCounts12(kScreen, LinearSensor(), 256 + 100, 384, &lx, &ly);
    EXPECT_NEAR(bx, lx, 1e-6);
}

TEST(SensorModel, EdgeCompressionTakesItsShareAtTheEdgesAndAlmostNothingInside) {
    SensorParameters sensor = LinearSensor();
    sensor.edgeCompression = 0.01;
    double cx = 0, cy = 0, lx = 0, ly = 0;
    SensorCounts12(kScreen, sensor, 1024, 0, &cx, &cy);
    EXPECT_NEAR(cx, 2047.5 + 0.9 * 4095 * (0.5 - 0.01), 1e-9);
    EXPECT_NEAR(cy, 2047.5 - 0.9 * 4095 * (0.5 - 0.01), 1e-9);
    SensorCounts12(kScreen, sensor, 512 + 256, 384, &cx, &cy);  // half way to the edge
    SensorCounts12(kScreen, LinearSensor(), 512 + 256, 384, &lx, &ly);
    EXPECT_NEAR(cx, lx - 0.9 * 4095 * 0.01 / 256, 1e-9);
    EXPECT_DOUBLE_EQ(cy, ly);
}
