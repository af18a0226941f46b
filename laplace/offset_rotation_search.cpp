// The cyclic offset and rotation search with its "LSSmin.txt" log.
#include "laplace/offset_rotation_search.h"

#include <cstring>

#include "laplace/fixed_format.h"
#include "laplace/laplace_model.h"
#include "platform/report_file.h"

namespace {

double Degrees(double theta) { return theta * 180.0 / kSearchPi; }

class SearchRun {
  public:
    SearchRun(const OffsetRotationSum& sum, const wchar_t* reportName)
        : sum_(sum), report_(reportName) {}

    OffsetRotationResult Run() {
        report_.Printf("      SS     Xoff     Yoff       TD (Deg)  \n");
        report_.Printf("======== ======== ======== ================\n");
        for (int cycle = 0; cycle < kSearchCycles; ++cycle) {
            const double cycleDegrees = Degrees(theta_);
            Scan(xoff_, kOffsetScanStart, kOffsetScanStep, kOffsetScanBound, &cycleDegrees);
            report_.Printf("\n");
            Scan(yoff_, kOffsetScanStart, kOffsetScanStep, kOffsetScanBound, &cycleDegrees);
            result_.MinSS =
                Scan(theta_, kRotationScanStart, kRotationScanStep, kRotationScanBound, nullptr);
            report_.Printf("\n");
            WriteLine(lastSS_, Degrees(theta_));
        }
        result_.OffsetX = xoff_;
        result_.OffsetY = yoff_;
        result_.Rotation = theta_;
        return result_;
    }

  private:
    // Walks p up from start until the sum rises strictly (a NaN never counts as a rise) or p
    // reaches the bound; leaves p one step back, at the last value that did not raise the sum,
    // and returns the smallest sum of the scan. The running value is advanced by addition.
    double Scan(double& p, double start, double step, double bound, const double* fixedDegrees) {
        double minSS = kScanStartMinimum;
        p = start;
        for (;;) {
            lastSS_ = sum_(theta_, xoff_, yoff_);
            ++result_.Evaluations;
            WriteLine(lastSS_, fixedDegrees ? *fixedDegrees : Degrees(theta_));
            if (lastSS_ > minSS) break;
            minSS = lastSS_;
            p += step;
            if (!(p < bound)) break;
        }
        p -= step;
        return minSS;
    }

    // "%8.4f %8.4f %8.4f %8.4f (%8.4f)\n" with SS, xoff, yoff, theta and the degrees, formatted
    // here because the log has a line for every one of up to 3010 evaluations.
    void WriteLine(double ss, double degrees) {
        if (!report_.IsOpen()) return;
        char line[5 * kFixedFormatRoom + 8];
        size_t n = FormatFixed8dot4(line, ss);
        const double fields[] = {xoff_, yoff_, theta_};
        for (double field : fields) {
            line[n++] = ' ';
            n += FormatFixed8dot4(line + n, field);
        }
        line[n++] = ' ';
        line[n++] = '(';
        n += FormatFixed8dot4(line + n, degrees);
        std::memcpy(line + n, ")\n", 3);
        report_.Printf("%s", line);
    }

    const OffsetRotationSum& sum_;
    ReportFile report_;
    OffsetRotationResult result_;
    double xoff_ = 0.0, yoff_ = 0.0, theta_ = 0.0, lastSS_ = 0.0;
};

}  // namespace

OffsetRotationResult SearchOffsetRotation(const OffsetRotationSum& sum, const wchar_t* reportName) {
    return SearchRun(sum, reportName).Run();
}

void SearchLaplaceOffsetRotation(CalibrationFit& fit, int32_t count, const Vector& cV,
                                 const Vector& cW) {
    const OffsetRotationResult result =
        SearchOffsetRotation([&](double theta, double xoff, double yoff) {
            return LaplaceSumOfSquares(fit, count, theta, xoff, yoff, cV, cW);
        });
    fit.LaplaceOffsetX = result.OffsetX;
    fit.LaplaceOffsetY = result.OffsetY;
    fit.LaplaceRotation = result.Rotation;
    fit.LaplaceMinSS = result.MinSS;
}
