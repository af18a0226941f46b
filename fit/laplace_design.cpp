// The general and symmetric Laplace design matrices (harmonics of z = x + iy) and their reports.
#include "config/controller_parameters.h"
#include "fit/design_matrix_builders.h"
#include "numeric/design_matrices.h"
#include "platform/report_file.h"

namespace {

enum class Axis { X, Y };

// x and y of point p for the V (X axis) or W (Y axis) model.
void HarmonicCoordinates(const CalibrationFit& fit, Axis axis, int32_t p, double& x, double& y) {
    const double aspect = FitAspect(fit);
    if (axis == Axis::X) {
        x = fit.TargetX[p];
        y = aspect * fit.TargetY[p];
    } else {
        x = fit.TargetY[p];
        y = fit.TargetX[p] / aspect;
    }
}

int32_t AvailablePoints(const CalibrationFit& fit, int32_t pointCount) {
    uint32_t available =
        fit.TargetX.length < fit.TargetY.length ? fit.TargetX.length : fit.TargetY.length;
    if (pointCount < 0 || static_cast<uint32_t>(pointCount) > available)
        return static_cast<int32_t>(available);
    return pointCount;
}

void WriteLaplaceTable(const wchar_t* reportName, Axis axis, const Matrix& design) {
    ReportFile report(reportName);
    if (!report.IsOpen()) return;
    report.Printf(axis == Axis::X ? "\nComputed Laplace X coefficients\n\n"
                                  : "\nComputed Laplace Y coefficients\n\n");
    report.Printf("        ");
    for (int32_t k = 0; k < design.cols; ++k) report.Printf("Coef%2d ", k);
    for (int32_t i = 0; i < design.rows; ++i) {
        report.Printf("\n%5d   ", i);
        for (int32_t k = 0; k < design.cols; ++k) report.Printf("%6.3f ", design[i][k]);
    }
    report.Printf("\n");
}

void BuildHarmonicMatrix(Matrix& design, const wchar_t* reportName, int32_t pointCount,
                         CalibrationFit& fit, Axis axis, bool symmetric) {
    const int32_t rows = AvailablePoints(fit, pointCount);
    const int32_t terms = ActiveLaplaceTermCount > 0 ? ActiveLaplaceTermCount : 0;
    const int32_t supported = symmetric ? kSymmetricHarmonicTerms : kGeneralHarmonicTerms;
    design = Matrix(rows, terms);
    for (int32_t p = 0; p < design.rows; ++p) {
        double x, y, values[kGeneralHarmonicTerms];
        HarmonicCoordinates(fit, axis, p, x, y);
        if (symmetric)
            SymmetricHarmonicTerms(x, y, values);
        else
            GeneralHarmonicTerms(x, y, values);
        for (int32_t k = 0; k < terms; ++k) design[p][k] = k < supported ? values[k] : 0.0;
    }
    WriteLaplaceTable(reportName, axis, design);
}

}  // namespace

double FitAspect(const CalibrationFit& fit) {
    if (fit.Parameters == nullptr) return 1.0;
    return fit.Parameters->ScreenHeight / fit.Parameters->ScreenWidth;
}

void GeneralHarmonicTerms(double x, double y, double t[kGeneralHarmonicTerms]) {
    auto p = IntegerPower;
    t[0] = 1.0;
    t[1] = x;
    t[2] = y;
    t[3] = p(x, 2) - p(y, 2);
    t[4] = 2.0 * x * y;
    t[5] = p(x, 3) - 3.0 * x * p(y, 2);
    t[6] = 3.0 * p(x, 2) * y - p(y, 3);
    t[7] = p(x, 4) - 6.0 * p(x, 2) * p(y, 2) + p(y, 4);
    t[8] = 4.0 * p(x, 3) * y - 4.0 * x * p(y, 3);
    t[9] = p(x, 5) - 10.0 * p(x, 3) * p(y, 2) + 5.0 * x * p(y, 4);
    t[10] = 5.0 * p(x, 4) * y - 10.0 * p(x, 2) * p(y, 3) + p(y, 5);
    t[11] = p(x, 6) - 15.0 * p(x, 4) * p(y, 2) + 15.0 * p(x, 2) * p(y, 4) - p(y, 6);
    t[12] = 6.0 * p(x, 5) * y - 20.0 * p(x, 3) * p(y, 3) + 6.0 * x * p(y, 5);
    t[13] = p(x, 7) - 21.0 * p(x, 5) * p(y, 2) + 35.0 * p(x, 3) * p(y, 4) - 7.0 * x * p(y, 6);
    t[14] = 7.0 * p(x, 6) * y - 35.0 * p(x, 4) * p(y, 3) + 21.0 * p(x, 2) * p(y, 5) - p(y, 7);
}

void SymmetricHarmonicTerms(double x, double y, double t[kSymmetricHarmonicTerms]) {
    double all[kGeneralHarmonicTerms];
    GeneralHarmonicTerms(x, y, all);
    t[0] = all[1];
    t[1] = all[5];
    t[2] = all[9];
    t[3] = all[13];
}

void BuildLaplaceDesignMatrixX(const wchar_t* reportName, int32_t pointCount, CalibrationFit& fit) {
    BuildHarmonicMatrix(LaplaceDesignMatrixX, reportName, pointCount, fit, Axis::X, false);
}

void BuildLaplaceDesignMatrixY(const wchar_t* reportName, int32_t pointCount, CalibrationFit& fit) {
    BuildHarmonicMatrix(LaplaceDesignMatrixY, reportName, pointCount, fit, Axis::Y, false);
}

void BuildSymmetricLaplaceDesignMatrixX(CalibrationFit& fit, int32_t pointCount) {
    BuildHarmonicMatrix(LaplaceDesignMatrixX, L"LcoeffsP1.txt", pointCount, fit, Axis::X, true);
}

void BuildSymmetricLaplaceDesignMatrixY(CalibrationFit& fit, int32_t pointCount) {
    BuildHarmonicMatrix(LaplaceDesignMatrixY, L"LcoeffsP1.txt", pointCount, fit, Axis::Y, true);
}
