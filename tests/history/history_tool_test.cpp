// tarnix-history as a program: its JSON and its exit statuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "tests/history/history_test_support.h"

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

// A mistyped --folder is no empty history: its own exit status and one line naming the folder.
// The installation's own folder is missing until a calibration is kept: an empty history.
TEST(HistoryTool, AMissingOrUnreadableFolderIsAnErrorNamingIt) {
    ScratchHistory scratch;
    const std::filesystem::path missing = scratch.Path() / "no-such";
    for (const wchar_t* command : {L"list", L"restore"}) {
        const ToolRun run = RunTool({command, L"--folder", ToolWidePath(missing)});
        EXPECT_EQ(run.Status, kHistoryNoFolder) << run.Err;
        EXPECT_EQ(run.Err, "tarnix-history: no such folder: " + missing.string() + "\n");
        EXPECT_EQ(run.Out, "");
    }
    const std::filesystem::path file = scratch.Path() / "a-file";
    std::ofstream(file) << "not a folder";
    ToolRun run = RunTool({L"list", L"--folder", ToolWidePath(file)});
    EXPECT_EQ(run.Status, kHistoryNoFolder);
    EXPECT_EQ(run.Err, "tarnix-history: not a folder: " + file.string() + "\n");

    std::filesystem::create_directories(scratch.Path() / "empty");
    run = RunTool({L"list", L"--folder", ToolWidePath(scratch.Path() / "empty")});
    EXPECT_EQ(run.Status, kHistoryDone) << run.Err;
    EXPECT_EQ(run.Out + run.Err, "");
    std::filesystem::permissions(scratch.Path() / "empty", std::filesystem::perms::none);
    std::error_code unreadable;
    std::filesystem::directory_iterator probe(scratch.Path() / "empty", unreadable);
    if (unreadable) {  // rights that read any folder leave this part out
        run = RunTool({L"list", L"--folder", ToolWidePath(scratch.Path() / "empty")});
        EXPECT_EQ(run.Status, kHistoryNoFolder);
        EXPECT_EQ(run.Err, "tarnix-history: cannot read the folder " +
                               (scratch.Path() / "empty").string() + "\n");
    }
    std::filesystem::permissions(scratch.Path() / "empty", std::filesystem::perms::owner_all);
#ifndef _WIN32
    setenv("TARNIX_REPORT_DIR", scratch.Path().c_str(), 1);
    run = RunTool({L"list", L"--json"});
    unsetenv("TARNIX_REPORT_DIR");
    EXPECT_EQ(run.Status, kHistoryDone) << run.Err;
    EXPECT_EQ(run.Out + run.Err, "");
#endif
}
