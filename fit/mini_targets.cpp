// EvaluateMiniTargets: predicted mini-target offsets in mickeys and the spacing table.
#include "fit/mini_targets.h"

#include <cmath>

#include "config/calibration_config.h"
#include "fit/fit_evaluation.h"
#include "fit/symmetrisation.h"
#include "platform/report_file.h"

namespace {

constexpr double kMickeys = 65536.0;

bool MiniTargetRowsExist(const MiniTargetRows& rows) {
    const int64_t last = int64_t(rows.First) + kFitMiniTargets;
    return rows.First >= 0 && last <= rows.Design.rows && last <= int64_t(rows.TargetX.length) &&
           last <= int64_t(rows.TargetY.length);
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

int EvaluateMiniTargets(CalibrationFit& fit, const MiniTargetRows& rows) {
    if (fit.Config == nullptr || !MiniTargetRowsExist(rows)) return 0;
    ReportFile report(L"SvdFitOutputs.txt");
    double px[kFitMiniTargets], py[kFitMiniTargets];
    for (int k = 0; k < kFitMiniTargets; ++k) {
        const int32_t j = rows.First + k;
        px[k] = PredictPoint(fit.CoeffX, rows.Design, j, fit.TermCount);
        py[k] = PredictPoint(fit.CoeffY, rows.Design, j, fit.TermCount);
        const double tx = (rows.TargetX[j] + 0.5) * kMickeys;
        const double ty = (rows.TargetY[j] + 0.5) * kMickeys;
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
