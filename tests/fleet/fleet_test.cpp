// The fleet report's core on a generated fleet: exports read back into kiosks, each model's
// kiosks compared with their typical mapping, the shifted ones first.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/fleet/fleet_test_support.h"
#include "tools/tarnix_fleet/export_reader.h"
#include "tools/tarnix_fleet/fleet_inputs.h"
#include "tools/tarnix_fleet/fleet_report.h"
#include "tools/tarnix_fleet/sibling_compare.h"

namespace {

std::vector<FleetKiosk> ReadAll(const std::filesystem::path& folder) {
    std::vector<std::string> missing;
    std::vector<FleetKiosk> kiosks;
    for (const auto& file : ExportFiles({folder}, missing)) {
        std::string bytes, error;
        EXPECT_TRUE(ReadWholeFile(file, bytes));
        EXPECT_TRUE(ReadExportDocument(bytes, file.string(), kiosks, error)) << error;
    }
    return kiosks;
}

}  // namespace

TEST(FleetReport, ThreeKiosksWithAShiftedSensorComeFirstFlagged) {
    GeneratedFleet fleet(ExampleFleet());
    const FleetReport report = BuildFleetReport(ReadAll(fleet.Exports()), {}, kSiblingBoundMm);
    ASSERT_EQ(report.Kiosks.size(), 17u);
    std::set<std::string> first;
    for (size_t i = 0; i < 3; ++i) {
        const FleetKiosk& k = report.Kiosks[i];
        first.insert(k.Machine);
        EXPECT_TRUE(k.DiffersFromSiblings) << k.Machine;
        EXPECT_NEAR(k.SiblingDeviationMm.value_or(0), kSensorShiftMm, 0.6) << k.Machine;
        EXPECT_NEAR(k.DriftSinceFirstMm.value_or(0), kSensorShiftMm, 0.6) << k.Machine;
        EXPECT_EQ(k.Siblings, 12);
    }
    EXPECT_EQ(first, (std::set<std::string>{"kiosk-05", "kiosk-08", "kiosk-11"}));
    for (size_t i = 3; i < report.Kiosks.size(); ++i) {
        const FleetKiosk& k = report.Kiosks[i];
        EXPECT_FALSE(k.DiffersFromSiblings) << k.Machine;
        if (k.Machine == "unnamed") {
            EXPECT_FALSE(k.SiblingDeviationMm);  // no model: not compared
        } else {
            EXPECT_LT(k.SiblingDeviationMm.value_or(99), 0.6) << k.Machine;
        }
        if (i > 3) {
            EXPECT_LT(report.Kiosks[i - 1].Machine, k.Machine);
        }
    }
    ASSERT_EQ(report.Models.size(), 2u);
    EXPECT_EQ(report.Models[0].Name, "ABC T15");
    EXPECT_EQ(report.Models[1].Name, "ABC T22");
    EXPECT_EQ(report.Models[1].Differing, 3);
}

// What a kiosk carries from its export: its monitor, the calibration in use and its history.
TEST(FleetReport, AKioskCarriesItsMonitorLastCalibrationAndChart) {
    GeneratedFleet fleet({{"kiosk-01", "T22", true}});
    const std::vector<FleetKiosk> kiosks = ReadAll(fleet.Exports());
    ASSERT_EQ(kiosks.size(), 1u);
    const FleetKiosk& k = kiosks[0];
    EXPECT_EQ(k.Machine, "kiosk-01");
    EXPECT_EQ(ModelKey(k), "ABC T22");
    EXPECT_EQ(k.Serial, "SN-kiosk-01");
    EXPECT_DOUBLE_EQ(k.GlassWidthMm, 476.6);
    EXPECT_EQ(k.LastDate, "2026-11-03 10:00:00");
    EXPECT_EQ(k.AccuracyMm, 0.4);
    EXPECT_EQ(k.Calibrations, 3);
    ASSERT_EQ(k.Chart.size(), 3u);
    EXPECT_FALSE(k.Chart[0].DriftSinceFirstMm);
    EXPECT_LT(k.Chart[1].DriftSinceFirstMm.value_or(9), 0.6);
    EXPECT_NEAR(k.Chart[2].DriftSinceFirstMm.value_or(0), kSensorShiftMm, 0.6);
    ASSERT_TRUE(k.Record);
    // Copied out of the packed record: a reference to its fields would be misaligned.
    const int32_t areaWidth = k.Record->AreaWidth, order = k.Record->PolynomialOrder;
    EXPECT_EQ(areaWidth, 1920);
    EXPECT_EQ(order, 3);
}

// Exports that are not ones this program reads are refused whole with a reason; entries of a
// kind it does not compare (verifications) are counted, not taken for calibrations.
TEST(FleetReport, OtherDocumentsAreRefusedAndVerificationsCounted) {
    const std::string screen =
        "\"Screens\":[{\"Screen\":0,\"Maker\":null,\"Model\":\"M\",\"Serial\":null,\"Glass\":null}"
        "]";
    std::vector<FleetKiosk> kiosks;
    std::string error;
    EXPECT_FALSE(ReadExportDocument("{\"SchemaVersion\":2," + screen + ",\"Entries\":[]}", "a",
                                    kiosks, error));
    EXPECT_NE(error.find("schema version 2"), std::string::npos) << error;
    EXPECT_FALSE(ReadExportDocument("[1,2]", "b", kiosks, error));
    EXPECT_FALSE(ReadExportDocument("{\"SchemaVersion\":1,", "c", kiosks, error));
    EXPECT_TRUE(ReadExportDocument(
        "{\"SchemaVersion\":1,\"Machine\":\"m\"," + screen +
            ",\"Entries\":[{\"Kind\":\"calibration\",\"Screen\":0,\"Entry\":\"e1\","
            "\"Record\":{\"CoeffX\":[1]}},{\"Kind\":\"verification\",\"Screen\":0,\"Date\":\"d\","
            "\"Passed\":false},{\"Kind\":\"future\",\"Screen\":0}]}",
        "d", kiosks, error))
        << error;
    ASSERT_EQ(kiosks.size(), 1u);
    // A screen index that is no 32-bit whole number names no screen.
    EXPECT_TRUE(ReadExportDocument(
        "{\"SchemaVersion\":1,\"Screens\":[{\"Screen\":1e300},{\"Screen\":0.5}],\"Entries\":["
        "{\"Kind\":\"calibration\",\"Screen\":1e300}]}",
        "e", kiosks, error));
    ASSERT_EQ(kiosks.size(), 1u);
    EXPECT_EQ(kiosks[0].Calibrations, 1);
    EXPECT_FALSE(kiosks[0].Record);  // a record whose fields are not all there
    EXPECT_EQ(kiosks[0].Verifications, 1);
    EXPECT_EQ(kiosks[0].LastVerificationPassed, false);
}
