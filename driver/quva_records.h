// The records Tarnix lends to the touch driver library, byte-packed as the library expects them.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One raw touch: controller X, Y (16-bit counts; Tarnix uses them shifted right by 4) and Z.
struct TouchSample {
    int32_t X;
    int32_t Y;
    int32_t Z;
    int32_t Unused[3];
};

// Diagnostics of one touch screen; Tarnix reads three fields of it.
struct DiagnosticsRecord {
    int32_t Reserved0;
    int32_t PassEndWord;  // byte 4: 3 ends a type '7' pass at its first touch
    uint8_t Reserved8[693];
    char ControllerType;  // byte 701: '7' changes the pass and the commit
    uint8_t Reserved702[5];
    uint8_t CalibrationByte;  // byte 707: handed back with the calibration data
    uint8_t Reserved708[552];
};

// Clip rectangles of one monitor; only the monitor number is filled in by Tarnix.
struct ClipRecord {
    int32_t MonitorNumber;
    uint8_t Reserved4[1548];
};

// The driver's virtual full screen for the area being calibrated.
struct VirtualScreenRecord {
    int32_t ScreenIndex;
    int32_t RightEdge;   // area left + width - 1
    int32_t LeftEdge;    // area left + 1
    int32_t BottomEdge;  // area top + height - 1
    int32_t TopEdge;     // area top + 1
    int32_t Reserved5;
    int32_t Reserved6;
    int32_t Mode;  // always 2
};

constexpr int kRecordCoefficientCount = 40;
constexpr int kRecordMiniTargetCount = 11;
constexpr int kRecordReferenceTargetCount = 3;

// The calibration record of the commit, 1257 bytes, little-endian, zero outside the named fields.
struct CalibrationDataRecord {
    uint8_t Leading;  // byte 0: always 0
    uint8_t Reserved1[20];
    int32_t ScreenIndex;  // 21
    uint8_t Reserved25[44];
    int32_t MonitorNumber;  // 69
    uint8_t Reserved73[4];
    int32_t AreaWidth;             // 77
    int32_t AreaHeight;            // 81
    int32_t VirtualScreenWidth;    // 85
    int32_t VirtualScreenHeight;   // 89
    int32_t VirtualScreenLeft;     // 93
    int32_t VirtualScreenTop;      // 97
    int32_t AreaLeft;              // 101
    int32_t AreaTop;               // 105
    int32_t CoeffX[kRecordCoefficientCount];  // 109: coefficient x 16384
    int32_t CoeffY[kRecordCoefficientCount];  // 269
    int32_t ModelKind;                        // 429
    int32_t RotationDegrees;                  // 433: x 16384
    int32_t OffsetV;                          // 437: x 16384
    int32_t OffsetW;                          // 441: x 16384
    int32_t PolynomialOrder;                  // 445
    int32_t ControllerOffset;                 // 449
    int32_t InverseScaleFactor;               // 453
    int32_t MiniTargetDeltaX[kRecordMiniTargetCount];     // 457
    int32_t MiniTargetDeltaY[kRecordMiniTargetCount];     // 501
    int32_t MiniTargetX[kRecordMiniTargetCount];          // 545
    int32_t MiniTargetY[kRecordMiniTargetCount];          // 589
    int32_t InfluenceRadius[kRecordMiniTargetCount];      // 633: x 65536
    int32_t MiniTargetSpacing[kRecordMiniTargetCount][kRecordMiniTargetCount];  // 677
    uint8_t Reserved1161[44];
    int32_t TrailingScreenIndex;                                  // 1205
    int32_t ControllerReference[kRecordReferenceTargetCount][2];  // 1209: X, Y per target
    int32_t ScreenReference[kRecordReferenceTargetCount][2];      // 1233: X, Y per target
};

#pragma pack(pop)

static_assert(sizeof(TouchSample) == 24);
static_assert(sizeof(DiagnosticsRecord) == 1260);
static_assert(offsetof(DiagnosticsRecord, PassEndWord) == 4);
static_assert(offsetof(DiagnosticsRecord, ControllerType) == 701);
static_assert(offsetof(DiagnosticsRecord, CalibrationByte) == 707);
static_assert(sizeof(ClipRecord) == 1552);
static_assert(sizeof(VirtualScreenRecord) == 32);
static_assert(sizeof(CalibrationDataRecord) == 1257);
static_assert(offsetof(CalibrationDataRecord, ScreenIndex) == 21);
static_assert(offsetof(CalibrationDataRecord, MonitorNumber) == 69);
static_assert(offsetof(CalibrationDataRecord, AreaWidth) == 77);
static_assert(offsetof(CalibrationDataRecord, AreaHeight) == 81);
static_assert(offsetof(CalibrationDataRecord, VirtualScreenWidth) == 85);
static_assert(offsetof(CalibrationDataRecord, VirtualScreenHeight) == 89);
static_assert(offsetof(CalibrationDataRecord, VirtualScreenLeft) == 93);
static_assert(offsetof(CalibrationDataRecord, VirtualScreenTop) == 97);
static_assert(offsetof(CalibrationDataRecord, AreaLeft) == 101);
static_assert(offsetof(CalibrationDataRecord, AreaTop) == 105);
static_assert(offsetof(CalibrationDataRecord, CoeffX) == 109);
static_assert(offsetof(CalibrationDataRecord, CoeffY) == 269);
static_assert(offsetof(CalibrationDataRecord, ModelKind) == 429);
static_assert(offsetof(CalibrationDataRecord, RotationDegrees) == 433);
static_assert(offsetof(CalibrationDataRecord, OffsetV) == 437);
static_assert(offsetof(CalibrationDataRecord, OffsetW) == 441);
static_assert(offsetof(CalibrationDataRecord, PolynomialOrder) == 445);
static_assert(offsetof(CalibrationDataRecord, ControllerOffset) == 449);
static_assert(offsetof(CalibrationDataRecord, InverseScaleFactor) == 453);
static_assert(offsetof(CalibrationDataRecord, MiniTargetDeltaX) == 457);
static_assert(offsetof(CalibrationDataRecord, MiniTargetDeltaY) == 501);
static_assert(offsetof(CalibrationDataRecord, MiniTargetX) == 545);
static_assert(offsetof(CalibrationDataRecord, MiniTargetY) == 589);
static_assert(offsetof(CalibrationDataRecord, InfluenceRadius) == 633);
static_assert(offsetof(CalibrationDataRecord, MiniTargetSpacing) == 677);
static_assert(offsetof(CalibrationDataRecord, TrailingScreenIndex) == 1205);
static_assert(offsetof(CalibrationDataRecord, ControllerReference) == 1209);
static_assert(offsetof(CalibrationDataRecord, ScreenReference) == 1233);

