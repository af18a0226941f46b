// What an entry's header says of its monitor.
#include "tools/tarnix_history/monitor_facts.h"

#include <cmath>
#include <cstdio>

namespace {

std::optional<GlassSize> ParseGlassSize(const std::string& text) {
    GlassSize size;
    char source[128] = {};
    int used = 0;
    if (std::sscanf(text.c_str(), "%lf x %lf mm%n", &size.WidthMm, &size.HeightMm, &used) != 2)
        return std::nullopt;
    if (!std::isfinite(size.WidthMm) || !std::isfinite(size.HeightMm) || size.WidthMm <= 0.0 ||
        size.HeightMm <= 0.0)
        return std::nullopt;
    if (std::sscanf(text.c_str() + used, " (%127[^)])", source) == 1) size.Source = source;
    return size;
}

}  // namespace

MonitorFacts MonitorFactsOf(const HistoryHeader& header) {
    MonitorFacts facts;
    facts.Maker = header.Value("Monitor maker");
    facts.Model = header.Value("Monitor model");
    facts.Serial = header.Value("Monitor serial");
    if (const auto glass = header.Value("Glass size")) facts.Glass = ParseGlassSize(*glass);
    return facts;
}
