// Checks the byte image of CalibrationDataRecord: every field lands little-endian at its offset.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "driver/quva_records.h"

namespace {

// The record as the driver sees it, with a map of the bytes the test has accounted for.
struct RecordImage {
    std::vector<uint8_t> bytes;
    std::vector<bool> claimed;

    explicit RecordImage(const CalibrationDataRecord& record)
        : bytes(sizeof record), claimed(sizeof record, false) {
        std::memcpy(bytes.data(), &record, sizeof record);
    }

    // The little-endian i32 at offset; marks its four bytes as accounted for.
    int32_t Int32At(size_t offset) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) {
            value |= static_cast<uint32_t>(bytes.at(offset + i)) << (8 * i);
            claimed.at(offset + i) = true;
        }
        return static_cast<int32_t>(value);
    }
};

// A distinct, sign-varied value for field number n, so that a misplaced field cannot match.
int32_t Marker(int32_t n) { return (n % 2 ? -1 : 1) * (0x01020304 + n * 0x00010101); }

CalibrationDataRecord FilledRecord() {
    CalibrationDataRecord record;
    std::memset(&record, 0, sizeof record);
    int32_t n = 0;
    record.ScreenIndex = Marker(n++);
    record.MonitorNumber = Marker(n++);
    record.AreaWidth = Marker(n++);
    record.AreaHeight = Marker(n++);
    record.VirtualScreenWidth = Marker(n++);
    record.VirtualScreenHeight = Marker(n++);
    record.VirtualScreenLeft = Marker(n++);
    record.VirtualScreenTop = Marker(n++);
    record.AreaLeft = Marker(n++);
    record.AreaTop = Marker(n++);
    // Packed members are written by index: the compiler then emits unaligned stores.
    for (int k = 0; k < kRecordCoefficientCount; ++k) record.CoeffX[k] = Marker(n++);
    for (int k = 0; k < kRecordCoefficientCount; ++k) record.CoeffY[k] = Marker(n++);
    record.ModelKind = Marker(n++);
    record.RotationDegrees = Marker(n++);
    record.OffsetV = Marker(n++);
    record.OffsetW = Marker(n++);
    record.PolynomialOrder = Marker(n++);
    record.ControllerOffset = Marker(n++);
    record.InverseScaleFactor = Marker(n++);
    for (int i = 0; i < kRecordMiniTargetCount; ++i) record.MiniTargetDeltaX[i] = Marker(n++);
    for (int i = 0; i < kRecordMiniTargetCount; ++i) record.MiniTargetDeltaY[i] = Marker(n++);
    for (int i = 0; i < kRecordMiniTargetCount; ++i) record.MiniTargetX[i] = Marker(n++);
    for (int i = 0; i < kRecordMiniTargetCount; ++i) record.MiniTargetY[i] = Marker(n++);
    for (int i = 0; i < kRecordMiniTargetCount; ++i) record.InfluenceRadius[i] = Marker(n++);
    for (int i = 0; i < kRecordMiniTargetCount; ++i) {
        for (int j = 0; j < kRecordMiniTargetCount; ++j) {
            record.MiniTargetSpacing[i][j] = Marker(n++);
        }
    }
    record.TrailingScreenIndex = Marker(n++);
    for (int t = 0; t < kRecordReferenceTargetCount; ++t) {
        record.ControllerReference[t][0] = Marker(n++);
        record.ControllerReference[t][1] = Marker(n++);
    }
    for (int t = 0; t < kRecordReferenceTargetCount; ++t) {
        record.ScreenReference[t][0] = Marker(n++);
        record.ScreenReference[t][1] = Marker(n++);
    }
    return record;
}

TEST(CalibrationDataRecord, EveryFieldSitsLittleEndianAtItsOffset) {
    RecordImage image(FilledRecord());
    ASSERT_EQ(image.bytes.size(), 1257u);
    int32_t n = 0;
    for (size_t offset : {21, 69, 77, 81, 85, 89, 93, 97, 101, 105}) {
        EXPECT_EQ(image.Int32At(offset), Marker(n++)) << "offset " << offset;
    }
    for (size_t k = 0; k < 80; ++k) {  // CoeffX then CoeffY
        EXPECT_EQ(image.Int32At(109 + 4 * k), Marker(n++)) << "coefficient " << k;
    }
    for (size_t offset : {429, 433, 437, 441, 445, 449, 453}) {
        EXPECT_EQ(image.Int32At(offset), Marker(n++)) << "offset " << offset;
    }
    for (size_t base : {457, 501, 545, 589, 633}) {
        for (size_t i = 0; i < 11; ++i) {
            EXPECT_EQ(image.Int32At(base + 4 * i), Marker(n++))
                << "array at " << base << "[" << i << "]";
        }
    }
    for (size_t cell = 0; cell < 121; ++cell) {  // row-major 11 x 11
        EXPECT_EQ(image.Int32At(677 + 4 * cell), Marker(n++)) << "spacing cell " << cell;
    }
    EXPECT_EQ(image.Int32At(1205), Marker(n++));
    for (size_t k = 0; k < 12; ++k) {  // controller X, Y then screen X, Y of three targets
        EXPECT_EQ(image.Int32At(1209 + 4 * k), Marker(n++)) << "reference word " << k;
    }
    for (size_t offset = 0; offset < image.bytes.size(); ++offset) {
        if (!image.claimed[offset]) {
            EXPECT_EQ(image.bytes[offset], 0) << "byte " << offset;
        }
    }
}

TEST(CalibrationDataRecord, ByteOrderOfOneFieldIsLowByteFirst) {
    CalibrationDataRecord record;
    std::memset(&record, 0, sizeof record);
    record.ScreenIndex = 0x11223344;
    record.InverseScaleFactor = -2;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    EXPECT_EQ(bytes[21], 0x44);
    EXPECT_EQ(bytes[22], 0x33);
    EXPECT_EQ(bytes[23], 0x22);
    EXPECT_EQ(bytes[24], 0x11);
    EXPECT_EQ(bytes[453], 0xFE);
    EXPECT_EQ(bytes[456], 0xFF);
    EXPECT_EQ(bytes[0], 0);
}

}  // namespace
