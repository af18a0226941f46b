// The text and the keeping of a verification's history entry.
#include "history/verification_entry.h"

#include <cstdio>
#include <exception>

#include "history/history_folder.h"

namespace {

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void Line(std::string& text, const std::string& line) { text += line + "\r\n"; }

}  // namespace

std::string ComposeVerificationConfig(const CalibrationDataRecord& r,
                                      const VerificationFacts& facts) {
    std::string text;
    Line(text, "; Tarnix verification history entry: the calibration the driver held, touched");
    Line(text, "; Kind: verification");
    Line(text, "; Date: " + FormatHistoryTime(facts.Time));
    if (facts.Sequence > 0) Line(text, "; Sequence: " + std::to_string(facts.Sequence));
    Line(text, "; Monitor: " + std::to_string(r.MonitorNumber));
    Line(text, "; Screen: " + std::to_string(r.ScreenIndex));
    Line(text, "; Area: " + std::to_string(r.AreaWidth) + "x" + std::to_string(r.AreaHeight) +
                   " at (" + std::to_string(r.AreaLeft) + "," + std::to_string(r.AreaTop) + ")");
    Line(text, "; Version: " + facts.Version);
    Line(text, "; Verified entry: " + facts.VerifiedEntry);
    const std::vector<double>& misses = facts.Result.MissesMm;
    for (size_t k = 0; k < misses.size(); ++k)
        Line(text, "; Verify miss " + std::to_string(k + 1) + " (mm): " + Fixed(misses[k], 2));
    Line(text, "; Verify bound (mm): " + Fixed(facts.Result.BoundMm, 2));
    Line(text, std::string("; Within the requirement: ") +
                   (facts.Result.Within(facts.Places.size()) ? "yes" : "no"));
    Line(text, "");
    Line(text, "[Verification]");
    Line(text, "Places=" + std::to_string(facts.Places.size()));
    for (size_t k = 0; k < facts.Places.size(); ++k)
        Line(text, "Place" + std::to_string(k + 1) + "=" + Fixed(facts.Places[k].Fx, 4) + "," +
                       Fixed(facts.Places[k].Fy, 4));
    return text;
}

std::optional<std::string> KeepVerification(const std::wstring& folder,
                                            const CalibrationDataRecord& record,
                                            const VerificationFacts& facts) {
    try {
        VerificationFacts numbered = facts;
        numbered.Sequence = NextHistorySequence(folder);
        const std::optional<std::string> name = WriteHistoryEntry(
            folder, facts.Time, record, ComposeVerificationConfig(record, numbered));
        PruneHistory(folder);
        return name;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
