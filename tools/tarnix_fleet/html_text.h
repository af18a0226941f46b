// Text for an HTML page: the five characters HTML gives a meaning escaped, and any byte that is
// not well-formed UTF-8 replaced, so that the page's encoding stays valid.
#pragma once

#include <optional>
#include <string>

std::string HtmlText(const std::string& text);
// A number with a fixed count of decimals, "-" for nothing.
std::string HtmlNumber(const std::optional<double>& value, int decimals);
