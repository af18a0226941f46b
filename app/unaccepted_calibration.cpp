// The plan for a calibration nobody accepted yet, and the line that tells what became of it.
#include "app/unaccepted_calibration.h"

#include "config/profile_values.h"
#include "history/history_live.h"

namespace {

size_t PositionOf(const std::vector<HistoryEntry>& entries,
                  const std::optional<std::string>& name) {
    for (size_t i = 0; name && i < entries.size(); ++i)
        if (entries[i].Name == *name) return i;
    return entries.size();
}

}  // namespace

bool ReadRevertUnaccepted(const wchar_t* cfgPath) {
    return ReadCfgFlag(cfgPath, L"RevertUnaccepted", false);
}

UnacceptedPlan PlanUnaccepted(bool revert, const std::vector<HistoryEntry>& entries,
                              const CalibrationDataRecord& record,
                              const std::optional<std::string>& newEntry) {
    UnacceptedPlan plan;
    plan.NewEntry = newEntry;
    if (!revert) return plan;
    const std::optional<size_t> previous =
        AcceptedEntryOfArea(entries, record, PositionOf(entries, newEntry));
    if (previous) plan.PutBack = entries[*previous];
    plan.Notice = previous ? FinishedNotice::InUseUntilLeft : FinishedNotice::InUseNoPrevious;
    return plan;
}

std::string LeftUnacceptedLine(const UnacceptedPlan& plan) {
    const std::string left =
        "the calibration " + plan.NewEntry.value_or("that could not be kept") + " was not accepted";
    if (plan.PutBack)
        return left + "; the previous accepted calibration " + plan.PutBack->Name + " (" +
               plan.PutBack->Header.Value("Date").value_or("no date") + ") was put back";
    if (plan.Notice == FinishedNotice::InUseNoPrevious)
        return left + "; it stays in use: no earlier accepted calibration of its area is known";
    return left + "; it stays in use (RevertUnaccepted=0)";
}
