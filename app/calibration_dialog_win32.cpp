// The calibration window's object, its message map (one handler call per message) and its
// tear-down (controllers back to the driver and the desktop monitor tool restarted, unless this
// is a refused second copy; records released).
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "app/calibration_dialog.h"
#include "app/cursor_control.h"
#include "app/language_library.h"
#include "app/unexpected_failure.h"
#include "config/support_folder.h"
#include "driver/quva_driver.h"
#include "platform/debug_trace.h"
#include "resources/resource_ids.h"

namespace {

constexpr WORD kAcceleratorNotification = 1;  // a command's code when an accelerator sent it

// A button's click, or the dialog manager's Enter and Esc (sent as a click, or as an accelerator);
// a button's other notifications (focus, double click) are no command.
bool IsButtonAction(WORD notification) {
    return notification == BN_CLICKED || notification == kAcceleratorNotification;
}

// Hands the controllers back to the driver; its device handles are closed only once the touch
// thread has left the driver (QuvaIF_DisableTouch releases its call).
void ReturnControllers(PassRuntime& passes) {
    int32_t screens = QuvaIF_EnumTouchScreen();
    QuvaIF_DisableTouch(0, -1);
    RestorePassCursor();
    for (int32_t i = 0; i < screens; ++i) {
        if (QuvaIF_AcquireTalksetLock(i, 3) == 0) continue;
        DebugPrint(L"Tarnix.exe: %s", L"Flush controller Talkset buffer!");
        QuvaIF_FlushControllerTalksetBuffer(i);
        QuvaIF_ReleaseTalksetLock(i);
    }
    if (TouchThreadLeftDriver(passes)) QuvaIF_CloseDeviceHandles();
}

void RestartDesktopMonitor() {
    wchar_t folder[kSupportFolderCapacity];
    GetSupportFolder(folder);
    HINSTANCE result =
        ShellExecuteW(nullptr, L"open", L"QuvaDkMon.exe", nullptr, folder, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        DebugPrint(L"Tarnix.exe: QuvaDkMon.exe could not be started (%d)",
                   int(reinterpret_cast<INT_PTR>(result)));
}

}  // namespace

CalibrationDialog::CalibrationDialog(HINSTANCE instance) : Instance(instance) {
    Icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TARNIX));
    BackgroundBrush = CreateSolidBrush(kBackgroundColour);
}

CalibrationDialog::~CalibrationDialog() {
    if (BackgroundBrush != nullptr) DeleteObject(BackgroundBrush);
    if (ScaledFont != nullptr) DeleteObject(ScaledFont);
    if (LanguageLibrary != nullptr) FreeLibrary(LanguageLibrary);
}

INT_PTR CalibrationDialog::DoModal() {
    return DialogBoxParamW(Instance, MAKEINTRESOURCEW(IDD_CALIBRATION), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

std::wstring CalibrationDialog::Text(UINT id) const {
    if (LanguageLibrary != nullptr) return ModuleText(LanguageLibrary, id);
    const bool ownText = id == IDS_NO_TOUCH_SCREEN || id == IDS_NO_TOUCH_SCREEN_CAPTION;
    return ownText ? ModuleText(Instance, id) : std::wstring();
}

void CalibrationDialog::EndWith(INT_PTR result) { EndDialog(Window, result); }

// No exception may cross the system's frames: one that reaches here ends the window, whose
// tear-down then runs as at any other end.
INT_PTR CALLBACK CalibrationDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    try {
        return Dispatch(window, message, wParam, lParam);
    } catch (...) {
        ReportUnexpectedFailure(L"the calibration window");
        EndDialog(window, kExitUnexpectedFailure);
        return FALSE;
    }
}

INT_PTR CalibrationDialog::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CalibrationDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->Window = window;
        dialog->OnInitDialog();
        return FALSE;  // the focus was set by start-up
    }
    auto* dialog = reinterpret_cast<CalibrationDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CalibrationDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(Icon);
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORMSGBOX:
            return reinterpret_cast<INT_PTR>(BackgroundBrush);
        case WM_TIMER:
            OnTimer(wParam);
            return FALSE;  // default processing follows
        case WM_COMMAND:
            if (!IsButtonAction(HIWORD(wParam))) return FALSE;
            switch (LOWORD(wParam)) {
                case IDC_ACCEPT:
                    OnAccept();
                    return TRUE;
                case IDC_RETRY:
                    OnRetry();
                    return TRUE;
                case IDCANCEL:
                    OnCancel();
                    return TRUE;
                case IDOK:
                    EndWith(IDOK);
                    return TRUE;
            }
            return FALSE;
        case WM_TARNIX_TOUCH:
            OnTouch();
            return TRUE;
        case WM_TARNIX_PASS_CANCELLED:
            OnPassCancelled(wParam);
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam));
            return TRUE;
    }
    return FALSE;
}

void CalibrationDialog::OnDestroy() {
    StopPasses();
    if (TimerId != 0) KillTimer(Window, kCountdownTimerId);
    KillTimer(Window, kDwellTimerId);
    if (!SecondCopy) {
        ReturnControllers(Passes);
        RestartDesktopMonitor();
    }
    if (ExitEvent != nullptr) {
        SetEvent(ExitEvent);
        CloseHandle(ExitEvent);
        ExitEvent = nullptr;
    }
    if (InstanceMutex != nullptr) {
        ReleaseMutex(InstanceMutex);
        CloseHandle(InstanceMutex);
        InstanceMutex = nullptr;
    }
    GridGraphic.reset();
    MiniGraphic.reset();
    ReleaseButtonPictures();
    Fit.reset();
    Config.reset();
    Parameters.reset();
    AreaList = CalibrationAreaList();
}
