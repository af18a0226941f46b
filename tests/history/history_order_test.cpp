// The history's order is the order its entries were written, whatever the clock said: pruning,
// the drift since the last entry, list, drift and restore's default all follow it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "tests/history/history_test_support.h"

namespace {

// Keeps the example pass with the clock at time, as the calibration window keeps an accepted one.
std::string Keep(const std::wstring& folder, const FitSession& pass,
                 const CalibrationDataRecord& record, const HistoryTime& time,
                 std::vector<std::string>& removed) {
    const KeptHistory kept = KeepHistoryEntry(folder, record, *pass.Fit, *pass.Config,
                                              pass.Parameters, {time, "1.0.0.0", {}});
    removed.insert(removed.end(), kept.Removed.begin(), kept.Removed.end());
    return kept.Name.value_or("(" + kept.Problem + ")");
}

}  // namespace

TEST(HistoryOrder, EntriesStandInTheOrderTheyWereWrittenWhateverTheClockSaid) {
    ScratchHistory scratch;
    const std::wstring folder = scratch.Folder();
    FitSession pass;
    ASSERT_NO_FATAL_FAILURE(FitExamplePass(pass, 800, 600));
    CalibrationDataRecord record;
    ASSERT_TRUE(PackSessionRecord(pass, record));
    // Two entries of an older version carry no sequence: they stand first, by their names.
    std::vector<std::string> written = {"20261209-235959-s0", "20261210-080000-s0"};
    ASSERT_TRUE(WriteHistoryEntry(folder, {2026, 12, 10, 8, 0, 0}, record, "; Date: old\r\n"));
    ASSERT_TRUE(WriteHistoryEntry(folder, {2026, 12, 9, 23, 59, 59}, record, "; Date: old\r\n"));
    const HistoryTime clock[] = {
        {2026, 12, 10, 9, 0, 0},   // an hour after the last entry of the older version
        {2026, 12, 10, 10, 0, 0},  // forward an hour
        {2026, 12, 10, 9, 30, 0},  // back an hour, as daylight saving ends
        {2026, 12, 10, 9, 30, 0},  // the same second again
        {2031, 6, 1, 12, 0, 0},    // forward by years
        {2000, 1, 1, 0, 5, 0},     // back by years: the clock's battery died
    };
    std::vector<std::string> removed;
    for (const HistoryTime& time : clock)
        written.push_back(Keep(folder, pass, record, time, removed));
    EXPECT_EQ(written[5], "20261210-093000-s0-2");
    EXPECT_EQ(written.back(), "20000101-000500-s0");
    EXPECT_EQ(ListHistoryEntries(folder), written);
    EXPECT_TRUE(removed.empty());

    // The window's drift, list and drift's default earlier entry follow the writing order.
    const std::optional<DriftNotice> drift = DriftSinceLastEntry(
        folder, record, GlassScaleOfRecord(record, 300.0, 225.0), kDefaultMaxDrift);
    ASSERT_TRUE(drift);
    EXPECT_EQ(drift->Entry, "20000101-000500-s0");
    EXPECT_EQ(drift->Since, "2000-01-01 00:05:00");
    const ToolRun list = RunTool({L"list", L"--folder", folder});
    ASSERT_EQ(list.Status, kHistoryDone) << list.Err;
    const std::vector<std::string> rows = Lines(list.Out);
    ASSERT_EQ(rows.size(), written.size());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].rfind(written[i], 0), 0u) << rows[i];
    const ToolRun moved = RunTool({L"drift", L"20000101-000500-s0", L"--folder", folder});
    EXPECT_NE(moved.Out.find("(20310601-120000-s0) and 2000-01-01 00:05:00"), std::string::npos)
        << moved.Out << moved.Err;
    // Restore's default: the entry before the last of the last entry's area.
    const std::vector<HistoryEntry> entries = ReadHistory(folder);
    ASSERT_EQ(entries.size(), written.size());
    EXPECT_EQ(entries[*EarlierEntryOfArea(entries, entries.back().Record, entries.size() - 1)].Name,
              "20310601-120000-s0");

    // With the clock still in 2000, the bound removes the entries written first: the older
    // version's, then the first numbered one, never the calibration just accepted.
    for (int32_t second = 1; second <= 15; ++second)
        written.push_back(Keep(folder, pass, record, {2000, 1, 1, 0, 5, second}, removed));
    EXPECT_EQ(removed, (std::vector<std::string>{"20261209-235959-s0", "20261210-080000-s0",
                                                 "20261210-090000-s0"}));
    EXPECT_EQ(ListHistoryEntries(folder),
              std::vector<std::string>(written.begin() + 3, written.end()));
    HistoryEntry last;
    std::string error;
    ASSERT_TRUE(ReadHistoryEntry(folder, written.back(), last, error)) << error;
    EXPECT_EQ(last.Header.Sequence(), 21u);
}
