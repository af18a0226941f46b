// The family bench's tables: per family and scatter, the passes refused, the true error of the
// committed ones by zone, the error they showed of themselves against it, and the best single
// candidate in hindsight.
#include "bench/accuracy/family_table.h"

#include <cmath>
#include <cstdio>

#include "bench/accuracy/percentile.h"

namespace {

double Median(const std::vector<double>& values) { return Percentile(values, 0.5); }

std::string Figures(const std::vector<double>& values) {
    if (values.empty()) return "-";
    char text[48];
    std::snprintf(text, sizeof text, "%.2f / %.2f", Median(values), Percentile(values, 0.9));
    return text;
}

std::string Share(int part, int whole) {
    if (whole == 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d", part, whole);
    return text;
}

std::string Ratio(const std::vector<double>& values) {
    if (values.empty()) return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", Median(values));
    return text;
}

// Passes caught, and those where only some of the bad touches were named.
std::string Caught(const FamilyRow& r) {
    std::string text = Share(r.Caught, r.Passes);
    if (r.PartlyCaught > 0) text += " (" + std::to_string(r.PartlyCaught) + " partly)";
    return text;
}

// The candidate with the least median whole RMS over the row's passes, as "name: rms / worst".
std::string HindsightBest(const FamilyRow& row, const std::vector<FitCandidate>& candidates) {
    int best = -1;
    for (size_t i = 0; i < row.CandidateRms.size(); ++i)
        if (!row.CandidateRms[i].empty() &&
            (best < 0 || Median(row.CandidateRms[i]) < Median(row.CandidateRms[size_t(best)])))
            best = int(i);
    if (best < 0) return "-";
    char text[96];
    std::snprintf(text, sizeof text, "%s: %.2f / %.2f", candidates[size_t(best)].Name.c_str(),
                  Median(row.CandidateRms[size_t(best)]), Median(row.CandidateWorst[size_t(best)]));
    return text;
}

}  // namespace

void FamilyRow::Add(const FamilyPassOutcome& pass) {
    Passes += 1;
    Refused += pass.Refused ? 1 : 0;
    const bool caught = pass.Refused || pass.BadNamed;
    Caught += caught ? 1 : 0;
    PartlyCaught += !caught && pass.SomeBadNamed ? 1 : 0;
    AskedAgain += pass.AnyNamed ? 1 : 0;
    CandidateRms.resize(pass.Candidates.size());
    CandidateWorst.resize(pass.Candidates.size());
    for (size_t i = 0; i < pass.Candidates.size(); ++i) {
        if (!pass.Candidates[i].Fitted) continue;
        CandidateRms[i].push_back(pass.Candidates[i].WholeRmsMm);
        CandidateWorst[i].push_back(pass.Candidates[i].WholeWorstMm);
    }
    if (pass.Refused || (BadRun && pass.BadNamed)) return;
    const AccuracyZones& z = pass.Zones;
    WholeRms.push_back(z.whole.millimetres.rms);
    WholeWorst.push_back(z.whole.millimetres.maximum);
    InnerRms.push_back(z.inner.millimetres.rms);
    InnerWorst.push_back(z.inner.millimetres.maximum);
    EdgeRms.push_back(z.edge.millimetres.rms);
    EdgeWorst.push_back(z.edge.millimetres.maximum);
    WorstAboveFelt += z.whole.millimetres.maximum > kFeltWorstMm ? 1 : 0;
    if (z.whole.millimetres.rms > 0.0)
        RmsShownOverTrue.push_back(pass.ExpectedRmsMm / z.whole.millimetres.rms);
    if (!std::isnan(pass.ShownWorstMm) && z.whole.millimetres.maximum > 0.0) {
        WorstShownOverTrue.push_back(pass.ShownWorstMm / z.whole.millimetres.maximum);
        ShownWorstCovers += pass.ShownWorstMm >= z.whole.millimetres.maximum ? 1 : 0;
    }
}

void PrintFamilyTable(const std::vector<FamilyRow>& rows,
                      const std::vector<FitCandidate>& candidates) {
    std::printf(
        "| Family | Scatter mm | Passes | Refused | **Committed, worst > %.0f mm** | Whole RMS "
        "med / p90 | Whole worst med / p90 | Inner RMS med / p90 | Inner worst med / p90 | Edge "
        "RMS med / p90 | Edge worst med / p90 | Expected / true RMS med | Shown worst >= true | "
        "Shown / true worst med | Hindsight best: RMS / worst med | Caught |\n",
        kFeltWorstMm);
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const FamilyRow& r : rows) {
        const int committed = int(r.WholeRms.size());
        std::printf(
            "| %s | %.1f | %d | %d | **%s** | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | "
            "%s |\n",
            r.Family.c_str(), r.ScatterMm, r.Passes, r.Refused,
            Share(r.WorstAboveFelt, committed).c_str(), Figures(r.WholeRms).c_str(),
            Figures(r.WholeWorst).c_str(), Figures(r.InnerRms).c_str(),
            Figures(r.InnerWorst).c_str(), Figures(r.EdgeRms).c_str(), Figures(r.EdgeWorst).c_str(),
            Ratio(r.RmsShownOverTrue).c_str(),
            Share(r.ShownWorstCovers, int(r.WorstShownOverTrue.size())).c_str(),
            Ratio(r.WorstShownOverTrue).c_str(), HindsightBest(r, candidates).c_str(),
            r.BadRun ? Caught(r).c_str()
                     : ("asked again " + Share(r.AskedAgain, r.Passes)).c_str());
    }
}

void PrintHindsightTable(const std::vector<FamilyRow>& rows,
                         const std::vector<FitCandidate>& candidates) {
    std::printf("| Family | Scatter mm |");
    for (const FitCandidate& f : candidates) std::printf(" %s |", f.Name.c_str());
    std::printf("\n|---|---|");
    for (size_t i = 0; i < candidates.size(); ++i) std::printf("---|");
    std::printf("\n");
    for (const FamilyRow& r : rows) {
        std::printf("| %s | %.1f |", r.Family.c_str(), r.ScatterMm);
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (i >= r.CandidateRms.size() || r.CandidateRms[i].empty()) {
                std::printf(" - |");
                continue;
            }
            std::printf(" %.2f / %.2f |", Median(r.CandidateRms[i]), Median(r.CandidateWorst[i]));
        }
        std::printf("\n");
    }
}

void PrintFeltFailures(const std::vector<FamilyRow>& rows) {
    int failures = 0, committed = 0;
    for (const FamilyRow& r : rows) {
        failures += r.WorstAboveFelt;
        committed += int(r.WholeRms.size());
    }
    std::printf("**Committed passes whose true worst error is above %.0f mm: %d of %d.**\n",
                kFeltWorstMm, failures, committed);
    for (const FamilyRow& r : rows)
        if (r.WorstAboveFelt > 0)
            std::printf("- %s at %.1f mm: %d of %zu (worst %.2f mm)\n", r.Family.c_str(),
                        r.ScatterMm, r.WorstAboveFelt, r.WholeRms.size(),
                        Percentile(r.WholeWorst, 1.0));
}
