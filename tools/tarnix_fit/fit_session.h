// One offline pass of tarnix-fit: the configuration read as the program reads it, and its fit.
#pragma once

#include <memory>
#include <string>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/calibration_fit.h"
#include "fit/fit_gate.h"
#include "fit/touch_judge.h"
#include "history/history_config.h"
#include "tools/tarnix_fit/tool_options.h"

enum ToolExit : int {
    kExitFitted = 0,
    kExitFitRefused = 1,
    kExitUsage = 2,
    kExitBadInput = 3,
    kExitModelMissing = 4,
    kExitRecordFailed = 5,
    kExitInternal = 6,  // out of memory or an unexpected failure
};

struct FitSession {
    ControllerParameters Parameters;
    std::unique_ptr<CalibrationConfig> Config;
    std::unique_ptr<CalibrationFit> Fit;
    std::wstring ConfigPath;  // absolute
    // A history entry's section TARNIX-HISTORY: the pass's area, screen, caption height and touch
    // means, so that its record comes out again byte for byte.
    bool HasPlacement = false;
    HistoryPlacement Placement;
};

// Reads the configuration, the layout and the simulated touches and checks the grid size.
// kExitFitted on success, else kExitBadInput with a message.
int LoadFitSession(const ToolOptions& options, FitSession& session, std::string& error);

// The record of the session's fit as the commit would pack it: placed as the history entry says,
// else for an area of the monitor size at (0, 0), screen index 0, monitor 1. False for a fit the
// commit refuses.
bool PackSessionRecord(const FitSession& session, CalibrationDataRecord& record);

// Runs the fit chosen by the model kind. kExitFitted, kExitFitRefused or kExitModelMissing.
int RunFitSession(FitSession& session, std::string& error);

// What the calibration window would make of the session's pass: the judge of its touches (on the
// monitor size of the command line) and the quality gate with the configuration's bounds. A pass
// with more suspects than the window asks again is judged TouchesDisagree.
struct SessionJudgement {
    FitJudgement Gate;
    TouchJudgement Touches;
};
SessionJudgement JudgeFitSession(const FitSession& session);
