// tarnix-fleet as a program on a generated fleet: the JSON summary and the HTML page put the
// kiosks with a shifted sensor first; broken exports are reported and the rest is read.
#include "tools/tarnix_fleet/fleet_tool.h"

#include <gtest/gtest.h>

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
    const FleetRun missing = RunFleet({L"/no/such/folder"});
    EXPECT_EQ(missing.Status, kFleetNothingRead);
    EXPECT_NE(missing.Err.find("/no/such/folder: no such file or folder"), std::string::npos);
}
