// Test support for the fleet report: a generated fleet whose kiosks keep their histories in
// scratch folders and export them with tarnix-history, three of them with a shifted sensor.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "history/history_folder.h"
#include "tests/foundation/scratch_path.h"
#include "tools/tarnix_fit/tool_text.h"
#include "tools/tarnix_history/history_tool.h"

// 476.6 x 268.1 mm of glass over 1920 x 1080 pixels.
inline const std::string kFleetGlassKeys =
    "[TARNIX-APP]\r\nScreenWidth=476.6\r\nScreenHeight=268.1\r\n";
// Counts of CoeffX[0] that move a touch by about 4 mm: 140 / 16384 of 476.6 mm.
inline constexpr int32_t kSensorShift = 140;
inline constexpr double kSensorShiftMm = kSensorShift / 16384.0 * 476.6;

// A kiosk's record: a nearly linear mapping with a little bow, varied a little per kiosk, moved
// across by shift counts.
inline CalibrationDataRecord KioskRecord(std::mt19937& random, int32_t shift) {
    CalibrationDataRecord r{};
    r.AreaWidth = 1920;
    r.AreaHeight = 1080;
    r.MonitorNumber = 1;
    r.PolynomialOrder = 3;
    r.ModelKind = 1;
    r.ControllerOffset = 2047;
    r.InverseScaleFactor = 4095;
    std::uniform_int_distribution<int32_t> jitter(-8, 8);
    int32_t x[10] = {40, 18000, 120, 300, -200, 150, 900, 0, 400, 0};
    int32_t y[10] = {-60, -90, 18500, 100, 250, -300, 0, 500, 0, 700};
    for (int i = 0; i < 3; ++i) {
        x[i] += jitter(random);
        y[i] += jitter(random);
    }
    x[0] += shift;
    std::memcpy(reinterpret_cast<uint8_t*>(&r) + offsetof(CalibrationDataRecord, CoeffX), x,
                sizeof x);
    std::memcpy(reinterpret_cast<uint8_t*>(&r) + offsetof(CalibrationDataRecord, CoeffY), y,
                sizeof y);
    return r;
}

struct FleetMachine {
    std::string Name;
    std::string Model;  // empty: the history does not name it
    bool Shifted = false;
};

// A scratch folder holding one export per machine ("exports/NAME.json"), each made by
// tarnix-history export from a history of three calibrations; a shifted machine's last one has
// its sensor moved.
class GeneratedFleet {
  public:
    explicit GeneratedFleet(const std::vector<FleetMachine>& machines) {
        root_ = UniqueScratchPath("tarnix-fleet-test");
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(Exports());
        std::mt19937 random(11);
        for (const FleetMachine& machine : machines) Export(machine, random);
    }
    ~GeneratedFleet() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    GeneratedFleet(const GeneratedFleet&) = delete;
    GeneratedFleet& operator=(const GeneratedFleet&) = delete;

    std::filesystem::path Root() const { return root_; }
    std::filesystem::path Exports() const { return root_ / "exports"; }

  private:
    void Export(const FleetMachine& machine, std::mt19937& random) {
        const std::wstring folder = ToolWidePath(root_ / machine.Name);
        const std::string monitor =
            machine.Model.empty() ? std::string()
                                  : "; Monitor maker: ABC\r\n; Monitor model: " + machine.Model +
                                        "\r\n; Monitor serial: SN-" + machine.Name +
                                        "\r\n; Glass size: 476.6 x 268.1 mm (monitor EDID)\r\n";
        for (int32_t day = 1; day <= 3; ++day) {
            const int32_t shift = machine.Shifted && day == 3 ? kSensorShift : 0;
            const std::string header = "; Date: 2026-11-0" + std::to_string(day) +
                                       " 10:00:00\r\n; Sequence: " + std::to_string(day) +
                                       "\r\n; Expected error (mm): 0.4\r\n";
            ASSERT_TRUE(WriteHistoryEntry(folder, {2026, 11, day, 10, 0, 0},
                                          KioskRecord(random, shift),
                                          header + monitor + kFleetGlassKeys));
        }
        const std::wstring name(machine.Name.begin(), machine.Name.end());
        const std::wstring out = ToolWidePath(Exports() / (machine.Name + ".json"));
        testing::internal::CaptureStdout();
        const int status =
            RunTarnixHistory({L"export", L"--folder", folder, L"--machine", name, L"--out", out});
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(status, kHistoryDone);
    }

    std::filesystem::path root_;
};

// Twelve kiosks of model "T22" (kiosk-05, -08 and -11 with a shifted sensor), four of "T15" and
// one whose history does not name its monitor.
inline std::vector<FleetMachine> ExampleFleet() {
    std::vector<FleetMachine> machines;
    for (int i = 1; i <= 12; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "kiosk-%02d", i);
        machines.push_back({name, "T22", i == 5 || i == 8 || i == 11});
    }
    for (int i = 1; i <= 4; ++i) machines.push_back({"small-" + std::to_string(i), "T15", false});
    machines.push_back({"unnamed", "", false});
    return machines;
}
