// A round of check touches after a fit: places from its expected-error map, its packed record.
#include "fit/check_round.h"

#include <cmath>

#include "config/calibration_config.h"
#include "fit/calibration_record.h"
#include "fit/touch_judge.h"

CheckRound PlanCheckRound(const CalibrationFit& fit, GlassScale scale,
                          const std::vector<CheckPlace>& used, int32_t count) {
    CheckRound round;
    if (count <= 0 || fit.Config == nullptr || !scale.Usable()) return round;
    const RecordArea area{fit.MonitorWidth, fit.MonitorHeight, 0, 0, 1};
    const VirtualScreenMetrics screen{fit.MonitorWidth, fit.MonitorHeight, 0, 0};
    if (!PackCalibrationRecord(area, 0, kPlainControllerType, screen, &fit, round.Record))
        return round;
    const ExpectedErrorMap map = ExpectedErrorOfPass(fit, scale);
    if (!std::isfinite(map.ScatterMm) || map.Mm.empty()) return round;
    CheckPlanInput input{&map, {}, fit.MonitorWidth, fit.MonitorHeight, used, {}};
    const CalibrationConfig& config = *fit.Config;
    for (uint32_t i = 0; i < config.NumGridPoints && i < config.Targets.size(); ++i)
        input.Grid.push_back(config.Targets[i]);
    const TouchJudgement judged =
        JudgeTouches(JudgeInputFor(config, scale, fit.MonitorWidth, fit.MonitorHeight));
    if (judged.Doubted)
        input.Doubt =
            TargetPoint{judged.Doubt.X / fit.MonitorWidth, judged.Doubt.Y / fit.MonitorHeight};
    round.Places = ChooseCheckPlaces(input, count);
    round.ScatterMm = map.ScatterMm;
    round.PixelMm = std::hypot(scale.MmPerPixelX, scale.MmPerPixelY);
    round.AreaWidth = fit.MonitorWidth;
    round.AreaHeight = fit.MonitorHeight;
    round.Scale = scale;
    return round;
}
