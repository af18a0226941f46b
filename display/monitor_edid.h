// The EDID each monitor's device keeps in the system, for the monitors of the monitor list.
#pragma once

#include <cstdint>
#include <vector>

// The EDID bytes of the monitor shown on display device displayName ("\\.\DISPLAY1", as
// GetMonitorInfoW names it); empty when the system keeps none or the device is not found.
std::vector<uint8_t> ReadMonitorEdid(const wchar_t* displayName);
