// A monitor model's typical calibration record.
#include "tools/tarnix_fleet/typical_record.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool SameMappingKind(const CalibrationDataRecord& a, const CalibrationDataRecord& b) {
    return a.PolynomialOrder == b.PolynomialOrder && a.ModelKind == b.ModelKind &&
           a.ControllerOffset == b.ControllerOffset && a.InverseScaleFactor == b.InverseScaleFactor;
}

// The median of one 32-bit field at offset over the records, rounded to an integer.
int32_t MedianField(const std::vector<const CalibrationDataRecord*>& records, size_t offset) {
    std::vector<double> values;
    for (const CalibrationDataRecord* r : records) {
        int32_t value = 0;
        std::memcpy(&value, reinterpret_cast<const uint8_t*>(r) + offset, sizeof value);
        values.push_back(value);
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    const double median =
        values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return static_cast<int32_t>(std::lround(median));
}

void SetField(CalibrationDataRecord& record, size_t offset, int32_t value) {
    std::memcpy(reinterpret_cast<uint8_t*>(&record) + offset, &value, sizeof value);
}

const FleetKiosk* MostTypical(const std::vector<FleetKiosk>& kiosks, const std::string& model) {
    const FleetKiosk* base = nullptr;
    for (const FleetKiosk& kiosk : kiosks)
        if (ModelKey(kiosk) == model && kiosk.Record && kiosk.SiblingDeviationMm &&
            (!base || *kiosk.SiblingDeviationMm < *base->SiblingDeviationMm))
            base = &kiosk;
    return base;
}

}  // namespace

std::optional<TypicalRecord> TypicalRecordOf(const std::vector<FleetKiosk>& kiosks,
                                             const std::string& model) {
    const FleetKiosk* base = MostTypical(kiosks, model);
    if (!base) return std::nullopt;
    std::vector<const CalibrationDataRecord*> records;
    for (const FleetKiosk& kiosk : kiosks)
        if (ModelKey(kiosk) == model && kiosk.Record && kiosk.SiblingDeviationMm &&
            SameMappingKind(*kiosk.Record, *base->Record))
            records.push_back(&*kiosk.Record);
    TypicalRecord typical{*base->Record, base, int32_t(records.size())};
    CalibrationDataRecord& r = typical.Record;
    for (int i = 0; i < kRecordCoefficientCount; ++i) {
        const size_t x = offsetof(CalibrationDataRecord, CoeffX) + i * sizeof(int32_t);
        const size_t y = offsetof(CalibrationDataRecord, CoeffY) + i * sizeof(int32_t);
        SetField(r, x, MedianField(records, x));
        SetField(r, y, MedianField(records, y));
    }
    for (size_t offset :
         {offsetof(CalibrationDataRecord, RotationDegrees),
          offsetof(CalibrationDataRecord, OffsetV), offsetof(CalibrationDataRecord, OffsetW)})
        SetField(r, offset, MedianField(records, offset));
    std::memset(r.MiniTargetDeltaX, 0, sizeof r.MiniTargetDeltaX);
    std::memset(r.MiniTargetDeltaY, 0, sizeof r.MiniTargetDeltaY);
    return typical;
}
