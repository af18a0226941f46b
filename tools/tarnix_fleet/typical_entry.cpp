// A model's typical record written as an entry of a history folder.
#include "tools/tarnix_fleet/typical_entry.h"

#include "history/history_folder.h"
#include "tools/tool_json/json_text.h"

namespace {

// A header line; control characters of the value (a model's name may hold any) become '?'.
std::string Line(const std::string& name, std::string value) {
    for (char& c : value)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return "; " + name + ": " + value + "\r\n";
}

std::string EntryConfig(const TypicalRecord& typical, const std::string& model, uint64_t sequence,
                        const std::string& date) {
    const FleetKiosk& base = *typical.Base;
    const CalibrationDataRecord& r = typical.Record;
    std::string text = Line("Tarnix typical record of the monitor model",
                            model + ", from " + std::to_string(typical.Kiosks) + " kiosks");
    text +=
        Line("Date", date) + Line("Sequence", std::to_string(sequence)) + Line("Accepted", "yes") +
        Line("Monitor", std::to_string(r.MonitorNumber)) +
        Line("Screen", std::to_string(r.ScreenIndex)) +
        Line("Area", std::to_string(r.AreaWidth) + "x" + std::to_string(r.AreaHeight) + " at (" +
                         std::to_string(r.AreaLeft) + "," + std::to_string(r.AreaTop) + ")") +
        Line("Model", std::to_string(r.ModelKind * 10 + r.PolynomialOrder));
    if (base.Maker) text += Line("Monitor maker", *base.Maker);
    if (base.Model) text += Line("Monitor model", *base.Model);
    return text + "[TARNIX-APP]\r\nScreenWidth=" + ShortestNumber(base.GlassWidthMm) +
           "\r\nScreenHeight=" + ShortestNumber(base.GlassHeightMm) + "\r\n";
}

}  // namespace

std::optional<std::string> WriteTypicalEntry(const std::wstring& folder,
                                             const TypicalRecord& typical, const std::string& model,
                                             std::string& error) {
    const std::string date = typical.Base->LastDate.value_or("2000-01-01 00:00:00");
    const HistoryTime time = ParseHistoryTime(date).value_or(HistoryTime{2000, 1, 1, 0, 0, 0});
    const std::string text =
        EntryConfig(typical, model, NextHistorySequence(folder), FormatHistoryTime(time));
    const std::optional<std::string> name = WriteHistoryEntry(folder, time, typical.Record, text);
    if (!name) error = "cannot write an entry into the folder";
    return name;
}
