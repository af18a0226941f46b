// Fuzz target: tarnix-fleet's reading of an export of any bytes, and its reports of what it read,
// which must be valid JSON again.
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/fuzz_support.h"
#include "tools/tarnix_fleet/export_reader.h"
#include "tools/tarnix_fleet/fleet_html.h"
#include "tools/tarnix_fleet/fleet_json.h"
#include "tools/tarnix_fleet/fleet_report.h"
#include "tools/tool_json/json_text.h"
#include "tools/tool_json/json_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    FUZZ_CHECK(ParseJson(JsonText(std::string(text)), error).has_value());
    std::vector<FleetKiosk> kiosks;
    const bool read = ReadExportDocument(text, "fuzz.json", kiosks, error);
    FUZZ_CHECK(read || !error.empty());
    if (kiosks.empty()) return 0;
    const FleetReport report = BuildFleetReport(kiosks, {}, 2.0);
    FUZZ_CHECK(ParseJson(FleetJson(report), error).has_value());
    FUZZ_CHECK(FleetHtml(report).starts_with("<!DOCTYPE html>"));
    return 0;
}
