// Packing of the calibration record: offsets, reference targets, type '7' and the log lines.
#include "fit/calibration_record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fit/polynomial_fit.h"
#include "tests/fit/fit_test_support.h"

namespace {

int32_t At(const CalibrationDataRecord& record, size_t offset) {
    int32_t value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(&record) + offset, sizeof value);
    return value;
}

struct FittedPass {
    ReportFolder reports;
    FitBench bench;
    explicit FittedPass(uint32_t order = 3, double miniRadius = 0.05)
        : bench([&] {
              GridSetup setup;
              setup.Order = order;
              setup.MiniTargetRadius = miniRadius;
              return setup;
          }()) {
        EXPECT_EQ(RunPolynomialPass(*bench.Fit), 1);
    }
};

RecordArea FullHd() {
    RecordArea area;
    area.Width = 1920;
    area.Height = 1080;
    area.Left = 1280;
    area.Top = -120;
    area.MonitorNumber = 2;
    return area;
}

TEST(CalibrationRecord, ReferenceTargetsOfAFullHdArea) {
    ReferenceTarget t[3];
    ComputeReferenceTargets(FullHd(), t);
    EXPECT_EQ(t[0].ScreenX, 240);
    EXPECT_EQ(t[0].ScreenY, 135);
    EXPECT_EQ(t[1].ScreenX, 1680);
    EXPECT_EQ(t[1].ScreenY, 945);
    EXPECT_EQ(t[2].ScreenX, 1680);
    EXPECT_EQ(t[2].ScreenY, 135);
    RecordArea odd;
    odd.Width = 1023;  // 127.875 and 895.125 truncate
    odd.Height = 601;
    ComputeReferenceTargets(odd, t);
    EXPECT_EQ(t[0].ScreenX, 127);
    EXPECT_EQ(t[1].ScreenX, 895);
    EXPECT_EQ(t[1].ScreenY, 525);
}

TEST(CalibrationRecord, FieldsAtTheirOffsets) {
    FittedPass pass;
    const CalibrationFit& fit = *pass.bench.Fit;
    CalibrationDataRecord record;
    ASSERT_TRUE(PackCalibrationRecord(FullHd(), 3, kPlainControllerType,
                                      VirtualScreenMetrics{3200, 1200, -100, -120}, &fit, record));
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&record);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(At(record, 21), 3);
    EXPECT_EQ(At(record, 69), 2);
    EXPECT_EQ(At(record, 77), 1920);
    EXPECT_EQ(At(record, 81), 1080);
    EXPECT_EQ(At(record, 85), 3200);
    EXPECT_EQ(At(record, 89), 1200);
    EXPECT_EQ(At(record, 93), -100);
    EXPECT_EQ(At(record, 97), -120);
    EXPECT_EQ(At(record, 101), 1280);
    EXPECT_EQ(At(record, 105), -120);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(At(record, 109 + 4 * k), int32_t(fit.CoeffX[k] * 16384)) << k;
        EXPECT_EQ(At(record, 269 + 4 * k), int32_t(fit.CoeffY[k] * 16384)) << k;
    }
    EXPECT_EQ(At(record, 429), 1);
    EXPECT_EQ(At(record, 433), int32_t(fit.RotationDegrees * 16384));
    EXPECT_EQ(At(record, 437), int32_t(fit.OffsetV * 16384));
    EXPECT_EQ(At(record, 441), int32_t(fit.OffsetW * 16384));
    EXPECT_EQ(At(record, 445), 3);
    EXPECT_EQ(At(record, 449), 2047);
    EXPECT_EQ(At(record, 453), 4095);
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(At(record, 457 + 4 * k), int32_t(fit.MiniTargetDeltaX[k]));
        EXPECT_EQ(At(record, 501 + 4 * k), int32_t(fit.MiniTargetDeltaY[k]));
        EXPECT_EQ(At(record, 545 + 4 * k), int32_t(fit.MiniTargetX[k]));
        EXPECT_EQ(At(record, 589 + 4 * k), int32_t(fit.MiniTargetY[k]));
        EXPECT_EQ(At(record, 633 + 4 * k), int32_t(0.05 * 65536));
        for (int q = 0; q < 11; ++q)
            EXPECT_EQ(At(record, 677 + 4 * (11 * k + q)), q < k ? fit.MiniTargetSpacing[k][q] : 0);
    }
    EXPECT_NE(At(record, 677 + 4 * (11 * 10 + 9)), 0);
    EXPECT_EQ(At(record, 1205), 3);
    const int32_t controller[6] = {8192, 8192, 57344, 57344, 57344, 8192};
    const int32_t screen[6] = {240, 135, 1680, 945, 1680, 135};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(At(record, 1209 + 4 * i), controller[i]) << i;
        EXPECT_EQ(At(record, 1233 + 4 * i), screen[i]) << i;
    }
    for (size_t i : {1u, 20u, 25u, 68u, 73u, 76u, 1161u, 1204u}) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(CalibrationRecord, TermCountTenLeavesEntriesTenToThirtyNineZero) {
    FittedPass pass(3, 0.0);
    CalibrationDataRecord record;
    ASSERT_TRUE(PackCalibrationRecord(FullHd(), 0, kPlainControllerType, VirtualScreenMetrics{},
                                      pass.bench.Fit.get(), record));
    EXPECT_NE(+record.CoeffX[1], 0);
    EXPECT_NE(+record.CoeffY[2], 0);
    for (int k = 10; k < 40; ++k) {
        EXPECT_EQ(+record.CoeffX[k], 0) << k;
        EXPECT_EQ(+record.CoeffY[k], 0) << k;
    }
    for (int k = 0; k < 11; ++k) EXPECT_EQ(+record.InfluenceRadius[k], 0);
}

TEST(CalibrationRecord, TypeSevenCarriesNoFit) {
    FittedPass pass;
    CalibrationDataRecord record;
    ASSERT_TRUE(PackCalibrationRecord(FullHd(), 1, kNoFitControllerType,
                                      VirtualScreenMetrics{1920, 1080, 0, 0}, pass.bench.Fit.get(),
                                      record));
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&record);
    for (size_t i = 109; i < 1161; ++i) ASSERT_EQ(bytes[i], 0) << i;
    const int32_t controller[6] = {8191, 8191, 57344, 57344, 57344, 8191};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(At(record, 1209 + 4 * i), controller[i]) << i;
    EXPECT_EQ(At(record, 1233), 240);
    EXPECT_EQ(+record.AreaWidth, 1920);
    EXPECT_EQ(+record.TrailingScreenIndex, 1);
}

TEST(CalibrationRecord, WithoutAFitOnlyTheGeometry) {
    CalibrationDataRecord record;
    ASSERT_TRUE(PackCalibrationRecord(FullHd(), 0, kPlainControllerType, VirtualScreenMetrics{},
                                      nullptr, record));
    EXPECT_EQ(+record.CoeffX[1], 0);
    EXPECT_EQ(+record.ModelKind, 0);
    EXPECT_EQ(+record.ControllerReference[0][0], 8192);
}

TEST(CalibrationRecord, RefusedFitGivesNoRecord) {
    FittedPass pass;
    pass.bench.Fit->LastStatus = FitStatus::NonFiniteTouch;
    CalibrationDataRecord record;
    std::memset(&record, 0x5a, sizeof record);
    EXPECT_FALSE(PackCalibrationRecord(FullHd(), 0, kPlainControllerType, VirtualScreenMetrics{},
                                       pass.bench.Fit.get(), record));
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(CalibrationRecord, CommitLogLines) {
    const CommitLogLines log = FormatCommitLogLines(FullHd());
    EXPECT_EQ(log.Lines[0],
              L"QuvaIntf.dll: WriteCalibrationData(): Calibration WindowsMon#=2 "
              L"MonitorSize(X,Y)=(1920,1080) MonitorLocn(X,Y)=(1280,-120)");
    EXPECT_EQ(log.Lines[3],
              L"QuvaIntf.dll: WriteCalibrationData(): Calibration Target=2 "
              L"WindowsLocn(X,Y)=(1680,135) QuvaLocn(X,Y)=(57344,8192)");
}

}  // namespace
