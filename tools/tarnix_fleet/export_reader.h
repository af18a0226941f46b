// The kiosks of one machine's export (tarnix-history export): one per touch screen with at least
// one calibration.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/tarnix_fleet/fleet_kiosk.h"

// Appends the document's kiosks; false with a one-line reason when it is no JSON, not an export
// or of a schema version this program does not know (then nothing is appended).
bool ReadExportDocument(std::string_view text, const std::string& source,
                        std::vector<FleetKiosk>& kiosks, std::string& error);
