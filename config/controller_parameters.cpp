// Reads the controller keys of "Tarnix.cfg" and computes the controller offset and scale factor.
#include "config/controller_parameters.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

#include "config/profile_values.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"

namespace {

template <size_t N>
bool CopyText(wchar_t (&out)[N], const wchar_t* text) {
    size_t length = std::wcslen(text);
    size_t count = length < N ? length : N - 1;
    std::wmemset(out, L'\0', N);
    std::wmemcpy(out, text, count);
    return length < N;
}

void ReadModelNumber(const wchar_t* path, const wchar_t* key, wchar_t (&out)[32]) {
    wchar_t text[kProfileValueCapacity];
    std::wmemset(out, L'\0', 32);
    if (FetchCfgText(path, key, text)) CopyText(out, text);
}

// "GlassSize=Monitor" (any case); any other value or none keeps ScreenWidth x ScreenHeight.
bool ReadGlassFromMonitor(const wchar_t* path) {
    wchar_t text[kProfileValueCapacity];
    if (!FetchCfgText(path, L"GlassSize", text)) return false;
    const wchar_t* wanted = L"monitor";
    size_t i = 0;
    for (; wanted[i] != L'\0'; ++i)
        if (wchar_t(std::towlower(wint_t(text[i]))) != wanted[i]) return false;
    return text[i] == L'\0';
}

// Physical sizes must be positive: the fits use their ratio.
void CheckScreenSize(ControllerParameters& p) {
    if (p.ScreenHeight > 0.0 && p.ScreenWidth > 0.0) return;
    DebugPrint(L"Tarnix.exe: ScreenHeight/ScreenWidth must be positive, using 230.4 x 306.4");
    p.ScreenHeight = 230.4;
    p.ScreenWidth = 306.4;
}

void CheckControllerRange(ControllerParameters& p) {
    if (p.ControllerMax != p.ControllerMin) return;
    DebugPrint(L"Tarnix.exe: ControllerMax equals ControllerMin (%d), using 0..4095",
               p.ControllerMax);
    p.ControllerMax = 4095;
    p.ControllerMin = 0;
}

void ComputeDerivedVoltages(ControllerParameters& p) {
    p.AdcHighReference = p.PowerSupplyVoltage - p.UpperPsDeltaV;
    p.AdcLowReference = p.PowerSupplyGround + p.LowerPsDeltaV;
    p.TouchScreenPower = p.AdcHighReference - p.UpperTransDeltaV;
    p.TouchScreenGround = p.AdcLowReference + p.LowerTransDeltaV;
    p.VoltageRange = p.TouchScreenPower - p.TouchScreenGround;
}

double ControllerCountRange(const ControllerParameters& p) {
    return static_cast<double>(int64_t(p.ControllerMax) - int64_t(p.ControllerMin));
}

// Degenerate voltages (equal references, an empty range) would divide by zero: the touch screen
// is then taken to span the whole controller range.
bool VoltagesUsable(const ControllerParameters& p) {
    double voltsPerCount = (p.AdcHighReference - p.AdcLowReference) / ControllerCountRange(p);
    return std::isfinite(voltsPerCount) && voltsPerCount != 0.0 && std::isfinite(p.VoltageRange) &&
           p.VoltageRange != 0.0 && ControllerCountRange(p) != 0.0;
}

void TraceUnusableVoltages() {
    DebugPrint(L"Tarnix.exe: degenerate supply voltages, using the whole controller range");
}

}  // namespace

bool ReadControllerParameters(ControllerParameters& p, const wchar_t* cfgPath) {
    ProfileReadingPass pass;
    p = ControllerParameters();
    bool pathFits = CopyText(p.CfgFilePath, cfgPath ? cfgPath : L"");
    if (!pathFits) {
        DebugPrint(L"Tarnix.exe: configuration path longer than 259 characters, using defaults");
        p.CfgFilePath[0] = L'\0';
    }
    const wchar_t* path = p.CfgFilePath;
    ReadModelNumber(path, L"SensorModelNum", p.SensorModelNum);
    ReadModelNumber(path, L"ControllerModelNum", p.ControllerModelNum);
    p.PowerSupplyVoltage = ReadCfgReal(path, L"PowerSupplyVoltage", 5.0);
    p.PowerSupplyGround = ReadCfgReal(path, L"PowerSupplyGround", 0.0);
    p.ScreenHeight = ReadCfgReal(path, L"ScreenHeight", 230.4);
    p.ScreenWidth = ReadCfgReal(path, L"ScreenWidth", 306.4);
    p.GlassFromMonitor = ReadGlassFromMonitor(path);
    p.ControllerMax = ReadCfgInteger(path, L"ControllerMax", 4095);
    p.ControllerMin = ReadCfgInteger(path, L"ControllerMin", 0);
    p.UpperPsDeltaV = ReadCfgReal(path, L"UpperPsDeltaV", 0.0);
    p.LowerPsDeltaV = ReadCfgReal(path, L"LowerPsDeltaV", 0.0);
    p.UpperTransDeltaV = ReadCfgReal(path, L"UpperTransDeltaV", 0.0);
    p.LowerTransDeltaV = ReadCfgReal(path, L"LowerTransDeltaV", 0.0);
    CheckScreenSize(p);
    CheckControllerRange(p);
    ComputeDerivedVoltages(p);
    return pathFits;
}

double GetControllerOffset(const ControllerParameters& p) {
    double offset = 0.0;
    if (ReadCfgOptionalReal(p.CfgFilePath, L"ControllerOffset", &offset)) return offset;
    if (!VoltagesUsable(p)) {
        TraceUnusableVoltages();
        return (double(p.ControllerMax) + double(p.ControllerMin)) * 0.5;
    }
    double voltsPerCount = (p.AdcHighReference - p.AdcLowReference) / ControllerCountRange(p);
    return ((p.TouchScreenPower + p.TouchScreenGround) * 0.5 - p.AdcLowReference) / voltsPerCount +
           p.ControllerMin;
}

double GetScaleFactor(const ControllerParameters& p) {
    double scale = 0.0;
    if (ReadCfgOptionalReal(p.CfgFilePath, L"ScaleFactor", &scale)) {
        if (scale != 0.0) return scale;
        DebugPrint(L"Tarnix.exe: ScaleFactor 0 ignored, computing it");
    }
    if (!VoltagesUsable(p)) {
        TraceUnusableVoltages();
        double range = ControllerCountRange(p);
        return range != 0.0 ? 1.0 / range : 1.0 / 4095.0;
    }
    return ((p.AdcHighReference - p.AdcLowReference) / ControllerCountRange(p)) / p.VoltageRange;
}
