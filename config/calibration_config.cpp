// Reads the grid, fit model and mini-target keys of "Tarnix.cfg" into CalibrationConfig.
#include "config/calibration_config.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "config/profile_values.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"

namespace {

// Caption heights beyond this (about 133 pixels) leave no room for the mini targets.
constexpr int32_t kMaxCaptionHeightTwips = 2000;

// A grid count read as written: negative text is refused, 0 (also text without digits) is raised
// by the rules of ReadGridShape, and more than kMaxGridPoints is refused.
bool ReadGridCount(const wchar_t* path, const wchar_t* key, int32_t defaultValue, uint32_t* value) {
    int32_t read = ReadCfgInteger(path, key, defaultValue);
    if (read < 0 || uint32_t(read) > kMaxGridPoints) {
        DebugPrint(L"Tarnix.exe: %s=%d is not a usable grid size", key, read);
        return false;
    }
    *value = uint32_t(read);
    return true;
}

bool ReadGridShape(CalibrationConfig& c) {
    const wchar_t* path = c.CfgFilePath;
    uint32_t rows = 0, points = 0;
    bool usable = ReadGridCount(path, L"NumGridRows", 5, &rows);
    usable = ReadGridCount(path, L"NumGridPoints", 25, &points) && usable;
    c.Perimeter = ReadCfgFlag(path, L"Perimeter", false);
    if (!usable) return false;
    if (rows < 2) rows = 2;
    if (points / rows < 2) points = 2 * rows;
    uint32_t columns = points / rows;
    if (points != rows * columns) {
        DebugPrint(L"Tarnix.exe: NumGridPoints=%u is not a multiple of NumGridRows=%u, using %u",
                   points, rows, rows * columns);
        points = rows * columns;
    }
    if (c.Perimeter) points = 2 * (rows + columns) - 4;
    c.NumGridRows = rows;
    c.NumGridColumns = columns;
    c.NumGridPoints = points;
    if (points > kMaxGridPoints) {
        DebugPrint(L"Tarnix.exe: %u grid points are more than %u", points, kMaxGridPoints);
        return false;
    }
    return true;
}

void ReadFitModel(CalibrationConfig& c) {
    c.FitModelCode = uint32_t(ReadCfgInteger(c.CfgFilePath, L"FitModelCode", 13));
    c.PolynomialOrder = c.FitModelCode % 10;
    c.ModelKind = c.FitModelCode / 10;
    if (c.PolynomialOrder < 1 || c.PolynomialOrder > 7 || c.ModelKind < 1 || c.ModelKind > 4) {
        c.PolynomialOrder = 3;
        c.ModelKind = 1;
    }
    c.LaplaceTermCount = 4;
}

void ReadMiniTargets(CalibrationConfig& c) {
    c.HasMiniTargets = false;
    c.MiniTargetCount = 0;
    c.DistanceOfInfluence = 0.0;
    for (int n = 1; n <= kMiniTargetSlots; ++n) {
        wchar_t key[64];
        FormatNumberedKey(key, L"InfluenceRadius%d", n);
        double radius = 0.0;
        bool present = ReadCfgOptionalReal(c.CfgFilePath, key, &radius);
        c.InfluenceRadius[n - 1] = present ? radius : 0.0;
        c.MiniTargetEnabled[n - 1] = present && radius >= 0.00001;
        if (c.MiniTargetEnabled[n - 1]) {
            c.HasMiniTargets = true;
            c.MiniTargetCount += 1;
            c.DistanceOfInfluence = radius;
        }
    }
}

// Ranges divide the target positions: zero (or next to it) takes the default.
double ReadRange(const wchar_t* path, const wchar_t* key) {
    double range = ReadCfgReal(path, key, 1.0);
    if (std::fabs(range) >= 1e-6) return range;
    DebugPrint(L"Tarnix.exe: %s must not be 0, using 1.0", key);
    return 1.0;
}

void ReadNormalisation(CalibrationConfig& c) {
    const wchar_t* path = c.CfgFilePath;
    c.RangeX = ReadRange(path, L"RangeX");
    c.RangeY = ReadRange(path, L"RangeY");
    c.OriginX = ReadCfgReal(path, L"OriginX", 0.5);
    c.OriginY = ReadCfgReal(path, L"OriginY", 0.5);
    double magnification = c.GridMagnification;
    if (ReadCfgOptionalReal(path, L"GridMagnification", &magnification)) {
        if (magnification > 0.0) {
            c.GridMagnification = magnification;
        } else {
            DebugPrint(L"Tarnix.exe: GridMagnification must be positive, ignored");
        }
    }
    c.GridSpacing = ReadCfgInteger(path, L"GridSpacing", 0);
    if (c.GridSpacing != 0 && c.GridSpacing != kGridSpacingLobatto) {
        DebugPrint(L"Tarnix.exe: GridSpacing must be 0 or 1, using 0");
        c.GridSpacing = 0;
    }
    c.Nxside = ReadCfgInteger(path, L"Nxside", 9);
    c.Nyside = ReadCfgInteger(path, L"Nyside", 9);
    c.CreateCfgData = ReadCfgFlag(path, L"CreateCfgData", false);
    c.FitTerms = ReadCfgInteger(path, L"FitTerms", 0);
    if (c.FitTerms < 0 || c.FitTerms > 4) {
        DebugPrint(L"Tarnix.exe: FitTerms must be 0, 1, 2, 3 or 4, using 0");
        c.FitTerms = 0;
    }
}

// A non-negative real, else the default with a trace.
double ReadCheckBound(const wchar_t* path, const wchar_t* key, double defaultValue) {
    double value = defaultValue;
    if (!ReadCfgOptionalReal(path, key, &value) || value >= 0.0) return value;
    DebugPrint(L"Tarnix.exe: %s must not be negative, using its default", key);
    return defaultValue;
}

void ReadPassChecks(CalibrationConfig& c) {
    c.MisclickTolerance =
        ReadCheckBound(c.CfgFilePath, L"MisclickTolerance", kDefaultMisclickTolerance);
    c.MaxFitResidual = ReadCheckBound(c.CfgFilePath, L"MaxFitResidual", kDefaultMaxFitResidual);
    c.SuspectFloor = ReadCheckBound(c.CfgFilePath, L"SuspectFloor", kDefaultSuspectFloorMm);
    c.MaxTouchScatter =
        ReadCheckBound(c.CfgFilePath, L"MaxTouchScatter", kDefaultMaxTouchScatterMm);
    c.CheckTargets = ReadCfgInteger(c.CfgFilePath, L"CheckTargets", 0);
    if (c.CheckTargets < 0 || c.CheckTargets > kMaxCheckTargets) {
        DebugPrint(L"Tarnix.exe: CheckTargets must be 0 to %d, using 0", kMaxCheckTargets);
        c.CheckTargets = 0;
    }
}

void RejectGrid(CalibrationConfig& c) {
    c.NumGridPoints = 0;
    c.TargetCount = 0;
    c.Targets.clear();
    c.Targets.shrink_to_fit();
    c.Touches.clear();
    c.Touches.shrink_to_fit();
}

bool AllocateArrays(CalibrationConfig& c) {
    try {
        c.Targets.assign(c.TargetCount, TargetPoint());
        c.Touches.assign(c.TargetCount, TouchEntry());
        return true;
    } catch (const std::bad_alloc&) {
        DebugPrint(L"Tarnix.exe: no memory for %u targets", c.TargetCount);
        return false;
    }
}

}  // namespace

CalibrationConfig::CalibrationConfig(const wchar_t* cfgPath) {
    std::wcsncpy(CfgFilePath, cfgPath ? cfgPath : L"", 259);
    CfgFilePath[259] = L'\0';
}

int32_t ReadCaptionHeightTwips() {
    wchar_t text[256] = {};
    if (PlatformReadUserText(L"Control Panel\\Desktop\\WindowMetrics", L"CaptionHeight", text,
                             256)) {
        text[255] = L'\0';
        int64_t twips = -int64_t(ConvertLeadingInteger(text));
        if (twips > 0 && twips <= kMaxCaptionHeightTwips) return int32_t(twips);
        DebugPrint(L"Tarnix.exe: CaptionHeight \"%s\" unusable, using the system's", text);
    }
    return PlatformDefaultCaptionHeightTwips();
}

bool ReadGridConfig(CalibrationConfig& c) {
    ProfileReadingPass pass;
    c.CaptionHeight = ReadCaptionHeightTwips();
    bool gridUsable = ReadGridShape(c);
    c.Simulate = ReadCfgFlag(c.CfgFilePath, L"Simulate", false);
    c.SimulateAT = ReadCfgFlag(c.CfgFilePath, L"SimulateAT", false);
    ReadFitModel(c);
    ReadMiniTargets(c);
    c.TargetCount = c.NumGridPoints + (c.HasMiniTargets ? kMiniTargetSlots : 0);
    ReadNormalisation(c);
    ReadPassChecks(c);
    if (!gridUsable || !AllocateArrays(c)) {
        RejectGrid(c);
        return false;
    }
    return true;
}
