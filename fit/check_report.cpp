// The check touches of a pass in the report of its fit.
#include "fit/check_report.h"

#include "platform/report_file.h"

void AppendCheckReport(const CheckSummary& summary) {
    ReportFile report(L"SvdFitOutputs.txt");
    if (summary.Refused) {
        const CheckTouch& f = summary.Failure;
        report.Printf(
            "Check touches: refused after %d refits and %d slips: the check at (%.4f, %.4f) "
            "(place %d of the area) missed by %.3f mm (touch V=%.1f W=%.1f)\n",
            summary.Refits, summary.Slips, f.Place.Fx, f.Place.Fy, summary.Region, f.MissMm,
            f.Raw.V, f.Raw.W);
        return;
    }
    report.Printf("Check touches: %d passed after %d refits and %d slips\n",
                  int(summary.Passed.size()), summary.Refits, summary.Slips);
    for (size_t k = 0; k < summary.Passed.size(); ++k) {
        const CheckTouch& c = summary.Passed[k];
        report.Printf(
            "  Check %d at (%.4f, %.4f): touch V=%.1f W=%.1f, missed by %.3f mm (expected %.3f "
            "mm)\n",
            int(k + 1), c.Place.Fx, c.Place.Fy, c.Raw.V, c.Raw.W, c.MissMm, c.Place.ExpectedMm);
    }
}
