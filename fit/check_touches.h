// The check touches after the fit: where to ask them, how far off one may be, and what comes next.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "config/calibration_config.h"
#include "driver/quva_records.h"
#include "fit/expected_error.h"
#include "fit/glass_scale.h"

// A pass re-fitted this often with its check touches and still missing a check is refused.
inline constexpr int32_t kMaxCheckRefits = 2;
// A check accepts the mapping's own error up to kCheckAllowanceMm at its place (the touch-display
// requirement inside the area): a touch is asked again, and a miss confirmed, beyond it by more
// than kCheckBoundFactor times the person's scatter of what was touched there. Two touches of one
// place agree within kCheckBoundFactor RMS of their difference, and at least kCheckFloorMm.
inline constexpr double kCheckAllowanceMm = 1.0;
// After kMaxCheckRefits refits the last round allows the requirement's edge band instead: a
// mapping missing by more is refused, one nearer committed with its misses shown.
inline constexpr double kLastCheckAllowanceMm = 2.0;
inline constexpr double kCheckBoundFactor = 2.5;
inline constexpr double kCheckFloorMm = 1.0;
// Touches of one place before its latest two count as agreeing whatever they are.
inline constexpr int32_t kMostTouchesPerCheck = 3;
// Check places keep this share of each side clear of the area's edges.
inline constexpr double kCheckEdgeMargin = 0.02;

// A place to check, as a fraction of the area, and the expected error of the mapping there (mm).
// At a place the judge doubts, one touch passes only within the bound of two: beyond it, the
// place is touched again and the mean of the two judged.
struct CheckPlace {
    double Fx = 0.0, Fy = 0.0;
    double ExpectedMm = 0.0;
    bool Doubted = false;
};

// What the places are chosen from: the pass's expected-error map, the grid targets (fractions of
// the area), the area's size in pixels, the places checked before (kept away from) and where the
// judge doubts the touches most, if anywhere (a fraction of the area).
struct CheckPlanInput {
    const ExpectedErrorMap* Map = nullptr;
    std::vector<TargetPoint> Grid;
    int32_t AreaWidth = 0, AreaHeight = 0;
    std::vector<CheckPlace> Used;
    std::optional<TargetPoint> Doubt;
};

// count places at least half the grid's step from every grid target and a step from each other:
// the first where the expected error is largest, the last the one nearest the judge's doubt, or
// without one nearest a corner. Fewer when the map leaves no room.
std::vector<CheckPlace> ChooseCheckPlaces(const CheckPlanInput& input, int32_t count);

// The bound of the miss at a check place (mm) for the mean of `touches` touches there: the
// allowance (allowanceMm), kCheckBoundFactor times the person's scatter (per axis) of that mean,
// and the pixel's diagonal (pixelMm) for the driver's truncation.
double CheckBoundMm(double scatterMm, double pixelMm, int32_t touches = 1,
                    double allowanceMm = kCheckAllowanceMm);
// The bound of the distance between two honest touches of one place (mm).
double RepeatBoundMm(double scatterMm);

// A check touch's miss on the glass: where the record maps it less the place, per axis, in mm.
struct CheckMiss {
    double Xmm = 0.0, Ymm = 0.0;
    double Mm() const;
};
// False when the record has no mapping or the area no size.
bool MissOfCheck(const CalibrationDataRecord& record, int32_t areaWidth, int32_t areaHeight,
                 GlassScale scale, const CheckPlace& place, RawPoint raw, CheckMiss& miss);

// A check touch kept: its place, its raw position and its miss.
struct CheckTouch {
    CheckPlace Place;
    RawPoint Raw;
    double MissMm = 0.0;
};

enum class CheckStep {
    Next,      // kept: the next place is due
    AskAgain,  // beyond the bound: the same place again
    Passed,    // every place of the round is kept: the mapping may be committed
    Refit,     // a miss was confirmed: fit again with every check touch kept, then plan anew
    Refuse,    // a miss was confirmed after kMaxCheckRefits refits: nothing is written
};

// One pass's checks. After each fit the caller plans a round of places; each touch of the current
// place is taken with its miss. A touch beyond the bound is asked again. A repeat that agrees with
// it is taken with it: their mean miss, beyond the bound for two touches, is the mapping's
// (confirmed), else the place is kept with it. A repeat that does not agree makes the first a
// slip, dropped, and is judged alone.
class CheckTouches {
  public:
    void Start(int32_t count);  // CheckTargets, clamped to 0 .. kMaxCheckTargets
    int32_t Count() const { return count_; }
    // A round after a fit: its places, the pass's scatter (per axis, mm) and the pixel's diagonal.
    void Plan(const std::vector<CheckPlace>& places, double scatterMm, double pixelMm);
    // The place due now, null when none is.
    const CheckPlace* Current() const;
    int32_t CurrentIndex() const { return next_; }
    bool AskingAgain() const { return pending_; }
    CheckStep Take(RawPoint raw, const CheckMiss& miss);

    // The misses of the round that passed, in the order asked.
    const std::vector<double>& Misses() const { return misses_; }
    // Every check touch kept or confirmed in the pass: they join a refit as targets.
    const std::vector<CheckTouch>& Joining() const { return joining_; }
    // Every place planned in the pass, for the next round to keep away from.
    const std::vector<CheckPlace>& Used() const { return used_; }
    int32_t Refits() const { return refits_; }
    int32_t Slips() const { return slips_; }
    // The confirmed miss that refused (or re-fitted) the pass.
    const CheckTouch& Failure() const { return failure_; }

  private:
    CheckStep Keep(RawPoint raw, double missMm);
    CheckStep TakeAgreeing(RawPoint raw, const CheckMiss& miss);
    double BoundMm(int32_t touches) const;
    CheckStep Confirm(RawPoint raw, double missMm);

    int32_t count_ = 0;
    std::vector<CheckPlace> places_;
    std::vector<CheckPlace> used_;
    double scatterMm_ = 0.0, pixelMm_ = 0.0;
    int32_t next_ = 0;
    bool pending_ = false;
    CheckMiss pendingMiss_;
    RawPoint pendingRaw_;
    int32_t touchesHere_ = 0;
    std::vector<double> misses_;
    std::vector<CheckTouch> joining_;
    CheckTouch failure_;
    int32_t refits_ = 0;
    int32_t slips_ = 0;
};

// The configuration with the check touches as grid points after the others (before the mini
// targets), for a refit that follows the sensor where the checks found it.
void AddCheckTouches(CalibrationConfig& config, const std::vector<CheckTouch>& checks);
