// An SVG picture of a calibration's error field: heat map, arrows, the area outline and the hull.
#include "simcontroller/error_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

void Add(std::string* svg, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
void Add(std::string* svg, const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    *svg += text;
}

// Blue (0) through cyan, green and yellow to red (1).
void HeatColour(double t, int* r, int* g, int* b) {
    static const int stops[5][3] = {
        {0, 0, 255}, {0, 255, 255}, {0, 200, 0}, {255, 255, 0}, {255, 0, 0}};
    const double scaled = std::clamp(t, 0.0, 1.0) * 4.0;
    const int low = std::min(3, static_cast<int>(scaled));
    const double f = scaled - low;
    *r = static_cast<int>(stops[low][0] + f * (stops[low + 1][0] - stops[low][0]));
    *g = static_cast<int>(stops[low][1] + f * (stops[low + 1][1] - stops[low][1]));
    *b = static_cast<int>(stops[low][2] + f * (stops[low + 1][2] - stops[low][2]));
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string RenderErrorSvg(const ErrorField& field, const std::string& title) {
    const double scale = 1000.0 / std::max(1, std::max(field.area.width, field.area.height));
    const double width = field.area.width * scale;
    const double height = field.area.height * scale;
    const double caption = 90.0;
    std::string svg;
    Add(&svg, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    Add(&svg,
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
        "viewBox=\"0 0 %.0f %.0f\">\n",
        width + 20, height + caption + 20, width + 20, height + caption + 20);
    Add(&svg, "<rect x=\"0\" y=\"0\" width=\"%.0f\" height=\"%.0f\" fill=\"white\"/>\n", width + 20,
        height + caption + 20);
    Add(&svg, "<g transform=\"translate(10,10)\">\n");
    const double maximum = std::max(field.whole.maximum, 1e-9);
    const double cell = field.stepPixels * scale;
    Add(&svg, "<g shape-rendering=\"crispEdges\">\n");
    for (const ErrorSample& s : field.samples) {
        int r = 0, g = 0, b = 0;
        HeatColour(std::hypot(s.dx, s.dy) / maximum, &r, &g, &b);
        Add(&svg,
            "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"rgb(%d,%d,%d)\"/>\n",
            (s.x - field.area.left) * scale - cell / 2, (s.y - field.area.top) * scale - cell / 2,
            cell + 0.6, cell + 0.6, r, g, b);  // a little overlap: no seams between cells
    }
    Add(&svg, "</g>\n");
    // Arrows every fourth cell; the largest error is drawn three cells long.
    const int every = 4;
    const double magnify = 3.0 * field.stepPixels * every / 4.0 / maximum;
    const int columns =
        std::max(1, static_cast<int>(std::ceil(static_cast<double>(field.area.width) /
                                               std::max(1, field.stepPixels))));
    for (size_t i = 0; i < field.samples.size(); ++i) {
        const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        if (column % every != every / 2 || row % every != every / 2) continue;
        const ErrorSample& s = field.samples[i];
        const double x0 = (s.x - field.area.left) * scale, y0 = (s.y - field.area.top) * scale;
        const double x1 = x0 + s.dx * magnify * scale, y1 = y0 + s.dy * magnify * scale;
        Add(&svg,
            "<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"black\" "
            "stroke-width=\"1.2\"/><circle cx=\"%.2f\" cy=\"%.2f\" r=\"1.5\"/>\n",
            x0, y0, x1, y1, x1, y1);
    }
    Add(&svg,
        "<rect x=\"0\" y=\"0\" width=\"%.2f\" height=\"%.2f\" fill=\"none\" stroke=\"black\" "
        "stroke-width=\"2\"/>\n",
        width, height);
    Add(&svg,
        "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"none\" "
        "stroke=\"black\" stroke-dasharray=\"6,4\"/>\n",
        (field.hullLeft - field.area.left) * scale, (field.hullTop - field.area.top) * scale,
        (field.hullRight - field.hullLeft) * scale, (field.hullBottom - field.hullTop) * scale);
    // The inner area: kEdgeBandMm in from every edge, dotted.
    const double insetX = kEdgeBandMm / field.panel.widthMm * field.area.width * scale;
    const double insetY = kEdgeBandMm / field.panel.heightMm * field.area.height * scale;
    Add(&svg,
        "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"none\" "
        "stroke=\"white\" stroke-width=\"1.5\" stroke-dasharray=\"2,3\"/>\n",
        insetX, insetY, std::max(0.0, width - 2 * insetX), std::max(0.0, height - 2 * insetY));
    Add(&svg, "<text x=\"0\" y=\"%.0f\" font-family=\"sans-serif\" font-size=\"14\">%s</text>\n",
        height + 22, Escape(title).c_str());
    const AccuracyZones& z = field.zones;
    Add(&svg,
        "<text x=\"0\" y=\"%.0f\" font-family=\"sans-serif\" font-size=\"13\">inner area "
        "(dotted, 3.5 mm in): RMS %.2f mm, worst %.2f mm (%s 1 mm); edge band: RMS %.2f mm, "
        "worst %.2f mm (%s 2 mm)</text>\n",
        height + 82, z.inner.millimetres.rms, z.inner.millimetres.maximum,
        z.innerWithin ? "within" : "beyond", z.edge.millimetres.rms, z.edge.millimetres.maximum,
        z.edgeWithin ? "within" : "beyond");
    Add(&svg,
        "<text x=\"0\" y=\"%.0f\" font-family=\"sans-serif\" font-size=\"13\">inside hull: "
        "RMS %.3f px, 95%% %.3f px, max %.3f px; whole area: RMS %.3f px, 95%% %.3f px, "
        "max %.3f px</text>\n",
        height + 42, field.inside.rms, field.inside.percentile95, field.inside.maximum,
        field.whole.rms, field.whole.percentile95, field.whole.maximum);
    Add(&svg,
        "<text x=\"0\" y=\"%.0f\" font-family=\"sans-serif\" font-size=\"13\">colour: 0 (blue) "
        "to %.3f px (red); arrows magnified %.1f x</text>\n",
        height + 62, field.whole.maximum, magnify);
    Add(&svg, "</g>\n</svg>\n");
    return svg;
}
