// A model's typical record written as an entry of a history folder, which tarnix-history restore
// sends to the driver.
#pragma once

#include <optional>
#include <string>

#include "tools/tarnix_fleet/typical_record.h"

// The entry's name, or nothing with a one-line reason. It is dated by the newest calibration of
// the base kiosk, numbered next in the folder's sequence and marked accepted; its configuration
// names the model and carries the glass (ScreenWidth, ScreenHeight) of the base kiosk.
std::optional<std::string> WriteTypicalEntry(const std::wstring& folder,
                                             const TypicalRecord& typical, const std::string& model,
                                             std::string& error);
