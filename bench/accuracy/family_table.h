// The family bench's tables: per family and scatter, the passes refused, the true error of the
// committed ones by zone, the error they showed of themselves against it, and the best single
// candidate in hindsight.
#pragma once

#include <string>
#include <vector>

#include "bench/accuracy/family_pass.h"

// A committed pass whose true worst error is above this is a failure a user feels.
inline constexpr double kFeltWorstMm = 5.0;

struct FamilyRow {
    std::string Family;
    double ScatterMm = 0.0;
    bool BadRun = false;  // the passes have bad touches
    int Passes = 0, Refused = 0, Caught = 0, PartlyCaught = 0, AskedAgain = 0, WorstAboveFelt = 0;
    std::vector<double> WholeRms, WholeWorst, InnerRms, InnerWorst, EdgeRms, EdgeWorst;
    std::vector<double> RmsShownOverTrue, WorstShownOverTrue;
    int ShownWorstCovers = 0;
    std::vector<std::vector<double>> CandidateRms, CandidateWorst;  // per candidate, fitted passes

    // Counts a pass in. Committed: not refused and, with bad touches, none of them named (a named
    // touch is asked again, so the pass is not committed as it was touched).
    void Add(const FamilyPassOutcome& pass);
};

void PrintFamilyTable(const std::vector<FamilyRow>& rows,
                      const std::vector<FitCandidate>& candidates);

// Each candidate alone, per family and scatter: median whole RMS / worst over the passes.
void PrintHindsightTable(const std::vector<FamilyRow>& rows,
                         const std::vector<FitCandidate>& candidates);

// The committed passes whose true worst error is above kFeltWorstMm, in one line per family.
void PrintFeltFailures(const std::vector<FamilyRow>& rows);
