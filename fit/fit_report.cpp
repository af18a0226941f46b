// WriteFitReport: the coefficient, prediction and distance tables of one fit.
#include "fit/fit_report.h"

#include <cmath>
#include <vector>

#include "fit/fit_evaluation.h"
#include "fit/symmetrisation.h"
#include "platform/report_file.h"

namespace {

int32_t Smallest(int32_t a, int64_t b) { return b < a ? static_cast<int32_t>(b) : a; }

// reportCount limited to what the matrices and the fit's vectors hold.
int32_t ReportablePoints(const CalibrationFit& fit, int32_t reportCount, const Matrix& a,
                         const Matrix& b) {
    int32_t count = reportCount < 0 ? 0 : reportCount;
    count = Smallest(count, a.rows);
    count = Smallest(count, b.rows);
    count = Smallest(count, fit.TargetX.length);
    count = Smallest(count, fit.TargetY.length);
    count = Smallest(count, fit.TouchV.length);
    return Smallest(count, fit.TouchW.length);
}

std::vector<double> Predictions(const Vector& coeff, const Matrix& design, int32_t count,
                                int32_t termCount) {
    std::vector<double> predicted(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) predicted[i] = PredictPoint(coeff, design, i, termCount);
    return predicted;
}

void WriteCoefficients(ReportFile& r, const CalibrationFit& fit, const Vector& coeffX,
                       const Vector& coeffY, const char* const* names, int32_t termCount) {
    r.Printf(" Current Monitor Resolution is %d by %d\n", fit.MonitorWidth, fit.MonitorHeight);
    r.Printf("\n");
    r.Printf(" Coefficient :            CX(k)            CY(k)\n");
    r.Printf("=============  ================ ================\n");
    for (int32_t k = 0; k < termCount; ++k) {
        double cx = uint32_t(k) < coeffX.length ? coeffX[k] : 0.0;
        double cy = uint32_t(k) < coeffY.length ? coeffY[k] : 0.0;
        r.Printf("%12.12s :  %15.5f  %15.5f  \n", names[k], cx, cy);
    }
}

void WritePredictionTable(ReportFile& r, char axis, const std::vector<double>& predicted,
                          const Vector& target, double chisq) {
    r.Printf("Target  Predicted %c    Target %c     Delta %c\n", axis, axis, axis);
    r.Printf("======  =========== =========== ===========\n");
    for (size_t i = 0; i < predicted.size(); ++i)
        r.Printf("[%5d]  %10.4f %10.4f %10.4f\n", int(i), predicted[i], target[i],
                 predicted[i] - target[i]);
    r.Printf("\n");
    r.Printf("Chi-Square for %c = %10.6f\n", axis, chisq);
    r.Printf("\n");
}

void WriteTouchTable(ReportFile& r, const CalibrationFit& fit, int32_t count) {
    r.Printf("Target    TouchPoint (V,W)       Target (X,Y)   Distance Pixel Dist\n");
    r.Printf("======  ================== ================== ========== ==========\n");
    for (int32_t i = 0; i < count; ++i) {
        const double v = fit.TouchV[i], w = fit.TouchW[i];
        double x = fit.TargetX[i], y = fit.TargetY[i];
        if (std::fabs(x - v) > 0.3) x = -x;
        if (std::fabs(y - w) > 0.3) y = -y;
        const double distance = std::sqrt((x - v) * (x - v) + (y - w) * (y - w));
        const double dxPixels = (x - v) * fit.MonitorWidth, dyPixels = (y - w) * fit.MonitorHeight;
        const double pixels = std::sqrt(dxPixels * dxPixels + dyPixels * dyPixels);
        r.Printf("[%4d]  (%7.4f, %7.4f) (%7.4f, %7.4f) %8.4f %8.4f\n", i, v, w, x, y, distance,
                 pixels);
    }
}

void WritePredictedTable(ReportFile& r, const CalibrationFit& fit, const std::vector<double>& px,
                         const std::vector<double>& py) {
    r.Printf("Target     Predicted (X,Y)       Target (X,Y)   Distance Pixel Dist\n");
    r.Printf("======  ================== ================== ========== ==========\n");
    for (size_t i = 0; i < px.size(); ++i) {
        const double dx = px[i] - fit.TargetX[i], dy = py[i] - fit.TargetY[i];
        const double distance = std::sqrt(dx * dx + dy * dy);
        const double dxPixels = dx * fit.MonitorWidth, dyPixels = dy * fit.MonitorHeight;
        const double pixels = std::sqrt(dxPixels * dxPixels + dyPixels * dyPixels);
        r.Printf("[%4d]  (%7.4f, %7.4f) (%7.4f, %7.4f) %8.4f %8.4f\n", int(i), px[i], py[i],
                 fit.TargetX[i], fit.TargetY[i], distance, pixels);
    }
}

}  // namespace

int WriteFitReport(const wchar_t* reportName, const Vector& coeffX, CalibrationFit& fit,
                   const char* const* termNames, int32_t reportCount, int32_t termCount,
                   const Vector& coeffY, Matrix& matrixA, const Matrix& matrixB, double chisqX,
                   double chisqY) {
    ReportFile report(reportName);
    const int32_t count = ReportablePoints(fit, reportCount, matrixA, matrixB);
    WriteCoefficients(report, fit, coeffX, coeffY, termNames, termCount);
    report.Printf("\n");
    const std::vector<double> predY = Predictions(coeffY, matrixA, count, termCount);
    WritePredictionTable(report, 'Y', predY, fit.TargetY, chisqY);
    matrixA = matrixB;
    const std::vector<double> predX = Predictions(coeffX, matrixA, count, termCount);
    WritePredictionTable(report, 'X', predX, fit.TargetX, chisqX);

    double offV = 0.0, offW = 0.0, rotation = 0.0;
    ComputeTouchOffset(fit, offV, offW);
    SymmetriseAndEstimateRotation(fit, rotation);
    fit.OffsetV = offV;
    fit.OffsetW = offW;
    fit.RotationDegrees = rotation;
    report.Printf("Rotation = %10.6f\n", fit.RotationDegrees);
    report.Printf("Offset = (%10.6f,%10.6f)\n", fit.OffsetV, fit.OffsetW);
    report.Printf("\n");

    WriteTouchTable(report, fit, count);
    report.Printf("\n");
    WritePredictedTable(report, fit, predX, predY);
    report.Printf("\n");
    WritePredictedTable(report, fit, predX, predY);
    report.Printf("\n");
    return 1;
}
