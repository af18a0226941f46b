// A verification's places, bound and sentence.
#include "fit/verification.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "fit/expected_error.h"

namespace {

constexpr int32_t kPlaceSamples = 49;  // per side of the lattice the places are chosen from

bool NearEdge(double fraction, int32_t side, double edgePx) {
    return std::min(fraction, 1 - fraction) * side < edgePx;
}

// A map whose largest value is the sample nearest (fx, fy): ChooseCheckPlaces then picks the clear
// place nearest it. Samples nearer an edge than edgePx are no candidates (not finite).
ExpectedErrorMap NearnessTo(double fx, double fy, int32_t width, int32_t height, double edgePx) {
    ExpectedErrorMap map;
    map.Columns = map.Rows = kPlaceSamples;
    for (int32_t j = 0; j < kPlaceSamples; ++j)
        for (int32_t i = 0; i < kPlaceSamples; ++i) {
            const double sx = double(i) / (kPlaceSamples - 1), sy = double(j) / (kPlaceSamples - 1);
            const bool edge = NearEdge(sx, width, edgePx) || NearEdge(sy, height, edgePx);
            map.Mm.push_back(edge ? std::numeric_limits<double>::quiet_NaN()
                                  : -std::hypot((sx - fx) * width, (sy - fy) * height));
        }
    return map;
}

std::string OneDecimal(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", mm);
    return text;
}

}  // namespace

std::vector<CheckPlace> VerificationPlaces(const std::vector<TargetPoint>& grid, int32_t areaWidth,
                                           int32_t areaHeight, double edgePx) {
    const double anchors[][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5, 0.5}};
    CheckPlanInput input;
    input.Grid = grid;
    input.AreaWidth = areaWidth;
    input.AreaHeight = areaHeight;
    for (const auto& anchor : anchors) {
        const ExpectedErrorMap map =
            NearnessTo(anchor[0], anchor[1], areaWidth, areaHeight, edgePx);
        input.Map = &map;
        for (CheckPlace place : ChooseCheckPlaces(input, 1)) {
            place.ExpectedMm = 0.0;
            input.Used.push_back(place);
        }
    }
    return input.Used;
}

double VerificationBoundMm(double pixelMm) { return CheckBoundMm(kVerifyScatterMm, pixelMm); }

bool VerificationResult::Within(size_t places) const {
    return places > 0 && MissesMm.size() == places &&
           std::all_of(MissesMm.begin(), MissesMm.end(),
                       [this](double mm) { return std::isfinite(mm) && mm <= BoundMm; });
}

std::string VerificationSentence(const VerificationResult& result, size_t places) {
    std::string text = "Verified at " + std::to_string(result.MissesMm.size()) + " places: ";
    for (size_t k = 0; k < result.MissesMm.size(); ++k) {
        if (k > 0) text += k + 1 == result.MissesMm.size() ? " and " : ", ";
        text += OneDecimal(result.MissesMm[k]);
    }
    return text + " mm: " + (result.Within(places) ? "within" : "not within") + " the requirement";
}
