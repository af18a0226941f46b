// Start-up of the calibration window, step by step in the documented order. A step that fails
// stops start-up: the window then closes at once, before any pass, timer or worker exists.
#include <windows.h>

#include <cwchar>
#include <new>

#include "app/area_glass.h"
#include "app/calibration_dialog.h"
#include "app/cursor_control.h"
#include "app/dialog_drawing.h"
#include "app/instance_mutex.h"
#include "app/language_library.h"
#include "app/text_format.h"
#include "config/command_line.h"
#include "config/quva_options.h"
#include "config/support_folder.h"
#include "display/edid.h"
#include "display/monitors.h"
#include "display/target_layout.h"
#include "display/tile_layout.h"
#include "driver/quva_driver.h"
#include "fit/model_choice.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"
#include "platform/profile_size.h"
#include "resources/resource_ids.h"

namespace {

constexpr BYTE kTranslucentAlpha = 178;
constexpr size_t kGridMessageLength = 256;

}  // namespace

// The steps of start-up, in their order.
struct CalibrationDialog::StartUp {
    static void SetUpLanguage(CalibrationDialog& d);
    static void ApplyTranslucency(CalibrationDialog& d);
    static bool CountTouchScreens(CalibrationDialog& d, int32_t& screens);
    static bool ClaimInstance(CalibrationDialog& d);
    static bool ReadOptions(CalibrationDialog& d);
    static bool CreateExitEvent(CalibrationDialog& d);
    static void SignalNeighbours(CalibrationDialog& d, int32_t screens);
    static bool LoadConfiguration(CalibrationDialog& d);
    static bool BuildAreas(CalibrationDialog& d, int32_t screens);
    static bool CreateFit(CalibrationDialog& d);
    static void ChooseArea(CalibrationDialog& d);
};

void CalibrationDialog::StartUp::SetUpLanguage(CalibrationDialog& d) {
    d.LanguageLibrary = LoadLanguageLibrary();
    SetDlgItemTextW(d.Window, IDC_ACCEPT, d.Text(IDS_ACCEPT).c_str());
    SetDlgItemTextW(d.Window, IDC_RETRY, d.Text(IDS_RETRY).c_str());
    std::wstring title = d.Text(IDS_NO_TOUCH_SCREEN_CAPTION);
    SetWindowTextW(d.Window, title.empty() ? L"Tarnix" : title.c_str());
}

void CalibrationDialog::StartUp::ApplyTranslucency(CalibrationDialog& d) {
    if (getQuvaOptions() != 1) return;
    LONG_PTR style = GetWindowLongPtrW(d.Window, GWL_EXSTYLE);
    SetWindowLongPtrW(d.Window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(d.Window, 0, kTranslucentAlpha, LWA_ALPHA);
}

bool CalibrationDialog::StartUp::CountTouchScreens(CalibrationDialog& d, int32_t& screens) {
    screens = UsableDriverCount(QuvaIF_EnumTouchScreen());
    if (screens != 0) return true;
    QuvaIF_MakeBeep(1000, 500);
    DebugPrint(L"Tarnix.exe: %s", d.Text(IDS_NO_TOUCH_SCREEN).c_str());
    MessageBoxW(d.Window, d.Text(IDS_NO_TOUCH_SCREEN).c_str(),
                d.Text(IDS_NO_TOUCH_SCREEN_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool CalibrationDialog::StartUp::ClaimInstance(CalibrationDialog& d) {
    SetLastError(0);
    d.InstanceMutex = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    if (GetLastError() == 0) return true;
    if (d.InstanceMutex != nullptr) CloseHandle(d.InstanceMutex);  // the other copy owns it
    d.InstanceMutex = nullptr;
    d.SecondCopy = true;
    QuvaIF_MakeBeep(2000, 500);
    DebugPrint(L"Tarnix.exe: another copy is running. Exit.");
    return false;
}

bool CalibrationDialog::StartUp::ReadOptions(CalibrationDialog& d) {
    const wchar_t* line = GetCommandLineW();
    if (line == nullptr || *line == L'\0') return true;
    CommandLineOptions options;
    bool goOn = ParseCommandLine(line, options);
    if (options.HasMonitor) {
        d.OptionMonitor = options.OptionMonitor;
        d.OptionScreenCount = QuvaIF_GetScreenCntForMonitor(d.OptionMonitor);
    }
    if (options.HasScreen) d.ScreenIndex = options.ScreenIndex;
    d.HasScreenOption = options.HasScreen;
    d.ExplicitTarget = options.ExplicitTarget;
    if (!goOn) DebugPrint(L"Tarnix.exe: unknown option in the command line %s: stop", line);
    return goOn;
}

bool CalibrationDialog::StartUp::CreateExitEvent(CalibrationDialog& d) {
    d.ExitEvent = CreateEventW(nullptr, FALSE, FALSE, L"QuvaCalExitEvent");
    if (d.ExitEvent != nullptr) return true;
    CloseHandle(d.InstanceMutex);
    d.InstanceMutex = nullptr;
    QuvaIF_MakeBeep(500, 1000);
    return false;
}

void CalibrationDialog::StartUp::SignalNeighbours(CalibrationDialog& d, int32_t screens) {
    if (HANDLE monitorClose = OpenEventW(EVENT_MODIFY_STATE, TRUE, L"QuvaDskMonClose")) {
        SetEvent(monitorClose);
        CloseHandle(monitorClose);
    }
    for (int32_t i = 0; i < screens && i < kMaxTouchScreens; ++i)
        QuvaIF_GetTouchState(&d.TouchStates[i], i);
    if (HANDLE rightButton = OpenEventW(EVENT_ALL_ACCESS, TRUE, L"RButtonCloseNotify")) {
        SetEvent(rightButton);
        ResetEvent(rightButton);
        CloseHandle(rightButton);
    }
}

bool CalibrationDialog::StartUp::LoadConfiguration(CalibrationDialog& d) {
    std::wstring path = PlatformJoinPath(GetSupportFolder(), L"Tarnix.cfg");
    if (const uint64_t bytes = OversizedProfileBytes(path)) {
        DebugPrint(L"Tarnix.exe: %s: stop", OversizedProfileText(path, bytes).c_str());
        return false;
    }
    d.Parameters = std::make_unique<ControllerParameters>();
    ReadControllerParameters(*d.Parameters, path.c_str());
    d.Config = std::make_unique<CalibrationConfig>(path.c_str());
    ReadGridConfig(*d.Config);

    const CalibrationConfig& c = *d.Config;
    const int32_t minimum = FewestGridPoints(FitTerms(c.FitTerms), c.ModelKind, c.PolynomialOrder);
    if (int64_t(c.NumGridPoints) < minimum) {
        std::wstring text =
            FormatNumberText(d.Text(IDS_GRID_TOO_SMALL), minimum, kGridMessageLength);
        if (ChoosesAmongModels(FitTerms(c.FitTerms), c.ModelKind))
            DebugPrint(L"Tarnix.exe: %u grid points, the model choice (FitTerms=4) needs %d: stop",
                       c.NumGridPoints, minimum);
        else
            DebugPrint(L"Tarnix.exe: %u grid points, order %u needs %d: stop", c.NumGridPoints,
                       c.PolynomialOrder, minimum);
        DebugPrint(L"Tarnix.exe: %s", text.c_str());
        MessageBoxW(d.Window, text.c_str(), L"Tarnix", MB_OK | MB_ICONERROR);
        return false;
    }
    return BuildGridCells(*d.Config) && BuildTargets(*d.Config);
}

namespace {

std::vector<MonitorDescription> SystemMonitors() {
    MonitorSummary summary;
    std::vector<MonitorDescription> monitors = DescribeMonitors(summary);
    DebugPrint(L"Tarnix.exe: EnumSysMonitors() - System reported Monitors = %d",
               summary.MonitorCount);
    return monitors;
}

std::vector<MonitorRect> RectanglesOf(const std::vector<MonitorDescription>& monitors) {
    std::vector<MonitorRect> rectangles;
    for (const MonitorDescription& monitor : monitors) rectangles.push_back(monitor.Rect);
    return rectangles;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Under GlassSize=Monitor: what each monitor's EDID says and whether its size stands.
void TraceMonitorGlass(const std::vector<MonitorDescription>& monitors) {
    for (size_t m = 0; m < monitors.size(); ++m) {
        const MonitorRect& r = monitors[m].Rect;
        const EdidInfo edid = ParseEdid(monitors[m].Edid.data(), monitors[m].Edid.size());
        double width = 0.0, height = 0.0;
        const GlassVerdict verdict =
            JudgeMonitorGlass(edid, r.Right - r.Left, r.Bottom - r.Top, width, height);
        DebugPrint(
            L"Tarnix.exe: EDID of monitor %d: %u bytes, maker %s, model %s, %.0f x %.0f mm: "
            L"%s",
            int(m + 1), unsigned(monitors[m].Edid.size()), Wide(edid.Maker).c_str(),
            Wide(edid.Valid ? EdidModelText(edid) : std::string()).c_str(), edid.WidthMm,
            edid.HeightMm, Wide(GlassVerdictText(verdict)).c_str());
    }
}

}  // namespace

bool CalibrationDialog::StartUp::BuildAreas(CalibrationDialog& d, int32_t screens) {
    d.AreaList.TouchScreenCount = screens;
    try {
        const std::vector<MonitorDescription> monitors = SystemMonitors();
        BuildAreaList(d.AreaList, RectanglesOf(monitors), ReadVideoModes(), *d.Config);
        AssignAreaGlass(d.AreaList, monitors, *d.Parameters);
        if (d.Parameters->GlassFromMonitor) TraceMonitorGlass(monitors);
    } catch (const std::bad_alloc&) {
        d.AreaList = CalibrationAreaList();
        DebugPrint(L"Tarnix.exe: %s", L"no memory for the screen areas: stop");
        return false;
    }
    for (const CalibrationArea& area : d.AreaList.Areas)
        DebugPrint(L"Tarnix.exe: area of monitor %d: left %d top %d width %d height %d, glass %s",
                   area.MonitorNumber, area.Left, area.Top, area.Width, area.Height,
                   Wide(GlassSizeText(area.Glass)).c_str());
    if (d.AreaList.AreaCount == 0) {
        DebugPrint(L"Tarnix.exe: %s", L"no screen area to calibrate: stop");
        return false;
    }
    if (d.Config->Simulate && !ReadSimulatedTouches(*d.Config)) {
        DebugPrint(L"Tarnix.exe: %s", L"the simulated touches of Tarnix.cfg are incomplete: stop");
        return false;
    }
    return true;
}

bool CalibrationDialog::StartUp::CreateFit(CalibrationDialog& d) {
    d.Fit = CreateCalibrationFit(d.Config->PolynomialOrder, d.Config->ModelKind,
                                 int32_t(d.Config->NumGridPoints));
    if (!d.Fit) return false;
    LinkCalibrationFit(*d.Fit, *d.Config, *d.Parameters);
    return true;
}

void CalibrationDialog::StartUp::ChooseArea(CalibrationDialog& d) {
    int32_t monitor = d.AreaList.CurrentMonitor;
    if (d.OptionMonitor != 0) {
        monitor = d.OptionMonitor;
    } else if (d.HasScreenOption) {
        monitor = QuvaIF_GetMonitorNumberByScreenIndex(d.ScreenIndex);
        d.AreaList.ScreenCounter = d.ScreenIndex;
    }
    SelectMonitorArea(d.AreaList, monitor);
    DebugPrint(L"Tarnix.exe: calibrating monitor %d (screen index %d)", monitor, d.ScreenIndex);
}

bool CalibrationDialog::OnInitDialog() {
    StartUp::SetUpLanguage(*this);
    StartUp::ApplyTranslucency(*this);
    int32_t screens = 0;
    bool ready = StartUp::CountTouchScreens(*this, screens);
    if (ready) DebugPrint(L"Tarnix.exe: %s", L"WinMain()");
    ready = ready && StartUp::ClaimInstance(*this) && StartUp::ReadOptions(*this) &&
            StartUp::CreateExitEvent(*this);
    if (ready) StartUp::SignalNeighbours(*this, screens);
    ready = ready && StartUp::LoadConfiguration(*this) && StartUp::BuildAreas(*this, screens) &&
            StartUp::CreateFit(*this);
    if (!ready) {
        EndWith(1);
        return false;
    }
    SetTimer(Window, kCountdownTimerId, 1000, nullptr);
    HidePassCursor();
    StartUp::ChooseArea(*this);
    MoveToCurrentArea();
    Dpi = WindowDpi(Window);
    ShowButtons(CurrentPassView(Passes));
    MakeTargetGraphics(1);
    StartFirstPass();
    SendMessageW(Window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
    SendMessageW(Window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Icon));
    TimerId = SetTimer(Window, kCountdownTimerId, 1000, nullptr);
    InvalidateRect(Window, nullptr, TRUE);
    UpdateWindow(Window);
    SetFocus(Window);
    return true;
}
