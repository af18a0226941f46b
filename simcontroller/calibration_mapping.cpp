// Applies a calibration record to raw touches the way the driver does: polynomial over normalised
// counts.
#include "simcontroller/calibration_mapping.h"

#include <cmath>
#include <cstring>

int32_t PolynomialTermsForOrder(int32_t order) {
    if (order < 1 || order > 7) return 0;
    return (order + 1) * (order + 2) / 2;
}

bool RecordHasMapping(const CalibrationDataRecord& record) {
    return PolynomialTermsForOrder(record.PolynomialOrder) > 0 && record.InverseScaleFactor != 0 &&
           record.AreaWidth > 0 && record.AreaHeight > 0;
}

namespace {

double EvaluatePolynomial(const int32_t* coefficients, int32_t order, double v, double w) {
    double sum = 0.0;
    int32_t term = 0;
    for (int32_t degree = 0; degree <= order; ++degree) {
        for (int32_t k = 0; k <= degree; ++k, ++term) {
            const double value = std::pow(v, degree - k) * std::pow(w, k);
            sum += coefficients[term] / 16384.0 * value;
        }
    }
    return sum;
}

}  // namespace

bool ApplyCalibrationRecord(const CalibrationDataRecord& record, int32_t rawX, int32_t rawY,
                            double* screenX, double* screenY) {
    if (!RecordHasMapping(record)) return false;
    const double v =
        (static_cast<double>(rawX >> 4) - record.ControllerOffset) / record.InverseScaleFactor;
    const double w =
        (static_cast<double>(rawY >> 4) - record.ControllerOffset) / record.InverseScaleFactor;
    // The record is packed: copy the coefficients out rather than point into it.
    int32_t coeffX[kRecordCoefficientCount];
    int32_t coeffY[kRecordCoefficientCount];
    std::memcpy(coeffX,
                reinterpret_cast<const uint8_t*>(&record) + offsetof(CalibrationDataRecord, CoeffX),
                sizeof coeffX);
    std::memcpy(coeffY,
                reinterpret_cast<const uint8_t*>(&record) + offsetof(CalibrationDataRecord, CoeffY),
                sizeof coeffY);
    const double x = EvaluatePolynomial(coeffX, record.PolynomialOrder, v, w);
    const double y = EvaluatePolynomial(coeffY, record.PolynomialOrder, v, w);
    *screenX = (x + 0.5) * record.AreaWidth + record.AreaLeft;
    *screenY = (y + 0.5) * record.AreaHeight + record.AreaTop;
    return true;
}
