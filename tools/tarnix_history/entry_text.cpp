// How tarnix-history tells of its entries: their date, area and glass, the drift of one since
// the earlier entry of its area, the line of list and the JSON object of list --json.
#include "tools/tarnix_history/entry_text.h"

#include <cmath>
#include <cstdio>

#include "config/controller_parameters.h"
#include "tools/tool_json/json_text.h"

GlassScale GlassOf(const HistoryEntry& entry) {
    ControllerParameters parameters;
    ReadControllerParameters(parameters, entry.ConfigPath.c_str());
    return GlassScaleOfRecord(entry.Record, parameters.ScreenWidth, parameters.ScreenHeight);
}

std::string DateOf(const HistoryEntry& entry) {
    return entry.Header.Value("Date").value_or("(no date)");
}

// The entry's expected error: the judge's figure when the entry has one, else its RMS residual.
std::optional<double> ExpectedErrorOf(const HistoryEntry& entry) {
    const std::optional<double> expected = entry.Header.Figure("Expected error (mm)");
    return expected ? expected : entry.Header.Figure("RMS residual (mm)");
}

std::optional<Drift> DriftOf(const std::vector<HistoryEntry>& entries, size_t i,
                             std::optional<size_t> earlier) {
    if (entries[i].Header.Verification()) return std::nullopt;
    if (!earlier) earlier = EarlierEntryOfArea(entries, entries[i].Record, i);
    if (!earlier) return std::nullopt;
    const auto result =
        MeasureDrift(entries[i].Record, entries[*earlier].Record, GlassOf(entries[i]));
    if (!result) return std::nullopt;
    return Drift{*earlier, *result};
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string AcceptedJson(const HistoryEntry& entry) {
    if (entry.Header.Verification()) return "null";
    return entry.Header.Accepted() ? "true" : "false";
}

std::string JsonLine(const std::vector<HistoryEntry>& entries, size_t i, bool live) {
    const HistoryEntry& e = entries[i];
    const CalibrationDataRecord& r = e.Record;
    const std::optional<uint64_t> sequence = e.Header.Sequence();
    std::string line =
        "{\"entry\":" + JsonText(e.Name) +
        ",\"sequence\":" + (sequence ? std::to_string(*sequence) : std::string("null")) +
        ",\"date\":" + JsonText(DateOf(e)) +
        ",\"version\":" + JsonText(e.Header.Value("Version").value_or("")) +
        ",\"monitor\":" + std::to_string(r.MonitorNumber) +
        ",\"screen\":" + std::to_string(r.ScreenIndex) +
        ",\"area\":{\"left\":" + std::to_string(r.AreaLeft) +
        ",\"top\":" + std::to_string(r.AreaTop) + ",\"width\":" + std::to_string(r.AreaWidth) +
        ",\"height\":" + std::to_string(r.AreaHeight) +
        "},\"model\":" + std::to_string(r.ModelKind * 10 + r.PolynomialOrder) + ",\"figures\":{";
    bool first = true;
    for (const auto& [name, value] : e.Header.Figures()) {
        line += (first ? "" : ",") + JsonText(name) + ":" + JsonNumber(value);
        first = false;
    }
    line += "}";
    const std::optional<Drift> drift = DriftOf(entries, i);
    const bool moved = drift && std::isfinite(drift->Result.MaxMm);
    line += ",\"drift_mm\":" + (moved ? Fixed(drift->Result.MaxMm, 3) : std::string("null"));
    line += ",\"drift_since\":" + (drift ? JsonText(entries[drift->Earlier].Name) : "null");
    line += std::string(",\"kind\":") +
            (e.Header.Verification() ? "\"verification\"" : "\"calibration\"");
    line += ",\"accepted\":" + AcceptedJson(e);
    line += std::string(",\"live\":") + (live ? "true" : "false");
    return line + "}";
}

namespace {

// A verification's line: what it verified, its largest miss and its verdict.
std::string VerificationLine(const HistoryEntry& e) {
    double largest = 0.0;
    for (const auto& [name, value] : e.Header.Figures())
        if (name.starts_with("Verify miss") && value && *value > largest) largest = *value;
    char line[512];
    std::snprintf(line, sizeof line,
                  "%-22s %s  monitor %d  screen %d  %-20s verification of %s  missed at most %s "
                  "mm  %s",
                  e.Name.c_str(), DateOf(e).c_str(), e.Record.MonitorNumber, e.Record.ScreenIndex,
                  AreaOf(e.Record).c_str(), e.Header.Value("Verified entry").value_or("-").c_str(),
                  Fixed(largest, 2).c_str(),
                  e.Header.Value("Within the requirement") == "yes" ? "within" : "not within");
    return line;
}

}  // namespace

std::string ListLine(const std::vector<HistoryEntry>& entries, size_t i, bool live) {
    const HistoryEntry& e = entries[i];
    if (e.Header.Verification()) return VerificationLine(e);
    const std::optional<double> expected = ExpectedErrorOf(e);
    const std::optional<Drift> drift = DriftOf(entries, i);
    char line[512];
    std::snprintf(line, sizeof line,
                  "%-22s %s  monitor %d  screen %d  %-20s model %d  error %s mm  moved %s%s%s",
                  e.Name.c_str(), DateOf(e).c_str(), e.Record.MonitorNumber, e.Record.ScreenIndex,
                  AreaOf(e.Record).c_str(), e.Record.ModelKind * 10 + e.Record.PolynomialOrder,
                  expected ? Fixed(*expected, 2).c_str() : "-",
                  drift ? (Fixed(drift->Result.MaxMm, 2) + " mm").c_str() : "-",
                  e.Header.Accepted() ? "" : "  not accepted", live ? "  live" : "");
    return line;
}
