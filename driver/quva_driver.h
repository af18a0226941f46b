// The touch driver library QuvaIntf.dll as Tarnix sees it: its 20 imported functions.
#pragma once

#include <cstdint>

#include "driver/quva_records.h"

// One calling convention for every driver function: the library is a plain Win32 DLL, so 32-bit
// builds use the standard Win32 convention; 64-bit Windows has only one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define QUVA_CALL __stdcall
#else
#define QUVA_CALL
#endif

// The driver functions, imported from QuvaIntf.dll by name. Screen index: 0-based touch screen;
// monitor number: 1-based.
extern "C" {
int32_t QUVA_CALL QuvaIF_EnumTouchScreen(void);
int32_t QUVA_CALL QuvaIF_GetMonitorCount(void);
int32_t QUVA_CALL QuvaIF_GetScreenCntForMonitor(int32_t monitorNumber);
int32_t QUVA_CALL QuvaIF_GetMonitorNumberByScreenIndex(int32_t screenIndex);
int32_t QUVA_CALL QuvaIF_GetTouchState(int32_t* state, int32_t screenIndex);
int32_t QUVA_CALL QuvaIF_ClearAllGetPoint(int32_t reserved);
int32_t QUVA_CALL QuvaIF_GetFirstCalTouch(TouchSample* sample);
int32_t QUVA_CALL QuvaIF_GetNextCalTouch(int32_t screenIndex, TouchSample* sample);
int32_t QUVA_CALL QuvaIF_ReDoCalTouch(int32_t screenIndex);
int32_t QUVA_CALL QuvaIF_GetDiagnosticsData(DiagnosticsRecord* record, int32_t screenIndex);
int32_t QUVA_CALL QuvaIF_MakeBeep(int32_t frequencyHz, int32_t durationMs);
int32_t QUVA_CALL QuvaIF_GetClipRectangles(ClipRecord* record);
int32_t QUVA_CALL QuvaIF_SetVirtualFullScreen(VirtualScreenRecord* record);
int32_t QUVA_CALL QuvaIF_WriteCalibrationData(CalibrationDataRecord* record, int32_t calibrationByte);
int32_t QUVA_CALL QuvaIF_EnableScreen(int32_t screenIndex);
int32_t QUVA_CALL QuvaIF_DisableTouch(int32_t first, int32_t second);
int32_t QUVA_CALL QuvaIF_AcquireTalksetLock(int32_t screenIndex, int32_t mode);
int32_t QUVA_CALL QuvaIF_FlushControllerTalksetBuffer(int32_t screenIndex);
int32_t QUVA_CALL QuvaIF_ReleaseTalksetLock(int32_t screenIndex);
int32_t QUVA_CALL QuvaIF_CloseDeviceHandles(void);
}
