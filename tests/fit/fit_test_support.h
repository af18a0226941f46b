// Test support for the fit: a report folder of its own, in-memory grids and smooth sensors.
#pragma once

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "display/target_layout.h"
#include "fit/calibration_fit.h"
#include "fit/fit_evaluation.h"
#include "platform/report_file.h"
#include "tests/foundation/scratch_path.h"

// A fresh report folder, used by OpenReportFile while the object lives.
class ReportFolder {
  public:
    ReportFolder() {
        path_ = UniqueScratchPath("tarnix-fit-test");
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        SetReportFolderOverride(path_.wstring().c_str());
    }
    ~ReportFolder() {
        SetReportFolderOverride(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ReportFolder(const ReportFolder&) = delete;
    ReportFolder& operator=(const ReportFolder&) = delete;

    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline size_t CountOf(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// Raw touch (V, W) of a sensor for a normalised target position (x, y), each -0.5 .. +0.5.
using Sensor = std::function<void(double x, double y, double& v, double& w)>;

// The ideal sensor of the default electrical model: the normalisation inverted exactly.
inline void IdealSensor(double x, double y, double& v, double& w) {
    v = 2047.5 + x * 4095.0;
    w = 2047.5 + y * 4095.0;
}

// Affine with a small rotation plus a few per cent of cubic bow, offset from the centre.
inline void BowedSensor(double x, double y, double& v, double& w) {
    const double angle = 1.5 * 3.14159265358979323846 / 180.0;
    const double rx = x * std::cos(angle) - y * std::sin(angle);
    const double ry = x * std::sin(angle) + y * std::cos(angle);
    v = 2047.5 + 35.0 + 4095.0 * 0.93 * (rx + 0.04 * rx * ry * ry * 4.0 + 0.02 * rx * rx * rx);
    w = 2047.5 - 20.0 + 4095.0 * 0.91 * (ry + 0.035 * ry * rx * rx * 4.0 + 0.02 * ry * ry * ry);
}

// A configuration held in memory: grid, layout, mini targets and touches from a sensor.
struct GridSetup {
    uint32_t Rows = 5;
    uint32_t Columns = 5;
    uint32_t Order = 3;
    uint32_t Kind = 1;
    bool Perimeter = false;
    double Magnification = 1.0;
    double MiniTargetRadius = 0.0;  // > 0 enables all eleven mini targets
    int32_t CaptionHeight = 330;
};

struct FitBench {
    ControllerParameters Parameters;
    CalibrationConfig Config;
    std::unique_ptr<CalibrationFit> Fit;

    explicit FitBench(const GridSetup& setup, const Sensor& sensor = BowedSensor) {
        CalibrationConfig& c = Config;
        c.NumGridRows = setup.Rows;
        c.NumGridColumns = setup.Columns;
        c.Perimeter = setup.Perimeter;
        c.NumGridPoints =
            setup.Perimeter ? 2 * (setup.Rows + setup.Columns) - 4 : setup.Rows * setup.Columns;
        c.PolynomialOrder = setup.Order;
        c.ModelKind = setup.Kind;
        c.CaptionHeight = setup.CaptionHeight;
        c.GridMagnification = setup.Magnification;
        if (setup.MiniTargetRadius > 0.0) {
            for (int i = 0; i < kMiniTargetSlots; ++i) {
                c.MiniTargetEnabled[i] = true;
                c.InfluenceRadius[i] = setup.MiniTargetRadius;
            }
            c.HasMiniTargets = true;
            c.MiniTargetCount = kMiniTargetSlots;
            c.DistanceOfInfluence = setup.MiniTargetRadius;
        }
        c.TargetCount = c.NumGridPoints + (c.HasMiniTargets ? kMiniTargetSlots : 0);
        BuildGridCells(c);
        BuildTargets(c);
        PlaceMiniTargets(c);
        c.Touches.assign(c.NumGridPoints + kMiniTargetSlots, TouchEntry());
        Touch(sensor);
        Fit = CreateCalibrationFit(setup.Order, setup.Kind, int32_t(c.NumGridPoints));
        LinkCalibrationFit(*Fit, Config, Parameters);
        Fit->MonitorWidth = 1920;
        Fit->MonitorHeight = 1080;
    }

    // Touches of every target (grid and mini) from the sensor.
    void Touch(const Sensor& sensor) {
        for (uint32_t i = 0; i < Config.TargetCount; ++i) {
            TouchEntry& t = Config.Touches[i];
            t.TargetNumber = int32_t(i + 1);
            sensor(Config.Targets[i].X - 0.5, Config.Targets[i].Y - 0.5, t.V, t.W);
        }
    }
};

// The largest error of the committed polynomial over the whole area, edge to edge, in mm on a
// 344.2 x 193.6 mm panel (a 15.6-inch one); infinite where the mapping is not finite.
inline double WorstErrorMm(const CalibrationFit& fit, const Sensor& sensor) {
    double worst = 0.0;
    for (int i = 0; i <= 40; ++i)
        for (int j = 0; j <= 40; ++j) {
            const double x = i / 40.0 - 0.5, y = j / 40.0 - 0.5;
            double v, w, fx, fy;
            sensor(x, y, v, w);
            if (!PredictNormalisedPosition(fit, v, w, fx, fy)) return HUGE_VAL;
            worst = std::max(worst, std::hypot((fx - x) * 344.2, (fy - y) * 193.6));
        }
    return worst;
}
