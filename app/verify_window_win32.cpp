// The verification window: the targets of the places in turn, then the verdict with Close and,
// when not within the requirement, Calibrate.
#include <algorithm>
#include <cmath>

#include "app/calibration_dialog.h"
#include "app/dialog_drawing.h"
#include "app/language_library.h"
#include "app/text_format.h"
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
    bool Offered = false;  // the verdict offers to calibrate
    HWND Window = nullptr;
    UINT Dpi = USER_DEFAULT_SCREEN_DPI;
    HFONT Font = nullptr;
    HMODULE Language = nullptr;
    VerifyWindowResult Outcome;

    VerifyWindow() = default;
    VerifyWindow(const VerifyWindow&) = delete;
    VerifyWindow& operator=(const VerifyWindow&) = delete;
    ~VerifyWindow() {
        if (Font != nullptr) DeleteObject(Font);
        if (Language != nullptr) FreeLibrary(Language);
    }
};

POINT PlacePixel(const VerifyWindow& w, int32_t k) {
    const CheckPlace& place = w.Plan->Places[size_t(k)];
    return POINT{std::lround(place.Fx * w.Plan->Record.AreaWidth),
                 std::lround(place.Fy * w.Plan->Record.AreaHeight)};
}

// The text of a string id in the user's language with its "%s" filled by words, else the English
// line when no library has it.
std::wstring LanguageText(const VerifyWindow& w, UINT id, const std::vector<std::wstring>& words,
                          const std::wstring& english) {
    const std::wstring format = ModuleText(w.Language, id);
    return format.empty() ? english : FormatWordsText(format, words, kMaxTextLength);
}

// Pixels at 100 % in the window's display scale.
int Scaled(const VerifyWindow& w, int pixels) {
    return MulDiv(pixels, int(w.Dpi), USER_DEFAULT_SCREEN_DPI);
}

// The text font at the window's display scale.
void MakeFont(VerifyWindow& w) {
    if (w.Font != nullptr) DeleteObject(w.Font);
    w.Font = CreateFontW(Scaled(w, kTextHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_SWISS, L"Arial");
}

void AddButton(VerifyWindow& w, int id, const std::wstring& text, int x, int y) {
    HWND button = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  x, y, Scaled(w, kButtonWidth), Scaled(w, kButtonHeight), w.Window,
                                  HMENU(INT_PTR(id)), nullptr, nullptr);
    SendMessageW(button, WM_SETFONT, WPARAM(w.Font), TRUE);
}

// Close, and Calibrate beside it when offered, below the centre; made again at a new scale.
void ShowButtons(VerifyWindow& w) {
    for (int id : {kCalibrateButton, kCloseButton})
        if (HWND old = GetDlgItem(w.Window, id)) DestroyWindow(old);
    RECT client;
    GetClientRect(w.Window, &client);
    const int y = client.bottom / 2 + Scaled(w, kTextHeight) * 2;
    const int count = w.Offered ? 2 : 1, width = Scaled(w, kButtonWidth),
              gap = Scaled(w, kButtonGap);
    int x = (client.right - count * width - (count - 1) * gap) / 2;
    if (w.Offered) {
        AddButton(w, kCalibrateButton, LanguageText(w, IDS_VERIFY_CALIBRATE, {}, L"Calibrate"), x,
                  y);
        x += width + gap;
    }
    AddButton(w, kCloseButton, LanguageText(w, IDS_VERIFY_CLOSE, {}, L"Close"), x, y);
}

// The verdict in the user's language: the places, each miss and whether they are within.
std::wstring VerdictLine(const VerifyWindow& w, const std::wstring& english, bool within) {
    std::vector<std::wstring> misses;
    for (double mm : w.Outcome.Result.MissesMm) misses.push_back(DecimalText(mm, 1));
    const std::wstring separator = LanguageText(w, IDS_LIST_AND, {}, L" and ");
    return LanguageText(w, within ? IDS_VERIFIED_WITHIN : IDS_VERIFIED_NOT_WITHIN,
                        {std::to_wstring(misses.size()), ListText(misses, separator)}, english);
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
    const bool within = w.Outcome.Result.Within(w.Plan->Places.size());
    w.Line = VerdictLine(w, w.Measured(w.Outcome.Result), within);
    w.Offered = !within;
    ShowButtons(w);
    SetTimer(w.Window, kCloseTimerId, within ? kResultShownMs : kChoiceShownMs, nullptr);
    InvalidateRect(w.Window, nullptr, TRUE);
}

// The text centred about the row middle, broken into lines that fit between side margins; its
// last line no lower than bottom.
void PaintText(const VerifyWindow& w, HDC dc, const std::wstring& text, int middle, int bottom) {
    RECT client;
    GetClientRect(w.Window, &client);
    const int margin = client.right / 20;
    constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, w.Font);
    RECT box{margin, 0, client.right - margin, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &box, kFormat | DT_CALCRECT);
    const int height = box.bottom - box.top;
    const int top = std::min(middle - height / 2, bottom - height);
    RECT lines{margin, top, client.right - margin, top + height};
    DrawTextW(dc, text.c_str(), int(text.size()), &lines, kFormat);
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
    const int lineHeight = Scaled(w, kTextHeight);
    if (w.Now == Stage::Touching && w.Plan != nullptr) {
        PaintText(w, dc,
                  LanguageText(w, IDS_VERIFY_INSTRUCTION, {},
                               L"Verification: touch the centre of each target"),
                  client.bottom / 2 + lineHeight, client.bottom);
        if (w.Shown >= 0) PaintTarget(w, dc);
    } else {  // above the buttons
        PaintText(w, dc, w.Line, client.bottom / 2, client.bottom / 2 + lineHeight * 3 / 2);
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
    w.Dpi = WindowDpi(w.Window);
    MakeFont(w);
    if (w.Plan == nullptr) {
        ShowButtons(w);
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
        case WM_DPICHANGED:  // the window stays over its area; what is read follows the scale
            w.Dpi = HIWORD(wParam);
            MakeFont(w);
            if (w.Now == Stage::Verdict) ShowButtons(w);
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
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST, kClassName,
                        LanguageText(w, IDS_VERIFY_TITLE, {}, L"Tarnix - Verification").c_str(),
                        WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, nullptr, nullptr, instance, &w);
    if (window != nullptr) {
        SetForegroundWindow(window);
        SetFocus(window);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace

VerifyWindowResult RunVerifyWindow(
    HINSTANCE instance, const VerifyPlan& plan,
    const std::function<std::wstring(const VerificationResult&)>& measured) {
    VerifyWindow w;
    w.Plan = &plan;
    w.Measured = measured;
    w.Language = LoadLanguageLibrary();
    const CalibrationDataRecord& r = plan.Record;
    const RECT area{r.AreaLeft, r.AreaTop, r.AreaLeft + r.AreaWidth, r.AreaTop + r.AreaHeight};
    w.Touches.Plan = &plan;
    RunModally(instance, w, area);
    StopVerifyTouches(w.Touches);
    return w.Outcome;
}

void ShowVerifyLine(HINSTANCE instance, UINT textId, int32_t screen, const std::wstring& english) {
    VerifyWindow w;
    w.Now = Stage::Verdict;
    w.Language = LoadLanguageLibrary();
    w.Line = LanguageText(w, textId, {std::to_wstring(screen)}, english);
    const RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RunModally(instance, w, primary);
}
