// One-line descriptions of the records lent to the driver, field by field, for the call log.
#include "simcontroller/record_dump.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "simcontroller/calibration_mapping.h"

namespace {

void Append(std::string* text, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
void Append(std::string* text, const char* format, ...) {
    char part[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(part, sizeof part, format, arguments);
    va_end(arguments);
    *text += part;
}

// Copies an array field out of the packed record.
template <size_t N>
void CopyField(const CalibrationDataRecord& record, size_t offset, int32_t (&out)[N]) {
    std::memcpy(out, reinterpret_cast<const uint8_t*>(&record) + offset, sizeof out);
}

void AppendArray(std::string* text, const char* name, const int32_t* values, int32_t count) {
    Append(text, " %s=[", name);
    for (int32_t i = 0; i < count; ++i) Append(text, i ? ",%d" : "%d", values[i]);
    *text += "]";
}

}  // namespace

std::string DescribeVirtualScreen(const VirtualScreenRecord& record) {
    std::string text;
    Append(&text,
           "ScreenIndex=%d RightEdge=%d LeftEdge=%d BottomEdge=%d TopEdge=%d Reserved5=%d "
           "Reserved6=%d Mode=%d",
           record.ScreenIndex, record.RightEdge, record.LeftEdge, record.BottomEdge, record.TopEdge,
           record.Reserved5, record.Reserved6, record.Mode);
    return text;
}

std::string DescribeCalibrationRecord(const CalibrationDataRecord& record) {
    std::string text;
    Append(&text, "ScreenIndex=%d MonitorNumber=%d Area=%dx%d@(%d,%d) VirtualScreen=%dx%d@(%d,%d)",
           record.ScreenIndex, record.MonitorNumber, record.AreaWidth, record.AreaHeight,
           record.AreaLeft, record.AreaTop, record.VirtualScreenWidth, record.VirtualScreenHeight,
           record.VirtualScreenLeft, record.VirtualScreenTop);
    Append(&text,
           " ModelKind=%d PolynomialOrder=%d ControllerOffset=%d InverseScaleFactor=%d "
           "RotationDegrees=%d OffsetV=%d OffsetW=%d TrailingScreenIndex=%d",
           record.ModelKind, record.PolynomialOrder, record.ControllerOffset,
           record.InverseScaleFactor, record.RotationDegrees, record.OffsetV, record.OffsetW,
           record.TrailingScreenIndex);
    int32_t coeffX[kRecordCoefficientCount], coeffY[kRecordCoefficientCount];
    CopyField(record, offsetof(CalibrationDataRecord, CoeffX), coeffX);
    CopyField(record, offsetof(CalibrationDataRecord, CoeffY), coeffY);
    const int32_t terms = PolynomialTermsForOrder(record.PolynomialOrder);
    AppendArray(&text, "CoeffX", coeffX, terms);
    AppendArray(&text, "CoeffY", coeffY, terms);
    int32_t controller[6], screen[6];
    CopyField(record, offsetof(CalibrationDataRecord, ControllerReference), controller);
    CopyField(record, offsetof(CalibrationDataRecord, ScreenReference), screen);
    AppendArray(&text, "ControllerReference", controller, 6);
    AppendArray(&text, "ScreenReference", screen, 6);
    return text;
}
