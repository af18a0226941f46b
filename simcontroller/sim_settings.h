// The simulated controller's settings, read from "SimController.ini" (built-in defaults otherwise).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "simcontroller/ini_file.h"
#include "simcontroller/sensor_model.h"
#include "simcontroller/simulated_person.h"

enum class TouchSourceKind { Pointer, Script };

// One touch screen: the monitor it sits on (1-based), optionally a fixed rectangle in place of
// that monitor's, its sensor, and the person touching its script points (seed: Person Seed + N).
struct ScreenSettings {
    int32_t monitor = 1;
    bool hasRect = false;
    ScreenRect rect;
    SensorParameters sensor;
    SimulatedPerson person;
};

struct SimSettings {
    int32_t screenCount = 1;
    char controllerType = '2';     // diagnostics byte 701
    int32_t diagnosticsWord4 = 0;  // diagnostics i32 at byte 4
    uint8_t calibrationByte = 1;   // diagnostics byte 707
    TouchSourceKind source = TouchSourceKind::Pointer;
    std::filesystem::path scriptFile;
    bool scriptLoop = false;
    uint32_t scriptDelayMs = 0;
    std::filesystem::path logFolder;
    uint32_t seed = 1;
    bool applyCalibration = true;
    bool clearReleases = true;  // false: QuvaIF_ClearAllGetPoint releases no blocked call
    std::vector<ScreenSettings> screens;
};

constexpr const char* kSimSettingsFileName = "SimController.ini";
constexpr int32_t kMaxSimScreens = 16;

// The settings of screen index (section "Screen<index>", then "Sensor", then built in).
ScreenSettings ReadScreenSettings(const IniFile& ini, int32_t index);

// Settings from the parsed file: section "SimController" for the controller, "Sensor" for the
// defaults of every sensor, "Person" for the person, "Screen<N>" (N from 0) for one screen.
// Relative file names are taken from iniFolder; no log folder given means defaultLogFolder.
SimSettings ReadSimSettings(const IniFile& ini, const std::filesystem::path& iniFolder,
                            const std::filesystem::path& defaultLogFolder);
