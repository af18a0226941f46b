// Drawing of the calibration window: its place on the current area, buttons around the centre,
// the instruction and result texts (placed above the buttons once they show, and clear of the
// targets' places, the buttons and the countdown), the countdown, the current target with its
// 250 ms dwell (a one-shot timer, so the window stays responsive), the button pictures.
#include <windows.h>

#include <cmath>

#include "app/calibration_dialog.h"
#include "app/calibration_history.h"
#include "app/dialog_drawing.h"
#include "app/pass_fit.h"
#include "app/pass_runtime.h"
#include "app/text_format.h"
#include "app/text_layout.h"
#include "app/text_placement.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kPenWidth = 2;
constexpr int kCountdownBand = 60;

}  // namespace

struct CalibrationDialog::Drawing {
    static bool TargetPosition(const CalibrationDialog& d, int32_t target, POINT& at);
    static void DrawTarget(CalibrationDialog& d, TargetGraphic& g, HDC dc, int32_t target);
    static void DrawTargetAt(CalibrationDialog& d, TargetGraphic& g, HDC dc, int32_t target,
                             POINT at);
    static std::wstring InstructionText(const CalibrationDialog& d, const PassView& view);
    static std::wstring ResultText(const CalibrationDialog& d, const PassView& view);
    static std::wstring GlassNote(const CalibrationDialog& d);
    static std::vector<PixelRect> TextKeepOut(CalibrationDialog& d, const PassView& view);
};

bool CalibrationDialog::Drawing::TargetPosition(const CalibrationDialog& d, int32_t target,
                                                POINT& at) {
    const CalibrationArea* area = d.AreaList.Current;
    if (area == nullptr || target < 1 || size_t(target) > area->Targets.size()) return false;
    at =
        POINT{area->Targets[size_t(target) - 1].ScreenX, area->Targets[size_t(target) - 1].ScreenY};
    return true;
}

void DrawRingsAndCross(const TargetGraphic& g, HDC dc) {
    HPEN red = CreatePen(PS_SOLID, kPenWidth, kRed);
    HBRUSH white = CreateSolidBrush(kWhite);
    HGDIOBJ oldPen = SelectObject(dc, red);
    HGDIOBJ oldBrush = SelectObject(dc, white);
    int32_t x = g.CenterX, y = g.CenterY;
    for (int32_t ring = g.RingCount; ring >= 1; --ring) {
        int32_t q = RingRadius(g, ring);
        Ellipse(dc, x - q, y - q, x + q, y + q);
    }
    HPEN black = CreatePen(PS_SOLID, kPenWidth, kBlack);
    SelectObject(dc, black);
    int32_t arm = CrossArm(g);
    MoveToEx(dc, x, y - arm, nullptr);
    LineTo(dc, x, y + arm);
    MoveToEx(dc, x - arm, y, nullptr);
    LineTo(dc, x + arm, y);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(red);
    DeleteObject(black);
    DeleteObject(white);
}

namespace {

RECT SquareOf(const TargetGraphic& g) {
    PixelRect r = TargetSquare(g);
    return RECT{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

bool MiniTargetEnabled(const CalibrationConfig& config, int32_t slot) {
    return slot >= 1 && slot <= kMiniTargetSlots && config.MiniTargetEnabled[slot - 1];
}

std::wstring Pixels(double value) { return DecimalText(value, 1); }
std::wstring Millimetres(double value) { return DecimalText(value, 1); }

// What the Finished screen says of the new calibration in the driver.
UINT FinishedTextId(FinishedNotice notice) {
    switch (notice) {
        case FinishedNotice::InUseUntilLeft:
            return IDS_FIT_DONE_UNTIL_LEFT;
        case FinishedNotice::InUseNoPrevious:
            return IDS_FIT_DONE_NO_PREVIOUS;
        case FinishedNotice::InUse:
            break;
    }
    return IDS_FIT_DONE;
}

// The text over a target: 197, 471 for a target asked again, 472 and 473 for a check target.
UINT InstructionTextId(const PassView& view) {
    if (view.Checking) return view.CheckingAgain ? IDS_CHECK_AGAIN : IDS_CHECK_TOUCH;
    return view.AskingAgain ? IDS_ASK_AGAIN : IDS_INSTRUCTION;
}

}  // namespace

// The text over the target, and under it why the last touch was not used and that a calibration
// nobody accepted was undone.
std::wstring CalibrationDialog::Drawing::InstructionText(const CalibrationDialog& d,
                                                         const PassView& view) {
    std::wstring text = d.Text(InstructionTextId(view));
    if (view.MisclickHint) text += L"\n" + d.Text(IDS_MISCLICK_HINT);
    if (PreviousCalibrationPutBack()) text += L"\n" + d.Text(IDS_PREVIOUS_PUT_BACK);
    return text;
}

// Text 198 (492, 493 as RevertUnaccepted and the history have it) with the calibration's expected
// error under it (199, where its map is known; else the touches' own figures, 200); or why nothing
// was written and that the previous calibration stays.
std::wstring CalibrationDialog::Drawing::ResultText(const CalibrationDialog& d,
                                                    const PassView& view) {
    const FitJudgement& judgement = view.Judgement;
    if (view.FitRefused) {
        std::wstring reason =
            d.Text(view.UnexpectedFailure ? IDS_REFUSED_UNEXPECTED : RefusalTextId(judgement));
        if (judgement.Verdict == FitVerdict::ResidualTooLarge)
            reason = FormatWordsText(reason,
                                     {Pixels(judgement.RmsPixels), Pixels(judgement.BoundPixels)},
                                     kMaxTextLength);
        if (judgement.Verdict == FitVerdict::ExpectedErrorTooLarge)
            reason = FormatWordsText(
                reason, {Millimetres(kMostExpectedWorstMm), Millimetres(judgement.ExpectedWorstMm)},
                kMaxTextLength);
        if (judgement.Verdict == FitVerdict::CheckMissed)
            reason = FormatWordsText(reason, {Millimetres(view.CheckFailedMm)}, kMaxTextLength);
        if (judgement.Verdict == FitVerdict::ScatterTooLarge)
            reason = FormatWordsText(
                reason, {Millimetres(judgement.ScatterMm), Millimetres(judgement.BoundScatterMm)},
                kMaxTextLength);
        return reason + L"\n" + d.Text(IDS_REFUSED_KEPT);
    }
    std::wstring text = d.Text(FinishedTextId(FinishedNoticeOfPass()));
    if (judgement.Verdict != FitVerdict::Sound) return text;
    // One statement of the calibration's expected error where its map is known; else the
    // touches' own deleted residuals.
    if (std::isfinite(judgement.ExpectedWorstInsideMm))
        text += L"\n" + FormatWordsText(d.Text(IDS_FIT_EXPECTED),
                                        {Millimetres(judgement.ExpectedRmsMm),
                                         Millimetres(judgement.ExpectedWorstInsideMm),
                                         Millimetres(judgement.ExpectedWorstEdgeMm)},
                                        kMaxTextLength);
    else
        text += L"\n" + FormatWordsText(d.Text(IDS_FIT_TOUCH_FIGURES),
                                        {Millimetres(judgement.ExpectedRmsMm),
                                         Millimetres(judgement.ExpectedWorstMm)},
                                        kMaxTextLength);
    if (!view.CheckMissesMm.empty()) {
        std::vector<std::wstring> misses;
        for (double mm : view.CheckMissesMm) misses.push_back(Millimetres(mm));
        text += L"\n" + FormatWordsText(d.Text(IDS_CHECKED_AT),
                                        {std::to_wstring(misses.size()),
                                         ListText(misses, d.Text(IDS_LIST_AND))},
                                        kMaxTextLength);
    }
    return text + FinishedDriftText(view, d.Config.get(), [&d](UINT id) { return d.Text(id); });
}

// Under GlassSize=Monitor, when the area's monitor gave no plausible size: the glass size the
// millimetres assume (495).
std::wstring CalibrationDialog::Drawing::GlassNote(const CalibrationDialog& d) {
    const CalibrationArea* area = d.AreaList.Current;
    if (!d.Parameters || !d.Parameters->GlassFromMonitor || area == nullptr ||
        area->Glass.FromMonitor)
        return std::wstring();
    return L"\n" + FormatWordsText(
                       d.Text(IDS_GLASS_FROM_FILE),
                       {DecimalText(area->Glass.WidthMm, 1), DecimalText(area->Glass.HeightMm, 1)},
                       kMaxTextLength);
}

// What the texts keep out of: every target's square while targets are shown, the countdown's band,
// the buttons shown.
std::vector<PixelRect> CalibrationDialog::Drawing::TextKeepOut(CalibrationDialog& d,
                                                               const PassView& view) {
    std::vector<PixelRect> keepOut;
    if (view.CollectingTouches && d.Config && d.AreaList.Current)
        keepOut = TargetSquares(*d.AreaList.Current, *d.Config);
    if (view.Checking && d.GridGraphic) keepOut.push_back(TargetSquare(*d.GridGraphic));
    RECT client;
    GetClientRect(d.Window, &client);
    keepOut.push_back(
        PixelRect{0, client.bottom - d.Scaled(kCountdownBand), client.right, client.bottom});
    for (int id : {IDC_ACCEPT, IDC_RETRY}) {
        HWND button = GetDlgItem(d.Window, id);
        RECT r;
        if (button == nullptr || !IsWindowVisible(button) || !GetWindowRect(button, &r)) continue;
        MapWindowPoints(nullptr, d.Window, reinterpret_cast<POINT*>(&r), 2);
        keepOut.push_back(PixelRect{r.left, r.top, r.right - 1, r.bottom - 1});
    }
    return keepOut;
}

// Moves the graphic to the target (erasing its old place), and draws it once the target has
// dwelt 250 ms; until then the dwell timer is armed and nothing is drawn.
void CalibrationDialog::Drawing::DrawTarget(CalibrationDialog& d, TargetGraphic& g, HDC dc,
                                            int32_t target) {
    POINT at;
    if (TargetPosition(d, target, at)) DrawTargetAt(d, g, dc, target, at);
}

// The same at a place of its own: target is negative for a check target.
void CalibrationDialog::Drawing::DrawTargetAt(CalibrationDialog& d, TargetGraphic& g, HDC dc,
                                              int32_t target, POINT at) {
    if (at.x != g.CenterX || at.y != g.CenterY) {
        RECT old = SquareOf(g);
        InvalidateRect(d.Window, &old, TRUE);
        g.CenterX = at.x;
        g.CenterY = at.y;
    }
    if (d.ShownTarget != target) {
        if (d.DwellingTarget != target) {
            d.DwellingTarget = target;
            SetTimer(d.Window, kDwellTimerId, kTargetDwellMs, nullptr);
        }
        return;
    }
    DrawRingsAndCross(g, dc);
    NoteTargetDrawn(d.Passes, target);
}

void CalibrationDialog::OnPaint() {
    RECT client;
    GetClientRect(Window, &client);
    int cx = client.right / 2, cy = client.bottom / 2;
    HWND accept = GetDlgItem(Window, IDC_ACCEPT);
    RECT button{};
    GetClientRect(accept, &button);
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(accept, nullptr, cx - button.right - Scaled(15), cy + Scaled(80), 0, 0, flags);
    SetWindowPos(GetDlgItem(Window, IDC_RETRY), nullptr, cx + Scaled(15), cy + Scaled(80), 0, 0,
                 flags);

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Window, &paint);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kRed);
    HGDIOBJ oldFont = SelectObject(dc, TextFont());
    std::wstring text;
    const PassView view = CurrentPassView(Passes);
    const int32_t target = view.CurrentTarget;
    if (Config && view.CollectingTouches) {
        text = Drawing::InstructionText(*this, view);
        const int32_t grid = int32_t(Config->NumGridPoints);
        if (GridGraphic && target >= 1 && target <= grid)
            Drawing::DrawTarget(*this, *GridGraphic, dc, target);
        if (MiniGraphic && target > grid && MiniTargetEnabled(*Config, target - grid))
            Drawing::DrawTarget(*this, *MiniGraphic, dc, target);
        if (GridGraphic && view.Checking)
            Drawing::DrawTargetAt(*this, *GridGraphic, dc, -view.CheckTarget,
                                  POINT{std::lround(view.CheckAt.X), std::lround(view.CheckAt.Y)});
    }
    if (view.CalibrationDone) text = Drawing::ResultText(*this, view) + Drawing::GlassNote(*this);
    RECT textRect = client;
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    const int32_t height = textRect.bottom - textRect.top;
    const int32_t width = textRect.right - textRect.left;
    const int32_t top = TextTop(cy + Scaled(60), cy + Scaled(80), height, view.CalibrationDone);
    textRect = client;
    textRect.top = ClearTextTop(top, width, height, client.right, client.bottom,
                                Drawing::TextKeepOut(*this, view));
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, oldFont);
    // The erased background took the countdown: every state's first frame shows it again.
    if (Passes.Sequencer) DrawCountdown(dc, view.CountdownSeconds);
    EndPaint(Window, &paint);
}

void CalibrationDialog::DrawCountdown(HDC dc, int32_t seconds) {
    RECT band;
    GetClientRect(Window, &band);
    band.top = band.bottom - Scaled(kCountdownBand);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kBackgroundColour);
    SetTextColor(dc, kRed);
    HGDIOBJ oldFont = SelectObject(dc, TextFont());
    const std::wstring text = FormatNumberText(Text(IDS_COUNTDOWN), seconds, kMaxTextLength);
    DrawTextW(dc, text.c_str(), -1, &band, DT_CENTER);
    SelectObject(dc, oldFont);
}

void CalibrationDialog::EndTargetDwell() {
    KillTimer(Window, kDwellTimerId);
    ShownTarget = DwellingTarget;
    DwellingTarget = 0;
    InvalidateRect(Window, nullptr, FALSE);
}

void CalibrationDialog::MoveToCurrentArea() {
    const CalibrationArea* area = AreaList.Current;
    if (area == nullptr) return;
    MoveWindow(Window, area->Left, area->Top, area->Width, area->Height, TRUE);
}

void CalibrationDialog::MakeTargetGraphics(int32_t targetNumber) {
    GridGraphic.reset();
    MiniGraphic.reset();
    KillTimer(Window, kDwellTimerId);
    ShownTarget = 0;
    DwellingTarget = 0;
    const CalibrationArea* area = AreaList.Current;
    POINT at{0, 0};
    if (area == nullptr || !Config) return;
    Drawing::TargetPosition(*this, targetNumber, at);
    GridGraphic = std::make_unique<TargetGraphic>(
        MakeGridTargetGraphic(at.x, at.y, area->Width, area->Height));
    MiniGraphic =
        std::make_unique<TargetGraphic>(MakeMiniTargetGraphic(at.x, at.y, Config->CaptionHeight));
}

void CalibrationDialog::ShowButtons(const PassView& view) {
    if (AcceptPicture == nullptr) AcceptPicture = LoadScaledPicture(Instance, IDB_ACCEPT, Dpi);
    if (RetryPicture == nullptr) RetryPicture = LoadScaledPicture(Instance, IDB_RETRY, Dpi);
    HWND accept = GetDlgItem(Window, IDC_ACCEPT);
    HWND retry = GetDlgItem(Window, IDC_RETRY);
    SizeButtonToPicture(accept, AcceptPicture);
    SizeButtonToPicture(retry, RetryPicture);
    SendMessageW(accept, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(AcceptPicture));
    SendMessageW(retry, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(RetryPicture));
    ShowWindow(accept, ShowsAccept(view) ? SW_SHOW : SW_HIDE);
    ShowWindow(retry, ShowsRetry(view) ? SW_SHOW : SW_HIDE);
}

void CalibrationDialog::ReleaseButtonPictures() {
    if (AcceptPicture != nullptr) DeleteObject(AcceptPicture);
    if (RetryPicture != nullptr) DeleteObject(RetryPicture);
    AcceptPicture = RetryPicture = nullptr;
}
