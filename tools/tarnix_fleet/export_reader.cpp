// The kiosks of one machine's export: each screen's monitor, its calibrations and verifications.
#include "tools/tarnix_fleet/export_reader.h"

#include <cmath>
#include <map>
#include <optional>

#include "tools/tarnix_fleet/record_fields.h"
#include "tools/tool_json/json_value.h"

namespace {

constexpr double kSchemaVersion = 1;

// A member that is a whole number in the range of a screen index; nothing otherwise.
std::optional<int32_t> ScreenAt(const JsonValue& value) {
    const std::optional<double> number = value.NumberAt("Screen");
    if (!number || *number != std::floor(*number) || std::fabs(*number) > 1e6) return std::nullopt;
    return static_cast<int32_t>(*number);
}

std::optional<double> DriftMm(const JsonValue& entry, const char* member) {
    const JsonValue* drift = entry.Find(member);
    return drift ? drift->NumberAt("Mm") : std::nullopt;
}

// The screen's monitor; the glass from the monitor when it names one (else from each calibration).
FleetKiosk KioskOfScreen(const JsonValue& screen, const std::string& machine,
                         const std::string& source) {
    FleetKiosk kiosk;
    kiosk.Machine = machine;
    kiosk.Source = source;
    kiosk.Screen = ScreenAt(screen).value_or(-1);
    kiosk.Maker = screen.TextAt("Maker");
    kiosk.Model = screen.TextAt("Model");
    kiosk.Serial = screen.TextAt("Serial");
    if (const JsonValue* glass = screen.Find("Glass")) {
        kiosk.GlassWidthMm = glass->NumberAt("WidthMm").value_or(0.0);
        kiosk.GlassHeightMm = glass->NumberAt("HeightMm").value_or(0.0);
    }
    return kiosk;
}

void AddCalibration(FleetKiosk& kiosk, const JsonValue& entry) {
    const bool live = entry.Find("Live") && entry.Find("Live")->Bool;
    kiosk.Chart.push_back({entry.TextAt("Date"), DriftMm(entry, "DriftSinceFirst")});
    ++kiosk.Calibrations;
    if (kiosk.LastLive && !live) return;  // the calibration the driver holds stays the kiosk's
    kiosk.LastLive = live;
    const JsonValue* fields = entry.Find("Record");
    kiosk.LastEntry = entry.TextAt("Entry").value_or("");
    kiosk.LastDate = entry.TextAt("Date");
    kiosk.AccuracyMm = entry.NumberAt("ExpectedErrorMm");
    kiosk.DriftSinceFirstMm = DriftMm(entry, "DriftSinceFirst");
    kiosk.DriftSincePreviousMm = DriftMm(entry, "DriftSincePrevious");
    kiosk.LastAccepted = !entry.Find("Accepted") || entry.Find("Accepted")->Bool;
    kiosk.Record = fields ? RecordFromFields(*fields) : std::nullopt;
    if (kiosk.GlassWidthMm <= 0.0 || kiosk.GlassHeightMm <= 0.0) {
        kiosk.GlassWidthMm = entry.NumberAt("GlassWidthMm").value_or(0.0);
        kiosk.GlassHeightMm = entry.NumberAt("GlassHeightMm").value_or(0.0);
    }
}

void AddVerification(FleetKiosk& kiosk, const JsonValue& entry) {
    ++kiosk.Verifications;
    kiosk.LastVerificationDate = entry.TextAt("Date");
    const JsonValue* passed = entry.Find("Passed");
    kiosk.LastVerificationPassed = passed && passed->Type == JsonValue::Kind::Bool
                                       ? std::optional<bool>(passed->Bool)
                                       : std::nullopt;
}

}  // namespace

std::optional<std::string> ModelKey(const FleetKiosk& kiosk) {
    if (!kiosk.Model || kiosk.Model->empty()) return std::nullopt;
    return kiosk.Maker ? *kiosk.Maker + " " + *kiosk.Model : *kiosk.Model;
}

bool ReadExportDocument(std::string_view text, const std::string& source,
                        std::vector<FleetKiosk>& kiosks, std::string& error) {
    const std::optional<JsonValue> document = ParseJson(text, error);
    if (!document) return false;
    const std::optional<double> version = document->NumberAt("SchemaVersion");
    const JsonValue* screens = document->Find("Screens");
    const JsonValue* entries = document->Find("Entries");
    if (!version || !screens || !entries) {
        error = "not a history export (no SchemaVersion, Screens or Entries)";
        return false;
    }
    if (*version != kSchemaVersion) {
        error = "an export of schema version " + std::to_string(int64_t(*version)) +
                ", this program reads version 1";
        return false;
    }
    const std::string machine = document->TextAt("Machine").value_or("");
    std::map<int32_t, FleetKiosk> byScreen;
    for (const JsonValue& screen : screens->Items) {
        if (!ScreenAt(screen)) continue;
        FleetKiosk kiosk = KioskOfScreen(screen, machine, source);
        byScreen.emplace(kiosk.Screen, std::move(kiosk));
    }
    for (const JsonValue& entry : entries->Items) {
        const std::optional<int32_t> screen = ScreenAt(entry);
        const auto kiosk = screen ? byScreen.find(*screen) : byScreen.end();
        if (kiosk == byScreen.end()) continue;
        const std::optional<std::string> kind = entry.TextAt("Kind");
        if (kind == "calibration") AddCalibration(kiosk->second, entry);
        if (kind == "verification") AddVerification(kiosk->second, entry);
    }
    for (auto& [screen, kiosk] : byScreen)
        if (kiosk.Calibrations > 0) kiosks.push_back(std::move(kiosk));
    return true;
}
