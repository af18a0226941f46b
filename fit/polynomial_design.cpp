// The polynomial design matrix v^(d-k) w^k and its report "Coefficients.txt".
#include "fit/design_matrix_builders.h"
#include "fit/term_names.h"
#include "numeric/design_matrices.h"
#include "platform/report_file.h"

namespace {

void WritePolynomialTable(const Matrix& design) {
    ReportFile report(L"Coefficients.txt");
    if (!report.IsOpen()) return;
    report.Printf("Computed X coefficients\n\n");
    report.Printf("        ");
    for (int32_t k = 0; k < design.cols; ++k)
        report.Printf("%6.6s ", k < kPolynomialTermNameCount ? PolynomialTermNames[k] : "");
    for (int32_t i = 0; i < design.rows; ++i) {
        report.Printf("\n%5d   ", i);
        for (int32_t k = 0; k < design.cols; ++k) report.Printf("%6.3f ", design[i][k]);
    }
    report.Printf("\n");
}

}  // namespace

double IntegerPower(double base, int exponent) {
    double result = 1.0;
    for (int i = 0; i < exponent; ++i) result *= base;
    return result;
}

void PolynomialTerms(double v, double w, int32_t termCount, double* row) {
    int32_t column = 0;
    for (int degree = 0; degree <= kMaxPolynomialDegree && column < termCount; ++degree) {
        for (int k = 0; k <= degree && column < termCount; ++k)
            row[column++] = IntegerPower(v, degree - k) * IntegerPower(w, k);
    }
    while (column < termCount) row[column++] = 0.0;
}

void BuildPolynomialDesignMatrix(CalibrationFit& fit, int32_t pointCount) {
    const int32_t terms = fit.TermCount;
    uint32_t available =
        fit.TouchV.length < fit.TouchW.length ? fit.TouchV.length : fit.TouchW.length;
    if (pointCount < 0 || static_cast<uint32_t>(pointCount) > available)
        pointCount = static_cast<int32_t>(available);
    PolynomialDesignMatrix = Matrix(pointCount, terms);
    PolynomialTermCount = terms;
    for (int32_t i = 0; i < PolynomialDesignMatrix.rows; ++i)
        PolynomialTerms(fit.TouchV[i], fit.TouchW[i], terms, PolynomialDesignMatrix[i]);
    WritePolynomialTable(PolynomialDesignMatrix);
}
