// The SVG picture of a drift: the glass, an arrow per grid point, the caption wrapped to its width.
#include "tools/tarnix_history/drift_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

constexpr double kMargin = 10.0;     // mm around the glass
constexpr double kFontSize = 3.0;    // mm, the caption's
constexpr double kLineStep = 4.0;    // mm from one caption line to the next
constexpr double kCharWidth = 0.6;   // an average character's width, in font sizes
constexpr double kCaptionGap = 6.0;  // mm from the glass's margin to the first line's baseline

std::string Format(const char* format, double a, double b, double c, double d) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// The words of text in lines of at most width characters (a longer word cut over several lines).
std::vector<std::string> WrapWords(const std::string& text, size_t width) {
    std::vector<std::string> lines(1);
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        for (size_t at = 0; at < word.size(); at += width) {
            const std::string piece = word.substr(at, width);
            std::string& line = lines.back();
            if (line.empty())
                line = piece;
            else if (line.size() + 1 + piece.size() <= width)
                line += " " + piece;
            else
                lines.push_back(piece);
        }
    }
    return lines;
}

// The caption's lines, each narrow enough for a picture pictureWidthMm wide at its font size.
std::vector<std::string> CaptionLines(const std::string& caption, double pictureWidthMm) {
    const double usable = pictureWidthMm - 2 * kMargin;
    const size_t width = size_t(std::max(1.0, std::floor(usable / (kFontSize * kCharWidth))));
    return WrapWords(caption, width);
}

}  // namespace

std::string DriftSvg(const DriftResult& drift, const std::string& caption) {
    // The largest arrow is 0.4 of the grid's step across.
    const double step = drift.WidthMm / (drift.Steps > 1 ? drift.Steps - 1 : 1);
    const double magnify = drift.MaxMm > 0.0 ? 0.4 * step / drift.MaxMm : 1.0;
    const double width = drift.WidthMm + 2 * kMargin;
    char magnification[64];
    std::snprintf(magnification, sizeof magnification, " (arrows %.1f times)", magnify);
    const std::vector<std::string> lines = CaptionLines(caption + magnification, width);
    const double captionTop = drift.HeightMm + 2 * kMargin;
    const double height = captionTop + kCaptionGap + double(lines.size()) * kLineStep;
    std::string svg = Format(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0fmm\" height=\"%.0fmm\" "
        "viewBox=\"0 0 %.1f %.1f\">\n",
        width, height, width, height);
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
    svg += Format("<text font-size=\"%.0f\">\n", kFontSize, 0, 0, 0);
    for (size_t i = 0; i < lines.size(); ++i)
        svg += Format("<tspan x=\"%.1f\" y=\"%.1f\">", kMargin,
                      captionTop + kCaptionGap + double(i) * kLineStep, 0, 0) +
               lines[i] + "</tspan>\n";
    svg += "</text>\n</svg>\n";
    return svg;
}
