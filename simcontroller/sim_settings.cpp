// The simulated controller's settings, read from "SimController.ini" (built-in defaults otherwise).
#include "simcontroller/sim_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class SettingReader {
  public:
    explicit SettingReader(const IniFile& ini) : ini_(ini) {}

    // The value of key in the first of the sections that has it.
    std::optional<std::string> Find(std::initializer_list<std::string> sections,
                                    const char* key) const {
        for (const std::string& section : sections) {
            if (auto value = ini_.Get(section, key)) return value;
        }
        return std::nullopt;
    }
    double Number(std::initializer_list<std::string> sections, const char* key,
                  double fallback) const {
        const auto value = Find(sections, key);
        if (!value) return fallback;
        char* end = nullptr;
        const double number = std::strtod(value->c_str(), &end);
        return end == value->c_str() ? fallback : number;
    }
    int32_t Integer(std::initializer_list<std::string> sections, const char* key,
                    int32_t fallback) const {
        const auto value = Find(sections, key);
        if (!value) return fallback;
        char* end = nullptr;
        const long number = std::strtol(value->c_str(), &end, 0);
        return end == value->c_str() ? fallback : static_cast<int32_t>(number);
    }
    bool Flag(std::initializer_list<std::string> sections, const char* key, bool fallback) const {
        return Integer(sections, key, fallback ? 1 : 0) != 0;
    }

  private:
    const IniFile& ini_;
};

std::filesystem::path FromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::filesystem::path Resolve(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path path = FromUtf8(name);
    return path.is_absolute() || folder.empty() ? path : folder / path;
}

SensorParameters ReadSensor(const SettingReader& reader, const std::string& screenSection) {
    const std::initializer_list<std::string> sections = {screenSection, "Sensor"};
    SensorParameters sensor;
    sensor.offsetX = reader.Number(sections, "OffsetX", sensor.offsetX);
    sensor.offsetY = reader.Number(sections, "OffsetY", sensor.offsetY);
    sensor.gainX = reader.Number(sections, "GainX", sensor.gainX);
    sensor.gainY = reader.Number(sections, "GainY", sensor.gainY);
    sensor.rotationDegrees = reader.Number(sections, "RotationDegrees", sensor.rotationDegrees);
    sensor.bowQuadratic = reader.Number(sections, "BowQuadratic", sensor.bowQuadratic);
    sensor.bowCubic = reader.Number(sections, "BowCubic", sensor.bowCubic);
    sensor.edgeCompression = reader.Number(sections, "EdgeCompression", sensor.edgeCompression);
    sensor.bumpX = reader.Number(sections, "BumpX", sensor.bumpX);
    sensor.bumpY = reader.Number(sections, "BumpY", sensor.bumpY);
    sensor.bumpShift = reader.Number(sections, "BumpShift", sensor.bumpShift);
    sensor.bumpRadius = reader.Number(sections, "BumpRadius", sensor.bumpRadius);
    sensor.swapAxes = reader.Flag(sections, "SwapAxes", sensor.swapAxes);
    sensor.invertX = reader.Flag(sections, "InvertX", sensor.invertX);
    sensor.invertY = reader.Flag(sections, "InvertY", sensor.invertY);
    sensor.noiseCounts = std::max(0.0, reader.Number(sections, "Noise", sensor.noiseCounts));
    sensor.z = reader.Integer(sections, "Z", sensor.z);
    return sensor;
}

// The person of screen index: ScatterMm, PanelWidthMm and PanelHeightMm from the screen's section,
// then "Person"; the seed from "Person", plus the index.
SimulatedPerson ReadPerson(const SettingReader& reader, const std::string& screenSection,
                           int32_t index) {
    const std::initializer_list<std::string> sections = {screenSection, "Person"};
    SimulatedPerson person;
    const double scatter = reader.Number(sections, "ScatterMm", person.scatterMm);
    person.scatterMm = std::isfinite(scatter) ? std::max(0.0, scatter) : 0.0;
    const double width = reader.Number(sections, "PanelWidthMm", person.panelWidthMm);
    const double height = reader.Number(sections, "PanelHeightMm", person.panelHeightMm);
    if (width > 0.0 && height > 0.0 && std::isfinite(width) && std::isfinite(height)) {
        person.panelWidthMm = width;
        person.panelHeightMm = height;
    }
    person.seed = static_cast<uint32_t>(reader.Integer({"Person"}, "Seed", 1) + index);
    return person;
}

bool ParseRect(const std::string& text, ScreenRect* rect) {
    int left = 0, top = 0, width = 0, height = 0;
    if (std::sscanf(text.c_str(), "%d , %d , %d , %d", &left, &top, &width, &height) != 4)
        return false;
    if (width <= 0 || height <= 0) return false;
    *rect = ScreenRect{left, top, width, height};
    return true;
}

}  // namespace

SimSettings ReadSimSettings(const IniFile& ini, const std::filesystem::path& iniFolder,
                            const std::filesystem::path& defaultLogFolder) {
    const SettingReader reader(ini);
    const std::initializer_list<std::string> main = {"SimController"};
    SimSettings settings;
    settings.screenCount = std::clamp(reader.Integer(main, "ScreenCount", 1), 0, kMaxSimScreens);
    if (auto type = reader.Find(main, "ControllerType")) settings.controllerType = (*type)[0];
    settings.diagnosticsWord4 = reader.Integer(main, "DiagnosticsWord4", settings.diagnosticsWord4);
    settings.calibrationByte =
        static_cast<uint8_t>(reader.Integer(main, "CalibrationByte", settings.calibrationByte));
    const std::string source = reader.Find(main, "TouchSource").value_or("pointer");
    settings.source = (source == "script" || source == "Script") ? TouchSourceKind::Script
                                                                 : TouchSourceKind::Pointer;
    settings.scriptFile =
        Resolve(iniFolder, reader.Find(main, "ScriptFile").value_or("SimTouches.txt"));
    settings.scriptLoop = reader.Flag(main, "ScriptLoop", false);
    settings.scriptDelayMs =
        static_cast<uint32_t>(std::max(0, reader.Integer(main, "ScriptDelayMs", 0)));
    const auto logFolder = reader.Find(main, "LogFolder");
    settings.logFolder = logFolder ? Resolve(iniFolder, *logFolder) : defaultLogFolder;
    settings.seed = static_cast<uint32_t>(reader.Integer(main, "Seed", 1));
    settings.applyCalibration = reader.Flag(main, "ApplyCalibration", true);
    settings.clearReleases = reader.Flag(main, "ClearReleases", true);
    for (int32_t index = 0; index < settings.screenCount; ++index)
        settings.screens.push_back(ReadScreenSettings(ini, index));
    return settings;
}

ScreenSettings ReadScreenSettings(const IniFile& ini, int32_t index) {
    const SettingReader reader(ini);
    const std::string section = "Screen" + std::to_string(index);
    ScreenSettings screen;
    screen.monitor = reader.Integer({section}, "Monitor", index + 1);
    if (auto rect = reader.Find({section}, "Rect")) screen.hasRect = ParseRect(*rect, &screen.rect);
    screen.sensor = ReadSensor(reader, section);
    screen.person = ReadPerson(reader, section, index);
    return screen;
}
