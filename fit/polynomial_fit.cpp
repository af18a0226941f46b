// The polynomial fit driver: normalisation and its input report, the fits, the final-fit set-up.
#include "fit/polynomial_fit.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/design_matrix_builders.h"
#include "fit/fit_inputs.h"
#include "fit/fit_report.h"
#include "fit/mini_targets.h"
#include "fit/model_choice.h"
#include "fit/model_projection.h"
#include "fit/term_names.h"
#include "numeric/design_matrices.h"
#include "numeric/svd.h"
#include "platform/debug_trace.h"

namespace {

int Refuse(CalibrationFit& fit, FitStatus status, const wchar_t* why) {
    return RefuseFit(fit, status, L"polynomial", why);
}

// The checks that keep a pass from fitting data it does not have.
int CheckPolynomialInput(CalibrationFit& fit, uint32_t n) {
    if (fit.Config == nullptr || fit.Parameters == nullptr)
        return Refuse(fit, FitStatus::BadInput, L"the fit record is not linked");
    const CalibrationConfig& c = *fit.Config;
    if (c.Touches.size() < n || c.Targets.size() < n)
        return Refuse(fit, FitStatus::BadInput, L"fewer touches or targets than data points");
    const int32_t fewest =
        FewestGridPoints(FitTerms(c.FitTerms), fit.ModelKind, fit.PolynomialOrder);
    if (fit.TermCount <= 0 || fit.PointCount < fewest || uint32_t(fit.PointCount) > n)
        return Refuse(fit, FitStatus::BadInput, L"the grid has too few points for the order");
    return CheckTouchesFinite(fit, n) ? 1 : 0;
}

// The sum of squared residuals of the grid points under coefficients of every term.
double SumOfSquares(const CalibrationFit& fit, const Vector& coeff, const Vector& target) {
    double sum = 0.0;
    for (int32_t i = 0; i < fit.PointCount; ++i) {
        double predicted = 0.0;
        for (int32_t k = 0; k < fit.TermCount; ++k)
            predicted += PolynomialDesignMatrix[i][k] * coeff[k];
        sum += (predicted - target[i]) * (predicted - target[i]);
    }
    return sum;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// The document's fit of every term of the order stays only where the key asks for it and the
// touches determine it with room to spare.
bool KeepsEveryTerm(const CalibrationFit& fit) {
    return FitTerms(fit.Config->FitTerms) == FitTerms::Polynomial &&
           double(fit.TermCount) <= TermBudget(size_t(fit.PointCount));
}

void TraceChoice(const CalibrationFit& fit) {
    const ModelChoice& choice = fit.Choice;
    for (const ModelScore& s : choice.Scores)
        DebugPrint(L"Tarnix.exe: model %s: %.1f terms an axis, deleted residuals %.3f mm RMS",
                   Wide(s.Name).c_str(), s.Terms, s.DeletedRmsMm);
    DebugPrint(
        L"Tarnix.exe: fitted with the %s model, written as a polynomial of order %u "
        L"(%.3f mm from the model at most)",
        Wide(choice.Model->Name()).c_str(), fit.WrittenOrder, fit.ProjectionMisfitMm);
}

// The document's least-squares fit of every term of the record's order through the grid points.
void FitEveryTerm(CalibrationFit& fit, double& chisqX, double& chisqY) {
    Vector x = RowIndices(uint32_t(fit.PointCount));
    SvdFit(x, fit.TargetX, fit.Weights, fit.CoeffX, fit.FitU, fit.FitV, fit.SingularValues, chisqX,
           PolynomialBasisRow);
    SvdFit(x, fit.TargetY, fit.Weights, fit.CoeffY, fit.FitU, fit.FitV, fit.SingularValues, chisqY,
           PolynomialBasisRow);
    fit.FinalRank = NonZeroSingularValues(fit.SingularValues, fit.TermCount);
}

// Any other pass fits the model its FitTerms key allows within the touches' budget of terms,
// chosen by its deleted residuals, and writes it into the record's terms. 0 (refused, with the
// reason traced) when the touches determine no such model or the record cannot hold it.
int FitModelIntoRecord(CalibrationFit& fit, double& chisqX, double& chisqY) {
    const CalibrationConfig& c = *fit.Config;
    const size_t n = size_t(fit.PointCount);
    if (FitTerms(c.FitTerms) == FitTerms::Polynomial)
        DebugPrint(
            L"Tarnix.exe: %d touches do not determine the %d terms of order %u: fitting "
            L"the highest order they do",
            fit.PointCount, fit.TermCount, fit.PolynomialOrder);
    else if (FitTerms(c.FitTerms) == FitTerms::Predicted && fit.PointCount < fit.TermCount)
        DebugPrint(
            L"Tarnix.exe: %d touches do not determine the %d terms of order %u: choosing "
            L"among the models they do",
            fit.PointCount, fit.TermCount, fit.PolynomialOrder);
    std::vector<std::string> candidates =
        CandidateModels(FitTerms(c.FitTerms), fit.PolynomialOrder, n);
    if (candidates.empty() && FitTerms(c.FitTerms) == FitTerms::Sheet) {
        DebugPrint(L"Tarnix.exe: %d touches do not determine the sheet: choosing among the rest",
                   fit.PointCount);
        candidates = CandidateModels(FitTerms::Predicted, fit.PolynomialOrder, n);
    }
    std::vector<BasisPoint> points;
    for (int32_t i = 0; i < fit.PointCount; ++i)
        points.push_back({fit.TouchV[i], fit.TouchW[i], fit.TargetX[i], fit.TargetY[i]});
    const double unitX = c.RangeX * fit.Parameters->ScreenWidth;
    const double unitY = c.RangeY * fit.Parameters->ScreenHeight;
    const bool blend = FitTerms(c.FitTerms) == FitTerms::Predicted;
    if (!ChooseModel(candidates, points, unitX, unitY, blend, fit.Choice))
        return Refuse(fit, FitStatus::NotDetermined, L"the touches determine no model");
    const FitArea area{NormalisedTargetX(c, 0.0), NormalisedTargetX(c, 1.0),
                       NormalisedTargetY(c, 0.0), NormalisedTargetY(c, 1.0)};
    RecordProjection projection;
    if (!ProjectIntoRecord(*fit.Choice.Model, fit.Choice.Frame, area, fit.TermCount, unitX, unitY,
                           projection))
        return Refuse(fit, FitStatus::NotDetermined, L"the record cannot hold the model");
    fit.CoeffX = std::move(projection.CoeffX);
    fit.CoeffY = std::move(projection.CoeffY);
    fit.WrittenOrder = projection.Order;
    fit.ProjectionMisfitMm = projection.MisfitMm;
    // Every record term is determined: fitted by the projection, or zero above its order.
    fit.FinalRank = fit.TermCount;
    chisqX = SumOfSquares(fit, fit.CoeffX, fit.TargetX);
    chisqY = SumOfSquares(fit, fit.CoeffY, fit.TargetY);
    TraceChoice(fit);
    return 1;
}

}  // namespace

bool CheckTouchesFinite(CalibrationFit& fit, uint32_t count) {
    const CalibrationConfig& c = *fit.Config;
    for (uint32_t i = 0; i < count && i < c.Touches.size(); ++i) {
        if (std::isfinite(c.Touches[i].V) && std::isfinite(c.Touches[i].W)) continue;
        fit.LastStatus = FitStatus::NonFiniteTouch;
        DebugPrint(L"Tarnix.exe: fit refused: touch of target %d is not a finite number",
                   int32_t(i + 1));
        return false;
    }
    return true;
}

bool AcceptFitResults(CalibrationFit& fit) {
    const uint32_t terms = fit.TermCount > 0 ? uint32_t(fit.TermCount) : 0;
    const bool finite = AllFinite(fit.CoeffX, terms) && AllFinite(fit.CoeffY, terms) &&
                        std::isfinite(fit.ControllerOffset) && std::isfinite(fit.ScaleFactor) &&
                        std::isfinite(fit.OffsetV) && std::isfinite(fit.OffsetW);
    fit.LastStatus = finite ? FitStatus::Fitted : FitStatus::NonFiniteResult;
    if (!finite) DebugPrint(L"Tarnix.exe: %s", L"fit refused: the result is not a finite number");
    return finite;
}

int PreparePolynomialFit(CalibrationFit& fit) {
    fit.LastStatus = FitStatus::NotRun;
    const uint32_t n = fit.Config ? DataPointCount(*fit.Config) : 0;
    if (!CheckPolynomialInput(fit, n)) return 0;
    NormaliseFitData(fit, n);
    if (!NormalisedDataFinite(fit, n))
        return Refuse(fit, FitStatus::NonFiniteResult, L"the normalised data are not finite");
    WriteFitInputReport(fit, n);
    fit.Weights = Filled(uint32_t(fit.PointCount), 1.0);
    fit.FitU = Matrix(fit.PointCount, fit.TermCount);
    fit.FitV = Matrix(fit.PointCount, fit.TermCount);
    fit.SingularValues = Vector(uint32_t(fit.TermCount));
    BuildPolynomialDesignMatrix(fit, int32_t(n));
    // A design matrix that overflowed would send the decomposition into its fatal error.
    if (!MatrixFinite(PolynomialDesignMatrix))
        return Refuse(fit, FitStatus::NonFiniteResult, L"the polynomial terms overflow");
    fit.CoeffX = Filled(uint32_t(fit.TermCount), 0.0);
    fit.CoeffY = Filled(uint32_t(fit.TermCount), 0.0);
    fit.LastStatus = FitStatus::Prepared;
    return 1;
}

int RunPolynomialFit(CalibrationFit& fit) {
    if (fit.LastStatus != FitStatus::Prepared) {
        if (fit.LastStatus == FitStatus::NotRun || fit.LastStatus == FitStatus::Fitted)
            fit.LastStatus = FitStatus::BadInput;
        return 0;
    }
    const CalibrationConfig& c = *fit.Config;
    double chisqX = 0.0, chisqY = 0.0;
    fit.Choice = ModelChoice();
    fit.FinalRank = 0;
    fit.WrittenOrder = fit.PolynomialOrder;
    fit.ProjectionMisfitMm = 0.0;
    if (KeepsEveryTerm(fit))
        FitEveryTerm(fit, chisqX, chisqY);
    else if (!FitModelIntoRecord(fit, chisqX, chisqY))
        return 0;
    const int32_t reportCount = fit.PointCount + (c.HasMiniTargets ? kFitMiniTargets : 0);
    WriteFitReport(L"SvdFitOutputs.txt", fit.CoeffX, fit, PolynomialTermNames, reportCount,
                   fit.TermCount, fit.CoeffY, PolynomialDesignMatrix, PolynomialDesignMatrix,
                   chisqX, chisqY);
    if (c.HasMiniTargets)
        EvaluateMiniTargets(
            fit, {PolynomialDesignMatrix, fit.TargetX, fit.TargetY, int32_t(c.NumGridPoints)});
    return AcceptFitResults(fit) ? 1 : 0;
}

int PrepareGridPolynomialFit(CalibrationFit& fit, int32_t count) {
    if (count < 0) count = 0;
    fit.GridWeights = Filled(uint32_t(count), 1.0);
    fit.GridFitU = Matrix(count, fit.TermCount);
    fit.GridFitV = Matrix(count, fit.TermCount);
    fit.GridSingularValues = Vector(uint32_t(fit.TermCount > 0 ? fit.TermCount : 0));
    fit.CoeffX = Filled(uint32_t(fit.TermCount > 0 ? fit.TermCount : 0), 0.0);
    fit.CoeffY = Filled(uint32_t(fit.TermCount > 0 ? fit.TermCount : 0), 0.0);
    BuildPolynomialDesignMatrix(fit, count);
    return 1;
}

int RunPolynomialPass(CalibrationFit& fit) {
    return PreparePolynomialFit(fit) && RunPolynomialFit(fit) ? 1 : 0;
}
