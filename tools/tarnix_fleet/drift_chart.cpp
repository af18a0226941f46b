// A kiosk's drift over time as a small inline SVG.
#include "tools/tarnix_fleet/drift_chart.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kWidth = 160, kHeight = 40, kMargin = 3;

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

std::string DriftChartSvg(const FleetKiosk& kiosk, double boundMm) {
    double top = 2 * boundMm;  // millimetres at the top of the chart
    for (const FleetChartPoint& point : kiosk.Chart)
        top = std::max(top, point.DriftSinceFirstMm.value_or(0.0));
    const size_t count = kiosk.Chart.size();
    const auto x = [&](size_t i) {
        return kMargin + (count > 1 ? (kWidth - 2 * kMargin) * double(i) / double(count - 1) : 0);
    };
    const auto y = [&](double mm) {
        return kHeight - kMargin - (kHeight - 2 * kMargin) * mm / top;
    };
    std::string points;
    for (size_t i = 0; i < count; ++i)
        points += (i ? " " : "") + Number(x(i)) + "," +
                  Number(y(kiosk.Chart[i].DriftSinceFirstMm.value_or(0.0)));
    const std::string bound = Number(y(boundMm));
    const double last = count ? kiosk.Chart.back().DriftSinceFirstMm.value_or(0.0) : 0.0;
    return "<svg class=\"chart\" width=\"160\" height=\"40\" viewBox=\"0 0 160 40\" "
           "xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"160\" height=\"40\" "
           "fill=\"#f6f7f9\"/>"
           "<line x1=\"0\" x2=\"160\" y1=\"" +
           bound + "\" y2=\"" + bound +
           "\" stroke=\"#d33\" stroke-dasharray=\"3,3\"/><polyline fill=\"none\" stroke=\"" +
           kDriftChartColour + "\" stroke-width=\"2.5\" points=\"" + points +
           "\"/><circle r=\"3\" fill=\"" + kDriftChartColour + "\" cx=\"" +
           Number(x(count ? count - 1 : 0)) + "\" cy=\"" + Number(y(last)) + "\"/></svg>";
}
