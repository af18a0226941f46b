// CalibrationFit: the fit record of a pass (normalised data, coefficients, working storage, touch
// offset, rotation and mini-target figures), with its creation, linking and status.
#pragma once

#include <cstdint>
#include <memory>

#include "fit/fit_basis.h"
#include "fit/model_choice.h"
#include "numeric/matrix.h"
#include "numeric/vector.h"

struct CalibrationConfig;
struct ControllerParameters;

inline constexpr int kFitMiniTargets = 11;

// What the last fit of the record did. Anything but Fitted means the coefficients must not be
// committed: the caller keeps the calibration it had and may offer a retry.
enum class FitStatus : int32_t {
    NotRun = 0,
    Prepared,  // the polynomial fit is prepared and may run
    Fitted,
    NonFiniteTouch,   // a touch coordinate was NaN or infinite
    NonFiniteResult,  // the fit produced a NaN or infinite coefficient or offset
    BadInput,         // the record is not linked, or the grid and arrays disagree
    OutOfMemory,      // the fit's storage could not be allocated
    NotDetermined,    // the touches determine no model the record can hold
};

struct CalibrationFit {
    CalibrationConfig* Config = nullptr;
    ControllerParameters* Parameters = nullptr;
    Vector TargetX;
    Vector TargetY;
    Vector TouchV;
    Vector TouchW;
    Vector CoeffX;
    Vector CoeffY;
    Vector Weights;
    Matrix FitU;
    Matrix FitV;
    Vector SingularValues;
    Vector GridWeights;
    Matrix GridFitU;
    Matrix GridFitV;
    Vector GridSingularValues;
    Vector PredictedV;
    Vector PredictedW;
    Vector ScaledSymmetricV;
    Vector ScaledSymmetricW;
    Vector SavedV;
    Vector SavedW;
    double LaplaceOffsetX = 0.0;
    double LaplaceOffsetY = 0.0;
    double LaplaceRotation = 0.0;
    double LaplaceMinSS = 0.0;
    Vector LaplaceCoeffV;
    Vector LaplaceCoeffW;
    double ControllerOffset = 0.0;
    double ScaleFactor = 0.0;
    int32_t MonitorHeight = 0;
    int32_t MonitorWidth = 0;
    int32_t TermCount = 0;
    int32_t PointCount = 0;
    double OffsetV = 0.0;
    double OffsetW = 0.0;
    double RotationDegrees = 0.0;
    double MiniTargetDistance[kFitMiniTargets] = {};
    double MiniTargetDeltaX[kFitMiniTargets] = {};
    double MiniTargetDeltaY[kFitMiniTargets] = {};
    double MiniTargetX[kFitMiniTargets] = {};
    double MiniTargetY[kFitMiniTargets] = {};
    int32_t MiniTargetSpacing[kFitMiniTargets][kFitMiniTargets] = {};
    uint32_t ModelKind = 0;
    uint32_t PolynomialOrder = 0;
    FitStatus LastStatus = FitStatus::NotRun;
    int32_t FinalRank = 0;  // non-zero singular values of the fit that gave CoeffX and CoeffY
    // Any fit but that of every term of the order: the model chosen and written into the
    // record's terms, the order written and the farthest the written polynomial strays from the
    // model over the area.
    ModelChoice Choice;
    uint32_t WrittenOrder = 0;
    double ProjectionMisfitMm = 0.0;
};

// Model kinds fitted through the Laplace virtual grid.
inline bool IsLaplaceModel(uint32_t modelKind) { return modelKind == 3 || modelKind == 4; }

// (n + 1)(n + 2) / 2 terms for order n = 1 .. 7; 0 for any other order.
int32_t TermCountForOrder(uint32_t polynomialOrder);

// The smallest grid a pass may be fitted on: one point per term (TermCountForOrder), 3 for an
// order outside 1 .. 7.
int32_t MinimumGridPoints(uint32_t polynomialOrder);

// A record with every vector and matrix empty, PointCount = pointCount, TermCount by the order and
// the model kind and order copied. Null only when memory is exhausted.
std::unique_ptr<CalibrationFit> CreateCalibrationFit(uint32_t polynomialOrder, uint32_t modelKind,
                                                     int32_t pointCount);

// Sets PolynomialTermCount for the record's order and points it at the configuration records.
// For an order outside 1 .. 7 only PolynomialTermCount (3) is set and false is returned.
bool LinkCalibrationFit(CalibrationFit& fit, CalibrationConfig& config,
                        ControllerParameters& parameters);

// Number of non-zero singular values among the first termCount (after the fit's threshold).
int32_t NonZeroSingularValues(const Vector& singularValues, int32_t termCount);

// Short English text of a status, for traces and tools.
const wchar_t* FitStatusText(FitStatus status);

// Sets LastStatus to status and traces "<fitName> fit refused: <why>". Always 0, the result of the
// refused step.
int RefuseFit(CalibrationFit& fit, FitStatus status, const wchar_t* fitName, const wchar_t* why);
