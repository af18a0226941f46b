// The glass size of each screen area, and the controller parameters of a pass on one area.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/area_list.h"
#include "config/controller_parameters.h"
#include "display/monitors.h"

// Gives each area its glass: under GlassSize=Monitor its monitor's EDID size when plausible (a
// tile its share of it), otherwise the file's ScreenWidth x ScreenHeight.
void AssignAreaGlass(CalibrationAreaList& list, const std::vector<MonitorDescription>& monitors,
                     const ControllerParameters& parameters);

// The parameters of a pass on area: the file's, with the area's glass size when it has one.
void UseAreaGlass(ControllerParameters& parameters, const CalibrationArea& area);

// "1209.6 x 680.4 mm (monitor EDID)", or "(Tarnix.cfg)" when the file's size stands.
std::string GlassSizeText(const AreaGlass& glass);

// The history entry's header lines of the glass: its size and, when known, the monitor's maker,
// model and serial.
std::vector<std::pair<std::string, std::string>> GlassHeaderLines(const AreaGlass& glass);
