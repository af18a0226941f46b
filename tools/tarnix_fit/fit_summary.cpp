// Printing a fitted pass: a short human summary or a JSON object.
#include "tools/tarnix_fit/fit_summary.h"

#include <cmath>
#include <vector>

#include "fit/fit_evaluation.h"
#include "fit/term_names.h"
#include "tools/tarnix_fit/model_runners.h"
#include "tools/tarnix_fit/tool_text.h"

namespace {

void PrintResiduals(std::FILE* out, const CalibrationFit& fit) {
    const GridResiduals residuals = ComputeGridResiduals(fit);
    std::fprintf(out, "\nResiduals of the grid points (predicted - target):\n");
    std::fprintf(out, " Point      dX (norm)      dY (norm)   Distance (px)\n");
    for (size_t i = 0; i < residuals.Points.size(); ++i) {
        const PointResidual& r = residuals.Points[i];
        std::fprintf(out, " %5zu  %13.6f  %13.6f  %14.3f\n", i, r.DeltaX, r.DeltaY, r.Pixels);
    }
    std::fprintf(out, " RMS  %.6f normalised, %.3f px\n", residuals.RmsNormalised,
                 residuals.RmsPixels);
    std::fprintf(out, " Max  %.6f normalised, %.3f px\n", residuals.MaxNormalised,
                 residuals.MaxPixels);
}

// Each judged touch: how far the fit without it puts it (mm), the scatter, the suspects.
void PrintJudge(std::FILE* out, const TouchJudgement& j, double boundMm) {
    if (!j.Judged) {
        std::fprintf(out, "\nTouches: too few beyond the model's terms to judge\n");
        return;
    }
    std::fprintf(out, "\nDeleted residuals (where the fit without the touch puts it):\n");
    std::fprintf(out, " Target  Distance (mm)  Score\n");
    for (const TouchFigures& f : j.Touches) {
        if (f.Judged)
            std::fprintf(out, " %6d  %13.3f  %5.2f\n", f.Index, f.DeletedMm, f.Score);
        else
            std::fprintf(out, " %6d  %13s  %5s\n", f.Index, "-", "-");
    }
    std::fprintf(out, "Scatter: %.3f mm per axis (bound %.3f mm)\n", j.ScatterMm, boundMm);
    std::fprintf(out, "Expected error of a new touch: %.3f mm RMS, %.3f mm at worst\n",
                 j.ExpectedRmsMm, j.ExpectedWorstMm);
    std::fprintf(out, "Suspects:");
    for (int32_t index : j.Suspects) std::fprintf(out, " %d", index);
    std::fprintf(out, "%s\n", j.Suspects.empty() ? " none" : "");
}

void PrintNumber(std::FILE* out, double value) {
    if (std::isfinite(value))
        std::fprintf(out, "%.17g", value);
    else
        std::fprintf(out, "null");
}

void PrintArray(std::FILE* out, const double* values, size_t count) {
    std::fprintf(out, "[");
    for (size_t i = 0; i < count; ++i) {
        if (i) std::fprintf(out, ", ");
        PrintNumber(out, values[i]);
    }
    std::fprintf(out, "]");
}

void PrintKey(std::FILE* out, const char* key, bool& first) {
    std::fprintf(out, "%s\n  \"%s\": ", first ? "" : ",", key);
    first = false;
}

void PrintVectorMember(std::FILE* out, const char* key, const Vector& v, bool& first) {
    PrintKey(out, key, first);
    PrintArray(out, v.data, v.length);
}

void PrintNumberMember(std::FILE* out, const char* key, double value, bool& first) {
    PrintKey(out, key, first);
    PrintNumber(out, value);
}

void PrintSpacing(std::FILE* out, const CalibrationFit& fit, bool& first) {
    PrintKey(out, "MiniTargetSpacing", first);
    std::fprintf(out, "[");
    for (int r = 0; r < kFitMiniTargets; ++r) {
        std::fprintf(out, "%s[", r ? ", " : "");
        for (int q = 0; q < kFitMiniTargets; ++q)
            std::fprintf(out, "%s%d", q ? ", " : "", fit.MiniTargetSpacing[r][q]);
        std::fprintf(out, "]");
    }
    std::fprintf(out, "]");
}

// The deleted residual of every target index (null where none was judged), the scatter, the
// expected error and the suspects.
void PrintJudgeMembers(std::FILE* out, const TouchJudgement& j, size_t targetCount, bool& first) {
    std::vector<double> deleted(targetCount, std::nan(""));
    for (const TouchFigures& f : j.Touches)
        if (f.Judged && size_t(f.Index) < targetCount) deleted[size_t(f.Index)] = f.DeletedMm;
    PrintKey(out, "DeletedResidualMm", first);
    PrintArray(out, deleted.data(), deleted.size());
    PrintNumberMember(out, "TouchScatterMm", j.ScatterMm, first);
    PrintNumberMember(out, "ExpectedRmsMm", j.ExpectedRmsMm, first);
    PrintNumberMember(out, "ExpectedWorstMm", j.ExpectedWorstMm, first);
    PrintKey(out, "Suspects", first);
    std::fprintf(out, "[");
    for (size_t i = 0; i < j.Suspects.size(); ++i)
        std::fprintf(out, "%s%d", i ? ", " : "", j.Suspects[i]);
    std::fprintf(out, "]");
}

// The model a pass chose, how it was written into the record, and every candidate it weighed.
void PrintFittedModel(std::FILE* out, const CalibrationFit& fit, bool& first) {
    PrintKey(out, "FittedModel", first);
    bool inner = false;  // the name opens the object
    std::fprintf(out, "{\"Name\": \"%s\"", fit.Choice.Model->Name().c_str());
    PrintNumberMember(out, "Terms", fit.Choice.Model->Terms(), inner);
    PrintKey(out, "WrittenOrder", inner);
    std::fprintf(out, "%u", fit.WrittenOrder);
    PrintNumberMember(out, "ProjectionMisfitMm", fit.ProjectionMisfitMm, inner);
    PrintKey(out, "Candidates", inner);
    std::fprintf(out, "[");
    for (size_t k = 0; k < fit.Choice.Scores.size(); ++k) {
        const ModelScore& score = fit.Choice.Scores[k];
        bool member = true;
        std::fprintf(out, "%s{", k ? ", " : "");
        PrintKey(out, "Name", member);
        std::fprintf(out, "\"%s\"", score.Name.c_str());
        PrintNumberMember(out, "Terms", score.Terms, member);
        PrintNumberMember(out, "DeletedRmsMm", score.DeletedRmsMm, member);
        std::fprintf(out, "}");
    }
    std::fprintf(out, "]}");
}

}  // namespace

void PrintFitSummary(std::FILE* out, const FitSession& s, const SessionJudgement& judgement,
                     const std::wstring& reportFolder) {
    const CalibrationFit& fit = *s.Fit;
    const CalibrationConfig& c = *s.Config;
    const ModelRunner* runner = FindModelRunner(fit.ModelKind);
    std::fprintf(out, "tarnix-fit: %s\n", PrintableText(s.ConfigPath).c_str());
    std::fprintf(out, "Model: kind %u (%s), order %u, %d terms\n", fit.ModelKind,
                 runner ? runner->Name : "?", fit.PolynomialOrder, fit.TermCount);
    if (fit.Choice.Model)
        std::fprintf(out,
                     "Fitted with: %s (%.1f terms an axis, FitTerms=%d), written as order %u, "
                     "%.3f mm from the model at most\n",
                     fit.Choice.Model->Name().c_str(), fit.Choice.Model->Terms(), c.FitTerms,
                     fit.WrittenOrder, fit.ProjectionMisfitMm);
    std::fprintf(out, "Points: %d grid points (%u x %u%s), %d mini targets\n", fit.PointCount,
                 c.NumGridRows, c.NumGridColumns, c.Perimeter ? ", perimeter" : "",
                 c.MiniTargetCount);
    std::fprintf(out, "Monitor: %d x %d pixels\n", fit.MonitorWidth, fit.MonitorHeight);
    std::fprintf(out, "Normalisation: controller offset %.5f, scale factor %.9f\n",
                 fit.ControllerOffset, fit.ScaleFactor);
    std::fprintf(out, "\nCoefficients:\n        term            CX(k)            CY(k)\n");
    for (int32_t k = 0; k < fit.TermCount && uint32_t(k) < fit.CoeffX.length; ++k)
        std::fprintf(out, " %11s  %15.7f  %15.7f\n", PolynomialTermNames[k], fit.CoeffX[k],
                     fit.CoeffY[k]);
    PrintResiduals(out, fit);
    PrintJudge(out, judgement.Touches, judgement.Gate.BoundScatterMm);
    std::fprintf(out, "\nRotation: %.6f degrees\n", fit.RotationDegrees);
    std::fprintf(out, "Offset: (%.6f, %.6f) controller counts\n", fit.OffsetV, fit.OffsetW);
    std::fprintf(out, "Verdict: %s\n",
                 PrintableText(FitVerdictText(judgement.Gate.Verdict)).c_str());
    std::fprintf(out, "Reports: %s\n", PrintableText(reportFolder).c_str());
}

void PrintFitJson(std::FILE* out, const FitSession& s, const SessionJudgement& judgement,
                  bool laplaceMembers) {
    const CalibrationFit& fit = *s.Fit;
    bool first = true;
    std::fprintf(out, "{");
    PrintVectorMember(out, "CoeffX", fit.CoeffX, first);
    PrintVectorMember(out, "CoeffY", fit.CoeffY, first);
    PrintKey(out, "TermCount", first);
    std::fprintf(out, "%d", fit.TermCount);
    if (fit.Choice.Model) PrintFittedModel(out, fit, first);
    PrintNumberMember(out, "ControllerOffset", fit.ControllerOffset, first);
    PrintNumberMember(out, "ScaleFactor", fit.ScaleFactor, first);
    PrintNumberMember(out, "OffsetV", fit.OffsetV, first);
    PrintNumberMember(out, "OffsetW", fit.OffsetW, first);
    PrintNumberMember(out, "RotationDegrees", fit.RotationDegrees, first);
    const struct {
        const char* key;
        const double* values;
    } miniArrays[] = {{"MiniTargetDistance", fit.MiniTargetDistance},
                      {"MiniTargetDeltaX", fit.MiniTargetDeltaX},
                      {"MiniTargetDeltaY", fit.MiniTargetDeltaY},
                      {"MiniTargetX", fit.MiniTargetX},
                      {"MiniTargetY", fit.MiniTargetY}};
    for (const auto& array : miniArrays) {
        PrintKey(out, array.key, first);
        PrintArray(out, array.values, kFitMiniTargets);
    }
    PrintSpacing(out, fit, first);
    if (laplaceMembers) {
        PrintNumberMember(out, "LaplaceOffsetX", fit.LaplaceOffsetX, first);
        PrintNumberMember(out, "LaplaceOffsetY", fit.LaplaceOffsetY, first);
        PrintNumberMember(out, "LaplaceRotation", fit.LaplaceRotation, first);
        PrintNumberMember(out, "LaplaceMinSS", fit.LaplaceMinSS, first);
        PrintVectorMember(out, "LaplaceCoeffV", fit.LaplaceCoeffV, first);
        PrintVectorMember(out, "LaplaceCoeffW", fit.LaplaceCoeffW, first);
    }
    PrintJudgeMembers(out, judgement.Touches, s.Config->TargetCount, first);
    PrintKey(out, "Verdict", first);
    std::fprintf(out, "\"%s\"", FitVerdictName(judgement.Gate.Verdict));
    std::fprintf(out, "\n}\n");
}
