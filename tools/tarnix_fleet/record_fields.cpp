// A calibration record rebuilt from its fields as an export gives them.
#include "tools/tarnix_fleet/record_fields.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

bool Integer32(const JsonValue* value, int32_t& out) {
    if (!value || value->Type != JsonValue::Kind::Number) return false;
    const double number = value->Number;
    if (number != std::floor(number) || number < INT32_MIN || number > INT32_MAX) return false;
    out = static_cast<int32_t>(number);
    return true;
}

// Reads fields into the record through a byte copy: the record is byte-packed.
class FieldReader {
  public:
    FieldReader(const JsonValue& fields, CalibrationDataRecord& record)
        : fields_(fields), bytes_(reinterpret_cast<uint8_t*>(&record)) {}

    void One(const char* name, size_t offset) {
        int32_t value = 0;
        ok_ = ok_ && Integer32(fields_.Find(name), value);
        if (ok_) std::memcpy(bytes_ + offset, &value, sizeof value);
    }
    void Many(const char* name, size_t offset, size_t count) {
        const JsonValue* array = fields_.Find(name);
        ok_ = ok_ && array && array->Items.size() == count;
        for (size_t i = 0; ok_ && i < count; ++i) {
            int32_t value = 0;
            ok_ = Integer32(&array->Items[i], value);
            if (ok_) std::memcpy(bytes_ + offset + i * sizeof value, &value, sizeof value);
        }
    }
    bool Ok() const { return ok_; }

  private:
    const JsonValue& fields_;
    uint8_t* bytes_;
    bool ok_ = true;
};

}  // namespace

#define TARNIX_FIELD(name) #name, offsetof(CalibrationDataRecord, name)

std::optional<CalibrationDataRecord> RecordFromFields(const JsonValue& fields) {
    CalibrationDataRecord record{};
    FieldReader read(fields, record);
    const std::pair<const char*, size_t> scalars[] = {{TARNIX_FIELD(ScreenIndex)},
                                                      {TARNIX_FIELD(MonitorNumber)},
                                                      {TARNIX_FIELD(AreaWidth)},
                                                      {TARNIX_FIELD(AreaHeight)},
                                                      {TARNIX_FIELD(VirtualScreenWidth)},
                                                      {TARNIX_FIELD(VirtualScreenHeight)},
                                                      {TARNIX_FIELD(VirtualScreenLeft)},
                                                      {TARNIX_FIELD(VirtualScreenTop)},
                                                      {TARNIX_FIELD(AreaLeft)},
                                                      {TARNIX_FIELD(AreaTop)},
                                                      {TARNIX_FIELD(ModelKind)},
                                                      {TARNIX_FIELD(RotationDegrees)},
                                                      {TARNIX_FIELD(OffsetV)},
                                                      {TARNIX_FIELD(OffsetW)},
                                                      {TARNIX_FIELD(PolynomialOrder)},
                                                      {TARNIX_FIELD(ControllerOffset)},
                                                      {TARNIX_FIELD(InverseScaleFactor)},
                                                      {TARNIX_FIELD(TrailingScreenIndex)}};
    for (const auto& [name, offset] : scalars) read.One(name, offset);
    const size_t minis = kRecordMiniTargetCount;
    read.Many(TARNIX_FIELD(CoeffX), kRecordCoefficientCount);
    read.Many(TARNIX_FIELD(CoeffY), kRecordCoefficientCount);
    read.Many(TARNIX_FIELD(MiniTargetDeltaX), minis);
    read.Many(TARNIX_FIELD(MiniTargetDeltaY), minis);
    read.Many(TARNIX_FIELD(MiniTargetX), minis);
    read.Many(TARNIX_FIELD(MiniTargetY), minis);
    read.Many(TARNIX_FIELD(InfluenceRadius), minis);
    read.Many(TARNIX_FIELD(MiniTargetSpacing), minis * minis);
    read.Many(TARNIX_FIELD(ControllerReference), kRecordReferenceTargetCount * 2);
    read.Many(TARNIX_FIELD(ScreenReference), kRecordReferenceTargetCount * 2);
    if (!read.Ok()) return std::nullopt;
    return record;
}
