// A calibration record's fields as one JSON object, with the values stored in the record.
#include "tools/tarnix_history/record_json.h"

#include <cstring>

namespace {

// The members of one object, written in order.
class JsonFields {
  public:
    void Integer(const char* name, int32_t value) { Key(name) += std::to_string(value); }
    // field points into the byte-packed record: it is read through an aligned copy.
    void Integers(const char* name, const void* field, int count) {
        std::string& out = Key(name);
        out += '[';
        for (int i = 0; i < count; ++i) {
            int32_t value = 0;
            std::memcpy(&value, static_cast<const uint8_t*>(field) + i * sizeof value,
                        sizeof value);
            out += (i ? "," : "") + std::to_string(value);
        }
        out += ']';
    }
    std::string Done() { return text_ + "}"; }

  private:
    std::string& Key(const char* name) {
        text_ += (text_.size() > 1 ? ",\"" : "\"") + std::string(name) + "\":";
        return text_;
    }
    std::string text_ = "{";
};

}  // namespace

std::string RecordJson(const CalibrationDataRecord& r) {
    JsonFields json;
    json.Integer("ScreenIndex", r.ScreenIndex);
    json.Integer("MonitorNumber", r.MonitorNumber);
    json.Integer("AreaWidth", r.AreaWidth);
    json.Integer("AreaHeight", r.AreaHeight);
    json.Integer("VirtualScreenWidth", r.VirtualScreenWidth);
    json.Integer("VirtualScreenHeight", r.VirtualScreenHeight);
    json.Integer("VirtualScreenLeft", r.VirtualScreenLeft);
    json.Integer("VirtualScreenTop", r.VirtualScreenTop);
    json.Integer("AreaLeft", r.AreaLeft);
    json.Integer("AreaTop", r.AreaTop);
    json.Integers("CoeffX", r.CoeffX, kRecordCoefficientCount);
    json.Integers("CoeffY", r.CoeffY, kRecordCoefficientCount);
    json.Integer("ModelKind", r.ModelKind);
    json.Integer("RotationDegrees", r.RotationDegrees);
    json.Integer("OffsetV", r.OffsetV);
    json.Integer("OffsetW", r.OffsetW);
    json.Integer("PolynomialOrder", r.PolynomialOrder);
    json.Integer("ControllerOffset", r.ControllerOffset);
    json.Integer("InverseScaleFactor", r.InverseScaleFactor);
    json.Integers("MiniTargetDeltaX", r.MiniTargetDeltaX, kRecordMiniTargetCount);
    json.Integers("MiniTargetDeltaY", r.MiniTargetDeltaY, kRecordMiniTargetCount);
    json.Integers("MiniTargetX", r.MiniTargetX, kRecordMiniTargetCount);
    json.Integers("MiniTargetY", r.MiniTargetY, kRecordMiniTargetCount);
    json.Integers("InfluenceRadius", r.InfluenceRadius, kRecordMiniTargetCount);
    json.Integers("MiniTargetSpacing", r.MiniTargetSpacing,
                  kRecordMiniTargetCount * kRecordMiniTargetCount);
    json.Integer("TrailingScreenIndex", r.TrailingScreenIndex);
    json.Integers("ControllerReference", r.ControllerReference, kRecordReferenceTargetCount * 2);
    json.Integers("ScreenReference", r.ScreenReference, kRecordReferenceTargetCount * 2);
    return json.Done();
}
