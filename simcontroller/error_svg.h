// An SVG picture of a calibration's error field: heat map, arrows, the area outline and the hull.
#pragma once

#include <string>

#include "simcontroller/error_field.h"

// The picture as SVG text: each grid cell coloured by its error length (blue small to red at the
// field's maximum), an arrow per few cells (lengths magnified, the factor in the caption), the
// screen outline, the targets' hull dashed, and the figures in the caption.
std::string RenderErrorSvg(const ErrorField& field, const std::string& title);
