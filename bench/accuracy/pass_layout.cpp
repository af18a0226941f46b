// A configuration file's target layout, read once as the program reads it.
#include "bench/accuracy/pass_layout.h"

#include <string>

#include "display/target_layout.h"

std::unique_ptr<PassLayout> ReadPassLayout(const std::filesystem::path& cfg) {
    auto layout = std::make_unique<PassLayout>();
    const std::wstring path = cfg.wstring();
    ReadControllerParameters(layout->Parameters, path.c_str());
    layout->Config = std::make_unique<CalibrationConfig>(path.c_str());
    CalibrationConfig& c = *layout->Config;
    if (!ReadGridConfig(c)) return nullptr;
    c.CaptionHeight = 330;
    if (!BuildGridCells(c) || !BuildTargets(c)) return nullptr;
    PlaceMiniTargets(c);
    layout->Touches = c.NumGridPoints + uint32_t(c.MiniTargetCount);
    return layout;
}

bool IsTouched(const CalibrationConfig& c, uint32_t i) {
    return i < c.NumGridPoints || c.MiniTargetEnabled[i - c.NumGridPoints];
}
