// Kiosks of one monitor model compared with the model's typical mapping.
#include "tools/tarnix_fleet/sibling_compare.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "driver/record_mapping.h"
#include "history/record_drift.h"

namespace {

constexpr size_t kGridPoints = size_t(kSiblingGridSteps) * kSiblingGridSteps;

double GridCoordinate(int32_t step) { return double(step) / (kSiblingGridSteps - 1) - 0.5; }

// The sensor counts the record maps to each grid point, row by row; nothing when it cannot be
// inverted somewhere.
std::optional<std::vector<std::pair<double, double>>> CountsOverGrid(
    const CalibrationDataRecord& record) {
    std::vector<std::pair<double, double>> counts;
    counts.reserve(kGridPoints);
    for (int32_t row = 0; row < kSiblingGridSteps; ++row) {
        for (int32_t column = 0; column < kSiblingGridSteps; ++column) {
            const auto point =
                InvertRecordMapping(record, GridCoordinate(column), GridCoordinate(row));
            if (!point) return std::nullopt;
            counts.push_back(*point);
        }
    }
    return counts;
}

double Median(std::vector<double>& values) {
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    const double upper = values[middle];
    if (values.size() % 2) return upper;
    return (upper + *std::max_element(values.begin(), values.begin() + middle)) / 2;
}

struct Sibling {
    FleetKiosk* Kiosk;
    std::vector<std::pair<double, double>> Counts;
};

// The typical counts of each grid point: the median over the siblings, per axis.
std::vector<std::pair<double, double>> TypicalCounts(const std::vector<Sibling>& siblings) {
    std::vector<std::pair<double, double>> typical(kGridPoints);
    std::vector<double> v(siblings.size()), w(siblings.size());
    for (size_t g = 0; g < kGridPoints; ++g) {
        for (size_t k = 0; k < siblings.size(); ++k) {
            v[k] = siblings[k].Counts[g].first;
            w[k] = siblings[k].Counts[g].second;
        }
        typical[g] = {Median(v), Median(w)};
    }
    return typical;
}

// The largest distance on the kiosk's glass between a grid point and where its record puts the
// typical counts of that point.
double Deviation(const FleetKiosk& kiosk, const std::vector<std::pair<double, double>>& typical) {
    double most = 0.0;
    for (size_t g = 0; g < kGridPoints; ++g) {
        double x = 0.0, y = 0.0;
        MapRecordCounts(*kiosk.Record, typical[g].first, typical[g].second, x, y);
        const double dx = (x - GridCoordinate(int32_t(g % kSiblingGridSteps))) * kiosk.GlassWidthMm;
        const double dy =
            (y - GridCoordinate(int32_t(g / kSiblingGridSteps))) * kiosk.GlassHeightMm;
        const double mm = std::hypot(dx, dy);
        if (!std::isfinite(mm)) return HUGE_VAL;
        most = std::max(most, mm);
    }
    return most;
}

void CompareModel(std::vector<Sibling>& siblings, double boundMm) {
    if (siblings.size() < kFewestSiblings) return;
    const std::vector<std::pair<double, double>> typical = TypicalCounts(siblings);
    for (Sibling& sibling : siblings) {
        FleetKiosk& kiosk = *sibling.Kiosk;
        kiosk.SiblingDeviationMm = Deviation(kiosk, typical);
        kiosk.Siblings = int32_t(siblings.size());
        kiosk.DiffersFromSiblings = *kiosk.SiblingDeviationMm > boundMm;
    }
}

}  // namespace

void CompareWithSiblings(std::vector<FleetKiosk>& kiosks, double boundMm) {
    std::map<std::string, std::vector<Sibling>> models;
    for (FleetKiosk& kiosk : kiosks) {
        const std::optional<std::string> model = ModelKey(kiosk);
        if (!model || !kiosk.Record || kiosk.GlassWidthMm <= 0.0 || kiosk.GlassHeightMm <= 0.0)
            continue;
        auto counts = CountsOverGrid(*kiosk.Record);
        if (counts) models[*model].push_back({&kiosk, std::move(*counts)});
    }
    for (auto& [model, siblings] : models) CompareModel(siblings, boundMm);
}
