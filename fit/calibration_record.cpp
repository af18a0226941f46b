// CalibrationDataRecord packing: area, virtual screen, fit fields and reference targets.
#include "fit/calibration_record.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <cwchar>

#include "config/calibration_config.h"
#include "fit/symmetrisation.h"

static_assert(std::endian::native == std::endian::little, "the record is little-endian");

namespace {

constexpr double kCoefficientScale = 16384.0;

// Turns the doubles of the fit into their 32-bit fields, truncated toward zero, and notes whether
// every one was a finite number inside the field's range (an outsider packs as the x86
// conversion does, INT32_MIN).
struct FieldPacker {
    bool AllFit = true;
    int32_t operator()(double value) {
        if (!(value > -2147483649.0 && value < 2147483648.0)) AllFit = false;
        return TruncateToInt32(value);
    }
    int32_t Scaled(double value) { return (*this)(value * kCoefficientScale); }
};

// The record is byte-packed: its arrays are filled from aligned copies.
void PackCoefficients(const Vector& coeff, int32_t termCount, void* field, FieldPacker& pack) {
    int32_t scaled[kRecordCoefficientCount] = {};
    for (int32_t k = 0; k < termCount && k < kRecordCoefficientCount && uint32_t(k) < coeff.length;
         ++k)
        scaled[k] = pack.Scaled(coeff[k]);
    std::memcpy(field, scaled, sizeof scaled);
}

void PackMiniTargets(const CalibrationFit& fit, CalibrationDataRecord& r, FieldPacker& pack) {
    for (int k = 0; k < kRecordMiniTargetCount; ++k) {
        r.MiniTargetDeltaX[k] = pack(fit.MiniTargetDeltaX[k]);
        r.MiniTargetDeltaY[k] = pack(fit.MiniTargetDeltaY[k]);
        r.MiniTargetX[k] = pack(fit.MiniTargetX[k]);
        r.MiniTargetY[k] = pack(fit.MiniTargetY[k]);
        if (fit.Config) r.InfluenceRadius[k] = pack(fit.Config->InfluenceRadius[k] * 16 * 4096);
        for (int q = 0; q < k; ++q) r.MiniTargetSpacing[k][q] = fit.MiniTargetSpacing[k][q];
    }
}

void PackFitFields(const CalibrationFit& fit, CalibrationDataRecord& r, FieldPacker& pack) {
    PackCoefficients(fit.CoeffX, fit.TermCount, r.CoeffX, pack);
    PackCoefficients(fit.CoeffY, fit.TermCount, r.CoeffY, pack);
    r.ModelKind = int32_t(fit.ModelKind);
    r.RotationDegrees = pack.Scaled(fit.RotationDegrees);
    r.OffsetV = pack.Scaled(fit.OffsetV);
    r.OffsetW = pack.Scaled(fit.OffsetW);
    r.PolynomialOrder = int32_t(fit.PolynomialOrder);
    r.ControllerOffset = pack(fit.ControllerOffset);
    r.InverseScaleFactor = pack(1.0 / fit.ScaleFactor);
    PackMiniTargets(fit, r, pack);
}

}  // namespace

void ComputeReferenceTargets(const RecordArea& area, ReferenceTarget t[3]) {
    const int32_t nearX = TruncateToInt32(area.Width * 0.125);
    const int32_t nearY = TruncateToInt32(area.Height * 0.125);
    const int32_t farX = TruncateToInt32(area.Width * 0.875);
    const int32_t farY = TruncateToInt32(area.Height * 0.875);
    t[0] = {nearX, nearY, 8192, 8192};
    t[1] = {farX, farY, 57344, 57344};
    t[2] = {farX, nearY, 57344, 8192};
}

bool PackCalibrationRecord(const RecordArea& area, int32_t screenIndex, char controllerType,
                           const VirtualScreenMetrics& screen, const CalibrationFit* fit,
                           CalibrationDataRecord& r) {
    std::memset(&r, 0, sizeof r);
    const bool withFit = controllerType != kNoFitControllerType && fit != nullptr;
    if (withFit && fit->LastStatus != FitStatus::Fitted) return false;
    r.ScreenIndex = screenIndex;
    r.MonitorNumber = area.MonitorNumber;
    r.AreaWidth = area.Width;
    r.AreaHeight = area.Height;
    r.VirtualScreenWidth = screen.Width;
    r.VirtualScreenHeight = screen.Height;
    r.VirtualScreenLeft = screen.Left;
    r.VirtualScreenTop = screen.Top;
    r.AreaLeft = area.Left;
    r.AreaTop = area.Top;
    FieldPacker pack;
    if (withFit) PackFitFields(*fit, r, pack);
    r.TrailingScreenIndex = screenIndex;
    ReferenceTarget targets[3];
    ComputeReferenceTargets(area, targets);
    if (controllerType == kNoFitControllerType) {
        targets[0].ControllerX = targets[0].ControllerY = 8191;
        targets[2].ControllerY = 8191;
    }
    for (int i = 0; i < kRecordReferenceTargetCount; ++i) {
        r.ControllerReference[i][0] = targets[i].ControllerX;
        r.ControllerReference[i][1] = targets[i].ControllerY;
        r.ScreenReference[i][0] = targets[i].ScreenX;
        r.ScreenReference[i][1] = targets[i].ScreenY;
    }
    return true;
}

CommitLogLines FormatCommitLogLines(const RecordArea& area) {
    CommitLogLines log;
    wchar_t line[256];
    std::swprintf(line, 256,
                  L"QuvaIntf.dll: WriteCalibrationData(): Calibration WindowsMon#=%d "
                  L"MonitorSize(X,Y)=(%d,%d) MonitorLocn(X,Y)=(%d,%d)",
                  area.MonitorNumber, area.Width, area.Height, area.Left, area.Top);
    log.Lines[0] = line;
    ReferenceTarget targets[3];
    ComputeReferenceTargets(area, targets);
    for (int i = 0; i < 3; ++i) {
        std::swprintf(line, 256,
                      L"QuvaIntf.dll: WriteCalibrationData(): Calibration Target=%d "
                      L"WindowsLocn(X,Y)=(%d,%d) QuvaLocn(X,Y)=(%d,%d)",
                      i, targets[i].ScreenX, targets[i].ScreenY, targets[i].ControllerX,
                      targets[i].ControllerY);
        log.Lines[i + 1] = line;
    }
    return log;
}

bool CoefficientFitsRecord(double coefficient) {
    return std::fabs(coefficient * kCoefficientScale) < 1073741824.0;
}

bool FitFieldsFitRecord(const CalibrationFit& fit) {
    CalibrationDataRecord scratch;
    std::memset(&scratch, 0, sizeof scratch);
    FieldPacker pack;
    PackFitFields(fit, scratch, pack);
    return pack.AllFit;
}
