// The fleet report as one JSON document (docs/fleet.md tells its members).
#include "tools/tarnix_fleet/fleet_json.h"

#include "tools/tool_json/json_text.h"

namespace {

std::string Text(const std::optional<std::string>& text) {
    return text ? JsonText(*text) : std::string("null");
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string ChartJson(const FleetKiosk& kiosk) {
    std::string out = "[";
    for (const FleetChartPoint& point : kiosk.Chart)
        out += (out.size() > 1 ? "," : "") + std::string("{\"Date\":") + Text(point.Date) +
               ",\"DriftSinceFirstMm\":" + JsonNumber(point.DriftSinceFirstMm) + "}";
    return out + "]";
}

std::string KioskJson(const FleetKiosk& k) {
    const std::optional<bool>& passed = k.LastVerificationPassed;
    return "{\"Machine\":" + JsonText(k.Machine) + ",\"Screen\":" + std::to_string(k.Screen) +
           ",\"Source\":" + JsonText(k.Source) + ",\"Maker\":" + Text(k.Maker) +
           ",\"Model\":" + Text(k.Model) + ",\"Serial\":" + Text(k.Serial) +
           ",\"LastEntry\":" + JsonText(k.LastEntry) + ",\"LastDate\":" + Text(k.LastDate) +
           ",\"LastAccepted\":" + Bool(k.LastAccepted) +
           ",\"AccuracyMm\":" + JsonNumber(k.AccuracyMm) +
           ",\"DriftSinceFirstMm\":" + JsonNumber(k.DriftSinceFirstMm) +
           ",\"DriftSincePreviousMm\":" + JsonNumber(k.DriftSincePreviousMm) +
           ",\"Calibrations\":" + std::to_string(k.Calibrations) +
           ",\"Verifications\":" + std::to_string(k.Verifications) +
           ",\"LastVerificationDate\":" + Text(k.LastVerificationDate) +
           ",\"LastVerificationPassed\":" + (passed ? Bool(*passed) : "null") +
           ",\"SiblingDeviationMm\":" + JsonNumber(k.SiblingDeviationMm) +
           ",\"Siblings\":" + std::to_string(k.Siblings) +
           ",\"DiffersFromSiblings\":" + Bool(k.DiffersFromSiblings) +
           ",\"Finding\":" + (k.DiffersFromSiblings ? JsonText(kDiffersText) : "null") +
           ",\"Chart\":" + ChartJson(k) + "}";
}

}  // namespace

std::string FleetJson(const FleetReport& report) {
    std::string out = "{\"SchemaVersion\":" + std::to_string(kFleetSummarySchemaVersion) +
                      ",\"BoundMm\":" + JsonNumber(report.BoundMm) + ",\"Models\":[";
    for (size_t i = 0; i < report.Models.size(); ++i) {
        const FleetModel& m = report.Models[i];
        out += (i ? "," : "") + std::string("{\"Model\":") + JsonText(m.Name) +
               ",\"Kiosks\":" + std::to_string(m.Kiosks) +
               ",\"Compared\":" + std::to_string(m.Compared) +
               ",\"Differing\":" + std::to_string(m.Differing) + "}";
    }
    out += "],\"Kiosks\":[";
    for (size_t i = 0; i < report.Kiosks.size(); ++i)
        out += (i ? ",\n" : "\n") + KioskJson(report.Kiosks[i]);
    out += "],\"Problems\":[";
    for (size_t i = 0; i < report.Problems.size(); ++i)
        out += (i ? "," : "") + JsonText(report.Problems[i]);
    return out + "]}\n";
}
