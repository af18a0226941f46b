// The calibration window's use of the history on Win32: the local time, the program's version, the
// driver and the window's texts around the platform-free keeping, drift and plan.
#include <cmath>
#include <exception>

#include "app/area_glass.h"
#include "app/calibration_history.h"
#include "app/committed_record.h"
#include "app/pass_commit.h"
#include "app/text_format.h"
#include "driver/quva_driver.h"
#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "history/history_live.h"
#include "history/record_drift.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"
#include "platform/report_file.h"
#include "resources/resource_ids.h"
#include "tarnix_version.h"

namespace {

constexpr size_t kMaxDriftTextLength = 1023;
constexpr const wchar_t* kHistoryReport = L"History.txt";

// What the window knows of the record the driver got last, on the dialog thread.
struct CommittedPassHistory {
    uint64_t Serial = 0;  // of the record kept; 0 before any
    std::optional<DriftNotice> Drift;
    // The record the driver held for the screen until now, where it was of another area.
    std::optional<CalibrationDataRecord> MovedFrom;
    bool FirstAmongAreas = false;  // the screen's first calibration, on one of several areas
    double Bound = kDefaultMaxDrift;
    std::optional<UnacceptedPlan> Pending;  // while the record waits for Accept
    bool PutBack = false;
};

CommittedPassHistory& State() {
    static CommittedPassHistory state;
    return state;
}

HistoryTime LocalTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return HistoryTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// The pass's figures in millimetres as the Finished state shows them, its targets asked again and
// its check touches.
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
    // The touches that checked the calibration away from the grid, when the pass asked any.
    for (size_t k = 0; k < view.CheckMissesMm.size(); ++k)
        figures.push_back(
            {"Check miss " + std::to_string(k + 1) + " (mm)", view.CheckMissesMm[k], 3});
    if (!view.CheckMissesMm.empty())
        figures.push_back({"Check refits (count)", double(view.CheckRefits), 0});
    return figures;
}

bool SoundPass(const PassView& view) {
    return view.CalibrationDone && !view.FitRefused && view.Judgement.Verdict == FitVerdict::Sound;
}

void TraceDrift(const DriftNotice& drift) {
    DebugPrint(L"Tarnix.exe: history: moved at most %s mm since %s (%s)",
               DecimalText(drift.MaxMm, 2).c_str(), Wide(drift.Since).c_str(),
               Wide(drift.Entry).c_str());
}

void TraceMove(const CalibrationDataRecord& before, const CalibrationDataRecord& now) {
    DebugPrint(
        L"Tarnix.exe: history: touch screen %d was calibrated for monitor %d (%s) until "
        L"now; this pass puts it on monitor %d (%s)",
        int(now.ScreenIndex), int(before.MonitorNumber), Wide(AreaOf(before)).c_str(),
        int(now.MonitorNumber), Wide(AreaOf(now)).c_str());
}

void TraceKept(const KeptHistory& kept) {
    if (kept.Name)
        DebugPrint(L"Tarnix.exe: history: kept %s (not accepted yet)", Wide(*kept.Name).c_str());
    else
        DebugPrint(L"Tarnix.exe: history: nothing kept: %s (error %u)", Wide(kept.Problem).c_str(),
                   PlatformLastError());
    for (const std::string& removed : kept.Removed)
        DebugPrint(L"Tarnix.exe: history: removed %s", Wide(removed).c_str());
}

void Keep(CommittedPassHistory& s, const CalibrationDataRecord& record, const PassView& view,
          const CalibrationFit& fit, const CalibrationConfig& config,
          const ControllerParameters& parameters, const AreaGlass& glass) {
    const std::wstring folder = HistoryFolder();
    s.Bound = ReadDriftBound(config.CfgFilePath);
    s.Drift = DriftSinceLastEntry(
        folder, record, GlassScaleOfRecord(record, parameters.ScreenWidth, parameters.ScreenHeight),
        s.Bound);
    if (s.Drift) TraceDrift(*s.Drift);
    const std::vector<HistoryEntry> entries = ReadHistory(folder);
    if (const std::optional<size_t> held = LiveEntryOfAnotherArea(folder, entries, record)) {
        s.MovedFrom = entries[*held].Record;
        TraceMove(*s.MovedFrom, record);
    }
    s.FirstAmongAreas = FirstCalibrationAmongAreas(entries, record);
    if (s.FirstAmongAreas)
        DebugPrint(
            L"Tarnix.exe: history: touch screen %d is calibrated for the first time, for "
            L"monitor %d (%s), one of several areas",
            int(record.ScreenIndex), int(record.MonitorNumber), Wide(AreaOf(record)).c_str());
    PlatformCreateFolders(PlatformReportFolder());
    HistoryFacts facts{LocalTimeNow(), TARNIX_VERSION_TEXT, JudgementFigures(view)};
    facts.GlassLines = GlassHeaderLines(glass);
    const KeptHistory kept = KeepHistoryEntry(folder, record, fit, config, parameters, facts);
    TraceKept(kept);
    s.Pending = PlanUnaccepted(ReadRevertUnaccepted(config.CfgFilePath), ReadHistory(folder),
                               record, kept.Name);
}

// Sends the plan's kept calibration to the driver again and notes it as the one in use.
void SendBack(const HistoryEntry& entry) {
    DiagnosticsRecord diagnostics{};
    QuvaIF_GetDiagnosticsData(&diagnostics, entry.Record.ScreenIndex);
    SendCalibrationRecord(entry.Record, diagnostics.CalibrationByte);
    const std::wstring folder = HistoryFolder();
    const std::vector<HistoryEntry> entries = ReadHistory(folder);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Name == entry.Name && !NotePutBack(folder, entries, i))
            DebugPrint(L"Tarnix.exe: history: could not note %s as live (error %u)",
                       Wide(entry.Name).c_str(), PlatformLastError());
}

void ReportLeft(const std::string& line) {
    DebugPrint(L"Tarnix.exe: %s", Wide(line).c_str());
    ReportFile report(kHistoryReport);
    report.Printf("%s %s\n", FormatHistoryTime(LocalTimeNow()).c_str(), line.c_str());
}

// A line of format about the screen of record now: its number, then the monitor and area of the
// record it held before (where given) and of now ("Touch screen 0 was calibrated for monitor 1
// (1024x768 at (0,0)) until now; ...").
std::wstring ScreenLine(const std::wstring& format, const CalibrationDataRecord& now,
                        const CalibrationDataRecord* before = nullptr) {
    std::vector<std::wstring> words{std::to_wstring(now.ScreenIndex)};
    for (const CalibrationDataRecord* r : {before, &now}) {
        if (r == nullptr) continue;
        words.push_back(std::to_wstring(r->MonitorNumber));
        words.push_back(Wide(AreaOf(*r)));
    }
    return FormatWordsText(format, words, kMaxDriftTextLength);
}

}  // namespace

void KeepCommittedPass(const PassView& view, const CalibrationFit* fit,
                       const CalibrationConfig* config, const ControllerParameters* parameters,
                       const AreaGlass& glass) {
    CommittedPassHistory& s = State();
    CalibrationDataRecord record;
    uint64_t serial = 0;
    if (!SoundPass(view) || fit == nullptr || config == nullptr || parameters == nullptr ||
        !LastCommittedRecord(record, serial) || serial == s.Serial)
        return;
    s = CommittedPassHistory{};
    s.Serial = serial;
    try {
        Keep(s, record, view, *fit, *config, *parameters, glass);
    } catch (const std::exception& e) {
        DebugPrint(L"Tarnix.exe: history: nothing kept: unexpected failure: %s",
                   Wide(e.what()).c_str());
    }
}

void AcceptCommittedPass() {
    CommittedPassHistory& s = State();
    if (!s.Pending) {
        DebugPrint(L"Tarnix.exe: %s", L"history: the accepted pass wrote no fitted record");
        return;
    }
    const std::optional<std::string> name = s.Pending->NewEntry;
    s.Pending.reset();
    if (!name) return;
    if (MarkEntryAccepted(HistoryFolder(), *name))
        DebugPrint(L"Tarnix.exe: history: accepted %s", Wide(*name).c_str());
    else
        DebugPrint(L"Tarnix.exe: history: could not mark %s accepted (error %u)",
                   Wide(*name).c_str(), PlatformLastError());
}

void LeaveUnacceptedPass() {
    CommittedPassHistory& s = State();
    if (!s.Pending) return;
    const UnacceptedPlan plan = std::move(*s.Pending);
    s.Pending.reset();
    try {
        if (plan.PutBack) SendBack(*plan.PutBack);
        s.PutBack = plan.PutBack.has_value();
        ReportLeft(LeftUnacceptedLine(plan));
    } catch (const std::exception& e) {
        DebugPrint(L"Tarnix.exe: history: unexpected failure: %s", Wide(e.what()).c_str());
    }
}

FinishedNotice FinishedNoticeOfPass() {
    const CommittedPassHistory& s = State();
    return s.Pending ? s.Pending->Notice : FinishedNotice::InUse;
}

bool PreviousCalibrationPutBack() { return State().PutBack; }

std::wstring FinishedDriftText(const PassView& view, const CalibrationConfig* config,
                               const std::function<std::wstring(UINT)>& text) {
    const CommittedPassHistory& s = State();
    CalibrationDataRecord record;
    uint64_t serial = 0;
    if (!SoundPass(view) || config == nullptr || !LastCommittedRecord(record, serial) ||
        serial != s.Serial)
        return std::wstring();
    std::wstring lines;
    if (s.MovedFrom) lines += L"\n" + ScreenLine(text(IDS_SCREEN_MOVED), record, &*s.MovedFrom);
    if (s.FirstAmongAreas) lines += L"\n" + ScreenLine(text(IDS_SCREEN_FIRST_AMONG_AREAS), record);
    if (!s.Drift) return lines;
    lines += L"\n" + FormatWordsText(text(IDS_DRIFT),
                                     {DecimalText(s.Drift->MaxMm, 1), Wide(s.Drift->Since)},
                                     kMaxDriftTextLength);
    if (s.Drift->AboveBound)
        lines += L"\n" + FormatWordsText(text(IDS_DRIFT_WARNING), {DecimalText(s.Bound, 1)},
                                         kMaxDriftTextLength);
    return lines;
}
