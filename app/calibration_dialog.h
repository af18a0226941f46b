// The calibration window: a modal dialog from template 102 that covers one screen area, shows the
// targets of a pass and owns every record of the run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/area_list.h"
#include "app/pass_rules.h"
#include "app/pass_runtime.h"
#include "app/target_graphic.h"
#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/calibration_fit.h"

inline constexpr UINT kCountdownTimerId = 4683;
inline constexpr UINT kDwellTimerId = 4684;
inline constexpr DWORD kTargetDwellMs = 250;
inline constexpr int kMaxTouchScreens = kMaxDriverCount;
// The window's background, also behind the countdown text.
inline constexpr COLORREF kBackgroundColour = RGB(140, 215, 242);

class CalibrationDialog {
  public:
    explicit CalibrationDialog(HINSTANCE instance);
    ~CalibrationDialog();
    CalibrationDialog(const CalibrationDialog&) = delete;
    CalibrationDialog& operator=(const CalibrationDialog&) = delete;

    // Runs the dialog modally; its result (1 when it ended through a failure or the end routine).
    INT_PTR DoModal();

  private:
    // The helpers of the handlers, one group per source file, with the window's access.
    struct StartUp;       // dialog_init_win32.cpp
    struct Drawing;       // dialog_paint_win32.cpp
    struct PassHandling;  // pass_handlers_win32.cpp

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The text of a string id from the language library (the program's own 130 and 131 when no
    // library could be loaded; empty otherwise), at most kMaxTextLength characters.
    std::wstring Text(UINT id) const;

    // Ends the modal dialog with a result.
    void EndWith(INT_PTR result);

    // Start-up (false when it stopped early) and the handlers of the message map.
    bool OnInitDialog();
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnAccept();
    void OnRetry();
    void OnCancel();
    void OnTouch();
    void OnPassCancelled(WPARAM token);
    void OnDestroy();
    void OnDpiChanged(UINT dpi);

    // The display scale (dialog_dpi_win32.cpp): a length in pixels at 100 % as pixels at the
    // window's scale; the font of the window's texts (the System font's height at the window's
    // scale, or larger on large areas; made once per size and scale); a bitmap button sized to its
    // picture and a margin at the window's scale.
    int Scaled(int pixels) const;
    HFONT TextFont();
    void SizeButtonToPicture(HWND button, HBITMAP picture) const;

    // Drawing services the handlers share (dialog_paint_win32.cpp).
    void MakeTargetGraphics(int32_t targetNumber);
    void ShowButtons(const PassView& view);  // the buttons the state of the passes shows
    void MoveToCurrentArea();
    void EndTargetDwell();                        // the waiting target is drawn at the next paint
    void DrawCountdown(HDC dc, int32_t seconds);  // the seconds left, in the band at the bottom
    void ReleaseButtonPictures();

    // The first pass, as start-up starts it, and the last stop, as tear-down makes it
    // (pass_handlers_win32.cpp).
    bool StartFirstPass();
    void StopPasses();

    UINT_PTR TimerId = 0;
    int32_t ScreenIndex = -1;
    HANDLE InstanceMutex = nullptr;
    CalibrationAreaList AreaList;
    HMODULE LanguageLibrary = nullptr;
    int32_t TouchStates[kMaxTouchScreens] = {};
    int32_t OptionMonitor = 0;
    int32_t OptionScreenCount = 0;
    bool ExplicitTarget = false;
    bool HasScreenOption = false;
    // Refused by the instance mutex: the tear-down leaves the driver, the desktop monitor tool
    // and the cursors to the copy that runs.
    bool SecondCopy = false;
    HICON Icon = nullptr;
    HANDLE ExitEvent = nullptr;
    // The passes: the sequencer that owns their state and the worker of the running one.
    PassRuntime Passes;

    // Records owned by the window, released at destruction.
    std::unique_ptr<ControllerParameters> Parameters;
    std::unique_ptr<CalibrationConfig> Config;
    std::unique_ptr<CalibrationFit> Fit;
    std::unique_ptr<TargetGraphic> GridGraphic;
    std::unique_ptr<TargetGraphic> MiniGraphic;

    HWND Window = nullptr;
    HINSTANCE Instance = nullptr;
    HBRUSH BackgroundBrush = nullptr;
    HBITMAP AcceptPicture = nullptr;  // loaded with the buttons, deleted at destruction
    HBITMAP RetryPicture = nullptr;
    UINT Dpi = USER_DEFAULT_SCREEN_DPI;  // the display scale of the window, 96 = 100 %
    HFONT ScaledFont = nullptr;          // the text font, made for the area's size and Dpi
    int32_t ScaledFontHeight = 0;

    // Dwell: the target that is drawn once its 250 ms have passed.
    int32_t ShownTarget = 0;
    int32_t AskedTargetsSeen = 0;  // the pass view's AskCount when last drawn
    int32_t DwellingTarget = 0;
};

inline constexpr int kMaxTextLength = 1023;
