// The electrical model of the touch controller read from "Tarnix.cfg", and the normalisation
// constants derived from it.
#pragma once

#include <cstdint>

struct ControllerParameters {
    wchar_t SensorModelNum[32] = {};  // at most 31 characters
    wchar_t ControllerModelNum[32] = {};
    wchar_t CfgFilePath[260] = {};
    double PowerSupplyVoltage = 5.0;
    double PowerSupplyGround = 0.0;
    double ScreenHeight = 230.4;
    double ScreenWidth = 306.4;
    bool GlassFromMonitor = false;  // GlassSize=Monitor: each monitor's EDID gives its glass size
    int32_t ControllerMax = 4095;
    int32_t ControllerMin = 0;
    double UpperPsDeltaV = 0.0;
    double LowerPsDeltaV = 0.0;
    double UpperTransDeltaV = 0.0;
    double LowerTransDeltaV = 0.0;
    double AdcHighReference = 5.0;
    double AdcLowReference = 0.0;
    double TouchScreenPower = 5.0;
    double TouchScreenGround = 0.0;
    double VoltageRange = 5.0;
};

// Fills params from the file at cfgPath (every key takes its default when the file or key is
// missing). False when the path does not fit CfgFilePath: then only the defaults are used.
bool ReadControllerParameters(ControllerParameters& params, const wchar_t* cfgPath);

// On-demand readers: read "ControllerOffset" / "ScaleFactor" from the file again, else compute the
// controller count at the middle of the touch screen's voltage range / the share of that range per
// controller count.
double GetControllerOffset(const ControllerParameters& params);
double GetScaleFactor(const ControllerParameters& params);
