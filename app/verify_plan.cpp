// The plan of a screen's verification, read from the history, and its misses.
#include "app/verify_plan.h"

#include <cmath>
#include <limits>

#include "app/target_graphic.h"
#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "display/target_layout.h"
#include "history/history_folder.h"
#include "history/history_live.h"
#include "history/record_drift.h"

namespace {

// The grid targets (fractions of the area) of an entry's configuration.
std::vector<TargetPoint> GridOfEntry(const HistoryEntry& entry) {
    CalibrationConfig config(entry.ConfigPath.c_str());
    if (!ReadGridConfig(config) || !BuildGridCells(config) || !BuildTargets(config)) return {};
    const size_t grid = std::min<size_t>(config.NumGridPoints, config.Targets.size());
    return std::vector<TargetPoint>(config.Targets.begin(),
                                    config.Targets.begin() + std::ptrdiff_t(grid));
}

}  // namespace

VerifyPlanning PlanVerification(const std::wstring& folder, int32_t screen) {
    VerifyPlanning planning;
    const std::vector<HistoryEntry> entries = ReadHistory(folder);
    const std::optional<size_t> live = LiveEntryInFolder(folder, entries, screen);
    if (!live) return planning;
    const HistoryEntry& entry = entries[*live];
    ControllerParameters parameters;
    ReadControllerParameters(parameters, entry.ConfigPath.c_str());
    VerifyPlan plan;
    plan.Screen = screen;
    plan.Entry = entry.Name;
    plan.Record = entry.Record;
    plan.Scale = GlassScaleOfRecord(entry.Record, parameters.ScreenWidth, parameters.ScreenHeight);
    if (!plan.Scale.Usable()) {
        planning.Refusal = VerifyRefusal::NoGlassSize;
        return planning;
    }
    const int32_t width = entry.Record.AreaWidth, height = entry.Record.AreaHeight;
    const double halfTarget = MakeGridTargetGraphic(0, 0, width, height).Size / 2.0;
    plan.Places = VerificationPlaces(GridOfEntry(entry), width, height, halfTarget);
    if (plan.Places.empty()) {
        planning.Refusal = VerifyRefusal::NoPlaces;
        return planning;
    }
    plan.BoundMm = VerificationBoundMm(std::hypot(plan.Scale.MmPerPixelX, plan.Scale.MmPerPixelY));
    planning.Plan = std::move(plan);
    return planning;
}

double VerifyMissMm(const VerifyPlan& plan, size_t k, RawPoint raw) {
    CheckMiss miss;
    if (k >= plan.Places.size() ||
        !MissOfCheck(plan.Record, plan.Record.AreaWidth, plan.Record.AreaHeight, plan.Scale,
                     plan.Places[k], raw, miss))
        return std::numeric_limits<double>::quiet_NaN();
    return miss.Mm();
}
