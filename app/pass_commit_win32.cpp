// The commit of a finished pass through the touch driver library.
#include <windows.h>

#include "app/committed_record.h"
#include "app/pass_commit.h"
#include "driver/quva_driver.h"
#include "fit/calibration_record.h"
#include "platform/debug_trace.h"

namespace {

RecordArea RecordAreaOf(const CalibrationDataRecord& record) {
    RecordArea area;
    area.Width = record.AreaWidth;
    area.Height = record.AreaHeight;
    area.Left = record.AreaLeft;
    area.Top = record.AreaTop;
    area.MonitorNumber = record.MonitorNumber;
    return area;
}

RecordArea RecordAreaOf(const CalibrationArea& area) {
    RecordArea record;
    record.Width = area.Width;
    record.Height = area.Height;
    record.Left = area.Left;
    record.Top = area.Top;
    record.MonitorNumber = area.MonitorNumber;
    return record;
}

VirtualScreenMetrics SystemVirtualScreen() {
    VirtualScreenMetrics screen;
    screen.Width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.Height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    screen.Left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.Top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return screen;
}

void SetDriverScreen(const RecordArea& area, int32_t screenIndex) {
    ClipRecord clip{};
    clip.MonitorNumber = area.MonitorNumber;
    QuvaIF_GetClipRectangles(&clip);
    VirtualScreenRecord full{};
    full.ScreenIndex = screenIndex;
    full.RightEdge = area.Left + area.Width - 1;
    full.LeftEdge = area.Left + 1;
    full.BottomEdge = area.Top + area.Height - 1;
    full.TopEdge = area.Top + 1;
    full.Mode = 2;
    QuvaIF_SetVirtualFullScreen(&full);
}

}  // namespace

bool CommitCalibration(const DiagnosticsRecord& diagnostics, const CalibrationArea& area,
                       int32_t screenIndex, const CalibrationFit* fit) {
    const RecordArea recordArea = RecordAreaOf(area);
    // Packed first: a refused fit must not leave even the virtual screen changed.
    CalibrationDataRecord record;
    if (!PackCalibrationRecord(recordArea, screenIndex, diagnostics.ControllerType,
                               SystemVirtualScreen(), fit, record)) {
        DebugPrint(L"Tarnix.exe: %s", L"no calibration record written: the fit was refused");
        return false;
    }
    SendCalibrationRecord(record, diagnostics.CalibrationByte);
    NoteCommittedRecord(record);
    return true;
}

void SendCalibrationRecord(const CalibrationDataRecord& record, uint8_t calibrationByte) {
    // Everything that may throw comes before the first driver call: a failure leaves the driver
    // untouched.
    const RecordArea area = RecordAreaOf(record);
    const CommitLogLines log = FormatCommitLogLines(area);
    CalibrationDataRecord sent = record;  // the driver takes a pointer to a record it may change
    SetDriverScreen(area, record.ScreenIndex);
    for (const std::wstring& line : log.Lines) DebugPrint(L"%s", line.c_str());
    QuvaIF_WriteCalibrationData(&sent, calibrationByte);
    QuvaIF_EnableScreen(record.ScreenIndex);
}
