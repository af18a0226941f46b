// Test support for the history: a bowed record, a scratch history folder, a fitted example pass
// and tarnix-history run with its output captured.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "driver/quva_records.h"
#include "platform/report_file.h"
#include "tests/foundation/scratch_path.h"
#include "tools/tarnix_fit/fit_session.h"
#include "tools/tarnix_fit/tool_text.h"
#include "tools/tarnix_history/history_tool.h"

// A record of an 800 x 600 area whose mapping is nearly linear with a little bow.
inline CalibrationDataRecord BowedRecord() {
    CalibrationDataRecord r{};
    r.ScreenIndex = 0;
    r.AreaWidth = 800;
    r.AreaHeight = 600;
    r.PolynomialOrder = 3;
    r.ModelKind = 1;
    r.ControllerOffset = 2047;
    r.InverseScaleFactor = 4095;
    const int32_t x[10] = {40, 18000, 120, 300, -200, 150, 900, 0, 400, 0};
    const int32_t y[10] = {-60, -90, 18500, 100, 250, -300, 0, 500, 0, 700};
    std::memcpy(reinterpret_cast<uint8_t*>(&r) + offsetof(CalibrationDataRecord, CoeffX), x,
                sizeof x);
    std::memcpy(reinterpret_cast<uint8_t*>(&r) + offsetof(CalibrationDataRecord, CoeffY), y,
                sizeof y);
    return r;
}

inline void AddToCoefficient(CalibrationDataRecord& r, size_t offset, int32_t delta) {
    int32_t value = 0;
    std::memcpy(&value, reinterpret_cast<uint8_t*>(&r) + offset, sizeof value);
    value += delta;
    std::memcpy(reinterpret_cast<uint8_t*>(&r) + offset, &value, sizeof value);
}

// A fresh folder of the test's own; the fits' reports go there too. Folder() is its "History".
class ScratchHistory {
  public:
    ScratchHistory() {
        path_ = UniqueScratchPath("tarnix-history-test");
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        SetReportFolderOverride(path_.wstring().c_str());
    }
    ~ScratchHistory() {
        SetReportFolderOverride(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchHistory(const ScratchHistory&) = delete;
    ScratchHistory& operator=(const ScratchHistory&) = delete;

    std::wstring Folder() const { return ToolWidePath(path_ / "History"); }
    std::filesystem::path Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The shipped example fitted as a live pass on the monitor given: its touches come from the
// driver (centred on 0), its reports go to the current report folder.
inline void FitExamplePass(FitSession& pass, int32_t width, int32_t height) {
    ToolOptions options;
    options.ConfigPath = ToolWidePath(std::filesystem::path(TARNIX_EXAMPLES_DIR) / "sim-5x5.cfg");
    options.HasCaptionHeight = true;
    options.CaptionHeight = 405;
    std::string error;
    ASSERT_EQ(LoadFitSession(options, pass, error), kExitFitted) << error;
    pass.Config->MeanTouchV = pass.Config->MeanTouchW = 0.0;
    pass.Fit->MonitorWidth = width;
    pass.Fit->MonitorHeight = height;
    ASSERT_EQ(RunFitSession(pass, error), kExitFitted) << error;
}

// One run of tarnix-history: its exit status and what it printed.
struct ToolRun {
    int Status = -1;
    std::string Out, Err;
};

inline ToolRun RunTool(const std::vector<std::wstring>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ToolRun run;
    run.Status = RunTarnixHistory(args);
    run.Out = testing::internal::GetCapturedStdout();
    run.Err = testing::internal::GetCapturedStderr();
    return run;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
