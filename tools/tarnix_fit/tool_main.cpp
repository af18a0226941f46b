// tarnix-fit's work: the options, the fit or the decoding, and the one place that catches.
#include "tools/tarnix_fit/tool_main.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "fit/calibration_record.h"
#include "platform/platform.h"
#include "platform/report_file.h"
#include "tools/tarnix_fit/check_output.h"
#include "tools/tarnix_fit/expected_error_output.h"
#include "tools/tarnix_fit/fit_session.h"
#include "tools/tarnix_fit/fit_summary.h"
#include "tools/tarnix_fit/model_runners.h"
#include "tools/tarnix_fit/record_file.h"
#include "tools/tarnix_fit/tool_text.h"

namespace {

int Complain(int status, const std::string& message) {
    std::fprintf(stderr, "tarnix-fit: %s\n", message.c_str());
    return status;
}

std::string FixedText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

int Decode(const ToolOptions& options) {
    CalibrationDataRecord record;
    std::string error;
    if (!ReadRecordFile(options.DecodePath, record, error)) return Complain(kExitBadInput, error);
    PrintRecordFields(stdout, record);
    return kExitFitted;
}

// The folder the reports go to; an explicit one is made absolute and created.
std::wstring ChooseReportFolder(const ToolOptions& options) {
    if (options.ReportDir.empty()) return PlatformReportFolder();
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(ToolPath(options.ReportDir), ec);
    const std::wstring folder = ec ? options.ReportDir : ToolWidePath(absolute);
    if (!PlatformCreateFolders(folder))
        Complain(0, "cannot create the report folder " + PrintableText(folder) +
                        "; the fit runs without reports");
    SetReportFolderOverride(folder.c_str());
    return folder;
}

int WriteRecord(const ToolOptions& options, const FitSession& session) {
    CalibrationDataRecord record;
    if (!PackSessionRecord(session, record))
        return Complain(kExitRecordFailed, "the fit is not usable; no record written");
    if (!WriteRecordFile(options.RecordPath, record))
        return Complain(kExitRecordFailed, "cannot write " + PrintableText(options.RecordPath));
    return kExitFitted;
}

// The expected-error line of the summary (and the check touches' line after it) and the --svg
// drawing.
int ReportExpectedError(const ToolOptions& options, const FitSession& session) {
    if (options.Json && options.SvgPath.empty()) return kExitFitted;
    const GlassScale glass = ToolGlassScale(options, session.Parameters);
    const ExpectedErrorMap map = ExpectedErrorOfPass(*session.Fit, glass);
    if (!options.Json) PrintExpectedError(stdout, map);
    const std::vector<CheckTouch> checks = ReadCheckTouches(*session.Config);
    if (!options.Json && !checks.empty())
        PrintCheckTouches(stdout, MeasureCheckTouches(session, glass, checks), checks.size());
    std::string error;
    if (!options.SvgPath.empty() &&
        !WriteExpectedErrorSvg(options.SvgPath, session, map, glass, error))
        return Complain(kExitRecordFailed, error);
    return kExitFitted;
}

int Fit(const ToolOptions& options) {
    FitSession session;
    std::string error;
    if (int status = LoadFitSession(options, session, error); status != kExitFitted)
        return Complain(status, error);
    const std::wstring reportFolder = ChooseReportFolder(options);
    const int fitStatus = RunFitSession(session, error);
    if (fitStatus == kExitModelMissing) return Complain(fitStatus, error);
    const SessionJudgement judgement = JudgeFitSession(session);
    if (options.Json) {
        const ModelRunner* runner = FindModelRunner(session.Fit->ModelKind);
        PrintFitJson(stdout, session, judgement, runner->LaplaceMembers);
    }
    if (fitStatus != kExitFitted) return Complain(fitStatus, error);
    if (!options.Json) PrintFitSummary(stdout, session, judgement, reportFolder);
    const int mapStatus = ReportExpectedError(options, session);
    const FitJudgement& gate = judgement.Gate;
    if (gate.Verdict != FitVerdict::Sound)
        return Complain(kExitFitRefused, "the calibration window would refuse this fit: " +
                                             PrintableText(FitVerdictText(gate.Verdict)) +
                                             " (scatter " + FixedText(gate.ScatterMm) +
                                             " mm, bound " + FixedText(gate.BoundScatterMm) +
                                             " mm; RMS " + FixedText(gate.RmsPixels) +
                                             " px, bound " + FixedText(gate.BoundPixels) +
                                             " px); no record written");
    if (!options.RecordPath.empty())
        if (int status = WriteRecord(options, session); status != kExitFitted) return status;
    return mapStatus;
}

int ToolMain(const std::vector<std::wstring>& args) {
    ToolOptions options;
    std::string error;
    if (!ParseToolOptions(args, options, error)) {
        std::fprintf(stderr, "tarnix-fit: %s\n\n%s", error.c_str(), ToolUsage());
        return kExitUsage;
    }
    if (options.Help) {
        std::fputs(ToolUsage(), stdout);
        return kExitFitted;
    }
    return options.DecodePath.empty() ? Fit(options) : Decode(options);
}

}  // namespace

int RunTarnixFit(const std::vector<std::wstring>& args) {
    try {
        return ToolMain(args);
    } catch (const std::bad_alloc&) {
        return Complain(kExitInternal, "out of memory");
    } catch (const std::exception& e) {
        return Complain(kExitInternal, std::string("unexpected failure: ") + e.what());
    } catch (...) {
        return Complain(kExitInternal, "unexpected failure");
    }
}
