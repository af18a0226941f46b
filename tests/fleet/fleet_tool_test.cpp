// tarnix-fleet as a program on a generated fleet: the JSON summary and the HTML page put the
// kiosks with a shifted sensor first; broken exports are reported and the rest is read.
#include "tools/tarnix_fleet/fleet_tool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/fleet/fleet_test_support.h"
#include "tools/tarnix_fleet/fleet_report.h"
#include "tools/tool_json/json_value.h"

namespace {

struct FleetRun {
    int Status = -1;
    std::string Out, Err;
};

FleetRun RunFleet(const std::vector<std::wstring>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    FleetRun run;
    run.Status = RunTarnixFleet(args);
    run.Out = testing::internal::GetCapturedStdout();
    run.Err = testing::internal::GetCapturedStderr();
    return run;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(FleetTool, TheSummaryAndThePageListTheShiftedKiosksFirst) {
    GeneratedFleet fleet(ExampleFleet());
    std::ofstream(fleet.Exports() / "broken.json") << "{\"SchemaVersion\":1,";
    const std::filesystem::path summary = fleet.Root() / "fleet.json";
    const FleetRun json = RunFleet({ToolWidePath(fleet.Exports()), L"--json", L"--out",
                                    ToolWidePath(summary), L"--bound", L"2.5"});
    ASSERT_EQ(json.Status, kFleetDone) << json.Err;
    EXPECT_NE(json.Err.find("broken.json: at byte "), std::string::npos) << json.Err;
    std::ostringstream text;
    text << std::ifstream(summary).rdbuf();
    std::string error;
    const std::optional<JsonValue> document = ParseJson(text.str(), error);
    ASSERT_TRUE(document) << error;
    EXPECT_EQ(document->NumberAt("BoundMm"), 2.5);
    const JsonValue& kiosks = *document->Find("Kiosks");
    ASSERT_EQ(kiosks.Items.size(), 17u);
    for (size_t i = 0; i < kiosks.Items.size(); ++i) {
        const JsonValue& k = kiosks.Items[i];
        EXPECT_EQ(k.Find("DiffersFromSiblings")->Bool, i < 3) << i;
        EXPECT_EQ(k.TextAt("Finding").has_value(), i < 3) << i;
        EXPECT_EQ(k.Find("Chart")->Items.size(), 3u);
    }
    EXPECT_EQ(kiosks.Items[0].TextAt("Finding"), kDiffersText);
    EXPECT_EQ(document->Find("Problems")->Items.size(), 1u);

    const FleetRun page = RunFleet({ToolWidePath(fleet.Exports())});
    ASSERT_EQ(page.Status, kFleetDone) << page.Err;
    EXPECT_TRUE(page.Out.starts_with("<!DOCTYPE html>"));
    EXPECT_EQ(Count(page.Out, kDiffersText), 3u);
    EXPECT_EQ(Count(page.Out, "<svg "), 17u);
    EXPECT_EQ(Count(page.Out, "<script"), 0u);
    EXPECT_LT(page.Out.rfind("<tr class=\"differs\">"), page.Out.find("kiosk-01"));
    EXPECT_NE(page.Out.find("17 kiosks, 3 differing"), std::string::npos);
}

TEST(FleetTool, UsageAndNothingToRead) {
    EXPECT_EQ(RunFleet({}).Status, kFleetUsage);
    EXPECT_EQ(RunFleet({L"x", L"--bound", L"-1"}).Status, kFleetUsage);
    EXPECT_EQ(RunFleet({L"x", L"--frobnicate"}).Status, kFleetUsage);
    EXPECT_EQ(RunFleet({L"x", L"--typical-record", L"M"}).Status, kFleetUsage);
    EXPECT_EQ(RunFleet({L"--seed", L"folder", L"x"}).Status, kFleetUsage);
    EXPECT_EQ(RunFleet({L"x", L"--out"}).Status, kFleetUsage);
    const FleetRun missing = RunFleet({L"/no/such/folder"});
    EXPECT_EQ(missing.Status, kFleetNothingRead);
    EXPECT_NE(missing.Err.find("/no/such/folder: no such file or folder"), std::string::npos);
}

// The typical record of a model: the medians leave the three moved sensors out; it is an entry
// that tarnix-history lists, and --seed copies with a Tarnix.cfg into a new installation.
TEST(FleetTool, TheTypicalRecordOfAModelIsAnEntryOfTheUnmovedSiblings) {
    GeneratedFleet fleet(ExampleFleet());
    const std::wstring folder = ToolWidePath(fleet.Root() / "seed");
    const FleetRun run =
        RunFleet({L"--typical-record", L"ABC T22", folder, ToolWidePath(fleet.Exports())});
    ASSERT_EQ(run.Status, kFleetDone) << run.Err;
    EXPECT_NE(run.Out.find("from 12 kiosks"), std::string::npos) << run.Out;
    const std::vector<HistoryEntry> entries = ReadHistory(folder);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(run.Out.find("tarnix-history restore " + entries[0].Name), std::string::npos);
    const CalibrationDataRecord& typical = entries[0].Record;
    int32_t x0 = 0, y2 = 0;
    std::memcpy(
        &x0, reinterpret_cast<const uint8_t*>(&typical) + offsetof(CalibrationDataRecord, CoeffX),
        4);
    std::memcpy(
        &y2,
        reinterpret_cast<const uint8_t*>(&typical) + offsetof(CalibrationDataRecord, CoeffY) + 8,
        4);
    EXPECT_NEAR(x0, 40, 8);  // the moved ones are 140 counts further
    EXPECT_NEAR(y2, 18500, 8);
    EXPECT_EQ(int32_t(typical.AreaWidth), 1920);  // a copy: the record is packed
    EXPECT_EQ(entries[0].Header.Value("Monitor model"), "T22");
    EXPECT_TRUE(entries[0].Header.Accepted());

    testing::internal::CaptureStdout();
    const int listed = RunTarnixHistory({L"list", L"--folder", folder});
    const std::string list = testing::internal::GetCapturedStdout();
    EXPECT_EQ(listed, kHistoryDone);
    EXPECT_NE(list.find(entries[0].Name), std::string::npos) << list;

#ifndef _WIN32  // the Windows build's support folder is the program's own
    // The seed folder, with a Tarnix.cfg beside the entry, seeds an installation.
    std::ofstream(fleet.Root() / "seed" / "Tarnix.cfg") << "[TARNIX-APP]\nMaxDrift=1.5\n";
    const std::filesystem::path support = fleet.Root() / "installation";
    std::filesystem::create_directories(support);
    ::setenv("TARNIX_SUPPORT_DIR", support.c_str(), 1);
    const FleetRun seeded = RunFleet({L"--seed", folder});
    ::unsetenv("TARNIX_SUPPORT_DIR");
    EXPECT_EQ(seeded.Status, kFleetDone) << seeded.Err;
    const std::string& said = seeded.Out;
    EXPECT_NE(said.find("Seeded Tarnix.cfg\nSeeded " + entries[0].Name), std::string::npos) << said;
    std::ostringstream config;
    config << std::ifstream(support / "Tarnix.cfg").rdbuf();
    EXPECT_EQ(config.str(), "[TARNIX-APP]\nMaxDrift=1.5\n");
    const std::vector<HistoryEntry> seed = ReadHistory(ToolWidePath(support / "Seed"));
    ASSERT_EQ(seed.size(), 1u);
    EXPECT_EQ(std::memcmp(&seed[0].Record, &typical, sizeof typical), 0);
#endif

    const FleetRun few =
        RunFleet({L"--typical-record", L"ABC T99", folder, ToolWidePath(fleet.Exports())});
    EXPECT_EQ(few.Status, kFleetNothingRead);
    EXPECT_NE(few.Err.find("no typical record of ABC T99"), std::string::npos) << few.Err;
}
