// The human summary and the JSON object that tarnix-fit prints for a fitted pass.
#pragma once

#include <cstdio>

#include "tools/tarnix_fit/fit_session.h"

void PrintFitSummary(std::FILE* out, const FitSession& session, const SessionJudgement& judgement,
                     const std::wstring& reportFolder);

// One JSON object keyed by the fit record's member names, then the judge's figures; numbers with
// 17 significant digits, null for a value that is not finite and for every result of a fit that
// was refused; "Verdict" holds the gate's name of the judgement.
void PrintFitJson(std::FILE* out, const FitSession& session, const SessionJudgement& judgement,
                  bool laplaceMembers);
