// A verification: its places away from the grid, its verdict and sentence, its history entry that
// never counts as a calibration, and the plan read from the history.
#include "fit/verification.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/verify_plan.h"
#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "history/history_live.h"
#include "history/verification_entry.h"
#include "tests/history/history_test_support.h"
#include "tools/tool_json/json_value.h"

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;

std::vector<TargetPoint> Grid5x5() {
    std::vector<TargetPoint> grid;
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column)
            grid.push_back({(column + 0.5) / 5, (row + 0.5) / 5});
    return grid;
}

double PixelsApart(double fx0, double fy0, double fx1, double fy1) {
    return std::hypot((fx1 - fx0) * kWidth, (fy1 - fy0) * kHeight);
}

}  // namespace

TEST(VerificationPlaces, OneNearEachCornerAndOneNearTheCentreAllClearOfTheGrid) {
    const std::vector<TargetPoint> grid = Grid5x5();
    const std::vector<CheckPlace> places = VerificationPlaces(grid, kWidth, kHeight, 45.0);
    ASSERT_EQ(places.size(), 5u);
    const double corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_LT(std::abs(places[k].Fx - corners[k][0]), 0.15) << k;
        EXPECT_LT(std::abs(places[k].Fy - corners[k][1]), 0.15) << k;
    }
    EXPECT_LT(PixelsApart(places[4].Fx, places[4].Fy, 0.5, 0.5), 200.0);
    for (const CheckPlace& p : places) {
        EXPECT_GE(std::min({p.Fx, p.Fy, 1 - p.Fx, 1 - p.Fy}), kCheckEdgeMargin);
        EXPECT_GE(std::min({p.Fx, 1 - p.Fx}) * kWidth, 45.0);  // the target shows whole
        EXPECT_GE(std::min({p.Fy, 1 - p.Fy}) * kHeight, 45.0);
        EXPECT_EQ(p.ExpectedMm, 0.0);
        for (const TargetPoint& t : grid)  // half the grid's smaller step (216 px)
            EXPECT_GE(PixelsApart(p.Fx, p.Fy, t.X, t.Y), 108.0) << p.Fx << "," << p.Fy;
    }
}

TEST(VerificationPlaces, NoneWithoutAnArea) {
    EXPECT_TRUE(VerificationPlaces(Grid5x5(), 0, kHeight, 45.0).empty());
    EXPECT_TRUE(VerificationPlaces(Grid5x5(), kWidth, kHeight, kHeight).empty());  // all edge
}

TEST(VerificationVerdict, WithinOnlyWhenEveryPlaceIsTouchedWithinTheBound) {
    // The requirement's 1 mm inside, 2.5 times a person's 1 mm per axis, the pixel's diagonal.
    EXPECT_NEAR(VerificationBoundMm(0.4), 1.0 + 2.5 + 0.4, 1e-12);
    VerificationResult result{{0.4, 0.7, 0.6, 0.9}, 3.0};
    EXPECT_TRUE(result.Within(4));
    EXPECT_EQ(VerificationSentence(result, 4),
              "Verified at 4 places: 0.4, 0.7, 0.6 and 0.9 mm: within the requirement");
    EXPECT_FALSE(result.Within(5));  // a place left untouched
    result.MissesMm[2] = 3.01;
    EXPECT_FALSE(result.Within(4));
    EXPECT_EQ(VerificationSentence(result, 4),
              "Verified at 4 places: 0.4, 0.7, 3.0 and 0.9 mm: not within the requirement");
    result.MissesMm[2] = std::numeric_limits<double>::quiet_NaN();  // not mapped by the record
    EXPECT_FALSE(result.Within(4));
    EXPECT_FALSE(VerificationResult{}.Within(0));
}

TEST(VerificationEntry, ItsHeaderSaysItsKindWhatItVerifiedAndEachMiss) {
    VerificationFacts facts{{2026, 12, 10, 9, 30, 0}, "1.0.0.0",
                            "20261210-090000-s0",     {{0.1, 0.1, 0}, {0.9, 0.9, 0}},
                            {{0.412, 5.5}, 3.9},      7};
    const HistoryHeader header =
        ParseHistoryHeader(ComposeVerificationConfig(BowedRecord(), facts));
    EXPECT_TRUE(header.Verification());
    EXPECT_EQ(header.Value("Kind"), "verification");
    EXPECT_EQ(header.Sequence(), 7u);
    EXPECT_EQ(header.Value("Verified entry"), "20261210-090000-s0");
    EXPECT_EQ(header.Figure("Verify miss 1 (mm)"), 0.41);
    EXPECT_EQ(header.Figure("Verify miss 2 (mm)"), 5.5);
    EXPECT_EQ(header.Figure("Verify bound (mm)"), 3.9);
    EXPECT_EQ(header.Value("Within the requirement"), "no");
    EXPECT_FALSE(ParseHistoryHeader("; Date: 2026-12-10 09:00:00\r\n").Verification());
}

namespace {

class VerifiedHistory : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FitExamplePass(pass_, 800, 600));
        ASSERT_TRUE(PackSessionRecord(pass_, record_));
    }

    std::string KeepCalibration(int32_t minute) {
        const KeptHistory kept =
            KeepHistoryEntry(folder_, record_, *pass_.Fit, *pass_.Config, pass_.Parameters,
                             {{2026, 12, 10, 9, minute, 0}, "1.0.0.0", {}, 0, true});
        return kept.Name.value_or("(" + kept.Problem + ")");
    }

    std::string KeepVerified(const VerifyPlan& plan, int32_t minute, int32_t second) {
        const VerificationFacts facts{{2026, 12, 10, 10, minute, second},
                                      "1.0.0.0",
                                      plan.Entry,
                                      plan.Places,
                                      {std::vector<double>(plan.Places.size(), 0.5), plan.BoundMm}};
        return KeepVerification(folder_, plan.Record, facts).value_or("(not kept)");
    }

    ScratchHistory scratch_;
    const std::wstring folder_ = scratch_.Folder();
    FitSession pass_;
    CalibrationDataRecord record_{};
};

}  // namespace

TEST_F(VerifiedHistory, NothingToVerifyWithoutACalibrationOfTheScreen) {
    const VerifyPlanning none = PlanVerification(folder_, 0);
    EXPECT_FALSE(none.Plan);
    EXPECT_EQ(none.Refusal, VerifyRefusal::NoCalibration);
}

TEST_F(VerifiedHistory, AVerificationIsNeverLiveRestoredComparedOrPrunedForACalibration) {
    const std::string calibration = KeepCalibration(0);
    const VerifyPlanning planning = PlanVerification(folder_, 0);
    ASSERT_TRUE(planning.Plan);
    const VerifyPlan& plan = *planning.Plan;
    EXPECT_EQ(plan.Entry, calibration);
    EXPECT_GE(plan.Places.size(), 3u);
    EXPECT_GT(plan.BoundMm, 2.5 * std::sqrt(2.0));
    // More verifications than the bound of a screen's entries: the calibration stays.
    for (int32_t k = 0; k < int32_t(kHistoryEntriesPerScreen) + 3; ++k)
        KeepVerified(plan, k / 60, k % 60);
    const std::vector<HistoryEntry> entries = ReadHistory(folder_);
    ASSERT_EQ(entries.size(), kHistoryEntriesPerScreen + 1);
    EXPECT_EQ(entries.front().Name, calibration);
    EXPECT_TRUE(entries.back().Header.Verification());
    EXPECT_EQ(LiveEntryInFolder(folder_, entries, 0), 0u);
    EXPECT_EQ(AcceptedEntryOfArea(entries, record_, entries.size()), 0u);
    EXPECT_EQ(EarlierEntryOfArea(entries, record_, entries.size()), 0u);
    const VerifyPlanning again = PlanVerification(folder_, 0);
    ASSERT_TRUE(again.Plan);
    EXPECT_EQ(again.Plan->Entry, calibration);

    const std::wstring newest(entries.back().Name.begin(), entries.back().Name.end());
    const ToolRun list = RunTool({L"list", L"--folder", folder_});
    const std::vector<std::string> rows = Lines(list.Out);
    ASSERT_EQ(rows.size(), entries.size()) << list.Out;
    EXPECT_TRUE(rows.front().ends_with("  live")) << rows.front();
    EXPECT_NE(rows.back().find("verification of " + calibration +
                               "  missed at most 0.50 mm  "
                               "within"),
              std::string::npos)
        << rows.back();
    const ToolRun json = RunTool({L"list", L"--json", L"--folder", folder_});
    EXPECT_NE(Lines(json.Out).back().find("\"kind\":\"verification\""), std::string::npos);
    // Nobody accepts a verification: neither list --json nor the export calls it accepted.
    EXPECT_NE(Lines(json.Out).back().find("\"accepted\":null"), std::string::npos)
        << Lines(json.Out).back();
    EXPECT_NE(Lines(json.Out).front().find("\"accepted\":true"), std::string::npos);
    std::string error;
    const std::optional<JsonValue> exported =
        ParseJson(RunTool({L"export", L"--folder", folder_}).Out, error);
    ASSERT_TRUE(exported) << error;
    const JsonValue& last = exported->Find("Entries")->Items.back();
    EXPECT_EQ(last.TextAt("Kind"), "verification");
    EXPECT_EQ(last.Find("Accepted")->Type, JsonValue::Kind::Null);
    EXPECT_EQ(exported->Find("Entries")->Items.front().Find("Accepted")->Type,
              JsonValue::Kind::Bool);

    const ToolRun show = RunTool({L"show", newest, L"--folder", folder_});
    EXPECT_NE(show.Out.find("\nKind: verification\n"), std::string::npos) << show.Out;
    EXPECT_NE(show.Out.find("\nLive: no\n"), std::string::npos) << show.Out;
    EXPECT_EQ(RunTool({L"restore", newest, L"--folder", folder_}).Status, kHistoryBadEntry);
    EXPECT_EQ(RunTool({L"drift", newest, L"--folder", folder_}).Status, kHistoryBadEntry);
}
