// The history of one machine as one JSON document (docs/history-export.md tells its members).
#include "tools/tarnix_history/history_export.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "history/history_live.h"
#include "history/record_drift.h"
#include "tools/tarnix_history/entry_text.h"
#include "tools/tarnix_history/monitor_facts.h"
#include "tools/tarnix_history/record_json.h"
#include "tools/tool_json/json_text.h"

namespace {

std::string OptionalText(const std::optional<std::string>& text) {
    return text ? JsonText(*text) : std::string("null");
}

std::string AreaJson(const CalibrationDataRecord& r) {
    return "{\"Left\":" + std::to_string(r.AreaLeft) + ",\"Top\":" + std::to_string(r.AreaTop) +
           ",\"Width\":" + std::to_string(r.AreaWidth) +
           ",\"Height\":" + std::to_string(r.AreaHeight) + "}";
}

std::string GlassJson(const std::optional<GlassSize>& glass) {
    if (!glass) return "null";
    return "{\"WidthMm\":" + JsonNumber(glass->WidthMm) +
           ",\"HeightMm\":" + JsonNumber(glass->HeightMm) + ",\"Source\":" +
           (glass->Source.empty() ? std::string("null") : JsonText(glass->Source)) + "}";
}

std::string ScreenJson(const HistoryEntry& newest) {
    const MonitorFacts facts = MonitorFactsOf(newest.Header);
    return "{\"Screen\":" + std::to_string(newest.Record.ScreenIndex) +
           ",\"Monitor\":" + std::to_string(newest.Record.MonitorNumber) +
           ",\"Maker\":" + OptionalText(facts.Maker) + ",\"Model\":" + OptionalText(facts.Model) +
           ",\"Serial\":" + OptionalText(facts.Serial) + ",\"Glass\":" + GlassJson(facts.Glass) +
           ",\"Area\":" + AreaJson(newest.Record) + ",\"NewestEntry\":" + JsonText(newest.Name) +
           "}";
}

// Each screen with its newest entry, the screen written to last first.
std::string ScreensJson(const std::vector<HistoryEntry>& entries) {
    std::vector<int32_t> screens;
    std::string out = "[";
    for (size_t i = entries.size(); i-- > 0;) {
        const int32_t screen = entries[i].Record.ScreenIndex;
        if (entries[i].Header.Verification()) continue;  // its header names no monitor
        if (std::find(screens.begin(), screens.end(), screen) != screens.end()) continue;
        out += (screens.empty() ? "" : ",") + ScreenJson(entries[i]);
        screens.push_back(screen);
    }
    return out + "]";
}

// The first calibration of entry i's screen and area.
size_t FirstOfArea(const std::vector<HistoryEntry>& entries, size_t i) {
    for (size_t j = 0; j < i; ++j)
        if (!entries[j].Header.Verification() &&
            SameScreenAndArea(entries[j].Record, entries[i].Record))
            return j;
    return i;
}

std::string DriftJson(const std::optional<Drift>& drift, const std::vector<HistoryEntry>& entries) {
    if (!drift) return "{\"Mm\":null,\"Since\":null}";
    const double mm = drift->Result.MaxMm;
    return "{\"Mm\":" + JsonNumber(std::isfinite(mm) ? std::optional<double>(mm) : std::nullopt) +
           ",\"Since\":" + JsonText(entries[drift->Earlier].Name) + "}";
}

std::string FiguresJson(const HistoryEntry& e) {
    std::string out = "{";
    for (const auto& [name, value] : e.Header.Figures())
        out += (out.size() > 1 ? "," : "") + JsonText(name) + ":" + JsonNumber(value);
    return out + "}";
}

std::string EntryJson(const std::vector<HistoryEntry>& entries, size_t i, bool live) {
    const HistoryEntry& e = entries[i];
    const std::optional<uint64_t> sequence = e.Header.Sequence();
    const GlassScale glass = GlassOf(e);
    const size_t first = FirstOfArea(entries, i);
    const std::optional<Drift> sinceFirst =
        first < i && !e.Header.Verification() ? DriftOf(entries, i, first) : std::optional<Drift>();
    const bool verification = e.Header.Verification();
    const std::optional<std::string> within = e.Header.Value("Within the requirement");
    const std::string passed = !verification || !within ? "null"
                               : *within == "yes"       ? "true"
                                                        : "false";
    return std::string("{\"Kind\":") + (verification ? "\"verification\"" : "\"calibration\"") +
           ",\"Entry\":" + JsonText(e.Name) + ",\"Passed\":" + passed +
           ",\"Sequence\":" + (sequence ? std::to_string(*sequence) : std::string("null")) +
           ",\"Date\":" + OptionalText(e.Header.Value("Date")) +
           ",\"Version\":" + OptionalText(e.Header.Value("Version")) +
           ",\"Screen\":" + std::to_string(e.Record.ScreenIndex) +
           ",\"Monitor\":" + std::to_string(e.Record.MonitorNumber) +
           ",\"Area\":" + AreaJson(e.Record) +
           ",\"Model\":" + std::to_string(e.Record.ModelKind * 10 + e.Record.PolynomialOrder) +
           ",\"GlassWidthMm\":" + JsonNumber(glass.MmPerPixelX * e.Record.AreaWidth) +
           ",\"GlassHeightMm\":" + JsonNumber(glass.MmPerPixelY * e.Record.AreaHeight) +
           ",\"ExpectedErrorMm\":" + JsonNumber(ExpectedErrorOf(e)) +
           ",\"Figures\":" + FiguresJson(e) + ",\"Accepted\":" + AcceptedJson(e) +
           ",\"Live\":" + (live ? "true" : "false") +
           ",\"DriftSincePrevious\":" + DriftJson(DriftOf(entries, i), entries) +
           ",\"DriftSinceFirst\":" + DriftJson(sinceFirst, entries) +
           ",\"Record\":" + RecordJson(e.Record) + "}";
}

}  // namespace

std::string HistoryExportJson(const std::wstring& folder, const std::vector<HistoryEntry>& entries,
                              const std::string& machine) {
    std::string out = "{\"SchemaVersion\":" + std::to_string(kHistoryExportSchemaVersion) +
                      ",\"Machine\":" + JsonText(machine) + ",\"Screens\":" + ScreensJson(entries) +
                      ",\"Entries\":[";
    for (size_t i = 0; i < entries.size(); ++i) {
        const bool live = LiveEntryInFolder(folder, entries, entries[i].Record.ScreenIndex) == i;
        out += (i ? "," : "") + EntryJson(entries, i, live);
    }
    return out + "]}\n";
}
