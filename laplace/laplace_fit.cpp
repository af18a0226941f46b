// The Laplace fit driver: input stage, Laplace fits, offset and rotation search, virtual grid and
// the final polynomial fit, with their reports.
#include "laplace/laplace_fit.h"

#include <cmath>

#include "config/calibration_config.h"
#include "fit/design_matrix_builders.h"
#include "fit/fit_inputs.h"
#include "fit/fit_report.h"
#include "fit/polynomial_fit.h"
#include "fit/symmetrisation.h"
#include "fit/term_names.h"
#include "laplace/laplace_mini_targets.h"
#include "laplace/laplace_model.h"
#include "laplace/offset_rotation_search.h"
#include "laplace/virtual_grid.h"
#include "numeric/design_matrices.h"
#include "numeric/svd.h"
#include "platform/debug_trace.h"
#include "platform/report_file.h"

namespace {

constexpr uint32_t kGeneralLaplaceKind = 3;
constexpr uint32_t kSymmetricLaplaceKind = 4;

int Refuse(CalibrationFit& fit, FitStatus status, const wchar_t* why) {
    return RefuseFit(fit, status, L"Laplace", why);
}

bool Symmetric(const CalibrationFit& fit) { return fit.ModelKind == kSymmetricLaplaceKind; }

int32_t GridPointCount(const CalibrationConfig& c) { return c.Nxside * c.Nyside; }

// The normalised targets build the Laplace design matrices: a NaN or infinity there (a bad
// target, or a zero RangeX or RangeY) would keep the decomposition from converging.
bool NormalisedTargetsFinite(const CalibrationConfig& c, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (!std::isfinite(NormalisedTargetX(c, c.Targets[i].X)) ||
            !std::isfinite(NormalisedTargetY(c, c.Targets[i].Y)))
            return false;
    }
    return true;
}

int CheckGrid(CalibrationFit& fit) {
    const CalibrationConfig& c = *fit.Config;
    if (!VirtualGridUsable(c.Nxside, c.Nyside)) {
        DebugPrint(
            L"Tarnix.exe: Laplace fit refused: the virtual grid Nxside %d x Nyside %d "
            L"needs at least 2 points on each side and at most %d points",
            c.Nxside, c.Nyside, int32_t(kMaxVirtualGridPoints));
        fit.LastStatus = FitStatus::BadInput;
        return 0;
    }
    if (GridPointCount(c) < fit.TermCount)
        return Refuse(fit, FitStatus::BadInput,
                      L"the virtual grid has fewer points than the polynomial has terms");
    return 1;
}

// Kind 4 fits the scaled symmetric components; the collected touches wait in SavedV, SavedW.
void UseSymmetricComponents(CalibrationFit& fit, uint32_t n) {
    double rotationDegrees = 0.0;
    SymmetriseAndEstimateRotation(fit, rotationDegrees);
    for (uint32_t i = 0; i < n; ++i) {
        fit.SavedV[i] = fit.TouchV[i];
        fit.TouchV[i] = fit.ScaledSymmetricV[i];
        fit.SavedW[i] = fit.TouchW[i];
        fit.TouchW[i] = fit.ScaledSymmetricW[i];
    }
}

void RestoreCollectedTouches(CalibrationFit& fit, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
        fit.TouchV[i] = fit.SavedV[i];
        fit.TouchW[i] = fit.SavedW[i];
    }
}

void BuildLaplaceDesignMatrices(CalibrationFit& fit, const wchar_t* reportName, int32_t count) {
    if (Symmetric(fit)) {
        BuildSymmetricLaplaceDesignMatrixX(fit, count);
        BuildSymmetricLaplaceDesignMatrixY(fit, count);
    } else {
        BuildLaplaceDesignMatrixX(reportName, count, fit);
        BuildLaplaceDesignMatrixY(reportName, count, fit);
    }
}

void FitLaplaceModel(CalibrationFit& fit, int32_t n, int32_t terms) {
    const Vector x = RowIndices(uint32_t(n));
    double chi1 = 0.0, chi2 = 0.0;
    SvdFit(x, fit.TouchV, fit.Weights, fit.LaplaceCoeffV, fit.FitU, fit.FitV, fit.SingularValues,
           chi1, LaplaceBasisRowX);
    SvdFit(x, fit.TouchW, fit.Weights, fit.LaplaceCoeffW, fit.FitU, fit.FitV, fit.SingularValues,
           chi2, LaplaceBasisRowY);
    WriteFitReport(L"SvdFitLaplaceOutputs.txt", fit.LaplaceCoeffV, fit, LaplaceTermNames, n, terms,
                   fit.LaplaceCoeffW, LaplaceDesignMatrixY, LaplaceDesignMatrixX, chi1, chi2);
}

void WriteGridHeading(ReportFile& report, const CalibrationFit& fit) {
    if (Symmetric(fit)) {
        report.Printf("Optimal Xoff = %8.4f, Yoff = %8.4f, DeltaTheta = %8.4f, min SS = %8.3f\n",
                      fit.LaplaceOffsetX, fit.LaplaceOffsetY, fit.LaplaceRotation,
                      fit.LaplaceMinSS);
        report.Printf("\n");
        report.Printf("\nNew Symmetric Laplace Targets and Touchpoints\n");
    } else {
        report.Printf("\nNew General Laplace Targets and Touchpoints\n");
    }
    report.Printf("Row Col     X(k)     Y(k)     V(k)     W(k)\n");
    report.Printf("=== === ======== ======== ======== ========\n");
    report.Printf("\n");
}

double GeneralPrediction(const Vector& coeff, const Matrix& design, int32_t m, int32_t terms) {
    double sum = 0.0;
    for (int32_t j = 0; j < terms; ++j) sum += coeff[j] * design[m][j];
    return sum;
}

// The controller coordinates of every virtual grid point from the fitted Laplace model, with the
// grid table of "LcoeffsP2.txt". The general builders write their tables to the same file first,
// so the file holds them, then the grid table, in that order.
void SynthesiseGridTouches(CalibrationFit& fit, int32_t terms) {
    const CalibrationConfig& c = *fit.Config;
    const int32_t g = GridPointCount(c);
    if (Symmetric(fit)) {
        EvaluateLaplaceV(fit, g, terms, fit.LaplaceRotation, fit.LaplaceOffsetX, fit.LaplaceOffsetY,
                         fit.LaplaceCoeffV);
        EvaluateLaplaceW(fit, g, terms, fit.LaplaceRotation, fit.LaplaceOffsetX, fit.LaplaceOffsetY,
                         fit.LaplaceCoeffW);
    } else {
        BuildLaplaceDesignMatrices(fit, L"LcoeffsP2.txt", g);
    }
    ReportFile report(L"LcoeffsP2.txt");
    WriteGridHeading(report, fit);
    for (int32_t row = 0; row < c.Nyside; ++row) {
        for (int32_t col = 0; col < c.Nxside; ++col) {
            const int32_t m = row * c.Nxside + col;
            if (Symmetric(fit)) {
                fit.TouchV[m] = fit.PredictedV[m];
                fit.TouchW[m] = fit.PredictedW[m];
            } else {
                fit.TouchV[m] =
                    GeneralPrediction(fit.LaplaceCoeffV, LaplaceDesignMatrixX, m, terms);
                fit.TouchW[m] =
                    GeneralPrediction(fit.LaplaceCoeffW, LaplaceDesignMatrixY, m, terms);
            }
            report.Printf("%3d %3d %8.4f %8.4f %8.4f %8.4f\n", row, col, fit.TargetX[m],
                          fit.TargetY[m], fit.TouchV[m], fit.TouchW[m]);
        }
    }
    report.Printf("\n");
}

void LayVirtualGrid(CalibrationFit& fit) {
    const CalibrationConfig& c = *fit.Config;
    const uint32_t g = uint32_t(GridPointCount(c));
    LaplaceDesignMatrixX = Matrix();
    LaplaceDesignMatrixY = Matrix();
    fit.TargetX = Vector(g);
    fit.TargetY = Vector(g);
    fit.TouchV = Vector(g);
    fit.TouchW = Vector(g);
    FillVirtualGrid(c.Nxside, c.Nyside, fit.TargetX, fit.TargetY);
}

int FitGridPolynomial(CalibrationFit& fit) {
    const CalibrationConfig& c = *fit.Config;
    const int32_t g = GridPointCount(c);
    const Vector x2 = RowIndices(uint32_t(g));
    PrepareGridPolynomialFit(fit, g);
    if (!MatrixFinite(PolynomialDesignMatrix))
        return Refuse(fit, FitStatus::NonFiniteResult,
                      L"the polynomial terms of the grid overflow");
    double chi1 = 0.0, chi2 = 0.0;
    SvdFit(x2, fit.TargetX, fit.GridWeights, fit.CoeffX, fit.GridFitU, fit.GridFitV,
           fit.GridSingularValues, chi1, PolynomialBasisRow);
    SvdFit(x2, fit.TargetY, fit.GridWeights, fit.CoeffY, fit.GridFitU, fit.GridFitV,
           fit.GridSingularValues, chi2, PolynomialBasisRow);
    fit.FinalRank = NonZeroSingularValues(fit.GridSingularValues, fit.TermCount);
    const int32_t listed = fit.PointCount < g ? fit.PointCount : g;
    WriteFitReport(L"SvdFitOutputsFinal.txt", fit.CoeffX, fit, PolynomialTermNames, listed,
                   fit.TermCount, fit.CoeffY, PolynomialDesignMatrix, PolynomialDesignMatrix, chi1,
                   chi2);
    return 1;
}

bool LaplaceStageFinite(CalibrationFit& fit) {
    const bool finite = AllFinite(fit.LaplaceCoeffV, fit.LaplaceCoeffV.length) &&
                        AllFinite(fit.LaplaceCoeffW, fit.LaplaceCoeffW.length) &&
                        std::isfinite(fit.LaplaceOffsetX) && std::isfinite(fit.LaplaceOffsetY) &&
                        std::isfinite(fit.LaplaceRotation) &&
                        AllFinite(fit.TouchV, fit.TouchV.length) &&
                        AllFinite(fit.TouchW, fit.TouchW.length);
    if (!finite) Refuse(fit, FitStatus::NonFiniteResult, L"the virtual grid is not finite");
    return finite;
}

}  // namespace

int CheckLaplaceInput(CalibrationFit& fit) {
    if (fit.Config == nullptr || fit.Parameters == nullptr)
        return Refuse(fit, FitStatus::BadInput, L"the fit record is not linked");
    const CalibrationConfig& c = *fit.Config;
    if (fit.ModelKind != kGeneralLaplaceKind && fit.ModelKind != kSymmetricLaplaceKind)
        return Refuse(fit, FitStatus::BadInput, L"the model kind is not 3 or 4");
    const uint32_t data = DataPointCount(c);
    if (c.Touches.size() < data || c.Targets.size() < data)
        return Refuse(fit, FitStatus::BadInput, L"fewer touches or targets than data points");
    if (fit.PointCount <= 0 || uint32_t(fit.PointCount) > c.NumGridPoints || fit.TermCount <= 0)
        return Refuse(fit, FitStatus::BadInput, L"the grid and the fit record disagree");
    if (c.LaplaceTermCount < 1 || c.LaplaceTermCount > kLaplaceTermNameCount ||
        c.LaplaceTermCount > fit.PointCount)
        return Refuse(fit, FitStatus::BadInput,
                      L"the Laplace term count is outside 1 .. 15 or above the grid points");
    if (!CheckGrid(fit)) return 0;
    if (!NormalisedTargetsFinite(c, data))
        return Refuse(fit, FitStatus::BadInput,
                      L"a normalised target position is not a finite number");
    return CheckTouchesFinite(fit, data) ? 1 : 0;
}

int PrepareLaplaceInputs(CalibrationFit& fit) {
    if (!CheckLaplaceInput(fit)) return 0;
    const uint32_t n = uint32_t(fit.PointCount);
    const int32_t terms = fit.Config->LaplaceTermCount;
    ActiveLaplaceTermCount = terms;
    NormaliseFitData(fit, n);
    if (Symmetric(fit)) {
        fit.SavedV.Resize(n);
        fit.SavedW.Resize(n);
        UseSymmetricComponents(fit, n);
    }
    if (!NormalisedDataFinite(fit, n))
        return Refuse(fit, FitStatus::NonFiniteResult, L"the normalised data are not finite");
    WriteFitInputReport(fit, n);
    fit.Weights = Filled(n, 1.0);
    fit.FitU = Matrix(int32_t(n), terms);
    fit.FitV = Matrix(int32_t(n), terms);
    fit.SingularValues = Vector(uint32_t(terms));
    BuildLaplaceDesignMatrices(fit, L"LcoeffsP1.txt", int32_t(n));
    // A design matrix that overflowed would send the decomposition into its fatal error.
    if (!MatrixFinite(LaplaceDesignMatrixX) || !MatrixFinite(LaplaceDesignMatrixY))
        return Refuse(fit, FitStatus::NonFiniteResult, L"the Laplace terms overflow");
    fit.LaplaceCoeffV = Filled(uint32_t(terms), 0.0);
    fit.LaplaceCoeffW = Filled(uint32_t(terms), 0.0);
    fit.LastStatus = FitStatus::Prepared;
    return 1;
}

int RunLaplaceFit(CalibrationFit& fit) {
    fit.LastStatus = FitStatus::NotRun;
    if (!CheckLaplaceInput(fit)) return 0;
    const int32_t n = fit.PointCount;
    fit.SavedV = Vector(uint32_t(n));
    fit.SavedW = Vector(uint32_t(n));
    if (!PrepareLaplaceInputs(fit)) return 0;
    const int32_t terms = ActiveLaplaceTermCount;
    FitLaplaceModel(fit, n, terms);
    if (Symmetric(fit)) {
        RestoreCollectedTouches(fit, uint32_t(n));
        SearchLaplaceOffsetRotation(fit, n, fit.LaplaceCoeffV, fit.LaplaceCoeffW);
    }
    LayVirtualGrid(fit);
    SynthesiseGridTouches(fit, terms);
    if (!LaplaceStageFinite(fit)) return 0;
    if (!FitGridPolynomial(fit)) return 0;
    if (fit.Config->HasMiniTargets) EvaluateLaplaceMiniTargets(fit);
    fit.GridFitU = Matrix();
    fit.GridFitV = Matrix();
    fit.GridSingularValues = Vector();
    return AcceptFitResults(fit) ? 1 : 0;
}
