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

// The members of one JSON object, one a line. Numbers carry 17 significant digits; one that is
// not finite, and every result of a refused fit, is null.
class JsonMembers {
  public:
    explicit JsonMembers(std::FILE* out) : out_(out) { std::fprintf(out_, "{"); }
    void End() { std::fprintf(out_, "\n}\n"); }

    // False from here on: the members that follow are results a refused fit does not have.
    void SetKnown(bool known) { known_ = known; }

    // The key, and true when the caller prints the value; a result not known prints null.
    bool Key(const char* key) {
        std::fprintf(out_, "%s\n  \"%s\": ", first_ ? "" : ",", key);
        first_ = false;
        if (!known_) std::fprintf(out_, "null");
        return known_;
    }
    void Number(const char* key, double value) {
        if (Key(key)) PrintNumber(value);
    }
    void Numbers(const char* key, const double* values, size_t count) {
        if (!Key(key)) return;
        std::fprintf(out_, "[");
        for (size_t i = 0; i < count; ++i) {
            if (i) std::fprintf(out_, ", ");
            PrintNumber(values[i]);
        }
        std::fprintf(out_, "]");
    }
    void Numbers(const char* key, const Vector& v) { Numbers(key, v.data, v.length); }
    void Integers(const char* key, const int32_t* values, size_t count) {
        if (!Key(key)) return;
        std::fprintf(out_, "[");
        for (size_t i = 0; i < count; ++i) std::fprintf(out_, "%s%d", i ? ", " : "", values[i]);
        std::fprintf(out_, "]");
    }
    std::FILE* Out() const { return out_; }

  private:
    void PrintNumber(double value) {
        if (std::isfinite(value))
            std::fprintf(out_, "%.17g", value);
        else
            std::fprintf(out_, "null");
    }

    std::FILE* out_;
    bool first_ = true;
    bool known_ = true;
};

void PrintSpacing(JsonMembers& json, const CalibrationFit& fit) {
    if (!json.Key("MiniTargetSpacing")) return;
    std::fprintf(json.Out(), "[");
    for (int r = 0; r < kFitMiniTargets; ++r) {
        std::fprintf(json.Out(), "%s[", r ? ", " : "");
        for (int q = 0; q < kFitMiniTargets; ++q)
            std::fprintf(json.Out(), "%s%d", q ? ", " : "", fit.MiniTargetSpacing[r][q]);
        std::fprintf(json.Out(), "]");
    }
    std::fprintf(json.Out(), "]");
}

// What the fit computed: coefficients, offset, rotation, the mini targets' figures and, for the
// Laplace kinds, the Laplace results.
void PrintResultMembers(JsonMembers& json, const CalibrationFit& fit, bool laplaceMembers) {
    json.Numbers("CoeffX", fit.CoeffX);
    json.Numbers("CoeffY", fit.CoeffY);
    json.Number("OffsetV", fit.OffsetV);
    json.Number("OffsetW", fit.OffsetW);
    json.Number("RotationDegrees", fit.RotationDegrees);
    json.Numbers("MiniTargetDistance", fit.MiniTargetDistance, kFitMiniTargets);
    json.Numbers("MiniTargetDeltaX", fit.MiniTargetDeltaX, kFitMiniTargets);
    json.Numbers("MiniTargetDeltaY", fit.MiniTargetDeltaY, kFitMiniTargets);
    json.Numbers("MiniTargetX", fit.MiniTargetX, kFitMiniTargets);
    json.Numbers("MiniTargetY", fit.MiniTargetY, kFitMiniTargets);
    PrintSpacing(json, fit);
    if (!laplaceMembers) return;
    json.Number("LaplaceOffsetX", fit.LaplaceOffsetX);
    json.Number("LaplaceOffsetY", fit.LaplaceOffsetY);
    json.Number("LaplaceRotation", fit.LaplaceRotation);
    json.Number("LaplaceMinSS", fit.LaplaceMinSS);
    json.Numbers("LaplaceCoeffV", fit.LaplaceCoeffV);
    json.Numbers("LaplaceCoeffW", fit.LaplaceCoeffW);
}

// The deleted residual of every target index (null where none was judged), the scatter, the
// expected error and the suspects.
void PrintJudgeMembers(JsonMembers& json, const TouchJudgement& j, size_t targetCount) {
    std::vector<double> deleted(targetCount, std::nan(""));
    for (const TouchFigures& f : j.Touches)
        if (f.Judged && size_t(f.Index) < targetCount) deleted[size_t(f.Index)] = f.DeletedMm;
    json.Numbers("DeletedResidualMm", deleted.data(), deleted.size());
    json.Number("TouchScatterMm", j.ScatterMm);
    json.Number("ExpectedRmsMm", j.ExpectedRmsMm);
    json.Number("ExpectedWorstMm", j.ExpectedWorstMm);
    json.Integers("Suspects", j.Suspects.data(), j.Suspects.size());
}

// The model a pass chose, how it was written into the record, and every candidate it weighed.
void PrintFittedModel(JsonMembers& json, const CalibrationFit& fit) {
    if (!json.Key("FittedModel")) return;
    std::FILE* out = json.Out();
    const auto number = [out](double value) {
        std::isfinite(value) ? std::fprintf(out, "%.17g", value) : std::fprintf(out, "null");
    };
    std::fprintf(out, "{\"Name\": \"%s\", \"Terms\": ", fit.Choice.Model->Name().c_str());
    number(fit.Choice.Model->Terms());
    std::fprintf(out, ", \"WrittenOrder\": %u, \"ProjectionMisfitMm\": ", fit.WrittenOrder);
    number(fit.ProjectionMisfitMm);
    std::fprintf(out, ", \"Candidates\": [");
    for (size_t k = 0; k < fit.Choice.Scores.size(); ++k) {
        const ModelScore& score = fit.Choice.Scores[k];
        std::fprintf(out, "%s{\"Name\": \"%s\", \"Terms\": ", k ? ", " : "", score.Name.c_str());
        number(score.Terms);
        std::fprintf(out, ", \"DeletedRmsMm\": ");
        number(score.DeletedRmsMm);
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
    JsonMembers json(out);
    if (json.Key("TermCount")) std::fprintf(out, "%d", fit.TermCount);
    if (fit.Choice.Model) PrintFittedModel(json, fit);
    json.Number("ControllerOffset", fit.ControllerOffset);
    json.Number("ScaleFactor", fit.ScaleFactor);
    json.SetKnown(fit.LastStatus == FitStatus::Fitted);
    PrintResultMembers(json, fit, laplaceMembers);
    json.SetKnown(true);
    PrintJudgeMembers(json, judgement.Touches, s.Config->TargetCount);
    if (json.Key("Verdict")) std::fprintf(out, "\"%s\"", FitVerdictName(judgement.Gate.Verdict));
    json.End();
}
