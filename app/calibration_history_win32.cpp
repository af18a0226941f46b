// The calibration window's use of the history on Win32: the local time, the program's version and
// the window's texts around the platform-free keeping and drift.
#include <cmath>

#include "app/calibration_history.h"
#include "app/committed_record.h"
#include "app/text_format.h"
#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "tarnix_version.h"

namespace {

constexpr size_t kMaxDriftTextLength = 1023;

HistoryTime LocalTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return HistoryTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The pass's figures in millimetres as the Finished state shows them, and its targets asked again.
std::vector<HistoryFigure> JudgementFigures(const PassView& view) {
    const FitJudgement& j = view.Judgement;
    std::vector<HistoryFigure> figures = {
        {"Expected error (mm)", j.ExpectedRmsMm, 3},
        {"Expected worst error (mm)", j.ExpectedWorstMm, 3},
        {"Touch scatter (mm)", j.ScatterMm, 3},
        {"Targets asked again (count)", double(view.AskedThisPass), 0}};
    if (std::isfinite(j.ExpectedWorstInsideMm)) {
        figures.push_back({"Expected worst error inside (mm)", j.ExpectedWorstInsideMm, 3});
        figures.push_back({"Expected worst error at the edges (mm)", j.ExpectedWorstEdgeMm, 3});
    }
    return figures;
}

bool SoundPass(const PassView& view) {
    return view.CalibrationDone && !view.FitRefused && view.Judgement.Verdict == FitVerdict::Sound;
}

}  // namespace

void KeepAcceptedPass(const PassView& view, const CalibrationFit* fit,
                      const CalibrationConfig* config, const ControllerParameters* parameters) {
    CalibrationDataRecord record;
    uint64_t serial = 0;
    if (!SoundPass(view) || fit == nullptr || config == nullptr || parameters == nullptr ||
        !LastCommittedRecord(record, serial)) {
        DebugPrint(L"Tarnix.exe: %s", L"history: the accepted pass wrote no fitted record");
        return;
    }
    PlatformCreateFolders(PlatformReportFolder());
    const KeptHistory kept =
        KeepHistoryEntry(HistoryFolder(), record, *fit, *config, *parameters,
                         HistoryFacts{LocalTimeNow(), TARNIX_VERSION_TEXT, JudgementFigures(view)});
    if (kept.Name)
        DebugPrint(L"Tarnix.exe: history: kept %s", Wide(*kept.Name).c_str());
    else
        DebugPrint(L"Tarnix.exe: history: nothing kept: %s (error %u)", Wide(kept.Problem).c_str(),
                   PlatformLastError());
    for (const std::string& removed : kept.Removed)
        DebugPrint(L"Tarnix.exe: history: removed %s", Wide(removed).c_str());
}

std::wstring FinishedDriftText(const PassView& view, const CalibrationConfig* config,
                               const ControllerParameters* parameters,
                               const std::function<std::wstring(UINT)>& text) {
    // The window paints often: the history is read once per committed record.
    static uint64_t shownSerial = 0;
    static std::optional<DriftNotice> shown;
    static double bound = kDefaultMaxDrift;
    CalibrationDataRecord record;
    uint64_t serial = 0;
    if (!SoundPass(view) || config == nullptr || parameters == nullptr ||
        !LastCommittedRecord(record, serial))
        return std::wstring();
    if (serial != shownSerial) {
        shownSerial = serial;
        bound = ReadDriftBound(config->CfgFilePath);
        shown = DriftSinceLastEntry(
            HistoryFolder(), record,
            GlassScaleOfRecord(record, parameters->ScreenWidth, parameters->ScreenHeight), bound);
        if (shown)
            DebugPrint(L"Tarnix.exe: history: moved at most %s mm since %s (%s)",
                       DecimalText(shown->MaxMm, 2).c_str(), Wide(shown->Since).c_str(),
                       Wide(shown->Entry).c_str());
    }
    if (!shown) return std::wstring();
    std::wstring lines =
        L"\n" + FormatWordsText(text(IDS_DRIFT), {DecimalText(shown->MaxMm, 1), Wide(shown->Since)},
                                kMaxDriftTextLength);
    if (shown->AboveBound)
        lines += L"\n" + FormatWordsText(text(IDS_DRIFT_WARNING), {DecimalText(bound, 1)},
                                         kMaxDriftTextLength);
    return lines;
}
