// The verification run: each screen's plan from the history, its window, its trace and its
// history entry, and the exit status over every screen.
#include <string>

#include "app/instance_mutex.h"
#include "app/verify_plan.h"
#include "app/verify_run.h"
#include "app/verify_window.h"
#include "driver/quva_driver.h"
#include "history/history_folder.h"
#include "history/verification_entry.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "tarnix_version.h"

namespace {

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

HistoryTime LocalTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return HistoryTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

UINT RefusalTextId(VerifyRefusal refusal) {
    switch (refusal) {
        case VerifyRefusal::NoGlassSize:
            return IDS_VERIFY_NO_GLASS_SIZE;
        case VerifyRefusal::NoPlaces:
            return IDS_VERIFY_NO_ROOM;
        case VerifyRefusal::NoCalibration:
            break;
    }
    return IDS_VERIFY_NO_CALIBRATION;
}

// The refusal in English, as traced; the window shows it in the user's language.
std::wstring RefusalLine(VerifyRefusal refusal, int32_t screen) {
    const std::wstring which = L"touch screen " + std::to_wstring(screen);
    switch (refusal) {
        case VerifyRefusal::NoGlassSize:
            return L"The size in millimetres of " + which + L" is not known: nothing to verify";
        case VerifyRefusal::NoPlaces:
            return L"The area of " + which + L" leaves no room for verification targets";
        case VerifyRefusal::NoCalibration:
            break;
    }
    return L"No calibration of " + which + L" is known: nothing to verify; calibrate it first";
}

// Traces the verdict and keeps it in the history; the line the window shows.
std::wstring Measured(const VerifyPlan& plan, const VerificationResult& result) {
    const std::wstring sentence = Wide(VerificationSentence(result, plan.Places.size()));
    DebugPrint(L"Tarnix.exe: screen %d: %s (bound %.2f mm)", int(plan.Screen), sentence.c_str(),
               result.BoundMm);
    PlatformCreateFolders(PlatformReportFolder());
    const VerificationFacts facts{LocalTimeNow(), TARNIX_VERSION_TEXT, plan.Entry, plan.Places,
                                  result};
    const std::optional<std::string> kept = KeepVerification(HistoryFolder(), plan.Record, facts);
    if (kept)
        DebugPrint(L"Tarnix.exe: history: kept the verification as %s", Wide(*kept).c_str());
    else
        DebugPrint(L"Tarnix.exe: %s", L"history: the verification could not be kept");
    return sentence;
}

int VerifyScreen(HINSTANCE instance, int32_t screen, bool& calibrate) {
    const VerifyPlanning planning = PlanVerification(HistoryFolder(), screen);
    if (!planning.Plan) {
        const std::wstring line = RefusalLine(planning.Refusal, screen);
        DebugPrint(L"Tarnix.exe: verification: %s", line.c_str());
        ShowVerifyLine(instance, RefusalTextId(planning.Refusal), screen, line);
        return kVerifyNothing;
    }
    const VerifyPlan& plan = *planning.Plan;
    DebugPrint(L"Tarnix.exe: verifying screen %d, history entry %s, at %d places", int(screen),
               Wide(plan.Entry).c_str(), int(plan.Places.size()));
    const VerifyWindowResult result = RunVerifyWindow(
        instance, plan, [&plan](const VerificationResult& r) { return Measured(plan, r); });
    if (!result.Measured) {
        DebugPrint(L"Tarnix.exe: verification of screen %d left before its last touch",
                   int(screen));
        return kVerifyNothing;
    }
    calibrate = result.Calibrate;
    return result.Result.Within(plan.Places.size()) ? kVerifyWithin : kVerifyNotWithin;
}

// A screen not within the requirement outweighs one with nothing verified.
int Worse(int a, int b) {
    if (a == kVerifyNotWithin || b == kVerifyNotWithin) return kVerifyNotWithin;
    return a == kVerifyNothing || b == kVerifyNothing ? kVerifyNothing : kVerifyWithin;
}

}  // namespace

VerifyRunOutcome RunVerification(HINSTANCE instance, const CommandLineOptions& options,
                                 int32_t screens) {
    VerifyRunOutcome outcome;
    SetLastError(0);
    HANDLE claim = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    if (claim == nullptr || GetLastError() != 0) {
        DebugPrint(L"Tarnix.exe: %s", L"verification: another copy is running: nothing verified");
        if (claim != nullptr) CloseHandle(claim);
        outcome.Status = kVerifyNothing;
        return outcome;
    }
    const int32_t first = options.HasScreen ? options.ScreenIndex : 0;
    const int32_t last = options.HasScreen ? options.ScreenIndex : screens - 1;
    for (int32_t screen = first; screen <= last && !outcome.Calibrate; ++screen)
        outcome.Status = Worse(outcome.Status, VerifyScreen(instance, screen, outcome.Calibrate));
    QuvaIF_DisableTouch(0, -1);
    ReleaseMutex(claim);
    CloseHandle(claim);
    DebugPrint(L"Tarnix.exe: verification ends with status %d%s", outcome.Status,
               outcome.Calibrate ? L": a calibration follows" : L"");
    return outcome;
}
