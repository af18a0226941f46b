// One pass of the family bench: a person touches the layout's targets through a drawn sensor
// (some touches bad), the pass is fitted and judged as the program does, and its mapping and each
// hindsight candidate's are measured against the sensor's truth.
#pragma once

#include <limits>
#include <vector>

#include "bench/accuracy/fit_candidates.h"
#include "bench/accuracy/pass_layout.h"
#include "bench/accuracy/pass_touches.h"

struct FamilyPassInput {
    const PassLayout* Layout = nullptr;
    PassTouching Touching;
    const std::vector<FitCandidate>* Candidates = nullptr;  // none: no hindsight
};

struct CandidateOutcome {
    bool Fitted = false;
    double WholeRmsMm = 0.0;
    double WholeWorstMm = 0.0;
};

struct FamilyPassOutcome {
    // The gate's verdict is not Sound, or the judge names more suspects than the window asks
    // again.
    bool Refused = false;
    bool BadNamed = false;      // the window asks every bad touch again
    bool SomeBadNamed = false;  // at least one is
    bool AnyNamed = false;      // the window asks a target again
    AccuracyZones Zones;        // the pass's mapping against the truth, when not refused
    double ExpectedRmsMm = 0.0;
    // The larger of the pass's expected worst errors inside and at the edges (NaN: none known).
    double ShownWorstMm = std::numeric_limits<double>::quiet_NaN();
    std::vector<CandidateOutcome> Candidates;
};

FamilyPassOutcome RunFamilyPass(const FamilyPassInput& input);
