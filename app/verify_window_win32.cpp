// The verification window: the targets of the places in turn, then the verdict with Close and,
// when not within the requirement, Calibrate.
#include <cmath>

#include "app/calibration_dialog.h"
#include "app/dialog_drawing.h"
#include "app/language_library.h"
#include "app/verify_touches.h"
#include "app/verify_window.h"
#include "platform/debug_trace.h"
#include "resources/resource_ids.h"

namespace {

constexpr wchar_t kClassName[] = L"TarnixVerification";
constexpr UINT_PTR kCloseTimerId = 1;
constexpr UINT kResultShownMs = 8000;   // within the requirement, or a line alone
constexpr UINT kChoiceShownMs = 60000;  // not within: time to choose to calibrate
constexpr int kCalibrateButton = 101;
constexpr int kCloseButton = 102;
constexpr int kButtonWidth = 160, kButtonHeight = 40, kButtonGap = 20;
constexpr int kTextHeight = 28;

enum class Stage { Touching, Verdict };

struct VerifyWindow {
    const VerifyPlan* Plan = nullptr;
    std::function<std::wstring(const VerificationResult&)> Measured;
    VerifyTouches Touches;
    Stage Now = Stage::Touching;
    int32_t Shown = -1;  // the place whose target is shown, -1 for none
    bool ShownDrawn = false;
    std::wstring Line;
    HWND Window = nullptr;
    HFONT Font = nullptr;
    HMODULE Language = nullptr;
    VerifyWindowResult Outcome;
};

POINT PlacePixel(const VerifyWindow& w, int32_t k) {
    const CheckPlace& place = w.Plan->Places[size_t(k)];
    return POINT{std::lround(place.Fx * w.Plan->Record.AreaWidth),
                 std::lround(place.Fy * w.Plan->Record.AreaHeight)};
}

// The text of a string id in the user's language, else the English one when no library loaded.
std::wstring LanguageText(const VerifyWindow& w, UINT id, const wchar_t* english) {
    wchar_t buffer[512] = {};
    if (w.Language != nullptr) LoadStringW(w.Language, id, buffer, 512);
    return buffer[0] != 0 ? buffer : english;
}

void AddButton(VerifyWindow& w, int id, const std::wstring& text, int x, int y) {
    HWND button = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  x, y, kButtonWidth, kButtonHeight, w.Window, HMENU(INT_PTR(id)),
                                  nullptr, nullptr);
    SendMessageW(button, WM_SETFONT, WPARAM(w.Font), TRUE);
}

// Close, and Calibrate beside it when offered, below the centre.
void ShowButtons(VerifyWindow& w, bool offerCalibration) {
    RECT client;
    GetClientRect(w.Window, &client);
    const int y = client.bottom / 2 + kTextHeight * 2;
    const int count = offerCalibration ? 2 : 1;
    int x = (client.right - count * kButtonWidth - (count - 1) * kButtonGap) / 2;
    if (offerCalibration) {
        AddButton(w, kCalibrateButton, LanguageText(w, IDS_VERIFY_CALIBRATE, L"Calibrate"), x, y);
        x += kButtonWidth + kButtonGap;
    }
    AddButton(w, kCloseButton, LanguageText(w, IDS_VERIFY_CLOSE, L"Close"), x, y);
}

void ShowVerdict(VerifyWindow& w) {
    StopVerifyTouches(w.Touches);
    w.Now = Stage::Verdict;
    w.Shown = -1;
    w.Outcome.Measured = w.Touches.Misses.size() == w.Plan->Places.size();
    w.Outcome.Result = VerificationResult{w.Touches.Misses, w.Plan->BoundMm};
    if (!w.Outcome.Measured) {
        DestroyWindow(w.Window);  // left before every place was touched
        return;
    }
    w.Line = w.Measured(w.Outcome.Result);
    const bool within = w.Outcome.Result.Within(w.Plan->Places.size());
    ShowButtons(w, !within);
    SetTimer(w.Window, kCloseTimerId, within ? kResultShownMs : kChoiceShownMs, nullptr);
    InvalidateRect(w.Window, nullptr, TRUE);
}

void PaintText(const VerifyWindow& w, HDC dc, const std::wstring& text, int y) {
    RECT client;
    GetClientRect(w.Window, &client);
    RECT line{0, y, client.right, y + kTextHeight * 2};
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, w.Font);
    DrawTextW(dc, text.c_str(), int(text.size()), &line, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, old);
}

// The target of the place shown; the touch thread may ask the driver once it is drawn.
void PaintTarget(VerifyWindow& w, HDC dc) {
    const POINT at = PlacePixel(w, w.Shown);
    const TargetGraphic g =
        MakeGridTargetGraphic(at.x, at.y, w.Plan->Record.AreaWidth, w.Plan->Record.AreaHeight);
    DrawRingsAndCross(g, dc);
    if (w.ShownDrawn) return;
    w.ShownDrawn = true;
    DebugPrint(L"Tarnix.exe: verification target %d at x=%ld y=%ld", int(w.Shown + 1), at.x, at.y);
    SetEvent(w.Touches.Drawn);
}

void Paint(VerifyWindow& w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w.Window, &ps);
    RECT client;
    GetClientRect(w.Window, &client);
    if (w.Now == Stage::Touching && w.Plan != nullptr) {
        PaintText(w, dc,
                  LanguageText(w, IDS_VERIFY_INSTRUCTION,
                               L"Verification: touch the centre of each target"),
                  client.bottom / 2);
        if (w.Shown >= 0) PaintTarget(w, dc);
    } else {
        PaintText(w, dc, w.Line, client.bottom / 2 - kTextHeight);
    }
    EndPaint(w.Window, &ps);
}

void Leave(VerifyWindow& w, bool calibrate) {
    w.Outcome.Calibrate = calibrate;
    DestroyWindow(w.Window);
}

// The touch thread starts once the window exists (it posts its first place at once); a window
// with a line alone offers Close and closes by itself.
void Start(VerifyWindow& w) {
    if (w.Plan == nullptr) {
        ShowButtons(w, false);
        SetTimer(w.Window, kCloseTimerId, kResultShownMs, nullptr);
        return;
    }
    w.Touches.Window = w.Window;
    if (!StartVerifyTouches(w.Touches)) {
        DebugPrint(L"Tarnix.exe: %s", L"verification: the touch thread could not be started");
        PostMessageW(w.Window, WM_TARNIX_VERIFY_DONE, 0, 0);
    }
}

LRESULT Handle(VerifyWindow& w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            Start(w);
            return 0;
        case WM_PAINT:
            Paint(w);
            return 0;
        case WM_TARNIX_VERIFY_PLACE:
            w.Shown = int32_t(wParam);
            w.ShownDrawn = false;
            InvalidateRect(w.Window, nullptr, TRUE);
            return 0;
        case WM_TARNIX_VERIFY_DONE:
            ShowVerdict(w);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCalibrateButton || LOWORD(wParam) == kCloseButton)
                Leave(w, LOWORD(wParam) == kCalibrateButton);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) Leave(w, false);
            return 0;
        case WM_TIMER:
            if (wParam == kCloseTimerId) Leave(w, false);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(w.Window, message, wParam, lParam);
    }
}

LRESULT CALLBACK VerifyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* w =
            static_cast<VerifyWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        w->Window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    }
    auto* w = reinterpret_cast<VerifyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return w != nullptr ? Handle(*w, message, wParam, lParam)
                        : DefWindowProcW(window, message, wParam, lParam);
}

void RegisterOnce(HINSTANCE instance) {
    WNDCLASSW wc{};
    if (GetClassInfoW(instance, kClassName, &wc)) return;
    wc.lpfnWndProc = VerifyWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(kBackgroundColour);
    RegisterClassW(&wc);
}

// Creates the window over rect and runs its messages until it is destroyed.
void RunModally(HINSTANCE instance, VerifyWindow& w, const RECT& rect) {
    RegisterOnce(instance);
    w.Language = LoadLanguageLibrary();
    w.Font = CreateFontW(kTextHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_SWISS, L"Arial");
    HWND window = CreateWindowExW(
        WS_EX_TOPMOST, kClassName, L"Tarnix - Verification", WS_POPUP | WS_VISIBLE, rect.left,
        rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, &w);
    if (window != nullptr) {
        SetForegroundWindow(window);
        SetFocus(window);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (w.Font != nullptr) DeleteObject(w.Font);
    if (w.Language != nullptr) FreeLibrary(w.Language);
}

}  // namespace

VerifyWindowResult RunVerifyWindow(
    HINSTANCE instance, const VerifyPlan& plan,
    const std::function<std::wstring(const VerificationResult&)>& measured) {
    VerifyWindow w;
    w.Plan = &plan;
    w.Measured = measured;
    const CalibrationDataRecord& r = plan.Record;
    const RECT area{r.AreaLeft, r.AreaTop, r.AreaLeft + r.AreaWidth, r.AreaTop + r.AreaHeight};
    w.Touches.Plan = &plan;
    RunModally(instance, w, area);
    StopVerifyTouches(w.Touches);
    return w.Outcome;
}

void ShowVerifyLine(HINSTANCE instance, const std::wstring& line) {
    VerifyWindow w;
    w.Now = Stage::Verdict;
    w.Line = line;
    const RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RunModally(instance, w, primary);
}
