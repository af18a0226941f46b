// Composing the configuration file of a history entry, and reading back its placement section.
#include "history/history_config.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "config/profile_values.h"
#include "fit/fit_evaluation.h"
#include "fit/glass_scale.h"
#include "platform/platform.h"

namespace {

// The shortest text that reads back as the same double.
std::string Real(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Fixed(double value, int32_t decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", int(decimals), value);
    return text;
}

// Wide text as ASCII: anything else becomes '?'.
std::string Ascii(const wchar_t* text) {
    std::string out;
    for (; *text != L'\0'; ++text) out += (*text >= 0x20 && *text < 0x7f) ? char(*text) : '?';
    return out;
}

class ConfigText {
  public:
    void Line(const std::string& line) { text_ += line + "\r\n"; }
    void Key(const std::string& key, const std::string& value) { Line(key + "=" + value); }
    void Key(const std::string& key, int64_t value) { Key(key, std::to_string(value)); }
    void RealKey(const std::string& key, double value) { Key(key, Real(value)); }
    void Numbered(const char* format, uint32_t index, double value) {
        char key[32];
        std::snprintf(key, sizeof key, format, unsigned(index));
        RealKey(key, value);
    }
    std::string Text() const { return text_; }

  private:
    std::string text_;
};

void WriteHeader(ConfigText& out, const CalibrationDataRecord& r, const HistoryFacts& facts,
                 const std::vector<HistoryFigure>& figures) {
    out.Line("; Tarnix calibration history entry (tarnix-fit --config reads this file as it is)");
    out.Line("; Date: " + FormatHistoryTime(facts.Time));
    if (facts.Sequence > 0) out.Line("; Sequence: " + std::to_string(facts.Sequence));
    out.Line(std::string("; Accepted: ") + (facts.Accepted ? "yes" : "no"));
    out.Line("; Monitor: " + std::to_string(r.MonitorNumber));
    out.Line("; Screen: " + std::to_string(r.ScreenIndex));
    out.Line("; Area: " + std::to_string(r.AreaWidth) + "x" + std::to_string(r.AreaHeight) +
             " at (" + std::to_string(r.AreaLeft) + "," + std::to_string(r.AreaTop) + ")");
    out.Line("; Version: " + facts.Version);
    out.Line("; Model: " + std::to_string(r.ModelKind * 10 + r.PolynomialOrder));
    for (const auto& [name, text] : facts.GlassLines) out.Line("; " + name + ": " + text);
    for (const HistoryFigure& figure : figures)
        out.Line("; " + figure.Name + ": " +
                 (std::isfinite(figure.Value) ? Fixed(figure.Value, figure.Decimals)
                                              : std::string(kFigureNotKnown)));
    out.Line("");
}

void WriteController(ConfigText& out, const ControllerParameters& p, const CalibrationFit& fit) {
    out.Key("SensorModelNum", Ascii(p.SensorModelNum));
    out.Key("ControllerModelNum", Ascii(p.ControllerModelNum));
    out.RealKey("PowerSupplyVoltage", p.PowerSupplyVoltage);
    out.RealKey("PowerSupplyGround", p.PowerSupplyGround);
    out.RealKey("UpperPsDeltaV", p.UpperPsDeltaV);
    out.RealKey("LowerPsDeltaV", p.LowerPsDeltaV);
    out.RealKey("UpperTransDeltaV", p.UpperTransDeltaV);
    out.RealKey("LowerTransDeltaV", p.LowerTransDeltaV);
    out.RealKey("ScreenHeight", p.ScreenHeight);
    out.RealKey("ScreenWidth", p.ScreenWidth);
    out.Key("ControllerMax", p.ControllerMax);
    out.Key("ControllerMin", p.ControllerMin);
    // The values the fit used, whether given or computed.
    out.RealKey("ControllerOffset", fit.ControllerOffset);
    out.RealKey("ScaleFactor", fit.ScaleFactor);
}

void WriteLayout(ConfigText& out, const CalibrationConfig& c) {
    out.Key("NumGridRows", c.NumGridRows);
    out.Key("NumGridPoints", int64_t(c.NumGridRows) * c.NumGridColumns);
    out.Key("Perimeter", c.Perimeter ? 1 : 0);
    out.Key("FitModelCode", c.FitModelCode);
    out.Key("FitTerms", c.FitTerms);
    for (int n = 0; n < kMiniTargetSlots; ++n)
        if (c.InfluenceRadius[n] != 0.0)
            out.RealKey("InfluenceRadius" + std::to_string(n + 1), c.InfluenceRadius[n]);
    out.RealKey("RangeX", c.RangeX);
    out.RealKey("RangeY", c.RangeY);
    out.RealKey("OriginX", c.OriginX);
    out.RealKey("OriginY", c.OriginY);
    // The TargetGrid keys below hold the targets where the pass drew them, spread and spaced
    // already: read back, they must stand as they are.
    out.RealKey("GridMagnification", 1.0);
    out.Key("GridSpacing", 0);
    out.Key("Nxside", c.Nxside);
    out.Key("Nyside", c.Nyside);
    out.RealKey("MisclickTolerance", c.MisclickTolerance);
    if (c.MaxFitResidual >= 0.0) out.RealKey("MaxFitResidual", c.MaxFitResidual);
    out.RealKey("MaxDrift", ReadDriftBound(c.CfgFilePath));
    for (uint32_t i = 0; i < c.NumGridPoints && i < c.Targets.size(); ++i) {
        out.Numbered("TargetGridX%02u", i, c.Targets[i].X);
        out.Numbered("TargetGridY%02u", i, c.Targets[i].Y);
    }
}

void WriteTouches(ConfigText& out, const CalibrationConfig& c) {
    out.Key("Simulate", 1);
    for (uint32_t i = 0; i < c.TargetCount && i < c.Touches.size(); ++i) {
        if (i >= c.NumGridPoints && !c.MiniTargetEnabled[i - c.NumGridPoints]) continue;
        out.Numbered("TouchGridX%02u", i, c.Touches[i].V);
        out.Numbered("TouchGridY%02u", i, c.Touches[i].W);
    }
}

void WritePlacement(ConfigText& out, const CalibrationDataRecord& r, const CalibrationConfig& c) {
    out.Line("[TARNIX-HISTORY]");
    out.Key("ScreenIndex", r.ScreenIndex);
    out.Key("MonitorNumber", r.MonitorNumber);
    out.Key("AreaLeft", r.AreaLeft);
    out.Key("AreaTop", r.AreaTop);
    out.Key("AreaWidth", r.AreaWidth);
    out.Key("AreaHeight", r.AreaHeight);
    out.Key("VirtualScreenLeft", r.VirtualScreenLeft);
    out.Key("VirtualScreenTop", r.VirtualScreenTop);
    out.Key("VirtualScreenWidth", r.VirtualScreenWidth);
    out.Key("VirtualScreenHeight", r.VirtualScreenHeight);
    out.Key("CaptionHeight", c.CaptionHeight);
    out.RealKey("MeanTouchV", c.MeanTouchV);
    out.RealKey("MeanTouchW", c.MeanTouchW);
}

bool ReadPlacementInteger(const wchar_t* path, const wchar_t* key, int32_t& value) {
    wchar_t text[kProfileValueCapacity] = {};
    PlatformReadProfileString(kHistorySection, key, L"", text, kProfileValueCapacity, path);
    if (text[0] == L'\0') return false;
    value = ConvertLeadingInteger(text);
    return true;
}

bool ReadPlacementReal(const wchar_t* path, const wchar_t* key, double& value) {
    wchar_t text[kProfileValueCapacity] = {};
    PlatformReadProfileString(kHistorySection, key, L"", text, kProfileValueCapacity, path);
    if (text[0] == L'\0') return false;
    value = ConvertLeadingReal(text);
    return true;
}

}  // namespace

std::vector<HistoryFigure> PassFigures(const CalibrationFit& fit, const ControllerParameters& p) {
    const GridResiduals residuals = ComputeGridResiduals(fit);
    const double rangeX = fit.Config != nullptr ? fit.Config->RangeX : 1.0;
    const double rangeY = fit.Config != nullptr ? fit.Config->RangeY : 1.0;
    const GlassScale glass =
        GlassScaleFor(p.ScreenWidth, p.ScreenHeight, fit.MonitorWidth, fit.MonitorHeight);
    double sumSquares = 0.0, worst = 0.0;
    for (const PointResidual& point : residuals.Points) {
        const double mm = glass.Millimetres(point.DeltaX * rangeX * fit.MonitorWidth,
                                            point.DeltaY * rangeY * fit.MonitorHeight);
        sumSquares += mm * mm;
        worst = std::fmax(worst, mm);
    }
    const double count = residuals.Points.empty() ? 1.0 : double(residuals.Points.size());
    return {{"RMS residual (px)", residuals.RmsPixels, 3},
            {"RMS residual (mm)", std::sqrt(sumSquares / count), 3},
            {"Worst residual (px)", residuals.MaxPixels, 3},
            {"Worst residual (mm)", worst, 3},
            {"Millimetres per pixel across (mm)", glass.MmPerPixelX, 4},
            {"Millimetres per pixel down (mm)", glass.MmPerPixelY, 4}};
}

std::string ComposeHistoryConfig(const CalibrationDataRecord& record, const CalibrationFit& fit,
                                 const CalibrationConfig& config,
                                 const ControllerParameters& parameters, const HistoryFacts& facts,
                                 const std::vector<HistoryFigure>& figures) {
    ConfigText out;
    WriteHeader(out, record, facts, figures);
    out.Line("[TARNIX-APP]");
    WriteController(out, parameters, fit);
    WriteLayout(out, config);
    WriteTouches(out, config);
    out.Line("");
    WritePlacement(out, record, config);
    return out.Text();
}

double ReadDriftBound(const wchar_t* cfgPath) {
    const double bound = ReadCfgReal(cfgPath, L"MaxDrift", kDefaultMaxDrift);
    return bound > 0.0 ? bound : kDefaultMaxDrift;
}

bool ReadHistoryPlacement(const wchar_t* path, HistoryPlacement& p) {
    if (!ReadPlacementInteger(path, L"AreaWidth", p.Area.Width)) return false;
    ReadPlacementInteger(path, L"AreaHeight", p.Area.Height);
    ReadPlacementInteger(path, L"AreaLeft", p.Area.Left);
    ReadPlacementInteger(path, L"AreaTop", p.Area.Top);
    ReadPlacementInteger(path, L"MonitorNumber", p.Area.MonitorNumber);
    ReadPlacementInteger(path, L"ScreenIndex", p.ScreenIndex);
    ReadPlacementInteger(path, L"VirtualScreenLeft", p.VirtualScreen.Left);
    ReadPlacementInteger(path, L"VirtualScreenTop", p.VirtualScreen.Top);
    ReadPlacementInteger(path, L"VirtualScreenWidth", p.VirtualScreen.Width);
    ReadPlacementInteger(path, L"VirtualScreenHeight", p.VirtualScreen.Height);
    ReadPlacementInteger(path, L"CaptionHeight", p.CaptionHeight);
    ReadPlacementReal(path, L"MeanTouchV", p.MeanTouchV);
    ReadPlacementReal(path, L"MeanTouchW", p.MeanTouchW);
    return true;
}
