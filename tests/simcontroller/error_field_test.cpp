// Tests of the calibration error check: figures of hand-made records, fitted records, the SVG.
#include "simcontroller/error_field.h"

#include <gtest/gtest.h>

#include <cstring>

#include "simcontroller/error_svg.h"
#include "tests/simcontroller/record_fitting.h"

namespace {

const ScreenRect kArea{0, 0, 1024, 768};

SensorParameters UnitSensor() {
    SensorParameters sensor;
    sensor.offsetX = sensor.offsetY = 0;
    sensor.gainX = sensor.gainY = 1.0;
    sensor.rotationDegrees = sensor.bowQuadratic = sensor.bowCubic = 0;
    return sensor;
}

}  // namespace

TEST(ErrorFigures, RmsPercentileAndMaximum) {
    std::vector<double> lengths;
    for (int i = 1; i <= 100; ++i) lengths.push_back(i);
    const ErrorFigures figures = SummariseErrors(lengths);
    EXPECT_EQ(figures.count, 100u);
    EXPECT_DOUBLE_EQ(figures.maximum, 100);
    EXPECT_DOUBLE_EQ(figures.percentile95, 95);
    EXPECT_NEAR(figures.rms, std::sqrt(338350.0 / 100), 1e-9);
    EXPECT_EQ(SummariseErrors({}).count, 0u);
}

TEST(ErrorField, IdentityRecordOnAUnitSensorIsWithinTheCountQuantisation) {
    const ErrorField field = EvaluateRecordError(IdentityRecord(kArea), kArea, UnitSensor(), {});
    ASSERT_TRUE(field.valid);
    EXPECT_EQ(field.stepPixels, 10);
    EXPECT_GT(field.whole.count, 7000u);
    EXPECT_LT(field.inside.count, field.whole.count);
    EXPECT_GT(field.inside.count, field.whole.count / 2);
    // One 12-bit count is 1024 / 4095 = 0.25 px; offset 2047 for 2047.5 and rounding add <= 1
    // count.
    EXPECT_LT(field.whole.maximum, 0.36);
}

TEST(ErrorField, AShiftedRecordShowsItsShift) {
    CalibrationDataRecord record = IdentityRecord(kArea);
    int32_t coefficients[kRecordCoefficientCount] = {};
    coefficients[0] = static_cast<int32_t>(0.01 * 16384);  // 0.01 of the width, about 10 px
    coefficients[1] = 16384;
    std::memcpy(reinterpret_cast<uint8_t*>(&record) + offsetof(CalibrationDataRecord, CoeffX),
                coefficients, sizeof coefficients);
    const ErrorField field = EvaluateRecordError(record, kArea, UnitSensor(), {});
    const double shift = static_cast<int32_t>(0.01 * 16384) / 16384.0 * 1024;
    EXPECT_NEAR(field.whole.rms, shift, 0.3);
    EXPECT_NEAR(field.inside.maximum, shift, 0.4);
    for (const ErrorSample& s : field.samples) ASSERT_NEAR(s.dx, shift, 0.4);
}

TEST(ErrorField, AFittedRecordHasSmallErrorAndHigherOrdersDoBetter) {
    const SensorParameters sensor;  // the default, mildly non-linear sensor
    const ErrorField linear =
        EvaluateRecordError(FitRecordToSensor(kArea, sensor, 1, 5), kArea, sensor, {});
    const ErrorField cubic =
        EvaluateRecordError(FitRecordToSensor(kArea, sensor, 3, 5), kArea, sensor, {});
    std::printf("order 1: inside RMS %.3f max %.3f, whole RMS %.3f max %.3f\n", linear.inside.rms,
                linear.inside.maximum, linear.whole.rms, linear.whole.maximum);
    std::printf("order 3: inside RMS %.3f max %.3f, whole RMS %.3f max %.3f\n", cubic.inside.rms,
                cubic.inside.maximum, cubic.whole.rms, cubic.whole.maximum);
    EXPECT_GT(linear.inside.rms, 2.0);  // the bow is a few per cent: a plane cannot follow it
    EXPECT_LT(cubic.inside.rms, 1.0);
    EXPECT_LT(cubic.inside.rms, linear.inside.rms / 3);
    EXPECT_LE(cubic.inside.maximum, cubic.whole.maximum);
}

TEST(ErrorField, TheHullAndStepFollowTheOptions) {
    ErrorOptions options;
    options.stepPixels = 32;
    options.hull = HullFractions{0.25, 0.25, 0.75, 0.75};
    const ScreenRect area{100, 200, 640, 480};
    const ErrorField field = EvaluateRecordError(IdentityRecord(area), area, UnitSensor(), options);
    EXPECT_EQ(field.samples.size(), 20u * 15u);
    EXPECT_DOUBLE_EQ(field.hullLeft, 260);
    EXPECT_DOUBLE_EQ(field.hullBottom, 560);
    EXPECT_EQ(field.inside.count, 10u * 7u);  // centres 276..564 across, 344..536 down
    EXPECT_DOUBLE_EQ(field.samples.front().x, 116);
    EXPECT_DOUBLE_EQ(field.samples.front().y, 216);
}

TEST(ErrorField, ARecordWithoutMappingIsNotValid) {
    const CalibrationDataRecord zero{};
    EXPECT_FALSE(EvaluateRecordError(zero, kArea, SensorParameters{}, {}).valid);
}

TEST(ErrorSvg, DrawsCellsArrowsOutlineAndFigures) {
    const SensorParameters sensor;
    ErrorOptions options;
    options.stepPixels = 64;
    const ErrorField field =
        EvaluateRecordError(FitRecordToSensor(kArea, sensor, 2, 5), kArea, sensor, options);
    const std::string svg = RenderErrorSvg(field, "fit <order 2>");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    size_t cells = 0, arrows = 0;
    for (size_t at = 0; (at = svg.find("<rect x=", at)) != std::string::npos; ++at) ++cells;
    for (size_t at = 0; (at = svg.find("<line ", at)) != std::string::npos; ++at) ++arrows;
    EXPECT_EQ(cells, field.samples.size() + 4);  // background, outline, hull and inner area
    EXPECT_EQ(arrows, 4u * 3u);                  // every fourth of 16 x 12 cells
    EXPECT_NE(svg.find("fit &lt;order 2&gt;"), std::string::npos);
    EXPECT_NE(svg.find("inside hull: RMS"), std::string::npos);
}

TEST(AccuracyZones, SortsPointsByTheirDistanceFromTheEdgesInMillimetres) {
    // 1000 x 500 px on a 100 x 100 mm panel: 0.1 mm a pixel across, 0.2 mm down, so the edge band
    // is 35 px wide at the sides and 17.5 px at the top and bottom.
    const ScreenRect area{200, 100, 1000, 500};
    const PanelSize panel{100.0, 100.0};
    std::vector<ErrorSample> samples = {
        {200 + 34, 350, 15, 0},   // 3.4 mm from the left: edge, 1.5 mm
        {200 + 36, 350, 0, 4},    // 3.6 mm from the left: inner, 0.8 mm
        {700, 100 + 16, 0, 5},    // 3.2 mm from the top: edge, 1.0 mm
        {700, 100 + 18, 6, 0},    // 3.6 mm from the top: inner, 0.6 mm
        {700, 600 - 1, 3, 4},     // 0.2 mm from the bottom: edge, hypot(0.3, 0.8) mm
        {1200 - 40, 350, 0, 0}};  // 4 mm from the right: inner, 0
    AccuracyZones zones = SummariseZones(samples, area, panel);
    EXPECT_EQ(zones.inner.millimetres.count, 3u);
    EXPECT_EQ(zones.edge.millimetres.count, 3u);
    EXPECT_DOUBLE_EQ(zones.inner.millimetres.maximum, 0.8);
    EXPECT_DOUBLE_EQ(zones.inner.pixels.maximum, 6.0);  // the longest in pixels is another point
    EXPECT_NEAR(zones.inner.millimetres.rms, std::sqrt((0.64 + 0.36) / 3), 1e-12);
    EXPECT_DOUBLE_EQ(zones.edge.millimetres.maximum, 1.5);
    EXPECT_EQ(zones.whole.millimetres.count, 6u);
    EXPECT_TRUE(zones.innerWithin);
    EXPECT_TRUE(zones.edgeWithin);
    samples[1].dy = 6;   // 1.2 mm inside: beyond 1 mm
    samples[0].dx = 21;  // 2.1 mm at the edge: beyond 2 mm
    zones = SummariseZones(samples, area, panel);
    EXPECT_FALSE(zones.innerWithin);
    EXPECT_FALSE(zones.edgeWithin);
}

TEST(AccuracyZones, AShiftedRecordIsItsShiftInMillimetresOffEverywhere) {
    CalibrationDataRecord record = IdentityRecord(kArea);
    int32_t coefficients[kRecordCoefficientCount] = {};
    coefficients[0] = static_cast<int32_t>(0.009 * 16384);  // about 9 px to the right
    coefficients[1] = 16384;
    std::memcpy(reinterpret_cast<uint8_t*>(&record) + offsetof(CalibrationDataRecord, CoeffX),
                coefficients, sizeof coefficients);
    ErrorOptions options;
    options.panel = PanelSize{204.8, 153.6};  // 0.2 mm a pixel
    const ErrorField field = EvaluateRecordError(record, kArea, UnitSensor(), options);
    const double shiftMm = static_cast<int32_t>(0.009 * 16384) / 16384.0 * 1024 * 0.2;
    EXPECT_NEAR(field.zones.inner.millimetres.rms, shiftMm, 0.07);
    EXPECT_NEAR(field.zones.edge.millimetres.maximum, shiftMm, 0.08);
    EXPECT_GT(field.zones.edge.millimetres.count, 0u);
    EXPECT_EQ(field.zones.inner.millimetres.count + field.zones.edge.millimetres.count,
              field.samples.size());
    EXPECT_FALSE(field.zones.innerWithin);  // 1.8 mm off is beyond 1 mm inside
    EXPECT_TRUE(field.zones.edgeWithin);    // and within 2 mm at the edge
}
