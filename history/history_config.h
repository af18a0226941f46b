// The configuration file of a history entry: a "Tarnix.cfg" that tarnix-fit reads as it is to fit
// the pass again (layout, model, Simulate=1 and the pass's touches), with a header of comment
// lines (date, monitor, screen, area, version, figures) and the section "TARNIX-HISTORY" that
// places the record as the pass placed it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "driver/quva_records.h"
#include "fit/calibration_fit.h"
#include "fit/calibration_record.h"
#include "history/history_entry.h"

inline constexpr const wchar_t* kHistorySection = L"TARNIX-HISTORY";

// One header figure: "; <Name>: <value with Decimals decimals>". The name ends in its unit in
// brackets, such as "RMS residual (mm)".
struct HistoryFigure {
    std::string Name;
    double Value = 0.0;
    int32_t Decimals = 3;
};

// The figures of a fitted pass: RMS and worst residual of the grid targets in pixels of the area
// and in millimetres on the glass (ScreenWidth, ScreenHeight), and millimetres per pixel.
std::vector<HistoryFigure> PassFigures(const CalibrationFit& fit,
                                       const ControllerParameters& parameters);

// What the header says besides the figures of the fit: the date, the version and the figures of the
// pass's judgement (expected error, scatter, targets asked again), written after the fit's; and
// the entry's place in the folder's sequence (0: none; keeping an entry numbers it); whether the
// person accepted the calibration (a record goes to the driver before Accept).
struct HistoryFacts {
    HistoryTime Time;
    std::string Version;
    std::vector<HistoryFigure> Judgement = {};
    uint64_t Sequence = 0;
    bool Accepted = false;
    // "; Name: text" lines of the glass size and its monitor, after the model (never figures).
    std::vector<std::pair<std::string, std::string>> GlassLines = {};
};

// The whole text, ASCII with CR LF line ends. The fit is the one the record was packed from,
// linked to config and parameters.
std::string ComposeHistoryConfig(const CalibrationDataRecord& record, const CalibrationFit& fit,
                                 const CalibrationConfig& config,
                                 const ControllerParameters& parameters, const HistoryFacts& facts,
                                 const std::vector<HistoryFigure>& figures);

// How the pass placed its record, and what of the live pass a refit needs besides the keys of
// "TARNIX-APP": the caption height that placed the mini targets and the touch means the rotation
// estimate centres on (0 for touches from the driver).
struct HistoryPlacement {
    RecordArea Area;
    int32_t ScreenIndex = 0;
    VirtualScreenMetrics VirtualScreen;
    int32_t CaptionHeight = 0;
    double MeanTouchV = 0.0;
    double MeanTouchW = 0.0;
};

// The drift bound of a configuration: "MaxDrift" in millimetres; default 3 (also for 0 or less).
inline constexpr double kDefaultMaxDrift = 3.0;
double ReadDriftBound(const wchar_t* cfgPath);

// Reads the section "TARNIX-HISTORY" of the file; false when it has none.
bool ReadHistoryPlacement(const wchar_t* cfgPath, HistoryPlacement& placement);
