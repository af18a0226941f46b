// The check touches after the fit: their places, their bounds and the steps of a pass's checks.
#include "fit/check_touches.h"

#include <algorithm>
#include <cmath>

#include "driver/record_mapping.h"
#include "fit/designed_step.h"

namespace {

struct Candidate {
    CheckPlace Place;
    double AimDistance = 0.0;  // pixels to the judge's doubt, or else to the nearest corner
};

double PixelDistance(const CheckPlanInput& in, double fx0, double fy0, double fx1, double fy1) {
    return std::hypot((fx1 - fx0) * in.AreaWidth, (fy1 - fy0) * in.AreaHeight);
}

bool Clear(const CheckPlanInput& in, const CheckPlace& p, const std::vector<CheckPlace>& taken,
           double step) {
    for (const TargetPoint& t : in.Grid)
        if (PixelDistance(in, p.Fx, p.Fy, t.X, t.Y) < step / 2) return false;
    for (const CheckPlace& q : taken)
        if (PixelDistance(in, p.Fx, p.Fy, q.Fx, q.Fy) < step) return false;
    return true;
}

// The map's samples inside the margin, with their distance to the last place's aim.
std::vector<Candidate> CandidatesOf(const CheckPlanInput& in) {
    std::vector<Candidate> all;
    const ExpectedErrorMap& map = *in.Map;
    for (int32_t j = 0; j < map.Rows; ++j)
        for (int32_t i = 0; i < map.Columns; ++i) {
            const double fx = double(i) / (map.Columns - 1), fy = double(j) / (map.Rows - 1);
            const double mm = map.Mm[size_t(j) * size_t(map.Columns) + size_t(i)];
            if (!std::isfinite(mm) || std::min(fx, 1 - fx) < kCheckEdgeMargin ||
                std::min(fy, 1 - fy) < kCheckEdgeMargin)
                continue;
            const TargetPoint aim =
                in.Doubt ? *in.Doubt : TargetPoint{fx < 0.5 ? 0.0 : 1.0, fy < 0.5 ? 0.0 : 1.0};
            all.push_back({CheckPlace{fx, fy, mm}, PixelDistance(in, fx, fy, aim.X, aim.Y)});
        }
    return all;
}

double GridStep(const CheckPlanInput& in) {
    std::vector<ScreenPoint> grid;
    for (const TargetPoint& t : in.Grid) grid.push_back({t.X * in.AreaWidth, t.Y * in.AreaHeight});
    const double step = DesignedStep(grid);
    return step > 0.0 ? step : std::min(in.AreaWidth, in.AreaHeight) / 4.0;
}

// The first clear candidate in the order of better.
template <typename Better>
bool PickClear(const CheckPlanInput& in, std::vector<Candidate> candidates, Better better,
               std::vector<CheckPlace>& taken, std::vector<CheckPlace>& chosen, double step) {
    std::stable_sort(candidates.begin(), candidates.end(), better);
    for (const Candidate& c : candidates) {
        if (!Clear(in, c.Place, taken, step)) continue;
        taken.push_back(c.Place);
        chosen.push_back(c.Place);
        return true;
    }
    return false;
}

}  // namespace

std::vector<CheckPlace> ChooseCheckPlaces(const CheckPlanInput& in, int32_t count) {
    std::vector<CheckPlace> chosen;
    if (in.Map == nullptr || in.Map->Columns < 2 || in.Map->Rows < 2 || in.AreaWidth <= 0 ||
        in.AreaHeight <= 0 || count <= 0)
        return chosen;
    const std::vector<Candidate> candidates = CandidatesOf(in);
    const double step = GridStep(in);
    std::vector<CheckPlace> taken = in.Used;
    const auto larger = [](const Candidate& a, const Candidate& b) {
        return a.Place.ExpectedMm > b.Place.ExpectedMm;
    };
    const auto nearer = [](const Candidate& a, const Candidate& b) {
        return a.AimDistance < b.AimDistance;
    };
    const int32_t byError = count > 1 ? count - 1 : 1;
    for (int32_t k = 0; k < byError; ++k)
        if (!PickClear(in, candidates, larger, taken, chosen, step)) break;
    if (count > 1 && PickClear(in, candidates, nearer, taken, chosen, step))
        chosen.back().Doubted = in.Doubt.has_value();
    return chosen;
}

double CheckBoundMm(double scatterMm, double pixelMm, int32_t touches, double allowanceMm) {
    const double meanScatter = scatterMm / std::sqrt(double(std::max(touches, 1)));
    return allowanceMm + kCheckBoundFactor * meanScatter + pixelMm;
}

double RepeatBoundMm(double scatterMm) {
    return std::max(kCheckFloorMm, kCheckBoundFactor * 2 * scatterMm);
}

double CheckMiss::Mm() const { return std::hypot(Xmm, Ymm); }

bool MissOfCheck(const CalibrationDataRecord& record, int32_t areaWidth, int32_t areaHeight,
                 GlassScale scale, const CheckPlace& place, RawPoint raw, CheckMiss& miss) {
    double x, y;
    if (areaWidth <= 0 || areaHeight <= 0 || !MapRecordCounts(record, raw.V, raw.W, x, y))
        return false;
    miss.Xmm = (x + 0.5 - place.Fx) * areaWidth * scale.MmPerPixelX;
    miss.Ymm = (y + 0.5 - place.Fy) * areaHeight * scale.MmPerPixelY;
    return std::isfinite(miss.Xmm) && std::isfinite(miss.Ymm);
}

void CheckTouches::Start(int32_t count) {
    *this = CheckTouches();
    count_ = std::clamp(count, 0, kMaxCheckTargets);
}

void CheckTouches::Plan(const std::vector<CheckPlace>& places, double scatterMm, double pixelMm) {
    places_ = places;
    used_.insert(used_.end(), places.begin(), places.end());
    scatterMm_ = std::isfinite(scatterMm) ? scatterMm : 0.0;
    pixelMm_ = pixelMm;
    next_ = 0;
    pending_ = false;
    touchesHere_ = 0;
    misses_.clear();
}

const CheckPlace* CheckTouches::Current() const {
    return size_t(next_) < places_.size() ? &places_[size_t(next_)] : nullptr;
}

CheckStep CheckTouches::Take(RawPoint raw, const CheckMiss& miss) {
    touchesHere_ += 1;
    const bool within = miss.Mm() <= BoundMm(places_[size_t(next_)].Doubted ? 2 : 1);
    if (pending_) {
        const double apart = std::hypot(miss.Xmm - pendingMiss_.Xmm, miss.Ymm - pendingMiss_.Ymm);
        if (apart <= RepeatBoundMm(scatterMm_)) return TakeAgreeing(raw, miss);
        slips_ += 1;  // the earlier touch was a slip: this one is the check
        if (!within && touchesHere_ >= kMostTouchesPerCheck) return Confirm(raw, miss.Mm());
    }
    if (within) return Keep(raw, miss.Mm());
    pending_ = true;
    pendingMiss_ = miss;
    pendingRaw_ = raw;
    return CheckStep::AskAgain;
}

// A touch and its agreeing repeat, taken as their mean: half the scatter of one.
CheckStep CheckTouches::TakeAgreeing(RawPoint raw, const CheckMiss& miss) {
    const CheckMiss mean{(miss.Xmm + pendingMiss_.Xmm) / 2, (miss.Ymm + pendingMiss_.Ymm) / 2};
    const RawPoint meanRaw{(raw.V + pendingRaw_.V) / 2, (raw.W + pendingRaw_.W) / 2};
    if (mean.Mm() <= BoundMm(2)) return Keep(meanRaw, mean.Mm());
    return Confirm(meanRaw, mean.Mm());
}

double CheckTouches::BoundMm(int32_t touches) const {
    const double allowance = refits_ < kMaxCheckRefits ? kCheckAllowanceMm : kLastCheckAllowanceMm;
    return CheckBoundMm(scatterMm_, pixelMm_, touches, allowance);
}

CheckStep CheckTouches::Keep(RawPoint raw, double missMm) {
    joining_.push_back({places_[size_t(next_)], raw, missMm});
    misses_.push_back(missMm);
    pending_ = false;
    touchesHere_ = 0;
    next_ += 1;
    return size_t(next_) < places_.size() ? CheckStep::Next : CheckStep::Passed;
}

CheckStep CheckTouches::Confirm(RawPoint raw, double missMm) {
    failure_ = {places_[size_t(next_)], raw, missMm};
    joining_.push_back(failure_);
    pending_ = false;
    places_.clear();
    next_ = 0;
    if (refits_ >= kMaxCheckRefits) return CheckStep::Refuse;
    refits_ += 1;
    return CheckStep::Refit;
}

void AddCheckTouches(CalibrationConfig& config, const std::vector<CheckTouch>& checks) {
    const size_t at = config.NumGridPoints;
    for (size_t k = 0; k < checks.size(); ++k) {
        const CheckTouch& check = checks[k];
        const ptrdiff_t index = ptrdiff_t(at + k);
        config.Targets.insert(config.Targets.begin() + index, {check.Place.Fx, check.Place.Fy});
        config.Touches.insert(config.Touches.begin() + index, {0, check.Raw.V, check.Raw.W});
    }
    config.NumGridPoints += uint32_t(checks.size());
    config.TargetCount += uint32_t(checks.size());
    for (size_t i = at; i < config.Touches.size(); ++i)
        config.Touches[i].TargetNumber = int32_t(i + 1);
}
