// tarnix-fit's expected error of a new touch: its summary line and its map as an SVG drawing.
#pragma once

#include <cstdio>
#include <string>

#include "config/controller_parameters.h"
#include "fit/expected_error.h"
#include "tools/tarnix_fit/fit_session.h"

// Millimetres per pixel of the options' panel (--panel), else of the configuration's
// ScreenWidth and ScreenHeight, else of a 15.6-inch 1920 x 1080 panel.
GlassScale ToolGlassScale(const ToolOptions& options, const ControllerParameters& parameters);

// "Expected error of a new touch: ..." with the scatter and the worst values inside and at the
// edges, or why there is none.
void PrintExpectedError(std::FILE* out, const ExpectedErrorMap& map);

// Writes the map over the area, the inner area's border, the targets, the touches where the fit
// puts them and their deleted residuals (magnified). False with a message when it cannot.
bool WriteExpectedErrorSvg(const std::wstring& path, const FitSession& session,
                           const ExpectedErrorMap& map, GlassScale glass, std::string& error);
