// The calibration configuration record: grid, fit model, mini targets and the arrays of targets,
// touches and grid cells, read from "Tarnix.cfg".
#pragma once

#include <cstdint>
#include <vector>

// Normalised position of a target on its screen: 0..1 from the left and top edges.
struct TargetPoint {
    double X = 0.0;
    double Y = 0.0;
};

// One raw controller touch; entry i is for target i + 1.
struct TouchEntry {
    int32_t TargetNumber = 0;
    double V = 0.0;
    double W = 0.0;
};

// One grid target's place in the grid (all 1-based).
struct GridCell {
    int32_t TargetNumber = 0;
    int32_t Column = 0;
    int32_t Row = 0;
};

inline constexpr int kMiniTargetSlots = 11;

// Defaults of the checks of a pass: a touch farther than 0.4 of the smaller grid step from where
// its target should be touched is refused; no bound on the residual at the grid targets. After
// the last touch a touch is a suspect only when it disagrees by at least SuspectFloor mm, and a
// pass whose touches scatter by more than MaxTouchScatter mm (per axis) is refused.
inline constexpr double kDefaultMisclickTolerance = 0.4;
// GridSpacing: the grid lines closer together towards the edges (Gauss-Lobatto points).
inline constexpr int32_t kGridSpacingLobatto = 1;
inline constexpr double kDefaultMaxFitResidual = 0.0;
inline constexpr double kDefaultSuspectFloorMm = 3.0;
inline constexpr double kDefaultMaxTouchScatterMm = 3.0;
// CheckTargets: touches asked after the fit at places away from the grid; 0 asks none.
inline constexpr int32_t kMaxCheckTargets = 8;

// Grids with more points than this (after the rules that raise small counts) are refused rather
// than allocated; "too few grid points" is the refusal start-up shows.
inline constexpr uint32_t kMaxGridPoints = 10000;

struct CalibrationConfig {
    explicit CalibrationConfig(const wchar_t* cfgPath = L"");

    uint32_t PolynomialOrder = 3;
    uint32_t ModelKind = 1;
    int32_t Nxside = 9;
    int32_t Nyside = 9;
    int32_t LaplaceTermCount = 4;
    bool Simulate = false;
    bool SimulateAT = false;
    bool CreateCfgData = false;
    uint32_t FitModelCode = 13;
    bool MiniTargetEnabled[kMiniTargetSlots] = {};
    bool HasMiniTargets = false;
    int32_t MiniTargetCount = 0;
    int32_t CaptionHeight = 0;
    double InfluenceRadius[kMiniTargetSlots] = {};
    double DistanceOfInfluence = 0.0;
    std::vector<TouchEntry> Touches;
    wchar_t CfgFilePath[260] = {};
    uint32_t NumGridPoints = 0;
    uint32_t TargetCount = 0;
    uint32_t NumGridRows = 0;
    uint32_t NumGridColumns = 0;
    bool Perimeter = false;
    std::vector<TargetPoint> Targets;
    double RangeX = 1.0;
    double RangeY = 1.0;
    double OriginX = 0.5;
    double OriginY = 0.5;
    double MeanTouchV = 0.0;
    double MeanTouchW = 0.0;
    double GridMagnification = 1.0;
    int32_t GridSpacing = 0;  // 0 even, kGridSpacingLobatto closer together towards the edges
    std::vector<GridCell> GridCells;
    double MisclickTolerance = kDefaultMisclickTolerance;  // share of the smaller grid step; 0: off
    double MaxFitResidual = kDefaultMaxFitResidual;        // pixels RMS; 0: off
    double SuspectFloor = kDefaultSuspectFloorMm;          // millimetres
    double MaxTouchScatter = kDefaultMaxTouchScatterMm;    // millimetres; 0: off
    int32_t CheckTargets = 0;                              // 0 .. kMaxCheckTargets
    int32_t FitTerms = 0;  // 0 every term, 1 harmonic, 2 judged, 3 sheet, 4 predicted best
};

// Reads the grid, model and mini-target keys, the checks of a pass and CaptionHeight, and sizes
// Targets and Touches. False (with NumGridPoints 0, so start-up refuses) for an unusable grid or a
// failed allocation.
bool ReadGridConfig(CalibrationConfig& config);

// Caption height in twips: the per-user "CaptionHeight" negated, else the platform's own.
int32_t ReadCaptionHeightTwips();
