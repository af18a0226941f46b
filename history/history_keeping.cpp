// Keeping an accepted pass in the history, and the drift since the last entry of its area.
#include "history/history_keeping.h"

#include <exception>

#include "history/history_folder.h"
#include "history/history_live.h"

KeptHistory KeepHistoryEntry(const std::wstring& folder, const CalibrationDataRecord& record,
                             const CalibrationFit& fit, const CalibrationConfig& config,
                             const ControllerParameters& parameters, const HistoryFacts& facts) {
    KeptHistory kept;
    double x = 0.0, y = 0.0;
    if (!MapRecordCounts(record, 0.0, 0.0, x, y)) {
        kept.Problem = "the record carries no fit";
        return kept;
    }
    try {
        std::vector<HistoryFigure> figures = PassFigures(fit, parameters);
        figures.insert(figures.end(), facts.Judgement.begin(), facts.Judgement.end());
        HistoryFacts numbered = facts;
        numbered.Sequence = NextHistorySequence(folder);
        const std::string text =
            ComposeHistoryConfig(record, fit, config, parameters, numbered, figures);
        kept.Name = WriteHistoryEntry(folder, facts.Time, record, text);
        if (!kept.Name) kept.Problem = "the entry could not be written";
        kept.Removed = PruneHistory(folder);
    } catch (const std::exception& e) {
        kept.Problem = std::string("unexpected failure: ") + e.what();
    }
    return kept;
}

std::optional<DriftNotice> DriftSinceLastEntry(const std::wstring& folder,
                                               const CalibrationDataRecord& record,
                                               const GlassScale& scale, double boundMm) {
    try {
        const std::vector<HistoryEntry> entries = ReadHistory(folder);
        std::optional<size_t> earlier = LiveEntryInFolder(folder, entries, record.ScreenIndex);
        if (earlier && !SameScreenAndArea(entries[*earlier].Record, record))
            earlier = EarlierEntryOfArea(entries, record, entries.size());
        if (!earlier) return std::nullopt;
        const HistoryEntry& entry = entries[*earlier];
        const std::optional<DriftResult> drift = MeasureDrift(record, entry.Record, scale);
        if (!drift) return std::nullopt;
        DriftNotice notice;
        notice.MaxMm = drift->MaxMm;
        notice.Since = entry.Header.Value("Date").value_or(entry.Name);
        notice.Entry = entry.Name;
        notice.AboveBound = drift->MaxMm > boundMm;
        return notice;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
