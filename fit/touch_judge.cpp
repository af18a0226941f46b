// The judge of a finished pass: deleted residuals from one least-squares fit and its leverages,
// a median-based scatter, and suspects named one at a time, each left out before the next.
#include "fit/touch_judge.h"

#include <algorithm>
#include <cmath>

#include "config/controller_parameters.h"
#include "fit/calibration_fit.h"
#include "fit/design_matrix_builders.h"
#include "fit/least_squares.h"

namespace {

// A touch is a suspect when its residual exceeds what the scatter explains there by a bar that
// an honest pass of n touches passes with a chance of kHonestShare/n each (sqrt(2 ln(n/share)),
// 3.78 for 25 touches, 4.47 for 400), lowered for a touch of high leverage: an error there bends
// the mapping most and hides best.
constexpr double kHonestShare = 0.02;
constexpr double kSuspectScorePerLeverage = 1.2;
// The median of a radius whose two axes are Gaussian with unit deviation: sqrt(2 ln 2).
constexpr double kRayleighMedian = 1.1774100225154747;
// Touches beyond the model's terms that a judgement needs.
constexpr size_t kMinimumRedundancy = 4;
constexpr int kHarmonicTerms = 7;  // 1, Re z, Im z, ... Im z^3
// Stop naming suspects past this many: the window refuses such a pass anyway.
constexpr size_t kMostSuspectsNamed = size_t(kMaxAskedTargets) + 1;
// Mini targets closer than this on the glass share the error of the grid's extrapolation.
constexpr double kMiniNeighbourMm = 30.0;
// The touches of a round weighed again against the scatter of the others.
constexpr size_t kCandidates = 3;
// A touch is weighed together with each of its this many nearest neighbours; the two are off the
// same way when the cosine between their misses is above this (within 45 degrees).
constexpr size_t kPairNeighbours = 2;
constexpr double kSameWay = 0.7071;
// A confirmed miss is weighed with each of its this many nearest neighbours: on a grid wider than
// it is tall, the ones beside it come third and fourth, after the ones above and below.
constexpr size_t kPartnerNeighbours = 4;
// Two honest neighbours rarely both miss the same way: each of a pair needs only this share of
// a single touch's bar.
constexpr double kPairBar = 0.8;
// A pair below that bar but above this share of a single touch's is where the pass doubts most.
constexpr double kDoubtBar = 0.5;

struct Vec2 {
    double X = 0.0, Y = 0.0;
};

// The inputs of the model scaled to about -1 .. 1 (centre and half-span per axis).
struct Normaliser {
    double CentreA = 0.0, CentreB = 0.0, HalfA = 1.0, HalfB = 1.0;
    void Span(const std::vector<Vec2>& points, bool isotropic) {
        double loA = 1e300, hiA = -1e300, loB = 1e300, hiB = -1e300;
        for (const Vec2& p : points) {
            loA = std::min(loA, p.X), hiA = std::max(hiA, p.X);
            loB = std::min(loB, p.Y), hiB = std::max(hiB, p.Y);
        }
        CentreA = (loA + hiA) / 2, CentreB = (loB + hiB) / 2;
        HalfA = (hiA - loA) / 2, HalfB = (hiB - loB) / 2;
        if (isotropic) HalfA = HalfB = std::max(HalfA, HalfB);
        if (!(HalfA > 0.0)) HalfA = 1.0;
        if (!(HalfB > 0.0)) HalfB = 1.0;
    }
};

// One fit of the model to some of the grid touches, in millimetres.
class ModelFit {
  public:
    ModelFit(const JudgeInput& input) : input_(input) {
        // The count of terms; a harmonic basis gets its frame with the first fit.
        terms_ = input.Model == JudgeModel::Polynomial ? JudgedBasis({}).Terms() : kHarmonicTerms;
    }
    size_t Terms() const { return size_t(terms_); }

    bool Fit(const std::vector<size_t>& active) {
        active_ = active;
        std::vector<Vec2> in;
        for (size_t g : active) in.push_back(Input(input_.Grid[g]));
        norm_.Span(in, input_.Model == JudgeModel::Harmonic);
        if (input_.Model == JudgeModel::Polynomial) basis_ = JudgedBasis(BasisPoints(in));
        std::vector<double> rows(active.size() * Terms()), outputs(active.size() * 2);
        for (size_t i = 0; i < active.size(); ++i) {
            Row(in[i], &rows[i * Terms()]);
            const Vec2 out = Output(input_.Grid[active[i]]);
            outputs[i * 2] = out.X, outputs[i * 2 + 1] = out.Y;
        }
        return (input_.Model == JudgeModel::Polynomial || FitRawToGlass()) &&
               ls_.Fit(rows, Terms(), outputs);
    }
    // Fitted minus observed at active touch i, on the glass, and the touch's leverage.
    Vec2 Residual(size_t i) const {
        const Vec2 out = Output(input_.Grid[active_[i]]);
        return OnGlass(Vec2{ls_.Fitted(i, 0) - out.X, ls_.Fitted(i, 1) - out.Y});
    }
    double Leverage(size_t i) const { return ls_.Leverage(i); }
    // The model's error at a target it was not fitted to, on the glass, and its leverage there.
    Vec2 PredictionError(const JudgedTarget& t, double& leverage) const {
        std::vector<double> row(Terms());
        Row(Input(t), row.data());
        leverage = ls_.LeverageOf(row.data());
        const Vec2 out = Output(t);
        return OnGlass(
            Vec2{ls_.Predict(row.data(), 0) - out.X, ls_.Predict(row.data(), 1) - out.Y});
    }

  private:
    Vec2 TargetMm(const JudgedTarget& t) const {
        return Vec2{t.Target.X * input_.Scale.MmPerPixelX, t.Target.Y * input_.Scale.MmPerPixelY};
    }
    Vec2 Input(const JudgedTarget& t) const {
        return input_.Model == JudgeModel::Polynomial ? Vec2{t.Touch.V, t.Touch.W} : TargetMm(t);
    }
    Vec2 Output(const JudgedTarget& t) const {
        return input_.Model == JudgeModel::Polynomial ? TargetMm(t) : Vec2{t.Touch.V, t.Touch.W};
    }
    void Row(Vec2 p, double* row) const {
        const double a = (p.X - norm_.CentreA) / norm_.HalfA;
        const double b = (p.Y - norm_.CentreB) / norm_.HalfB;
        if (input_.Model == JudgeModel::Polynomial) {
            basis_.Row(a, b, row);
        } else {
            double all[kGeneralHarmonicTerms];
            GeneralHarmonicTerms(a, b, all);
            std::copy(all, all + kHarmonicTerms, row);
        }
    }
    // A raw step on the glass: the linear part of the affine raw -> glass map of the grid.
    Vec2 OnGlass(Vec2 d) const {
        if (input_.Model == JudgeModel::Polynomial) return d;
        return Vec2{jacobian_[0] * d.X + jacobian_[1] * d.Y,
                    jacobian_[2] * d.X + jacobian_[3] * d.Y};
    }
    // The terms of the fit; for chosen or weighed terms and for a sheet, the stiffest that follows
    // a bow (the harmonic polynomials of order 3): a bad touch bends it least, so it hides least.
    FitBasis JudgedBasis(const std::vector<BasisPoint>& points) const {
        const uint32_t order = uint32_t(std::max(1, input_.Order));
        if (input_.Terms == FitTerms::Polynomial) return FitBasis::Polynomial(order);
        const bool chosen = input_.Terms == FitTerms::Judged || input_.Terms == FitTerms::Sheet ||
                            input_.Terms == FitTerms::Predicted;
        return FitBasis::Harmonic(chosen ? std::min(order, 3u) : order, points);
    }
    std::vector<BasisPoint> BasisPoints(const std::vector<Vec2>& in) const {
        std::vector<BasisPoint> points;
        for (size_t i = 0; i < in.size(); ++i) {
            const Vec2 out = Output(input_.Grid[active_[i]]);
            points.push_back({(in[i].X - norm_.CentreA) / norm_.HalfA,
                              (in[i].Y - norm_.CentreB) / norm_.HalfB, out.X, out.Y});
        }
        return points;
    }
    bool FitRawToGlass() {
        double meanV = 0.0, meanW = 0.0;
        for (size_t g : active_) meanV += input_.Grid[g].Touch.V, meanW += input_.Grid[g].Touch.W;
        meanV /= double(active_.size()), meanW /= double(active_.size());
        std::vector<double> rows, outputs;
        for (size_t g : active_) {
            const JudgedTarget& t = input_.Grid[g];
            rows.insert(rows.end(), {1.0, t.Touch.V - meanV, t.Touch.W - meanW});
            const Vec2 mm = TargetMm(t);
            outputs.insert(outputs.end(), {mm.X, mm.Y});
        }
        LeastSquares affine;
        if (!affine.Fit(rows, 3, outputs)) return false;
        const double perV[3] = {0, 1, 0}, perW[3] = {0, 0, 1};  // the map's linear part
        for (int axis = 0; axis < 2; ++axis) {
            jacobian_[axis * 2] = affine.Predict(perV, axis);
            jacobian_[axis * 2 + 1] = affine.Predict(perW, axis);
        }
        return true;
    }

    const JudgeInput& input_;
    int32_t terms_ = 0;
    std::vector<size_t> active_;
    Normaliser norm_;
    FitBasis basis_;
    LeastSquares ls_;
    double jacobian_[4] = {};
};

double Length(Vec2 v) { return std::hypot(v.X, v.Y); }

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    const size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    double m = values[mid];
    if (values.size() % 2 == 0)
        m = (m + *std::max_element(values.begin(), values.begin() + mid)) / 2;
    return m;
}

// The figures of every active touch under one fit, and the scatter they give.
struct Round {
    std::vector<TouchFigures> Figures;  // per active touch
    double ScatterMm = 0.0;
};

Round Measure(const ModelFit& fit, const JudgeInput& input, const std::vector<size_t>& active) {
    Round round;
    std::vector<double> studentised;
    for (size_t i = 0; i < active.size(); ++i) {
        TouchFigures f;
        f.Index = input.Grid[active[i]].Index;
        const double room = 1.0 - fit.Leverage(i);
        const double e = Length(fit.Residual(i));
        f.Judged = room > 1e-9;
        f.Leverage = fit.Leverage(i);
        if (f.Judged) {
            f.DeletedMm = e / room;
            studentised.push_back(e / std::sqrt(room));
        }
        round.Figures.push_back(f);
    }
    round.ScatterMm = Median(studentised) / kRayleighMedian;
    const double scatter = std::max(round.ScatterMm, 1e-9);
    for (size_t i = 0; i < active.size(); ++i)
        if (round.Figures[i].Judged)
            round.Figures[i].Score =
                round.Figures[i].DeletedMm * std::sqrt(1.0 - fit.Leverage(i)) / scatter;
    return round;
}

double SuspectBar(size_t touches) {
    return std::sqrt(2.0 * std::log(std::max(double(touches), 2.0) / kHonestShare));
}

bool IsSuspect(const TouchFigures& f, double bar, double floorMm) {
    return f.Judged && f.Score > bar - kSuspectScorePerLeverage * f.Leverage &&
           f.DeletedMm > floorMm;
}

void ExpectedError(const Round& round, TouchJudgement& j) {
    double sum = 0.0;
    size_t count = 0;
    for (const TouchFigures& f : round.Figures) {
        if (!f.Judged) continue;
        sum += f.DeletedMm * f.DeletedMm;
        ++count;
        j.ExpectedWorstMm = std::max(j.ExpectedWorstMm, f.DeletedMm);
    }
    if (count != 0) j.ExpectedRmsMm = std::sqrt(sum / double(count));
}

// The minis against the final grid fit, with the allowance its extrapolation needs: the error the
// fit shares with the mini's neighbours (minis within kMiniNeighbourMm: the sensor's bend beyond
// the grid, not the person) is taken off; a mini without neighbours is weighed against the
// variance of the prediction there (its leverage h0).
void JudgeMinis(const ModelFit& fit, const JudgeInput& input, double scatterMm, TouchJudgement& j,
                std::vector<std::pair<double, int32_t>>& suspects) {
    std::vector<Vec2> errors;
    std::vector<double> leverages;
    for (const JudgedTarget& mini : input.Minis) {
        double leverage = 0.0;
        errors.push_back(fit.PredictionError(mini, leverage));
        leverages.push_back(leverage);
    }
    for (size_t k = 0; k < input.Minis.size(); ++k) {
        std::vector<double> xs, ys;
        for (size_t m = 0; m < input.Minis.size(); ++m) {
            const double dx = input.Minis[m].Target.X - input.Minis[k].Target.X;
            const double dy = input.Minis[m].Target.Y - input.Minis[k].Target.Y;
            if (m == k || input.Scale.Millimetres(dx, dy) > kMiniNeighbourMm) continue;
            xs.push_back(errors[m].X);
            ys.push_back(errors[m].Y);
        }
        const Vec2 shared{Median(xs), Median(ys)};
        TouchFigures f;
        f.Index = input.Minis[k].Index;
        f.Leverage = leverages[k];
        f.DeletedMm = Length(Vec2{errors[k].X - shared.X, errors[k].Y - shared.Y});
        f.Judged = std::isfinite(f.DeletedMm) && std::isfinite(leverages[k]);
        // Neighbours share the fit's error there: what is left is the two touches' scatter.
        const double spread = xs.empty() ? 1.0 + leverages[k] : 1.0 + 1.0 / double(xs.size());
        f.Score = f.DeletedMm / (std::max(scatterMm, 1e-9) * std::sqrt(spread));
        if (f.Judged && f.Score > SuspectBar(input.Grid.size()) && f.DeletedMm > input.FloorMm)
            suspects.emplace_back(f.Score, f.Index);
        j.Touches.push_back(f);
    }
}

// The scatter of the touches without one of them (the median is robust, but a bad touch of high
// leverage still bends its neighbours); negative when that fit fails.
double ScatterWithout(const JudgeInput& input, std::vector<size_t> active, size_t left) {
    active.erase(active.begin() + std::ptrdiff_t(left));
    ModelFit fit(input);
    if (!fit.Fit(active)) return -1.0;
    return Measure(fit, input, active).ScatterMm;
}

// Of the round's likeliest suspects, the one that disagrees most with the scatter of the others
// fitted without it (its score is rescaled to that scatter); active.size() when none is one.
size_t WorstSuspect(const JudgeInput& input, const std::vector<size_t>& active, Round& round,
                    double leastScatterMm) {
    std::vector<size_t> order(active.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    const size_t candidates = std::min(order.size(), kCandidates);
    std::partial_sort(
        order.begin(), order.begin() + std::ptrdiff_t(candidates), order.end(),
        [&](size_t a, size_t b) { return round.Figures[a].Score > round.Figures[b].Score; });
    size_t worst = active.size();
    for (size_t c = 0; c < candidates; ++c) {
        TouchFigures& f = round.Figures[order[c]];
        if (!f.Judged) continue;
        const double others = ScatterWithout(input, active, order[c]);
        if (others > 0.0) f.Score *= round.ScatterMm / std::max(others, leastScatterMm);
        if (IsSuspect(f, SuspectBar(input.Grid.size()), input.FloorMm) &&
            (worst == active.size() || f.Score > round.Figures[worst].Score))
            worst = order[c];
    }
    return worst;
}

// The pair of neighbours off the same way that the fit without them misses most.
struct SuspectPair {
    bool Found = false;
    bool Named = false;            // beyond the bar: both are suspects
    size_t First = 0, Second = 0;  // in active
    double Score = 0.0;            // the lesser of the two
};

// The active touches whose targets lie nearest to active touch i's, nearest first.
std::vector<size_t> Neighbours(const JudgeInput& input, const std::vector<size_t>& active, size_t i,
                               size_t wanted = kPairNeighbours) {
    std::vector<std::pair<double, size_t>> byDistance;
    const ScreenPoint at = input.Grid[active[i]].Target;
    for (size_t k = 0; k < active.size(); ++k) {
        const ScreenPoint other = input.Grid[active[k]].Target;
        if (k != i)
            byDistance.emplace_back(input.Scale.Millimetres(other.X - at.X, other.Y - at.Y), k);
    }
    const size_t count = std::min(byDistance.size(), wanted);
    std::partial_sort(byDistance.begin(), byDistance.begin() + std::ptrdiff_t(count),
                      byDistance.end());
    std::vector<size_t> nearest;
    for (size_t n = 0; n < count; ++n) nearest.push_back(byDistance[n].second);
    return nearest;
}

// How far the fit without active touches i and k misses both the same way, beyond the floor, in
// units of what the scatter explains there (the lesser of the two); 0 when it does not.
double PairScore(const JudgeInput& input, const std::vector<size_t>& active, size_t i, size_t k,
                 double scatterMm) {
    std::vector<size_t> others;
    for (size_t m = 0; m < active.size(); ++m)
        if (m != i && m != k) others.push_back(active[m]);
    ModelFit fit(input);
    if (others.size() < fit.Terms() + kMinimumRedundancy || !fit.Fit(others)) return 0.0;
    double hi = 0.0, hk = 0.0;
    const Vec2 ei = fit.PredictionError(input.Grid[active[i]], hi);
    const Vec2 ek = fit.PredictionError(input.Grid[active[k]], hk);
    const bool sameWay = ei.X * ek.X + ei.Y * ek.Y > kSameWay * Length(ei) * Length(ek);
    const bool beyondFloor = std::min(Length(ei), Length(ek)) > input.FloorMm;
    if (!sameWay || !beyondFloor) return 0.0;
    return std::min(Length(ei) / (scatterMm * std::sqrt(1.0 + hi)),
                    Length(ek) / (scatterMm * std::sqrt(1.0 + hk)));
}

// Two neighbouring touches off the same way (a slanted stylus, parallax) hide each other: each
// one's fit without it still leans on the other. Every touch is left out with each of its nearest
// neighbours, and both are suspects when the fit without them misses both, the same way, beyond
// what the scatter explains there; the pair that does so most is named, or else doubted.
SuspectPair WorstPair(const JudgeInput& input, const std::vector<size_t>& active,
                      double scatterMm) {
    SuspectPair best;
    const double bar = kPairBar * SuspectBar(input.Grid.size());
    for (size_t i = 0; i < active.size(); ++i) {
        for (size_t k : Neighbours(input, active, i)) {
            if (k < i) continue;  // each pair once
            const double score = PairScore(input, active, i, k, scatterMm);
            if (score <= best.Score) continue;
            best = SuspectPair{true, score > bar, i, k, score};
        }
    }
    return best;
}

// The midpoint of a pair's targets, where a check touch tells whether the mapping follows them.
ScreenPoint Between(const JudgeInput& input, const std::vector<size_t>& active,
                    const SuspectPair& pair) {
    const ScreenPoint a = input.Grid[active[pair.First]].Target;
    const ScreenPoint b = input.Grid[active[pair.Second]].Target;
    return ScreenPoint{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
}

ScreenPoint TargetOf(const JudgeInput& input, int32_t index) {
    for (const auto* targets : {&input.Grid, &input.Minis})
        for (const JudgedTarget& t : *targets)
            if (t.Index == index) return t.Target;
    return ScreenPoint{};
}

// Names the worst pair of neighbours off the same way as suspects, or marks the place between
// them as the judge's doubt when it falls short of naming.
void NamePairOrDoubt(const JudgeInput& input, const std::vector<size_t>& active, double scatterMm,
                     TouchJudgement& j, std::vector<std::pair<double, int32_t>>& suspects) {
    const SuspectPair pair = WorstPair(input, active, scatterMm);
    if (pair.Found && !pair.Named && pair.Score > kDoubtBar * SuspectBar(input.Grid.size())) {
        j.Doubted = true;
        j.Doubt = Between(input, active, pair);
    }
    if (!pair.Named) return;
    suspects.emplace_back(pair.Score, input.Grid[active[pair.First]].Index);
    suspects.emplace_back(pair.Score, input.Grid[active[pair.Second]].Index);
}

}  // namespace

TouchJudgement JudgeTouches(const JudgeInput& input) {
    TouchJudgement j;
    if (!input.Scale.Usable()) return j;
    ModelFit fit(input), lastGood(input);
    std::vector<size_t> active(input.Grid.size());
    for (size_t g = 0; g < active.size(); ++g) active[g] = g;
    std::vector<std::pair<double, int32_t>> suspects;  // score, index
    std::vector<size_t> lastActive;
    std::vector<double> leverage(input.Grid.size(), 0.0);  // in the fit of every touch
    double leastScatter = 0.0;                             // the scatter without the first suspect
    for (;;) {
        if (active.size() < fit.Terms() + kMinimumRedundancy || !fit.Fit(active)) break;
        Round round = Measure(fit, input, active);
        // Once the worst is out, the scatter may not shrink further: leaving out the largest
        // residuals of honest touches would make the rest look worse and worse.
        if (!suspects.empty() && leastScatter == 0.0) leastScatter = round.ScatterMm;
        if (round.ScatterMm < leastScatter) {
            for (TouchFigures& f : round.Figures) f.Score *= round.ScatterMm / leastScatter;
            round.ScatterMm = leastScatter;
        }
        // A touch's own place sets its bar, not the holes left by suspects before it.
        for (size_t i = 0; i < active.size(); ++i) {
            if (!j.Judged) leverage[active[i]] = round.Figures[i].Leverage;
            round.Figures[i].Leverage = leverage[active[i]];
        }
        j.ScatterMm = round.ScatterMm;
        lastActive = active;
        const size_t worst = WorstSuspect(input, active, round, leastScatter);
        if (!j.Judged) {
            j.Judged = true;
            j.Touches = round.Figures;
            ExpectedError(round, j);
        }
        if (suspects.size() >= kMostSuspectsNamed) break;
        if (worst == active.size()) {
            // A pair is named only as the pass's first suspects: touches that disagree one by one
            // are no slanted stylus. Once it is named, the rest are judged when it is touched
            // again.
            if (suspects.empty())
                NamePairOrDoubt(input, active, std::max(round.ScatterMm, leastScatter), j,
                                suspects);
            break;
        }
        suspects.emplace_back(round.Figures[worst].Score, round.Figures[worst].Index);
        active.erase(active.begin() + std::ptrdiff_t(worst));
    }
    if (!j.Judged) return j;
    if (lastGood.Fit(lastActive)) JudgeMinis(lastGood, input, j.ScatterMm, j, suspects);
    std::stable_sort(suspects.begin(), suspects.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& s : suspects) j.Suspects.push_back(s.second);
    if (!j.Suspects.empty()) {
        j.Doubted = true;
        j.Doubt = TargetOf(input, j.Suspects.front());
    }
    return j;
}

std::vector<int32_t> PartnersOfMiss(const JudgeInput& input, int32_t index, double scatterMm) {
    std::vector<size_t> all(input.Grid.size());
    for (size_t g = 0; g < all.size(); ++g) all[g] = g;
    const auto missed = std::find_if(input.Grid.begin(), input.Grid.end(),
                                     [&](const JudgedTarget& t) { return t.Index == index; });
    std::vector<int32_t> partners;
    if (missed == input.Grid.end() || !input.Scale.Usable() || !(scatterMm > 0.0)) return partners;
    const size_t i = size_t(missed - input.Grid.begin());
    const double bar = kDoubtBar * SuspectBar(input.Grid.size());
    for (size_t k : Neighbours(input, all, i, kPartnerNeighbours))
        if (PairScore(input, all, i, k, scatterMm) > bar) partners.push_back(input.Grid[k].Index);
    return partners;
}

JudgeInput JudgeInputFor(const CalibrationConfig& c, const ControllerParameters& parameters,
                         int32_t width, int32_t height) {
    return JudgeInputFor(
        c, GlassScaleFor(parameters.ScreenWidth, parameters.ScreenHeight, width, height), width,
        height);
}

JudgeInput JudgeInputFor(const CalibrationConfig& c, GlassScale scale, int32_t width,
                         int32_t height) {
    JudgeInput input;
    input.Model = IsLaplaceModel(c.ModelKind) ? JudgeModel::Harmonic : JudgeModel::Polynomial;
    input.Order = int32_t(c.PolynomialOrder);
    input.Terms = FitTerms(c.FitTerms);
    input.Scale = scale;
    input.FloorMm = c.SuspectFloor;
    const size_t count = std::min(c.Touches.size(), c.Targets.size());
    for (size_t i = 0; i < count && i < c.NumGridPoints + kMiniTargetSlots; ++i) {
        const bool grid = i < c.NumGridPoints;
        if (!grid && !c.MiniTargetEnabled[i - c.NumGridPoints]) continue;
        JudgedTarget t{int32_t(i), RawPoint{c.Touches[i].V, c.Touches[i].W},
                       ScreenPoint{c.Targets[i].X * width, c.Targets[i].Y * height}};
        (grid ? input.Grid : input.Minis).push_back(t);
    }
    return input;
}
