// The fleet report's content: kiosks compared with their siblings and put in order.
#include "tools/tarnix_fleet/fleet_report.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "tools/tarnix_fleet/sibling_compare.h"

namespace {

bool ComesFirst(const FleetKiosk& a, const FleetKiosk& b) {
    if (a.DiffersFromSiblings != b.DiffersFromSiblings) return a.DiffersFromSiblings;
    if (a.DiffersFromSiblings && *a.SiblingDeviationMm != *b.SiblingDeviationMm)
        return *a.SiblingDeviationMm > *b.SiblingDeviationMm;
    return std::tie(a.Machine, a.Screen, a.Source) < std::tie(b.Machine, b.Screen, b.Source);
}

std::vector<FleetModel> Models(const std::vector<FleetKiosk>& kiosks) {
    std::map<std::string, FleetModel> models;
    for (const FleetKiosk& kiosk : kiosks) {
        const std::optional<std::string> key = ModelKey(kiosk);
        if (!key) continue;
        FleetModel& model = models[*key];
        model.Name = *key;
        ++model.Kiosks;
        model.Compared += kiosk.SiblingDeviationMm ? 1 : 0;
        model.Differing += kiosk.DiffersFromSiblings ? 1 : 0;
    }
    std::vector<FleetModel> out;
    for (auto& [name, model] : models) out.push_back(model);
    return out;
}

}  // namespace

FleetReport BuildFleetReport(std::vector<FleetKiosk> kiosks, std::vector<std::string> problems,
                             double boundMm) {
    CompareWithSiblings(kiosks, boundMm);
    std::sort(kiosks.begin(), kiosks.end(), ComesFirst);
    FleetReport report;
    report.Models = Models(kiosks);
    report.Kiosks = std::move(kiosks);
    report.Problems = std::move(problems);
    report.BoundMm = boundMm;
    return report;
}
