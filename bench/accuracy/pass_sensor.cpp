// The sensor of one pass of the family bench: a drawn sensor of a family, or one of the stand-in
// controller's own sensors.
#include "bench/accuracy/pass_sensor.h"

#include <algorithm>

#include "bench/accuracy/stand_in_sensors.h"

namespace {

constexpr const char* kStandInPrefix = "stand-in:";

}  // namespace

std::vector<BenchFamily> BenchFamilies() {
    std::vector<BenchFamily> families;
    for (SensorFamily family : kSensorFamilies)
        families.push_back({SensorFamilyName(family), family, {}});
    for (const NamedSensor& s : StandInSensors())
        families.push_back({std::string(kStandInPrefix) + s.name, std::nullopt, s.sensor});
    return families;
}

bool FamilyPicked(const BenchFamily& family, const std::vector<std::string>& names) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return name == family.Name || (!family.Drawn && name + ":" == kStandInPrefix);
    });
}

PassSensor SensorOfPass(const BenchFamily& family, uint32_t seed, const PanelSize& panel) {
    if (family.Drawn) return DrawSensor(*family.Drawn, seed, panel);
    return family.StandIn;
}

RawPoint StoredTouch(const PassSensor& sensor, const ScreenRect& screen, const PanelSize& panel,
                     double x, double y) {
    RawCounts raw;
    if (const auto* drawn = std::get_if<DrawnSensor>(&sensor)) {
        const GlassPoint at{(x - screen.left) * panel.widthMm / screen.width,
                            (y - screen.top) * panel.heightMm / screen.height};
        raw = ControllerReport(*drawn, at, panel);
    } else {
        raw = SensorRawTouch(screen, std::get<SensorParameters>(sensor), x, y, nullptr);
    }
    return RawPoint{double(raw.x >> 4), double(raw.y >> 4)};
}

void SetControllerRange(const PassSensor& sensor, ControllerParameters& parameters) {
    if (!std::holds_alternative<DrawnSensor>(sensor)) return;
    parameters.ControllerMin = 0;
    parameters.ControllerMax = kStoredControllerMax;
}
