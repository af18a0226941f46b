// Tests of applying a calibration record to raw touches: term order, normalisation, area pixels.
#include "simcontroller/calibration_mapping.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/simcontroller/record_fitting.h"

namespace {

// Counts whose shift by 4 is the 12-bit value 2047 + 4095 v (v a multiple of 1/4095).
int32_t RawFor(int32_t counts12) { return counts12 << 4 | 7; }

void SetCoefficient(CalibrationDataRecord* record, bool xAxis, int term, double value) {
    int32_t coefficients[kRecordCoefficientCount];
    uint8_t* base =
        reinterpret_cast<uint8_t*>(record) +
        (xAxis ? offsetof(CalibrationDataRecord, CoeffX) : offsetof(CalibrationDataRecord, CoeffY));
    std::memcpy(coefficients, base, sizeof coefficients);
    coefficients[term] = static_cast<int32_t>(value * 16384);
    std::memcpy(base, coefficients, sizeof coefficients);
}

}  // namespace

TEST(CalibrationMapping, TermCountsFollowTheOrder) {
    EXPECT_EQ(PolynomialTermsForOrder(1), 3);
    EXPECT_EQ(PolynomialTermsForOrder(3), 10);
    EXPECT_EQ(PolynomialTermsForOrder(7), 36);
    EXPECT_EQ(PolynomialTermsForOrder(0), 0);
    EXPECT_EQ(PolynomialTermsForOrder(8), 0);
}

TEST(CalibrationMapping, IdentityRecordMapsNormalisedCountsOntoTheArea) {
    const CalibrationDataRecord record = IdentityRecord(ScreenRect{100, 50, 800, 600});
    double x = 0, y = 0;
    ASSERT_TRUE(ApplyCalibrationRecord(record, RawFor(2047), RawFor(2047), &x, &y));
    EXPECT_DOUBLE_EQ(x, 0.5 * 800 + 100);
    EXPECT_DOUBLE_EQ(y, 0.5 * 600 + 50);
    ASSERT_TRUE(ApplyCalibrationRecord(record, RawFor(2047 + 819), RawFor(2047 - 1638), &x, &y));
    EXPECT_NEAR(x, (0.2 + 0.5) * 800 + 100, 1e-9);
    EXPECT_NEAR(y, (-0.4 + 0.5) * 600 + 50, 1e-9);
}

TEST(CalibrationMapping, TermsRunByDegreeWithTheExponentOfVFalling) {
    // Order 3 terms: 1, v, w, v^2, vw, w^2, v^3, v^2w, vw^2, w^3; v = 0.2, w = -0.4.
    CalibrationDataRecord record = IdentityRecord(ScreenRect{0, 0, 1000, 1000});
    record.PolynomialOrder = 3;
    SetCoefficient(&record, true, 1, 0.0);
    SetCoefficient(&record, false, 2, 0.0);
    const double v = 819 / 4095.0, w = -1638 / 4095.0;
    const double expectedX[] = {1,     v,         w,         v * v,     v * w,
                                w * w, v * v * v, v * v * w, v * w * w, w * w * w};
    for (int term = 0; term < 10; ++term) {
        CalibrationDataRecord single = record;
        SetCoefficient(&single, true, term, 0.5);
        SetCoefficient(&single, false, 9 - term, 0.25);
        double x = 0, y = 0;
        ASSERT_TRUE(
            ApplyCalibrationRecord(single, RawFor(2047 + 819), RawFor(2047 - 1638), &x, &y));
        EXPECT_NEAR(x, (0.5 * expectedX[term] + 0.5) * 1000, 1e-6) << "term " << term;
        EXPECT_NEAR(y, (0.25 * expectedX[9 - term] + 0.5) * 1000, 1e-6) << "term " << 9 - term;
    }
}

TEST(CalibrationMapping, UsesTheRecordsOffsetAndScale) {
    CalibrationDataRecord record = IdentityRecord(ScreenRect{0, 0, 1000, 1000});
    record.ControllerOffset = 1000;
    record.InverseScaleFactor = 2000;
    double x = 0, y = 0;
    ASSERT_TRUE(ApplyCalibrationRecord(record, RawFor(1500), RawFor(600), &x, &y));
    EXPECT_NEAR(x, (0.25 + 0.5) * 1000, 1e-9);
    EXPECT_NEAR(y, (-0.2 + 0.5) * 1000, 1e-9);
}

TEST(CalibrationMapping, RecordsWithoutAMappingAreNotApplied) {
    const CalibrationDataRecord good = IdentityRecord(ScreenRect{0, 0, 640, 480});
    double x = 0, y = 0;
    CalibrationDataRecord zero{};
    EXPECT_FALSE(ApplyCalibrationRecord(zero, 100, 100, &x, &y));  // a type '7' record
    CalibrationDataRecord noScale = good;
    noScale.InverseScaleFactor = 0;
    EXPECT_FALSE(ApplyCalibrationRecord(noScale, 100, 100, &x, &y));
    CalibrationDataRecord badOrder = good;
    badOrder.PolynomialOrder = 9;
    EXPECT_FALSE(ApplyCalibrationRecord(badOrder, 100, 100, &x, &y));
    EXPECT_TRUE(ApplyCalibrationRecord(good, 100, 100, &x, &y));
}
