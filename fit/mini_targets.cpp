// EvaluateMiniTargets: predicted mini-target offsets in mickeys and the spacing table.
#include "fit/mini_targets.h"

#include <cmath>

#include "config/calibration_config.h"
#include "config/report_file.h"
#include "fit/fit_report.h"
#include "fit/symmetrisation.h"
#include "numeric/design_matrices.h"

namespace {

constexpr double kMickeys = 65536.0;

bool MiniTargetRowsExist(const CalibrationFit& fit, int32_t gridPointCount) {
    const int64_t last = int64_t(gridPointCount) + kFitMiniTargets;
    return gridPointCount >= 0 && last <= PolynomialDesignMatrix.rows &&
           last <= int64_t(fit.TargetX.length) && last <= int64_t(fit.TargetY.length);
}

void WriteMiniTargetLines(ReportFile& r, int k, double d, double dx, double dy, double tx,
                          double ty) {
    r.Printf(" MiniTarget [%d]:  Delta distance is %10.4f, %10.3f mickeys, %10.4f inches\n", k,
             d / kMickeys, d, 12.0 * d / kMickeys);
    r.Printf(" MiniTarget [%d]: XY delta pair is (%12.5f , %12.5f),(%12.3f , %12.3f)in mickeys \n",
             k, dx / kMickeys, dy / kMickeys, dx, dy);
    r.Printf(" MiniTarget [%d]: XY target pair is (%12.5f , %12.5f),(%12.3f , %12.3f)in mickeys \n",
             k, tx / kMickeys - 0.5, ty / kMickeys - 0.5, tx, ty);
}

void WriteSpacingTable(ReportFile& r, CalibrationFit& fit, const double* px, const double* py) {
    r.Printf("     ");
    for (int q = 0; q < kFitMiniTargets - 1; ++q) r.Printf(" [%4d]", q);
    r.Printf("\n");
    for (int row = 0; row < kFitMiniTargets; ++row) {
        r.Printf("[%2d] ", row);
        for (int q = 0; q < row; ++q) {
            const double dx = px[row] - px[q], dy = py[row] - py[q];
            const int32_t s = TruncateToInt32(std::sqrt(dx * dx + dy * dy) * kMickeys);
            fit.MiniTargetSpacing[row][q] = s;
            r.Printf("%6d ", s);
        }
        r.Printf("\n");
    }
}

}  // namespace

int EvaluateMiniTargets(CalibrationFit& fit, int32_t termCount, int32_t gridPointCount,
                        const Vector& coeffX, const Vector& coeffY) {
    if (fit.Config == nullptr || !MiniTargetRowsExist(fit, gridPointCount)) return 0;
    ReportFile report(L"SvdFitOutputs.txt");
    double px[kFitMiniTargets], py[kFitMiniTargets];
    for (int k = 0; k < kFitMiniTargets; ++k) {
        const int32_t j = gridPointCount + k;
        px[k] = PredictPoint(coeffX, PolynomialDesignMatrix, j, termCount);
        py[k] = PredictPoint(coeffY, PolynomialDesignMatrix, j, termCount);
        const double tx = (fit.TargetX[j] + 0.5) * kMickeys;
        const double ty = (fit.TargetY[j] + 0.5) * kMickeys;
        const double dx = tx - (px[k] + 0.5) * kMickeys;
        const double dy = ty - (py[k] + 0.5) * kMickeys;
        const double d = std::sqrt(dx * dx + dy * dy);
        fit.MiniTargetX[k] = tx;
        fit.MiniTargetY[k] = ty;
        fit.MiniTargetDeltaX[k] = dx;
        fit.MiniTargetDeltaY[k] = dy;
        fit.MiniTargetDistance[k] = d;
        WriteMiniTargetLines(report, k, d, dx, dy, tx, ty);
    }
    const double influence = fit.Config->DistanceOfInfluence;
    report.Printf("Distance of Influence = %7.3f \n", influence);
    if (std::fabs(influence) < 0.0000001) return 0;
    WriteSpacingTable(report, fit, px, py);
    return 1;
}
