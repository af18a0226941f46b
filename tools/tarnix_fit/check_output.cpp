// The check touches of a pass file: their keys, their misses under the fitted record, the line.
#include "tools/tarnix_fit/check_output.h"

#include <algorithm>
#include <cmath>

#include "config/profile_values.h"
#include "fit/calibration_record.h"

namespace {

bool ReadNumbered(const CalibrationConfig& config, const wchar_t* format, int index,
                  double& value) {
    wchar_t key[64];
    FormatNumberedKey(key, format, index);
    return ReadCfgOptionalReal(config.CfgFilePath, key, &value) && std::isfinite(value);
}

}  // namespace

std::vector<CheckTouch> ReadCheckTouches(const CalibrationConfig& config) {
    std::vector<CheckTouch> checks;
    for (int i = 0; i < 100; ++i) {
        CheckTouch check;
        if (!ReadNumbered(config, L"CheckPlaceX%02d", i, check.Place.Fx) ||
            !ReadNumbered(config, L"CheckPlaceY%02d", i, check.Place.Fy) ||
            !ReadNumbered(config, L"CheckTouchX%02d", i, check.Raw.V) ||
            !ReadNumbered(config, L"CheckTouchY%02d", i, check.Raw.W))
            break;
        checks.push_back(check);
    }
    return checks;
}

std::vector<MeasuredCheck> MeasureCheckTouches(const FitSession& session, GlassScale glass,
                                               const std::vector<CheckTouch>& checks) {
    std::vector<MeasuredCheck> measured;
    const CalibrationFit& fit = *session.Fit;
    CalibrationDataRecord record;
    const ExpectedErrorMap map = ExpectedErrorOfPass(fit, glass);
    if (map.Mm.empty() || !PackSessionRecord(session, record)) return measured;
    const double pixelMm = std::hypot(glass.MmPerPixelX, glass.MmPerPixelY);
    for (const CheckTouch& check : checks) {
        CheckMiss miss;
        if (!MissOfCheck(record, fit.MonitorWidth, fit.MonitorHeight, glass, check.Place, check.Raw,
                         miss))
            return {};
        const double bound = CheckBoundMm(map.ScatterMm, pixelMm);
        measured.push_back({miss.Mm(), bound});
    }
    return measured;
}

void PrintCheckTouches(std::FILE* out, const std::vector<MeasuredCheck>& measured,
                       size_t checkCount) {
    if (measured.size() != checkCount) {
        std::fprintf(out, "Check touches: %zu, not known (no record or expected-error map)\n",
                     checkCount);
        return;
    }
    std::fprintf(out, "Check touches: %zu, missed by (mm):", checkCount);
    for (const MeasuredCheck& m : measured) std::fprintf(out, " %.2f", m.MissMm);
    std::fprintf(out, "; bounds (mm):");
    for (const MeasuredCheck& m : measured) std::fprintf(out, " %.2f", m.BoundMm);
    const auto beyond = std::find_if(measured.begin(), measured.end(),
                                     [](const MeasuredCheck& m) { return m.MissMm > m.BoundMm; });
    if (beyond == measured.end())
        std::fprintf(out, "; all within\n");
    else
        std::fprintf(out, "; check %zu beyond its bound: the window would ask it again\n",
                     size_t(beyond - measured.begin()));
}
