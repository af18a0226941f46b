// The expected error of the calibration as tarnix-fit prints and draws it.
#include "tools/tarnix_fit/expected_error_output.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "config/calibration_config.h"
#include "fit/fit_evaluation.h"
#include "fit/glass_scale.h"
#include "tools/tarnix_fit/tool_text.h"

namespace {

// A 15.6-inch 16:9 panel, 344.2 x 193.6 mm, at 1920 x 1080.
constexpr double kDefaultPanelWidthMm = 344.2, kDefaultPanelHeightMm = 193.6;
constexpr double kDrawingWidth = 1000.0;
constexpr double kResidualMagnification = 10.0;
constexpr double kMargin = 60.0;  // room for the residual lines beyond the area

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// Green up to 0.5 mm, through yellow at 1.5 mm to red from 3 mm on.
std::string Colour(double mm) {
    if (!std::isfinite(mm)) return "rgb(128,128,128)";
    const double t = std::clamp((mm - 0.5) / 2.5, 0.0, 1.0);
    const double low = std::min(t / 0.4, 1.0), high = std::max((t - 0.4) / 0.6, 0.0);
    return Format("rgb(%.0f,%.0f,%.0f)", 255.0 * low - 35.0 * high, 170 + 50 * low - 220 * high,
                  0.0);
}

}  // namespace

GlassScale ToolGlassScale(const ToolOptions& options, const ControllerParameters& parameters) {
    const GlassScale panel = GlassScaleFor(options.PanelWidthMm, options.PanelHeightMm,
                                           options.MonitorWidth, options.MonitorHeight);
    if (panel.Usable()) return panel;
    const GlassScale glass = GlassScaleFor(parameters.ScreenWidth, parameters.ScreenHeight,
                                           options.MonitorWidth, options.MonitorHeight);
    if (glass.Usable()) return glass;
    return GlassScaleFor(kDefaultPanelWidthMm, kDefaultPanelHeightMm, 1920, 1080);
}

void PrintExpectedError(std::FILE* out, const ExpectedErrorMap& map) {
    if (map.Mm.empty()) {
        std::fprintf(out, "Expected error of the calibration: not known (%s)\n",
                     std::isfinite(map.ScatterMm) ? "the mapping cannot be inverted"
                                                  : "no residual degrees of freedom or a "
                                                    "Laplace kind");
        return;
    }
    std::fprintf(out,
                 "Expected error of the calibration: %.2f mm RMS (scatter %.2f mm per axis, "
                 "misfit %.2f mm); at worst %.2f mm inside (3.5 mm or more from every edge), "
                 "%.2f mm at the edges\n",
                 map.RmsMm, map.ScatterMm, map.MisfitMm, map.WorstInsideMm, map.WorstEdgeMm);
}

bool WriteExpectedErrorSvg(const std::wstring& path, const FitSession& session,
                           const ExpectedErrorMap& map, GlassScale glass, std::string& error) {
    const CalibrationFit& fit = *session.Fit;
    const CalibrationConfig& c = *session.Config;
    if (map.Mm.empty()) {
        error = "no expected-error map to draw for this fit; no SVG written";
        return false;
    }
    const double scale = kDrawingWidth / fit.MonitorWidth;
    const double width = kDrawingWidth, height = fit.MonitorHeight * scale;
    std::string svg = Format(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
        "font-family=\"sans-serif\" font-size=\"13\">\n<rect width=\"100%%\" height=\"100%%\" "
        "fill=\"white\"/>\n<g transform=\"translate(%.0f,%.0f)\">\n<g "
        "shape-rendering=\"crispEdges\">\n",
        width + 2 * kMargin, height + 2 * kMargin + 50, kMargin, kMargin);
    const double cellW = width / (map.Columns - 1), cellH = height / (map.Rows - 1);
    for (int32_t j = 0; j < map.Rows; ++j)
        for (int32_t i = 0; i < map.Columns; ++i)
            svg += Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\"",
                          std::max(0.0, (i - 0.5) * cellW), std::max(0.0, (j - 0.5) * cellH),
                          (i == 0 || i == map.Columns - 1 ? 0.5 : 1.0) * cellW + 1.0,
                          (j == 0 || j == map.Rows - 1 ? 0.5 : 1.0) * cellH + 1.0) +
                   " stroke=\"none\" fill=\"" + Colour(map.Mm[size_t(j) * map.Columns + i]) +
                   "\"/>\n";
    svg += "</g>\n";
    const double insetX = kExpectedErrorEdgeBandMm / glass.MmPerPixelX * scale;
    const double insetY = kExpectedErrorEdgeBandMm / glass.MmPerPixelY * scale;
    svg += Format(
        "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" "
        "stroke=\"white\" stroke-dasharray=\"3,3\"/>\n",
        insetX, insetY, width - 2 * insetX, height - 2 * insetY);
    const GridResiduals residuals = ComputeGridResiduals(fit);
    const std::shared_ptr<const FitModel> model = ModelOfFit(fit);
    for (size_t i = 0; i < residuals.Points.size(); ++i) {
        const PointResidual& r = residuals.Points[i];
        const double x = c.Targets[i].X * width, y = c.Targets[i].Y * height;
        const double dx = r.DeltaX * c.RangeX * width, dy = r.DeltaY * c.RangeY * height;
        const double deleted = 1.0 / std::max(1e-9, 1.0 - model->Leverage(i));
        const double k = kResidualMagnification * deleted;
        svg += Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"7\" fill=\"none\" stroke=\"black\"/>", x,
                      y) +
               Format(
                   "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"black\" "
                   "stroke-width=\"1.5\"/>",
                   x, y, x + k * dx, y + k * dy) +
               Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"2\" fill=\"blue\"/>\n", x + dx, y + dy);
    }
    svg += Format(
        "<rect x=\"0\" y=\"0\" width=\"%.0f\" height=\"%.1f\" fill=\"none\" "
        "stroke=\"black\"/>\n",
        width, height);
    svg += Format(
        "<text x=\"0\" y=\"%.0f\">Expected error of the calibration (mm): green "
        "0.5, yellow 1.5, red 3 or more; %.2f mm RMS; at worst %.2f mm inside the "
        "dotted line (3.5 mm in), %.2f mm at the edges.</text>\n",
        height + kMargin + 15, map.RmsMm, map.WorstInsideMm, map.WorstEdgeMm);
    svg += Format(
        "<text x=\"0\" y=\"%.0f\">Circles: targets; blue dots: the touches where the "
        "fit puts them; lines: deleted residuals, %.0f times.</text>\n</g>\n</svg>\n",
        height + kMargin + 35, kResidualMagnification);
    std::ofstream file(ToolPath(path), std::ios::binary | std::ios::trunc);
    file << svg;
    if (file) return true;
    error = "cannot write " + PrintableText(path);
    return false;
}
