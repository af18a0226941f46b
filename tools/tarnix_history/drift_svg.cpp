// The SVG picture of a drift: the glass, an arrow per grid point, the caption.
#include "tools/tarnix_history/drift_svg.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kMargin = 10.0;   // mm around the glass
constexpr double kCaption = 12.0;  // mm of caption under it

std::string Format(const char* format, double a, double b, double c, double d) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

}  // namespace

std::string DriftSvg(const DriftResult& drift, const std::string& caption) {
    // The largest arrow is 0.4 of the grid's step across.
    const double step = drift.WidthMm / (drift.Steps > 1 ? drift.Steps - 1 : 1);
    const double magnify = drift.MaxMm > 0.0 ? 0.4 * step / drift.MaxMm : 1.0;
    std::string svg = Format(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0fmm\" height=\"%.0fmm\" "
        "viewBox=\"0 0 %.1f %.1f\">\n",
        drift.WidthMm + 2 * kMargin, drift.HeightMm + 2 * kMargin + kCaption,
        drift.WidthMm + 2 * kMargin, drift.HeightMm + 2 * kMargin + kCaption);
    svg += Format(
        "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#f4f4f4\" "
        "stroke=\"black\" stroke-width=\"0.5\"/>\n",
        kMargin, kMargin, drift.WidthMm, drift.HeightMm);
    for (const DriftSample& s : drift.Samples) {
        const double x = kMargin + (s.X + 0.5) * drift.WidthMm;
        const double y = kMargin + (s.Y + 0.5) * drift.HeightMm;
        svg += Format("<circle cx=\"%.2f\" cy=\"%.2f\" r=\"0.6\"/>", x, y, 0, 0);
        svg += Format(
            "<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"red\" "
            "stroke-width=\"0.5\"/>\n",
            x, y, x + s.Dx * magnify, y + s.Dy * magnify);
    }
    char text[512];
    std::snprintf(text, sizeof text,
                  "<text x=\"%.1f\" y=\"%.1f\" font-size=\"3\">%s (arrows %.1f times)</text>\n",
                  kMargin, drift.HeightMm + 2 * kMargin + kCaption / 2, caption.c_str(), magnify);
    svg += text;
    svg += "</svg>\n";
    return svg;
}
