// The touch driver's mapping of a calibration record, for every build.
#include "driver/record_mapping.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr double kCoefficientScale = 16384.0;

double Power(double base, int32_t exponent) {
    double value = 1.0;
    for (int32_t i = 0; i < exponent; ++i) value *= base;
    return value;
}

// The record is byte-packed: its coefficients are copied out before use.
void ReadCoefficients(const CalibrationDataRecord& record, size_t offset, double* coefficients) {
    int32_t packed[kRecordCoefficientCount];
    std::memcpy(packed, reinterpret_cast<const uint8_t*>(&record) + offset, sizeof packed);
    for (int k = 0; k < kRecordCoefficientCount; ++k)
        coefficients[k] = packed[k] / kCoefficientScale;
}

}  // namespace

int32_t PolynomialTermsForOrder(int32_t order) {
    if (order < 1 || order > 7) return 0;
    return (order + 1) * (order + 2) / 2;
}

bool RecordHasMapping(const CalibrationDataRecord& record) {
    return PolynomialTermsForOrder(record.PolynomialOrder) > 0 && record.InverseScaleFactor != 0 &&
           record.AreaWidth > 0 && record.AreaHeight > 0;
}

double NormalisedRecordCounts(const CalibrationDataRecord& record, double counts) {
    return (counts - record.ControllerOffset) / record.InverseScaleFactor;
}

RecordMappingPoint EvaluateRecordMapping(const CalibrationDataRecord& record, double v, double w) {
    double cx[kRecordCoefficientCount], cy[kRecordCoefficientCount];
    ReadCoefficients(record, offsetof(CalibrationDataRecord, CoeffX), cx);
    ReadCoefficients(record, offsetof(CalibrationDataRecord, CoeffY), cy);
    RecordMappingPoint p;
    if (PolynomialTermsForOrder(record.PolynomialOrder) == 0) return p;
    int32_t term = 0;
    for (int32_t degree = 0; degree <= record.PolynomialOrder; ++degree) {
        for (int32_t k = 0; k <= degree; ++k, ++term) {
            const int32_t a = degree - k;
            const double value = Power(v, a) * Power(w, k);
            const double dv = a > 0 ? a * Power(v, a - 1) * Power(w, k) : 0.0;
            const double dw = k > 0 ? k * Power(v, a) * Power(w, k - 1) : 0.0;
            p.X += cx[term] * value;
            p.Y += cy[term] * value;
            p.XdV += cx[term] * dv;
            p.XdW += cx[term] * dw;
            p.YdV += cy[term] * dv;
            p.YdW += cy[term] * dw;
        }
    }
    return p;
}

bool MapRecordCounts(const CalibrationDataRecord& record, double v, double w, double& x,
                     double& y) {
    if (!RecordHasMapping(record)) return false;
    const RecordMappingPoint p = EvaluateRecordMapping(record, NormalisedRecordCounts(record, v),
                                                       NormalisedRecordCounts(record, w));
    x = p.X;
    y = p.Y;
    return true;
}
