// Every record sent is kept, marked accepted or not; the entry the driver holds is the newest of
// its screen until a calibration is put back, and list, show, the window's drift and restore's
// default start from it.
#include "history/history_live.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "tests/history/history_test_support.h"

namespace {

class LiveHistory : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FitExamplePass(pass_, 800, 600));
        ASSERT_TRUE(PackSessionRecord(pass_, record_));
    }

    // Keeps the example pass as the window keeps a record on reaching the driver.
    std::string Keep(const CalibrationDataRecord& record, int32_t minute, bool accepted) {
        const KeptHistory kept =
            KeepHistoryEntry(folder_, record, *pass_.Fit, *pass_.Config, pass_.Parameters,
                             {{2026, 12, 10, 9, minute, 0}, "1.0.0.0", {}, 0, accepted});
        return kept.Name.value_or("(" + kept.Problem + ")");
    }

    std::string LiveName() {
        const std::vector<HistoryEntry> entries = ReadHistory(folder_);
        const std::optional<size_t> live = LiveEntryInFolder(folder_, entries, 0);
        return live ? entries[*live].Name : "(none)";
    }

    void PutBack(const std::string& name) {
        const std::vector<HistoryEntry> entries = ReadHistory(folder_);
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].Name == name) {
                ASSERT_TRUE(NotePutBack(folder_, entries, i));
            }
        }
    }

    ScratchHistory scratch_;
    const std::wstring folder_ = scratch_.Folder();
    FitSession pass_;
    CalibrationDataRecord record_{};
};

// A record moved by shift pixels across (the constant term of x, scaled as the record keeps it).
CalibrationDataRecord Shifted(CalibrationDataRecord record, int32_t counts) {
    AddToCoefficient(record, offsetof(CalibrationDataRecord, CoeffX), counts);
    return record;
}

}  // namespace

TEST_F(LiveHistory, EveryRecordIsKeptMarkedAndTheNewestOfItsScreenIsLive) {
    const std::string first = Keep(record_, 0, false);
    ASSERT_TRUE(MarkEntryAccepted(folder_, first));
    const std::string second = Keep(Shifted(record_, 5000), 1, false);
    // An entry of an older version has no line and counts as accepted; a mark of an accepted one
    // changes nothing.
    ASSERT_TRUE(WriteHistoryEntry(folder_, {2026, 12, 9, 8, 0, 0}, record_, "; Date: old\r\n"));
    EXPECT_TRUE(MarkEntryAccepted(folder_, first));
    EXPECT_FALSE(MarkEntryAccepted(folder_, "20261201-000000-s0"));

    const std::vector<HistoryEntry> entries = ReadHistory(folder_);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].Header.Accepted());
    EXPECT_TRUE(entries[1].Header.Accepted());
    EXPECT_FALSE(entries[2].Header.Accepted());
    EXPECT_NE(entries[1].ConfigText.find("\r\n; Accepted: yes\r\n"), std::string::npos);
    EXPECT_EQ(LiveName(), second);  // not accepted, but the driver holds it

    const ToolRun json = RunTool({L"list", L"--json", L"--folder", folder_});
    ASSERT_EQ(json.Status, kHistoryDone) << json.Err;
    const std::vector<std::string> rows = Lines(json.Out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[0].find("\"accepted\":true,\"live\":false}"), std::string::npos) << rows[0];
    EXPECT_NE(rows[1].find("\"accepted\":true,\"live\":false}"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find("\"accepted\":false,\"live\":true}"), std::string::npos) << rows[2];
    const ToolRun list = RunTool({L"list", L"--folder", folder_});
    EXPECT_TRUE(Lines(list.Out).at(2).ends_with("  not accepted  live")) << list.Out;
    EXPECT_FALSE(Lines(list.Out).at(1).ends_with("live")) << list.Out;
    const ToolRun show =
        RunTool({L"show", std::wstring(first.begin(), first.end()), L"--folder", folder_});
    EXPECT_NE(show.Out.find("\nAccepted: yes\n"), std::string::npos) << show.Out;
    EXPECT_NE(show.Out.find("\nLive: no\n"), std::string::npos) << show.Out;
}

TEST_F(LiveHistory, APutBackCalibrationIsLiveUntilANewerEntryOfItsScreen) {
    const std::string accepted = Keep(record_, 0, true);
    const std::string other = Keep(Shifted(record_, 5000), 1, false);
    EXPECT_EQ(LiveName(), other);
    ASSERT_NO_FATAL_FAILURE(PutBack(accepted));
    EXPECT_EQ(LiveName(), accepted);
    const ToolRun show = RunTool({L"show", L"20261210-090000-s0", L"--folder", folder_});
    EXPECT_NE(show.Out.find("\nLive: yes\n"), std::string::npos) << show.Out;

    // The window's drift compares with what the driver holds, not with the entry written last.
    const std::optional<DriftNotice> drift = DriftSinceLastEntry(
        folder_, record_, GlassScaleOfRecord(record_, 300.0, 225.0), kDefaultMaxDrift);
    ASSERT_TRUE(drift);
    EXPECT_EQ(drift->Entry, accepted);
    EXPECT_NEAR(drift->MaxMm, 0.0, 1e-9);

    // A newer entry of the screen is live again, put back or not.
    const std::string newer = Keep(record_, 2, false);
    EXPECT_EQ(LiveName(), newer);
    const std::optional<LiveNote> note = ReadLiveNote(folder_, 0);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->Entry, accepted);
    EXPECT_EQ(note->NewestThen, other);
}

// A pass that puts a screen on another monitor, or on another tile of its size, is told of the
// entry the driver held; the same area, or a new resolution of the same monitor, is not a move.
TEST_F(LiveHistory, APassOnAnotherMonitorOrTileNamesTheAreaTheScreenWasCalibratedFor) {
    const auto anotherArea = [this](const CalibrationDataRecord& record) {
        const std::vector<HistoryEntry> entries = ReadHistory(folder_);
        const std::optional<size_t> held = LiveEntryOfAnotherArea(folder_, entries, record);
        return held ? entries[*held].Name : "(none)";
    };
    EXPECT_EQ(anotherArea(record_), "(none)");  // no entry of the screen yet
    const std::string kept = Keep(record_, 0, true);
    EXPECT_EQ(anotherArea(Shifted(record_, 900)), "(none)");

    CalibrationDataRecord monitor2 = record_;
    monitor2.MonitorNumber = record_.MonitorNumber + 1;
    monitor2.AreaLeft = -800;
    EXPECT_EQ(anotherArea(monitor2), kept);
    CalibrationDataRecord nextTile = record_;
    nextTile.AreaLeft = record_.AreaLeft + record_.AreaWidth;
    EXPECT_EQ(anotherArea(nextTile), kept);
    CalibrationDataRecord newResolution = record_;
    newResolution.AreaWidth = 1024;
    newResolution.AreaHeight = 768;
    EXPECT_EQ(anotherArea(newResolution), "(none)");

    monitor2.ScreenIndex = 1;  // another screen's sensor: its own history
    EXPECT_EQ(anotherArea(monitor2), "(none)");
}

// A screen's first calibration on one of several areas is told, since nothing earlier tells where
// its sensor sits; one that covers the whole desktop, or a screen calibrated before, is not.
TEST_F(LiveHistory, AFirstCalibrationIsToldOnlyOnOneOfSeveralAreas) {
    CalibrationDataRecord one = record_;
    one.VirtualScreenWidth = one.AreaWidth;
    one.VirtualScreenHeight = one.AreaHeight;
    CalibrationDataRecord ofTwo = one;
    ofTwo.VirtualScreenWidth = one.AreaWidth + 1024;
    EXPECT_FALSE(FirstCalibrationAmongAreas(ReadHistory(folder_), one));
    EXPECT_TRUE(FirstCalibrationAmongAreas(ReadHistory(folder_), ofTwo));
    Keep(ofTwo, 0, false);
    EXPECT_FALSE(FirstCalibrationAmongAreas(ReadHistory(folder_), ofTwo));
    ofTwo.ScreenIndex = 1;
    EXPECT_TRUE(FirstCalibrationAmongAreas(ReadHistory(folder_), ofTwo));
}

TEST(LiveEntry, TheNoteCountsOnlyForItsScreenAndWhileItsNewestIsTheNewest) {
    auto entry = [](const char* name, int32_t screen, const char* header) {
        HistoryEntry e;
        e.Name = name;
        e.Record = BowedRecord();
        e.Record.ScreenIndex = screen;
        e.Header = ParseHistoryHeader(header);
        return e;
    };
    std::vector<HistoryEntry> entries = {
        entry("20261210-090000-s0", 0, "; Accepted: yes\r\n"),
        entry("20261210-090100-s1", 1, "; Accepted: yes\r\n"),
        entry("20261210-090200-s0", 0, "; Accepted: no\r\n"),
        entry("20261210-090300-s1", 1, "; Accepted: no\r\n"),
    };
    const LiveNote note{"20261210-090000-s0", "20261210-090200-s0"};
    EXPECT_EQ(LiveEntryOfScreen(entries, 0, std::nullopt), 2u);
    EXPECT_EQ(LiveEntryOfScreen(entries, 0, note), 0u);
    EXPECT_EQ(LiveEntryOfScreen(entries, 1, note), 3u);
    EXPECT_EQ(LiveEntryOfScreen(entries, 2, note), std::nullopt);
    // A note naming an entry pruned since leaves the newest live.
    EXPECT_EQ(LiveEntryOfScreen(entries, 0, LiveNote{"20261201-000000-s0", entries[2].Name}), 2u);
    // The newest accepted entry of the screen and area before a position.
    EXPECT_EQ(AcceptedEntryOfArea(entries, entries[2].Record, 4), 0u);
    EXPECT_EQ(AcceptedEntryOfArea(entries, entries[3].Record, 4), 1u);
    EXPECT_EQ(AcceptedEntryOfArea(entries, entries[3].Record, 1), std::nullopt);
    CalibrationDataRecord moved = entries[2].Record;
    moved.AreaLeft = 800;
    EXPECT_EQ(AcceptedEntryOfArea(entries, moved, 4), std::nullopt);
}
