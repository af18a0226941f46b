// The plan for a calibration nobody accepted: which kept calibration leaving the Finished screen
// puts back, what the screen says, and the line the trace and the report give.
#include "app/unaccepted_calibration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

HistoryEntry Entry(const char* name, int32_t screen, int32_t left, bool accepted) {
    HistoryEntry e;
    e.Name = name;
    e.Record.ScreenIndex = screen;
    e.Record.AreaWidth = 800;
    e.Record.AreaHeight = 600;
    e.Record.AreaLeft = left;
    e.Header = ParseHistoryHeader(std::string("; Date: ") + name +
                                  "\r\n; Accepted: " + (accepted ? "yes" : "no") + "\r\n");
    return e;
}

// Oldest first: two accepted of screen 0 at (0,0), one of another area and one of screen 1, an
// unaccepted one, and the new entry.
const std::vector<HistoryEntry> kEntries = {
    Entry("a-older", 0, 0, true),        Entry("b-accepted", 0, 0, true),
    Entry("c-other-area", 0, 800, true), Entry("d-other-screen", 1, 0, true),
    Entry("e-unaccepted", 0, 0, false),  Entry("f-new", 0, 0, false),
};

}  // namespace

TEST(UnacceptedCalibration, PutsBackTheNewestAcceptedOfTheAreaWrittenBeforeTheNewOne) {
    const UnacceptedPlan plan = PlanUnaccepted(true, kEntries, kEntries[5].Record, "f-new");
    ASSERT_TRUE(plan.PutBack);
    EXPECT_EQ(plan.PutBack->Name, "b-accepted");
    EXPECT_EQ(plan.Notice, FinishedNotice::InUseUntilLeft);
    EXPECT_EQ(LeftUnacceptedLine(plan),
              "the calibration f-new was not accepted; the previous accepted calibration "
              "b-accepted (b-accepted) was put back");

    // A record that could not be kept still finds the calibration it replaced.
    const UnacceptedPlan unkept = PlanUnaccepted(true, kEntries, kEntries[3].Record, std::nullopt);
    ASSERT_TRUE(unkept.PutBack);
    EXPECT_EQ(unkept.PutBack->Name, "d-other-screen");
}

TEST(UnacceptedCalibration, TheNewOneStaysWithoutTheKeyOrAnEarlierAcceptedCalibration) {
    const UnacceptedPlan off = PlanUnaccepted(false, kEntries, kEntries[5].Record, "f-new");
    EXPECT_FALSE(off.PutBack);
    EXPECT_EQ(off.Notice, FinishedNotice::InUse);
    EXPECT_EQ(LeftUnacceptedLine(off),
              "the calibration f-new was not accepted; it stays in use (RevertUnaccepted=0)");

    // Only the unaccepted entry and the new one precede it in its area.
    const std::vector<HistoryEntry> first = {kEntries[2], kEntries[4], kEntries[5]};
    const UnacceptedPlan none = PlanUnaccepted(true, first, kEntries[5].Record, "f-new");
    EXPECT_FALSE(none.PutBack);
    EXPECT_EQ(none.Notice, FinishedNotice::InUseNoPrevious);
    EXPECT_EQ(LeftUnacceptedLine(none),
              "the calibration f-new was not accepted; it stays in "
              "use: no earlier accepted calibration of its area is known");
}

TEST(UnacceptedCalibration, TheKeyIsOnForAnyValueButZero) {
    const std::filesystem::path cfg =
        std::filesystem::temp_directory_path() / "tarnix-revert-unaccepted-test.cfg";
    auto read = [&cfg](const char* text) {
        std::ofstream(cfg, std::ios::binary) << "[TARNIX-APP]\r\n" << text;
        return ReadRevertUnaccepted(cfg.wstring().c_str());
    };
    EXPECT_FALSE(read(""));
    EXPECT_FALSE(read("RevertUnaccepted=0\r\n"));
    EXPECT_TRUE(read("RevertUnaccepted=1\r\n"));
    std::filesystem::remove(cfg);
}
