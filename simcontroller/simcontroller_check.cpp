// simcontroller-check: reports how far a calibration record really is from the truth of the sensor
// model.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "simcontroller/error_field.h"
#include "simcontroller/error_svg.h"
#include "simcontroller/sim_recorder.h"
#include "simcontroller/sim_settings.h"

namespace {

struct CheckArguments {
    std::string record;
    std::string settings;
    std::string svg;
    int screen = -1;
    bool hasRect = false;
    ScreenRect rect;
    bool hasPanel = false;  // --panel given, else the screen's panel size in the settings
    ErrorOptions options;
};

void Usage() {
    std::fprintf(
        stderr,
        "usage: simcontroller-check RECORD.bin [--settings SimController.ini] [--screen N]\n"
        "       [--rect LEFT,TOP,WIDTH,HEIGHT] [--step PIXELS] [--hull L,T,R,B]\n"
        "       [--panel WIDTHxHEIGHT (mm)] [--svg OUTPUT.svg]\n");
}

bool ParseArguments(int argc, char** argv, CheckArguments* args) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool hasValue = i + 1 < argc;
        if (word == "--settings" && hasValue) {
            args->settings = argv[++i];
        } else if (word == "--svg" && hasValue) {
            args->svg = argv[++i];
        } else if (word == "--screen" && hasValue) {
            args->screen = std::atoi(argv[++i]);
        } else if (word == "--step" && hasValue) {
            args->options.stepPixels = std::atoi(argv[++i]);
        } else if (word == "--rect" && hasValue) {
            ScreenRect& r = args->rect;
            if (std::sscanf(argv[++i], "%d,%d,%d,%d", &r.left, &r.top, &r.width, &r.height) != 4 ||
                r.width <= 0 || r.height <= 0)
                return false;
            args->hasRect = true;
        } else if (word == "--panel" && hasValue) {
            PanelSize& p = args->options.panel;
            if (std::sscanf(argv[++i], "%lfx%lf", &p.widthMm, &p.heightMm) != 2 ||
                !(p.widthMm > 0.0) || !(p.heightMm > 0.0))
                return false;
            args->hasPanel = true;
        } else if (word == "--hull" && hasValue) {
            HullFractions& h = args->options.hull;
            if (std::sscanf(argv[++i], "%lf,%lf,%lf,%lf", &h.left, &h.top, &h.right, &h.bottom) !=
                4)
                return false;
        } else if (word[0] != '-' && args->record.empty()) {
            args->record = word;
        } else {
            return false;
        }
    }
    return !args->record.empty();
}

void PrintFigures(const char* name, const ErrorFigures& figures) {
    std::printf("%s: points %zu, RMS %.3f px, 95th percentile %.3f px, maximum %.3f px\n", name,
                figures.count, figures.rms, figures.percentile95, figures.maximum);
}

void PrintZone(const char* name, const ZoneFigures& zone) {
    const ErrorFigures& mm = zone.millimetres;
    const ErrorFigures& px = zone.pixels;
    std::printf(
        "%s: points %zu, RMS %.3f mm (%.2f px), 95th percentile %.3f mm (%.2f px), worst %.3f mm "
        "(%.2f px)\n",
        name, mm.count, mm.rms, px.rms, mm.percentile95, px.percentile95, mm.maximum, px.maximum);
}

void PrintZones(const AccuracyZones& zones, const PanelSize& panel, const ScreenRect& area) {
    std::printf("panel: %.1f x %.1f mm, %.4f x %.4f mm a pixel\n", panel.widthMm, panel.heightMm,
                panel.widthMm / area.width, panel.heightMm / area.height);
    PrintZone("inner area (3.5 mm or more from every edge)", zones.inner);
    PrintZone("edge band (within 3.5 mm of an edge)", zones.edge);
    std::printf(
        "requirement: inner area within +/-1 mm %s (worst %.3f mm), edge band within "
        "+/-2 mm %s (worst %.3f mm)\n",
        zones.innerWithin ? "yes" : "NO", zones.inner.millimetres.maximum,
        zones.edgeWithin ? "yes" : "NO", zones.edge.millimetres.maximum);
}

}  // namespace

int main(int argc, char** argv) {
    CheckArguments args;
    if (!ParseArguments(argc, argv, &args)) {
        Usage();
        return 2;
    }
    CalibrationDataRecord record{};
    if (!ReadRecordFile(std::filesystem::u8path(args.record), &record)) {
        std::fprintf(stderr, "simcontroller-check: %s is not a calibration record file\n",
                     args.record.c_str());
        return 1;
    }
    const std::filesystem::path settingsPath = std::filesystem::u8path(args.settings);
    const IniFile ini =
        args.settings.empty() ? IniFile::FromText("") : IniFile::FromFile(settingsPath);
    if (!args.settings.empty() && !ini.Loaded())
        std::fprintf(stderr, "simcontroller-check: no %s, using the default sensor\n",
                     args.settings.c_str());
    const int screen = args.screen >= 0 ? args.screen : record.ScreenIndex;
    if (screen < 0 || screen >= kMaxSimScreens) {
        std::fprintf(stderr, "simcontroller-check: screen %d out of range\n", screen);
        return 1;
    }
    const ScreenSettings screenSettings = ReadScreenSettings(ini, screen);
    ScreenRect sensorRect{record.AreaLeft, record.AreaTop, record.AreaWidth, record.AreaHeight};
    if (screenSettings.hasRect) sensorRect = screenSettings.rect;
    if (args.hasRect) sensorRect = args.rect;
    if (!args.hasPanel)
        args.options.panel = {screenSettings.person.panelWidthMm,
                              screenSettings.person.panelHeightMm};

    const ErrorField field =
        EvaluateRecordError(record, sensorRect, screenSettings.sensor, args.options);
    std::printf(
        "record: screen %d, monitor %d, area %dx%d at (%d,%d), model kind %d, order %d, "
        "controller offset %d, inverse scale %d\n",
        record.ScreenIndex, record.MonitorNumber, record.AreaWidth, record.AreaHeight,
        record.AreaLeft, record.AreaTop, record.ModelKind, record.PolynomialOrder,
        record.ControllerOffset, record.InverseScaleFactor);
    std::printf("sensor: screen %d covering %dx%d at (%d,%d)\n", screen, sensorRect.width,
                sensorRect.height, sensorRect.left, sensorRect.top);
    if (!field.valid) {
        std::fprintf(stderr, "simcontroller-check: the record holds no polynomial mapping\n");
        return 1;
    }
    std::printf("grid: step %d px, hull (%.1f,%.1f)-(%.1f,%.1f)\n", field.stepPixels,
                field.hullLeft, field.hullTop, field.hullRight, field.hullBottom);
    PrintFigures("inside hull", field.inside);
    PrintFigures("whole area", field.whole);
    PrintZones(field.zones, args.options.panel, field.area);

    const std::string svgPath = args.svg.empty() ? args.record + ".svg" : args.svg;
    std::ofstream svg(std::filesystem::u8path(svgPath), std::ios::binary | std::ios::trunc);
    svg << RenderErrorSvg(field, "Calibration error of " + args.record);
    svg.close();
    if (!svg) {
        std::fprintf(stderr, "simcontroller-check: cannot write %s\n", svgPath.c_str());
        return 1;
    }
    std::printf("svg: %s\n", svgPath.c_str());
    return 0;
}
