// A verification kept in the history: an entry of its own kind beside the calibrations.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/quva_records.h"
#include "fit/verification.h"
#include "history/history_entry.h"

// What a verification of one screen found: the calibration entry it verified (the live one), the
// places touched, their misses and the bound.
struct VerificationFacts {
    HistoryTime Time;
    std::string Version;
    std::string VerifiedEntry;
    std::vector<CheckPlace> Places;
    VerificationResult Result;
    uint64_t Sequence = 0;
};

// The entry's configuration text, ASCII with CR LF line ends: a header with "; Kind:
// verification", the entry verified, each miss as a figure ("; Verify miss 1 (mm): 0.41"), the
// bound and the verdict, then the places as a section. record is the one verified.
std::string ComposeVerificationConfig(const CalibrationDataRecord& record,
                                      const VerificationFacts& facts);

// Writes the entry (the record verified beside its text), numbered next in the folder's sequence,
// then keeps the newest entries of each screen and kind. Its name, or nothing when it could not be
// written. Never throws.
std::optional<std::string> KeepVerification(const std::wstring& folder,
                                            const CalibrationDataRecord& record,
                                            const VerificationFacts& facts);
