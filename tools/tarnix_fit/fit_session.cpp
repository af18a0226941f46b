// Loading a configuration as the calibration program does, and running its fit.
#include "tools/tarnix_fit/fit_session.h"

#include <filesystem>
#include <fstream>
#include <new>

#include "config/profile_values.h"
#include "display/target_layout.h"
#include "fit/model_choice.h"
#include "platform/platform.h"
#include "platform/profile_size.h"
#include "tools/tarnix_fit/model_runners.h"
#include "tools/tarnix_fit/tool_text.h"

namespace {

int Fail(std::string& error, const std::string& message) {
    error = message;
    return kExitBadInput;
}

// The first TouchGrid key a pass needs that the file lacks, or empty.
std::string FirstMissingTouchKey(const CalibrationConfig& c) {
    for (uint32_t i = 0; i < c.TargetCount && i < c.NumGridPoints + kMiniTargetSlots; ++i) {
        if (i >= c.NumGridPoints && !c.MiniTargetEnabled[i - c.NumGridPoints]) continue;
        for (const wchar_t* format : {L"TouchGridX%02d", L"TouchGridY%02d"}) {
            wchar_t key[64];
            FormatNumberedKey(key, format, int(i));
            double value = 0.0;
            if (!ReadCfgOptionalReal(c.CfgFilePath, key, &value)) return PrintableText(key);
        }
    }
    return std::string();
}

int CheckReadable(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    const std::string shown = PrintableText(ToolWidePath(path));
    if (!std::filesystem::exists(path, ec)) return Fail(error, "no such file: " + shown);
    if (std::filesystem::is_directory(path, ec)) return Fail(error, "not a file: " + shown);
    std::ifstream probe(path, std::ios::binary);
    if (!probe) return Fail(error, "cannot read the file: " + shown);
    return kExitFitted;
}

int ReadLayout(const ToolOptions& options, FitSession& s, std::string& error) {
    CalibrationConfig& c = *s.Config;
    ReadGridConfig(c);
    if (s.HasPlacement) {
        c.CaptionHeight = s.Placement.CaptionHeight;
        // A history entry's TargetGrid keys hold the targets where its pass drew them; entries
        // of older versions still name the spread that put them there.
        c.GridMagnification = 1.0;
        c.GridSpacing = 0;
    }
    if (options.HasCaptionHeight) c.CaptionHeight = options.CaptionHeight;
    const uint32_t minimum =
        uint32_t(FewestGridPoints(FitTerms(c.FitTerms), c.ModelKind, c.PolynomialOrder));
    const std::string fitted = ChoosesAmongModels(FitTerms(c.FitTerms), c.ModelKind)
                                   ? "the choice of models (FitTerms=4)"
                                   : "a polynomial of order " + std::to_string(c.PolynomialOrder);
    if (c.NumGridPoints < minimum)
        return Fail(error, "too few grid points: " + std::to_string(c.NumGridPoints) + " for " +
                               fitted + ", which needs at least " + std::to_string(minimum));
    if (!BuildGridCells(c) || !BuildTargets(c))
        return Fail(error, "the grid could not be laid out");
    PlaceMiniTargets(c);
    const std::string missing = FirstMissingTouchKey(c);
    if (!missing.empty()) return Fail(error, "missing TouchGrid keys (first: " + missing + ")");
    if (!ReadSimulatedTouches(c)) return Fail(error, "the simulated touches could not be read");
    if (s.HasPlacement) {  // a live pass centres its touches on 0, not on their mean
        c.MeanTouchV = s.Placement.MeanTouchV;
        c.MeanTouchW = s.Placement.MeanTouchW;
    }
    return kExitFitted;
}

}  // namespace

int LoadFitSession(const ToolOptions& options, FitSession& s, std::string& error) {
    ProfileReadingPass pass;
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(ToolPath(options.ConfigPath), ec);
    if (ec) path = ToolPath(options.ConfigPath);
    if (int status = CheckReadable(path, error); status != kExitFitted) return status;
    s.ConfigPath = ToolWidePath(path);
    if (const uint64_t bytes = OversizedProfileBytes(s.ConfigPath))
        return Fail(error, PrintableText(OversizedProfileText(s.ConfigPath, bytes)));
    if (!ReadControllerParameters(s.Parameters, s.ConfigPath.c_str()))
        return Fail(error, "the path of the configuration file is too long");
    s.Config = std::make_unique<CalibrationConfig>(s.ConfigPath.c_str());
    s.HasPlacement = ReadHistoryPlacement(s.ConfigPath.c_str(), s.Placement);
    if (int status = ReadLayout(options, s, error); status != kExitFitted) return status;
    const CalibrationConfig& c = *s.Config;
    s.Fit = CreateCalibrationFit(c.PolynomialOrder, c.ModelKind, int32_t(c.NumGridPoints));
    if (!s.Fit) return Fail(error, "out of memory");
    LinkCalibrationFit(*s.Fit, *s.Config, s.Parameters);
    const bool entryArea = s.HasPlacement && !options.HasMonitor;
    s.Fit->MonitorWidth = entryArea ? s.Placement.Area.Width : options.MonitorWidth;
    s.Fit->MonitorHeight = entryArea ? s.Placement.Area.Height : options.MonitorHeight;
    return kExitFitted;
}

bool PackSessionRecord(const FitSession& s, CalibrationDataRecord& record) {
    RecordArea area;
    area.Width = s.Fit->MonitorWidth;
    area.Height = s.Fit->MonitorHeight;
    VirtualScreenMetrics screen{area.Width, area.Height, 0, 0};
    int32_t screenIndex = 0;
    if (s.HasPlacement) {
        area = s.Placement.Area;
        screen = s.Placement.VirtualScreen;
        screenIndex = s.Placement.ScreenIndex;
    }
    return PackCalibrationRecord(area, screenIndex, kPlainControllerType, screen, s.Fit.get(),
                                 record);
}

int RunFitSession(FitSession& s, std::string& error) {
    const ModelRunner* runner = FindModelRunner(s.Fit->ModelKind);
    if (runner == nullptr) {
        error = "model kind " + std::to_string(s.Fit->ModelKind) +
                " (Laplace) is not built yet in this version of tarnix-fit";
        return kExitModelMissing;
    }
    try {
        if (runner->Run(*s.Fit)) return kExitFitted;
    } catch (const std::bad_alloc&) {
        s.Fit->LastStatus = FitStatus::OutOfMemory;
    }
    error = "the fit refused the data: " + PrintableText(FitStatusText(s.Fit->LastStatus));
    return kExitFitRefused;
}

SessionJudgement JudgeFitSession(const FitSession& s) {
    const FitGateLimits limits =
        FitGateLimitsFor(s.Parameters.ControllerMin, s.Parameters.ControllerMax,
                         s.Config->MaxFitResidual, s.Config->MaxTouchScatter);
    SessionJudgement j;
    j.Gate = JudgeFit(*s.Fit, limits);
    const int32_t width = s.Fit->MonitorWidth, height = s.Fit->MonitorHeight;
    j.Touches = JudgeTouches(JudgeInputFor(*s.Config, s.Parameters, width, height));
    // The window asks the judge's suspects again before it fits, so touches that would be asked
    // again are not yet refused for the calibration they would give.
    const bool asked = !j.Touches.Suspects.empty() && !TooManySuspects(j.Touches);
    if (j.Gate.Verdict == FitVerdict::ExpectedErrorTooLarge && asked)
        j.Gate.Verdict = FitVerdict::Sound;
    const bool fits =
        j.Gate.Verdict == FitVerdict::Sound || j.Gate.Verdict == FitVerdict::ExpectedErrorTooLarge;
    if (fits && TooManySuspects(j.Touches)) {
        j.Gate.Verdict = FitVerdict::TouchesDisagree;
        const TargetPoint& worst = s.Config->Targets[size_t(j.Touches.Suspects.front())];
        j.Gate.Region = PlaceOnArea(worst.X * width, worst.Y * height, width, height);
    }
    return j;
}
