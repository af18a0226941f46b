// tarnix-history as a program: its JSON, its exit statuses and the order it lists entries in.
#include "tools/tarnix_history/history_tool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "tests/history/history_test_support.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

struct ToolRun {
    int Status = -1;
    std::string Out, Err;
};

ToolRun RunTool(const std::vector<std::wstring>& args) {
    CaptureStdout();
    CaptureStderr();
    ToolRun run;
    run.Status = RunTarnixHistory(args);
    run.Out = GetCapturedStdout();
    run.Err = GetCapturedStderr();
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

// Figures that are not finite, in an entry of an older version ("nan", "-inf") and in a pass whose
// judgement knows none: the header says "not known", list --json says null, never nan or inf.
TEST(HistoryTool, JsonSaysNullForAFigureThatIsNotFinite) {
    ScratchHistory scratch;
    FitSession pass;
    ASSERT_NO_FATAL_FAILURE(FitExamplePass(pass, 800, 600));
    CalibrationDataRecord sent;
    ASSERT_TRUE(PackSessionRecord(pass, sent));
    ASSERT_TRUE(WriteHistoryEntry(scratch.Folder(), {2026, 12, 9, 13, 0, 0}, sent,
                                  "; Date: 2026-12-09 13:00:00\r\n; Expected error (mm): nan\r\n"
                                  "; Touch scatter (mm): -inf\r\n[TARNIX-APP]\r\n"));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const HistoryFacts facts{{2026, 12, 9, 14, 0, 0},
                             "1.0.0.0",
                             {{"Expected error (mm)", nan, 3}, {"Touch scatter (mm)", inf, 3}}};
    const KeptHistory kept =
        KeepHistoryEntry(scratch.Folder(), sent, *pass.Fit, *pass.Config, pass.Parameters, facts);
    ASSERT_TRUE(kept.Name) << kept.Problem;
    HistoryEntry entry;
    std::string error;
    ASSERT_TRUE(ReadHistoryEntry(scratch.Folder(), *kept.Name, entry, error)) << error;
    EXPECT_NE(entry.ConfigText.find("; Expected error (mm): not known\r\n"), std::string::npos);
    EXPECT_NE(entry.ConfigText.find("; Touch scatter (mm): not known\r\n"), std::string::npos);

    const ToolRun list = RunTool({L"list", L"--json", L"--folder", scratch.Folder()});
    EXPECT_EQ(list.Status, kHistoryDone) << list.Err;
    const std::vector<std::string> rows = Lines(list.Out);
    ASSERT_EQ(rows.size(), 2u) << list.Out;
    for (const std::string& row : rows) {
        EXPECT_NE(row.find("\"Expected error (mm)\":null"), std::string::npos) << row;
        EXPECT_NE(row.find("\"Touch scatter (mm)\":null"), std::string::npos) << row;
        EXPECT_EQ(row.find("nan"), std::string::npos) << row;
        EXPECT_EQ(row.find("inf"), std::string::npos) << row;
    }
    EXPECT_NE(rows[1].find("\"RMS residual (mm)\":0."), std::string::npos) << rows[1];
    EXPECT_NE(rows[1].find("\"drift_mm\":0.000"), std::string::npos) << rows[1];
}
