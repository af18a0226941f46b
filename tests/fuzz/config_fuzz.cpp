// Fuzz target: arbitrary "Tarnix.cfg" bytes through the whole start-up reading: controller
// parameters, grid configuration, the minimum-grid check, the layout, the simulated touches and
// the areas of two monitors.
#include <cmath>

#include "app/area_list.h"
#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "display/target_layout.h"
#include "fit/calibration_fit.h"
#include "fit/model_choice.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void CheckAreas(const CalibrationAreaList& list, const CalibrationConfig& c) {
    FUZZ_CHECK(list.AreaCount == int32_t(list.Areas.size()));
    for (const CalibrationArea& area : list.Areas) FUZZ_CHECK(area.Targets.size() == c.TargetCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring path = WriteScratchFile("Tarnix.cfg", data, size).wstring();
    ProfileReadingPass pass;  // as start-up reads it: the file decoded once
    ControllerParameters parameters;
    ReadControllerParameters(parameters, path.c_str());
    FUZZ_CHECK(parameters.ControllerMax != parameters.ControllerMin);
    FUZZ_CHECK(parameters.ScreenHeight > 0.0 && parameters.ScreenWidth > 0.0);
    double offset = GetControllerOffset(parameters);
    double scale = GetScaleFactor(parameters);
    (void)offset;
    FUZZ_CHECK(scale != 0.0 || std::isnan(scale));

    CalibrationConfig config(path.c_str());
    bool read = ReadGridConfig(config);
    FUZZ_CHECK(config.NumGridPoints <= kMaxGridPoints);
    FUZZ_CHECK(!read || config.Targets.size() == config.TargetCount);
    if (int64_t(config.NumGridPoints) <
        FewestGridPoints(FitTerms(config.FitTerms), config.ModelKind, config.PolynomialOrder))
        return 0;
    if (!BuildGridCells(config) || !BuildTargets(config)) return 0;
    FUZZ_CHECK(config.GridCells.size() <= config.TargetCount);

    CalibrationAreaList list;
    BuildAreaList(list, {{0, 0, 1920, 1080}, {-800, 0, 0, 600}}, BuiltInVideoModes(), config);
    CheckAreas(list, config);
    if (config.Simulate && ReadSimulatedTouches(config))
        FUZZ_CHECK(config.Touches.size() >= config.TargetCount);
    return 0;
}
